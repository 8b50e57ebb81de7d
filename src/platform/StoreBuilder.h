#pragma once

#include "platform/ContactStore.h"

#include <memory>

// Builds a store file for tests: a new store (its one local container included) with the
// containers, groups, contacts and memberships a test asks for. The first failure is kept in
// error() and later calls do nothing, so a test checks once.
class StoreBuilder
{
public:
    // Removes any store at the path (with its log files) and makes a new one.
    explicit StoreBuilder(const QString &path = ContactStore::defaultPath());

    bool ok() const { return m_error.isEmpty(); }
    const QString &error() const { return m_error; }

    ContactStore &store() { return *m_store; }
    // The local container that every new store holds.
    const QString &localContainer() const { return m_localContainer; }

    QString addContainer(const QString &name, int type);
    QString addGroup(const QString &containerIdentifier, const QString &name);
    // Adds the contact as it is; returns its identifier.
    QString addContact(const QString &containerIdentifier, const StoreContact &contact);
    QString addPerson(const QString &containerIdentifier, const QString &givenName,
                      const QString &familyName);
    void addMember(const QString &contactIdentifier, const QString &groupIdentifier);

    // A store object on the same file whose commits count as another program's.
    std::unique_ptr<ContactStore> otherApplication() const;

    // Removes a store file and its log and index files.
    static bool removeStoreFiles(const QString &path);

private:
    bool check(const QString &error);

    std::unique_ptr<ContactStore> m_store;
    QString m_localContainer;
    QString m_error;
};
