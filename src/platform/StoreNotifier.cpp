#include "platform/StoreNotifier.h"

#include "platform/StoreConnection.h"
#include "platform/StoreSchema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QMutex>
#include <QThread>
#include <QTimer>

namespace {

// The file watcher reports a burst of events per commit; one check after the burst is enough.
constexpr int CheckDelay = 30;
constexpr int PollInterval = 2000;

QMutex registryMutex;
QHash<QString, std::weak_ptr<StoreNotifier>> &registry()
{
    static QHash<QString, std::weak_ptr<StoreNotifier>> notifiers;
    return notifiers;
}

} // namespace

std::shared_ptr<StoreNotifier> StoreNotifier::forStore(const QString &path, const QString &writerId)
{
    const QString key = path + QLatin1Char('\n') + writerId;
    QMutexLocker locker(&registryMutex);
    if (std::shared_ptr<StoreNotifier> existing = registry().value(key).lock())
        return existing;
    // A notifier belongs to the application's thread, whose event loop runs its watcher and
    // timers; it is deleted there too.
    std::shared_ptr<StoreNotifier> notifier(new StoreNotifier(path, writerId), [](StoreNotifier *object) {
        if (object->thread() == QThread::currentThread())
            delete object;
        else
            object->deleteLater();
    });
    QCoreApplication *application = QCoreApplication::instance();
    if (application && application->thread() != QThread::currentThread()) {
        notifier->moveToThread(application->thread());
        QMetaObject::invokeMethod(notifier.get(), &StoreNotifier::startWatching, Qt::QueuedConnection);
    } else if (application) {
        notifier->startWatching();
    }
    registry().insert(key, notifier);
    return notifier;
}

StoreNotifier::StoreNotifier(const QString &path, const QString &writerId)
    : m_path(path), m_writerId(writerId)
{
    bool reopened = false;
    if (ensureConnection(reopened))
        readLastSequence();
}

StoreNotifier::~StoreNotifier() = default;

void StoreNotifier::announceOwnChange()
{
    emit storeDidChange(false);
}

void StoreNotifier::announceOwnDefaultContainerChange()
{
    emit defaultContainerDidChange();
}

void StoreNotifier::startWatching()
{
    m_watcher = new QFileSystemWatcher(this);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &StoreNotifier::scheduleCheck);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &StoreNotifier::scheduleCheck);
    m_checkTimer = new QTimer(this);
    m_checkTimer->setSingleShot(true);
    m_checkTimer->setInterval(CheckDelay);
    connect(m_checkTimer, &QTimer::timeout, this, &StoreNotifier::checkForExternalChanges);
    m_pollTimer = new QTimer(this);
    m_pollTimer->setInterval(PollInterval);
    connect(m_pollTimer, &QTimer::timeout, this, &StoreNotifier::checkForExternalChanges);
    m_pollTimer->start();
    watchFiles();
}

// The log file comes and goes with the connections, and a removed file drops out of the watch
// list, so the list is renewed after every event. Before the store's folder exists, its nearest
// existing ancestor is watched, so that the store's making is seen at once.
void StoreNotifier::watchFiles()
{
    if (!m_watcher)
        return;
    QDir folder = QFileInfo(m_path).absoluteDir();
    QStringList wanted{folder.path(), m_path, m_path + QStringLiteral("-wal")};
    while (!folder.exists() && folder.cdUp())
        wanted.append(folder.path());
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    for (const QString &path : watched)
        if (!wanted.contains(path))
            m_watcher->removePath(path);
    for (const QString &path : wanted)
        if (!watched.contains(path) && QFileInfo::exists(path))
            m_watcher->addPath(path);
}

void StoreNotifier::scheduleCheck()
{
    if (!m_checkTimer->isActive())
        m_checkTimer->start();
}

bool StoreNotifier::ensureConnection(bool &reopened)
{
    reopened = false;
    if (m_connection && m_connection->isFileUnchanged())
        return true;
    m_connection.reset();
    m_dataVersion = -1;
    if (!QFileInfo::exists(m_path))
        return false;
    auto opened = StoreConnection::open(m_path, StoreConnection::OpenMode::Existing);
    if (!opened.ok())
        return false;
    m_connection = std::move(opened.value);
    reopened = true;
    return true;
}

void StoreNotifier::readLastSequence()
{
    StoreStatement select = m_connection->prepare(QStringLiteral("SELECT max(seq) FROM change_log"));
    if (select.isValid() && select.step() == StoreStatement::Step::Row)
        m_lastSequence = select.integer(0);
}

void StoreNotifier::checkForExternalChanges()
{
    watchFiles();
    bool reopened = false;
    if (!ensureConnection(reopened))
        return;
    if (reopened) // a store made or replaced since we last looked: all of its log is new to us
        m_lastSequence = 0;
    StoreStatement version = m_connection->prepare(QStringLiteral("PRAGMA data_version"));
    if (!version.isValid() || version.step() != StoreStatement::Step::Row)
        return;
    const qint64 dataVersion = version.integer(0);
    version = StoreStatement();
    if (dataVersion == m_dataVersion)
        return;
    m_dataVersion = dataVersion;

    StoreStatement select = m_connection->prepare(
        QStringLiteral("SELECT seq, writer, kind FROM change_log WHERE seq > ?1 ORDER BY seq"));
    if (!select.isValid())
        return;
    select.bindInteger(1, m_lastSequence);
    bool contactsChanged = false;
    bool defaultChanged = false;
    bool first = true;
    while (select.step() == StoreStatement::Step::Row) {
        const qint64 sequence = select.integer(0);
        // Rows that the log dropped before we read them were written by someone we cannot name.
        const bool missed = first && m_lastSequence > 0 && sequence > m_lastSequence + 1;
        const bool foreign = select.text(1) != m_writerId || missed;
        first = false;
        m_lastSequence = sequence;
        if (!foreign)
            continue;
        if (select.integer(2) == StoreSchema::DefaultContainerChanged && !missed)
            defaultChanged = true;
        else
            contactsChanged = true;
    }
    select = StoreStatement();
    if (contactsChanged)
        emit storeDidChange(true);
    if (defaultChanged)
        emit defaultContainerDidChange();
}
