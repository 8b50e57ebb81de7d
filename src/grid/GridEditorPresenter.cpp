#include "grid/GridEditorPresenter.h"

#include "addressbook/UndoGroup.h"
#include "grid/GridTableView.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "ui/contracts/ContactsViewControllerDelegate.h"

namespace {

const QString Address = QStringLiteral("Address");
const QString SocialNetwork = QStringLiteral("Social Network");
const QString InstantMessage = QStringLiteral("Instant Message");
const QString Dates = QStringLiteral("Dates");

bool isSingleEntryKind(const QString &type)
{
    return type == Address || type == SocialNetwork || type == InstantMessage;
}

} // namespace

GridEditorPresenter::GridEditorPresenter(GridState &state, GridTableView &table, QObject *parent)
    : QObject(parent), m_state(state), m_table(table)
{
}

void GridEditorPresenter::setSelectedRowIndexes(const std::optional<QList<int>> &rows)
{
    m_chosenRows.reset();
    if (rows)
        m_chosenRows = GridTargets(m_state.subContactTable, *rows);
}

void GridEditorPresenter::setPopover(Popover *popover)
{
    m_popover = popover;
}

Popover *GridEditorPresenter::popoverForShowing(Popover::Behavior behavior)
{
    if (m_popover)
        return m_popover;
    m_popover = new Popover(&m_table);
    m_popover->setBehavior(behavior);
    Popover *made = m_popover;
    connect(made, &Popover::closed, this, [this, made] { popoverDidClose(made); });
    return made;
}

// --- opening --------------------------------------------------------------------------------

QSize GridEditorPresenter::contentSize(Editor editor, const QString &type)
{
    switch (editor) {
    case Editor::List:
        if (type == Address)
            return {820, 280};
        if (type == InstantMessage)
            return {460, 260};
        if (type == SocialNetwork)
            return {680, 260};
        return {360, 260};
    case Editor::Address:
        return {340, 460};
    case Editor::SocialProfile:
        return {400, 222};
    case Editor::InstantMessage:
        return {340, 192};
    case Editor::Dates:
        return {340, 392};
    case Editor::Birthday:
        return {340, 284};
    case Editor::PhoneticName:
        return {340, 220};
    case Editor::Name:
        return {340, 316};
    }
    return {};
}

void GridEditorPresenter::showEditor(Editor editor, const SubContactRowPtr &row, const QString &type,
                                     std::optional<int> labelIndex, const QRect &rect)
{
    ValueEditorFactory *factory = m_delegate ? m_delegate->valueEditorFactory() : nullptr;
    if (!factory || !row)
        return;
    auto context = std::make_shared<EditorContext>();
    context->contact = row;
    context->type = type;
    context->labelIndex = labelIndex;
    // The address, social-profile and instant-message editors ignore it.
    context->editEnabled = true;
    Popover *popover = popoverForShowing(Popover::Behavior::Transient);
    QWidget *content = factory->makeEditor(editor, popover, m_state.selectedFont);
    if (!content)
        return;
    // Value editors never tear off, even in a popover that held a contact before.
    popover->setDetachable(false);
    m_targets = m_chosenRows.value_or(GridTargets()).distinctContacts();
    m_chosenRows.reset();
    // The earlier editor goes without a write-back.
    popover->setContentWidget(content);
    popover->setContentSize(contentSize(editor, type));
    popover->showRelativeToRect(rect, m_table.viewport(), Popover::Edge::MaxY);
    // The editor gets its context once it is on screen.
    factory->setContextInfo(content, context, m_state.editState);
}

void GridEditorPresenter::showMultiValuePopover(const SubContactRowPtr &row, const QString &type, int labelIndex,
                                                const QRect &rect)
{
    showEditor(Editor::List, row, type, labelIndex, rect);
}

void GridEditorPresenter::showAddressPopover(const SubContactRowPtr &row, const QString &type, int labelIndex,
                                             const QRect &rect)
{
    showEditor(Editor::Address, row, type, labelIndex, rect);
}

void GridEditorPresenter::showSNSPopover(const SubContactRowPtr &row, const QString &type, int labelIndex,
                                         const QRect &rect)
{
    showEditor(Editor::SocialProfile, row, type, labelIndex, rect);
}

void GridEditorPresenter::showIMSPopover(const SubContactRowPtr &row, const QString &type, int labelIndex,
                                         const QRect &rect)
{
    showEditor(Editor::InstantMessage, row, type, labelIndex, rect);
}

void GridEditorPresenter::showDatePopover(const SubContactRowPtr &row, const QString &type, int labelIndex,
                                          const QRect &rect)
{
    if (type == Dates)
        showEditor(Editor::Dates, row, type, labelIndex, rect);
    else if (type == PersonIdentifier::Birthday)
        showEditor(Editor::Birthday, row, type, std::nullopt, rect);
}

void GridEditorPresenter::showPhoneticNamePopover(const SubContactRowPtr &row, const QString &type,
                                                  const QRect &rect)
{
    showEditor(Editor::PhoneticName, row, type, std::nullopt, rect);
}

void GridEditorPresenter::showNamePopover(const SubContactRowPtr &row, const QString &type, const QRect &rect)
{
    showEditor(Editor::Name, row, type, std::nullopt, rect);
}

// --- write-back -----------------------------------------------------------------------------

void GridEditorPresenter::popoverDidClose(Popover *popover)
{
    ValueEditorFactory *factory = m_delegate ? m_delegate->valueEditorFactory() : nullptr;
    if (factory && popover->contentWidget()) {
        const EditorContextPtr context = factory->contextInfo(popover->contentWidget());
        if (context && context->dirty.value_or(false))
            writeBack(*context);
    }
    // The next opening makes a new popover.
    if (m_popover == popover) {
        m_popover = nullptr;
        m_targets = {};
    }
    popover->deleteLater();
}

void GridEditorPresenter::writeBack(const EditorContext &result)
{
    const GridTargets rows = m_targets.remaining(m_state.contactTable);
    UndoManager *undoManager = m_delegate ? m_delegate->undoManager() : nullptr;
    std::optional<UndoGroup> group;
    if (undoManager)
        group.emplace(*undoManager);
    for (const SubContactRowPtr &row : rows.records())
        writeValue(result, row);
}

// The funnel marks the window edited for every write that reaches a contact.
bool GridEditorPresenter::writeValue(const EditorContext &result, const SubContactRowPtr &row)
{
    ContactInfoPopoverDelegate *edits = m_delegate ? m_delegate->contactEditDelegate() : nullptr;
    if (!edits)
        return false;
    const QString &type = result.type;
    const QVariant &value = result.value;
    QObject *sender = &m_table;
    if (type == PersonIdentifier::Name)
        return edits->undoReplaceNameValue(value.toMap(), row);
    if (type == PersonIdentifier::PhoneticName)
        return edits->undoReplacePhoneticNameValue(value, row);
    if (type == PersonIdentifier::Birthday)
        return edits->undoReplaceBirthday(value, row);
    if (isSingleEntryKind(type) && value.typeId() == QMetaType::QVariantMap &&
        value.toMap().value(PersonKey::LabelIndex, 0).toInt() == -1)
        return edits->undoAddLabeledValue(value.toMap(), type, row, sender);
    return edits->undoReplaceLabeledValue(value, type, row, sender);
}
