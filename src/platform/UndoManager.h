#pragma once

#include <QObject>

#include <functional>
#include <vector>

// The undo history of one window: steps of inverse actions, undone last-in first-out.
//
// Invariants:
// - A step is a group. Registrations outside any group open an automatic group that closes at the
//   next pass of the event loop (or when undo is asked for), so one user event is one step.
//   An explicit group opened inside the automatic group joins it; one opened while no group is open
//   is a step of its own. Nested groups merge into the outermost one.
// - Undoing a step runs its actions in reverse order of registration; whatever they register forms
//   the one redo step, and whatever a redo registers forms the one undo step. A registration outside
//   undo and redo clears the redo steps. A group that closes empty is dropped.
// - Used on the main thread only. An inverse action holds what it needs (its arguments) alive.
class UndoManager : public QObject
{
    Q_OBJECT

public:
    using Action = std::function<void()>;

    explicit UndoManager(QObject *parent = nullptr);
    ~UndoManager() override;

    void registerUndo(Action inverse);

    void beginUndoGrouping();
    void endUndoGrouping();
    int groupingLevel() const;
    // A caller's group is open (a command over several rows), outside undo and redo.
    bool isInExplicitGroup() const;
    // Closes the automatic group now instead of at the next pass of the event loop.
    void closeAutomaticGroup();

    bool canUndo() const;
    bool canRedo() const;
    bool isUndoing() const;
    bool isRedoing() const;

    void undo();
    void redo();
    void removeAllActions();

signals:
    void didUndo();
    void didRedo();
    // canUndo or canRedo may have changed.
    void changed();
    // The outermost of the callers' groups has ended, outside undo and redo.
    void explicitGroupEnded();

private:
    enum class Mode
    {
        Normal,
        Undoing,
        Redoing
    };
    using Group = std::vector<Action>;

    struct State
    {
        bool canUndo;
        bool canRedo;
    };
    State state() const;
    void emitChangedSince(State before);
    bool closeBeforeReplay(const char *operation);
    void openAutomaticGroup();
    void scheduleAutomaticClose();
    void automaticCloseDue();
    void closeOutermostGroup();
    void replay(std::vector<Group> &from, Mode mode);

    std::vector<Group> m_undoStack;
    std::vector<Group> m_redoStack;
    Group m_open;
    int m_level = 0;
    bool m_automatic = false;
    bool m_closeScheduled = false;
    bool m_closeDue = false;
    Mode m_mode = Mode::Normal;
};
