#pragma once

#include "model/AddressBookRecords.h"
#include "platform/StoreContact.h"

#include <QList>
#include <QString>

#include <optional>

// Reads the contacts store into the in-memory address book.
class AddressBookLoader
{
public:
    AddressBookLoader();

    // Any thread; replaces the three results below.
    void loadAddressBook();
    ContainerTable containerTable() const { return m_containerTable; }
    GroupDictPtr selectedGroupDict() const { return m_selectedGroupDict; }
    ContactTablePtr contactTable() const { return m_contactTable; }

    ContainerTable aContainerTable();
    QList<StoreContact> cnContactsForGroup(const std::optional<StoreGroup> &group,
                                           const QString &containerIdentifier);
    static ContactRowPtr createContactFromCNContact(const StoreContact &contact);

private:
    ContainerTable m_containerTable;
    GroupDictPtr m_selectedGroupDict;
    ContactTablePtr m_contactTable;
};
