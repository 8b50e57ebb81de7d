#include "app/AppDelegate.h"

#include "addressbook/AddressBookSaver.h"
#include "addressbook/CloudAddressFormat.h"
#include "addressbook/StoreChangeMonitor.h"
#include "addressbook/TextFormat.h"
#include "app/AboutPanelController.h"
#include "app/BusyWait.h"
#include "app/MainMenu.h"
#include "app/MenuCommand.h"
#include "app/ProductLinks.h"
#include "app/ViewController.h"
#include "app/WindowController.h"
#include "model/LabelTables.h"
#include "model/QNPerson.h"
#include "platform/BusySign.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/CloudStoreWatcher.h"
#include "platform/Dispatch.h"
#include "platform/Localizer.h"
#include "platform/Log.h"
#include "platform/StoreNotifier.h"
#include "platform/UndoManager.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/Workspace.h"
#include "ui/widgets/ModalBusySpinner.h"
#include "ui/widgets/ProgressIndicator.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <utility>

namespace {

constexpr int PrivacyAlertDelay = 1500;
const QString OriginationExternallyKey = QStringLiteral("CNNotificationOriginationExternally");

// An error's own full stop, where the text goes on after it.
QString withoutFullStop(QString text)
{
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

void showSpinner(ViewController *view, bool spinning)
{
    if (!view)
        return;
    ProgressIndicator *spinner = view->progressIndicator();
    if (spinning) {
        spinner->startAnimation();
        spinner->show();
    } else {
        spinner->stopAnimation();
        spinner->hide();
    }
}

// Long work on the main thread: nothing is painted until it ends, so the spinner is drawn at once
// and the pointer tells of the wait.
void showBusySign(ViewController *view, bool busy)
{
    showSpinner(view, busy);
    ModalBusySpinner::show(busy);
    if (!busy) {
        QGuiApplication::restoreOverrideCursor();
        return;
    }
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    if (view)
        view->progressIndicator()->paintNow();
}

} // namespace

AppDelegate::AppDelegate(QObject *parent)
    : QObject(parent),
      m_changeMonitor(std::make_unique<StoreChangeMonitor>([this] { askWhetherToDiscardChanges(); }))
{
    // Queued: the load may run on the main thread, and the alert waits until it has finished.
    connect(&m_loader, &AddressBookLoader::groupFetchDidFail, this, &AppDelegate::showGroupFetchAlert,
            Qt::QueuedConnection);
}

// A load still running is told to stop, so the program ends without waiting for a tree nobody
// will see; it is waited for, as it uses this delegate's loader.
AppDelegate::~AppDelegate()
{
    m_loader.cancel();
    m_backgroundLoad.waitForFinished();
    BusySign::setHandler(nullptr);
}

WindowController *AppDelegate::window() const
{
    return m_window;
}

ViewController *AppDelegate::mainViewController() const
{
    return m_mainViewController;
}

// --- launch ---------------------------------------------------------------------------------

void AppDelegate::applicationDidFinishLaunching()
{
    findMainWindow();
    BusySign::setHandler([this](bool busy) { showBusySign(m_mainViewController, busy); });
    if (m_mainViewController) {
        m_mainViewController->setContainerTable({});
        m_mainViewController->setSelectedGroupDict(nullptr);
        m_mainViewController->setContactTable(nullptr);
    }
    switch (m_store.authorizationStatus()) {
    case StoreAuthorizationStatus::NotDetermined: {
        const bool granted = m_store.requestAccess().ok();
        Dispatch::postToMain(this, [this, granted] { accessRequestAnswered(granted); });
        break;
    }
    case StoreAuthorizationStatus::Authorized:
        loadInBackground();
        break;
    default:
        Dispatch::runAfter(PrivacyAlertDelay, this, [this] { showPrivacyAlert(); });
        break;
    }
    applyCloudAddressFormat();
}

void AppDelegate::findMainWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *window = qobject_cast<WindowController *>(widget);
        if (window && window->mainViewController()) {
            m_window = window;
            m_mainViewController = window->mainViewController();
        }
    }
    if (!m_window) {
        Log::write("%s: ERROR can't find windowController",
                   {QStringLiteral("AppDelegate::applicationDidFinishLaunching")});
        return;
    }
    connectHelpMenu();
    connectFileMenu();
}

void AppDelegate::loadInBackground()
{
    // The view outlives the load: this delegate, which waits for it, goes first.
    ViewController *view = m_mainViewController;
    m_backgroundLoad = Dispatch::runInBackground([this, view] {
        if (view)
            view->setIsAddressBookLoading(true);
        Dispatch::postToMain(this, [this] { showSpinner(m_mainViewController, true); });
        loadAddressBook();
        if (view)
            view->setIsAddressBookLoading(false);
        Dispatch::postToMain(this, [this] { finishBackgroundLoad(); });
    });
}

void AppDelegate::finishBackgroundLoad()
{
    // The window gathers the custom items from the contacts that the view is about to show.
    if (m_mainViewController)
        m_mainViewController->setContactTable(m_loader.contactTable());
    if (m_window)
        m_window->updateCustomItems();
    updateContainerTableInViewController();
    showSpinner(m_mainViewController, false);
    registerStoreObservers();
    reportUnreadableStore();
    reportKeptAsideCustomValues();
    if (m_window && !m_filesToOpen.isEmpty())
        m_window->importFiles(std::exchange(m_filesToOpen, {}));
}

void AppDelegate::accessRequestAnswered(bool granted)
{
    if (granted) {
        // Loaded here on the main thread, then everything the background load does after it,
        // so that this first launch also hears the store's changes.
        if (m_mainViewController)
            m_mainViewController->setIsAddressBookLoading(true);
        loadAddressBook();
        if (m_mainViewController)
            m_mainViewController->setIsAddressBookLoading(false);
        finishBackgroundLoad();
        return;
    }
    showSpinner(m_mainViewController, false);
    Dispatch::runAfter(PrivacyAlertDelay, this, [this] { showPrivacyAlert(); });
}

void AppDelegate::showPrivacyAlert()
{
    const QString unwritable = m_store.unwritablePath();
    if (!unwritable.isEmpty()) {
        showUnwritableAlert(unwritable);
        return;
    }
    const QString name = QApplication::applicationName();
    Alert alert;
    alert.setMessageText(TextFormat::fill(L(QStringLiteral("Please allow %@ to access your contacts.")),
                                          {TextFormat::fill(QStringLiteral("\"%@\""), {name})}));
    alert.setInformativeText(
        TextFormat::fill(L(QStringLiteral("%@ needs to access your contacts to show and edit "
                                          "them, please change the setting at Security & "
                                          "Privacy.")),
                         {name}));
    alert.runModal();
    terminate();
}

// A folder the program may not write is no question of permission to read contacts.
void AppDelegate::showUnwritableAlert(const QString &path)
{
    Alert alert;
    alert.setAlertStyle(Alert::Style::Critical);
    alert.setMessageText(L(QStringLiteral("The contacts cannot be opened for editing.")));
    alert.setInformativeText(TextFormat::fill(
        L(QStringLiteral("%@ cannot be written. Please make it writable for your user and open %@ again.")),
        {QDir::toNativeSeparators(path), QApplication::applicationName()}));
    alert.runModal();
    terminate();
}

void AppDelegate::showGroupFetchAlert(const QString &containerName)
{
    Alert alert;
    alert.setMessageText(
        TextFormat::fill(L(QStringLiteral("Error on reading a group in the '%@'.")), {containerName}));
    alert.setInformativeText(L(QStringLiteral("Please check the account settings.")));
    alert.runModal();
}

void AppDelegate::askWhetherToDiscardChanges()
{
    Alert alert;
    alert.setMessageText(L(QStringLiteral("Contacts have been changed.")));
    alert.setInformativeText(L(QStringLiteral("You can discard to your changes or ignore the changes.")));
    alert.addButton(L(QStringLiteral("Discard")));
    alert.addButton(L(QStringLiteral("Ignore")), Alert::ButtonRole::Cancel);
    if (alert.runModal() == Alert::FirstButton)
        discardChanges();
}

void AppDelegate::terminate()
{
    if (m_terminator)
        m_terminator();
    else
        QCoreApplication::quit();
}

void AppDelegate::applyCloudAddressFormat()
{
    if (CloudAddressFormat::apply() != CloudAddressFormat::Result::Invalid)
        return;
    Alert alert;
    alert.setMessageText(L(QStringLiteral("Cannot read AddressFormat.json.")));
    alert.setInformativeText(L(QStringLiteral("Please make sure the format is valid.")));
    alert.addButton(L(QStringLiteral("OK")));
    alert.runModal();
}

// --- the address book -----------------------------------------------------------------------

void AppDelegate::loadAddressBook()
{
    m_storeChangedElsewhere = false;
    m_loader.loadAddressBook();
}

void AppDelegate::updateContainerTableInViewController()
{
    if (!m_mainViewController)
        return;
    m_mainViewController->setContainerTable(m_loader.containerTable());
    m_mainViewController->setSelectedGroupDict(m_loader.selectedGroupDict());
    m_mainViewController->setContactTable(m_loader.contactTable());
    m_mainViewController->setRepresentedObject(QVariant());
}

// The custom fields' values of an unreadable file are missing, not lost: the file was kept aside.
void AppDelegate::reportKeptAsideCustomValues()
{
    for (const QString &path : CloudKeyValueStore::takeKeptAsideFiles()) {
        Alert alert;
        alert.setMessageText(L(QStringLiteral("The custom fields could not be read.")));
        alert.setInformativeText(TextFormat::fill(
            L(QStringLiteral("Their file was damaged and has been kept unchanged as %@. Contacts show no "
                             "custom field values until it is repaired and put back.")),
            {QDir::toNativeSeparators(path)}));
        alert.runModal();
    }
}

// The tree of an unreadable store is empty: shown as the user's address book, it would invite
// adding to and saving over a file that may still hold their contacts.
void AppDelegate::reportUnreadableStore()
{
    if (m_loader.lastLoadOutcome() != AddressBookLoader::LoadOutcome::Unreadable)
        return;
    Alert alert;
    alert.setAlertStyle(Alert::Style::Critical);
    alert.setMessageText(L(QStringLiteral("The contacts store cannot be read.")));
    alert.setInformativeText(TextFormat::fill(
        L(QStringLiteral("%@ could not be read: %@. The file is left as it is; nothing can be added "
                         "or saved until it can be read.")),
        {QDir::toNativeSeparators(m_loader.storePath()), withoutFullStop(m_loader.lastLoadError())}));
    alert.runModal();
}

void AppDelegate::reloadAddressBook()
{
    reloadWith([this] { loadAddressBook(); });
    reportUnreadableStore();
}

void AppDelegate::reloadWith(const std::function<void()> &load)
{
    // The sign stands for the wait's own spinner, until the new tree is shown.
    const BusySign::Hold busy;
    if (m_mainViewController)
        m_mainViewController->setIsAddressBookLoading(true);
    BusyWait::run(load, {});
    if (m_mainViewController)
        m_mainViewController->setIsAddressBookLoading(false);
    updateContainerTableInViewController();
}

void AppDelegate::replaceWithStoreContents(const std::function<void()> &load)
{
    // Revert and Discard bring deleted custom items back; after a save none are pending.
    if (m_window)
        m_window->restoreDeletedCustomItems();
    if (m_mainViewController) {
        m_mainViewController->setDocumentEdited(false);
        m_mainViewController->undoManager()->removeAllActions();
    }
    reloadWith(load ? load : [this] { loadAddressBook(); });
    // Another program on the store may have changed the custom-item definitions too.
    if (m_window)
        m_window->gatherCustomItemsAgain();
}

// --- save and revert ------------------------------------------------------------------------

void AppDelegate::connectFileMenu()
{
    connect(m_window->menuItem(MenuCommand::SaveDocument), &QAction::triggered, this,
            &AppDelegate::saveDocument);
    m_window->setDocumentSaver([this] { return saveDocument(); });
    connect(m_window->menuItem(MenuCommand::RevertAddressBookToSaved), &QAction::triggered, this,
            &AppDelegate::revertAddressBookToSaved);
}

bool AppDelegate::saveDocument()
{
    if (!m_window || !m_mainViewController)
        return false;
    // An edit in place is finished first, so that it is part of the save.
    QWidget *focus = m_window->focusWidget();
    if (qobject_cast<QLineEdit *>(focus) || qobject_cast<QTextEdit *>(focus) ||
        qobject_cast<QPlainTextEdit *>(focus))
        focus->clearFocus();
    // One save at a time: a second one would store the first one's new contacts again.
    if (BusyWait::isRunning())
        return false;
    if (!m_mainViewController->isDocumentEdited())
        return true;
    const BusyWait::Hold saving;
    if (m_loader.lastLoadOutcome() == AddressBookLoader::LoadOutcome::Unreadable) {
        reportUnreadableStore();
        return false;
    }
    if (!decideOnContactsGoneFromStore())
        return false;
    m_changeMonitor->saveWillStart();
    if (const StoreStatus status = saveAndReload(); !status.ok()) {
        m_changeMonitor->saveWasRefused();
        showSaveError(status.error);
        return false;
    }
    reportUnreadableStore();
    m_changeMonitor->saveDidFinish();
    return true;
}

StoreStatus AppDelegate::saveAndReload()
{
    // The window takes no input until the new tree is shown: one busy sign from the first step
    // to the last, also where the main thread works between the waits.
    const BusySign::Hold busy;
    // Deleted custom items leave the cloud entries of contacts the save does not write.
    const bool customItemsDeleted = !m_window->pendingCustomItemDeletions().isEmpty();
    if (m_cloudWatcher)
        m_cloudWatcher->checkForChanges();
    const ContainerTable saved = m_mainViewController->containerTable();
    AddressBookSaver saver(m_store, QNPerson::cloudKeyValueStore());
    const StoreStatus status = saveAddressBook(saver);
    if (!status.ok())
        return status;
    m_window->customItemDeletionsSaved();
    if (!customItemsDeleted && mayReadBackSave())
        replaceWithStoreContents(
            [this, saved, written = saver.writtenContacts()] { m_loader.reloadAfterSave(saved, written); });
    else
        replaceWithStoreContents();
    return status;
}

bool AppDelegate::mayReadBackSave()
{
    if (!m_observingStore)
        return false;
    // A commit of another program before ours is announced now, not when the watcher wakes.
    m_store.notifier()->checkForExternalChanges();
    return !m_storeChangedElsewhere;
}

StoreStatus AppDelegate::saveAddressBook()
{
    AddressBookSaver saver(m_store, QNPerson::cloudKeyValueStore());
    return saveAddressBook(saver);
}

StoreStatus AppDelegate::saveAddressBook(AddressBookSaver &saver)
{
    const ContainerTable containers =
        m_mainViewController ? m_mainViewController->containerTable() : m_loader.containerTable();
    if (m_window)
        saver.setDeletedCustomItems(m_window->pendingCustomItemDeletions());
    StoreStatus status = saver.prepare(containers);
    if (status.ok()) {
        // The transaction and the cloud file on the pool, the window painting meanwhile.
        BusyWait::run([&saver, &status] { status = saver.write(); },
                      [this](bool busy) { showSpinner(m_mainViewController, busy); });
        saver.applyAcceptance();
    }
    if (!status.ok())
        Log::write("%s ERROR %@", {QStringLiteral("AppDelegate::saveAddressBook"), status.error});
    return status;
}

bool AppDelegate::decideOnContactsGoneFromStore()
{
    const StoreResult<QList<ContactRowPtr>> found =
        AddressBookSaver(m_store, QNPerson::cloudKeyValueStore())
            .changedContactsGoneFromStore(m_mainViewController->containerTable());
    // A store that cannot tell is damaged: its contacts are not gone, and their changes stay.
    if (!found.ok()) {
        showSaveError(found.error);
        return false;
    }
    const QList<ContactRowPtr> &gone = found.value;
    if (gone.isEmpty())
        return true;
    QStringList names;
    for (const ContactRowPtr &row : gone) {
        const QString name = row->person->compositeName();
        names.append(name.isEmpty() ? L(QStringLiteral("No Name")) : name);
    }
    Alert alert;
    alert.setMessageText(L(QStringLiteral("Another program deleted contacts you changed.")));
    alert.setInformativeText(
        TextFormat::fill(L(QStringLiteral("Your changes to %@ have no contact to go to. Save them as new "
                                          "contacts, or discard these changes?")),
                         {names.join(QStringLiteral(", "))}));
    alert.addButton(L(QStringLiteral("Save as New Contacts")));
    alert.addButton(L(QStringLiteral("Discard Changes")));
    alert.addButton(L(QStringLiteral("Cancel")), Alert::ButtonRole::Cancel);
    const int answer = alert.runModal();
    if (answer == Alert::FirstButton)
        AddressBookSaver::saveAsNewContacts(m_mainViewController->containerTable(), gone);
    return answer == Alert::FirstButton || answer == Alert::SecondButton;
}

void AppDelegate::showSaveError(const QString &error)
{
    Alert alert;
    alert.setAlertStyle(Alert::Style::Critical);
    alert.setMessageText(L(QStringLiteral("The contacts could not be saved.")));
    alert.setInformativeText(error);
    alert.addButton(L(QStringLiteral("OK")));
    alert.beginSheetModalForWindow(m_window);
}

// The labels the discarded edits brought in go too; the reload offers the stored ones again.
void AppDelegate::discardChanges()
{
    if (BusyWait::isRunning()) {
        BusyWait::whenIdle(this, [this] { discardChanges(); });
        return;
    }
    const BusyWait::Hold reverting;
    LabelTables::shared().forgetOfferedLabels();
    replaceWithStoreContents();
    reportUnreadableStore();
}

void AppDelegate::revertAddressBookToSaved()
{
    Alert alert;
    alert.setMessageText(
        TextFormat::fill(L(QStringLiteral("Do you want to revert %@?")), {QApplication::applicationName()}));
    alert.addButton(L(QStringLiteral("OK")));
    alert.addButton(L(QStringLiteral("Cancel")), Alert::ButtonRole::Cancel);
    alert.beginSheetModalForWindow(m_window, [this](int response) {
        if (response == Alert::FirstButton)
            discardChanges();
    });
}

// --- store changes --------------------------------------------------------------------------

bool AppDelegate::isChangedAlertShowing() const
{
    return m_changeMonitor->isChangedAlertShowing();
}

void AppDelegate::setIsChangedAlertShowing(bool showing)
{
    m_changeMonitor->setIsChangedAlertShowing(showing);
}

void AppDelegate::registerStoreObservers()
{
    if (m_observingStore)
        return;
    m_observingStore = true;
    connect(&m_store, &ContactStore::storeDidChange, this, &AppDelegate::announceStoreChange);
    // Custom values live beside the store; another program's change of them counts as its change.
    m_cloudWatcher = new CloudStoreWatcher(QNPerson::cloudKeyValueStore(), this);
    connect(m_cloudWatcher, &CloudStoreWatcher::changedElsewhere, this,
            [this] { announceStoreChange(true); });
    // The default account's change comes without user info.
    connect(&m_store, &ContactStore::defaultContainerDidChange, this, [this] {
        emit contactStoreChangeReceived({});
        handleContactStoreChanged({});
    });
}

void AppDelegate::announceStoreChange(bool externally)
{
    if (externally)
        m_storeChangedElsewhere = true;
    emit contactStoreChangeReceived({{OriginationExternallyKey, externally ? 1 : 0}});
    // Its question or reload waits for a save or reload in progress.
    if (BusyWait::isRunning()) {
        if (!m_waitingStoreChange)
            BusyWait::whenIdle(this, [this] {
                const bool elsewhere = *std::exchange(m_waitingStoreChange, std::nullopt);
                handleContactStoreChanged({{OriginationExternallyKey, elsewhere ? 1 : 0}});
            });
        m_waitingStoreChange = m_waitingStoreChange.value_or(false) || externally;
        return;
    }
    handleContactStoreChanged({{OriginationExternallyKey, externally ? 1 : 0}});
}

void AppDelegate::handleContactStoreChanged(const QVariantMap &userInfo)
{
    m_changeMonitor->handleContactStoreChanged(userInfo);
}

// --- Help menu and About --------------------------------------------------------------------

void AppDelegate::connectHelpMenu()
{
    for (MenuCommand command : {MenuCommand::HelpViaWeb, MenuCommand::RateUs, MenuCommand::FeedbackViaEmail,
                                MenuCommand::PrivacyPolicy}) {
        QAction *item = m_window->menuItem(command);
        connect(item, &QAction::triggered, this, [this, item] { menuItemSelectedInHelpMenu(item); });
    }
    connect(m_window->menuItem(MenuCommand::ShowAboutPanel), &QAction::triggered, this,
            &AppDelegate::showAboutPanel);
}

void AppDelegate::menuItemSelectedInHelpMenu(QAction *item)
{
    const QStringList languages = Localizer::shared().preferredLanguages();
    const QString language = languages.isEmpty() ? QString() : languages.first().left(2);
    const QString name = QApplication::applicationName();
    QUrl url;
    switch (menuCommand(item)) {
    case MenuCommand::HelpViaWeb:
        url = ProductLinks::urlForOpening(ProductLinks::address(ProductLinks::Link::HelpPage, language));
        break;
    case MenuCommand::RateUs:
        url = QUrl(ProductLinks::address(ProductLinks::Link::StorePage, {}, name), QUrl::StrictMode);
        break;
    case MenuCommand::FeedbackViaEmail:
        url = ProductLinks::feedbackURL(name);
        break;
    case MenuCommand::PrivacyPolicy:
        url = ProductLinks::urlForOpening(ProductLinks::address(ProductLinks::Link::PrivacyPage, language));
        break;
    default:
        return;
    }
    if (url.isValid() && !url.isEmpty())
        Workspace::openURL(url, m_window);
}

void AppDelegate::showAboutPanel()
{
    if (!m_aboutPanelController)
        m_aboutPanelController = std::make_unique<AboutPanelController>();
    m_aboutPanelController->runModal();
}
