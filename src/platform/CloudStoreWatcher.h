#pragma once

#include <QObject>

class CloudKeyValueStore;
class QFileSystemWatcher;
class QTimer;

// Tells when another program changed the file of a cloud key-value store, as the store notifier
// tells of another program's commit: the custom values on screen may be stale. The store's own
// writes are no change. The file is replaced whole at each write, so its folder is watched, with a
// slow timer behind the watcher.
class CloudStoreWatcher : public QObject
{
    Q_OBJECT

public:
    // Counts from the file as it is now.
    explicit CloudStoreWatcher(CloudKeyValueStore &store, QObject *parent = nullptr);

    // Looks at the file now; the watcher and the timer call it too.
    void checkForChanges();

signals:
    void changedElsewhere();

private:
    void watch();
    void scheduleCheck();

    CloudKeyValueStore &m_store;
    QFileSystemWatcher *m_watcher;
    QTimer *m_checkTimer;
    QTimer *m_pollTimer;
};
