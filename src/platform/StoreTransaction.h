#pragma once

#include "platform/StoreResult.h"

class StoreConnection;

// One SQLite transaction that rolls back unless committed, so no path out of a save leaves a
// half-written change behind.
class StoreTransaction
{
public:
    enum class Kind
    {
        Read,
        Write
    };

    explicit StoreTransaction(StoreConnection &connection, Kind kind = Kind::Write);
    StoreTransaction(const StoreTransaction &) = delete;
    StoreTransaction &operator=(const StoreTransaction &) = delete;
    ~StoreTransaction();

    // A write transaction takes the write lock at once, waiting up to the busy timeout.
    StoreStatus begin();
    StoreStatus commit();
    void rollback();

private:
    StoreConnection &m_connection;
    Kind m_kind;
    bool m_open = false;
};
