#include "app/AppDelegate.h"

#include "app/AboutPanelController.h"
#include "app/CloudAddressFormat.h"
#include "app/MainMenu.h"
#include "app/MenuCommand.h"
#include "app/ProductLinks.h"
#include "app/ProgressIndicator.h"
#include "app/TextFormat.h"
#include "app/ViewController.h"
#include "app/WindowController.h"
#include "platform/Dispatch.h"
#include "platform/Localizer.h"
#include "platform/Log.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/Workspace.h"

#include <QAction>
#include <QApplication>

namespace {

constexpr int PrivacyAlertDelay = 1500;
const QString OriginationExternallyKey = QStringLiteral("CNNotificationOriginationExternally");

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

} // namespace

AppDelegate::AppDelegate(QObject *parent) : QObject(parent) {}

AppDelegate::~AppDelegate()
{
    m_backgroundLoad.waitForFinished();
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

void AppDelegate::reloadAddressBook()
{
    if (m_mainViewController)
        m_mainViewController->setIsAddressBookLoading(true);
    loadAddressBook();
    if (m_mainViewController)
        m_mainViewController->setIsAddressBookLoading(false);
    updateContainerTableInViewController();
}

// --- store changes --------------------------------------------------------------------------

void AppDelegate::registerStoreObservers()
{
    if (m_observingStore)
        return;
    m_observingStore = true;
    connect(&m_store, &ContactStore::storeDidChange, this, [this](bool externally) {
        const QVariantMap userInfo{{OriginationExternallyKey, externally ? 1 : 0}};
        emit contactStoreChangeReceived(userInfo);
        handleContactStoreChanged(userInfo);
    });
    // The default account's change comes without user info.
    connect(&m_store, &ContactStore::defaultContainerDidChange, this, [this] {
        emit contactStoreChangeReceived({});
        handleContactStoreChanged({});
    });
}

void AppDelegate::handleContactStoreChanged(const QVariantMap &userInfo)
{
    // The question whether to discard the address book for another program's change hooks in
    // here.
    Q_UNUSED(userInfo);
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
