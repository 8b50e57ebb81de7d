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
    const QString selected = selectedOption(identifier, sortOptionsDict);
    if (identifier == PersonIdentifier::PhoneticName || identifier == PersonIdentifier::Name ||
        selected == identifier)
        return selected;
    return identifier + QLatin1Char(' ') + selected;
}

QString GridColumns::sortKeyForOptions(const QVariantMap &options)
{
    const QString type = options.value(QStringLiteral("type")).toString();
    const QString selected = options.value(QStringLiteral("selected")).toString();
    if (QNPerson::labeledIdentifiers().contains(type) && !selected.contains(type))
        return type + QLatin1Char(' ') + selected;
    return selected;
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
