#pragma once

#include "ui/contracts/EditorContext.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class EditorChrome;
class Popover;
class QLabel;
class QLineEdit;
class QNPerson;
class QPushButton;
class SeparatorBox;

// Base of the editors that edit one value of one contact inside a popover.
//
// An editor never changes the contact. setContextInfo() is its one entry point: it keeps the
// presenter's context, builds its working copy from it and takes the lock state; Done while
// unlocked writes "value" and "dirty" into the same context and closes the popover, Cancel may
// write "dirty" false, and any other close writes nothing. The presenter reads the context back
// when the popover has closed and applies a dirty value through the undoable edit methods.
//
// Editors that call setUpChrome() get the common frame: the contact's thumbnail and name, the
// Edit/Lock button, the separator, Cancel and Done. The base then keeps the lock state: Done is
// disabled while unlocked until the first change (noteChange), and Done while locked only closes.
class ValueEditor : public QWidget
{
    Q_OBJECT

public:
    explicit ValueEditor(QWidget *parent = nullptr);
    ~ValueEditor() override;

    // The presenter calls this after showing the popover, with its own edit state.
    void setContextInfo(const EditorContextPtr &context, bool editable);
    EditorContextPtr contextInfo() const { return m_contextInfo; }

    // The popover that shows the editor; not owned.
    void setPopover(Popover *popover);
    Popover *popover() const;

    // Unlocked: the value controls edit, Done applies.
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);

    // The common frame; null for an editor without it.
    QLabel *imageView() const;
    QLineEdit *contactNameField() const;
    QPushButton *editButton() const;
    SeparatorBox *redSeparator() const;
    QPushButton *cancelButton() const;
    QPushButton *doneButton() const;

protected:
    // Editors that honour "editEnabled" stay locked without it.
    virtual bool honoursEditEnabled() const { return false; }
    // Builds the working copy from the context.
    virtual void loadContext() = 0;
    // Lays the controls out for the lock state and shows the working copy.
    virtual void updateUI() = 0;
    // Done while unlocked: hand the working copy back (commit) or say there is nothing to hand.
    virtual void finishEditing() { closePopover(); }
    // Done's title while unlocked.
    virtual QString unlockedDoneTitle() const;
    // Editors whose Cancel tells the presenter so, with "dirty" false.
    virtual bool cancelWritesDirty() const { return false; }

    // Lays the common frame out around body; once, from the editor's constructor.
    void setUpChrome(QWidget *body);
    // The contact being edited; null when the context has none.
    QNPerson *person() const;
    // The user changed the working copy: Done may now hand it back.
    void noteChange();
    bool hasChanges() const { return m_changed; }
    void setReturnPressesDone(bool presses);

    // Done while unlocked: the result goes into the context, then the popover closes.
    void commit(const QVariant &value);
    // Cancel; some editors say so in the context.
    void cancel(bool writeDirty);
    void closePopover();

    void keyPressEvent(QKeyEvent *event) override;

private:
    void donePressed();
    void showLockState();
    void fitPopover();

    EditorContextPtr m_contextInfo;
    QPointer<Popover> m_popover;
    std::unique_ptr<EditorChrome> m_chrome;
    bool m_editable = false;
    bool m_changed = false;
};
