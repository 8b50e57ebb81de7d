#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class QNPerson;

// How the grid reads the fields of a contact: value types with the custom items as fallback, the
// address parts, and the label filter.
class GridField
{
public:
    // "Labeled Value", "String Value", "Dictionary Value" or empty: the person's own answer, else the
    // "Type" of the window's custom item of that name.
    static QString valueType(const QString &identifier, const QNPerson &person,
                             const QVariantList &customItems);
    // The same for a contact without custom items of its own.
    static QString valueType(const QString &identifier, const QVariantList &customItems);
    // "ZIP", "State", "City", "Street", "Country": parts of the "Address" entries.
    static bool isAddressPart(const QString &identifier);
    // An empty filter, or one that begins with "All", passes every label.
    static bool labelPasses(const QStringList &selectedLabels, const QString &label);
    static bool isNoFilter(const QStringList &selectedLabels);
    // The text an in-place edit of the field starts from and is compared with: the part of the
    // address at the position, the entry's "value" of a labelled field, the whole text of a
    // string field (a cell may show it shortened), empty for anything else.
    static QString editableText(const QString &identifier, QNPerson &person, int position,
                                const QVariantList &customItems);

    // Views into a value without copying it, for the loops over every row: the map a variant
    // holds, and the text under a key of a map (empty when it is none).
    static const QVariantMap &mapOf(const QVariant &value);
    static const QString &textOf(const QVariantMap &map, const QString &key);
};
