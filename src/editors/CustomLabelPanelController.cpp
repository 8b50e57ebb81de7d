#include "editors/CustomLabelPanelController.h"

#include "addressbook/TextFormat.h"

#include "platform/widgets/Alert.h"

#include "addressbook/DefaultsKey.h"
#include "editors/LabelListEditing.h"
#include "editors/SheetKeys.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

CustomLabelPanelController::CustomLabelPanelController(UserDefaults &defaults, QWidget *parent)
    : Sheet(parent), m_defaults(defaults), m_itemNamePopup(new QComboBox),
      m_tableView(new QTableWidget(0, 1)), m_doneButton(new QPushButton),
      m_addButton(new QPushButton(QStringLiteral("+"))), m_deleteButton(new QPushButton(QStringLiteral("-"))),
      m_cancelButton(new QPushButton(L(QStringLiteral("Cancel"))))
{
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_addButton);
    buttons->addWidget(m_deleteButton);
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_doneButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_itemNamePopup);
    layout->addWidget(m_tableView);
    layout->addLayout(buttons);

    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tableView->setEditTriggers(QAbstractItemView::EditKeyPressed);
    m_tableView->verticalHeader()->hide();
    m_tableView->horizontalHeader()->setStretchLastSection(true);
    m_tableView->horizontalHeader()->setSectionsClickable(true);

    connect(m_itemNamePopup, &QComboBox::activated, this, &CustomLabelPanelController::popupDidSelect);
    connect(m_tableView, &QTableWidget::itemChanged, this, &CustomLabelPanelController::itemChanged);
    connect(m_tableView, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { tableViewDoubleClick(row); });
    connect(m_tableView->horizontalHeader(), &QHeaderView::sectionClicked, this, [this] {
        m_ascending = !m_ascending;
        sortDescriptorsDidChange(m_ascending);
    });
    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { m_deleteButton->setEnabled(selectedRow() >= 0); });
    connect(m_addButton, &QPushButton::clicked, this, &CustomLabelPanelController::addLabel);
    connect(m_deleteButton, &QPushButton::clicked, this, &CustomLabelPanelController::deleteLabel);
    connect(m_doneButton, &QPushButton::clicked, this, &CustomLabelPanelController::donePressed);
    connect(m_cancelButton, &QPushButton::clicked, this, &CustomLabelPanelController::cancelPressed);
    windowDidLoad();
}

void CustomLabelPanelController::windowDidLoad()
{
    m_doneButton->setText(L(QStringLiteral("Done")));
    m_deleteButton->setEnabled(false);
    m_tableView->setHorizontalHeaderLabels({L(QStringLiteral("Label"))});
    SheetKeys::setConfirmingButton(this, m_doneButton);
}

// --- set-up ---------------------------------------------------------------------------------

void CustomLabelPanelController::setCustomItems(const QVariantList &customItems)
{
    m_customItems = customItems;
}

int CustomLabelPanelController::rowHeightForLineHeight(qreal lineHeight)
{
    const int height = static_cast<int>(std::ceil(lineHeight));
    return height < 11 ? 20 : height + 9;
}

void CustomLabelPanelController::setSelectedFont(const QFont &font)
{
    m_selectedFont = font;
    const QFontMetricsF metrics(font);
    m_rowHeight = rowHeightForLineHeight(metrics.ascent() + metrics.descent() + metrics.leading());
    m_tableView->verticalHeader()->setDefaultSectionSize(m_rowHeight);
    if (!table().isEmpty())
        reloadData(selectedRow());
}

void CustomLabelPanelController::setContextInfo(const EditorContext &)
{
    m_customLabelTableDict.clear();
    QStringList kinds = QNPerson::labeledIdentifiers();
    for (const QVariant &item : std::as_const(m_customItems)) {
        const QVariantMap definition = item.toMap();
        const QString name = definition.value(PersonKey::ItemName).toString();
        if (definition.value(PersonKey::ItemType).toString() == PersonValueType::Labeled && !name.isEmpty() &&
            !kinds.contains(name))
            kinds.append(name);
    }
    for (const QString &kind : std::as_const(kinds))
        m_customLabelTableDict.insert(kind,
                                      QNPerson::customLabelsForIdentifier(kind).value_or(QStringList()));
    m_dirtyFlag = false;
    m_contactsChanged = false;
    initItemPopup(kinds);
    updateUI();
    m_doneButton->setEnabled(true);
}

void CustomLabelPanelController::initItemPopup(const QStringList &identifiers)
{
    m_itemNamePopup->clear();
    for (const QString &identifier : identifiers)
        m_itemNamePopup->addItem(QNPerson::localizedIdentifierForKey(identifier), identifier);
    const QString last = m_defaults.stringForKey(DefaultsKey::LastSelectedItemInCustomPanel);
    const int index = last.isEmpty() ? 0 : qMax(0, m_itemNamePopup->findData(last));
    m_itemNamePopup->setCurrentIndex(identifiers.isEmpty() ? -1 : index);
    m_selectedIdentifier = m_itemNamePopup->currentData().toString();
}

void CustomLabelPanelController::popupDidSelect(int index)
{
    const QString identifier = m_itemNamePopup->itemData(index).toString();
    if (identifier.isEmpty())
        return;
    if (m_itemNamePopup->currentIndex() != index)
        m_itemNamePopup->setCurrentIndex(index);
    m_defaults.setObject(identifier, DefaultsKey::LastSelectedItemInCustomPanel);
    m_selectedIdentifier = identifier;
    (void)currentList();
    reloadData(-1);
}

// --- the table ------------------------------------------------------------------------------

int CustomLabelPanelController::selectedRow() const
{
    const QModelIndexList rows = m_tableView->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CustomLabelPanelController::reloadData(int selectRow)
{
    const QStringList labels = table();
    {
        const QSignalBlocker blocker(m_tableView);
        m_tableView->clearSelection();
        m_tableView->setRowCount(int(labels.size()));
        for (int row = 0; row < labels.size(); ++row) {
            auto *item = new QTableWidgetItem(labels.at(row));
            item->setFont(m_selectedFont);
            m_tableView->setItem(row, 0, item);
        }
    }
    if (selectRow >= 0 && selectRow < labels.size())
        m_tableView->selectRow(selectRow);
    m_deleteButton->setEnabled(selectedRow() >= 0);
}

void CustomLabelPanelController::updateUI()
{
    reloadData(selectedRow());
    m_deleteButton->setEnabled(true);
    if (table().isEmpty())
        m_deleteButton->setEnabled(false);
}

void CustomLabelPanelController::itemChanged(QTableWidgetItem *item)
{
    if (item && item->column() == 0)
        textFieldCellChanged(item->row(), item->text());
}

void CustomLabelPanelController::textFieldCellChanged(int row, const QString &text)
{
    const QStringList labels = table();
    if (row < 0 || row >= labels.size() || text == labels.at(row))
        return;
    // An empty text is no rename (deleting is the Delete button's), and a label the kind already
    // offers would stand twice in its menus: the cell goes back to the label.
    if (text.trimmed().isEmpty() || labels.contains(text) ||
        !setLabel(labels.at(row), text, m_selectedIdentifier)) {
        if (!text.trimmed().isEmpty())
            explainRefusedName(text);
        reloadData(row);
        return;
    }
    currentList()[row] = text;
    m_dirtyFlag = true;
    updateUI();
}

// A name the menu already has would stand in it twice, and the words for no label or no service
// are no label's name: the user is told why the old one is back.
void CustomLabelPanelController::explainRefusedName(const QString &text)
{
    Alert alert;
    if (text == PersonKey::NoLabel || text == PersonKey::NoService) {
        alert.setMessageText(TextFormat::fill(
            L(QStringLiteral("\u201C%@\u201D is what an entry without a label shows.")), {text}));
        alert.setInformativeText(L(QStringLiteral("It cannot name a label, so the old name is kept.")));
    } else {
        alert.setMessageText(
            TextFormat::fill(L(QStringLiteral("\u201C%@\u201D is already a label of this kind.")), {text}));
        alert.setInformativeText(
            L(QStringLiteral("A label can stand in its menu only once, so the old name is kept.")));
    }
    alert.runModal();
}

void CustomLabelPanelController::tableViewDoubleClick(int row)
{
    if (row >= 0 && row < table().size())
        m_tableView->editItem(m_tableView->item(row, 0));
}

void CustomLabelPanelController::sortDescriptorsDidChange(bool ascending)
{
    const int row = selectedRow();
    const QString selected = row >= 0 ? table().at(row) : QString();
    currentList() = LabelListEditing::sortedLabels(table(), ascending);
    reloadData(row >= 0 ? int(table().indexOf(selected)) : -1);
}

// --- buttons --------------------------------------------------------------------------------

void CustomLabelPanelController::addLabel()
{
    if (m_selectedIdentifier.isEmpty())
        return;
    const QString identifier = m_selectedIdentifier;
    const QString label = LabelListEditing::nextNewLabel([this, &identifier](const QString &candidate) {
        return table().contains(candidate) || offersLabel(candidate, identifier);
    });
    QStringList &list = currentList();
    const int row = LabelListEditing::insertLabel(list, label, selectedRow());
    reloadData(row);
    m_tableView->editItem(m_tableView->item(row, 0));
    setLabel(QString(), label, identifier);
}

void CustomLabelPanelController::deleteLabel()
{
    const int row = selectedRow();
    if (row >= 0 && setLabel(table().at(row), QString(), m_selectedIdentifier)) {
        currentList().removeAt(row);
        m_dirtyFlag = true;
        updateUI();
    }
    if (table().isEmpty())
        m_deleteButton->setEnabled(false);
}

void CustomLabelPanelController::donePressed()
{
    LabelListEditing::commitEditing(m_tableView);
    endSheet(m_dirtyFlag ? 1 : 0);
    m_doneButton->setEnabled(false);
}

void CustomLabelPanelController::cancelPressed()
{
    endSheet(0);
    m_doneButton->setEnabled(false);
    m_doneButton->setFocus();
}

// --- relabelling ----------------------------------------------------------------------------

bool CustomLabelPanelController::offersLabel(const QString &label, const QString &identifier) const
{
    return QNPerson::labelsForIdentifier(identifier).value_or(QStringList()).contains(label) ||
           QNPerson::customLabelsForIdentifier(identifier).value_or(QStringList()).contains(label);
}

QString CustomLabelPanelController::replacementForDeletedLabel(const QString &identifier)
{
    if (identifier == QLatin1String("Social Network"))
        return QStringLiteral("facebook");
    if (identifier == QLatin1String("Relationship"))
        return QStringLiteral("father");
    if (identifier == QLatin1String("Dates"))
        return QStringLiteral("anniversary");
    return QStringLiteral("");
}

bool CustomLabelPanelController::setLabel(const QString &from, const QString &to, const QString &identifier)
{
    if (!from.isEmpty() && !to.isEmpty() && offersLabel(to, identifier))
        return false;
    // A deleted label leaves the tables; renaming it to "" would leave an empty one in every menu.
    const bool accepted =
        to.isEmpty() ? QNPerson::removeLabel(from, identifier) : QNPerson::setLabel(from, to, identifier);
    if (!accepted)
        return false;
    if (from.isEmpty())
        return true;
    relabelContacts(from, to.isEmpty() ? replacementForDeletedLabel(identifier) : to, identifier);
    return true;
}

bool CustomLabelPanelController::relabelContacts(const QString &from, const QString &to,
                                                 const QString &identifier)
{
    bool changedAny = false;
    for (const QNPersonPtr &person : loadedPersons(m_containerTable)) {
        QVariantList entries = person->labeledValueForIdentifier(identifier);
        bool changed = false;
        for (QVariant &value : entries) {
            QVariantMap entry = value.toMap();
            if (entry.value(PersonKey::Label).toString() != from)
                continue;
            entry.insert(PersonKey::Label, to);
            if (entry.contains(PersonKey::CNLabel))
                entry.insert(PersonKey::CNLabel, QNPerson::CNLabelFromLabel(to));
            value = entry;
            changed = true;
        }
        if (!changed)
            continue;
        person->setValue(entries, identifier);
        // A custom item's list is stored without marking the record, but the save must see it.
        person->setChanged(true);
        changedAny = true;
    }
    m_contactsChanged = m_contactsChanged || changedAny;
    return changedAny;
}
