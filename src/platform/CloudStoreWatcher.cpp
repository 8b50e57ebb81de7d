#include "platform/CloudStoreWatcher.h"

#include "platform/CloudKeyValueStore.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

namespace {

// A write renames a new file into place: one check after the burst of events is enough.
constexpr int CheckDelay = 30;
constexpr int PollInterval = 2000;

} // namespace

CloudStoreWatcher::CloudStoreWatcher(CloudKeyValueStore &store, QObject *parent)
    : QObject(parent), m_store(store), m_watcher(new QFileSystemWatcher(this)),
      m_checkTimer(new QTimer(this)), m_pollTimer(new QTimer(this))
{
    m_store.takeChangeByOthers();
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &CloudStoreWatcher::scheduleCheck);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &CloudStoreWatcher::scheduleCheck);
    m_checkTimer->setSingleShot(true);
    m_checkTimer->setInterval(CheckDelay);
    connect(m_checkTimer, &QTimer::timeout, this, &CloudStoreWatcher::checkForChanges);
    m_pollTimer->setInterval(PollInterval);
    connect(m_pollTimer, &QTimer::timeout, this, &CloudStoreWatcher::checkForChanges);
    m_pollTimer->start();
    watch();
}

void CloudStoreWatcher::checkForChanges()
{
    watch();
    if (m_store.takeChangeByOthers())
        emit changedElsewhere();
}

// The folder may be made only at the first write, and the file comes and goes with each write.
void CloudStoreWatcher::watch()
{
    const QString file = m_store.filePath();
    const QString folder = QFileInfo(file).absolutePath();
    for (const QString &path : {folder, file}) {
        if (QFileInfo::exists(path) && !(m_watcher->files() + m_watcher->directories()).contains(path))
            m_watcher->addPath(path);
    }
}

void CloudStoreWatcher::scheduleCheck()
{
    if (!m_checkTimer->isActive())
        m_checkTimer->start();
}
