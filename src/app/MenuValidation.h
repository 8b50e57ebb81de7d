#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QMenu;
class QWidget;

// Keeps a window's menu items enabled only while their validator allows them: each menu is
// validated just before it shows, and every item of the window just before a key press of the
// window can fire a shortcut. The validator may also retitle or check the item.
class MenuValidation : public QObject
{
    Q_OBJECT

public:
    using Validator = std::function<bool(QAction *item)>;

    MenuValidation(QWidget *window, Validator validator);
    ~MenuValidation() override;

    // Validates the menu's items (and its submenus' when they show) before each showing.
    void watchMenu(QMenu *menu);
    void validateMenu(QMenu *menu);
    // Every item added to the window or to a watched menu.
    void validateAll();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void validateItem(QAction *item);

    QPointer<QWidget> m_window;
    Validator m_validator;
    QList<QPointer<QMenu>> m_menus;
};
