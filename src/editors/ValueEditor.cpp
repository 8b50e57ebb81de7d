#include "editors/ValueEditor.h"

#include "platform/widgets/Popover.h"

ValueEditor::ValueEditor(QWidget *parent) : QWidget(parent) {}

void ValueEditor::setContextInfo(const EditorContextPtr &context, bool editable)
{
    m_contextInfo = context ? context : std::make_shared<EditorContext>();
    loadContext();
    const bool allowed = !honoursEditEnabled() || m_contextInfo->editEnabled;
    m_editable = allowed && editable;
    updateUI();
}

void ValueEditor::setPopover(Popover *popover)
{
    m_popover = popover;
}

Popover *ValueEditor::popover() const
{
    return m_popover;
}

void ValueEditor::setEditable(bool editable)
{
    if (editable && honoursEditEnabled() && !(m_contextInfo && m_contextInfo->editEnabled))
        return;
    m_editable = editable;
    updateUI();
}

void ValueEditor::commit(const QVariant &value)
{
    if (m_contextInfo) {
        m_contextInfo->value = value;
        m_contextInfo->dirty = true;
    }
    closePopover();
}

void ValueEditor::cancel(bool writeDirty)
{
    if (writeDirty && m_contextInfo)
        m_contextInfo->dirty = false;
    closePopover();
}

void ValueEditor::closePopover()
{
    if (m_popover)
        m_popover->close();
}
