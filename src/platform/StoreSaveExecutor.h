#pragma once

#include "platform/StoreResult.h"
#include "platform/StoreSaveRequest.h"

#include <QList>
#include <QSet>
#include <QVariant>

class StoreConnection;

// Applies the steps of one save request inside the caller's write transaction. The first step
// that fails ends the run with an error naming that step; the caller then rolls back.
class StoreSaveExecutor
{
public:
    explicit StoreSaveExecutor(StoreConnection &connection);

    StoreStatus apply(const StoreSaveRequest &request);

private:
    StoreStatus applyStep(const StoreSaveRequest::Step &step);
    StoreStatus addContact(const StoreSaveRequest::Step &step);
    StoreStatus updateContact(const StoreSaveRequest::Step &step);
    StoreStatus deleteContact(const StoreSaveRequest::Step &step);
    StoreStatus addGroup(const StoreSaveRequest::Step &step);
    StoreStatus updateGroup(const StoreSaveRequest::Step &step);
    StoreStatus deleteGroup(const StoreSaveRequest::Step &step);
    StoreStatus addMember(const StoreSaveRequest::Step &step);
    StoreStatus removeMember(const StoreSaveRequest::Step &step);

    // The row id of an identifier in a table (container, grp or contact), or an error naming it.
    StoreResult<qint64> rowOf(const QString &table, const QString &identifier);
    StoreResult<qint64> containerOfRow(const QString &table, qint64 row);
    StoreStatus run(const QString &sql, const QList<QVariant> &values);

    // The handlers' shared steps. A new row's container, refused when the identifier is taken
    // (an identifier deleted earlier in the request may come back).
    StoreResult<qint64> containerForNewRow(const QString &table, const QString &identifier,
                                           const QString &containerIdentifier, QSet<QString> &deleted);
    // Deletes the row; one this request already deleted is no fault.
    StoreStatus deleteRow(const QString &table, const QString &identifier, QSet<QString> &deleted);
    struct MemberRows
    {
        qint64 contact = 0;
        qint64 group = 0;
    };
    StoreResult<MemberRows> memberRows(const StoreSaveRequest::Step &step);

    StoreConnection &m_connection;
    QSet<QString> m_deletedContacts;
    QSet<QString> m_deletedGroups;
};
