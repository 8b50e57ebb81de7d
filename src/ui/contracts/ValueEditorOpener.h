#pragma once

#include "ui/contracts/EditorContext.h"

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <functional>

// The value editors a pane presents without knowing them. The shell hands the pane an opener,
// which makes the editor of a kind, shows it in a transient popover under a rectangle of the
// pane's view and gives it the context; the pane applies the context's result itself when the
// opener reports the popover closed.
enum class ValueEditorKind
{
    // The list editor of a whole labelled list.
    List,
    Address,
    InstantMessage,
    SocialProfile,
    // The dated-values editor.
    Dates,
    // One date: the birthday.
    Date
};

struct ValueEditorRequest
{
    ValueEditorKind kind = ValueEditorKind::List;
    // Kept by the editor, which writes its result into it.
    EditorContextPtr context;
    // The presenter's edit state: the editor starts unlocked only with it.
    bool editable = false;
    QSize contentSize;
    // The presenter's table font, for the list editor's rows.
    QFont font;
    // The rectangle, in anchor's coordinates, the popover is shown under.
    QPointer<QWidget> anchor;
    QRect rect;
};

class ValueEditorOpener
{
public:
    virtual ~ValueEditorOpener() = default;

    // Shows the editor, closing one this opener still shows (which reports its own closing
    // first). `closed` runs once, after the popover closed, with the editor's result in the
    // request's context. False when the request names no editor or no anchor: nothing opens.
    virtual bool showEditor(const ValueEditorRequest &request, std::function<void()> closed) = 0;
};
