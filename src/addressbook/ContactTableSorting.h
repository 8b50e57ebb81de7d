#pragma once

#include "addressbook/SortDescriptor.h"
#include "model/AddressBookRecords.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

class AddressBook;

// Sorting by the grid's sort keys ("Phone", "Phone label", "Email domain", a custom field's name).
//
// When the grid sorts by a part of a multi-valued field, every contact of the shown group gets that
// field's values reordered inside the record, so that the value shown first sorts first. That is an
// edit: the contacts whose order changed are marked changed, the document edited, and one undo step
// puts the old orders back.
class ContactTableSorting
{
public:
    explicit ContactTableSorting(AddressBook &book);

    // Reads only the first descriptor.
    void sortDescriptorsDidChange(const QList<SortDescriptor> &descriptors);
    // Sorts the shown group's rows in place, stably, by the first descriptor.
    void sortContactTable(const QList<SortDescriptor> &descriptors);

    // [identifier, part]; nothing for a null key.
    static std::optional<QStringList> separateSortKeyIntoIdentifierAndKey(const QString &key);
    // -1, 0 or 1; a missing date sorts last in both directions.
    static int compareDateComponents(const std::optional<QVariantMap> &first,
                                     const std::optional<QVariantMap> &second, bool ascending);
    // The row comparator: -1, 0 or 1 for a before, equal to, after b.
    static int compareRows(const ContactRow &a, const ContactRow &b, const QString &identifier,
                           const QString &part, bool ascending);
    // The eight fields whose values the grid's sort reorders.
    static const QStringList &reorderedIdentifiers();

private:
    struct Reordering
    {
        QNPersonPtr person;
        QVariantList before;
        QVariantList after;
        bool wasChanged = false;
    };

    void registerRestore(const QList<Reordering> &reorderings, const QString &identifier, bool toBefore);

    AddressBook &m_book;
};
