#include "platform/StoreTransaction.h"

#include "platform/StoreConnection.h"

StoreTransaction::StoreTransaction(StoreConnection &connection, Kind kind)
    : m_connection(connection), m_kind(kind)
{
}

StoreTransaction::~StoreTransaction()
{
    rollback();
}

StoreStatus StoreTransaction::begin()
{
    StoreStatus status = m_connection.exec(m_kind == Kind::Write ? QStringLiteral("BEGIN IMMEDIATE")
                                                                 : QStringLiteral("BEGIN DEFERRED"));
    m_open = status.ok();
    return status;
}

StoreStatus StoreTransaction::commit()
{
    if (!m_open)
        return StoreStatus::failure(QStringLiteral("The store transaction was already ended."));
    StoreStatus status = m_connection.exec(QStringLiteral("COMMIT"));
    if (status.ok())
        m_open = false;
    else
        rollback();
    return status;
}

void StoreTransaction::rollback()
{
    if (!m_open)
        return;
    m_open = false;
    // SQLite ends the transaction by itself after some errors (a full disk, an I/O error).
    if (m_connection.isInTransaction())
        m_connection.exec(QStringLiteral("ROLLBACK"));
}
