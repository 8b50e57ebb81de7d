#pragma once

#include "platform/StoreContact.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The changes of one Save, executed by ContactStore::execute as one transaction: every operation
// or none. Operations run in the order they were added, so a membership may name a contact or a
// group added earlier in the same request. The request keeps copies of the contacts and groups
// given to it.
class StoreSaveRequest
{
public:
    enum class Operation
    {
        AddContact,
        UpdateContact,
        DeleteContact,
        AddGroup,
        UpdateGroup,
        DeleteGroup,
        AddMember,
        RemoveMember
    };

    struct Step
    {
        Operation operation;
        std::optional<StoreContact> contact; // AddContact, UpdateContact
        StoreGroup group;                    // AddGroup, UpdateGroup
        QString containerIdentifier;         // AddContact, AddGroup
        QString contactIdentifier;           // every contact and member operation
        QString groupIdentifier;             // every group and member operation
    };

    void addContact(const StoreContact &contact, const QString &containerIdentifier);
    // Writes the keys available on the contact and nothing else.
    void updateContact(const StoreContact &contact);
    void deleteContact(const StoreContact &contact);
    void deleteContact(const QString &contactIdentifier);
    // Gives a group without identifier a new one; returns the identifier that members can name.
    QString addGroup(const StoreGroup &group, const QString &containerIdentifier);
    // Renames the group.
    void updateGroup(const StoreGroup &group);
    void deleteGroup(const StoreGroup &group);
    void deleteGroup(const QString &groupIdentifier);
    void addMember(const StoreContact &contact, const StoreGroup &group);
    void addMember(const QString &contactIdentifier, const QString &groupIdentifier);
    void removeMember(const StoreContact &contact, const StoreGroup &group);
    void removeMember(const QString &contactIdentifier, const QString &groupIdentifier);

    const QList<Step> &steps() const { return m_steps; }
    bool isEmpty() const { return m_steps.isEmpty(); }

    // A token that the transaction records with the changes, so that a later reader can tell
    // whether they were committed (see ContactStore::commitTokens); and the tokens of finished
    // saves, which it drops. Neither makes an empty request worth a transaction.
    void setCommitToken(const QString &token) { m_commitToken = token; }
    const QString &commitToken() const { return m_commitToken; }
    void forgetCommitTokens(const QStringList &tokens) { m_forgottenTokens = tokens; }
    const QStringList &forgottenCommitTokens() const { return m_forgottenTokens; }

private:
    QList<Step> m_steps;
    QString m_commitToken;
    QStringList m_forgottenTokens;
};
