#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

// What each sortable column of the grid can sort by. A SortOptionsDict maps a column identifier
// to {"type": the column, "items": the option names in menu order, "selected": the chosen
// option}; the chosen options alone are kept from one start to the next.
class SortOptions
{
public:
    struct Column
    {
        QString column;
        QStringList items;
        // The first item; also the option a column falls back to.
        QString builtInSelected;
    };

    // The built-in columns, in the order the sort-options menu lists them.
    static const QList<Column> &builtIn();
    // Each built-in column to its built-in choice: "Name" to "compositeName", the others to
    // themselves.
    static QVariantMap builtInChoices();

    // The sort-options table with the chosen options applied, and an entry for every custom item
    // of type "Labeled Value" (its name, then "label"). Stored choices are not applied to custom
    // items.
    static QVariantMap makeDict(const QVariantMap &chosen, const QVariantList &customItems);
    // Each column of the table to its entry's "selected".
    static QVariantMap choicesOf(const QVariantMap &sortOptionsDict);
    // The built-in columns in table order, then the other columns of the table in its order.
    static QStringList columnOrder(const QVariantMap &sortOptionsDict, const QVariantList &customItems);

    // The option a column takes for a stored choice. Older versions stored a choice together with
    // the column's own option ("Email domain"); that gives the choice alone ("domain"). A choice
    // the column does not offer gives the built-in one.
    static QString chosenOption(const Column &column, const QString &stored);

    static QVariantMap entry(const QString &column, const QStringList &items, const QString &selected);
};
