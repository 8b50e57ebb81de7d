#pragma once

#include "platform/UndoManager.h"

// One undo step around the edits made in a scope: a command that changes several rows, or a whole
// merge, opens one so that a single Undo takes all of it back.
class UndoGroup
{
public:
    explicit UndoGroup(UndoManager &undoManager) : m_undoManager(undoManager)
    {
        m_undoManager.beginUndoGrouping();
    }
    ~UndoGroup() { m_undoManager.endUndoGrouping(); }
    UndoGroup(const UndoGroup &) = delete;
    UndoGroup &operator=(const UndoGroup &) = delete;

private:
    UndoManager &m_undoManager;
};
