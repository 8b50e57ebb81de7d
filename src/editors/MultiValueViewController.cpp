#include "editors/MultiValueViewController.h"

#include "editors/DatesCellDelegate.h"
#include "editors/InstantMessageServices.h"
#include "editors/LabelListEditing.h"
#include "editors/ListEditorCountryMenu.h"
#include "editors/ListEditorPencilIcon.h"
#include "editors/ListEditorTableView.h"
#include "model/LabeledEntry.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/widgets/Popover.h"
#include "ui/widgets/LabelPopup.h"
#include "ui/widgets/ValueFields.h"

#include <QCollator>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>
#include <cmath>

using ListEditorColumns::Cell;
using ListEditorColumns::Column;

namespace {

const QString Address = QStringLiteral("Address");
const QString InstantMessage = QStringLiteral("Instant Message");
const QString SocialNetwork = QStringLiteral("Social Network");
const QString TypeKey = QStringLiteral("type");
const QSize AddressPopoverSize(340, 460);
constexpr double PlainRowHeight = 20.0;

MultiValueViewController::NestedEditorFactory &nestedEditorFactory()
{
    static MultiValueViewController::NestedEditorFactory factory;
    return factory;
}

QString text(const QVariantMap &entry, const QString &key)
{
    return entry.value(key).toString();
}

QString oneLine(const QString &text)
{
    QString line = text;
    return line.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

void MultiValueViewController::setNestedEditorFactory(NestedEditorFactory factory)
{
    nestedEditorFactory() = std::move(factory);
}

MultiValueViewController::MultiValueViewController(QWidget *parent)
    : ValueEditor(parent), m_tableView(new ListEditorTableView), m_typePopup(new QComboBox),
      m_addressField(new QLineEdit), m_addButton(new QPushButton(QStringLiteral("+"))),
      m_delButton(new QPushButton(QStringLiteral("-")))
{
    auto *body = new QWidget;
    auto *layout = new QGridLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_typePopup, 0, 0, 1, 3);
    layout->addWidget(m_addressField, 1, 0, 1, 3);
    layout->addWidget(m_tableView, 2, 0, 1, 3);
    layout->addWidget(m_addButton, 3, 0);
    layout->addWidget(m_delButton, 3, 1);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(2, 1);
    m_addButton->setToolTip(L(QStringLiteral("Add")));
    m_delButton->setToolTip(L(QStringLiteral("Delete")));
    m_addressField->setReadOnly(true);
    m_addressField->setPlaceholderText(L(QStringLiteral("Address:")));

    m_tableView->verticalHeader()->hide();
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tableView->horizontalHeader()->setSectionsClickable(true);
    // Done may take the text still being typed in a cell, so typing is already a change.
    auto *cellDelegate = new DatesCellDelegate(m_tableView);
    cellDelegate->setItemEditorFactory(ValueFields::itemEditorFactory());
    m_tableView->setItemDelegate(cellDelegate);
    connect(cellDelegate, &DatesCellDelegate::editorTextEdited, this, &MultiValueViewController::noteChange);
    setUpChrome(body);
    setReturnPressesDone(true);

    connect(m_tableView, &QTableWidget::itemChanged, this, &MultiValueViewController::itemChanged);
    connect(m_tableView, &QTableWidget::itemSelectionChanged, this,
            [this] { showAddress(selectedRow()); });
    connect(m_tableView, &ListEditorTableView::cellEditEnded, this, &MultiValueViewController::editCellAfter);
    connect(m_tableView, &ListEditorTableView::rowDropped, this, &MultiValueViewController::moveRow);
    connect(m_tableView->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &MultiValueViewController::headerClicked);
    connect(m_addButton, &QPushButton::clicked, this, &MultiValueViewController::addPressed);
    connect(m_delButton, &QPushButton::clicked, this, &MultiValueViewController::deletePressed);
}

MultiValueViewController::~MultiValueViewController()
{
    // The popover is a child; closing it while the editor is half destroyed must not reach back.
    if (m_nestedPopover) {
        m_nestedPopover->disconnect(this);
        delete m_nestedPopover.data();
    }
}

// --- opening ------------------------------------------------------------------------------------

void MultiValueViewController::loadContext()
{
    const EditorContextPtr context = contextInfo();
    QNPerson *edited = person();
    m_typePopup->clear();
    m_typePopup->addItem(QNPerson::localizedIdentifierForKey(context->type));
    m_defaultCountryCode = edited ? edited->defaultCountryCode() : QString();
    m_addressFormats = QNPerson::addressFormatDict();
    m_addressField->setVisible(isAddress());
    m_addressField->clear();
    m_labels = QNPerson::labelTableDict().value(context->type);
    if (m_labels.isEmpty())
        m_labels = {QStringLiteral("home")};
    m_table = edited ? edited->labeledValueForIdentifier(context->type) : QVariantList();
    m_nextLabelIndex = QNPerson::nextLabelIndex(m_table);
    m_sortColumn = -1;
    setUpColumns();
    reloadData();
    if (context->labelIndex)
        selectRow(int(QNPerson::findLabeledValue(m_table, *context->labelIndex)));
}

void MultiValueViewController::setUpColumns()
{
    m_columns = ListEditorColumns::columnsForType(contextInfo()->type);
    const QSignalBlocker blocker(m_tableView);
    m_tableView->setRowCount(0);
    m_tableView->setColumnCount(int(m_columns.size()));
    QStringList titles;
    for (const Column &column : std::as_const(m_columns))
        titles.append(column.title);
    m_tableView->setHorizontalHeaderLabels(titles);
    for (int position = 0; position < m_columns.size(); ++position)
        m_tableView->setColumnWidth(position, m_columns.at(position).width);
    m_tableView->horizontalHeader()->setSortIndicatorShown(false);
}

void MultiValueViewController::updateUI()
{
    const bool editable = isEditable();
    m_addButton->setEnabled(editable);
    m_delButton->setEnabled(editable && !m_table.isEmpty());
    m_tableView->setEditTriggers(editable ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                          : QAbstractItemView::NoEditTriggers);
    m_tableView->setDragEnabled(editable);
    setReturnPressesDone(true);
    reloadData();
    if (editable)
        m_tableView->setFocus();
}

void MultiValueViewController::setSelectedFont(const QFont &font)
{
    m_selectedFont = font;
    const QFontMetricsF metrics(font);
    m_rowHeight = std::max(PlainRowHeight, std::ceil(metrics.ascent() + metrics.descent() + metrics.leading()) + 9);
    if (!m_table.isEmpty())
        reloadData();
}

// --- the table ----------------------------------------------------------------------------------

void MultiValueViewController::reloadData()
{
    const int selected = selectedRow();
    {
        const QScopedValueRollback<bool> reloading(m_reloading, true);
        const QSignalBlocker blocker(m_tableView);
        m_tableView->setRowCount(0);
        m_tableView->setRowCount(int(m_table.size()));
        for (int row = 0; row < m_table.size(); ++row)
            fillRow(row);
    }
    if (selected >= 0 && selected < m_table.size())
        selectRow(selected);
}

void MultiValueViewController::fillRow(int row)
{
    for (int position = 0; position < m_columns.size(); ++position) {
        const Column &column = m_columns.at(position);
        if (column.cell == Cell::Text)
            m_tableView->setItem(row, position, textItem(row, column));
        else
            m_tableView->setCellWidget(row, position, cellWidget(row, column));
    }
    m_tableView->setRowHeight(row, rowHeightOf(row));
}

QWidget *MultiValueViewController::cellWidget(int row, const Column &column)
{
    switch (column.cell) {
    case Cell::EditCheckbox:
        return editButtonCell(row);
    case Cell::LabelPopup:
        return labelPopup(row);
    case Cell::ServicePopup:
        return servicePopup(row);
    case Cell::CountryMenu:
        return countryMenu(row);
    case Cell::Text:
        break;
    }
    return nullptr;
}

QTableWidgetItem *MultiValueViewController::textItem(int row, const Column &column) const
{
    auto *item = new QTableWidgetItem(text(m_table.at(row).toMap(), column.valueKey));
    item->setFont(m_selectedFont);
    if (!isEditable())
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QWidget *MultiValueViewController::labelPopup(int row)
{
    const QString label = text(m_table.at(row).toMap(), PersonKey::Label);
    const LabelPopup labels(contextInfo()->type, label, true);
    auto *popup = new QComboBox;
    popup->setFrame(false);
    for (const LabelPopup::Item &item : labels.items())
        popup->addItem(item.title, item.label);
    if (popup->count() == 0) {
        for (const QString &offered : std::as_const(m_labels))
            popup->addItem(LabelPopup::localizedLabel(offered), offered);
    }
    // An entry whose label the kind does not offer keeps showing it rather than a label it lacks.
    if (popup->findData(label) < 0 && !label.isEmpty())
        popup->addItem(LabelPopup::localizedLabel(label), label);
    popup->setCurrentIndex(std::max(int(popup->findData(label)), 0));
    popup->setEnabled(isEditable());
    connect(popup, &QComboBox::activated, this,
            [this, row, popup](int item) { setLabel(row, popup->itemData(item).toString()); });
    return popup;
}

QWidget *MultiValueViewController::servicePopup(int row)
{
    const QStringList services = InstantMessageServices::services();
    auto *popup = new QComboBox;
    popup->setFrame(false);
    for (const QString &service : services)
        popup->addItem(LabelPopup::localizedLabel(service), service);
    const QString service = InstantMessageServices::currentService(text(m_table.at(row).toMap(), StoreValueKey::Service));
    popup->setCurrentIndex(std::max(int(services.indexOf(service)), 0));
    popup->setEnabled(isEditable());
    connect(popup, &QComboBox::activated, this,
            [this, row, popup](int item) { setService(row, popup->itemData(item).toString()); });
    return popup;
}

QWidget *MultiValueViewController::countryMenu(int row)
{
    const QString code = text(m_table.at(row).toMap(), StoreValueKey::ISOCountryCode).toUpper();
    auto *button = new QToolButton;
    button->setAutoRaise(true);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setText(ListEditorCountryMenu::title(code, m_defaultCountryCode, m_addressFormats));
    button->setEnabled(isEditable());
    if (isEditable()) {
        // Built only for an editable row: the menu holds every country of the format table.
        QMenu *menu = ListEditorCountryMenu::build(m_defaultCountryCode, m_addressFormats, button);
        button->setMenu(menu);
        connect(menu, &QMenu::triggered, this, [this, row](QAction *action) {
            const QString chosen = action->data().toString();
            setCountryCode(row, chosen == ListEditorCountryMenu::DefaultItem ? QString() : chosen);
        });
    }
    return button;
}

QWidget *MultiValueViewController::editButtonCell(int row)
{
    auto *button = new QToolButton;
    button->setAutoRaise(true);
    button->setIcon(ListEditorPencilIcon::icon(palette().color(QPalette::ButtonText)));
    button->setToolTip(L(QStringLiteral("Edit")));
    connect(button, &QToolButton::clicked, this, [this, row] { openAddressRow(row); });
    return button;
}

int MultiValueViewController::rowHeightOf(int row) const
{
    if (!isAddress())
        return int(m_rowHeight);
    // An address part of several lines makes its row that many plain rows high.
    const QVariantMap entry = m_table.at(row).toMap();
    qsizetype lines = 1;
    for (const QString &part : {PersonKey::ZIP, PersonKey::State, PersonKey::City, PersonKey::Street})
        lines = std::max(lines, text(entry, part).count(QLatin1Char('\n')) + 1);
    return lines > 1 ? int(double(lines) * (m_rowHeight - 2.0)) : int(m_rowHeight);
}

int MultiValueViewController::selectedRow() const
{
    const QModelIndexList rows = m_tableView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void MultiValueViewController::selectRow(int row)
{
    if (row < 0 || row >= m_table.size()) {
        m_tableView->clearSelection();
        return;
    }
    m_tableView->selectRow(row);
}

void MultiValueViewController::showAddress(int row)
{
    if (isAddress() && row >= 0 && row < m_table.size())
        m_addressField->setText(oneLine(text(m_table.at(row).toMap(), PersonKey::StringValue)));
}

bool MultiValueViewController::isAddress() const
{
    return contextInfo() && contextInfo()->type == Address;
}

void MultiValueViewController::headerClicked(int column)
{
    if (column < 0 || column >= m_columns.size() || m_columns.at(column).sortKey.isEmpty())
        return;
    const bool again = column == m_sortColumn;
    sortByColumn(column, again && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void MultiValueViewController::sortByColumn(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_columns.size() || m_columns.at(column).sortKey.isEmpty())
        return;
    m_sortColumn = column;
    m_sortOrder = order;
    const QString key = m_columns.at(column).sortKey;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(m_table.begin(), m_table.end(), [&](const QVariant &a, const QVariant &b) {
        const int compared = collator.compare(text(a.toMap(), key), text(b.toMap(), key));
        return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
    });
    m_tableView->horizontalHeader()->setSortIndicatorShown(true);
    m_tableView->horizontalHeader()->setSortIndicator(column, order);
    // Sorting alone is no change to hand back.
    m_tableView->clearSelection();
    reloadData();
}

// --- keys in cells ------------------------------------------------------------------------------

std::optional<QPair<int, int>> MultiValueViewController::nextTextCell(int row, int column, bool byReturn) const
{
    const int rows = int(m_table.size());
    const int columns = int(m_columns.size());
    if (rows == 0 || columns == 0)
        return std::nullopt;
    // One full round over the cells at most; a table without text cells gives none.
    for (int step = 0; step < rows * columns; ++step) {
        if (byReturn) {
            row = (row + 1) % rows;
        } else if (++column >= columns) {
            column = 0;
            row = (row + 1) % rows;
        }
        if (column >= 0 && column < columns && ListEditorColumns::isTextColumn(m_columns.at(column)))
            return QPair<int, int>(row, column);
    }
    return std::nullopt;
}

void MultiValueViewController::editCellAfter(int row, int column, bool byReturn)
{
    if (!isEditable())
        return;
    const std::optional<QPair<int, int>> next = nextTextCell(row, column, byReturn);
    if (!next)
        return;
    m_tableView->setCurrentCell(next->first, next->second);
    if (QTableWidgetItem *item = m_tableView->item(next->first, next->second))
        m_tableView->editItem(item);
}

// --- edits --------------------------------------------------------------------------------------

qsizetype MultiValueViewController::takeNextLabelIndex()
{
    // Never a number an entry had while the editor was open, deleted entries included.
    const qsizetype next = std::max(m_nextLabelIndex, QNPerson::nextLabelIndex(m_table));
    m_nextLabelIndex = next + 1;
    return next;
}

void MultiValueViewController::normalise(QVariantMap &entry) const
{
    if (const std::optional<QNPerson::LabeledKind> kind = QNPerson::labeledKindForIdentifier(contextInfo()->type)) {
        QNPerson::updateLabeledValue(*kind, entry, 1);
        return;
    }
    // A custom item's entry shows its value.
    entry.insert(PersonKey::StringValue, text(entry, PersonKey::Value));
}

void MultiValueViewController::entryChanged(int row, const QVariantMap &entry)
{
    m_table[row] = entry;
    noteChange();
}

void MultiValueViewController::itemChanged(QTableWidgetItem *item)
{
    if (!m_reloading)
        setCellText(item->row(), item->column(), item->text());
}

void MultiValueViewController::setCellText(int row, int column, const QString &typed)
{
    if (!isEditable() || row < 0 || row >= m_table.size() || column < 0 || column >= m_columns.size())
        return;
    const Column &described = m_columns.at(column);
    if (!ListEditorColumns::isTextColumn(described))
        return;
    QVariantMap entry = m_table.at(row).toMap();
    if (text(entry, described.valueKey) == typed)
        return;
    entry.insert(described.valueKey, typed);
    const QString type = contextInfo()->type;
    // The username of a profile or an account is also its value.
    if (type == SocialNetwork && described.valueKey == StoreValueKey::Username)
        entry.insert(PersonKey::Value, typed);
    if (type == InstantMessage && described.valueKey == PersonKey::Value)
        entry.insert(StoreValueKey::Username, typed);
    normalise(entry);
    entryChanged(row, entry);
    if (isAddress()) {
        showAddress(row);
        m_tableView->setRowHeight(row, rowHeightOf(row));
    }
}

void MultiValueViewController::setLabel(int row, const QString &label)
{
    if (!isEditable() || row < 0 || row >= m_table.size())
        return;
    QVariantMap entry = m_table.at(row).toMap();
    entry.insert(PersonKey::Label, label);
    if (contextInfo()->type == SocialNetwork)
        entry.insert(StoreValueKey::Service, label);
    entryChanged(row, entry);
}

void MultiValueViewController::setService(int row, const QString &service)
{
    if (!isEditable() || row < 0 || row >= m_table.size())
        return;
    QVariantMap entry = m_table.at(row).toMap();
    entry.insert(StoreValueKey::Service, service);
    normalise(entry);
    entryChanged(row, entry);
}

void MultiValueViewController::setCountryCode(int row, const QString &countryCode)
{
    if (!isEditable() || row < 0 || row >= m_table.size())
        return;
    QVariantMap entry = m_table.at(row).toMap();
    if (text(entry, StoreValueKey::ISOCountryCode).toUpper() == countryCode.toUpper())
        return;
    if (countryCode.isEmpty())
        entry.remove(StoreValueKey::ISOCountryCode);
    else
        entry.insert(StoreValueKey::ISOCountryCode, countryCode);
    normalise(entry);
    entryChanged(row, entry);
    reloadData();
    selectRow(row);
    showAddress(row);
}

void MultiValueViewController::addPressed()
{
    if (!isEditable())
        return;
    const QString type = contextInfo()->type;
    if (type == Address) {
        // The address joins the list only when its editor ends with Done.
        const QRect buttonRect(m_tableView->mapFromGlobal(m_addButton->mapToGlobal(QPoint(0, 0))), m_addButton->size());
        showAddressPopover({}, -1, buttonRect);
        return;
    }
    QVariantMap entry{{PersonKey::Value, QStringLiteral("new")}, {PersonKey::Label, m_labels.first()}};
    if (type == InstantMessage)
        entry.insert(StoreValueKey::Service, InstantMessageServices::services().first());
    normalise(entry);
    entry.insert(PersonKey::LabelIndex, int(takeNextLabelIndex()));
    entry.insert(TypeKey, type);
    const int selected = selectedRow();
    const int row = selected >= 0 ? selected + 1 : int(m_table.size());
    m_table.insert(row, entry);
    reloadData();
    selectRow(row);
    m_delButton->setEnabled(true);
    noteChange();
}

void MultiValueViewController::deletePressed()
{
    const int row = selectedRow();
    if (!isEditable() || row < 0)
        return;
    m_table.removeAt(row);
    m_tableView->clearSelection();
    reloadData();
    m_delButton->setEnabled(!m_table.isEmpty());
    noteChange();
}

bool MultiValueViewController::moveRow(int source, int target)
{
    const int count = int(m_table.size());
    // Dropped onto itself or just below itself, the row stays where it is.
    if (!isEditable() || source < 0 || source >= count || target < 0 || target > count || target == source ||
        target == source + 1)
        return false;
    const QVariant entry = m_table.takeAt(source);
    m_table.insert(target > source ? target - 1 : target, entry);
    reloadData();
    selectRow(target > source ? target - 1 : target);
    noteChange();
    return true;
}

// --- the nested address editor ------------------------------------------------------------------

bool MultiValueViewController::openAddressRow(int row)
{
    if (!isAddress() || m_nestedPopover || row < 0 || row >= m_table.size())
        return false;
    const QVariantMap entry = m_table.at(row).toMap();
    QRect rect = m_tableView->visualRect(m_tableView->model()->index(row, 0));
    rect.moveLeft(10);
    return showAddressPopover(entry, int(LabeledEntry(entry).labelIndex().value_or(-1)), rect);
}

bool MultiValueViewController::showAddressPopover(const QVariantMap &address, int labelIndex, const QRect &rect)
{
    const NestedEditorFactory &factory = nestedEditorFactory();
    ValueEditor *editor = factory ? factory(Address) : nullptr;
    if (!editor)
        return false;
    auto context = std::make_shared<EditorContext>();
    // A copy of the row: the nested editor must not see or change the list's own context.
    context->contact = std::make_shared<ContactRow>(*contextInfo()->contact);
    context->type = Address;
    context->labelIndex = labelIndex;
    // The row's address as the list holds it, typed text included.
    if (!address.isEmpty()) {
        context->value = address;
        context->addressValue = address;
    }
    auto *popover = new Popover(this);
    popover->setBehavior(Popover::Behavior::Transient);
    popover->setContentWidget(editor);
    popover->setContentSize(AddressPopoverSize);
    editor->setPopover(popover);
    m_nestedPopover = popover;
    connect(popover, &Popover::closed, this, [this, context, labelIndex, popover] {
        addressEditorClosed(context, labelIndex);
        popover->deleteLater();
    });
    popover->showRelativeToRect(rect, m_tableView, Popover::Edge::MaxY);
    editor->setContextInfo(context, isEditable());
    return true;
}

void MultiValueViewController::addressEditorClosed(const EditorContextPtr &context, int sourceLabelIndex)
{
    m_nestedPopover = nullptr;
    if (!isEditable() || !context->dirty.value_or(false) || context->type != Address ||
        context->value.typeId() != QMetaType::QVariantMap)
        return;
    QVariantMap address = context->value.toMap();
    QNPerson::updateAddressValue(address, 1);
    // The result goes back to the row it was opened from; a new address joins at the end.
    int row = sourceLabelIndex >= 0 ? int(QNPerson::findLabeledValue(m_table, sourceLabelIndex)) : -1;
    if (row >= 0) {
        QVariantMap entry = m_table.at(row).toMap();
        for (const QString &key : {PersonKey::ZIP, PersonKey::Country, PersonKey::State, PersonKey::City,
                                   PersonKey::Street, PersonKey::Label})
            entry.insert(key, address.value(key));
        if (address.contains(StoreValueKey::ISOCountryCode))
            entry.insert(StoreValueKey::ISOCountryCode, address.value(StoreValueKey::ISOCountryCode));
        else
            entry.remove(StoreValueKey::ISOCountryCode);
        QNPerson::updateAddressValue(entry, 1);
        m_table[row] = entry;
    } else {
        address.insert(PersonKey::LabelIndex, int(takeNextLabelIndex()));
        address.insert(TypeKey, Address);
        m_table.append(address);
        row = int(m_table.size()) - 1;
    }
    reloadData();
    selectRow(row);
    showAddress(row);
    m_delButton->setEnabled(!m_table.isEmpty());
    noteChange();
}

// --- closing ------------------------------------------------------------------------------------

void MultiValueViewController::finishEditing()
{
    // The text still being typed in a cell counts.
    LabelListEditing::commitEditing(m_tableView);
    const QVariantList result = m_table;
    contextInfo()->values = result;
    closeEditing();
    commit(result);
}

void MultiValueViewController::closeEditing()
{
    m_table.clear();
    reloadData();
}
