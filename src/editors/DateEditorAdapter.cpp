#include "editors/DateEditorAdapter.h"

#include "editors/DateViewController.h"

DateEditorAdapter::DateEditorAdapter() : m_editor(new DateViewController) {}

// The popover owns the editor once it shows it; one never shown goes with the adapter.
DateEditorAdapter::~DateEditorAdapter()
{
    if (m_editor && !m_editor->parent())
        delete m_editor;
}

QWidget *DateEditorAdapter::view()
{
    return m_editor;
}

DateViewController *DateEditorAdapter::editor() const
{
    return m_editor;
}

void DateEditorAdapter::setPopover(Popover *popover)
{
    if (m_editor)
        m_editor->setPopover(popover);
}

void DateEditorAdapter::setLabels(const QStringList &labels)
{
    if (m_editor)
        m_editor->setLabels(labels);
}

void DateEditorAdapter::setContextInfo(const ContactRowPtr &contact, const QString &type, const QVariant &entry,
                                       bool editable)
{
    m_context = std::make_shared<EditorContext>();
    m_context->contact = contact;
    m_context->type = type;
    m_context->editEnabled = true;
    m_context->value = entry;
    if (m_editor)
        m_editor->setContextInfo(m_context, editable);
}

std::optional<QVariant> DateEditorAdapter::dirtyValue() const
{
    if (!m_context || !m_context->dirty.value_or(false))
        return std::nullopt;
    return m_context->value;
}
