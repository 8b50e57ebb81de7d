#include "platform/StoreConnection.h"

#include "platform/StoreSchema.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

constexpr int DefaultBusyTimeout = 5000;

struct FileIdentity
{
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
};

FileIdentity fileIdentity(const QString &path)
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {true, quint64(info.st_dev), quint64(info.st_ino)};
}

// Connections of the current thread, closed when the thread ends.
struct ThreadConnections
{
    std::map<QString, std::unique_ptr<StoreConnection>> byPath;
};

ThreadConnections &threadConnections()
{
    thread_local ThreadConnections connections;
    return connections;
}

} // namespace

StoreConnection::StoreConnection(sqlite3 *db, const QString &path) : m_db(db), m_path(path) {}

StoreConnection::~StoreConnection()
{
    for (auto &[sql, cached] : m_statements)
        sqlite3_finalize(cached.statement);
    sqlite3_close_v2(m_db);
}

StoreResult<std::unique_ptr<StoreConnection>> StoreConnection::open(const QString &path, OpenMode mode)
{
    using Result = StoreResult<std::unique_ptr<StoreConnection>>;
    if (mode == OpenMode::Existing && !QFileInfo::exists(path))
        return Result::failure(QStringLiteral("There is no contacts store at %1.").arg(path));
    if (mode == OpenMode::Create && !QDir().mkpath(QFileInfo(path).absolutePath()))
        return Result::failure(
            QStringLiteral("The folder of the contacts store %1 cannot be made.").arg(path));

    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == OpenMode::Create)
        flags |= SQLITE_OPEN_CREATE;
    sqlite3 *db = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (code != SQLITE_OK) {
        const QString detail = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        const int systemError = db ? sqlite3_system_errno(db) : 0;
        sqlite3_close_v2(db);
        return Result::failure(describe(code, detail, systemError));
    }
    std::unique_ptr<StoreConnection> connection(new StoreConnection(db, path));
    sqlite3_extended_result_codes(db, 1);
    // SQLite quietly falls back to read-only on a write-protected file; a store we cannot write is
    // of no use to an editor, so say so now rather than at the first save.
    if (sqlite3_db_readonly(db, "main") == 1)
        return Result::failure(describe(SQLITE_READONLY, QString()));
    connection->setBusyTimeout(DefaultBusyTimeout);
    if (StoreStatus status = connection->exec(QStringLiteral("PRAGMA foreign_keys = ON")); !status.ok())
        return Result::failure(status.error);
    StoreStatement pageCount = connection->prepare(QStringLiteral("PRAGMA max_page_count"));
    if (!pageCount.isValid() || pageCount.step() != StoreStatement::Step::Row)
        return Result::failure(connection->lastError());
    connection->m_defaultMaximumPageCount = pageCount.integer(0);
    connection->m_maximumPageCount = connection->m_defaultMaximumPageCount;
    pageCount = StoreStatement();
    connection->rememberFileIdentity();
    return Result::success(std::move(connection));
}

StoreResult<StoreConnection *> StoreConnection::forThread(const QString &path)
{
    using Result = StoreResult<StoreConnection *>;
    auto &cache = threadConnections().byPath;
    if (auto found = cache.find(path); found != cache.end()) {
        if (found->second->isFileUnchanged())
            return Result::success(found->second.get());
        cache.erase(found);
    }
    auto opened = open(path, OpenMode::Existing);
    if (!opened.ok())
        return Result::failure(opened.error);
    if (StoreStatus status = StoreSchema::prepareExisting(*opened.value); !status.ok())
        return Result::failure(status.error);
    StoreConnection *connection = opened.value.get();
    cache[path] = std::move(opened.value);
    return Result::success(connection);
}

void StoreConnection::releaseThreadConnections()
{
    threadConnections().byPath.clear();
}

void StoreConnection::releaseThreadConnection(const QString &path)
{
    threadConnections().byPath.erase(path);
}

QString StoreConnection::describe(int code, const QString &detail, int systemError)
{
    // The system's error is only known to belong to this one for a failed file operation.
    const int kind = code & 0xff;
    if ((kind == SQLITE_IOERR || kind == SQLITE_CANTOPEN) && (systemError == ENOSPC || systemError == EDQUOT))
        code = SQLITE_FULL;
    QString text;
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        text = QStringLiteral("The contacts store is in use by another program; try again later.");
        break;
    case SQLITE_FULL:
        // SQLite's own words for it are often "disk I/O error", which would mislead.
        return QStringLiteral("The disk holding the contacts store is full.");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        text = QStringLiteral("The contacts store file is damaged or is not a contacts store.");
        break;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        text = QStringLiteral("The contacts store cannot be written.");
        break;
    case SQLITE_CANTOPEN:
        text = QStringLiteral("The contacts store cannot be opened.");
        break;
    case SQLITE_IOERR:
        text = QStringLiteral("The contacts store could not be read or written.");
        break;
    case SQLITE_NOMEM:
        text = QStringLiteral("There is not enough memory to use the contacts store.");
        break;
    case SQLITE_CONSTRAINT:
        text = QStringLiteral("The change breaks a rule of the contacts store.");
        break;
    default:
        text = QStringLiteral("The contacts store reported an error.");
        break;
    }
    if (!detail.isEmpty())
        text += QStringLiteral(" (%1)").arg(detail);
    return text;
}

bool StoreConnection::isFileUnchanged() const
{
    const FileIdentity identity = fileIdentity(m_path);
    return identity.exists && identity.device == m_device && identity.inode == m_inode;
}

void StoreConnection::rememberFileIdentity()
{
    const FileIdentity identity = fileIdentity(m_path);
    m_device = identity.device;
    m_inode = identity.inode;
}

StoreStatement StoreConnection::prepare(const QString &sql)
{
    CachedStatement &cached = m_statements[sql];
    if (cached.statement && !cached.inUse) {
        cached.inUse = true;
        return StoreStatement(cached.statement, &cached.inUse);
    }
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v3(m_db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &statement,
                           nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        if (!cached.statement)
            m_statements.erase(sql);
        return StoreStatement();
    }
    if (cached.statement) // the cached one is busy in an enclosing loop: this one is finalised on release
        return StoreStatement(statement, nullptr);
    cached.statement = statement;
    cached.inUse = true;
    return StoreStatement(statement, &cached.inUse);
}

StoreStatus StoreConnection::exec(const QString &sql)
{
    char *message = nullptr;
    const int code = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (code == SQLITE_OK)
        return storeSuccess();
    const QString detail = QString::fromUtf8(message ? message : sqlite3_errmsg(m_db));
    sqlite3_free(message);
    return StoreStatus::failure(describe(sqlite3_extended_errcode(m_db), detail, sqlite3_system_errno(m_db)));
}

QString StoreConnection::lastError() const
{
    return describe(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)),
                    sqlite3_system_errno(m_db));
}

QString StoreConnection::errorFor(int code) const
{
    return describe(code, QString::fromUtf8(sqlite3_errmsg(m_db)), sqlite3_system_errno(m_db));
}

qint64 StoreConnection::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_db);
}

bool StoreConnection::isInTransaction() const
{
    return sqlite3_get_autocommit(m_db) == 0;
}

void StoreConnection::setBusyTimeout(int milliseconds)
{
    if (milliseconds == m_busyTimeout)
        return;
    sqlite3_busy_timeout(m_db, milliseconds);
    m_busyTimeout = milliseconds;
}

void StoreConnection::setMaximumPageCount(qint64 pages)
{
    const qint64 wanted = pages > 0 ? pages : m_defaultMaximumPageCount;
    if (wanted == m_maximumPageCount)
        return;
    if (exec(QStringLiteral("PRAGMA max_page_count = %1").arg(wanted)).ok())
        m_maximumPageCount = wanted;
}
