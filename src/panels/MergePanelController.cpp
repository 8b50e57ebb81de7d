#include "panels/MergePanelController.h"

#include "panels/MergeCellFactory.h"
#include "panels/MergeRowMenu.h"
#include "panels/MergeTable.h"
#include "panels/MergeUndoLayer.h"

#include "addressbook/PersonDifference.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "model/VariantKinds.h"
#include "platform/Localizer.h"
#include "platform/PhotoFitter.h"
#include "platform/widgets/FilePanel.h"
#include "platform/widgets/Popover.h"
#include "platform/widgets/Workspace.h"
#include "ui/widgets/ImageViewDragAndDrop.h"
#include "ui/widgets/SeparatorBox.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QUuid>

#include <cmath>

namespace {

constexpr double MinimumRowHeight = 20.0;
constexpr double RowPadding = 9.0;

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
      m_selectedFont(QApplication::font()), m_rowMenu(new MergeRowMenu(*this, this)),
      m_dragToken(QUuid::createUuid().toByteArray(QUuid::WithoutBraces))
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
    // An editor still open goes with the sheet and writes nothing.
    if (m_popover)
        m_popover->disconnect(this);
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
        connect(table, &MergeTable::cellDoubleClicked, this, [this, table](int row, int column) {
            tableViewDoubleAction(table, row, column, QGuiApplication::keyboardModifiers());
        });
        connect(table, &MergeTable::textEditBegan, this, &MergePanelController::updateDoneButton);
        connect(table, &MergeTable::textEdited, this,
                [this, table](int row, const QString &text) { applyTextEdit(table, row, text); });
        connect(table, &MergeTable::textEditAdvanced, this, [this, table](int row) { advanceTextEdit(table, row); });
        // The cell shows its value again; Done follows the copies alone.
        connect(table, &MergeTable::textEditCancelled, this, [this] {
            reloadTables();
            updateDoneButton();
        });
        connect(table, &MergeTable::nameDisplayChosen, this,
                [this, table](bool showAsPerson) { applyNameDisplay(table, showAsPerson); });
        connect(table, &MergeTable::labelChosen, this,
                [this, table](int row, const QString &label) { labelPopupCellChanged(table, row, label); });
        table->setDragHandler(this);
        table->installRowMenu(
            [this, table](QMenu *menu, int row, int column) { m_rowMenu->menuNeedsUpdate(menu, table, row, column); });
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
        context.photoDelegate = this;
        context.tableView = table->tableView();
        context.wellTag = dragOrigin(table);
        table->setRows(rows, context);
    }
    m_nameFieldLeft->setText(left.compositeName());
    m_nameFieldRight->setText(right.compositeName());
}

ContactRowPtr MergePanelController::contactOf(const MergeTable *table) const
{
    if (table == m_tableLeft)
        return m_contactLeft;
    return table == m_tableRight ? m_contactRight : nullptr;
}

MergeTable *MergePanelController::otherTable(const MergeTable *table) const
{
    if (table == m_tableLeft)
        return m_tableRight;
    return table == m_tableRight ? m_tableLeft : nullptr;
}

MergeTable *MergePanelController::tableOfView(const QObject *view) const
{
    if (!view)
        return nullptr;
    if (view == m_tableLeft->tableView())
        return m_tableLeft;
    return view == m_tableRight->tableView() ? m_tableRight : nullptr;
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
    } else if (m_builder.valueType(person, mergeRow.type) == PersonValueType::Labeled) {
        changed = applyEntryTextEdit(contact, mergeRow, text);
    } else {
        changed = m_undoLayer->undoReplaceValue(text, mergeRow.type, contact);
    }
    // Nothing written: the editor still has to give way to the cell.
    if (!changed)
        reloadTables();
    updateDoneButton();
}

// The entry the row shows, found by its label index, gets the text as its value.
bool MergePanelController::applyEntryTextEdit(const ContactRowPtr &contact, const MergeRow &row, const QString &text)
{
    if (!row.labelIndex || *row.labelIndex < 0 ||
        !MergeEditing::hasTextEntries(row.type, m_builder.valueType(*contact->person, row.type)))
        return false;
    std::optional<QVariantMap> entry =
        contact->person->labeledValueForIdentifierAtLabelIndex(row.type, *row.labelIndex);
    if (!entry || entry->value(PersonKey::StringValue).toString() == text)
        return false;
    entry->insert(PersonKey::Value, text);
    entry->insert(PersonKey::StringValue, text);
    return m_undoLayer->undoReplaceValue(*entry, row.type, contact);
}

void MergePanelController::advanceTextEdit(MergeTable *table, int row)
{
    const ContactRowPtr contact = contactOf(table);
    if (!contact || !isEditing())
        return;
    const MergeRowTable &rows = table->rows();
    QNPerson &person = *contact->person;
    const int next = MergeEditing::nextEditableRow(rows, row, [&](int candidate) {
        return MergeCellFactory::editableText(rows.at(candidate), person, m_builder).has_value();
    });
    if (next < 0)
        return;
    table->selectRows({next});
    table->beginTextEdit(next, *MergeCellFactory::editableText(rows.at(next), person, m_builder));
}

void MergePanelController::labelPopupCellChanged(MergeTable *table, int row, const QString &label)
{
    const ContactRowPtr contact = contactOf(table);
    if (!contact || !isEditing() || row < 0 || row >= table->rows().size())
        return;
    const MergeRow mergeRow = table->rows().at(row);
    if (mergeRow.label == label || !mergeRow.labelIndex || *mergeRow.labelIndex < 0)
        return;
    std::optional<QVariantMap> entry =
        contact->person->labeledValueForIdentifierAtLabelIndex(mergeRow.type, *mergeRow.labelIndex);
    if (!entry || entry->value(PersonKey::Label).toString() == label)
        return;
    entry->insert(PersonKey::Label, label);
    m_undoLayer->undoReplaceValue(*entry, mergeRow.type, contact);
    updateDoneButton();
}

// --- value editors --------------------------------------------------------------------------

void MergePanelController::tableViewDoubleAction(MergeTable *table, int row, int column,
                                                 Qt::KeyboardModifiers modifiers)
{
    const ContactRowPtr contact = contactOf(table);
    if (!contact || row < 0 || column < 0 || row >= table->rows().size())
        return;
    const MergeRow mergeRow = table->rows().at(row);
    QNPerson &person = *contact->person;
    MergeEditing::Click click;
    click.type = mergeRow.type;
    click.valueType = m_builder.valueType(person, mergeRow.type);
    click.valueColumn = column == MergeCellFactory::ValueColumn;
    click.commandHeld = MergeTableView::isCopy(modifiers);
    click.editing = isEditing();
    click.valueText = MergeEditing::valueText(mergeRow, person, m_builder);
    const MergeEditing::Action action = MergeEditing::doubleClickAction(click);
    const QRect rect = table->cellRect(row, column);
    if (action.kind == MergeEditing::Action::Kind::OpenEditor) {
        showEditor(action.editor, table, mergeRow, rect);
    } else if (action.kind == MergeEditing::Action::Kind::InlineEdit) {
        if (const std::optional<QString> text = MergeCellFactory::editableText(mergeRow, person, m_builder))
            table->beginTextEdit(row, *text);
        else if (click.valueType == PersonValueType::Labeled)
            // An entry of several lines is edited whole, in the list editor.
            showEditor(ValueEditorFactory::Kind::List, table, mergeRow, rect);
    }
}

void MergePanelController::showPopoverWrapper(MergeTable *table)
{
    const int row = table ? table->clickedRow() : -1;
    if (!contactOf(table) || row < 0 || row >= table->rows().size() || table->clickedColumn() < 0)
        return;
    const MergeRow &mergeRow = table->rows().at(row);
    showEditor(MergeEditing::menuEditorAction(mergeRow.type).editor, table, mergeRow,
               table->cellRect(row, table->clickedColumn()));
}

Popover *MergePanelController::popover() const
{
    return m_popover;
}

Popover *MergePanelController::makePopover()
{
    if (m_popover)
        return m_popover;
    auto *popover = new Popover(this);
    popover->setBehavior(Popover::Behavior::Transient);
    connect(popover, &Popover::closed, this, [this, popover] {
        const EditorContextPtr context = m_editorContext;
        if (m_popover == popover) {
            m_popover = nullptr;
            m_editorContext.reset();
        }
        popover->deleteLater();
        popoverDidClose(context);
    });
    m_popover = popover;
    return popover;
}

bool MergePanelController::showEditor(ValueEditorFactory::Kind editor, MergeTable *table, const MergeRow &row,
                                      const QRect &rect)
{
    const ContactRowPtr contact = contactOf(table);
    if (!m_editorFactory || !contact)
        return false;
    const QString type =
        editor == ValueEditorFactory::Kind::List ? MergeEditing::listEditorType(row.type) : row.type;
    const EditorContextPtr context =
        MergeEditing::editorContext(editor, contact, type, row.labelIndex.value_or(-1));
    Popover *popover = makePopover();
    QWidget *content = m_editorFactory->makeEditor(editor, popover, m_selectedFont);
    if (!content)
        return false;
    // The editor it replaces, if any, is dropped without writing.
    m_editorContext = context;
    popover->setContentWidget(content);
    popover->setContentSize(MergeEditing::contentSize(editor, type));
    popover->showRelativeToRect(rect, table->tableView(), Popover::Edge::MaxY);
    m_editorFactory->setContextInfo(content, context, isEditing());
    return true;
}

void MergePanelController::popoverDidClose(const EditorContextPtr &context)
{
    if (!context || !context->dirty.value_or(false) || !context->contact ||
        (context->contact != m_contactLeft && context->contact != m_contactRight))
        return;
    const ContactRowPtr contact = context->contact;
    const QString &type = context->type;
    QVariant value = context->value;
    if (!value.isValid() && context->values)
        value = *context->values;
    static const QStringList singleEntryKinds = {QStringLiteral("Address"), QStringLiteral("Instant Message"),
                                                 QStringLiteral("Social Network")};
    if (singleEntryKinds.contains(type) && VariantKinds::isMap(value) &&
        value.toMap().value(PersonKey::LabelIndex, -1).toLongLong() < 0) {
        QVariantMap entry = value.toMap();
        entry.remove(PersonKey::LabelIndex);
        m_undoLayer->undoAddLabeledValue(entry, type, contact);
    } else if (type == PersonIdentifier::Birthday) {
        // A cleared date removes the birthday; a dictionary without a date would be an empty one.
        const bool hasDate = VariantKinds::isMap(value) && value.toMap().value(PersonKey::Value).isValid() &&
                             !value.toMap().value(PersonKey::Value).isNull();
        m_undoLayer->undoReplaceBirthday(hasDate ? value : QVariant(), contact);
    } else {
        m_undoLayer->undoReplaceValue(value, type, contact);
    }
    updateDoneButton();
}

// --- photo and row commands -----------------------------------------------------------------

void MergePanelController::addImage(MergeTable *table)
{
    if (!isEditing() || !contactOf(table))
        return;
    FilePanel panel(FilePanel::Kind::Open);
    panel.setAllowedFileTypes({QStringLiteral("public.image")});
    const QPointer<MergePanelController> guard(this);
    panel.beginSheetModalForWindow(this, [guard, table](const QString &path) {
        if (!guard || path.isEmpty())
            return;
        // A file that is no picture, or one that could not be fitted in time, leaves the photo.
        if (const std::optional<QImage> image = PhotoFitter::loadAndFitOnWorker(path))
            guard->writePhoto(table, *image);
    });
}

void MergePanelController::deleteImage(MergeTable *table)
{
    if (!isEditing() || !contactOf(table))
        return;
    writePhoto(table, QVariant());
}

void MergePanelController::imageDidChange(ImageViewDragAndDrop *imageView)
{
    if (!imageView || imageView->image().isNull() || !isEditing())
        return;
    MergeTable *table = m_tableLeft;
    for (const QWidget *widget = imageView; widget; widget = widget->parentWidget()) {
        if (widget == m_tableRight->tableView())
            table = m_tableRight;
    }
    // The other side's well hands over its contact's photo as held, not the picture it shows.
    if (const MergeTable *from = tableOfOrigin(imageView->droppedTag()); from && from == otherTable(table)) {
        QNPerson &source = *contactOf(from)->person;
        if (source.photo().isNull())
            reloadTables(); // the well took the placeholder it was shown
        else
            m_undoLayer->undoReplacePhotoBytes(source.photoBytes(), contactOf(table));
        updateDoneButton();
        return;
    }
    writePhoto(table, PhotoFitter::smallerImage(imageView->image()));
}

void MergePanelController::writePhoto(MergeTable *table, const QVariant &photo)
{
    const ContactRowPtr contact = contactOf(table);
    if (!contact)
        return;
    m_undoLayer->undoReplacePhoto(photo, contact);
    updateDoneButton();
}

void MergePanelController::deleteItem(MergeTable *table)
{
    const ContactRowPtr contact = contactOf(table);
    const int row = table ? table->clickedRow() : -1;
    if (!contact || row < 0 || row >= table->rows().size() || table->clickedColumn() < 0)
        return;
    const MergeRow mergeRow = table->rows().at(row);
    QNPerson &person = *contact->person;
    table->selectRows({row});
    if (mergeRow.type == PersonIdentifier::Birthday) {
        m_undoLayer->undoReplaceBirthday(QVariant(), contact);
    } else if (QNPerson::labeledIdentifiers().contains(mergeRow.type) && mergeRow.index && !mergeRow.isFiller()) {
        if (const std::optional<QVariantMap> entry =
                person.labeledValueForIdentifierAtIndex(mergeRow.type, *mergeRow.index))
            m_undoLayer->undoDeleteLabeledValueForIdentifier(
                mergeRow.type, entry->value(PersonKey::LabelIndex).toLongLong(), contact);
    }
    updateDoneButton();
}

void MergePanelController::insertItem(MergeTable *table)
{
    const ContactRowPtr contact = contactOf(table);
    const int row = table ? table->clickedRow() : -1;
    if (!contact || row < 0 || row >= table->rows().size() || table->clickedColumn() < 0)
        return;
    table->selectRows({row});
    MergeRow mergeRow = table->rows().at(row);
    static const QHash<QString, ValueEditorFactory::Kind> editors = {
        {QStringLiteral("Address"), ValueEditorFactory::Kind::Address},
        {QStringLiteral("Instant Message"), ValueEditorFactory::Kind::InstantMessage},
        {QStringLiteral("Social Network"), ValueEditorFactory::Kind::SocialProfile}};
    if (editors.contains(mergeRow.type)) {
        // A new entry: the editor's result is added when it closes.
        mergeRow.labelIndex = -1;
        showEditor(editors.value(mergeRow.type), table, mergeRow, table->cellRect(row, table->clickedColumn()));
        return;
    }
    static const QHash<QString, std::pair<QString, QString>> defaults = {
        {QStringLiteral("Phone"), {QStringLiteral("home"), QStringLiteral("123")}},
        {QStringLiteral("Email"), {QStringLiteral("home"), QStringLiteral("new")}},
        {QStringLiteral("URL"), {QStringLiteral("home"), QStringLiteral("new")}},
        {QStringLiteral("Relationship"), {QStringLiteral("friend"), QStringLiteral("new")}}};
    if (!defaults.contains(mergeRow.type))
        return;
    const auto [label, value] = defaults.value(mergeRow.type);
    m_undoLayer->undoAddLabeledValue({{PersonKey::Label, label}, {PersonKey::Value, value}}, mergeRow.type, contact);
    updateDoneButton();
}

void MergePanelController::doWorkspaceAction(MergeTable *table, WorkspaceURL::MapService map)
{
    const ContactRowPtr contact = contactOf(table);
    const int row = table ? table->clickedRow() : -1;
    if (!contact || row < 0 || row >= table->rows().size())
        return;
    const MergeRow &mergeRow = table->rows().at(row);
    const QUrl url =
        WorkspaceURL::forValue(mergeRow.type, MergeEditing::valueText(mergeRow, *contact->person, m_builder), map);
    if (!url.isEmpty())
        Workspace::openURL(url, this);
}

// --- drag and drop --------------------------------------------------------------------------

QMimeData *MergePanelController::dragData(QTableView *view, int row)
{
    MergeTable *table = tableOfView(view);
    const ContactRowPtr contact = contactOf(table);
    if (!contact || row < 0 || row >= table->rows().size())
        return nullptr;
    const MergeRow &mergeRow = table->rows().at(row);
    MergeDragAndDrop::Content content = MergeDragAndDrop::contentOfRow(mergeRow, *contact->person, m_builder);
    if (content.isEmpty())
        return nullptr;
    content.origin = dragOrigin(table);
    m_draggingSource = mergeRow;
    return content.mimeData();
}

QByteArray MergePanelController::dragOrigin(const MergeTable *table) const
{
    return m_dragToken + (table == m_tableLeft ? "/left" : "/right");
}

MergeTable *MergePanelController::tableOfOrigin(const QByteArray &origin) const
{
    for (MergeTable *table : {m_tableLeft, m_tableRight}) {
        if (!origin.isEmpty() && origin == dragOrigin(table))
            return table;
    }
    return nullptr;
}

MergeDragAndDrop::Drop MergePanelController::dropOnto(MergeTable *table, const QMimeData *data, int row,
                                                      MergeDragAndDrop::DropPosition position,
                                                      bool copy) const
{
    MergeDragAndDrop::Drop drop;
    drop.dragged = m_draggingSource.value_or(MergeRow());
    drop.destinationRows = table->rows();
    drop.row = row;
    drop.position = position;
    drop.editing = isEditing();
    const MergeTable *from = tableOfOrigin(MergeDragAndDrop::originOf(data));
    drop.fromOtherTable = m_draggingSource && from && from == otherTable(table);
    drop.copy = copy;
    return drop;
}

MergeDragAndDrop::Operation MergePanelController::validateDrop(QTableView *view, const QMimeData *data,
                                                               int row,
                                                               MergeDragAndDrop::DropPosition position,
                                                               bool copy)
{
    MergeTable *table = tableOfView(view);
    const ContactRowPtr contact = contactOf(table);
    if (!contact)
        return MergeDragAndDrop::Operation::None;
    return MergeDragAndDrop::validateDrop(dropOnto(table, data, row, position, copy), *contact->person,
                                          m_builder);
}

bool MergePanelController::acceptDrop(QTableView *view, const QMimeData *data, int row,
                                      MergeDragAndDrop::DropPosition position, bool copy)
{
    MergeTable *table = tableOfView(view);
    const ContactRowPtr destination = contactOf(table);
    if (!destination || validateDrop(view, data, row, position, copy) == MergeDragAndDrop::Operation::None)
        return false;
    const bool changed =
        MergeDragAndDrop::acceptDrop(dropOnto(table, data, row, position, copy), contactOf(otherTable(table)),
                                     destination, *m_undoLayer, m_undoManager, m_builder);
    updateDoneButton();
    return changed;
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
    m_redSeparator->showEditing(editing);
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
