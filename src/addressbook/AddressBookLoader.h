#pragma once

#include "model/AddressBookRecords.h"
#include "platform/StoreContact.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class CloudKeyValueStore;
class UserDefaults;

// Reads the contacts store into a new in-memory address book: every container with its groups,
// and the contacts of one container (the remembered one, else the store's default, else the
// first) as the rows of its top group, with their custom-item values restored from the cloud
// key-value store.
//
// A load may run on any thread. It builds a whole new tree and publishes it at the end in one
// step, so the getters never show a half-built address book; the old tree is dropped.
// Conversion of store contacts into records is spread over four slices: the loading thread
// converts the first quarter, then three pool tasks convert the rest side by side. A slice still
// running at the deadline is left to finish on its own and its rows are dropped; the top group is
// then published without a contact table, so that selecting it reads the container again. After
// the conversion the custom values are restored in four slices side by side, their labels offered
// in row order after those the stored custom-item definitions hold.
// A container whose groups cannot be read is reported with groupFetchDidFail, from the loading
// thread; the UI tells the user.
class AddressBookLoader : public QObject
{
    Q_OBJECT

public:
    enum class LoadOutcome
    {
        NotLoaded,
        Loaded,
        // The store has no container that can be shown; the tree is empty.
        NoContainer,
        // A conversion slice missed the deadline; the top group has no contact table.
        TimedOut,
        // Stopped by cancel(); nothing was published.
        Cancelled,
        // The store could not be read (lastLoadError says why); the tree is empty, so that nothing
        // is added to or saved over what the file still holds.
        Unreadable
    };

    // The user's store and defaults, and the record's cloud store (QNPerson::cloudKeyValueStore).
    AddressBookLoader();
    AddressBookLoader(const QString &storePath, UserDefaults &defaults, CloudKeyValueStore &cloud);

    // Replaces containerTable, selectedGroupDict and contactTable. Custom values that a save left
    // pending (PendingCloudWrites) reach the cloud store first.
    void loadAddressBook();
    // After our own save, with nobody else's change in between: the tree loadAddressBook would
    // give, but only the contacts the save wrote (store identifiers) are read and converted; the
    // records of the others are taken over from the tree that was saved. Falls back on the whole
    // load when that tree does not hold the chosen container's contacts, or too many were written.
    void reloadAfterSave(const ContainerTable &saved, const QSet<QString> &written);
    // Stops the load under way and every later one as soon as it can, publishing nothing: the
    // program is ending and its quit should not wait for a tree nobody will see. For good.
    void cancel() { m_cancelled->store(true); }
    bool isCancelled() const { return m_cancelled->load(); }
    ContainerTable containerTable() const;
    GroupDictPtr selectedGroupDict() const;
    ContactTablePtr contactTable() const;
    LoadOutcome lastLoadOutcome() const;
    // Why the last load found the store unreadable; empty otherwise.
    QString lastLoadError() const;
    QString storePath() const { return m_storePath; }

    // Every showable container with all its groups, no contacts. A container whose groups cannot
    // be read keeps only its top group and is reported.
    ContainerTable aContainerTable();
    // The contacts of a store group, or of the whole container without one; empty when the store
    // cannot give them (logged, and kept as the load's error).
    QList<StoreContact> cnContactsForGroup(const std::optional<StoreGroup> &group,
                                           const QString &containerIdentifier);
    // A new row around a new record of the contact, its stored labels offered in the menus. Safe
    // to call from several threads at once.
    static ContactRowPtr createContactFromCNContact(const StoreContact &contact);

    // The keys every loaded contact is fetched with, in the order the load asks for them, each
    // once (the formatter's name keys included; whether there is a photo instead of its bytes).
    static const QStringList &fetchKeys();
    // Re-attaches one contact's cloud entry (custom-item name to value) to its record: non-empty
    // lists as "Labeled Value", maps as "Dictionary Value", non-empty strings as "String Value";
    // anything else is skipped. Restoring is not an edit: the record's changed mark stays as it was.
    static void restoreCustomValues(QNPerson &person, const QVariantMap &values);
    // The same for each row from the cloud's entries by contact identifier; a row of a load keeps
    // what its record got (LoadedContactRow). Stops early once cancelled is set.
    static void restoreCustomValues(const ContactTable &rows, const QVariantMap &entries,
                                    const std::atomic<bool> *cancelled = nullptr);

    // Test hooks: the time the slices are given (300 s), and a call each pool slice makes before
    // it starts converting.
    void setSliceTimeout(std::chrono::milliseconds timeout) { m_sliceTimeout = timeout; }
    void setSliceStartHookForTesting(std::function<void()> hook) { m_sliceStartHook = std::move(hook); }

    // The rows of all contacts in fetch order, made in the four slices, their stored labels offered
    // in the menus once all are made; nullopt, offering none, when a slice missed the deadline.
    // After cancel() the rows are incomplete.
    std::optional<ContactTable> convertInSlices(const QList<StoreContact> &contacts) const;

signals:
    void groupFetchDidFail(const QString &containerName);

private:
    ContainerDictPtr chosenContainer(const ContainerTable &containers) const;
    void appendGroups(ContainerDict &container);
    void publish(ContainerTable containers, GroupDictPtr selected, LoadOutcome outcome);
    // The top group's rows in store order, old records kept where the save left them alone; none
    // when the store cannot tell.
    std::optional<ContactTable> rowsAfterSave(const ContactTable &saved, const QSet<QString> &written,
                                              const QString &containerIdentifier);
    void noteReadError(const QString &error);
    QString readError() const;
    // An empty container is also what a damaged file can give: the file's own check tells.
    bool looksDamaged(const QList<StoreContact> &contacts);

    const QString m_storePath;
    UserDefaults &m_defaults;
    CloudKeyValueStore &m_cloud;
    std::chrono::milliseconds m_sliceTimeout = std::chrono::seconds(300);
    std::function<void()> m_sliceStartHook;
    // Shared with the pool slices, which may outlive the loader.
    std::shared_ptr<std::atomic<bool>> m_cancelled = std::make_shared<std::atomic<bool>>(false);

    mutable QMutex m_mutex;
    ContainerTable m_containerTable;
    GroupDictPtr m_selectedGroupDict;
    ContactTablePtr m_contactTable;
    LoadOutcome m_lastLoadOutcome = LoadOutcome::NotLoaded;
    QString m_lastLoadError;
    // The first read error of the load under way.
    QString m_readError;
};
