#pragma once

#include "platform/StoreContact.h"
#include "platform/StoreResult.h"

#include <QHash>
#include <QList>
#include <QStringList>

class StoreConnection;

// Reads contacts with a key list: only the columns and entry kinds of the asked keys are read, and
// each contact knows exactly those keys (plus identifier and type). Runs inside the caller's read
// transaction so that a contact and its entries come from one snapshot.
class StoreContactReader
{
public:
    enum class Scope
    {
        Container,
        Group,
        Contact
    };

    explicit StoreContactReader(StoreConnection &connection);

    // An unknown key name is a programming error of the caller; the store says so.
    static StoreStatus checkKeys(const QStringList &keys);

    // Contacts of a container, of a group or with one identifier, in the order they were added.
    StoreResult<QList<StoreContact>> read(Scope scope, const QString &identifier, const QStringList &keys);

private:
    StoreResult<QList<StoreContact>> readRows(const QString &condition, const QString &identifier,
                                              const QStringList &keys, QHash<qint64, int> &rowIndex);
    StoreStatus readEntries(const QString &condition, const QString &identifier, const QStringList &keys,
                            const QHash<qint64, int> &rowIndex, QList<StoreContact> &contacts);

    StoreConnection &m_connection;
};
