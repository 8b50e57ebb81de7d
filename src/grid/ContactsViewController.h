#pragma once

#include "addressbook/GridSortKey.h"
#include "addressbook/SortDescriptor.h"
#include "grid/GridDisplayCache.h"
#include "grid/GridState.h"
#include "grid/GridTableView.h"
#include "platform/widgets/Popover.h"
#include "ui/contracts/ContactsGridInterface.h"
#include "ui/contracts/DetachedWindowEntry.h"
#include "ui/widgets/LabelPopup.h"
#include "ui/widgets/OwnedView.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

class GridCellDelegate;
class GridClipboard;
class GridCellEditing;
class GridContactPopovers;
class GridEditorPresenter;
class GridCommands;
struct GridEditorRequest;
class GridSelectionMemory;
class GridModel;
class UserDefaults;

// The middle pane of the main window: the selected group's contacts with one row per contact and
// value position of the shown multi-valued columns, a footer row, columns per view type, a label
// filter and sorting by any column and sort option.
//
// The rows are rebuilt and re-sorted from the contact table at every reload (updateTable, a sort,
// a find hit), so they always show the model as it is; no row survives a reload, and the selection
// is carried over by contact and value. The view controller pushes the table and the settings in
// and calls updateTable after every change of the address book.
class ContactsViewController : public QObject, public ContactsGridInterface
{
    Q_OBJECT

public:
    explicit ContactsViewController(UserDefaults &defaults, QObject *parent = nullptr);
    ~ContactsViewController() override;

    // The view type and last sort of the defaults; runs when the table is first shown.
    void viewWillAppear();

    // ContactsGridInterface
    QWidget *view() override;
    QWidget *takeView() override { return m_tableView.take(); }
    QAbstractItemView *tableView() override;
    int leadingColumnsWidth() const override;
    void setContactTable(const ContactTablePtr &contactTable) override
    {
        m_state.contactTable = contactTable;
    }
    void updateTable() override;
    void setSelectedViewType(const QString &viewType) override;
    void setSelectedLabels(const QStringList &labels) override;
    void setEditState(bool editState) override;
    void setSelectedFont(const QFont &font) override;
    void setCustomItems(const QVariantList &customItems) override;
    void setDelegate(ContactsViewControllerDelegate *delegate) override;
    void selectRowIndexesWithContacts(const QList<ContactRowPtr> &contacts) override;
    QList<ContactRowPtr> selectedContacts() override;
    QList<SubContactRowPtr> selectedSubContacts() override;
    std::optional<QList<ContactRowPtr>> selectedContactsWithClickedRowIndex(int clickedRow) override;
    QList<SubContactRowPtr> subContactTable() override { return m_state.subContactTable.toList(); }
    // The rows as plain data, without a record made for each.
    const GridRows &gridRows() const { return m_state.subContactTable; }
    Popover *popover() override;
    void setPopover(Popover *popover) override;
    void detachedWindowDidClose(const ClosedWindow &closed) override;
    void showContactInfoPopoverWithOption(bool editName) override;
    void saveColumnWithDictionary() override;
    void sortOptionsChanged(const QVariantMap &sortOptions, const QString &columnName) override;
    void showQRCode() override;
    void toggleShowCompany() override;
    void mergeContacts() override;
    bool canMergeContacts() override;
    void setFindString(const QString &findString) override { m_state.findString = findString; }
    void setFindOptions(Qt::CaseSensitivity findOptions) override { m_state.findOptions = findOptions; }
    void setSelectedItemAndRange(const std::optional<ItemAndRange> &itemAndRange) override
    {
        m_state.selectedItemAndRange = itemAndRange;
    }
    void selectItemAndRange(const std::optional<ItemAndRange> &itemAndRange) override;
    QStringList tableIdentifiers() override;
    bool showCompanyInNameCell() const override { return m_state.showCompanyInNameCell; }
    QList<ContactRowPtr> contactsForIndexes(const QList<int> &rows) override;
    void copy(GridCopyFormat format) override;
    void paste() override;
    ContactsViewControllerDelegate *delegate() const { return m_delegate; }
    void setEditDelegate(GridEditDelegate *edits) override;
    void normalizePhoneNumber(PhoneLayout layout) override;
    bool canNormalizePhoneNumber() override;

    // Columns: "Name" first, then the other identifiers in list order. The rows are rebuilt for
    // them, keeping the selected contacts selected.
    void updateColumnsInTableView(const QStringList &identifiers);
    const QList<GridColumn> &columns() const { return m_state.columns; }
    // Widths by column identifier, kept as the user resizes and saved by saveColumnWithDictionary.
    QVariantMap columnWidthDictionary() const { return m_columnWidthDictionary; }

    // The first descriptor decides the order; setting them re-sorts at once, as a click on a
    // column's header does (which sorts by the column's key, or turns the direction round).
    QList<SortDescriptor> sortDescriptors() const { return m_sortDescriptors; }
    void setSortDescriptors(const QList<SortDescriptor> &descriptors);

    ContactTablePtr contactTable() const { return m_state.contactTable; }
    QStringList selectedLabels() const { return m_state.selectedLabels; }
    QVariantList customItems() const { return m_state.customItems; }
    bool editState() const { return m_state.editState; }
    QFont selectedFont() const { return m_state.selectedFont; }
    QFont selectedBoldfont() const { return m_state.selectedBoldfont; }
    int rowHeight() const { return m_state.rowHeight; }
    QString findString() const { return m_state.findString; }
    Qt::CaseSensitivity findOptions() const { return m_state.findOptions; }
    std::optional<ItemAndRange> selectedItemAndRange() const { return m_state.selectedItemAndRange; }

    QList<DetachedWindowEntryPtr> detachedWindows() const override;
    void setDetachedWindows(const QList<DetachedWindowEntryPtr> &entries);

    // Editing from the grid: the value editors' presenter (and the chosen rows a result goes to),
    // the contact popovers and torn-off windows, double-clicks and in-place commits. Menus and keys
    // open editors through these.
    GridEditorPresenter *editorPresenter() const { return m_editors; }
    GridContactPopovers *contactPopovers() const { return m_contactPopovers; }
    GridCellEditing *cellEditing() const { return m_cellEditing; }

    GridTableView *gridTableView() const { return m_tableView; }
    GridModel *model() const { return m_model; }
    GridCellDelegate *cellDelegate() const { return m_cellDelegate; }
    // The menus, item and contact commands and the keys of the cells' editors.
    GridCommands &commands() const { return *m_commands; }
    UserDefaults &defaults() const { return m_defaults; }
    // The label popup of a labelled value's cell; nullopt for other cells.
    std::optional<LabelPopup> labelPopupAt(const QModelIndex &index) const;

public:
    // Offers a label for the field from now on (a pasted or dropped value's own label); nothing
    // for a null label.
    static void addLabel(const QString &label, const QString &identifier);

    // Rows of a one-line text: line height or 1.42 times the font's size, whichever is larger,
    // plus 9; 20 when both stay below 11. Sizes are in the font's pixels at the given resolution.
    static int rowHeightForFont(const QFont &font, double logicalDpi);

private:
    void showRequestedEditor(const GridEditorRequest &request);
    // The contact, record and value of the selected row, to tell whether a reload moved the
    // selection. A reload of the store gives the same contact a new record, which the detail
    // views must take up: edits of the old one would never be saved.
    struct SelectionKey
    {
        QString uniqueId;
        const QNPerson *person = nullptr;
        int labelIndex = -1;

        bool operator==(const SelectionKey &) const = default;
    };

    void viewDidLoad();
    void connectTable();
    // Rebuilds, re-sorts and shows the rows; the selection is left empty.
    void reloadData();
    // Rebuilds the rows and selects again what the memory finds: the same values, or, when the
    // rows were reshaped (other columns or label filter), the same contacts. Tells the delegate
    // when the selection moved and refreshes the detail views.
    void reloadKeepingSelection(const GridSelectionMemory &memory, const SelectionKey &before, bool reshaped);
    GridSelectionMemory rememberSelection() const;
    GridRows buildRows(const QStringList &identifiers);
    void applyRowHeights();
    void updateFooterSpan();
    void updateSortIndicator();
    // The current row (the one the detail pane shows) is `current` when it is among the rows,
    // else the first.
    void selectRows(const QList<int> &rows, int current = -1);
    // The row among these that shows the key's contact and value; -1 for none.
    int rowOf(const SelectionKey &key, const QList<int> &among) const;
    SelectionKey selectionKey() const;
    void notifyIfSelectionMoved(const SelectionKey &before);
    void refreshDetailViews();
    QString sortIdentifier() const;
    SubContactRowPtr rowAt(int row) const;

    void tableViewSelectionDidChange();
    void tableViewSortDescriptorsDidChange(const QList<SortDescriptor> &oldDescriptors);
    QVariant anchorValue(const SubContactRow &row, const GridSortKey &key, const QString &sortKey) const;
    void headerClicked(int column);
    void tableViewColumnDidResize(int column, int newWidth);
    void tableViewColumnDidMove(int column, int oldVisual, int newVisual);

    UserDefaults &m_defaults;
    GridState m_state;
    // What the rows show of each contact, kept between rebuilds.
    GridDisplayCache m_displayCache;
    OwnedView<GridTableView> m_tableView;
    GridModel *m_model;
    GridCellDelegate *m_cellDelegate;
    GridEditorPresenter *m_editors;
    GridContactPopovers *m_contactPopovers;
    GridCellEditing *m_cellEditing;
    // Destroyed before the table, whose editors and menus it watches.
    std::unique_ptr<GridCommands> m_commands;
    ContactsViewControllerDelegate *m_delegate = nullptr;
    std::unique_ptr<GridClipboard> m_clipboard;
    QList<SortDescriptor> m_sortDescriptors;
    QVariantMap m_columnWidthDictionary;
    // Rows given more than one line's height at the last reload.
    QList<int> m_tallRows;
    // Selection changes while the rows are rebuilt are not the user's.
    bool m_reloading = false;
    // The label filter changed since the last rebuild.
    bool m_rowsReshaped = false;
    bool m_settingUpColumns = false;
};
