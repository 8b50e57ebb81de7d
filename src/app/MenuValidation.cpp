#include "app/MenuValidation.h"

#include "platform/BusySign.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

MenuValidation::MenuValidation(QWidget *window, Validator validator)
    : QObject(window), m_window(window), m_validator(std::move(validator))
{
    // Shortcuts are looked up after the focus widget has been offered the key as a shortcut
    // override, so validating there enables or disables the items in time.
    qApp->installEventFilter(this);
}

MenuValidation::~MenuValidation()
{
    qApp->removeEventFilter(this);
}

void MenuValidation::watchMenu(QMenu *menu)
{
    m_menus.removeIf([](const QPointer<QMenu> &watched) { return watched.isNull(); });
    if (!menu || m_menus.contains(menu))
        return;
    m_menus.append(menu);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { validateMenu(menu); });
    for (QAction *item : menu->actions()) {
        if (item->menu())
            watchMenu(item->menu());
    }
}

// Submenus that were added since the menu was watched are watched from now on.
void MenuValidation::validateMenu(QMenu *menu)
{
    for (QAction *item : menu->actions()) {
        if (QMenu *submenu = item->menu())
            watchMenu(submenu);
        else
            validateItem(item);
    }
}

void MenuValidation::validateAll()
{
    const QList<QPointer<QMenu>> menus = m_menus;
    for (const QPointer<QMenu> &menu : menus) {
        if (menu)
            validateMenu(menu);
    }
    if (m_window) {
        for (QAction *item : m_window->actions())
            validateItem(item);
    }
}

void MenuValidation::validateItem(QAction *item)
{
    if (item->isSeparator() || item->menu())
        return;
    // Some items ask about a selection of thousands of contacts, at every key press.
    BusySign::tick();
    item->setEnabled(m_validator(item));
}

bool MenuValidation::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && m_window && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == m_window)
        validateAll();
    return QObject::eventFilter(watched, event);
}
