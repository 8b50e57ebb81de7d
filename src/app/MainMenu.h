#pragma once

#include "app/MenuCommand.h"

#include <QHash>
#include <QKeySequence>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QAction;
class QMainWindow;
class QMenu;

// The main window's menu bar: File, Edit, Format, View, Navigate, Window and Help. Every item
// carries its MenuCommand; handlers connect to item(command). Titles are kept as their English
// keys, so that translate() can look them up again in the localisation tables.
class MainMenu : public QObject
{
    Q_OBJECT

public:
    // Builds the menus into the window's menu bar, titled in the current language.
    explicit MainMenu(QMainWindow *window);

    QAction *item(MenuCommand command) const { return m_items.value(command); }
    // The menu of that title key ("File", "Find", "Font", ...), or null.
    QMenu *menu(const QString &titleKey) const { return m_menus.value(titleKey); }
    QList<QMenu *> menus() const;
    QList<QAction *> items() const { return m_items.values(); }

    // Titles the menus and the items of the bar's menus, and of the Find and Font submenus, from
    // their keys in the current language. Items without a title key (a toolbar menu hung under
    // Navigate, say) keep theirs.
    void translate();
    // The key an item or menu title was made from; empty when it has none.
    QString titleKey(const QAction *item) const;

private:
    QMenu *addMenu(const QString &titleKey);
    QMenu *addSubmenu(QMenu *menu, const QString &titleKey);
    // arguments fill the key's %@ placeholders.
    QAction *addItem(QMenu *menu, const QString &titleKey, MenuCommand command,
                     const QKeySequence &shortcut = {}, const QStringList &arguments = {});
    void setTitle(QAction *item, const QString &titleKey, const QStringList &arguments = {});
    void translateMenu(QMenu *menu);
    void buildFileMenu();
    void buildEditMenu();
    void buildFormatMenu();
    void buildViewMenu();
    void buildNavigateMenu();
    void buildWindowMenu();
    void buildHelpMenu();

    struct Title
    {
        QString key;
        // Filled into the key's %@ placeholders.
        QStringList arguments;
    };

    QMainWindow *m_window;
    QMap<QString, QMenu *> m_menus;
    QMap<MenuCommand, QAction *> m_items;
    QHash<const QAction *, Title> m_titles;
};
