#pragma once

#include "ui/contracts/EditorContext.h"

class Popover;
class QFont;
class QWidget;

// Makes the value editors for the panes that present them, which do not know the editors' classes;
// the shell provides it. The presenter shows the editor in its popover, hands it the context after
// showing it, and reads the same context back when the popover has closed.
class ValueEditorFactory
{
public:
    enum class Kind
    {
        // The list of a labelled kind; the font sizes its rows.
        List,
        Address,
        InstantMessage,
        SocialProfile,
        // The list of dated events.
        Dates,
        Birthday
    };

    virtual ~ValueEditorFactory() = default;

    // A new editor, told that it is shown in popover (not owned).
    virtual QWidget *makeEditor(Kind kind, Popover *popover, const QFont &font) = 0;
    virtual void setContextInfo(QWidget *editor, const EditorContextPtr &context, bool editable) = 0;
    // The context of an editor made here; null for any other widget.
    virtual EditorContextPtr contextInfo(QWidget *editor) const = 0;
};
