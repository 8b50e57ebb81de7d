#include "grid/GridColumns.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

namespace {

QString selectedOption(const QString &identifier, const QVariantMap &sortOptionsDict)
{
    const QString selected =
        sortOptionsDict.value(identifier).toMap().value(QStringLiteral("selected")).toString();
    return selected.isEmpty() ? identifier : selected;
}

} // namespace

GridColumn GridColumns::nameColumn()
{
    const QString name = PersonIdentifier::Name;
    return {name,
            QNPerson::localizedIdentifierForKey(name),
            {QStringLiteral("compositeName"), true},
            DefaultsKey::ColumnWidth};
}

QString GridColumns::sortKeyForColumn(const QString &identifier, const QVariantMap &sortOptionsDict)
{
    return sortKey(identifier, selectedOption(identifier, sortOptionsDict));
}

QString GridColumns::sortKeyForOptions(const QVariantMap &options)
{
    const QString type = options.value(QStringLiteral("type")).toString();
    const QString selected = options.value(QStringLiteral("selected")).toString();
    return sortKey(type, selected.isEmpty() ? type : selected);
}

// Custom labelled fields too: their option "label" alone would name no field.
QString GridColumns::sortKey(const QString &identifier, const QString &option)
{
    if (identifier.isEmpty() || identifier == PersonIdentifier::PhoneticName ||
        identifier == PersonIdentifier::Name || option == identifier)
        return option;
    return identifier + QLatin1Char(' ') + option;
}

QList<GridColumn> GridColumns::columnsForIdentifiers(const GridColumn &name, const QStringList &identifiers,
                                                     const QVariantMap &sortOptionsDict,
                                                     const QVariantMap &widths)
{
    GridColumn first = name;
    QList<GridColumn> columns;
    columns.append(first);
    for (const QString &identifier : identifiers) {
        if (identifier == PersonIdentifier::Name) {
            columns.first().sortPrototype = {sortKeyForColumn(identifier, sortOptionsDict), true};
            continue;
        }
        GridColumn column;
        column.identifier = identifier;
        column.title = QNPerson::localizedIdentifierForKey(identifier);
        column.sortPrototype = {sortKeyForColumn(identifier, sortOptionsDict), true};
        const QVariant width = widths.value(identifier);
        column.width = width.isValid() ? width.toDouble() : DefaultsKey::ColumnWidth;
        columns.append(column);
    }
    return columns;
}
