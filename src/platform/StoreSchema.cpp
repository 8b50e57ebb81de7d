#include "platform/StoreSchema.h"

#include "platform/StoreConnection.h"
#include "platform/StoreContact.h"
#include "platform/StoreTransaction.h"

#include <QStringList>
#include <QUuid>
#include <functional>

namespace StoreSchema {

namespace {

// How many change-log rows are kept; listeners read the log long before it wraps.
constexpr int ChangeLogLength = 512;

// Commit tokens are settings under this prefix: they need no table of their own.
const QString CommitTokenPrefix = QStringLiteral("commitToken.");

enum class FileState
{
    Empty,
    Store,
    Foreign
};

struct Header
{
    qint64 applicationId = 0;
    qint64 version = 0;
    qint64 tableCount = 0;
};

StoreResult<qint64> pragmaValue(StoreConnection &connection, const QString &sql)
{
    StoreStatement statement = connection.prepare(sql);
    if (!statement.isValid())
        return StoreResult<qint64>::failure(connection.lastError());
    if (statement.step() != StoreStatement::Step::Row)
        return StoreResult<qint64>::failure(connection.errorFor(statement.resultCode()));
    return StoreResult<qint64>::success(statement.integer(0));
}

StoreResult<Header> readHeader(StoreConnection &connection)
{
    Header header;
    const std::pair<QString, qint64 *> reads[]{
        {QStringLiteral("PRAGMA application_id"), &header.applicationId},
        {QStringLiteral("PRAGMA user_version"), &header.version},
        {QStringLiteral("SELECT count(*) FROM sqlite_schema"), &header.tableCount},
    };
    for (const auto &[sql, target] : reads) {
        StoreResult<qint64> value = pragmaValue(connection, sql);
        if (!value.ok())
            return StoreResult<Header>::failure(value.error);
        *target = value.value;
    }
    return StoreResult<Header>::success(header);
}

FileState stateOf(const Header &header)
{
    if (header.applicationId == ApplicationId)
        return FileState::Store;
    if (header.applicationId == 0 && header.version == 0 && header.tableCount == 0)
        return FileState::Empty;
    return FileState::Foreign;
}

QString contactTableSql()
{
    QStringList columns{
        QStringLiteral("id INTEGER PRIMARY KEY"), QStringLiteral("identifier TEXT NOT NULL UNIQUE"),
        QStringLiteral("container INTEGER NOT NULL REFERENCES container(id) ON DELETE CASCADE"),
        QStringLiteral("contactType INTEGER NOT NULL DEFAULT 0")};
    for (const QString &key : StoreKey::stringKeys())
        columns.append(QStringLiteral("%1 TEXT NOT NULL DEFAULT ''").arg(key));
    columns.append({QStringLiteral("birthday TEXT"), QStringLiteral("imageData BLOB"),
                    QStringLiteral("thumbnailImageData BLOB")});
    return QStringLiteral("CREATE TABLE contact (%1);").arg(columns.join(QStringLiteral(", ")));
}

// Version 1: containers, groups, contacts with their labelled entries, memberships, settings and
// the change log that tells our own commits from other programs' commits.
StoreStatus createVersion1(StoreConnection &connection)
{
    const QString sql = QStringLiteral(
        "CREATE TABLE container (id INTEGER PRIMARY KEY, identifier TEXT NOT NULL UNIQUE,"
        " name TEXT NOT NULL DEFAULT '', type INTEGER NOT NULL);"
        "CREATE TABLE grp (id INTEGER PRIMARY KEY, identifier TEXT NOT NULL UNIQUE,"
        " container INTEGER NOT NULL REFERENCES container(id) ON DELETE CASCADE, name TEXT NOT NULL DEFAULT "
        "'');"
        "CREATE INDEX grp_container ON grp(container);"
        "%1"
        "CREATE INDEX contact_container ON contact(container);"
        "CREATE TABLE entry (id INTEGER PRIMARY KEY,"
        " contact INTEGER NOT NULL REFERENCES contact(id) ON DELETE CASCADE, kind INTEGER NOT NULL,"
        " position INTEGER NOT NULL, identifier TEXT NOT NULL, label TEXT NOT NULL DEFAULT '',"
        " value TEXT NOT NULL DEFAULT '');"
        "CREATE INDEX entry_contact ON entry(contact, kind, position);"
        "CREATE TABLE member (grp INTEGER NOT NULL REFERENCES grp(id) ON DELETE CASCADE,"
        " contact INTEGER NOT NULL REFERENCES contact(id) ON DELETE CASCADE,"
        " PRIMARY KEY (grp, contact)) WITHOUT ROWID;"
        "CREATE INDEX member_contact ON member(contact);"
        "CREATE TABLE setting (key TEXT PRIMARY KEY, value TEXT NOT NULL) WITHOUT ROWID;"
        "CREATE TABLE change_log (seq INTEGER PRIMARY KEY AUTOINCREMENT, writer TEXT NOT NULL,"
        " kind INTEGER NOT NULL DEFAULT 0);");
    return connection.exec(sql.arg(contactTableSql()));
}

// Migration i takes a file from version i to version i + 1.
using Migration = std::function<StoreStatus(StoreConnection &)>;
const std::vector<Migration> &migrations()
{
    static const std::vector<Migration> steps{createVersion1};
    return steps;
}

StoreStatus migrate(StoreConnection &connection, qint64 fromVersion)
{
    for (qint64 version = fromVersion; version < CurrentVersion; ++version)
        if (StoreStatus status = migrations()[size_t(version)](connection); !status.ok())
            return status;
    return connection.exec(QStringLiteral("PRAGMA user_version = %1; PRAGMA application_id = %2")
                               .arg(CurrentVersion)
                               .arg(ApplicationId));
}

StoreStatus insertLocalContainer(StoreConnection &connection)
{
    const QString identifier = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    StoreStatement insert = connection.prepare(
        QStringLiteral("INSERT INTO container (identifier, name, type) VALUES (?1, ?2, ?3)"));
    if (!insert.isValid())
        return StoreStatus::failure(connection.lastError());
    insert.bind(1, identifier);
    insert.bind(2, QStringLiteral("Local"));
    insert.bindInteger(3, StoreContainerLocal);
    if (!insert.run())
        return StoreStatus::failure(connection.errorFor(insert.resultCode()));
    StoreStatement setting = connection.prepare(
        QStringLiteral("INSERT INTO setting (key, value) VALUES ('defaultContainer', ?1)"));
    if (!setting.isValid())
        return StoreStatus::failure(connection.lastError());
    setting.bind(1, identifier);
    if (!setting.run())
        return StoreStatus::failure(connection.errorFor(setting.resultCode()));
    return storeSuccess();
}

StoreStatus checkVersion(const Header &header, const QString &path)
{
    if (header.version > CurrentVersion)
        return StoreStatus::failure(
            QStringLiteral(
                "The contacts store %1 was written by a newer version of this program (format %2).")
                .arg(path)
                .arg(header.version));
    return storeSuccess();
}

// Readers then never wait for a writer, and other programs' commits show in data_version.
StoreStatus useWriteAheadLog(StoreConnection &connection)
{
    StoreStatement mode = connection.prepare(QStringLiteral("PRAGMA journal_mode"));
    if (!mode.isValid())
        return StoreStatus::failure(connection.lastError());
    if (mode.step() != StoreStatement::Step::Row)
        return StoreStatus::failure(connection.errorFor(mode.resultCode()));
    if (mode.text(0).compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
        return storeSuccess();
    mode = StoreStatement();
    return connection.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
}

QString notAStore(const QString &path)
{
    return QStringLiteral("The file %1 is not a contacts store.").arg(path);
}

} // namespace

StoreStatus prepareExisting(StoreConnection &connection)
{
    StoreResult<Header> header = readHeader(connection);
    if (!header.ok())
        return StoreStatus::failure(header.error);
    if (stateOf(header.value) != FileState::Store)
        return StoreStatus::failure(notAStore(connection.path()));
    if (StoreStatus status = checkVersion(header.value, connection.path()); !status.ok())
        return status;
    if (StoreStatus status = useWriteAheadLog(connection); !status.ok())
        return status;
    if (header.value.version == CurrentVersion)
        return storeSuccess();

    StoreTransaction transaction(connection);
    if (StoreStatus status = transaction.begin(); !status.ok())
        return status;
    // Another program may have migrated the file while we waited for the lock.
    header = readHeader(connection);
    if (!header.ok())
        return StoreStatus::failure(header.error);
    if (header.value.version < CurrentVersion)
        if (StoreStatus status = migrate(connection, header.value.version); !status.ok())
            return status;
    return transaction.commit();
}

StoreStatus prepareNew(StoreConnection &connection, const QString &writerId)
{
    // The journal mode cannot change inside a transaction, and a foreign file must stay untouched.
    StoreResult<Header> before = readHeader(connection);
    if (!before.ok())
        return StoreStatus::failure(before.error);
    if (stateOf(before.value) == FileState::Foreign)
        return StoreStatus::failure(notAStore(connection.path()));
    if (StoreStatus status = useWriteAheadLog(connection); !status.ok())
        return status;

    StoreTransaction transaction(connection);
    if (StoreStatus status = transaction.begin(); !status.ok())
        return status;
    StoreResult<Header> header = readHeader(connection);
    if (!header.ok())
        return StoreStatus::failure(header.error);
    switch (stateOf(header.value)) {
    case FileState::Foreign:
        return StoreStatus::failure(notAStore(connection.path()));
    case FileState::Store:
        if (StoreStatus status = checkVersion(header.value, connection.path()); !status.ok())
            return status;
        if (header.value.version < CurrentVersion)
            if (StoreStatus status = migrate(connection, header.value.version); !status.ok())
                return status;
        return transaction.commit();
    case FileState::Empty:
        break;
    }
    if (StoreStatus status = migrate(connection, 0); !status.ok())
        return status;
    if (StoreStatus status = insertLocalContainer(connection); !status.ok())
        return status;
    if (StoreStatus status = recordChange(connection, writerId, ContactsChanged); !status.ok())
        return status;
    return transaction.commit();
}

StoreStatus recordChange(StoreConnection &connection, const QString &writerId, ChangeKind kind)
{
    StoreStatement insert =
        connection.prepare(QStringLiteral("INSERT INTO change_log (writer, kind) VALUES (?1, ?2)"));
    if (!insert.isValid())
        return StoreStatus::failure(connection.lastError());
    insert.bind(1, writerId);
    insert.bindInteger(2, kind);
    if (!insert.run())
        return StoreStatus::failure(connection.errorFor(insert.resultCode()));
    StoreStatement prune = connection.prepare(QStringLiteral("DELETE FROM change_log WHERE seq <= ?1"));
    if (!prune.isValid())
        return StoreStatus::failure(connection.lastError());
    prune.bindInteger(1, connection.lastInsertRowId() - ChangeLogLength);
    if (!prune.run())
        return StoreStatus::failure(connection.errorFor(prune.resultCode()));
    return storeSuccess();
}

StoreStatus recordCommitToken(StoreConnection &connection, const QString &token, const QStringList &forgotten)
{
    StoreStatement remove = connection.prepare(QStringLiteral("DELETE FROM setting WHERE key = ?1"));
    if (!remove.isValid())
        return StoreStatus::failure(connection.lastError());
    for (const QString &old : forgotten) {
        remove.bind(1, CommitTokenPrefix + old);
        const bool removed = remove.run();
        remove.reset();
        if (!removed)
            return StoreStatus::failure(connection.errorFor(remove.resultCode()));
    }
    if (token.isEmpty())
        return storeSuccess();
    StoreStatement insert =
        connection.prepare(QStringLiteral("INSERT OR REPLACE INTO setting (key, value) VALUES (?1, '')"));
    if (!insert.isValid())
        return StoreStatus::failure(connection.lastError());
    insert.bind(1, CommitTokenPrefix + token);
    if (!insert.run())
        return StoreStatus::failure(connection.errorFor(insert.resultCode()));
    return storeSuccess();
}

StoreResult<QStringList> commitTokens(StoreConnection &connection)
{
    using Result = StoreResult<QStringList>;
    StoreStatement select = connection.prepare(
        QStringLiteral("SELECT substr(key, ?1) FROM setting WHERE substr(key, 1, ?2) = ?3 ORDER BY key"));
    if (!select.isValid())
        return Result::failure(connection.lastError());
    select.bindInteger(1, CommitTokenPrefix.size() + 1);
    select.bindInteger(2, CommitTokenPrefix.size());
    select.bind(3, CommitTokenPrefix);
    QStringList tokens;
    for (;;) {
        switch (select.step()) {
        case StoreStatement::Step::Row:
            tokens.append(select.text(0));
            continue;
        case StoreStatement::Step::Done:
            return Result::success(tokens);
        case StoreStatement::Step::Failed:
            return Result::failure(connection.errorFor(select.resultCode()));
        }
    }
}

} // namespace StoreSchema
