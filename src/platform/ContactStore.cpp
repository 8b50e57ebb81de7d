#include "platform/ContactStore.h"

#include "platform/StoreConnection.h"
#include "platform/StoreContactReader.h"
#include "platform/StoreNotifier.h"
#include "platform/StoreSaveExecutor.h"
#include "platform/StoreSchema.h"
#include "platform/StoreTransaction.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QStandardPaths>
#include <QUuid>
#include <sqlite3.h>

namespace {

QString newIdentifier()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

// Process-wide test hooks: the program makes its store objects where it needs them, so a hook
// on one object would not reach the others.
struct Hooks
{
    QMutex mutex;
    std::optional<StoreAuthorizationStatus> status;
    std::optional<bool> accessAnswer;
    std::optional<QString> unwritablePath;
    QHash<QString, QSet<QString>> failingGroupFetches; // by store path
    QSet<QString> failingSaves;                        // store paths
};

Hooks &hooks()
{
    static Hooks instance;
    return instance;
}

bool takeSaveFault(const QString &path)
{
    QMutexLocker locker(&hooks().mutex);
    return hooks().failingSaves.remove(path);
}

QString absolutePath(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

ContactStore::ContactStore(QObject *parent) : ContactStore(defaultPath(), processWriterId(), parent) {}

ContactStore::ContactStore(const QString &path, QObject *parent)
    : ContactStore(path, processWriterId(), parent)
{
}

ContactStore::ContactStore(const QString &path, const QString &writerId, QObject *parent)
    : QObject(parent), m_path(absolutePath(path)), m_writerId(writerId),
      m_notifier(StoreNotifier::forStore(m_path, m_writerId))
{
    connect(m_notifier.get(), &StoreNotifier::storeDidChange, this, &ContactStore::storeDidChange);
    connect(m_notifier.get(), &StoreNotifier::defaultContainerDidChange, this,
            &ContactStore::defaultContainerDidChange);
}

ContactStore::~ContactStore() = default;

QString ContactStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/ContactsTable/Contacts.sqlite");
}

QString ContactStore::processWriterId()
{
    static const QString id = newIdentifier();
    return id;
}

StoreAuthorizationStatus ContactStore::authorizationStatus() const
{
    {
        QMutexLocker locker(&hooks().mutex);
        if (hooks().status)
            return *hooks().status;
    }
    const QFileInfo file(m_path);
    if (!file.exists())
        return StoreAuthorizationStatus::NotDetermined;
    // SQLite writes its log and index files beside the store, so the folder must be writable too.
    if (!file.isReadable() || !file.isWritable() || !QFileInfo(file.absolutePath()).isWritable())
        return StoreAuthorizationStatus::Denied;
    return StoreAuthorizationStatus::Authorized;
}

QString ContactStore::unwritablePath() const
{
    {
        QMutexLocker locker(&hooks().mutex);
        if (hooks().unwritablePath)
            return *hooks().unwritablePath;
    }
    const QFileInfo file(m_path);
    if (file.exists() && !file.isWritable())
        return m_path;
    // SQLite writes its journal beside the file, so the folder counts too; without a store, the
    // nearest folder that exists is where it would be made.
    QFileInfo folder(file.absolutePath());
    while (!folder.exists() && !folder.isRoot())
        folder = QFileInfo(folder.absolutePath());
    return folder.isWritable() ? QString() : folder.absoluteFilePath();
}

void ContactStore::setUnwritablePathForTesting(std::optional<QString> path)
{
    QMutexLocker locker(&hooks().mutex);
    hooks().unwritablePath = std::move(path);
}

StoreStatus ContactStore::requestAccess()
{
    {
        QMutexLocker locker(&hooks().mutex);
        const bool refused = hooks().status == StoreAuthorizationStatus::Denied ||
                             hooks().status == StoreAuthorizationStatus::Restricted ||
                             hooks().accessAnswer == false;
        if (refused)
            return StoreStatus::failure(QStringLiteral("Access to the contacts store was refused."));
    }
    auto opened = StoreConnection::open(m_path, StoreConnection::OpenMode::Create);
    if (!opened.ok())
        return StoreStatus::failure(opened.error);
    opened.value->setBusyTimeout(m_busyTimeout);
    return StoreSchema::prepareNew(*opened.value, m_writerId);
}

StoreResult<StoreConnection *> ContactStore::connection() const
{
    StoreResult<StoreConnection *> result = StoreConnection::forThread(m_path);
    if (result.ok()) {
        result.value->setBusyTimeout(m_busyTimeout);
        result.value->setMaximumPageCount(m_maximumPageCount);
    }
    return result;
}

template <typename T, typename Body> StoreResult<T> ContactStore::read(Body body) const
{
    StoreResult<StoreConnection *> connected = connection();
    if (!connected.ok())
        return StoreResult<T>::failure(connected.error);
    StoreTransaction transaction(*connected.value, StoreTransaction::Kind::Read);
    if (StoreStatus status = transaction.begin(); !status.ok())
        return StoreResult<T>::failure(status.error);
    StoreResult<T> result = body(*connected.value);
    transaction.rollback(); // nothing was written; ending the read needs no commit
    return result;
}

template <typename Body> StoreStatus ContactStore::write(int changeKind, Body body)
{
    StoreResult<StoreConnection *> connected = connection();
    if (!connected.ok())
        return StoreStatus::failure(connected.error);
    StoreConnection &db = *connected.value;
    StoreTransaction transaction(db);
    if (StoreStatus status = transaction.begin(); !status.ok())
        return status;
    if (StoreStatus status = body(db); !status.ok())
        return status;
    if (StoreStatus status = StoreSchema::recordChange(db, m_writerId, StoreSchema::ChangeKind(changeKind));
        !status.ok())
        return status;
    return transaction.commit();
}

StoreResult<QList<StoreContainer>> ContactStore::containers() const
{
    using Result = StoreResult<QList<StoreContainer>>;
    return read<QList<StoreContainer>>([](StoreConnection &db) {
        StoreStatement select =
            db.prepare(QStringLiteral("SELECT identifier, name, type FROM container ORDER BY id"));
        if (!select.isValid())
            return Result::failure(db.lastError());
        QList<StoreContainer> containers;
        for (;;) {
            switch (select.step()) {
            case StoreStatement::Step::Row:
                containers.append({select.text(0), select.text(1), int(select.integer(2))});
                continue;
            case StoreStatement::Step::Done:
                return Result::success(containers);
            case StoreStatement::Step::Failed:
                return Result::failure(db.errorFor(select.resultCode()));
            }
        }
    });
}

StoreResult<bool> ContactStore::checkIntegrity() const
{
    using Result = StoreResult<bool>;
    return read<bool>([](StoreConnection &db) {
        StoreStatement check = db.prepare(QStringLiteral("PRAGMA quick_check"));
        if (!check.isValid())
            return Result::failure(db.lastError());
        if (check.step() != StoreStatement::Step::Row)
            return Result::failure(db.errorFor(check.resultCode()));
        QString answer = check.text(0);
        if (answer == QLatin1String("ok"))
            return Result::success(true);
        // The first finding names the damage; a line before it may only name the database.
        if (answer.startsWith(QLatin1String("***")))
            answer = answer.section(QLatin1Char('\n'), 1, 1).trimmed();
        if (answer.isEmpty() && check.step() == StoreStatement::Step::Row)
            answer = check.text(0);
        return Result::failure(StoreConnection::describe(SQLITE_CORRUPT, answer));
    });
}

StoreResult<bool> ContactStore::containsContact(const QString &identifier) const
{
    using Result = StoreResult<bool>;
    return read<bool>([&identifier](StoreConnection &db) {
        StoreStatement select = db.prepare(QStringLiteral("SELECT 1 FROM contact WHERE identifier = ?1"));
        if (!select.isValid())
            return Result::failure(db.lastError());
        select.bind(1, identifier);
        switch (select.step()) {
        case StoreStatement::Step::Row:
            return Result::success(true);
        case StoreStatement::Step::Done:
            return Result::success(false);
        case StoreStatement::Step::Failed:
            break;
        }
        return Result::failure(db.errorFor(select.resultCode()));
    });
}

StoreResult<QString> ContactStore::defaultContainerIdentifier() const
{
    using Result = StoreResult<QString>;
    return read<QString>([](StoreConnection &db) {
        // The setting may name a container that was removed since; the first one stands in.
        StoreStatement select = db.prepare(QStringLiteral(
            "SELECT identifier FROM container ORDER BY"
            " identifier = (SELECT value FROM setting WHERE key = 'defaultContainer') DESC, id LIMIT 1"));
        if (!select.isValid())
            return Result::failure(db.lastError());
        switch (select.step()) {
        case StoreStatement::Step::Row:
            return Result::success(select.text(0));
        case StoreStatement::Step::Done:
            break;
        case StoreStatement::Step::Failed:
            return Result::failure(db.errorFor(select.resultCode()));
        }
        return Result::failure(QStringLiteral("The contacts store has no container."));
    });
}

StoreResult<QList<StoreGroup>> ContactStore::groupsInContainer(const QString &containerIdentifier) const
{
    using Result = StoreResult<QList<StoreGroup>>;
    {
        QMutexLocker locker(&hooks().mutex);
        if (hooks().failingGroupFetches.value(m_path).contains(containerIdentifier))
            return Result::failure(
                QStringLiteral("The groups of the container cannot be read (injected fault)."));
    }
    return read<QList<StoreGroup>>([&containerIdentifier](StoreConnection &db) {
        StoreStatement container =
            db.prepare(QStringLiteral("SELECT id FROM container WHERE identifier = ?1"));
        if (!container.isValid())
            return Result::failure(db.lastError());
        container.bind(1, containerIdentifier);
        if (container.step() != StoreStatement::Step::Row)
            return Result::failure(
                QStringLiteral("There is no container with the identifier \"%1\" in the store.")
                    .arg(containerIdentifier));
        const qint64 containerRow = container.integer(0);
        container = StoreStatement();
        StoreStatement select =
            db.prepare(QStringLiteral("SELECT identifier, name FROM grp WHERE container = ?1 ORDER BY id"));
        if (!select.isValid())
            return Result::failure(db.lastError());
        select.bindInteger(1, containerRow);
        QList<StoreGroup> groups;
        for (;;) {
            switch (select.step()) {
            case StoreStatement::Step::Row:
                groups.append({select.text(0), select.text(1)});
                continue;
            case StoreStatement::Step::Done:
                return Result::success(groups);
            case StoreStatement::Step::Failed:
                return Result::failure(db.errorFor(select.resultCode()));
            }
        }
    });
}

namespace {

// Whether a container or group exists, so that an unknown one is an error, not an empty list.
StoreStatus requireRow(StoreConnection &db, const QString &table, const QString &what,
                       const QString &identifier)
{
    StoreStatement select = db.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE identifier = ?1").arg(table));
    if (!select.isValid())
        return StoreStatus::failure(db.lastError());
    select.bind(1, identifier);
    switch (select.step()) {
    case StoreStatement::Step::Row:
        return storeSuccess();
    case StoreStatement::Step::Done:
        break;
    case StoreStatement::Step::Failed:
        return StoreStatus::failure(db.errorFor(select.resultCode()));
    }
    return StoreStatus::failure(
        QStringLiteral("There is no %1 with the identifier \"%2\" in the store.").arg(what, identifier));
}

} // namespace

StoreResult<QList<StoreContact>> ContactStore::contactsInContainer(const QString &containerIdentifier,
                                                                   const QStringList &keys) const
{
    using Result = StoreResult<QList<StoreContact>>;
    return read<QList<StoreContact>>([&](StoreConnection &db) {
        if (StoreStatus status =
                requireRow(db, QStringLiteral("container"), QStringLiteral("container"), containerIdentifier);
            !status.ok())
            return Result::failure(status.error);
        return StoreContactReader(db, m_cancelFlag)
            .read(StoreContactReader::Scope::Container, containerIdentifier, keys);
    });
}

StoreResult<QList<StoreContact>> ContactStore::contactsInGroup(const QString &groupIdentifier,
                                                               const QStringList &keys) const
{
    using Result = StoreResult<QList<StoreContact>>;
    return read<QList<StoreContact>>([&](StoreConnection &db) {
        if (StoreStatus status =
                requireRow(db, QStringLiteral("grp"), QStringLiteral("group"), groupIdentifier);
            !status.ok())
            return Result::failure(status.error);
        return StoreContactReader(db, m_cancelFlag).read(StoreContactReader::Scope::Group, groupIdentifier, keys);
    });
}

StoreResult<StoreContact> ContactStore::unifiedContact(const QString &identifier,
                                                       const QStringList &keys) const
{
    using Result = StoreResult<StoreContact>;
    return read<StoreContact>([&](StoreConnection &db) {
        StoreResult<QList<StoreContact>> found =
            StoreContactReader(db).read(StoreContactReader::Scope::Contact, identifier, keys);
        if (!found.ok())
            return Result::failure(found.error);
        if (found.value.isEmpty())
            return Result::failure(
                QStringLiteral("There is no contact with the identifier \"%1\" in the store.")
                    .arg(identifier));
        return Result::success(found.value.first());
    });
}

StoreStatus ContactStore::execute(const StoreSaveRequest &request)
{
    if (request.isEmpty())
        return storeSuccess();
    StoreStatus status = write(StoreSchema::ContactsChanged, [this, &request](StoreConnection &db) {
        StoreStatus applied = StoreSaveExecutor(db).apply(request);
        if (applied.ok())
            applied =
                StoreSchema::recordCommitToken(db, request.commitToken(), request.forgottenCommitTokens());
        if (applied.ok() && takeSaveFault(m_path))
            return StoreStatus::failure(QStringLiteral("The save was refused (injected fault)."));
        return applied;
    });
    if (status.ok())
        m_notifier->announceOwnChange();
    return status;
}

StoreResult<QStringList> ContactStore::commitTokens() const
{
    return read<QStringList>([](StoreConnection &db) { return StoreSchema::commitTokens(db); });
}

StoreResult<QString> ContactStore::addContainer(const QString &name, int type)
{
    const QString identifier = newIdentifier();
    StoreStatus status = write(StoreSchema::ContactsChanged, [&](StoreConnection &db) {
        StoreStatement insert =
            db.prepare(QStringLiteral("INSERT INTO container (identifier, name, type) VALUES (?1, ?2, ?3)"));
        if (!insert.isValid())
            return StoreStatus::failure(db.lastError());
        insert.bind(1, identifier);
        insert.bind(2, name);
        insert.bindInteger(3, type);
        return insert.run() ? storeSuccess() : StoreStatus::failure(db.errorFor(insert.resultCode()));
    });
    if (!status.ok())
        return StoreResult<QString>::failure(status.error);
    m_notifier->announceOwnChange();
    return StoreResult<QString>::success(identifier);
}

StoreStatus ContactStore::removeContainer(const QString &containerIdentifier)
{
    StoreStatus status = write(StoreSchema::ContactsChanged, [&](StoreConnection &db) {
        if (StoreStatus found =
                requireRow(db, QStringLiteral("container"), QStringLiteral("container"), containerIdentifier);
            !found.ok())
            return found;
        StoreStatement remove = db.prepare(QStringLiteral("DELETE FROM container WHERE identifier = ?1"));
        if (!remove.isValid())
            return StoreStatus::failure(db.lastError());
        remove.bind(1, containerIdentifier);
        return remove.run() ? storeSuccess() : StoreStatus::failure(db.errorFor(remove.resultCode()));
    });
    if (status.ok())
        m_notifier->announceOwnChange();
    return status;
}

StoreStatus ContactStore::setDefaultContainer(const QString &containerIdentifier)
{
    StoreStatus status = write(StoreSchema::DefaultContainerChanged, [&](StoreConnection &db) {
        if (StoreStatus found =
                requireRow(db, QStringLiteral("container"), QStringLiteral("container"), containerIdentifier);
            !found.ok())
            return found;
        StoreStatement update = db.prepare(
            QStringLiteral("INSERT OR REPLACE INTO setting (key, value) VALUES ('defaultContainer', ?1)"));
        if (!update.isValid())
            return StoreStatus::failure(db.lastError());
        update.bind(1, containerIdentifier);
        return update.run() ? storeSuccess() : StoreStatus::failure(db.errorFor(update.resultCode()));
    });
    if (status.ok())
        m_notifier->announceOwnDefaultContainerChange();
    return status;
}

void ContactStore::failGroupFetchForContainer(const QString &containerIdentifier)
{
    QMutexLocker locker(&hooks().mutex);
    hooks().failingGroupFetches[m_path].insert(containerIdentifier);
}

void ContactStore::failNextSave()
{
    QMutexLocker locker(&hooks().mutex);
    hooks().failingSaves.insert(m_path);
}

void ContactStore::clearFaults()
{
    QMutexLocker locker(&hooks().mutex);
    hooks().failingGroupFetches.remove(m_path);
    hooks().failingSaves.remove(m_path);
}

void ContactStore::setAuthorizationStatusForTesting(std::optional<StoreAuthorizationStatus> status)
{
    QMutexLocker locker(&hooks().mutex);
    hooks().status = status;
}

void ContactStore::setAccessAnswerForTesting(std::optional<bool> granted)
{
    QMutexLocker locker(&hooks().mutex);
    hooks().accessAnswer = granted;
}

void ContactStore::releaseThreadConnections()
{
    StoreConnection::releaseThreadConnections();
}
