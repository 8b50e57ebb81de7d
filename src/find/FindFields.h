#pragma once

#include "ui/contracts/ItemAndRange.h"

#include <QString>
#include <QVariantList>

class QNPerson;

// How find reads a contact's fields: value types with the window's custom items as fallback, and
// the entries of labelled fields by their own label index or by their position.
class FindFields
{
public:
    explicit FindFields(QVariantList customItems) : m_customItems(std::move(customItems)) {}

    // "Labeled Value", "String Value", "Dictionary Value" or empty: the person's own answer, else
    // the "Type" of the window's custom item of that name.
    QString valueType(QNPerson &person, const QString &identifier) const;
    // "ZIP", "State", "City", "Street", "Country".
    static bool isAddressPart(const QString &identifier);
    // The labelled list that holds the identifier's entries ("Address" for an address part); empty
    // for a single-valued field.
    QString listIdentifier(QNPerson &person, const QString &identifier) const;

    // The position of the entry with that label index; -1 when none has it.
    static qsizetype entryPosition(QNPerson &person, const QString &listIdentifier, qsizetype labelIndex);
    // The label index of the entry at that position; none beyond the list.
    static std::optional<int> entryLabelIndex(QNPerson &person, const QString &listIdentifier,
                                              qsizetype position);
    // The label indexes of the list's entries, in list order.
    static QList<int> entryLabelIndexes(QNPerson &person, const QString &listIdentifier);

    // The position as the grid numbers its rows: a labelled field's entry position, -1 when the
    // entry is gone; a single-valued field's number as it is.
    int gridPosition(QNPerson &person, const ItemAndRange &position) const;
    // The position for the grid, whose rows count entries by position.
    ItemAndRange forGrid(const ItemAndRange &position) const;

private:
    QVariantList m_customItems;
};
