#include "app/MainMenu.h"

#include "app/ProductLinks.h"
#include "addressbook/TextFormat.h"
#include "platform/Localizer.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

MainMenu::MainMenu(QMainWindow *window) : QObject(window), m_window(window)
{
    buildFileMenu();
    buildEditMenu();
    buildFormatMenu();
    buildViewMenu();
    buildNavigateMenu();
    buildWindowMenu();
    buildHelpMenu();
}

QList<QMenu *> MainMenu::menus() const
{
    return m_menus.values();
}

QString MainMenu::titleKey(const QAction *item) const
{
    return m_titles.value(item).key;
}

void MainMenu::setTitle(QAction *item, const QString &titleKey, const QStringList &arguments)
{
    m_titles.insert(item, {titleKey, arguments});
    connect(item, &QObject::destroyed, this, [this, item] { m_titles.remove(item); });
    item->setText(TextFormat::fill(L(titleKey), arguments));
}

QMenu *MainMenu::addMenu(const QString &titleKey)
{
    QMenu *menu = m_window->menuBar()->addMenu(QString());
    setTitle(menu->menuAction(), titleKey);
    m_menus.insert(titleKey, menu);
    return menu;
}

QMenu *MainMenu::addSubmenu(QMenu *menu, const QString &titleKey)
{
    QMenu *submenu = menu->addMenu(QString());
    setTitle(submenu->menuAction(), titleKey);
    m_menus.insert(titleKey, submenu);
    return submenu;
}

QAction *MainMenu::addItem(QMenu *menu, const QString &titleKey, MenuCommand command,
                           const QKeySequence &shortcut, const QStringList &arguments)
{
    QAction *item = menu->addAction(QString());
    setTitle(item, titleKey, arguments);
    setMenuCommand(item, command);
    if (!shortcut.isEmpty())
        item->setShortcut(shortcut);
    m_items.insert(command, item);
    return item;
}

// --- translation ----------------------------------------------------------------------------

void MainMenu::translate()
{
    for (const char *title : {"File", "Edit", "Format", "Navigate", "View", "Window", "Help"}) {
        QMenu *menu = m_menus.value(QString::fromLatin1(title));
        if (!menu)
            continue;
        const Title key = m_titles.value(menu->menuAction());
        menu->setTitle(TextFormat::fill(L(key.key), key.arguments));
        translateMenu(menu);
    }
    for (const char *title : {"Find", "Font"}) {
        if (QMenu *menu = m_menus.value(QString::fromLatin1(title)))
            translateMenu(menu);
    }
}

void MainMenu::translateMenu(QMenu *menu)
{
    for (QAction *item : menu->actions()) {
        const auto title = m_titles.constFind(item);
        if (title == m_titles.constEnd() || title->key.isEmpty() || item->text().isEmpty())
            continue;
        item->setText(TextFormat::fill(L(title->key), title->arguments));
    }
}

// --- menus ----------------------------------------------------------------------------------

void MainMenu::buildFileMenu()
{
    QMenu *file = addMenu(QStringLiteral("File"));
    addItem(file, QStringLiteral("Import vCard…"), MenuCommand::ImportFromVCard, QKeySequence::Open);
    addItem(file, QStringLiteral("Import CSV…"), MenuCommand::ImportFromCSV);
    addItem(file, QStringLiteral("Export vCard…"), MenuCommand::ExportToVCard);
    addItem(file, QStringLiteral("Export CSV…"), MenuCommand::ExportToCSV);
    file->addSeparator();
    addItem(file, QStringLiteral("Save"), MenuCommand::SaveDocument, QKeySequence::Save);
    addItem(file, QStringLiteral("Revert to Saved"), MenuCommand::RevertAddressBookToSaved);
    file->addSeparator();
    addItem(file, QStringLiteral("Print…"), MenuCommand::PrintDocument, QKeySequence::Print);
    file->addSeparator();
    addItem(file, QStringLiteral("Close Window"), MenuCommand::Close, QKeySequence::Close);
    file->addSeparator();
    QAction *quit = addItem(file, QStringLiteral("Quit"), MenuCommand::Quit, QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
}

void MainMenu::buildEditMenu()
{
    QMenu *edit = addMenu(QStringLiteral("Edit"));
    addItem(edit, QStringLiteral("Undo"), MenuCommand::Undo, QKeySequence::Undo);
    // Both of the desktops' redo keys.
    QAction *redo = addItem(edit, QStringLiteral("Redo"), MenuCommand::Redo);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    edit->addSeparator();
    addItem(edit, QStringLiteral("Copy"), MenuCommand::Copy, QKeySequence::Copy);
    addItem(edit, QStringLiteral("Copy as CSV"), MenuCommand::CopyAsCSV);
    addItem(edit, QStringLiteral("Copy as vCard"), MenuCommand::CopyAsVCard);
    addItem(edit, QStringLiteral("Paste"), MenuCommand::Paste, QKeySequence::Paste);
    edit->addSeparator();
    QMenu *find = addSubmenu(edit, QStringLiteral("Find"));
    addItem(find, QStringLiteral("Find…"), MenuCommand::Find, QKeySequence::Find);
    addItem(find, QStringLiteral("Find and Replace…"), MenuCommand::FindAndReplace, QKeySequence::Replace);
    addItem(find, QStringLiteral("Find Next"), MenuCommand::FindNext, QKeySequence::FindNext);
    addItem(find, QStringLiteral("Find Previous"), MenuCommand::FindPrevious, QKeySequence::FindPrevious);
    // Ctrl+E belongs to Navigate > Edit Contacts.
    addItem(find, QStringLiteral("Use Selection for Find"), MenuCommand::UseSelectionForFind,
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    addItem(find, QStringLiteral("Find and Replace in Group…"), MenuCommand::ShowFindPanel);
    edit->addSeparator();
    addItem(edit, QStringLiteral("Custom Labels…"), MenuCommand::ShowCustomLabelPanel);
}

void MainMenu::buildFormatMenu()
{
    QMenu *format = addMenu(QStringLiteral("Format"));
    QMenu *font = addSubmenu(format, QStringLiteral("Font"));
    addItem(font, QStringLiteral("Show Fonts"), MenuCommand::ShowFonts, QKeySequence(Qt::CTRL | Qt::Key_T));
    addItem(font, QStringLiteral("Bigger"), MenuCommand::BiggerFont, QKeySequence::ZoomIn);
    addItem(font, QStringLiteral("Smaller"), MenuCommand::SmallerFont, QKeySequence::ZoomOut);
    font->addSeparator();
    addItem(font, QStringLiteral("Revert to Default Font"), MenuCommand::RevertToDefaultFont);
}

void MainMenu::buildViewMenu()
{
    QMenu *view = addMenu(QStringLiteral("View"));
    addItem(view, QStringLiteral("Hide Toolbar"), MenuCommand::ToggleToolbar);
    addItem(view, QStringLiteral("Enter Full Screen"), MenuCommand::ToggleFullScreen,
            QKeySequence::FullScreen);
}

// The items "Select View Type" to "Group" receive the toolbar's menus as their submenus.
void MainMenu::buildNavigateMenu()
{
    QMenu *navigate = addMenu(QStringLiteral("Navigate"));
    addItem(navigate, QStringLiteral("Select View Type"), MenuCommand::SelectViewTypeMenu);
    addItem(navigate, QStringLiteral("Items"), MenuCommand::ItemsMenu);
    addItem(navigate, QStringLiteral("Select Label"), MenuCommand::SelectLabelMenu);
    addItem(navigate, QStringLiteral("Sort Options"), MenuCommand::SortOptionsMenu);
    navigate->addSeparator();
    addItem(navigate, QStringLiteral("Contact"), MenuCommand::ContactMenu);
    addItem(navigate, QStringLiteral("Group"), MenuCommand::GroupMenu);
    navigate->addSeparator();
    QAction *edit = addItem(navigate, QStringLiteral("Edit Contacts"), MenuCommand::EditButtonClicked,
                            QKeySequence(Qt::CTRL | Qt::Key_E));
    edit->setCheckable(true);
}

void MainMenu::buildWindowMenu()
{
    QMenu *window = addMenu(QStringLiteral("Window"));
    addItem(window, QStringLiteral("Minimize"), MenuCommand::Minimize, QKeySequence(Qt::CTRL | Qt::Key_M));
    addItem(window, QStringLiteral("Zoom"), MenuCommand::Zoom);
}

void MainMenu::buildHelpMenu()
{
    const QString name = QCoreApplication::applicationName();
    QMenu *help = addMenu(QStringLiteral("Help"));
    addItem(help, QStringLiteral("%@ Help"), MenuCommand::HelpViaWeb, QKeySequence::HelpContents, {name});
    help->addSeparator();
    // Left out while there is no page or mailbox to open.
    QAction *rate = addItem(help, QStringLiteral("Rate us at the App Store…"), MenuCommand::RateUs);
    rate->setVisible(ProductLinks::hasAddress(ProductLinks::Link::StorePage, name));
    QAction *feedback = addItem(help, QStringLiteral("Feedback via Email…"), MenuCommand::FeedbackViaEmail);
    feedback->setVisible(ProductLinks::hasAddress(ProductLinks::Link::SupportMailbox));
    addItem(help, QStringLiteral("Privacy Policy…"), MenuCommand::PrivacyPolicy);
    help->addSeparator();
    QAction *about = addItem(help, QStringLiteral("About %@"), MenuCommand::ShowAboutPanel, {}, {name});
    about->setMenuRole(QAction::AboutRole);
}
