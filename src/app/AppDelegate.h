#pragma once

#include "addressbook/AddressBookLoader.h"
#include "model/AddressBookRecords.h"
#include "platform/ContactStore.h"

#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class AboutPanelController;
class AddressBookSaver;
class CloudStoreWatcher;
class QAction;
class StoreChangeMonitor;
class ViewController;
class WindowController;

// The application's start-up: it finds the main window, gets access to the contacts store, loads
// the address book on the path the permission dictates and hands it to the main view, lays the
// cloud address-format table over the shipped one, and answers the Help menu and About. It saves
// and reverts the address book and answers the store's changes made by other programs.
//
// Without access the program cannot show anything, so the privacy alert ends it.
class AppDelegate : public QObject
{
    Q_OBJECT

public:
    explicit AppDelegate(QObject *parent = nullptr);
    // Waits for a load still running in the background.
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    // Files named on the command line: imported into the window once the contacts are loaded.
    void setFilesToOpen(const QStringList &paths) { m_filesToOpen = paths; }
    // Asks for access to the store, or says that its file or folder cannot be written; then ends
    // the program.
    void showPrivacyAlert();
    // A container whose groups could not be read.
    void showGroupFetchAlert(const QString &containerName);
    bool applicationShouldTerminateAfterLastWindowClosed() const { return true; }

    // True while the question about another program's change is on screen, and from the start of
    // a save until 3 seconds after its reload; store changes are not asked about meanwhile.
    bool isChangedAlertShowing() const;
    void setIsChangedAlertShowing(bool showing);
    StoreChangeMonitor &storeChangeMonitor() const { return *m_changeMonitor; }

    WindowController *window() const;
    ViewController *mainViewController() const;
    AboutPanelController *aboutPanelController() const { return m_aboutPanelController.get(); }

    // The address book as last loaded.
    ContainerTable containerTable() const { return m_loader.containerTable(); }
    ContactTablePtr contactTable() const { return m_loader.contactTable(); }
    GroupDictPtr selectedGroupDict() const { return m_loader.selectedGroupDict(); }
    AddressBookLoader &loader() { return m_loader; }

    // Any thread.
    void loadAddressBook();
    // Main thread: the view controller takes the loaded tables and shows them.
    void updateContainerTableInViewController();
    // The whole store read again on the pool while the window paints, and handed to the view
    // controller, behind one busy sign.
    void reloadAddressBook();

    // The Save command: writes every pending change in one store request, then forgets the undo
    // history and reads back what it wrote. Nothing happens while the window is not marked edited.
    // A request the store refuses changes nothing in memory, is reported in an alert and answers
    // false.
    bool saveDocument();
    StoreStatus saveAddressBook();
    // The request is built here; its transaction runs on the pool while the window paints.
    StoreStatus saveAddressBook(AddressBookSaver &saver);
    // Asks what becomes of changed contacts another program deleted: saved as new contacts, or
    // their changes discarded. False when the user cancels the save.
    bool decideOnContactsGoneFromStore();
    // Reloads after the user confirms, in a sheet on the main window.
    void revertAddressBookToSaved();

    // Lays "Documents/AddressFormat.json" of the cloud container over the address formats, or
    // says that it cannot be read.
    void applyCloudAddressFormat();

    // The store's change notifications reach handleContactStoreChanged from now on.
    void registerStoreObservers();
    bool isObservingStore() const { return m_observingStore; }

    void menuItemSelectedInHelpMenu(QAction *item);
    void showAboutPanel();

    // The load started in the background at launch; finished when there was none.
    QFuture<void> backgroundLoad() const { return m_backgroundLoad; }

    // Test hook: what ends the program after the privacy alert (the application's quit when
    // empty).
    void setTerminator(std::function<void()> terminator) { m_terminator = std::move(terminator); }

public slots:
    // A change of the store; userInfo holds "CNNotificationOriginationExternally" (1 for another
    // program's change, 0 for our own), and nothing for a change of the default account.
    void handleContactStoreChanged(const QVariantMap &userInfo);

signals:
    // Every store notification, as it reaches the handler.
    void contactStoreChangeReceived(const QVariantMap &userInfo);

private:
    void findMainWindow();
    void loadInBackground();
    void finishBackgroundLoad();
    void accessRequestAnswered(bool granted);
    void connectHelpMenu();
    void connectFileMenu();
    void announceStoreChange(bool externally);
    // Runs the work on the pool, then hands the loaded tree to the view, behind one busy sign
    // (BusySign::Hold) from the start to the tree on screen.
    void reloadWith(const std::function<void()> &load);
    // The store's request, then the tree read back and shown: the part of Save that asks nothing.
    StoreStatus saveAndReload();
    // Whether the tree that was just saved, with what the save wrote read back, is what the store
    // holds: nobody else changed it since the last whole load.
    bool mayReadBackSave();
    void terminate();
    // After Save, Revert and Discard: a fresh tree from the store (by the whole load unless told
    // otherwise), whose undo history would act on nothing, so it goes with the edited mark. An
    // unreadable store is the caller's to report, once its busy sign has gone.
    void replaceWithStoreContents(const std::function<void()> &load = {});
    // Revert and Discard: the store's contents, and only the labels they hold.
    void discardChanges();
    // Another program changed the store: discard the address book or ignore the change.
    void askWhetherToDiscardChanges();
    void showSaveError(const QString &error);
    // After a load that could not read the store: says which file and why.
    void reportUnreadableStore();
    void showUnwritableAlert(const QString &path);
    void reportKeptAsideCustomValues();

    ContactStore m_store;
    AddressBookLoader m_loader;
    std::unique_ptr<StoreChangeMonitor> m_changeMonitor;
    QPointer<WindowController> m_window;
    QStringList m_filesToOpen;
    QPointer<ViewController> m_mainViewController;
    std::unique_ptr<AboutPanelController> m_aboutPanelController;
    QFuture<void> m_backgroundLoad;
    bool m_observingStore = false;
    QPointer<CloudStoreWatcher> m_cloudWatcher;
    // Another program changed the store or the custom values since the last whole load.
    std::atomic<bool> m_storeChangedElsewhere{false};
    // A store change that arrived during a save or reload, told once that work has ended; true
    // when another program made one of them.
    std::optional<bool> m_waitingStoreChange;
    std::function<void()> m_terminator;
};
