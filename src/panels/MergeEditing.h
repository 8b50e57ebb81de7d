#pragma once

#include "panels/MergeRow.h"

#include "model/AddressBookRecords.h"
#include "ui/contracts/ValueEditorFactory.h"

#include <QSize>
#include <QString>

#include <functional>

class MergeRowBuilder;
class QNPerson;

// What a double-click, a menu command or Tab does on a merge table: the rules, apart from the
// widgets, so that they can be read and tested on their own.
namespace MergeEditing {

using EditorKind = ValueEditorFactory::Kind;

struct Action
{
    enum class Kind
    {
        Nothing,
        InlineEdit,
        OpenEditor
    };
    Kind kind = Kind::Nothing;
    EditorKind editor = EditorKind::List;

    static Action inlineEdit() { return {Kind::InlineEdit, EditorKind::List}; }
    static Action open(EditorKind editor) { return {Kind::OpenEditor, editor}; }
    bool operator==(const Action &other) const = default;
};

struct Click
{
    QString type;
    // The person's type of the kind, else its custom item's.
    QString valueType;
    bool valueColumn = false;
    // Ctrl (Command) held.
    bool commandHeld = false;
    bool editing = false;
    // What the value cell shows.
    QString valueText;
};

Action doubleClickAction(const Click &click);
// The editor a row menu's editor command opens for a kind: the date editors for dates, else the
// list editor (of "Address" for an address part).
Action menuEditorAction(const QString &type);
// The list editor's kind for a row's kind: the address parts edit the whole address list.
QString listEditorType(const QString &type);
// The popover's content size of an editor.
QSize contentSize(EditorKind editor, const QString &type);
// The context an editor of that kind gets for the row's kind and label index (-1: a new entry).
EditorContextPtr editorContext(EditorKind editor, const ContactRowPtr &contact, const QString &type,
                               qint64 labelIndex);

// The text the value cell of the row shows, line breaks kept.
QString valueText(const MergeRow &row, QNPerson &person, const MergeRowBuilder &builder);
// Labelled kinds whose entries hold a plain text that an edit in place may replace. Postal
// addresses, accounts and profiles hold dictionaries and are edited in their editors.
bool hasTextEntries(const QString &type, const QString &valueType);

// The row Return or Tab moves an edit in place to: the next row after `row`, wrapping to row 1
// (row 0 is the photo), that takes an edit in place; -1 when none does.
int nextEditableRow(const MergeRowTable &rows, int row, const std::function<bool(int)> &canEdit);

} // namespace MergeEditing
