#pragma once

#include "platform/StoreResult.h"

#include <QStringList>

class StoreConnection;

// The layout of the store file. The file carries our application id, so a foreign SQLite file is
// recognised and never changed, and a schema version (user_version): an older file is migrated step
// by step in one transaction, a file from a newer program is refused.
namespace StoreSchema {

constexpr int CurrentVersion = 1;
constexpr int ApplicationId = 0x43544331; // "CTC1"

// Kinds of rows in the change log.
enum ChangeKind
{
    ContactsChanged = 0,
    DefaultContainerChanged = 1
};

// Checks an existing store on a new connection and migrates it when it is older.
StoreStatus prepareExisting(StoreConnection &connection);
// Makes a new store (in an empty file) with one local container that becomes the default, or
// accepts a file that already is a store. The writer id goes into the change log.
StoreStatus prepareNew(StoreConnection &connection, const QString &writerId);
// Records a committed change in the change log; runs inside the writing transaction.
StoreStatus recordChange(StoreConnection &connection, const QString &writerId, ChangeKind kind);
// Records a save's token and drops the forgotten ones; runs inside the writing transaction.
StoreStatus recordCommitToken(StoreConnection &connection, const QString &token,
                              const QStringList &forgotten);
// The tokens recorded and not dropped.
StoreResult<QStringList> commitTokens(StoreConnection &connection);

} // namespace StoreSchema
