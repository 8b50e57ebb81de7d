#include "app/MainMenu.h"

#include "app/TextFormat.h"
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

QMenu *MainMenu::addMenu(const QString &title)
{
    QMenu *menu = m_window->menuBar()->addMenu(L(title));
    m_menus.insert(title, menu);
    return menu;
}

QAction *MainMenu::addItem(QMenu *menu, const QString &title, MenuCommand command,
                           const QKeySequence &shortcut)
{
    QAction *item = menu->addAction(title);
    setMenuCommand(item, command);
    if (!shortcut.isEmpty())
        item->setShortcut(shortcut);
    m_items.insert(command, item);
    return item;
}

void MainMenu::buildFileMenu()
{
    QMenu *file = addMenu(QStringLiteral("File"));
    addItem(file, L(QStringLiteral("Close Window")), MenuCommand::Close, QKeySequence::Close);
    file->addSeparator();
    QAction *quit = addItem(file, L(QStringLiteral("Quit")), MenuCommand::Quit, QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);
}

void MainMenu::buildEditMenu()
{
    QMenu *edit = addMenu(QStringLiteral("Edit"));
    addItem(edit, L(QStringLiteral("Undo")), MenuCommand::Undo, QKeySequence::Undo);
    addItem(edit, L(QStringLiteral("Redo")), MenuCommand::Redo, QKeySequence::Redo);
    edit->addSeparator();
    QMenu *find = edit->addMenu(L(QStringLiteral("Find")));
    m_menus.insert(QStringLiteral("Find"), find);
    addItem(find, L(QStringLiteral("Show")), MenuCommand::FindBarButtonClicked, QKeySequence::Find);
}

void MainMenu::buildFormatMenu()
{
    QMenu *format = addMenu(QStringLiteral("Format"));
    QMenu *font = format->addMenu(L(QStringLiteral("Font")));
    m_menus.insert(QStringLiteral("Font"), font);
    addItem(font, L(QStringLiteral("Show Fonts")), MenuCommand::ShowFonts,
            QKeySequence(Qt::CTRL | Qt::Key_T));
    addItem(font, L(QStringLiteral("Bigger")), MenuCommand::BiggerFont, QKeySequence::ZoomIn);
    addItem(font, L(QStringLiteral("Smaller")), MenuCommand::SmallerFont, QKeySequence::ZoomOut);
    font->addSeparator();
    addItem(font, L(QStringLiteral("Revert to Default Font")), MenuCommand::RevertToDefaultFont);
}

void MainMenu::buildViewMenu()
{
    QMenu *view = addMenu(QStringLiteral("View"));
    addItem(view, L(QStringLiteral("Hide Toolbar")), MenuCommand::ToggleToolbar);
    addItem(view, L(QStringLiteral("Enter Full Screen")), MenuCommand::ToggleFullScreen,
            QKeySequence::FullScreen);
}

void MainMenu::buildNavigateMenu()
{
    QMenu *navigate = addMenu(QStringLiteral("Navigate"));
    QMenu *contact = navigate->addMenu(L(QStringLiteral("Contact")));
    m_menus.insert(QStringLiteral("Contact"), contact);
    addItem(contact, L(QStringLiteral("Hide Contact Info")), MenuCommand::ToggleContactInfo,
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    QMenu *group = navigate->addMenu(L(QStringLiteral("Group")));
    m_menus.insert(QStringLiteral("Group"), group);
    addItem(group, L(QStringLiteral("Hide Group")), MenuCommand::ToggleGroupView);
    navigate->addSeparator();
    QAction *edit = addItem(navigate, L(QStringLiteral("Edit Contacts")), MenuCommand::EditButtonClicked,
                            QKeySequence(Qt::CTRL | Qt::Key_E));
    edit->setCheckable(true);
}

void MainMenu::buildWindowMenu()
{
    QMenu *window = addMenu(QStringLiteral("Window"));
    addItem(window, L(QStringLiteral("Minimize")), MenuCommand::Minimize, QKeySequence(Qt::CTRL | Qt::Key_M));
    addItem(window, L(QStringLiteral("Zoom")), MenuCommand::Zoom);
}

void MainMenu::buildHelpMenu()
{
    const QString name = QCoreApplication::applicationName();
    QMenu *help = addMenu(QStringLiteral("Help"));
    addItem(help, TextFormat::fill(L(QStringLiteral("%@ Help")), {name}), MenuCommand::HelpViaWeb,
            QKeySequence::HelpContents);
    help->addSeparator();
    addItem(help, L(QStringLiteral("Rate us at the App Store…")), MenuCommand::RateUs);
    addItem(help, L(QStringLiteral("Feedback via Email…")), MenuCommand::FeedbackViaEmail);
    addItem(help, L(QStringLiteral("Privacy Policy…")), MenuCommand::PrivacyPolicy);
    help->addSeparator();
    QAction *about =
        addItem(help, TextFormat::fill(L(QStringLiteral("About %@")), {name}), MenuCommand::ShowAboutPanel);
    about->setMenuRole(QAction::AboutRole);
}
