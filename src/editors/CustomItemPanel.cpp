#include "editors/CustomItemPanel.h"

#include "editors/AddItemViewController.h"
#include "editors/HelpViewController.h"
#include "editors/SheetKeys.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/Popover.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QSize PopoverSize(360, 260);
const QString RowKey = QStringLiteral("row");
const QString LockedKey = QStringLiteral("Locked");
enum Column
{
    NameColumn,
    TypeColumn,
    LabelsColumn
};

} // namespace

CustomItemPanel::CustomItemPanel(QWidget *parent)
    : Sheet(parent), m_tableView(new QTableWidget(0, 3)), m_helpButton(new QPushButton(QStringLiteral("?"))),
      m_addButton(new QPushButton(QStringLiteral("+"))), m_delButton(new QPushButton(QStringLiteral("-"))),
      m_cancelButton(new QPushButton(L(QStringLiteral("Cancel")))), m_doneButton(new QPushButton)
{
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_delButton);
    buttons->addWidget(m_helpButton);
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_doneButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tableView);
    layout->addLayout(buttons);
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableView->verticalHeader()->hide();
    m_tableView->horizontalHeader()->setStretchLastSection(true);
    connect(m_tableView, &QTableWidget::cellDoubleClicked, this, &CustomItemPanel::tableViewDoubleAction);
    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CustomItemPanel::selectionDidChange);
    connect(m_helpButton, &QPushButton::clicked, this, &CustomItemPanel::showHelp);
    connect(m_addButton, &QPushButton::clicked, this,
            [this] { showAddItemPopoverInRect(m_tableView->rect(), std::nullopt); });
    connect(m_delButton, &QPushButton::clicked, this, &CustomItemPanel::deleteItems);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { endSheet(0); });
    connect(m_doneButton, &QPushButton::clicked, this, [this] { endSheet(m_itemsDirty ? 1 : 0); });
    windowDidLoad();
}

Popover *CustomItemPanel::popover() const
{
    return m_popover;
}

AddItemViewController *CustomItemPanel::addItemViewController() const
{
    return m_addItemViewController;
}

HelpViewController *CustomItemPanel::helpViewController() const
{
    return m_helpViewController;
}

void CustomItemPanel::windowDidLoad()
{
    m_delButton->setEnabled(false);
    reloadData(-1);
    m_helpButton->setToolTip(L(QStringLiteral("CustomItemPanel_tooltip")));
    m_doneButton->setText(L(QStringLiteral("Done")));
    SheetKeys::setConfirmingButton(this, m_doneButton);
    m_tableView->setHorizontalHeaderLabels(
        {L(PersonKey::ItemName), L(PersonKey::ItemType), L(PersonKey::ItemLabels)});
}

void CustomItemPanel::setCustomItems(const QVariantList &customItems)
{
    m_customItems = customItems;
    reloadData(-1);
    m_delButton->setEnabled(false);
    m_itemsDirty = false;
}

// --- the table ------------------------------------------------------------------------------

void CustomItemPanel::reloadData(int selectRow)
{
    {
        const QSignalBlocker blocker(m_tableView);
        m_tableView->clearSelection();
        m_tableView->setRowCount(int(m_customItems.size()));
        for (int row = 0; row < m_customItems.size(); ++row) {
            const QVariantMap item = m_customItems.at(row).toMap();
            const bool labeled = item.value(PersonKey::ItemType).toString() == PersonValueType::Labeled;
            auto *name = new QTableWidgetItem(item.value(PersonKey::ItemName).toString());
            name->setIcon(QIcon(QPixmap::fromImage(AddItemViewController::iconOfItem(item))));
            m_tableView->setItem(row, NameColumn, name);
            // The type in the user's language; the record keeps it as stored.
            m_tableView->setItem(row, TypeColumn,
                                 new QTableWidgetItem(item.value(PersonKey::ItemDeleted).toBool()
                                                          ? L(QStringLiteral("Deleted"))
                                                          : L(item.value(PersonKey::ItemType).toString())));
            m_tableView->setItem(
                row, LabelsColumn,
                new QTableWidgetItem(
                    labeled ? item.value(PersonKey::ItemLabels).toStringList().join(QLatin1Char(','))
                            : QString()));
        }
    }
    if (selectRow >= 0 && selectRow < m_customItems.size())
        m_tableView->selectRow(selectRow);
    selectionDidChange();
}

QList<int> CustomItemPanel::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_tableView->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Items marked "Locked" may be selected, but not deleted.
void CustomItemPanel::selectionDidChange()
{
    const QList<int> rows = selectedRows();
    bool deletable = !rows.isEmpty();
    for (int row : rows) {
        if (m_customItems.value(row).toMap().value(LockedKey).toBool())
            deletable = false;
    }
    m_delButton->setEnabled(deletable);
}

// --- buttons --------------------------------------------------------------------------------

void CustomItemPanel::tableViewDoubleAction(int row, int column)
{
    if (row < 0 || row >= m_customItems.size() || column < 0)
        return;
    QVariantMap item = m_customItems.at(row).toMap();
    if (item.value(PersonKey::ItemType).toString() != PersonValueType::Labeled)
        return;
    item.insert(RowKey, row);
    showAddItemPopoverInRect(m_tableView->visualItemRect(m_tableView->item(row, NameColumn)), item);
}

void CustomItemPanel::deleteItems()
{
    Alert alert;
    alert.setAlertStyle(Alert::Style::Warning);
    alert.setMessageText(L(QStringLiteral("CustomItemPanel_delbutton")));
    alert.setInformativeText(L(QStringLiteral("CustomItemPanel_delbutton_info")));
    alert.addButton(L(QStringLiteral("OK")));
    alert.addButton(L(QStringLiteral("Cancel")), Alert::ButtonRole::Cancel);
    QPointer<CustomItemPanel> self(this);
    alert.beginSheetModalForWindow(this, [self](int response) {
        if (self && response == Alert::FirstButton)
            self->markDeleted(self->selectedRows());
    });
}

void CustomItemPanel::markDeleted(const QList<int> &rows)
{
    if (rows.isEmpty())
        return;
    for (int row : rows) {
        QVariantMap item = m_customItems.value(row).toMap();
        if (item.value(LockedKey).toBool())
            continue;
        item.insert(PersonKey::ItemDeleted, true);
        m_customItems[row] = item;
        m_itemsDirty = true;
    }
    reloadData(-1);
}

// --- popovers -------------------------------------------------------------------------------

Popover *CustomItemPanel::makePopover(bool transient)
{
    if (m_popover)
        m_popover->close();
    auto *popover = new Popover(this);
    popover->setBehavior(transient ? Popover::Behavior::Transient : Popover::Behavior::Semitransient);
    popover->setContentSize(PopoverSize);
    connect(popover, &Popover::closed, this, [this, popover] { popoverDidClose(popover); });
    m_popover = popover;
    return popover;
}

QStringList CustomItemPanel::liveNames() const
{
    QStringList names;
    for (const QVariant &value : m_customItems) {
        const QVariantMap item = value.toMap();
        if (!item.value(PersonKey::ItemDeleted).toBool())
            names.append(item.value(PersonKey::ItemName).toString());
    }
    return names;
}

void CustomItemPanel::showAddItemPopoverInRect(const QRect &rect, const std::optional<QVariantMap> &item)
{
    Popover *popover = makePopover(false);
    auto *controller = new AddItemViewController;
    controller->setPopover(popover);
    popover->setContentWidget(controller);
    m_addItemViewController = controller;
    popover->showRelativeToRect(rect, m_tableView->viewport(), Popover::Edge::MaxY);
    controller->setTakenNames(liveNames());
    controller->setContextInfo(item);
}

void CustomItemPanel::showHelp()
{
    Popover *popover = makePopover(true);
    auto *controller = new HelpViewController;
    controller->setPopover(popover);
    controller->setIsVCard(m_isVCard);
    popover->setContentWidget(controller);
    m_helpViewController = controller;
    popover->showRelativeToRect(m_helpButton->geometry(), this, Popover::Edge::MaxY);
}

void CustomItemPanel::popoverDidClose(Popover *popover)
{
    if (!popover)
        return;
    auto *controller = qobject_cast<AddItemViewController *>(popover->contentWidget());
    // Only Done hands an item over; a click outside or Cancel leaves the list as it was.
    if (controller && controller->didFinishWithDone())
        takeItem(controller->contextInfo());
    if (m_popover == popover)
        m_popover = nullptr;
    popover->deleteLater();
}

void CustomItemPanel::takeItem(QVariantMap item)
{
    int row = -1;
    if (item.contains(RowKey)) {
        // An item of the list, also one added in this run: it keeps its place and its flags.
        row = item.take(RowKey).toInt();
        if (item.value(PersonKey::ItemNew).toBool())
            item.remove(PersonKey::ItemChanged);
        if (row < 0 || row >= m_customItems.size())
            return;
        m_customItems[row] = item;
    } else if (item.value(PersonKey::ItemNew).toBool()) {
        item.remove(PersonKey::ItemChanged);
        m_customItems.append(item);
        row = int(m_customItems.size()) - 1;
    } else {
        return;
    }
    m_itemsDirty = true;
    reloadData(row);
}
