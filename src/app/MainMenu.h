#pragma once

#include "app/MenuCommand.h"

#include <QKeySequence>
#include <QMap>
#include <QObject>

class QAction;
class QMainWindow;
class QMenu;

// The main window's menu bar: File, Edit, Format, View, Navigate, Window and Help, with the items
// the program has so far. Every item carries its MenuCommand; handlers connect to item(command).
class MainMenu : public QObject
{
    Q_OBJECT

public:
    // Builds the menus into the window's menu bar.
    explicit MainMenu(QMainWindow *window);

    QAction *item(MenuCommand command) const { return m_items.value(command); }
    // The menu of that title (untranslated), or null.
    QMenu *menu(const QString &title) const { return m_menus.value(title); }
    QList<QMenu *> menus() const;
    QList<QAction *> items() const { return m_items.values(); }

private:
    QMenu *addMenu(const QString &title);
    QAction *addItem(QMenu *menu, const QString &title, MenuCommand command,
                     const QKeySequence &shortcut = {});
    void buildFileMenu();
    void buildEditMenu();
    void buildFormatMenu();
    void buildViewMenu();
    void buildNavigateMenu();
    void buildWindowMenu();
    void buildHelpMenu();

    QMainWindow *m_window;
    QMap<QString, QMenu *> m_menus;
    QMap<MenuCommand, QAction *> m_items;
};
