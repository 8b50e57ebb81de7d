#include "addressbook/SortOptions.h"

namespace {

const QString TypeKey = QStringLiteral("type");
const QString ItemsKey = QStringLiteral("items");
const QString SelectedKey = QStringLiteral("selected");
const QString Label = QStringLiteral("label");

QList<SortOptions::Column> makeTable()
{
    const auto column = [](const char *name, QStringList more) {
        const QString first = QString::fromUtf8(name);
        more.prepend(first);
        return SortOptions::Column{first, more, first};
    };
    return {
        {QStringLiteral("Name"),
         {QStringLiteral("compositeName"), QStringLiteral("FirstName"), QStringLiteral("LastName")},
         QStringLiteral("compositeName")},
        column("Address", {"ZIP", "State", "City", "Street", "Country", "label"}),
        column("Email", {"domain", "username", "label"}),
        column("Phone", {"label"}),
        column("URL", {"label"}),
        column("Instant Message", {"service name", "username", "label"}),
        column("Social Network", {"service name", "username"}),
        column("Relationship", {"label"}),
        column("Dates", {"label"}),
        column("Phonetic Name", {"Phonetic FirstName", "Phonetic LastName"}),
    };
}

} // namespace

const QList<SortOptions::Column> &SortOptions::builtIn()
{
    static const QList<Column> table = makeTable();
    return table;
}

QVariantMap SortOptions::builtInChoices()
{
    QVariantMap choices;
    for (const Column &column : builtIn())
        choices.insert(column.column, column.builtInSelected);
    return choices;
}

QVariantMap SortOptions::entry(const QString &column, const QStringList &items, const QString &selected)
{
    return {{TypeKey, column}, {ItemsKey, QVariant(items).toList()}, {SelectedKey, selected}};
}

QString SortOptions::chosenOption(const Column &column, const QString &stored)
{
    if (stored.isEmpty())
        return column.builtInSelected;
    QString value = stored;
    const QString own = column.builtInSelected + QLatin1Char(' ');
    if (value != column.column && value.startsWith(own) && value.size() > own.size())
        value = value.mid(own.size());
    // A choice the menu cannot show would make the grid sort by a key it does not know.
    return column.items.contains(value) ? value : column.builtInSelected;
}

QVariantMap SortOptions::makeDict(const QVariantMap &chosen, const QVariantList &customItems)
{
    QVariantMap dict;
    for (const Column &column : builtIn())
        dict.insert(column.column, entry(column.column, column.items,
                                         chosenOption(column, chosen.value(column.column).toString())));
    for (const QVariant &item : customItems) {
        const QVariantMap definition = item.toMap();
        if (definition.value(QStringLiteral("Type")).toString() != QStringLiteral("Labeled Value"))
            continue;
        const QString name = definition.value(QStringLiteral("Name")).toString();
        if (!name.isEmpty())
            dict.insert(name, entry(name, {name, Label}, name));
    }
    return dict;
}

QVariantMap SortOptions::choicesOf(const QVariantMap &sortOptionsDict)
{
    QVariantMap choices;
    for (auto it = sortOptionsDict.cbegin(); it != sortOptionsDict.cend(); ++it)
        choices.insert(it.key(), it->toMap().value(SelectedKey));
    return choices;
}

QStringList SortOptions::columnOrder(const QVariantMap &sortOptionsDict, const QVariantList &customItems)
{
    QStringList order;
    const auto add = [&](const QString &column) {
        if (sortOptionsDict.contains(column) && !order.contains(column))
            order.append(column);
    };
    for (const Column &column : builtIn())
        add(column.column);
    for (const QVariant &item : customItems)
        add(item.toMap().value(QStringLiteral("Name")).toString());
    for (auto it = sortOptionsDict.cbegin(); it != sortOptionsDict.cend(); ++it)
        add(it.key());
    return order;
}
