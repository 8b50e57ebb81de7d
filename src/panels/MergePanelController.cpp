#include "panels/MergePanelController.h"

#include "panels/MergeCellFactory.h"
#include "panels/MergeTable.h"
#include "panels/MergeUndoLayer.h"

#include "addressbook/PersonDifference.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "ui/widgets/SeparatorBox.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

#include <cmath>

namespace {

constexpr double MinimumRowHeight = 20.0;
constexpr double RowPadding = 9.0;
constexpr double EditingBorderWidth = 2.0;

QLineEdit *makeNameField(QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setPlaceholderText(L(QStringLiteral("Name")));
    QFont bold = field->font();
    bold.setBold(true);
    field->setFont(bold);
    return field;
}

} // namespace

MergePanelController::MergePanelController(QWidget *parent)
    : Sheet(parent), m_undoLayer(new MergeUndoLayer(m_undoManager, this)),
      m_selectedFont(QApplication::font())
{
    m_rowHeight = rowHeightForFont(m_selectedFont);
    buildLayout();
    connectTables();
    connect(m_undoLayer, &MergeUndoLayer::contactChanged, this, &MergePanelController::copyChanged);
    connect(m_undoLayer, &MergeUndoLayer::entryDeleted, this, &MergePanelController::entryDeleted);

    // The sheet's own history answers the undo keys while it is open.
    auto *undo = new QAction(this);
    undo->setShortcuts(QKeySequence::Undo);
    connect(undo, &QAction::triggered, this, [this] { m_undoManager.undo(); });
    auto *redo = new QAction(this);
    redo->setShortcuts(QKeySequence::Redo);
    connect(redo, &QAction::triggered, this, [this] { m_undoManager.redo(); });
    addActions({undo, redo});
}

MergePanelController::~MergePanelController()
{
    // The inverses hold the copies and call the layer; neither may outlive the other.
    m_undoManager.removeAllActions();
}

void MergePanelController::buildLayout()
{
    resize(900, 640);
    m_nameFieldLeft = makeNameField(this);
    m_nameFieldRight = makeNameField(this);
    m_tableLeft = new MergeTable(this, this);
    m_tableRight = new MergeTable(this, this);
    m_redSeparator = new SeparatorBox(this);
    m_redSeparator->setFixedHeight(4);
    m_editButton = new QPushButton(L(QStringLiteral("Edit")), this);
    m_editButton->setCheckable(true);
    m_cancelButton = new QPushButton(L(QStringLiteral("Cancel")), this);
    m_doneButton = new QPushButton(L(QStringLiteral("Done")), this);
    // Return ends an edit in place; it must not end the sheet as well.
    for (QPushButton *button : {m_editButton, m_cancelButton, m_doneButton})
        button->setAutoDefault(false);

    auto *names = new QHBoxLayout;
    names->addWidget(m_nameFieldLeft);
    names->addWidget(m_nameFieldRight);
    auto *tables = new QHBoxLayout;
    tables->addWidget(m_tableLeft->tableView());
    tables->addWidget(m_tableRight->tableView());
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_editButton);
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_doneButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(names);
    layout->addLayout(tables, 1);
    layout->addWidget(m_redSeparator);
    layout->addLayout(buttons);

    connect(m_editButton, &QPushButton::clicked, this, &MergePanelController::editButtonPressed);
    connect(m_doneButton, &QPushButton::clicked, this, &MergePanelController::doneButtonPressed);
    connect(m_cancelButton, &QPushButton::clicked, this, &MergePanelController::cancelButtonPressed);
}

// Only the vertical position is shared; each table keeps its own horizontal one.
void MergePanelController::connectTables()
{
    for (MergeTable *table : {m_tableLeft, m_tableRight}) {
        MergeTable *other = table == m_tableLeft ? m_tableRight : m_tableLeft;
        connect(table->tableView()->verticalScrollBar(), &QScrollBar::valueChanged, this, [other](int value) {
            if (other->tableView()->verticalScrollBar()->value() != value)
                other->tableView()->verticalScrollBar()->setValue(value);
        });
        connect(table, &MergeTable::rowDoubleClicked, this, [this, table](int row) { rowDoubleClicked(table, row); });
        connect(table, &MergeTable::textEditBegan, this, &MergePanelController::updateDoneButton);
        connect(table, &MergeTable::textEdited, this,
                [this, table](int row, const QString &text) { applyTextEdit(table, row, text); });
        connect(table, &MergeTable::nameDisplayChosen, this,
                [this, table](bool showAsPerson) { applyNameDisplay(table, showAsPerson); });
    }
}

void MergePanelController::setCustomItems(const QVariantList &items)
{
    m_builder.setCustomItems(items);
    m_undoLayer->setCustomItems(items);
}

bool MergePanelController::setContextInfo(const MergeContextDictPtr &contextInfo, bool editable)
{
    if (!contextInfo || contextInfo->contacts.size() < 2)
        return false;
    const ContactRowPtr left = contextInfo->contacts.at(0);
    const ContactRowPtr right = contextInfo->contacts.at(1);
    if (!left || !left->person || !right || !right->person)
        return false;
    m_undoManager.removeAllActions();
    m_contextInfo = contextInfo;
    m_contactLeft = workingCopy(left);
    m_contactRight = workingCopy(right);
    m_originalLeft = workingCopy(left);
    m_originalRight = workingCopy(right);
    m_builder.setNameOrderingLabelsFor(*m_contactLeft->person);
    m_editButton->setEnabled(true);
    applyEditState(editable);
    reloadTables();
    return true;
}

ContactRowPtr MergePanelController::workingCopy(const ContactRowPtr &contact)
{
    auto copy = std::make_shared<ContactRow>(*contact);
    copy->person = contact->person->copy();
    return copy;
}

double MergePanelController::rowHeightForFont(const QFont &font)
{
    const QFontMetricsF metrics(font);
    return std::max(MinimumRowHeight, std::ceil(metrics.ascent() + metrics.descent() + metrics.leading()) + RowPadding);
}

void MergePanelController::setSelectedFont(const QFont &font)
{
    m_selectedFont = font;
    m_rowHeight = rowHeightForFont(font);
    for (MergeTable *table : {m_tableLeft, m_tableRight})
        table->tableView()->setFont(font);
    if (m_contactLeft)
        reloadTables();
}

bool MergePanelController::isEditing() const
{
    return m_editButton->isChecked();
}

bool MergePanelController::hasChanges()
{
    if (!m_contactLeft)
        return false;
    const QVariantList items = customItems();
    return PersonDifference::differ(*m_contactLeft->person, *m_originalLeft->person, items) ||
           PersonDifference::differ(*m_contactRight->person, *m_originalRight->person, items);
}

// --- rows -----------------------------------------------------------------------------------

void MergePanelController::reloadTables()
{
    if (!m_contactLeft) {
        m_tableLeft->clear();
        m_tableRight->clear();
        return;
    }
    QNPerson &left = *m_contactLeft->person;
    QNPerson &right = *m_contactRight->person;
    const QHash<QString, qsizetype> counts = MergeRowBuilder::labeledValueCount(left, right);
    for (MergeTable *table : {m_tableLeft, m_tableRight}) {
        QNPerson &person = table == m_tableLeft ? left : right;
        MergeRowTable rows = m_builder.tableFromContact(person, counts);
        for (MergeRow &row : rows)
            row.numLines = m_builder.numberOfLines(row, person);
        MergeCellFactory::Context context;
        context.person = &person;
        context.builder = &m_builder;
        context.font = m_selectedFont;
        context.rowHeight = m_rowHeight;
        context.editState = isEditing();
        context.documentType = m_contextInfo->documentType;
        table->setRows(rows, context);
    }
    m_nameFieldLeft->setText(left.compositeName());
    m_nameFieldRight->setText(right.compositeName());
}

ContactRowPtr MergePanelController::contactOf(const MergeTable *table) const
{
    return table == m_tableLeft ? m_contactLeft : m_contactRight;
}

void MergePanelController::copyChanged()
{
    reloadTables();
    updateDoneButton();
}

// The selection moves to the row before the first selected one, so that it stays on the kind.
void MergePanelController::entryDeleted()
{
    QList<QList<int>> selections;
    for (MergeTable *table : {m_tableLeft, m_tableRight})
        selections.append(table->selectedRows());
    reloadTables();
    int side = 0;
    for (MergeTable *table : {m_tableLeft, m_tableRight}) {
        const QList<int> &selected = selections.at(side++);
        if (!selected.isEmpty())
            table->selectRows({std::max(selected.first() - 1, 0)});
    }
    updateDoneButton();
}

// --- editing in place -----------------------------------------------------------------------

void MergePanelController::rowDoubleClicked(MergeTable *table, int row)
{
    const ContactRowPtr contact = contactOf(table);
    if (!isEditing() || !contact || row < 0 || row >= table->rows().size())
        return;
    if (const std::optional<QString> text =
            MergeCellFactory::editableText(table->rows().at(row), *contact->person, m_builder))
        table->beginTextEdit(row, *text);
}

void MergePanelController::applyTextEdit(MergeTable *table, int row, const QString &text)
{
    const ContactRowPtr contact = contactOf(table);
    if (!contact || row < 0 || row >= table->rows().size()) {
        reloadTables();
        return;
    }
    const MergeRow mergeRow = table->rows().at(row);
    QNPerson &person = *contact->person;
    bool changed = false;
    if (mergeRow.type == PersonIdentifier::Name || mergeRow.type == PersonIdentifier::PhoneticName) {
        const bool isName = mergeRow.type == PersonIdentifier::Name;
        QVariantMap name = isName ? person.nameValue() : person.phoneticNameValue().value_or(QVariantMap());
        const QString part = mergeRow.label.value_or(QString());
        if (name.value(part).toString() != text) {
            name.insert(part, text);
            changed = isName ? m_undoLayer->undoReplaceNameValue(name, contact)
                             : m_undoLayer->undoReplacePhoneticNameValue(name, contact);
        }
    } else {
        changed = m_undoLayer->undoReplaceValue(text, mergeRow.type, contact);
    }
    // Nothing written: the editor still has to give way to the cell.
    if (!changed)
        reloadTables();
    updateDoneButton();
}

void MergePanelController::applyNameDisplay(MergeTable *table, bool showAsPerson)
{
    const ContactRowPtr contact = contactOf(table);
    if (!contact || !isEditing())
        return;
    QVariantMap name = contact->person->nameValue();
    if (name.value(PersonKey::ShowAsPerson, true).toBool() == showAsPerson)
        return;
    name.insert(PersonKey::ShowAsPerson, showAsPerson);
    m_undoLayer->undoReplaceNameValue(name, contact);
}

void MergePanelController::commitTextEdits()
{
    for (MergeTable *table : {m_tableLeft, m_tableRight})
        table->commitTextEdit();
}

// --- edit state and the buttons -------------------------------------------------------------

void MergePanelController::applyEditState(bool editing)
{
    m_editButton->setChecked(editing);
    m_editButton->setText(L(editing ? QStringLiteral("Lock") : QStringLiteral("Edit")));
    m_doneButton->setText(L(editing ? QStringLiteral("Change") : QStringLiteral("Done")));
    m_cancelButton->setVisible(editing);
    if (editing) {
        m_redSeparator->setBorderWidth(EditingBorderWidth);
        m_redSeparator->setBorderColor(Qt::red);
        m_redSeparator->setFillColor(Qt::red);
    } else {
        // The width stays as it is: only the colour tells the states apart.
        m_redSeparator->setBorderColor(Qt::gray);
        m_redSeparator->setFillColor(Qt::gray);
    }
    updateDoneButton();
}

// A text being edited in place may be a change: Done stays pressable, and commits it first.
void MergePanelController::updateDoneButton()
{
    const bool editingText = m_tableLeft->isEditingText() || m_tableRight->isEditingText();
    m_doneButton->setEnabled(!isEditing() || editingText || hasChanges());
}

void MergePanelController::editButtonPressed()
{
    // The toggle has flipped already; the copies' changes keep the sheet editing.
    if (!m_editButton->isChecked() && hasChanges()) {
        m_editButton->setChecked(true);
        return;
    }
    applyEditState(m_editButton->isChecked());
    reloadTables();
}

void MergePanelController::doneButtonPressed()
{
    commitTextEdits();
    const bool changed = hasChanges();
    if (changed && m_contextInfo)
        m_contextInfo->newContacts = QList<ContactRowPtr>{m_contactLeft, m_contactRight};
    finish(changed ? 1 : 0);
}

void MergePanelController::cancelButtonPressed()
{
    finish(0);
}

// The completion may delete the sheet, so the sheet is tidied before it ends.
void MergePanelController::finish(int returnCode)
{
    m_tableLeft->clear();
    m_tableRight->clear();
    applyEditState(false);
    endSheet(returnCode);
}
