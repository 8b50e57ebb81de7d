#include "detail/DetailTableEditing.h"

#include "detail/DetailCellFactory.h"
#include "detail/DetailEditorPresenter.h"
#include "detail/DetailInPlaceEditor.h"
#include "detail/DetailTableController.h"
#include "detail/DetailTableHost.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "ui/contracts/DetailEditDelegate.h"
#include "ui/widgets/DetailPopupAndTextCell.h"
#include "ui/widgets/DetailTextCell.h"

#include <QComboBox>
#include <QScrollBar>
#include <QTableView>

#include <utility>

namespace {

using Action = DetailTableEditing::Action;

const QString Address = QStringLiteral("Address");
const QString InstantMessage = QStringLiteral("Instant Message");
const QString SocialNetwork = QStringLiteral("Social Network");
const QString Dates = QStringLiteral("Dates");

// Rows that Return and Tab pass over: edited in editors, or not at all.
const QStringList NeverEditedInPlace{PersonIdentifier::Photo,    PersonIdentifier::NameOrdering,
                                     PersonIdentifier::NameDisplay, PersonIdentifier::Groups,
                                     Address,                    InstantMessage,
                                     Dates,                      PersonIdentifier::Birthday};
// Kinds whose row without a label is the placeholder of an empty list (or an unlabelled entry),
// which Return and Tab pass over too.
const QStringList PassedOverWithoutLabel{QStringLiteral("Email"), QStringLiteral("Phone"), QStringLiteral("URL"),
                                         SocialNetwork, QStringLiteral("Relationship")};

// Entries and name parts by their own number, other rows by their label (none on a string field).
bool sameField(const DetailRow &left, const DetailRow &right)
{
    if (left.type != right.type)
        return false;
    if (left.labelIndex || right.labelIndex)
        return left.labelIndex == right.labelIndex;
    return left.label == right.label;
}

bool isDate(const QString &type)
{
    return type == Dates || type == PersonIdentifier::Birthday;
}

// The single-value editor of a kind that has one, when the cell shows a value.
std::optional<Action> valueEditorFor(const QString &type)
{
    if (type == Address)
        return Action::AddressEditor;
    if (type == InstantMessage)
        return Action::InstantMessageEditor;
    if (type == SocialNetwork)
        return Action::SocialProfileEditor;
    return std::nullopt;
}

Action lockedAction(const DetailTableEditing::Click &click)
{
    if (click.labelColumn || click.cellTextEmpty)
        return Action::Nothing;
    if (isDate(click.type))
        return Action::DateEditor;
    return valueEditorFor(click.type).value_or(Action::Nothing);
}

Action valueColumnAction(const DetailTableEditing::Click &click)
{
    const QString &type = click.type;
    if (type == PersonIdentifier::Photo || type == PersonIdentifier::NameOrdering ||
        type == PersonIdentifier::NameDisplay)
        return Action::Nothing;
    if (const std::optional<Action> editor = valueEditorFor(type))
        return click.cellTextEmpty ? Action::ListEditor : *editor;
    if (isDate(type))
        return Action::DateEditor;
    if (type == PersonIdentifier::Name || type == PersonIdentifier::PhoneticName)
        return Action::EditInPlace;
    if (click.valueType == PersonValueType::Labeled)
        return click.cellTextEmpty ? Action::ListEditor : Action::EditInPlace;
    if (click.valueType == PersonValueType::String)
        return Action::EditInPlace;
    // "Groups" and rows of no known kind: an edit there would have nowhere to go.
    return Action::Nothing;
}

} // namespace

DetailTableEditing::Action DetailTableEditing::actionForClick(const Click &click)
{
    if (click.command) {
        if (isDate(click.type))
            return Action::DateEditor;
        if (click.valueType == PersonValueType::Labeled)
            return Action::ListEditor;
    }
    if (!click.editState)
        return lockedAction(click);
    if (click.labelColumn) {
        if (isDate(click.type))
            return Action::DateEditor;
        return click.valueType == PersonValueType::Labeled ? Action::ListEditor : Action::Nothing;
    }
    return valueColumnAction(click);
}

DetailTableEditing::DetailTableEditing(DetailTableController &table, DetailTableHost &host,
                                       DetailEditorPresenter &presenter, QObject *parent)
    : QObject(parent), m_table(table), m_host(host), m_presenter(presenter)
{
    connect(m_table.tableView()->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &DetailTableEditing::placeEditor);
}

// --- double-click ---------------------------------------------------------------------------

void DetailTableEditing::tableViewDoubleAction(int row, int column, Qt::KeyboardModifiers modifiers)
{
    if (row < 0 || column < 0 || row >= m_table.table().size() || !m_host.editDelegate() || !m_table.contact())
        return;
    const DetailRow &detailRow = *m_table.table().at(row);
    Click click;
    click.type = detailRow.type;
    click.valueType = m_table.valueTypeForRow(detailRow);
    click.labelColumn = column == DetailCellFactory::TypeColumn;
    click.editState = m_table.editState();
    click.command = modifiers & (Qt::ControlModifier | Qt::MetaModifier);
    click.cellTextEmpty = cellText(row).isEmpty();

    const int labelIndex = detailRow.labelIndex.value_or(0);
    QTableView *view = m_table.tableView();
    const QRect rect = view->visualRect(view->model()->index(row, column));
    switch (actionForClick(click)) {
    case Action::Nothing:
        break;
    case Action::ListEditor:
        m_presenter.showMultiValuePopover(detailRow.type, labelIndex, rect);
        break;
    case Action::AddressEditor:
        m_presenter.showAddressPopover(detailRow.type, labelIndex, rect);
        break;
    case Action::InstantMessageEditor:
        m_presenter.showIMSPopover(detailRow.type, labelIndex, rect);
        break;
    case Action::SocialProfileEditor:
        m_presenter.showSNSPopover(detailRow.type, labelIndex, rect);
        break;
    case Action::DateEditor:
        m_presenter.showDatePopover(detailRow.type, labelIndex, rect);
        break;
    case Action::EditInPlace:
        editRowInPlace(row);
        break;
    }
}

QString DetailTableEditing::cellText(int row) const
{
    DetailTextCell *textCell = textCellOfRow(row);
    return textCell ? textCell->text() : QString();
}

// --- in-place editing -----------------------------------------------------------------------

DetailInPlaceEditor *DetailTableEditing::inPlaceEditor() const
{
    return m_editor;
}

DetailTextCell *DetailTableEditing::textCellOfRow(int row) const
{
    if (row < 0 || row >= m_table.table().size())
        return nullptr;
    QWidget *cell = m_table.cellView(row, DetailCellFactory::ValueColumn);
    if (auto *labeled = qobject_cast<DetailPopupAndTextCell *>(cell))
        return labeled->textCell();
    return qobject_cast<DetailTextCell *>(cell);
}

QRect DetailTableEditing::textRectOfRow(int row) const
{
    QTableView *view = m_table.tableView();
    const QRect cellRect = view->visualRect(view->model()->index(row, DetailCellFactory::ValueColumn));
    DetailTextCell *textCell = textCellOfRow(row);
    if (!textCell || textCell->size().isEmpty())
        return cellRect;
    // Beside a label popup only the text is edited.
    return QRect(textCell->mapTo(view->viewport(), QPoint(0, 0)), textCell->size());
}

bool DetailTableEditing::editRowInPlace(int row)
{
    if (!textCellOfRow(row))
        return false;
    endInPlaceEdit();
    // Ending the previous edit may have rebuilt the cells.
    DetailTextCell *textCell = textCellOfRow(row);
    if (!textCell)
        return false;
    textCell->setEditable(true);
    m_table.selectRow(row);
    m_editedField = fieldOfRow(row);

    auto *editor = new DetailInPlaceEditor(m_table.tableView()->viewport());
    editor->setFont(m_table.selectedFont());
    connect(editor, &DetailInPlaceEditor::moveRequested, this, &DetailTableEditing::moveEditToNextRow);
    connect(editor, &DetailInPlaceEditor::finished, this, [this, editor] {
        if (m_editor == editor)
            finishEdit(true);
    });
    connect(editor, &DetailInPlaceEditor::cancelled, this, [this, editor] {
        if (m_editor == editor)
            finishEdit(false);
    });
    m_editor = editor;
    m_editedRow = row;
    m_startText = textCell->text();
    placeEditor();
    editor->start(m_startText);
    return true;
}

void DetailTableEditing::placeEditor()
{
    if (!m_editor)
        return;
    if (!textCellOfRow(m_editedRow)) {
        // The row went away under the edit; what was typed has no entry to go to.
        finishEdit(false);
        return;
    }
    m_editor->setGeometry(textRectOfRow(m_editedRow));
}

void DetailTableEditing::endInPlaceEdit()
{
    finishEdit(true);
}

void DetailTableEditing::cancelInPlaceEdit()
{
    finishEdit(false);
}

void DetailTableEditing::finishEdit(bool write)
{
    if (!m_editor)
        return;
    DetailInPlaceEditor *editor = m_editor;
    const int row = m_editedRow;
    const QString text = editor->text();
    const std::optional<Field> field = std::exchange(m_editedField, std::nullopt);
    // Cleared first: the write reloads the table, which must not find the edit still open.
    m_editor = nullptr;
    m_editedRow = -1;
    // An edit ended by a key hands the keys back to the table (undo among them); one ended by a
    // click elsewhere leaves the focus there.
    if (editor->hasFocus())
        m_table.tableView()->setFocus(Qt::OtherFocusReason);
    editor->hide();
    editor->deleteLater();
    if (!write || text == m_startText || !field)
        return;
    // Only into the field the edit began on.
    if (rowOfField(*field) == row)
        textFieldCellChanged(row, text);
}

void DetailTableEditing::tableDidReload()
{
    for (int row = 0; row < m_table.table().size(); ++row)
        connectPopups(row);
    followEditedField();
}

void DetailTableEditing::followEditedField()
{
    if (!m_editor || !m_editedField)
        return;
    const std::optional<int> row = rowOfField(*m_editedField);
    if (!row) {
        // The row went away under the edit; what was typed has no entry to go to.
        finishEdit(false);
        return;
    }
    m_editedRow = *row;
    placeEditor();
}

std::optional<DetailTableEditing::Field> DetailTableEditing::fieldOfRow(int row) const
{
    if (row < 0 || row >= m_table.table().size() || !m_table.contact())
        return std::nullopt;
    return Field{m_table.contact(), *m_table.table().at(row)};
}

std::optional<int> DetailTableEditing::rowOfField(const Field &field) const
{
    if (!m_table.showsContact(field.contact))
        return std::nullopt;
    const DetailRowTable &rows = m_table.table();
    for (int row = 0; row < rows.size(); ++row) {
        if (sameField(*rows.at(row), field.row))
            return row;
    }
    return std::nullopt;
}

// --- commits --------------------------------------------------------------------------------

void DetailTableEditing::textFieldCellChanged(int row, const QString &text)
{
    if (row < 0 || row >= m_table.table().size() || !m_table.contact())
        return;
    // The row is copied: the write rebuilds the table's rows.
    const DetailRow detailRow = *m_table.table().at(row);
    if (writeText(detailRow, text))
        m_host.sendContactDidUpdate();
}

bool DetailTableEditing::writeText(const DetailRow &row, const QString &text)
{
    DetailEditDelegate *delegate = m_host.editDelegate();
    const ContactRowPtr contact = m_table.contact();
    QNPerson *person = contact->person.get();
    if (!delegate || !person)
        return false;
    const QString part = row.label.value_or(QString());
    if (row.type == PersonIdentifier::Name) {
        QVariantMap name = person->nameValue();
        name.insert(part, text);
        return delegate->undoReplaceNameValue(name, contact);
    }
    if (row.type == PersonIdentifier::PhoneticName) {
        QVariantMap phonetic = person->phoneticNameValue().value_or(QVariantMap());
        phonetic.insert(part, text);
        return delegate->undoReplacePhoneticNameValue(phonetic, contact);
    }
    const QString valueType = m_table.valueTypeForRow(row);
    if (valueType == PersonValueType::Labeled) {
        // No entry (the contact changed under the edit, or an empty custom list): nothing to change.
        std::optional<QVariantMap> entry =
            person->labeledValueForIdentifierAtLabelIndex(row.type, row.labelIndex.value_or(0));
        if (!entry || entry->value(PersonKey::Value).toString() == text)
            return false;
        entry->insert(PersonKey::Value, text);
        return delegate->undoReplaceLabeledValue(*entry, row.type, contact, m_host.editSender());
    }
    if (valueType == PersonValueType::String) {
        if (person->stringValueForIdentifier(row.type) == text)
            return false;
        return delegate->undoReplaceValue(text, row.type, contact, m_host.editSender());
    }
    return false;
}

void DetailTableEditing::labelChosen(int row, const QString &label)
{
    if (row < 0 || row >= m_table.table().size() || !m_table.contact() || !m_host.editDelegate())
        return;
    m_table.selectRow(row);
    const DetailRow detailRow = *m_table.table().at(row);
    const ContactRowPtr contact = m_table.contact();
    std::optional<QVariantMap> entry =
        contact->person->labeledValueForIdentifierAtLabelIndex(detailRow.type, detailRow.labelIndex.value_or(0));
    if (!entry || entry->value(PersonKey::Label).toString() == label)
        return;
    entry->insert(PersonKey::Label, label);
    if (m_host.editDelegate()->undoReplaceLabeledValue(*entry, detailRow.type, contact, m_host.editSender()))
        m_host.sendContactDidUpdate();
}

void DetailTableEditing::nameDisplayChosen(int row, bool showAsPerson)
{
    if (row < 0 || row >= m_table.table().size() || !m_table.contact() || !m_host.editDelegate())
        return;
    m_table.selectRow(row);
    const ContactRowPtr contact = m_table.contact();
    QVariantMap name = contact->person->nameValue();
    name.insert(PersonKey::ShowAsPerson, showAsPerson);
    if (m_host.editDelegate()->undoReplaceNameValue(name, contact))
        m_host.sendContactDidUpdate();
}

void DetailTableEditing::connectPopups(int row)
{
    QWidget *cell = m_table.cellView(row, DetailCellFactory::ValueColumn);
    if (auto *labeled = qobject_cast<DetailPopupAndTextCell *>(cell)) {
        connect(labeled, &DetailPopupAndTextCell::labelChosen, this,
                [this, row](const QString &label) { labelChosen(row, label); });
        return;
    }
    auto *popup = qobject_cast<QComboBox *>(cell);
    if (popup && m_table.table().at(row)->type == PersonIdentifier::NameDisplay) {
        // The items are person, then company; told apart by place, not by translated title.
        connect(popup, &QComboBox::activated, this, [this, row](int index) { nameDisplayChosen(row, index == 0); });
    }
}

// --- Return and Tab -------------------------------------------------------------------------

std::optional<int> DetailTableEditing::nextEditableRow(int fromRow) const
{
    const DetailRowTable &rows = m_table.table();
    const int count = int(rows.size());
    // One full pass at most: the edited row itself comes last.
    for (int step = 1; step <= count; ++step) {
        const DetailRow &row = *rows.at((fromRow + step) % count);
        if (NeverEditedInPlace.contains(row.type))
            continue;
        if (PassedOverWithoutLabel.contains(row.type) && row.label.value_or(QString()).isEmpty())
            continue;
        return (fromRow + step) % count;
    }
    return std::nullopt;
}

void DetailTableEditing::moveEditToNextRow()
{
    if (!m_editor || m_editedRow < 0)
        return;
    const std::optional<int> target = nextEditableRow(m_editedRow);
    // Nothing else takes an edit: the edit stays where it is.
    if (!target)
        return;
    const std::optional<Field> next = fieldOfRow(*target);
    endInPlaceEdit();
    // The write rebuilt the rows, and may have left another contact shown (a re-sort moves the
    // grid's selection): the walk goes on in the edited contact only, else it ends here.
    if (const std::optional<int> row = next ? rowOfField(*next) : std::nullopt)
        editRowInPlace(*row);
}
