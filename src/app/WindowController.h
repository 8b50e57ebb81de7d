#pragma once

#include "addressbook/CustomItemDefinitions.h"
#include "app/MenuCommand.h"
#include "ui/contracts/PrintServices.h"
#include "app/SplitPanes.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

class CustomItemPanel;
class CustomLabelPanelController;
class FileExporter;
class FileImporter;
class ImportPanelController;
class ProgressAlert;
class MainMenu;
class MenuValidation;
class QAction;
class QColor;
class QImage;
class QAbstractAnimation;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;
class SegmentedControl;
class UndoManager;
class UserDefaults;
class ViewController;

// The main window: the view controller as its content, the menu bar and the toolbar. It owns the
// toolbar's menus (view type, items, labels, sort options), which hang under "Navigate" too, so
// one menu object serves both; every choice there is stored in the user defaults at once and
// handed to the grid. It shows and hides the side panes, carries the Edit/Lock and Find buttons,
// validates its menu items, starts printing and keeps its state for the next start. The window
// title is the edition's name with the edited mark.
//
// The view controller's set-up runs first, so the view types and the selected view type it
// stores at the first start are in place when windowDidLoad() reads them.
class WindowController : public QMainWindow
{
    Q_OBJECT

public:
    // The user's defaults and the program's panes.
    explicit WindowController(QWidget *parent = nullptr);
    WindowController(UserDefaults &defaults, SplitPanes panes, QWidget *parent = nullptr);
    ~WindowController() override;

    // The one-time set-up: reads the stored choices, translates the menu bar, builds the toolbar's
    // menus and tells the grid its view type. The constructor runs it.
    void windowDidLoad();
    // The font commands go to the view controller while this window is active.
    void windowDidBecomeKey();
    // With unsaved changes, asks whether to save them first: false keeps the window open (Cancel,
    // or a save that failed). Then stops rebuilding the labels menu on opening.
    bool windowShouldClose();
    // What the close question's Save runs; true when everything was saved.
    void setDocumentSaver(std::function<bool()> saver) { m_documentSaver = std::move(saver); }
    // Stores the grid's columns, the edit state and the frame.
    void windowWillClose();

    ViewController *mainViewController() const { return m_mainViewController; }
    UserDefaults &defaults() const { return m_defaults; }
    UndoManager *undoManager() const;
    MainMenu *mainMenu() const { return m_mainMenu; }
    QAction *menuItem(MenuCommand command) const;
    QToolBar *toolbar() const { return m_toolbar; }
    QPushButton *editButton() const { return m_editButton; }
    QPushButton *findBarButton() const { return m_findBarButton; }
    // The toolbar's pull-down buttons; each button's menu is the one under "Navigate".
    QToolButton *viewTypePopup() const { return m_viewTypePopup; }
    QToolButton *itemsPopup() const { return m_itemsPopup; }
    QToolButton *labelsPopup() const { return m_labelsPopup; }
    QToolButton *sortOptionsPopup() const { return m_sortOptionsPopup; }
    QToolButton *contactPopup() const { return m_contactPopup; }
    QToolButton *groupsPopup() const { return m_groupsPopup; }
    // Segment 0 shows and hides the sidebar, segment 1 the detail pane.
    SegmentedControl *splitButtons() const { return m_splitButtons; }

    // The contact and group menus, hung under "Navigate" too.
    void initContactMenu();
    void initGroupMenu();

    // The side panes. Hiding a pane gives the grid the focus.
    void showGroupView(bool show);
    // Also keeps the choice in "QN1DshowGroupView".
    void toggleGroupView();
    // Shows the detail pane as a table while editing and as a card while locked.
    void showContactInfo(bool show);
    void toggleContactInfo();
    void splitButtonsPressed(SegmentedControl *sender);
    // Three t: the name the rest of the program knows it by.
    void initSplitButttons();
    // A frame with a bar inside on its left side, or on its right side for side true.
    static QImage splitButtonImageWithSize(const QSize &size, const QColor &color, bool side);
    // A pane was shown or hidden; the segmented control keeps its own selection.
    void setSplitButtonState(bool state, int index);

    // Switches between reading and editing, cross-fading the detail pane between its card and its
    // table, and keeps the state in "QN1DlastEditState" for the next start.
    void editButtonClicked();
    // True while the detail pane's cross-fade runs.
    bool isDetailPaneFading() const { return !m_detailFade.isNull(); }
    // Shows or hides the find bar; the button stays disabled until the bar has finished.
    void findBarButtonClicked();

    // The custom-item definitions of the address book, handed to the panes and the menus.
    QVariantList customItems() const { return m_customItems.value_or(QVariantList()); }
    // Gathers the definitions when none are known yet, then rebuilds the items menu, the view
    // types and the sort options and hands the definitions to the panes.
    void updateCustomItems();
    // The first time the view holds contacts: the stored definitions and the contacts' items.
    void startCustomItems();
    // After a reload: gathered anew, for another program may have changed the stored ones.
    void gatherCustomItemsAgain();
    void addCustomItemsOfContacts(const QVariantList &added);

    // The two sheets of custom labels and custom items, made at first use and kept. A second
    // showCustomLabelPanel() while the sheet is open ends it with 0.
    void showCustomLabelPanel();
    void showCustomItems();
    CustomLabelPanelController *customLabelPanelController() const;
    CustomItemPanel *customItemPanel() const;

    // Custom items deleted since the last save leave the window and the contacts at once, but
    // their values stay in the cloud store until a save takes them out (the saver is handed
    // these), so that Revert or Discard brings the items back with their values.
    QVariantList pendingCustomItemDeletions() const;
    // The save took the values out: the deletions are final.
    void customItemDeletionsSaved();
    // Revert and Discard: the deleted definitions come back; the reload brings their values.
    void restoreDeletedCustomItems();

    // Import and export share this flag; a command that finds it set does nothing.
    bool isExporting() const { return m_isExporting; }
    void setIsExporting(bool exporting) { m_isExporting = exporting; }

    // File import and export (FileImporter, FileExporter). An export with a sender writes the
    // selected contacts, without one every contact of the shown group.
    void importFromVCard();
    void importFromCSV();
    void importFiles(const QStringList &paths);
    void exportToVCard(QObject *sender);
    void exportToCSV(QObject *sender);
    // Made at first use and kept for later imports and exports.
    ProgressAlert *progressAlert();
    ImportPanelController *importPanelController();

    // What the toolbar's menus chose.
    QVariantMap viewTypeDict() const { return m_viewTypeDict; }
    QString selectedViewType() const { return m_selectedViewType; }
    QStringList selectedLabels() const { return m_selectedLabels; }
    QVariantMap sortOptionsDict() const { return m_sortOptionsDict; }

    // The toolbar's menus.
    void initViewTypeMenu();
    // Again after every change of the custom items.
    void initItemsMenu();
    // Rebuilds the labels menu and retitles the group menu's selected-group item, each time one
    // of them opens; other menus are left alone.
    void menuNeedsUpdate(QMenu *menu);
    void initSortOptionsMenu();
    void initSortOptionsDict();
    // Drops from the stored view types every column that no longer exists.
    void updateViewTypeDict();
    void viewTypePopupSelected(QAction *item);
    void itemsPopupSelected(QAction *item);
    // Acts only for a menu item.
    void labelsPopupSelected(QObject *sender);
    void sortOptionsSelected(QAction *item);

    bool validateMenuItem(QAction *item);
    void validateMenuItems();

    // Prints the selected grid rows; nothing without a selection.
    void printDocument();
    void printOperationDidRun(bool success);
    // Where printing comes from; a stand-in that cannot print until then.
    void setPrintServices(std::unique_ptr<PrintServices> services);

    // The frame is kept under this name and restored when the name is set.
    QString frameAutosaveName() const { return m_frameAutosaveName; }
    void setFrameAutosaveName(const QString &name);
    // 900 by 500, 100 points from the left and top of the screen's visible area.
    void placeAtFirstRunFrame();
    static QRect firstRunFrame(const QRect &visibleFrame);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool askToSaveChanges();
    void buildToolbar();
    QToolButton *addPopup(const QString &icon, const QString &titleKey);
    void connectMenuItems();
    void readStoredChoices();
    void hangUnderNavigate(MenuCommand navigateItem, QToolButton *popup);
    QAction *addMenuItem(QMenu *menu, const QString &title, MenuCommand command, const QVariant &object);
    void addTitleItem(QMenu *menu, const QString &titleKey, const QVariant &object = {});
    void addCustomItemsToItemsMenu(QMenu *menu);
    void buildPaneControls();
    QAction *addActionItem(QMenu *menu, const QString &titleKey, MenuCommand command,
                           const std::function<void()> &handler, const QVariant &object = {});
    // The item of the contact or group menu that carries the command.
    QAction *toolbarMenuItem(MenuCommand command) const;
    void updateSelectedGroupItem(QMenu *menu);
    void crossFadeDetailPane(bool toTable);
    void buildLabelsMenu(QMenu *menu);
    QVariantMap storedViewTypeDict() const;
    QStringList storedColumnsOfSelectedViewType() const;
    bool hasSelectedRows() const;
    void saveFrame();
    void connectCustomItemCommands();
    void connectFileCommands();
    void customLabelPanelDidEnd(int returnCode);
    void customItemPanelDidEnd(int returnCode);
    // The definitions, or the stored ones while none have been gathered.
    QVariantList knownDefinitions() const;
    // Takes the definitions as the window's. The store is written only with the window's own
    // change of them, and keeps deleted items until the next save.
    void setDefinitions(const QVariantList &definitions);
    void takeStoredDefinitions();
    void definitionsDidChange();

    UserDefaults &m_defaults;
    ViewController *m_mainViewController;
    MainMenu *m_mainMenu;
    MenuValidation *m_menuValidation;
    QToolBar *m_toolbar = nullptr;
    QToolButton *m_viewTypePopup = nullptr;
    QToolButton *m_itemsPopup = nullptr;
    QToolButton *m_labelsPopup = nullptr;
    QToolButton *m_sortOptionsPopup = nullptr;
    QPushButton *m_editButton = nullptr;
    QPushButton *m_findBarButton = nullptr;
    QToolButton *m_contactPopup = nullptr;
    QToolButton *m_groupsPopup = nullptr;
    SegmentedControl *m_splitButtons = nullptr;
    QMetaObject::Connection m_labelsMenuDelegate;
    QMetaObject::Connection m_groupsMenuDelegate;
    // The detail pane's cross-fade while it runs; a new one replaces it.
    QPointer<QAbstractAnimation> m_detailFade;

    QVariantMap m_viewTypeDict;
    QString m_selectedViewType;
    QStringList m_selectedLabels;
    QVariantMap m_sortOptionsDict;
    // Unset until the first update after the load finds definitions.
    std::optional<QVariantList> m_customItems;
    QList<CustomItemDefinitions::Deletion> m_pendingItemDeletions;
    // Children of the window.
    QPointer<CustomLabelPanelController> m_customLabelPanelController;
    QPointer<CustomItemPanel> m_customItemPanel;
    bool m_isExporting = false;
    bool m_closeWaiting = false;
    std::unique_ptr<FileImporter> m_fileImporter;
    std::unique_ptr<FileExporter> m_fileExporter;
    QPointer<ProgressAlert> m_progressAlert;
    QPointer<ImportPanelController> m_importPanelController;

    std::unique_ptr<PrintServices> m_printServices;
    // Alive while a print runs.
    std::unique_ptr<PrintAccessoryInterface> m_printAccessory;
    std::unique_ptr<PrintViewInterface> m_printView;

    QString m_frameAutosaveName;
    std::function<bool()> m_documentSaver;
};
