#include "editors/DatesViewController.h"

#include "editors/DateControls.h"
#include "editors/DateText.h"
#include "editors/DatesCellDelegate.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "ui/widgets/LabelPopup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>
#include <utility>

namespace {

constexpr int RowHeight = 24;
const QString DatesIdentifier = QStringLiteral("Dates");
// The kind of value an added entry is, as the list's entries say it.
const QString TypeKey = QStringLiteral("type");

DateComponents dateOfEntry(const QVariantMap &entry)
{
    return QNPerson::dateComponentsFromVariant(entry.value(PersonKey::Value)).value_or(DateComponents{});
}

} // namespace

DatesViewController::DatesViewController(QWidget *parent)
    : ValueEditor(parent), m_tableView(new QTableWidget(0, 2)), m_cellDelegate(new DatesCellDelegate(this)),
      m_addButton(new QPushButton(QStringLiteral("+"))), m_delButton(new QPushButton(QStringLiteral("-"))),
      m_dateControls(new DateControls)
{
    auto *body = new QWidget;
    auto *layout = new QGridLayout(body);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tableView, 0, 0, 1, 3);
    layout->addWidget(m_addButton, 1, 0);
    layout->addWidget(m_delButton, 1, 1);
    layout->addWidget(m_dateControls, 2, 0, 1, 3);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(0, 1);
    m_addButton->setToolTip(L(QStringLiteral("Add")));
    m_delButton->setToolTip(L(QStringLiteral("Delete")));

    m_tableView->setItemDelegateForColumn(DateColumn, m_cellDelegate);
    m_tableView->setHorizontalHeaderLabels(
        {L(QStringLiteral("Label")), QNPerson::localizedIdentifierForKey(DatesIdentifier)});
    m_tableView->horizontalHeader()->setStretchLastSection(true);
    m_tableView->verticalHeader()->hide();
    m_tableView->verticalHeader()->setDefaultSectionSize(RowHeight);
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUpChrome(body);
    setReturnPressesDone(true);

    connect(m_tableView, &QTableWidget::itemChanged, this, &DatesViewController::itemChanged);
    // Done may take a date still being typed, so typing is already a change.
    connect(m_cellDelegate, &DatesCellDelegate::editorTextEdited, this, &DatesViewController::noteChange);
    connect(m_tableView, &QTableWidget::itemSelectionChanged, this, &DatesViewController::selectionChanged);
    connect(m_addButton, &QPushButton::clicked, this, &DatesViewController::addPressed);
    connect(m_delButton, &QPushButton::clicked, this, &DatesViewController::deletePressed);
    connect(m_dateControls, &DateControls::monthChosen, this, &DatesViewController::monthChosen);
    connect(m_dateControls, &DateControls::yearEdited, this, &DatesViewController::takeControlsDate);
    connect(m_dateControls, &DateControls::datePicked, this, &DatesViewController::takeControlsDate);
}

// --- opening ------------------------------------------------------------------------------------

void DatesViewController::loadContext()
{
    const EditorContextPtr context = contextInfo();
    QNPerson *edited = person();
    m_table = edited ? edited->labeledValueForIdentifier(context->type) : QVariantList();
    reloadData();
    if (context->labelIndex) {
        const qsizetype position = QNPerson::findLabeledValue(m_table, *context->labelIndex);
        selectRowAlone(int(position));
    }
    m_addOnOpening = true;
}

void DatesViewController::updateUI()
{
    const bool editable = isEditable();
    m_dateControls->setControlsEnabled(editable);
    m_addButton->setEnabled(editable);
    m_delButton->setEnabled(editable && !m_table.isEmpty());
    m_tableView->setEditTriggers(editable
                                     ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                           QAbstractItemView::EditKeyPressed
                                     : QAbstractItemView::NoEditTriggers);
    reloadData();
    if (editable)
        takeFocusKeepingSelection();
    // A new list starts with one entry to fill in, but only when the editor opens unlocked.
    if (std::exchange(m_addOnOpening, false) && editable && m_table.isEmpty())
        addPressed();
}

// --- the table ----------------------------------------------------------------------------------

void DatesViewController::reloadData()
{
    const QList<int> selected = selectedRows();
    const int current = m_tableView->currentRow();
    {
        const QScopedValueRollback<bool> reloading(m_reloading, true);
        const QSignalBlocker blocker(m_tableView);
        // Dropping the rows drops their label popups too.
        m_tableView->setRowCount(0);
        m_tableView->setRowCount(int(m_table.size()));
        for (int row = 0; row < m_table.size(); ++row)
            fillRow(row);
        for (int row : selected) {
            if (row < m_table.size())
                m_tableView->selectionModel()->select(m_tableView->model()->index(row, DateColumn),
                                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        if (current >= 0 && current < m_table.size())
            m_tableView->setCurrentCell(current, DateColumn, QItemSelectionModel::NoUpdate);
    }
}

void DatesViewController::fillRow(int row)
{
    const QVariantMap entry = m_table.at(row).toMap();
    auto *date = new QTableWidgetItem(entry.value(PersonKey::StringValue).toString());
    if (!isEditable())
        date->setFlags(date->flags() & ~Qt::ItemIsEditable);
    m_tableView->setItem(row, DateColumn, date);
    m_tableView->setItem(row, LabelColumn, labelItem(entry));
    if (!isEditable())
        return;
    // Unlocked, the label is a popup of the field's labels, each item carrying its stored label.
    const QString label = entry.value(PersonKey::Label).toString();
    const LabelPopup labels(DatesIdentifier, label, true);
    auto *popup = new QComboBox;
    popup->setFrame(false);
    for (const LabelPopup::Item &item : labels.items())
        popup->addItem(item.title, item.label);
    popup->setCurrentIndex(labels.selectedIndex());
    // An entry whose label the field does not offer keeps showing it.
    if (labels.selectedIndex() < 0) {
        popup->addItem(LabelPopup::localizedLabel(label), label);
        popup->setCurrentIndex(popup->count() - 1);
    }
    connect(popup, &QComboBox::activated, this,
            [this, row, popup](int item) { setLabel(row, popup->itemData(item).toString()); });
    m_tableView->setCellWidget(row, LabelColumn, popup);
}

QTableWidgetItem *DatesViewController::labelItem(const QVariantMap &entry) const
{
    auto *item = new QTableWidgetItem(LabelPopup::localizedLabel(entry.value(PersonKey::Label).toString()));
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    return item;
}

// Taking the focus selects the first row of a table without a current row; the controls would
// then edit an entry that the user never chose.
void DatesViewController::takeFocusKeepingSelection()
{
    const bool noneSelected = selectedRows().isEmpty();
    m_tableView->setFocus();
    if (noneSelected)
        m_tableView->clearSelection();
}

QList<int> DatesViewController::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_tableView->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int DatesViewController::selectedRow() const
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return -1;
    const int current = m_tableView->currentRow();
    return rows.contains(current) ? current : rows.last();
}

void DatesViewController::selectRowAlone(int row)
{
    m_tableView->clearSelection();
    if (row < 0 || row >= m_table.size())
        return;
    m_tableView->setCurrentCell(row, DateColumn,
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void DatesViewController::selectionChanged()
{
    const int row = selectedRow();
    if (row < 0 || m_reloading)
        return;
    m_dateControls->showComponents(dateOfEntry(m_table.at(row).toMap()));
}

void DatesViewController::itemChanged(QTableWidgetItem *item)
{
    if (m_reloading || item->column() != DateColumn)
        return;
    setDateText(item->row(), item->text());
}

// --- edits --------------------------------------------------------------------------------------

void DatesViewController::setLabel(int row, const QString &label)
{
    if (row < 0 || row >= m_table.size())
        return;
    QVariantMap entry = m_table.at(row).toMap();
    entry.insert(PersonKey::Label, label);
    m_table[row] = entry;
    noteChange();
}

void DatesViewController::setDateText(int row, const QString &text)
{
    if (row < 0 || row >= m_table.size())
        return;
    if (text.trimmed().isEmpty()) {
        // An emptied date takes the entry out of the list at Done.
        QVariantMap entry = m_table.at(row).toMap();
        entry.remove(PersonKey::Value);
        entry.insert(PersonKey::StringValue, QString());
        m_table[row] = entry;
        noteChange();
        return;
    }
    if (const std::optional<DateComponents> date = DateText::parse(text)) {
        setRowDate(row, *date);
        m_dateControls->showComponents(*date);
        noteChange();
        return;
    }
    // No date: the cell goes back to the entry's text.
    const QSignalBlocker blocker(m_tableView);
    if (QTableWidgetItem *cell = m_tableView->item(row, DateColumn))
        cell->setText(m_table.at(row).toMap().value(PersonKey::StringValue).toString());
}

void DatesViewController::setRowDate(int row, const DateComponents &components)
{
    QVariantMap entry = m_table.at(row).toMap();
    entry.insert(PersonKey::Value, QNPerson::variantFromDateComponents(components));
    entry.insert(PersonKey::StringValue, DateText::text(components));
    m_table[row] = entry;
    const QSignalBlocker blocker(m_tableView);
    if (QTableWidgetItem *cell = m_tableView->item(row, DateColumn))
        cell->setText(entry.value(PersonKey::StringValue).toString());
}

void DatesViewController::addPressed()
{
    const EditorContextPtr context = contextInfo();
    if (!isEditable() || !context || context->type != DatesIdentifier)
        return;
    const DateComponents today = m_dateControls->showComponents(DateText::components(QDate::currentDate()));
    const LabelPopup labels(DatesIdentifier, QString(), true);
    const QVariantMap entry{
        {PersonKey::Value, QNPerson::variantFromDateComponents(today)},
        {PersonKey::StringValue, DateText::text(today)},
        {TypeKey, context->type},
        {PersonKey::Label, labels.items().isEmpty() ? QString() : labels.items().first().label},
        // A number no entry has, deleted ones included: the list's presenter finds entries by it.
        {PersonKey::LabelIndex, QNPerson::nextLabelIndex(m_table)},
    };
    const int selected = selectedRow();
    const int row = selected >= 0 ? selected + 1 : int(m_table.size());
    m_table.insert(row, entry);
    reloadData();
    selectRowAlone(row);
    m_delButton->setEnabled(true);
    noteChange();
}

void DatesViewController::deletePressed()
{
    if (!isEditable())
        return;
    const QList<int> rows = selectedRows();
    for (auto row = rows.crbegin(); row != rows.crend(); ++row)
        m_table.removeAt(*row);
    m_tableView->clearSelection();
    reloadData();
    // The keyboard stays with the list: were "-" disabled while focused, the focus would pass on
    // to the year field, which edits no entry.
    takeFocusKeepingSelection();
    m_delButton->setEnabled(!m_table.isEmpty());
    noteChange();
}

// --- the date controls --------------------------------------------------------------------------

void DatesViewController::takeControlsDate(const DateComponents &date)
{
    m_dateControls->showComponents(date);
    const int row = selectedRow();
    if (isEditable() && row >= 0)
        setRowDate(row, date);
    noteChange();
}

void DatesViewController::monthChosen(int month)
{
    takeControlsDate(DateText::withMonth(m_dateControls->shownComponents(), month));
}

// --- closing ------------------------------------------------------------------------------------

void DatesViewController::finishEditing()
{
    // The text still being typed in a cell counts.
    m_cellDelegate->commitOpenEditor();
    QVariantList entries;
    for (const QVariant &entry : std::as_const(m_table)) {
        if (entry.toMap().contains(PersonKey::Value))
            entries.append(entry);
    }
    commit(entries);
}
