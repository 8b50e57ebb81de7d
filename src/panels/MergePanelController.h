#pragma once

#include "model/AddressBookRecords.h"
#include "model/WorkspaceURL.h"
#include "panels/MergeDragHandler.h"
#include "panels/MergeEditing.h"
#include "panels/MergeRowBuilder.h"
#include "platform/UndoManager.h"
#include "platform/widgets/Sheet.h"
#include "ui/contracts/MergeContextDict.h"
#include "ui/contracts/ValueEditorFactory.h"
#include "ui/widgets/ImageViewDragAndDropDelegate.h"

#include <QFont>
#include <QPointer>
#include <QVariantList>


class MergeRowMenu;
class Popover;
class MergeTable;
class MergeUndoLayer;
class QLineEdit;
class QPushButton;
class SeparatorBox;

// The merge sheet: two contacts side by side in two aligned tables, so that values can be moved,
// copied and edited between them. Nothing is merged by itself and nothing of the address book
// changes while the sheet is open: it edits private deep copies, with an undo history of its own.
// Done hands both copies back in the context's "newContacts" and ends with 1 when they differ from
// the contacts as the sheet got them; otherwise the sheet ends with 0 and the caller changes
// nothing.
//
// Values are edited in place, in the value editors (made by the factory the shell gives), by the
// row menu, by dropping pictures on the photo wells and by dragging rows from one table onto the
// same kind in the other; every change goes through the sheet's undo layer.
//
// Made fresh for each merge: setCustomItems, setValueEditorFactory, setContextInfo,
// setSelectedFont, then begun as a sheet on the main window.
class MergePanelController : public Sheet, public ImageViewDragAndDropDelegate, public MergeDragHandler
{
    Q_OBJECT

public:
    explicit MergePanelController(QWidget *parent = nullptr);
    ~MergePanelController() override;

    // The window's custom-item definitions, whose items follow the fixed kinds.
    void setCustomItems(const QVariantList &items);
    QVariantList customItems() const { return m_builder.customItems(); }
    // Takes the context (kept, not copied) and shows its first two contacts, as copies, in the
    // given edit state. False, showing nothing, when the context holds fewer than two contacts:
    // the sheet is then not to be begun.
    bool setContextInfo(const MergeContextDictPtr &contextInfo, bool editable);
    // The font of both tables and the row height it gives.
    void setSelectedFont(const QFont &font);
    // Makes the value editors; held as a plain pointer, it outlives the sheet. Without one, the
    // commands that open an editor do nothing.
    void setValueEditorFactory(ValueEditorFactory *factory) { m_editorFactory = factory; }
    // The popover showing an editor; null while none is open. One at a time: an editor opened
    // while another is shown takes its place, and the first writes nothing.
    Popover *popover() const;

    MergeContextDictPtr contextInfo() const { return m_contextInfo; }
    // The working copies: every key of the contact row, a deep copy of its person.
    ContactRowPtr contactLeft() const { return m_contactLeft; }
    ContactRowPtr contactRight() const { return m_contactRight; }
    MergeTable *tableLeft() const { return m_tableLeft; }
    MergeTable *tableRight() const { return m_tableRight; }
    QLineEdit *nameFieldLeft() const { return m_nameFieldLeft; }
    QLineEdit *nameFieldRight() const { return m_nameFieldRight; }
    QPushButton *editButton() const { return m_editButton; }
    QPushButton *doneButton() const { return m_doneButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    SeparatorBox *redSeparator() const { return m_redSeparator; }
    QFont selectedFont() const { return m_selectedFont; }
    double rowHeight() const { return m_rowHeight; }
    QStringList nameOrderingLabels() const { return m_builder.nameOrderingLabels(); }
    const MergeRowBuilder &rowBuilder() const { return m_builder; }

    // The sheet's own undo history; the main window's is never touched.
    UndoManager &undoManager() { return m_undoManager; }
    MergeUndoLayer &undoLayer() { return *m_undoLayer; }

    bool isEditing() const;
    // Whether either copy differs from its contact as the sheet got it.
    bool hasChanges();

    // The row height of a font: its line height plus 9, at least 20.
    static double rowHeightForFont(const QFont &font);

    // The side a table belongs to; null for a table of neither side.
    ContactRowPtr contactOf(const MergeTable *table) const;
    MergeTable *otherTable(const MergeTable *table) const;

    // A double-click on a cell with the modifiers then held: an edit in place or an editor.
    void tableViewDoubleAction(MergeTable *table, int row, int column, Qt::KeyboardModifiers modifiers);
    // The row menu's editor commands: the date editors for dates, else the kind's list editor, at
    // the clicked cell.
    void showPopoverWrapper(MergeTable *table);
    // Applies the result an editor left in its context when its popover closed.
    void popoverDidClose(const EditorContextPtr &context);
    // A label chosen in a labelled row's popup.
    void labelPopupCellChanged(MergeTable *table, int row, const QString &label);

    // The photo commands of a side's photo row, while editing: a picture file fitted into 512 by
    // 512, and removing the photo.
    void addImage(MergeTable *table);
    void deleteImage(MergeTable *table);
    // ImageViewDragAndDropDelegate: a picture dropped on a side's photo well becomes its photo,
    // fitted; the other side's photo dragged from its well arrives as it is held.
    void imageDidChange(ImageViewDragAndDrop *imageView) override;
    // Deletes the entry or the birthday of the table's clicked row, without asking.
    void deleteItem(MergeTable *table);
    // Adds an entry of the clicked row's kind: a phone, e-mail, URL or relation with a default
    // value at once, an address, account or profile through its editor.
    void insertItem(MergeTable *table);
    // Opens the clicked row's value in another application.
    void doWorkspaceAction(MergeTable *table, WorkspaceURL::MapService map);

    // MergeDragHandler
    QMimeData *dragData(QTableView *table, int row) override;
    MergeDragAndDrop::Operation validateDrop(QTableView *table, const QMimeData *data, int row,
                                             MergeDragAndDrop::DropPosition position, bool copy) override;
    bool acceptDrop(QTableView *table, const QMimeData *data, int row,
                    MergeDragAndDrop::DropPosition position, bool copy) override;
    // The row the last drag started from.
    const std::optional<MergeRow> &draggingSource() const { return m_draggingSource; }

public slots:
    // The Edit/Lock toggle: locking is refused while the copies hold changes.
    void editButtonPressed();
    // Commits an edit in place, then ends with the copies when they hold changes.
    void doneButtonPressed();
    void cancelButtonPressed();
    // Rebuilds both tables from the copies, keeping their selection.
    void reloadTables();

private:
    void buildLayout();
    void connectTables();
    void applyEditState(bool editing);
    void updateDoneButton();
    void copyChanged();
    void entryDeleted();
    bool showEditor(ValueEditorFactory::Kind editor, MergeTable *table, const MergeRow &row, const QRect &rect);
    Popover *makePopover();
    void applyTextEdit(MergeTable *table, int row, const QString &text);
    bool applyEntryTextEdit(const ContactRowPtr &contact, const MergeRow &row, const QString &text);
    void advanceTextEdit(MergeTable *table, int row);
    void writePhoto(MergeTable *table, const QVariant &photo);
    MergeTable *tableOfView(const QObject *view) const;
    QByteArray dragOrigin(const MergeTable *table) const;
    // The table whose rows and well name themselves so in their drags.
    MergeTable *tableOfOrigin(const QByteArray &origin) const;
    MergeDragAndDrop::Drop dropOnto(MergeTable *table, const QMimeData *data, int row,
                                    MergeDragAndDrop::DropPosition position, bool copy) const;
    void applyNameDisplay(MergeTable *table, bool showAsPerson);
    void commitTextEdits();
    void finish(int returnCode);

    static ContactRowPtr workingCopy(const ContactRowPtr &contact);

    UndoManager m_undoManager;
    MergeUndoLayer *m_undoLayer;
    MergeRowBuilder m_builder;
    MergeTable *m_tableLeft = nullptr;
    MergeTable *m_tableRight = nullptr;
    QLineEdit *m_nameFieldLeft = nullptr;
    QLineEdit *m_nameFieldRight = nullptr;
    SeparatorBox *m_redSeparator = nullptr;
    QPushButton *m_editButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_doneButton = nullptr;

    MergeContextDictPtr m_contextInfo;
    ContactRowPtr m_contactLeft;
    ContactRowPtr m_contactRight;
    // Copies of the contacts as the sheet got them, which the working copies are compared with.
    ContactRowPtr m_originalLeft;
    ContactRowPtr m_originalRight;
    QFont m_selectedFont;
    double m_rowHeight = 20.0;
    ValueEditorFactory *m_editorFactory = nullptr;
    QPointer<Popover> m_popover;
    // The context of the editor the popover shows.
    EditorContextPtr m_editorContext;
    MergeRowMenu *m_rowMenu;
    std::optional<MergeRow> m_draggingSource;
    // Names this sheet in its row drags, so that no other sheet or program takes them for its own.
    const QByteArray m_dragToken;
};
