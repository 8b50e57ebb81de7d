#pragma once

#include "app/MenuCommand.h"
#include "app/SplitPanes.h"

#include <QMainWindow>
#include <QVariantList>

class MainMenu;
class MenuValidation;
class QAction;
class QPushButton;
class QToolBar;
class UndoManager;
class UserDefaults;
class ViewController;

// The main window: the view controller as its content, the menu bar and a small toolbar. It shows
// and hides the side panes, carries the Edit/Lock and Find buttons, validates its menu items and
// keeps its frame and edit state for the next start. The window title is the edition's name with
// the edited mark.
class WindowController : public QMainWindow
{
    Q_OBJECT

public:
    // The user's defaults and the program's panes.
    explicit WindowController(QWidget *parent = nullptr);
    WindowController(UserDefaults &defaults, SplitPanes panes, QWidget *parent = nullptr);
    ~WindowController() override;

    ViewController *mainViewController() const { return m_mainViewController; }
    UndoManager *undoManager() const;
    MainMenu *mainMenu() const { return m_mainMenu; }
    QAction *menuItem(MenuCommand command) const;
    QToolBar *toolbar() const { return m_toolbar; }
    QPushButton *editButton() const { return m_editButton; }
    QPushButton *findBarButton() const { return m_findBarButton; }

    void showGroupView(bool show);
    void toggleGroupView();
    void showContactInfo(bool show);
    void toggleContactInfo();
    void editButtonClicked();
    void findBarButtonClicked();

    // The custom-item definitions of the address book, handed to the panes.
    QVariantList customItems() const { return m_customItems; }
    void updateCustomItems();

    bool validateMenuItem(QAction *item);
    void validateMenuItems();

    // The frame is kept under this name and restored when the name is set.
    QString frameAutosaveName() const { return m_frameAutosaveName; }
    void setFrameAutosaveName(const QString &name);
    // 900 by 500, 100 points from the left and top of the screen's visible area.
    void placeAtFirstRunFrame();
    static QRect firstRunFrame(const QRect &visibleFrame);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbar();
    void connectMenuItems();
    void windowWillClose();
    void saveFrame();

    UserDefaults &m_defaults;
    ViewController *m_mainViewController;
    MainMenu *m_mainMenu;
    MenuValidation *m_menuValidation;
    QToolBar *m_toolbar = nullptr;
    QPushButton *m_editButton = nullptr;
    QPushButton *m_findBarButton = nullptr;
    QVariantList m_customItems;
    QString m_frameAutosaveName;
};
