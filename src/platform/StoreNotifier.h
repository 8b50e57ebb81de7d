#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QFileSystemWatcher;
class QTimer;
class StoreConnection;

// Tells the listeners of one store file about committed changes. There is one notifier per file
// and writer id in a process, shared by every ContactStore object made for them, so a listener
// hears the saves of any of them.
//
// Our own saves are announced at once by the saving code (externally false). Commits of other
// programs are noticed by watching the database and its write-ahead log, then confirmed with
// SQLite's data_version on a connection of the notifier's own; data_version also moves for the
// other connections of this process, so the change log decides: a change is external when a
// writer other than ours has recorded it. A slow timer backs the file watcher up.
class StoreNotifier : public QObject
{
    Q_OBJECT

public:
    static std::shared_ptr<StoreNotifier> forStore(const QString &path, const QString &writerId);
    ~StoreNotifier() override;

    const QString &path() const { return m_path; }
    const QString &writerId() const { return m_writerId; }

    void announceOwnChange();
    void announceOwnDefaultContainerChange();
    // Reads the change log now; the watcher and the timer call it too.
    void checkForExternalChanges();

signals:
    void storeDidChange(bool externally);
    void defaultContainerDidChange();

private:
    StoreNotifier(const QString &path, const QString &writerId);
    void startWatching();
    void watchFiles();
    void scheduleCheck();
    // Opens the notifier's connection when the file exists; true when it was (re)opened now.
    bool ensureConnection(bool &reopened);
    void readLastSequence();

    QString m_path;
    QString m_writerId;
    std::unique_ptr<StoreConnection> m_connection;
    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_checkTimer = nullptr;
    QTimer *m_pollTimer = nullptr;
    qint64 m_dataVersion = -1;
    qint64 m_lastSequence = 0;
};
