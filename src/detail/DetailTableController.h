#pragma once

#include "ui/contracts/DetailRow.h"
#include "detail/DetailRowBuilder.h"
#include "ui/widgets/ImageViewDragAndDropDelegate.h"
#include "ui/contracts/ItemAndRange.h"
#include "model/AddressBookRecords.h"
#include "ui/widgets/OwnedView.h"

#include <QFont>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <QVariantList>

#include <optional>

class DetailCellFactory;
class DetailEditorPresenter;
class DetailItemCommands;
class DetailTableEditing;
class DetailTableHost;
class DetailTableModel;
class QMenu;
class QModelIndex;

class UserDefaults;

// The contact detail table: one contact as a two-column table with one row per name part, value
// and field, in the saved field order, with icons, label popups, multi-line rows, find marks and
// the photo well with its commands. The main window's detail pane and the detail popover each
// host one and give it their settings; edits go to the host's edit delegate.
//
// The rows are rebuilt from the contact at every reload, so an edit, undo or redo shows at the
// next updateTable without any bookkeeping.
class DetailTableController : public QObject, public ImageViewDragAndDropDelegate
{
    Q_OBJECT

public:
    static constexpr int MinimumIconRowCount = 1;
    static constexpr int MaximumIconRowCount = 20;

    DetailTableController(DetailTableHost &host, UserDefaults &defaults, QObject *parent = nullptr);

    QTableView *tableView() const { return m_tableView; }
    // The table view handed over to the caller, who places it in a layout.
    QTableView *takeTableView() { return m_tableView.take(); }

    // The shown row (a ContactRow or a grid row); null until one is set.
    ContactRowPtr contact() const { return m_contact; }
    // Shows the row at once (updateTable); a null row is ignored. A host without an edit delegate
    // only previews: there another row starts at its top with no row selected.
    void setContact(const ContactRowPtr &contact);
    // Shows no contact and no find hit.
    void clearContact();
    // Whether the shown contact is one of these.
    bool showsAnyOf(const QSet<QString> &uniqueIds) const;
    // Whether the shown contact is that one, through whichever row of it: the grid makes its rows
    // anew.
    bool showsContact(const ContactRowPtr &contact) const;
    // For a contact that left the shown table: nothing more reaches its record (an open in-place
    // edit is given up, an open value editor closes unwritten) and no contact is shown.
    void dropContact();
    const DetailRowTable &table() const { return m_table; }
    const std::optional<QStringList> &rowOrderTable() const { return m_builder.rowOrderTable(); }
    DetailRowBuilder &rowBuilder() { return m_builder; }

    // The setters below store; nothing is redrawn before the next reload.
    QStringList selectedLabels() const { return m_selectedLabels; }
    void setSelectedLabels(const QStringList &labels) { m_selectedLabels = labels; }
    bool editState() const { return m_editState; }
    void setEditState(bool editState) { m_editState = editState; }
    QVariantList customItems() const { return m_builder.customItems(); }
    void setCustomItems(const QVariantList &customItems) { m_builder.setCustomItems(customItems); }
    QString findString() const { return m_findString; }
    void setFindString(const QString &findString) { m_findString = findString; }
    Qt::CaseSensitivity findOptions() const { return m_findOptions; }
    void setFindOptions(Qt::CaseSensitivity findOptions) { m_findOptions = findOptions; }
    std::optional<ItemAndRange> findTarget() const { return m_findTarget; }
    QStringList nameOrderingLabels() const { return m_builder.nameOrderingLabels(); }
    int iconRowCount() const { return m_iconRowCount; }
    void setIconRowCount(int count);
    // The first row of a drag from this table, -1 for none.
    int draggingSourceIndex() const { return m_draggingSourceIndex; }
    void setDraggingSourceIndex(int index) { m_draggingSourceIndex = index; }

    QFont selectedFont() const { return m_selectedFont; }
    // Takes the font and the row height it gives; with a contact shown, reloads keeping the
    // selection.
    void setSelectedFont(const QFont &font);
    double rowHeight() const { return m_rowHeight; }

    // Reloads the shown contact keeping the selected rows (row 0 when none is left) and scrolls
    // to them; nothing without a contact.
    void updateTable();
    // Rebuilds the rows, their heights and cells; the selection is lost.
    void reloadData();
    void reloadDataKeepingSelection();
    // Redraws the "Groups" row alone with the names the delegate gives now; the selection, an
    // open edit and the other cells stay.
    void groupsDidChange();

    DetailRowTable tableFromContact(const ContactRowPtr &contact, const QStringList &selectedLabels);
    // The row's height; records its line count in the row.
    double heightOfRow(int row);
    // Only the value column of rows edited in place (not the kinds that have editors).
    bool shouldEditTableColumn(int column, int row) const;
    // The value type of a row's field, custom items by their definition.
    QString valueTypeForRow(const DetailRow &row) const;
    // The widget shown in that cell.
    QWidget *cellView(int row, int column) const;

    QList<int> selectedRows() const;
    // Selects the row alone and scrolls it into view; nothing for a row the table does not have.
    void selectRow(int row);
    // Selects the first row of that field and edits its text in place.
    void editForIdentifier(const QString &identifier);

    // The value editors, the editing in the table and the row menu's commands.
    DetailEditorPresenter &editorPresenter() const { return *m_presenter; }
    DetailTableEditing &editing() const { return *m_editing; }
    DetailItemCommands &itemCommands() const { return *m_commands; }
    QMenu *menu() const { return m_menu; }
    // Shows a find hit: switches to its contact, selects its row (row 0 when it has none) and marks
    // it; nullopt clears the mark. Nothing without a contact.
    void selectItemAndRange(const std::optional<ItemAndRange> &hit);

    // ImageViewDragAndDropDelegate: a picture dropped on the photo well becomes the photo.
    void imageDidChange(ImageViewDragAndDrop *imageView) override;
    // The picture fitted into 512 by 512 on the pool; the picture itself when it fits already or
    // the fitting came too late.
    QImage smallerImage(const QImage &image);

public slots:
    // Chooses a picture file in a sheet and makes it the photo; a file that is no picture leaves
    // the photo as it was.
    void addImage();
    void deleteImage();
    void iconSizeBigger();
    void iconSizeSmaller();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpTableView();
    void showFromTop();
    void applyRowHeights();
    void applyCells();
    DetailCellFactory cellFactory();
    QStringList groupNames() const;
    void fitTypeColumn();
    void selectRows(const QList<int> &rows);
    void scrollToFirstSelected();
    int firstRowOfType(const QString &type) const;
    void writePhoto(const std::optional<QImage> &photo);
    void reportSelection();
    void showContextMenu(const QPoint &position);
    void menuNeedsUpdate(QMenu *menu, const QModelIndex &clicked);
    void doubleClicked(const QModelIndex &index);

    DetailTableHost &m_host;
    DetailRowBuilder m_builder;
    OwnedView<QTableView> m_tableView;
    DetailTableModel *m_model;
    QMenu *m_menu;
    DetailEditorPresenter *m_presenter;
    DetailTableEditing *m_editing;
    DetailItemCommands *m_commands;

    ContactRowPtr m_contact;
    DetailRowTable m_table;
    QStringList m_selectedLabels;
    QFont m_selectedFont;
    double m_rowHeight = 20.0;
    bool m_editState = true;
    QString m_findString;
    Qt::CaseSensitivity m_findOptions = Qt::CaseInsensitive;
    std::optional<ItemAndRange> m_findTarget;
    int m_iconRowCount = 3;
    int m_draggingSourceIndex = -1;
    bool m_reloading = false;
};
