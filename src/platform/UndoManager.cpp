#include "platform/UndoManager.h"

#include "platform/Log.h"

UndoManager::UndoManager(QObject *parent) : QObject(parent) {}

UndoManager::~UndoManager() = default;

void UndoManager::registerUndo(Action inverse)
{
    if (!inverse) {
        Log::write("UndoManager: ERROR registerUndo without an action");
        return;
    }
    const State before = state();
    if (m_level == 0)
        openAutomaticGroup();
    if (m_mode == Mode::Normal)
        m_redoStack.clear();
    m_open.push_back(std::move(inverse));
    emitChangedSince(before);
}

void UndoManager::beginUndoGrouping()
{
    if (m_level == 0)
        m_automatic = false;
    ++m_level;
}

void UndoManager::endUndoGrouping()
{
    // The outermost group of an undo or redo and the automatic group are not closed by callers.
    if (m_level == 0 || (m_level == 1 && (m_automatic || m_mode != Mode::Normal))) {
        Log::write("UndoManager: ERROR endUndoGrouping without beginUndoGrouping");
        return;
    }
    --m_level;
    const State before = state();
    const bool explicitGroupDone = m_mode == Mode::Normal && !isInExplicitGroup();
    if (m_level == 0 || (m_level == 1 && m_automatic && m_closeDue))
        closeOutermostGroup();
    emitChangedSince(before);
    if (explicitGroupDone)
        emit explicitGroupEnded();
}

int UndoManager::groupingLevel() const
{
    return m_level;
}

bool UndoManager::isInExplicitGroup() const
{
    return m_mode == Mode::Normal && m_level > (m_automatic ? 1 : 0);
}

void UndoManager::closeAutomaticGroup()
{
    if (!m_automatic)
        return;
    if (m_level > 1) {
        Log::write("UndoManager: ERROR closeAutomaticGroup inside an open group");
        return;
    }
    closeOutermostGroup();
}

bool UndoManager::canUndo() const
{
    // While redoing, the open group is the undo step being made.
    return !m_undoStack.empty() || (m_mode != Mode::Undoing && !m_open.empty());
}

bool UndoManager::canRedo() const
{
    return !m_redoStack.empty();
}

bool UndoManager::isUndoing() const
{
    return m_mode == Mode::Undoing;
}

bool UndoManager::isRedoing() const
{
    return m_mode == Mode::Redoing;
}

void UndoManager::undo()
{
    const State before = state();
    if (!closeBeforeReplay("undo") || m_undoStack.empty()) {
        emitChangedSince(before);
        return;
    }
    replay(m_undoStack, Mode::Undoing);
    emit didUndo();
    emitChangedSince(before);
}

void UndoManager::redo()
{
    const State before = state();
    if (!closeBeforeReplay("redo") || m_redoStack.empty()) {
        emitChangedSince(before);
        return;
    }
    replay(m_redoStack, Mode::Redoing);
    emit didRedo();
    emitChangedSince(before);
}

void UndoManager::removeAllActions()
{
    const State before = state();
    m_undoStack.clear();
    m_redoStack.clear();
    // Groups still open stay open so that their begin and end still pair, but lose their actions.
    m_open.clear();
    emitChangedSince(before);
}

UndoManager::State UndoManager::state() const
{
    return {canUndo(), canRedo()};
}

void UndoManager::emitChangedSince(State before)
{
    // An undo or redo reports once, when it is done.
    if (m_mode != Mode::Normal)
        return;
    const State now = state();
    if (now.canUndo != before.canUndo || now.canRedo != before.canRedo)
        emit changed();
}

bool UndoManager::closeBeforeReplay(const char *operation)
{
    if (m_mode != Mode::Normal) {
        Log::write("UndoManager: ERROR %s called while undoing or redoing", {QString::fromLatin1(operation)});
        return false;
    }
    if (m_level > 1) {
        Log::write("UndoManager: ERROR %s called with nested groups open", {QString::fromLatin1(operation)});
        return false;
    }
    if (m_level == 1)
        closeOutermostGroup();
    return true;
}

void UndoManager::openAutomaticGroup()
{
    m_level = 1;
    m_automatic = true;
    scheduleAutomaticClose();
}

void UndoManager::scheduleAutomaticClose()
{
    if (m_closeScheduled)
        return;
    m_closeScheduled = true;
    // A queued call runs at the next pass of whichever event loop is running, also a nested one.
    QMetaObject::invokeMethod(this, &UndoManager::automaticCloseDue, Qt::QueuedConnection);
}

void UndoManager::automaticCloseDue()
{
    m_closeScheduled = false;
    if (!m_automatic)
        return;
    if (m_level == 1)
        closeOutermostGroup();
    else
        m_closeDue = true; // an explicit group inside it is still open; its end closes both
}

void UndoManager::closeOutermostGroup()
{
    Group group = std::move(m_open);
    m_open.clear();
    m_level = 0;
    m_automatic = false;
    m_closeDue = false;
    if (group.empty())
        return;
    (m_mode == Mode::Undoing ? m_redoStack : m_undoStack).push_back(std::move(group));
}

void UndoManager::replay(std::vector<Group> &from, Mode mode)
{
    Group group = std::move(from.back());
    from.pop_back();
    m_mode = mode;
    m_level = 1;
    m_automatic = false;
    for (auto action = group.rbegin(); action != group.rend(); ++action)
        (*action)();
    if (m_level != 1)
        Log::write("UndoManager: ERROR an undo action left %d groups open", {QString::number(m_level - 1)});
    closeOutermostGroup();
    m_mode = Mode::Normal;
}
