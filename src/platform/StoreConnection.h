#pragma once

#include "platform/StoreResult.h"
#include "platform/StoreStatement.h"

#include <QString>
#include <map>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// One SQLite connection to a store file. SQLite connections must not be shared between threads
// without locking, so every thread keeps its own connection per file (forThread); the cache closes
// them when the thread ends. A cached connection is dropped when the file at its path was
// replaced, so a store that was removed and made anew is never read through the old file.
class StoreConnection
{
public:
    enum class OpenMode
    {
        Existing,
        Create
    };

    ~StoreConnection();
    StoreConnection(const StoreConnection &) = delete;
    StoreConnection &operator=(const StoreConnection &) = delete;

    // A connection of its own (not cached), with foreign keys on and a busy timeout.
    static StoreResult<std::unique_ptr<StoreConnection>> open(const QString &path, OpenMode mode);
    // This thread's connection to an existing store, checked and migrated on first use.
    static StoreResult<StoreConnection *> forThread(const QString &path);
    // Closes this thread's cached connections (to every file).
    static void releaseThreadConnections();
    // Closes this thread's cached connection to one file.
    static void releaseThreadConnection(const QString &path);

    // systemError: the operating system's error behind it (errno), when known; a full disk is
    // named as such, whatever SQLite made of it ("disk I/O error").
    static QString describe(int code, const QString &detail, int systemError = 0);

    sqlite3 *handle() const { return m_db; }
    const QString &path() const { return m_path; }
    bool isFileUnchanged() const;

    // A statement from the connection's cache; invalid, with lastError, when it does not compile.
    StoreStatement prepare(const QString &sql);
    // Runs SQL text that may hold several statements.
    StoreStatus exec(const QString &sql);
    // The error of the last failed call on this connection, in words.
    QString lastError() const;
    QString errorFor(int code) const;
    qint64 lastInsertRowId() const;
    bool isInTransaction() const;

    void setBusyTimeout(int milliseconds);
    // Caps the database size for this connection; 0 restores the library's limit.
    void setMaximumPageCount(qint64 pages);

private:
    StoreConnection(sqlite3 *db, const QString &path);
    void rememberFileIdentity();

    struct CachedStatement
    {
        sqlite3_stmt *statement = nullptr;
        bool inUse = false;
    };

    sqlite3 *m_db = nullptr;
    QString m_path;
    std::map<QString, CachedStatement> m_statements; // map nodes keep the in-use flags in place
    quint64 m_device = 0;
    quint64 m_inode = 0;
    qint64 m_defaultMaximumPageCount = 0;
    qint64 m_maximumPageCount = 0;
    int m_busyTimeout = -1;
};
