#pragma once

#include "addressbook/AddressBookLoader.h"
#include "platform/ContactStore.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/UserDefaults.h"

#include <QString>
#include <QTemporaryDir>

// The benchmark store with its cloud store and defaults, opened as the program opens them at
// launch: the data folder itself, or a copy that a benchmark may change.
class BenchAddressBook
{
public:
    enum class Files { Shared, Copy };
    explicit BenchAddressBook(Files files = Files::Shared);

    // Empty unless the copy failed.
    const QString &error() const { return m_error; }
    QString storePath() const;
    UserDefaults &defaults() { return *m_defaults; }
    CloudKeyValueStore &cloud() { return *m_cloud; }
    AddressBookLoader &loader() { return *m_loader; }

    // Loads the store; the rows of its top group, null when the load lost contacts.
    ContactTablePtr load();

private:
    QTemporaryDir m_copy;
    QString m_folder;
    QString m_error;
    // Held open for the book's life, as the program's delegate holds one: the store's change
    // watch is set up once, not by each store object the load makes and drops.
    std::unique_ptr<ContactStore> m_store;
    std::unique_ptr<UserDefaults> m_defaults;
    std::unique_ptr<CloudKeyValueStore> m_cloud;
    std::unique_ptr<AddressBookLoader> m_loader;
};
