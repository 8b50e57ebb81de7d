#include "grid/GridCellEditing.h"

#include "addressbook/UndoGroup.h"
#include "grid/GridContactPopovers.h"
#include "grid/GridEditorPresenter.h"
#include "grid/GridField.h"
#include "grid/GridModel.h"
#include "grid/GridTableView.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/widgets/Alert.h"
#include "ui/contracts/ContactsGridInterface.h"
#include "ui/contracts/ContactsViewControllerDelegate.h"
#include "ui/widgets/LabelPopup.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSet>

#include <algorithm>

namespace {

const QString Address = QStringLiteral("Address");
const QString SocialNetwork = QStringLiteral("Social Network");
const QString InstantMessage = QStringLiteral("Instant Message");
const QString Dates = QStringLiteral("Dates");

// Fields whose values change only through their editors.
const QStringList EditedInEditorsOnly{PersonIdentifier::Name, PersonIdentifier::PhoneticName, Address,
                                      InstantMessage,         PersonIdentifier::Birthday,     Dates};

GridCellEditing::ModifierQuery s_modifierQuery;

// The entry's own number, 0 without an entry.
int entryNumber(const std::optional<QVariantMap> &entry)
{
    return entry ? entry->value(PersonKey::LabelIndex).toInt() : 0;
}

} // namespace

void GridCellEditing::setModifierQuery(ModifierQuery query)
{
    s_modifierQuery = std::move(query);
}

bool GridCellEditing::isCommandHeld()
{
    const Qt::KeyboardModifiers modifiers =
        s_modifierQuery ? s_modifierQuery() : QGuiApplication::queryKeyboardModifiers();
    return modifiers & (Qt::ControlModifier | Qt::MetaModifier);
}

GridCellEditing::GridCellEditing(GridState &state, GridTableView &table, ContactsGridInterface &grid,
                                 GridEditorPresenter &editors, GridContactPopovers &contactPopovers,
                                 QObject *parent)
    : QObject(parent), m_state(state), m_table(table), m_grid(grid), m_editors(editors),
      m_contactPopovers(contactPopovers)
{
}

SubContactRowPtr GridCellEditing::rowAt(int row) const
{
    return row >= 0 && row < m_state.subContactTable.size() ? m_state.subContactTable.at(row) : nullptr;
}

QList<SubContactRowPtr> GridCellEditing::chosenTargets(int row) const
{
    return m_editors.chosenRows().value_or(GridTargets(m_state.subContactTable, {row})).records();
}

QString GridCellEditing::identifierAt(int column) const
{
    return column >= 0 && column < m_state.columns.size() ? m_state.columns.at(column).identifier : QString();
}

QString GridCellEditing::kindOf(const QString &identifier, QNPerson &person) const
{
    return GridField::valueType(identifier, person, m_state.customItems);
}

QRect GridCellEditing::cellFrame(int column, int row) const
{
    return m_table.model() ? m_table.visualRect(m_table.model()->index(row, column)) : QRect();
}

// --- double-click ---------------------------------------------------------------------------

void GridCellEditing::tableViewDoubleAction()
{
    doubleActionAt(m_table.clickedColumn(), m_table.clickedRow());
}

void GridCellEditing::doubleActionAt(int column, int row)
{
    if (!rowAt(row) || identifierAt(column).isEmpty())
        return;
    if (!m_state.editState) {
        lockedDoubleAction(column, row);
        return;
    }
    const QList<int> chosen = chosenRows(row);
    if (chosen.size() < 2 || identifierAt(column) == PersonIdentifier::Name) {
        m_editors.setSelectedRowIndexes(QList<int>{row});
        editTableViewCellOrShowPopoverForColumn(column, row);
        return;
    }
    const GridTargets targets(m_state.subContactTable, chosen);
    const SubContactRowPtr clicked = rowAt(row);
    Alert alert;
    alert.setMessageText(L(QStringLiteral("Do you want to set the same value in the selected rows")));
    alert.setInformativeText(L(QStringLiteral("This operation can be undone.")));
    alert.addButton(L(QStringLiteral("OK")));
    alert.addButton(L(QStringLiteral("Cancel")), Alert::ButtonRole::Cancel);
    QPointer<GridCellEditing> self(this);
    alert.beginSheetModalForWindow(m_table.window(), [self, column, clicked, targets](int response) {
        if (self && response == Alert::FirstButton)
            self->editForTargets(column, *clicked, targets);
    });
}

void GridCellEditing::editForTargets(int column, const SubContactRow &clicked, const GridTargets &targets)
{
    // The grid may have been rebuilt while the question waited: the clicked value is found again,
    // and nothing is edited when it is gone.
    const int row = GridTargets::rowOf(m_state.subContactTable, clicked);
    if (row < 0)
        return;
    m_editors.setChosenRows(targets.remaining(m_state.contactTable));
    editTableViewCellOrShowPopoverForColumn(column, row);
}

// The table's selected rows and the clicked one, top to bottom.
QList<int> GridCellEditing::chosenRows(int row) const
{
    QList<int> rows = m_table.selectedRowIndexes();
    if (!rows.contains(row))
        rows.append(row);
    std::sort(rows.begin(), rows.end());
    return rows;
}

void GridCellEditing::lockedDoubleAction(int column, int row)
{
    m_editors.setSelectedRowIndexes(QList<int>{row});
    const SubContactRowPtr subContact = rowAt(row);
    const QString identifier = identifierAt(column);
    const QRect rect = cellFrame(column, row);
    const bool command = isCommandHeld();
    if (identifier == PersonIdentifier::Name) {
        m_contactPopovers.showContactInfoPopover(subContact, rect);
        return;
    }
    const auto *model = qobject_cast<const GridModel *>(m_table.model());
    const bool empty = !model || model->cell(model->index(row, column)).text.isEmpty();
    if (!empty &&
        showLockedEditor(subContact, identifier, kindOf(identifier, *subContact->person), rect, command))
        return;
    if (command)
        editTableViewCellOrShowPopoverForColumn(column, row);
}

// True when the field is one that the locked grid answers itself, editor or not.
bool GridCellEditing::showLockedEditor(const SubContactRowPtr &row, const QString &identifier,
                                       const QString &kind, const QRect &rect, bool command)
{
    QNPerson &person = *row->person;
    const int index = entryNumber(person.labeledValueForIdentifierAtIndex(identifier, row->labelIndex));
    if (identifier == Address)
        command ? m_editors.showMultiValuePopover(row, identifier, index, rect)
                : m_editors.showAddressPopover(row, identifier, index, rect);
    else if (identifier == InstantMessage)
        command ? m_editors.showMultiValuePopover(row, identifier, index, rect)
                : m_editors.showIMSPopover(row, identifier, index, rect);
    else if (identifier == SocialNetwork)
        command ? m_editors.showMultiValuePopover(row, identifier, index, rect)
                : m_editors.showSNSPopover(row, identifier, index, rect);
    else if (identifier == PersonIdentifier::PhoneticName)
        m_editors.showPhoneticNamePopover(row, identifier, rect);
    else if (identifier == Dates)
        m_editors.showDatePopover(row, identifier, index, rect);
    else if (identifier == PersonIdentifier::Birthday)
        m_editors.showDatePopover(row, identifier, index, rect);
    else if (kind == PersonValueType::Labeled) {
        if (command)
            m_editors.showMultiValuePopover(row, identifier, index, rect);
    } else if (kind != PersonValueType::String) {
        // The address parts: only Command opens anything.
        return false;
    }
    return true;
}

void GridCellEditing::editTableViewCellOrShowPopoverForColumn(int column, int row)
{
    const SubContactRowPtr subContact = rowAt(row);
    const QString identifier = identifierAt(column);
    if (!subContact || identifier.isEmpty() || !subContact->person)
        return;
    QNPerson &person = *subContact->person;
    const QRect rect = cellFrame(column, row);
    const bool command = isCommandHeld();
    const QString kind = kindOf(identifier, person);
    const auto editInPlace = [&] { beginEdit({row, column, subContact, chosenTargets(row), std::nullopt}); };
    if (identifier == PersonIdentifier::Name) {
        m_contactPopovers.showContactInfoPopover(subContact, rect);
        return;
    }
    // Locked, only Command opens anything.
    if (!m_state.editState && !command && kind != PersonValueType::String)
        return;
    if (GridField::isAddressPart(identifier)) {
        const auto address = person.labeledValueForIdentifierAtIndex(Address, subContact->labelIndex);
        if (command)
            m_editors.showMultiValuePopover(subContact, Address, entryNumber(address), rect);
        else if (!address)
            m_editors.showMultiValuePopover(subContact, Address, subContact->labelIndex, rect);
        else
            editInPlace();
        return;
    }
    const auto entry = person.labeledValueForIdentifierAtIndex(identifier, subContact->labelIndex);
    const int index = entryNumber(entry);
    if (identifier == Address || identifier == SocialNetwork || identifier == InstantMessage) {
        if (command || !entry)
            m_editors.showMultiValuePopover(subContact, identifier, index, rect);
        else if (identifier == Address)
            m_editors.showAddressPopover(subContact, identifier, index, rect);
        else if (identifier == SocialNetwork)
            m_editors.showSNSPopover(subContact, identifier, index, rect);
        else
            m_editors.showIMSPopover(subContact, identifier, index, rect);
    } else if (identifier == Dates || identifier == PersonIdentifier::Birthday) {
        m_editors.showDatePopover(subContact, identifier, index, rect);
    } else if (identifier == PersonIdentifier::PhoneticName) {
        m_editors.showPhoneticNamePopover(subContact, identifier, rect);
    } else if (kind == PersonValueType::Labeled) {
        if (command || !entry)
            m_editors.showMultiValuePopover(subContact, identifier, command ? index : 0, rect);
        else
            editInPlace();
    } else if (kind == PersonValueType::String) {
        // A string belongs to the contact's first row; a locked grid never edits it.
        if (m_state.editState && subContact->labelIndex == 0)
            editInPlace();
    }
}

bool GridCellEditing::startInPlaceEditing(int column, int row, const QList<int> &targetRows,
                                          std::optional<Step> step)
{
    return beginEdit({row, column, rowAt(row), GridTargets(m_state.subContactTable, targetRows).records(),
                      std::move(step)});
}

bool GridCellEditing::beginEdit(InPlaceEdit edit)
{
    const QModelIndex index = m_table.model() ? m_table.model()->index(edit.row, edit.column) : QModelIndex();
    if (!edit.edited || !(index.flags() & Qt::ItemIsEditable))
        return false;
    // The selection stays: a value chosen for several rows is edited with all of them selected.
    m_table.selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    m_table.scrollTo(index);
    m_table.edit(index);
    if (!editorOf(edit))
        return false;
    m_edit = std::move(edit);
    return true;
}

QLineEdit *GridCellEditing::editorOf(const InPlaceEdit &edit) const
{
    const QAbstractItemModel *model = m_table.model();
    return model ? qobject_cast<QLineEdit *>(m_table.indexWidget(model->index(edit.row, edit.column)))
                 : nullptr;
}

std::optional<GridCellEditing::InPlaceEdit> GridCellEditing::openEdit() const
{
    if (!m_edit || !editorOf(*m_edit))
        return std::nullopt;
    return m_edit;
}

void GridCellEditing::resumeEdit(InPlaceEdit edit, const std::optional<QString> &typed,
                                 const SubContactRow &committed)
{
    // The reload closed its editor.
    m_edit.reset();
    const bool stepped = edit.step && edit.step->from && edit.step->from->uniqueId == committed.uniqueId &&
                         edit.step->from->labelIndex == committed.labelIndex;
    const GridRows &rows = m_state.subContactTable;
    if (const int from = stepped ? GridTargets::rowOf(rows, committed) : -1; from >= 0) {
        const SubContactRowPtr &below = edit.step->below;
        emit stepRetaken(edit.step->key, from, edit.step->column,
                         below ? GridTargets::rowOf(rows, *below) : -1);
    } else if (const int row = GridTargets::rowOf(rows, *edit.edited); row >= 0) {
        edit.row = row;
        edit.edited = rowAt(row);
        beginEdit(edit);
    }
    if (const std::optional<InPlaceEdit> resumed = openEdit(); resumed && typed)
        editorOf(*resumed)->setText(*typed);
}

// --- commits --------------------------------------------------------------------------------

GridCellEditing::InPlaceEdit GridCellEditing::takeEdit(int row, int column)
{
    InPlaceEdit edit;
    if (m_edit && m_edit->row == row && m_edit->column == column) {
        edit = std::move(*m_edit);
        m_edit.reset();
    } else {
        edit = {row, column, rowAt(row), chosenTargets(row), std::nullopt};
    }
    // Every commit ends the chosen rows of its edit, whether or not anything changes.
    m_editors.setSelectedRowIndexes(std::nullopt);
    return edit;
}

void GridCellEditing::textFieldCellChanged(int row, int column, const QString &text)
{
    commitEdit(takeEdit(row, column), text);
}

void GridCellEditing::inPlaceEditEnded(int row, int column, const QString &text)
{
    const InPlaceEdit edit = takeEdit(row, column);
    QMetaObject::invokeMethod(
        this, [this, edit, text] { commitEdit(edit, text); }, Qt::QueuedConnection);
}

void GridCellEditing::commitEdit(const InPlaceEdit &edit, const QString &text)
{
    const QString identifier = identifierAt(edit.column);
    if (identifier.isEmpty() || !edit.edited || !edit.edited->person ||
        EditedInEditorsOnly.contains(identifier))
        return;
    if (edit.targets.size() == 1 && storedText(identifier, *edit.edited) == text)
        return;
    // The reload closes an editor opened since (Return or Tab moved on); its edit goes on.
    const std::optional<InPlaceEdit> continuing = openEdit();
    std::optional<QString> typed;
    if (continuing && editorOf(*continuing)->isModified())
        typed = editorOf(*continuing)->text();
    if (!commitText(edit.targets, identifier, text))
        return;
    m_grid.updateTable();
    if (continuing)
        resumeEdit(*continuing, typed, *edit.edited);
}

// The value an in-place edit of the row starts from.
QString GridCellEditing::storedText(const QString &identifier, const SubContactRow &row) const
{
    QNPerson &person = *row.person;
    const QString kind = kindOf(identifier, person);
    if (GridField::isAddressPart(identifier) || kind == PersonValueType::String)
        return GridField::editableText(identifier, person, row.labelIndex, m_state.customItems);
    if (kind == PersonValueType::Labeled) {
        const auto entry = person.labeledValueForIdentifierAtIndex(identifier, row.labelIndex);
        return entry ? entry->value(PersonKey::StringValue).toString() : QString();
    }
    return QString();
}

bool GridCellEditing::commitText(const QList<SubContactRowPtr> &rows, const QString &identifier,
                                 const QString &text)
{
    ContactInfoPopoverDelegate *edits = m_delegate ? m_delegate->contactEditDelegate() : nullptr;
    if (!edits)
        return false;
    UndoManager *undoManager = m_delegate->undoManager();
    std::optional<UndoGroup> group;
    if (undoManager)
        group.emplace(*undoManager);
    bool changed = false;
    // A contact shown in two chosen rows of one string field is written once.
    QSet<const QNPerson *> written;
    for (const SubContactRowPtr &row : rows) {
        QNPerson &person = *row->person;
        const bool addressPart = GridField::isAddressPart(identifier);
        const QString listIdentifier = addressPart ? Address : identifier;
        const QString kind = kindOf(identifier, person);
        if (addressPart || kind == PersonValueType::Labeled) {
            auto entry = person.labeledValueForIdentifierAtIndex(listIdentifier, row->labelIndex);
            const QString key = addressPart ? identifier : PersonKey::Value;
            if (!entry || entry->value(key).toString() == text)
                continue;
            entry->insert(key, text);
            changed |= edits->undoReplaceLabeledValue(*entry, listIdentifier, row, &m_table);
        } else if (!written.contains(&person) && person.stringValueForIdentifier(identifier) != text) {
            written.insert(&person);
            changed |= edits->undoReplaceValue(text, identifier, row, &m_table);
        }
    }
    return changed;
}

void GridCellEditing::showLabelPopup(int row, int column, const QRect &rect)
{
    const SubContactRowPtr subContact = rowAt(row);
    const QString identifier = identifierAt(column);
    if (!subContact || !subContact->person)
        return;
    const QString kind = GridField::isAddressPart(identifier) ? Address : identifier;
    const auto entry = subContact->person->labeledValueForIdentifierAtIndex(kind, subContact->labelIndex);
    if (!entry)
        return;
    const LabelPopup popup(kind, entry->value(PersonKey::Label).toString(), m_state.editState);
    auto *menu = new QMenu(&m_table);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setFont(m_state.selectedFont);
    const QList<LabelPopup::Item> &items = popup.items();
    for (int item = 0; item < items.size(); ++item) {
        QAction *action = menu->addAction(items.at(item).title);
        action->setCheckable(true);
        action->setChecked(item == popup.selectedIndex());
        connect(action, &QAction::triggered, this,
                [this, row, column, item] { popupLabelCellChanged(row, column, item); });
    }
    menu->popup(m_table.viewport()->mapToGlobal(rect.bottomLeft()));
}

void GridCellEditing::popupLabelCellChanged(int row, int column, int itemIndex)
{
    const SubContactRowPtr edited = rowAt(row);
    const QString identifier = identifierAt(column);
    if (!edited || !edited->person || identifier.isEmpty())
        return;
    const QString kind = GridField::isAddressPart(identifier) ? Address : identifier;
    const auto entry = edited->person->labeledValueForIdentifierAtIndex(kind, edited->labelIndex);
    if (!entry)
        return;
    // A locked grid's popup holds the value's own label only, which is no choice at all.
    const std::optional<QString> label =
        LabelPopup(kind, entry->value(PersonKey::Label).toString(), m_state.editState)
            .labelForItem(itemIndex);
    if (!label || entry->value(PersonKey::Label).toString() == *label)
        return;
    const QList<int> chosen = chosenRows(row);
    if (chosen.size() == 1) {
        writeLabel(edited, kind, *label);
        return;
    }
    const GridTargets targets(m_state.subContactTable, chosen);
    Alert alert;
    alert.setMessageText(L(QStringLiteral("Do you want to set the same label in the selected rows")));
    alert.setInformativeText(L(QStringLiteral("This operation can be undone.")));
    alert.addButton(L(QStringLiteral("OK")));
    alert.addButton(L(QStringLiteral("Cancel")), Alert::ButtonRole::Cancel);
    QPointer<GridCellEditing> self(this);
    alert.beginSheetModalForWindow(m_table.window(), [self, targets, kind, label](int response) {
        if (!self)
            return;
        if (response == Alert::FirstButton && self->m_delegate) {
            UndoManager *undoManager = self->m_delegate->undoManager();
            std::optional<UndoGroup> group;
            if (undoManager)
                group.emplace(*undoManager);
            const GridTargets remaining = targets.remaining(self->m_state.contactTable);
            for (const SubContactRowPtr &subContact : remaining.records())
                self->writeLabel(subContact, kind, *label);
        }
        // Cancel: the popups show the stored labels again.
        self->m_grid.updateTable();
    });
}

// The row's entry of the kind at its position takes the label; a row without one is left alone.
bool GridCellEditing::writeLabel(const SubContactRowPtr &row, const QString &kind, const QString &label)
{
    ContactInfoPopoverDelegate *edits = m_delegate ? m_delegate->contactEditDelegate() : nullptr;
    if (!edits || !row->person)
        return false;
    auto entry = row->person->labeledValueForIdentifierAtIndex(kind, row->labelIndex);
    if (!entry || entry->value(PersonKey::Label).toString() == label)
        return false;
    entry->insert(PersonKey::Label, label);
    return edits->undoReplaceLabeledValue(*entry, kind, row, &m_table);
}
