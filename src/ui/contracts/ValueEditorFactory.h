#pragma once

#include "model/AddressBookRecords.h"

#include <QString>
#include <QVariant>

#include <optional>

class Popover;
class QFont;
class QWidget;

// Makes the value editors for a presenter outside the editors' folder (the grid, the detail
// table, the merge sheet), which knows them only as widgets: it hands each a fresh context of what
// to edit and reads the result back once the popover has closed.
class ValueEditorFactory
{
public:
    enum class Editor
    {
        List,
        Address,
        SocialProfile,
        InstantMessage,
        Dates,
        Birthday,
        PhoneticName,
        Name
    };

    // What to edit: the contact, the field, the entry (-1 for a new one; none for the name,
    // phonetic name and birthday) and whether the editors that ask may be unlocked.
    struct Request
    {
        ContactRowPtr contact;
        QString type;
        std::optional<int> labelIndex;
        bool editEnabled = false;
    };

    // An editor's answer after Done while unlocked.
    struct Result
    {
        QString type;
        // One entry, a whole list, a name or a birthday.
        QVariant value;
    };

    virtual ~ValueEditorFactory() = default;

    // A new editor of that kind whose buttons close popover; the list editor's table takes font.
    virtual QWidget *makeEditor(Editor editor, Popover *popover, const QFont &font) const = 0;
    // The request, once the editor is on screen; editable is the initial lock state. Every
    // opening gets a context of its own.
    virtual void setContextInfo(QWidget *editor, const Request &request, bool editable) const = 0;
    // The edited value when the editor was closed with a change to apply ("dirty"); nothing after
    // Cancel or any other close, and for a widget that is no value editor (a contact popover).
    virtual std::optional<Result> dirtyResult(QWidget *editor) const = 0;
};
