#include "editors/ValueEditor.h"

#include "editors/EditorChrome.h"
#include "platform/Localizer.h"
#include "platform/widgets/Popover.h"
#include "ui/widgets/ValueFields.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

ValueEditor::ValueEditor(QWidget *parent) : QWidget(parent) {}

ValueEditor::~ValueEditor() = default;

void ValueEditor::setUpChrome(QWidget *body)
{
    m_chrome = std::make_unique<EditorChrome>(this, body);
    connect(m_chrome->editButton(), &QPushButton::toggled, this, &ValueEditor::setEditable);
    connect(m_chrome->doneButton(), &QPushButton::clicked, this, &ValueEditor::donePressed);
    connect(m_chrome->cancelButton(), &QPushButton::clicked, this, [this] { cancel(cancelWritesDirty()); });
    showLockState();
}

void ValueEditor::setContextInfo(const EditorContextPtr &context, bool editable)
{
    m_contextInfo = context ? context : std::make_shared<EditorContext>();
    m_changed = false;
    if (m_chrome)
        m_chrome->showContact(person());
    // Every editor's fields, before they are filled: one of them may hold a long value.
    for (QLineEdit *field : findChildren<QLineEdit *>())
        ValueFields::takeWholeValues(field);
    loadContext();
    const bool allowed = !honoursEditEnabled() || m_contextInfo->editEnabled;
    m_editable = allowed && editable;
    showLockState();
    updateUI();
    fitPopover();
}

// Presenters give each kind of editor a fixed size, but a font or a language can make the
// controls need more (the calendar's seven day columns above all): the popover grows to the
// editor's minimum rather than cutting a control off.
void ValueEditor::fitPopover()
{
    if (!m_popover)
        return;
    const QSize given = m_popover->contentSize();
    const QSize needed = given.expandedTo(minimumSizeHint());
    if (needed != given)
        m_popover->setContentSize(needed);
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
        editable = false;
    m_editable = editable;
    showLockState();
    updateUI();
}

void ValueEditor::showLockState()
{
    if (!m_chrome)
        return;
    const bool canUnlock = !honoursEditEnabled() || (m_contextInfo && m_contextInfo->editEnabled);
    m_chrome->showLockState(m_editable, canUnlock, m_changed, unlockedDoneTitle());
}

QString ValueEditor::unlockedDoneTitle() const
{
    return L(QStringLiteral("Change"));
}

QNPerson *ValueEditor::person() const
{
    if (!m_contextInfo || !m_contextInfo->contact)
        return nullptr;
    return m_contextInfo->contact->person.get();
}

void ValueEditor::noteChange()
{
    if (!m_editable)
        return;
    m_changed = true;
    if (m_chrome)
        m_chrome->doneButton()->setEnabled(true);
}

void ValueEditor::setReturnPressesDone(bool presses)
{
    if (m_chrome)
        m_chrome->setReturnPressesDone(presses);
}

void ValueEditor::donePressed()
{
    // A locked editor hands nothing back, whatever was changed while it was unlocked.
    if (!m_editable) {
        closePopover();
        return;
    }
    finishEditing();
}

void ValueEditor::keyPressEvent(QKeyEvent *event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && m_chrome && m_chrome->returnPressesDone() && m_chrome->doneButton()->isEnabled()) {
        m_chrome->doneButton()->click();
        return;
    }
    QWidget::keyPressEvent(event);
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

QLabel *ValueEditor::imageView() const
{
    return m_chrome ? m_chrome->imageView() : nullptr;
}

QLineEdit *ValueEditor::contactNameField() const
{
    return m_chrome ? m_chrome->contactNameField() : nullptr;
}

QPushButton *ValueEditor::editButton() const
{
    return m_chrome ? m_chrome->editButton() : nullptr;
}

SeparatorBox *ValueEditor::redSeparator() const
{
    return m_chrome ? m_chrome->redSeparator() : nullptr;
}

QPushButton *ValueEditor::cancelButton() const
{
    return m_chrome ? m_chrome->cancelButton() : nullptr;
}

QPushButton *ValueEditor::doneButton() const
{
    return m_chrome ? m_chrome->doneButton() : nullptr;
}
