#pragma once

#include "editors/EditorContext.h"

#include <QPointer>
#include <QWidget>

class Popover;

// Base of the editors that edit one value of one contact inside a popover.
//
// An editor never changes the contact. setContextInfo() is its one entry point: it keeps the
// presenter's context, builds its working copy from it and takes the lock state; Done while
// unlocked writes "value" and "dirty" into the same context and closes the popover, Cancel may
// write "dirty" false, and any other close writes nothing. The presenter reads the context back
// when the popover has closed and applies a dirty value through the undoable edit methods.
class ValueEditor : public QWidget
{
    Q_OBJECT

public:
    explicit ValueEditor(QWidget *parent = nullptr);

    // The presenter calls this after showing the popover, with its own edit state.
    void setContextInfo(const EditorContextPtr &context, bool editable);
    EditorContextPtr contextInfo() const { return m_contextInfo; }

    // The popover that shows the editor; not owned.
    void setPopover(Popover *popover);
    Popover *popover() const;

    // Unlocked: the value controls edit, Done applies.
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);

protected:
    // Editors that honour "editEnabled" stay locked without it.
    virtual bool honoursEditEnabled() const { return false; }
    // Builds the working copy from the context.
    virtual void loadContext() = 0;
    // Lays the controls out for the lock state and shows the working copy.
    virtual void updateUI() = 0;

    // Done while unlocked: the result goes into the context, then the popover closes.
    void commit(const QVariant &value);
    // Cancel; some editors say so in the context.
    void cancel(bool writeDirty);
    void closePopover();

private:
    EditorContextPtr m_contextInfo;
    QPointer<Popover> m_popover;
    bool m_editable = false;
};
