#pragma once

#include "model/AddressBookRecords.h"
#include "ui/contracts/DetailRow.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <optional>

class DetailEditorPresenter;
class DetailInPlaceEditor;
class DetailTableController;
class DetailTableHost;
class DetailTextCell;

// Editing in the contact detail table, for every host alike: a double-click edits a row's text in
// place or opens the value editor of its kind; a finished text, a chosen label and a person/company
// choice become one undoable edit through the host's edit delegate; Return and Tab carry the
// in-place edit on to the next row that can take it.
//
// Entries are found by their own "labelIndex", never by their position, so an edit still reaches
// its entry after earlier ones were deleted.
class DetailTableEditing : public QObject
{
    Q_OBJECT

public:
    // What a double-click does.
    enum class Action
    {
        Nothing,
        ListEditor,
        AddressEditor,
        InstantMessageEditor,
        SocialProfileEditor,
        DateEditor,
        EditInPlace
    };

    // What the double-click decision needs of the clicked cell.
    struct Click
    {
        QString type;
        QString valueType;
        bool labelColumn = false;
        bool editState = true;
        // Ctrl here, as Command is elsewhere.
        bool command = false;
        bool cellTextEmpty = true;
    };
    static Action actionForClick(const Click &click);

    DetailTableEditing(DetailTableController &table, DetailTableHost &host, DetailEditorPresenter &presenter,
                       QObject *parent = nullptr);

    // The double action of the table: decides by the clicked cell and acts.
    void tableViewDoubleAction(int row, int column, Qt::KeyboardModifiers modifiers);

    // Starts editing the row's value text in place, all of it selected; false for a row whose value
    // cell has no text to edit.
    bool editRowInPlace(int row);
    DetailInPlaceEditor *inPlaceEditor() const;
    int editedRow() const { return m_editedRow; }
    // Ends the in-place edit, writing its text; nothing when none is open.
    void endInPlaceEdit();
    // Ends the in-place edit without writing.
    void cancelInPlaceEdit();

    // The commits of a cell: a finished text, a label chosen in a label popup (the label as stored),
    // a person (true) or company choice of the name display popup.
    void textFieldCellChanged(int row, const QString &text);
    void labelChosen(int row, const QString &label);
    void nameDisplayChosen(int row, bool showAsPerson);

    // Return or Tab in the in-place edit: the next row that takes an edit in place, wrapping to the
    // top; nullopt after a full pass without one.
    std::optional<int> nextEditableRow(int fromRow) const;
    void moveEditToNextRow();

    // After the table rebuilt its cells: the popups are connected again and an open in-place edit
    // follows its field to the row that shows it now.
    void tableDidReload();

private:
    // A field of one contact, found again in rows rebuilt since: the contact by identity, the row
    // by its field and its entry or name part, never by its position.
    struct Field
    {
        ContactRowPtr contact;
        DetailRow row;
    };
    std::optional<Field> fieldOfRow(int row) const;
    // The row that shows the field now; nullopt while another contact is shown or the row is gone.
    std::optional<int> rowOfField(const Field &field) const;
    void followEditedField();
    QString cellText(int row) const;
    DetailTextCell *textCellOfRow(int row) const;
    QRect textRectOfRow(int row) const;
    void placeEditor();
    void finishEdit(bool write);
    bool writeText(const DetailRow &row, const QString &text);
    void connectPopups(int row);

    DetailTableController &m_table;
    DetailTableHost &m_host;
    DetailEditorPresenter &m_presenter;
    QPointer<DetailInPlaceEditor> m_editor;
    int m_editedRow = -1;
    std::optional<Field> m_editedField;
    QString m_startText;
};
