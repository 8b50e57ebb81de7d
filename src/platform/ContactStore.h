#pragma once

#include "platform/StoreContact.h"
#include "platform/StoreResult.h"
#include "platform/StoreSaveRequest.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>
#include <optional>

class StoreConnection;
class StoreNotifier;

enum class StoreAuthorizationStatus
{
    NotDetermined = 0,
    Restricted = 1,
    Denied = 2,
    Authorized = 3
};

// The contacts store: containers, their groups and contacts in one SQLite file shared by every
// edition of the program and by other programs.
//
// Objects of this class are cheap handles: make one wherever the store is needed. Each thread
// reads and writes through a connection of its own (SQLite in write-ahead-log mode, so readers
// never wait for a writer). Every read runs in one transaction, so a contact and its entries come
// from one snapshot. A save request runs in one write transaction: every step is applied or, when
// one step fails or the commit fails (a full disk, a lock held past the busy timeout), none is,
// and the result names the failing step.
//
// After each committed change storeDidChange is emitted: at once with externally false for a
// change made through any handle of this process with the same writer id, and with externally
// true when another program (or a handle with another writer id) committed one. All handles of a
// file and writer id share one notifier, so a listener connected to one long-lived handle hears
// the saves of all of them.
class ContactStore : public QObject
{
    Q_OBJECT

public:
    // The store of the user, shared by every edition.
    explicit ContactStore(QObject *parent = nullptr);
    explicit ContactStore(const QString &path, QObject *parent = nullptr);
    // A handle that writes under another writer id: its commits reach the listeners of this
    // process's other handles as external changes (tests play another program with it).
    ContactStore(const QString &path, const QString &writerId, QObject *parent = nullptr);
    ~ContactStore() override;

    static QString defaultPath();
    // The writer id of this process.
    static QString processWriterId();

    const QString &path() const { return m_path; }
    const QString &writerId() const { return m_writerId; }

    // Access. Not determined while there is no store file; denied when the file cannot be read
    // and written. requestAccess makes the store (one local container, the default) when there
    // is none and answers granted; the error says why access was refused.
    StoreAuthorizationStatus authorizationStatus() const;
    StoreStatus requestAccess();

    // Reads. Contacts come in the order they were added and know exactly the keys asked for
    // (with identifier and type); an unknown key or identifier is an error.
    // The store file, or the folder it is or would be made in, when it cannot be written; empty
    // otherwise.
    QString unwritablePath() const;
    StoreResult<QList<StoreContainer>> containers() const;
    // SQLite's quick check of the whole file: a failure names the first damage found.
    StoreResult<bool> checkIntegrity() const;
    // Whether the store holds a contact of that identifier; an error when the store cannot tell
    // (a damaged file), which is never taken for an absent contact. A damaged index may also miss
    // a contact without an error: checkIntegrity tells.
    StoreResult<bool> containsContact(const QString &identifier) const;
    StoreResult<QString> defaultContainerIdentifier() const;
    StoreResult<QList<StoreGroup>> groupsInContainer(const QString &containerIdentifier) const;
    StoreResult<QList<StoreContact>> contactsInContainer(const QString &containerIdentifier,
                                                         const QStringList &keys) const;
    StoreResult<QList<StoreContact>> contactsInGroup(const QString &groupIdentifier,
                                                     const QStringList &keys) const;
    StoreResult<StoreContact> unifiedContact(const QString &identifier, const QStringList &keys) const;

    // Writes. An empty request changes nothing and announces nothing.
    StoreStatus execute(const StoreSaveRequest &request);
    // The commit tokens of the requests executed, except those forgotten since.
    StoreResult<QStringList> commitTokens() const;

    // Containers are made by accounts, not by the program; these stand in for the accounts.
    StoreResult<QString> addContainer(const QString &name, int type);
    StoreStatus removeContainer(const QString &containerIdentifier);
    StoreStatus setDefaultContainer(const QString &containerIdentifier);

    // Tuning and fault injection for tests. The busy timeout and the size cap apply to this
    // handle's operations; the hooks below act on every handle of the process.
    void setBusyTimeout(int milliseconds) { m_busyTimeout = milliseconds; }
    // Contact reads of this handle stop with an error as soon as the flag is set.
    void setCancelFlag(const std::atomic<bool> *flag) { m_cancelFlag = flag; }
    void setMaximumPageCount(qint64 pages) { m_maximumPageCount = pages; }
    void failGroupFetchForContainer(const QString &containerIdentifier);
    // The next save request on this store file is refused after its steps ran, and rolled back.
    void failNextSave();
    void clearFaults();
    static void setAuthorizationStatusForTesting(std::optional<StoreAuthorizationStatus> status);
    // Stands in for a read-only file or folder (file permissions do not stop root).
    static void setUnwritablePathForTesting(std::optional<QString> path);
    // False makes requestAccess refuse, as when the user says no; true or none lets it answer
    // as usual.
    static void setAccessAnswerForTesting(std::optional<bool> granted);
    // Closes the calling thread's connections, as before the store files are removed.
    static void releaseThreadConnections();

    StoreNotifier *notifier() const { return m_notifier.get(); }

signals:
    void storeDidChange(bool externally);
    void defaultContainerDidChange();

private:
    StoreResult<StoreConnection *> connection() const;
    template <typename T, typename Body> StoreResult<T> read(Body body) const;
    // Runs body in a write transaction and records the change under our writer id.
    template <typename Body> StoreStatus write(int changeKind, Body body);

    QString m_path;
    QString m_writerId;
    std::shared_ptr<StoreNotifier> m_notifier;
    int m_busyTimeout = 5000;
    const std::atomic<bool> *m_cancelFlag = nullptr;
    qint64 m_maximumPageCount = 0;
};
