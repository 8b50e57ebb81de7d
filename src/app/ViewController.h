#pragma once

#include "addressbook/AddressBook.h"
#include "app/MenuCommand.h"
#include "app/SplitPanes.h"
#include "model/AddressBookRecords.h"
#include "ui/contracts/ContactInfoControllerDelegate.h"
#include "ui/contracts/ContactInfoPopoverDelegate.h"
#include "ui/contracts/ContactsViewControllerDelegate.h"
#include "ui/contracts/FindBarDelegate.h"
#include "ui/contracts/GridEditDelegate.h"
#include "ui/contracts/GroupViewControllerDelegate.h"
#include "ui/contracts/ItemAndRange.h"

#include <QFont>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class ChangeBroadcast;
class ContactDrops;
class FindController;
class FontManager;
class MergePanelController;
class QRCodePanelController;
class GroupContactCommands;
class PaneWidths;
class ProgressIndicator;
class QImage;
class QAction;
class QSplitter;
class SeparatorBox;
class UserDefaults;
class ViewFindHost;
class WindowController;

// The content of the main window. It lays out the panes, holds the settings several panes read
// (label filter, view types, font, edit state) and is the delegate of its panes: the split view's
// sidebar, grid and detail pane, and the find bar over the grid.
//
// The document itself (tree, selection, undo history, edited mark, undoable edits) is the
// AddressBook; the methods below that the panes and the shell call on it are one-line forwards.
// Its signals reach the panes here: every change of a contact through contactDidUpdate
// (ChangeBroadcast), changes of the tree's shape through the grid and sidebar refreshes.
//
// The window calls viewDidLoad() once, before its own set-up reads the defaults written there;
// viewWillAppear() and viewWillDisappear() follow the view's showing and hiding; after every
// load the application hands over the tables and calls setRepresentedObject().
class ViewController : public QWidget,
                       public ContactsViewControllerDelegate,
                       public GroupViewControllerDelegate,
                       public ContactInfoControllerDelegate,
                       public ContactInfoPopoverDelegate,
                       public FindBarDelegate,
                       public GridEditDelegate
{
    Q_OBJECT

public:
    // The user's defaults and the program's panes.
    explicit ViewController(QWidget *parent = nullptr);
    ViewController(UserDefaults &defaults, SplitPanes panes, QWidget *parent = nullptr);
    ~ViewController() override;

    void viewDidLoad();
    void viewWillAppear();
    void viewWillDisappear();
    // Hands the current tables to the sidebar and the grid and shows the sidebar as last time.
    void setRepresentedObject(const QVariant &object);
    QVariant representedObject() const { return m_representedObject; }

    UserDefaults &defaults() const { return m_defaults; }
    AddressBook &addressBook() const { return *m_book; }
    UndoManager *undoManager() const override { return m_book->undoManager(); }
    WindowController *windowController() const;

    // The address book. Empty or null while nothing is loaded.
    const ContainerTable &containerTable() const { return m_book->containerTable(); }
    void setContainerTable(const ContainerTable &containerTable)
    {
        m_book->setContainerTable(containerTable);
    }
    const ContactTablePtr &contactTable() const { return m_book->contactTable(); }
    void setContactTable(const ContactTablePtr &contactTable) { m_book->setContactTable(contactTable); }
    const GroupDictPtr &selectedGroupDict() const override { return m_book->selectedGroupDict(); }
    void setSelectedGroupDict(const GroupDictPtr &group) { m_book->setSelectedGroupDict(group); }
    bool isAddressBookLoading() const { return m_book->isLoading(); }
    void setIsAddressBookLoading(bool loading) { m_book->setLoading(loading); }
    ContainerDictPtr containerOfGroup(const GroupDict &group) const
    {
        return m_book->containerOfGroup(group);
    }
    QStringList groupNamesOfContact(const ContactRowPtr &contact) const override
    {
        return m_book->groupNamesOfContact(contact);
    }
    QList<StoreContact> cnContactsForGroup(const std::optional<StoreGroup> &group,
                                           const QString &containerIdentifier) const
    {
        return m_book->cnContactsForGroup(group, containerIdentifier);
    }

    // Settings the panes share.
    QStringList selectedLabels() const { return m_selectedLabels; }
    void setSelectedLabels(const QStringList &labels) { m_selectedLabels = labels; }
    QVariantMap viewTypeDict() const { return m_viewTypeDict; }
    void setViewTypeDict(const QVariantMap &viewTypeDict) { m_viewTypeDict = viewTypeDict; }
    QString selectedViewType() const { return m_selectedViewType; }
    void setSelectedViewType(const QString &viewType) { m_selectedViewType = viewType; }
    bool contactInfoVisible() const { return m_contactInfoVisible; }
    void setContactInfoVisible(bool visible) { m_contactInfoVisible = visible; }
    QVariantList customItems() const { return m_book->customItems(); }
    void setCustomItems(const QVariantList &customItems) { m_book->setCustomItems(customItems); }
    // Null for the address-book window; the name of the document otherwise.
    QString documentName() const { return m_documentName; }
    void setDocumentName(const QString &name) { m_documentName = name; }
    // The defaults were restored at this start.
    bool isNewWindow() const { return m_newWindow; }

    // Finding: the find bar's string and the cursor, kept by the find controller.
    FindController &findController() const { return *m_find; }
    QString findString() const;
    std::optional<ItemAndRange> selectedItemAndRange() const;
    void setSelectedItemAndRange(const std::optional<ItemAndRange> &itemAndRange);
    // The items of Edit > Find.
    void performFindBarAction(MenuCommand command);
    // Runs the find-and-replace window over this window; returns when it has closed.
    void showFindPanel();

    // The panes and views.
    GroupSidebarInterface *groupViewController() const { return m_panes.groupViewController.get(); }
    ContactsGridInterface *contactsViewController() const { return m_panes.contactsViewController.get(); }
    ContactInfoInterface *contactInfoController() const { return m_panes.contactInfoController.get(); }
    FindBarInterface *findBarController() const { return m_panes.findBarController.get(); }
    QSplitter *splitView() const { return m_splitView; }
    // The side panes' widths, kept for the next start; null until the view has loaded.
    PaneWidths *paneWidths() const { return m_paneWidths; }
    ProgressIndicator *progressIndicator() const { return m_progressIndicator; }
    SeparatorBox *redSeparator() const { return m_redSeparator; }

    // The side panes are split items 0 (sidebar) and 2 (detail pane).
    bool isSidebarCollapsed() const;
    void setSidebarCollapsed(bool collapsed);
    bool isDetailCollapsed() const;
    void setDetailCollapsed(bool collapsed);

    // Edit state: the separator turns red and every pane offers editing.
    bool editState() const { return m_editState; }
    void setEditState(bool editState);
    void enableEditButton(bool enabled);

    // The document's edited mark, shown as the window's.
    bool isDocumentEdited() const { return m_book->isEdited(); }
    void setDocumentEdited(bool edited) override { m_book->setEdited(edited); }

    // Fonts. An empty selected font stands for a stored name that no installed font has.
    std::optional<QFont> selectedFont() const { return m_selectedFont; }
    void setSelectedFont(const std::optional<QFont> &font) { m_selectedFont = font; }
    // Takes the font for every pane and for the detail views' defaults; nothing for no font.
    void applyFont(const std::optional<QFont> &font);
    void changeFont(FontManager *sender);
    void revertToDefaultFont();

    bool validateMenuItem(QAction *item);
    void undo();
    void redo();
    void showFindBar(bool show);
    void saveColumnWithDictionary();

    static QVariantMap aViewTypeDict();
    static QVariantMap aSelectedLabels();

    // The edit funnel: every change of a contact's values (ContactInfoPopoverDelegate below) and of
    // the address book's shape. Callers that change several rows open one undo group around their
    // calls (UndoGroup).
    void undoReplacePersonByContacts(const QList<ContactRowPtr> &newContacts,
                                     const QList<ContactRowPtr> &contacts);
    void undoAddContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group) override;
    void undoDeleteContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group,
                            bool doUndo) override;
    void undoAddGroup(const GroupDictPtr &group, const ContainerDictPtr &container);
    void undoDeleteGroup(const GroupDictPtr &group, const ContainerDictPtr &container);
    bool undoChangeGroupName(const QString &name, const GroupDictPtr &group);
    ChangeBroadcast &changeBroadcast() const { return *m_broadcast; }

    // The group and contact commands (GroupContactCommands); the sender is not read.
    void addGroup(QObject *sender = nullptr);
    void deleteGroup(QObject *sender = nullptr);
    void addContact(QObject *sender = nullptr) override;
    void deleteContacts(QObject *sender = nullptr);
    void duplicateContacts(QObject *sender = nullptr);

    // Draws source into target at newSize; false (target untouched) for an invalid source.
    static bool imageResize(const QImage &source, QImage &target, const QSize &newSize);

    // Sorts the shown group's rows by the first descriptor (ContactTableSorting).
    void sortContactTable(const QList<SortDescriptor> &descriptors);

    // ContactsViewControllerDelegate
    void rowSelectionDidChange(const SubContactRowPtr &row) override;
    void sortDescriptorsDidChange(const QList<SortDescriptor> &descriptors) override;
    void addContactByVCardString(const QString &vCardString) override;
    void addContactRows(const QList<ContactRowPtr> &rows) override;
    ContactInfoPopoverInterface *makeContactInfoPopover() override;
    DetachedWindowController *makeDetachedWindow() override;
    ValueEditorFactory *valueEditorFactory() override;
    // Two contacts side by side in the merge sheet; Done writes the merged copies as one step.
    void beginMergeSheet(const QList<ContactRowPtr> &contacts) override;
    // The QR-code sheet for the row's contact; the sheet stays until the next one.
    void showQRCodeForContact(const SubContactRowPtr &row) override;
    QRCodePanelController *qrCodePanelController() const;
    // GroupViewControllerDelegate
    void groupSelectionDidChange(const GroupDictPtr &group) override;
    void addContactByStringIndexes(const QString &stringIndexes, const GroupDictPtr &group) override;
    void groupNameWillChange(const QString &name) override;
    // ContactInfoControllerDelegate, ContactInfoPopoverDelegate
    void contactDidUpdate(const ContactRowPtr &contact, QObject *sender) override;
    void rowSelectionDidChange(QObject *sender, const DetailRow &detailRow) override;
    void detachedWindowDidClose(const ClosedWindow &closed) override;
    bool undoReplaceValue(const QVariant &value, const QString &identifier, const ContactRowPtr &contact,
                          QObject *sender) override;
    bool undoReplaceLabeledValue(const QVariant &value, const QString &identifier,
                                 const ContactRowPtr &contact, QObject *sender) override;
    bool undoAddLabeledValue(const QVariantMap &value, const QString &identifier,
                             const ContactRowPtr &contact, QObject *sender) override;
    bool undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64 labelIndex,
                                             const ContactRowPtr &contact, QObject *sender) override;
    bool undoReplaceNameValue(const QVariantMap &name, const ContactRowPtr &contact) override;
    bool undoReplacePhoneticNameValue(const QVariant &phoneticName, const ContactRowPtr &contact) override;
    bool undoReplaceBirthday(const QVariant &birthday, const ContactRowPtr &contact) override;
    bool undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact) override;
    // FindBarDelegate
    void findStringDidChange(const QString &findString) override;
    void findBarButtonDidPress(FindBarCommand command) override;

    // Test hook: stands in for the keyboard's modifier state; empty asks the keyboard.
    using ModifierQuery = std::function<Qt::KeyboardModifiers()>;
    static void setModifierQuery(ModifierQuery query);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildLayout();
    void offerToRestoreDefaults();
    void loadLabelFilter();
    void loadViewTypes();
    void loadSelectedFont();
    void pushTablesToPanes();
    void showNewTreeInDetailPane();
    void showNoContactInDetailPane();
    QString fontKey(const QString &key) const;
    void connectAddressBook();
    void showContactRowsChange(const QList<ContactRowPtr> &rows, bool deleted);
    void showGroups();
    void showGroupSelection(const GroupDictPtr &group);

    UserDefaults &m_defaults;
    SplitPanes m_panes;
    AddressBook *m_book;
    std::unique_ptr<ChangeBroadcast> m_broadcast;
    std::unique_ptr<GroupContactCommands> m_commands;
    std::unique_ptr<ContactDrops> m_drops;
    std::unique_ptr<ViewFindHost> m_findHost;
    std::unique_ptr<FindController> m_find;
    QSplitter *m_splitView = nullptr;
    PaneWidths *m_paneWidths = nullptr;
    ProgressIndicator *m_progressIndicator = nullptr;
    SeparatorBox *m_redSeparator = nullptr;
    QPointer<MergePanelController> m_mergePanelController;
    QPointer<QRCodePanelController> m_qrCodePanelController;

    QStringList m_selectedLabels;
    QVariantMap m_viewTypeDict;
    QString m_selectedViewType;
    bool m_contactInfoVisible = false;
    bool m_editState = false;
    std::optional<QFont> m_selectedFont;
    QString m_documentName;
    bool m_newWindow = false;
    QVariant m_representedObject;
};
