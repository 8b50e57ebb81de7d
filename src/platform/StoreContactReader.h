#pragma once

#include "platform/StoreContact.h"
#include "platform/StoreResult.h"

#include <QList>
#include <QStringList>

#include <atomic>

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

    // A read stops with an error as soon as cancelled (when given) is set.
    explicit StoreContactReader(StoreConnection &connection, const std::atomic<bool> *cancelled = nullptr);

    // An unknown key name is a programming error of the caller; the store says so.
    static StoreStatus checkKeys(const QStringList &keys);

    // Contacts of a container, of a group or with one identifier, in the order they were added.
    StoreResult<QList<StoreContact>> read(Scope scope, const QString &identifier, const QStringList &keys);

private:
    struct ScalarColumns;
    struct ReadPlan;

    // The contacts in the order of their rows, whose numbers go to rows.
    StoreResult<QList<StoreContact>> readRows(const ScalarColumns &columns, const QString &sql,
                                              const QString &identifier, QList<qint64> &rows);
    StoreStatus readEntries(const QString &sql, const QString &identifier, const QList<qint64> &rows,
                            QList<StoreContact> &contacts);

    bool isCancelled() const { return m_cancelled && m_cancelled->load(std::memory_order_relaxed); }

    StoreConnection &m_connection;
    const std::atomic<bool> *m_cancelled;
};
