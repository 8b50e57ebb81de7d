#include "grid/ContactsViewController.h"

#include "addressbook/DefaultsKey.h"
#include "grid/GridCellDelegate.h"
#include "grid/GridCellEditing.h"
#include "grid/GridClipboard.h"
#include "grid/GridColumns.h"
#include "grid/GridCommands.h"
#include "grid/GridContactPopovers.h"
#include "grid/GridDragAndDrop.h"
#include "grid/GridEditorPresenter.h"
#include "grid/GridField.h"
#include "grid/GridModel.h"
#include "grid/GridRowBuilder.h"
#include "grid/GridSelectionMemory.h"
#include "grid/GridSorter.h"
#include "grid/GridTableView.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/Popover.h"
#include "ui/contracts/ContactsViewControllerDelegate.h"
#include "ui/widgets/FontService.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QItemSelection>

#include <cmath>

namespace {

const QString DefaultSortKey = QStringLiteral("compositeName");
const QString AddressIdentifier = QStringLiteral("Address");
const QString KeyKey = QStringLiteral("key");
const QString AscendingKey = QStringLiteral("ascending");
constexpr double DefaultFontSize = 12.0;
constexpr int StartRowHeight = 20;

} // namespace

ContactsViewController::ContactsViewController(UserDefaults &defaults, QObject *parent)
    : QObject(parent), m_defaults(defaults), m_tableView(new GridTableView),
      m_model(new GridModel(m_state, this)), m_cellDelegate(new GridCellDelegate(m_state, this)),
      m_editors(new GridEditorPresenter(m_state, *m_tableView, this)),
      m_contactPopovers(new GridContactPopovers(m_state, *m_tableView, *m_editors, this)),
      m_cellEditing(new GridCellEditing(m_state, *m_tableView, *this, *m_editors, *m_contactPopovers, this)),
      m_clipboard(std::make_unique<GridClipboard>(*this, defaults))
{
    m_state.columns = {GridColumns::nameColumn()};
    m_tableView->setModel(m_model);
    m_tableView->setItemDelegate(m_cellDelegate);
    new GridDragAndDrop(*this, *m_clipboard);
    m_tableView->horizontalHeader()->setMinimumSectionSize(int(DefaultsKey::MinimumColumnWidth));
    connectTable();
    viewDidLoad();
    m_commands = std::make_unique<GridCommands>(*this);
    connect(m_commands.get(), &GridCommands::editorRequested, this,
            &ContactsViewController::showRequestedEditor);
}

// The cell menu's and the keys' editors open in the grid's one popover, written to the chosen rows.
void ContactsViewController::showRequestedEditor(const GridEditorRequest &request)
{
    m_editors->setChosenRows(request.targets);
    const QRect &rect = request.cellRect;
    switch (request.editor) {
    case GridEditor::Name:
        m_editors->showNamePopover(request.row, request.type, rect);
        break;
    case GridEditor::PhoneticName:
        m_editors->showPhoneticNamePopover(request.row, request.type, rect);
        break;
    case GridEditor::Address:
        m_editors->showAddressPopover(request.row, request.type, request.labelIndex, rect);
        break;
    case GridEditor::InstantMessage:
        m_editors->showIMSPopover(request.row, request.type, request.labelIndex, rect);
        break;
    case GridEditor::SocialProfile:
        m_editors->showSNSPopover(request.row, request.type, request.labelIndex, rect);
        break;
    case GridEditor::Date:
        m_editors->showDatePopover(request.row, request.type, request.labelIndex, rect);
        break;
    case GridEditor::MultiValue:
        m_editors->showMultiValuePopover(request.row, request.type, request.labelIndex, rect);
        break;
    case GridEditor::ContactInfo:
        m_contactPopovers->showContactInfoPopover(request.row, rect);
        break;
    }
}

ContactsViewController::~ContactsViewController()
{
    m_contactPopovers->closeAllSilently();
    // A table handed to a layout may outlive this controller for a moment; it must not reach the
    // model and delegate, which go with it.
    if (m_tableView) {
        m_tableView->setModel(nullptr);
        m_tableView->setItemDelegate(nullptr);
    }
}

void ContactsViewController::connectTable()
{
    QHeaderView *header = m_tableView->horizontalHeader();
    connect(m_tableView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ContactsViewController::tableViewSelectionDidChange);
    connect(header, &QHeaderView::sectionClicked, this, &ContactsViewController::headerClicked);
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int newWidth) { tableViewColumnDidResize(column, newWidth); });
    connect(header, &QHeaderView::sectionMoved, this, &ContactsViewController::tableViewColumnDidMove);
    connect(m_tableView, &GridTableView::willAppear, this, &ContactsViewController::viewWillAppear);
    connect(m_tableView, &QAbstractItemView::doubleClicked, m_cellEditing,
            &GridCellEditing::tableViewDoubleAction);
    connect(m_cellDelegate, &GridCellDelegate::textCommitted, m_cellEditing,
            &GridCellEditing::inPlaceEditEnded);
    connect(m_cellDelegate, &GridCellDelegate::labelPopupClicked, m_cellEditing,
            &GridCellEditing::showLabelPopup, Qt::QueuedConnection);
}

void ContactsViewController::setDelegate(ContactsViewControllerDelegate *delegate)
{
    m_delegate = delegate;
    m_editors->setDelegate(delegate);
    m_contactPopovers->setDelegate(delegate);
    m_cellEditing->setDelegate(delegate);
}

// --- set-up ---------------------------------------------------------------------------------

void ContactsViewController::viewDidLoad()
{
    m_state.showCompanyInNameCell = m_defaults.boolForKey(DefaultsKey::ShowCompanyInNameCell);
    setSelectedFont(FontService::systemFont(DefaultFontSize));
    // Rows stay 20 high until the font is set again.
    m_state.rowHeight = StartRowHeight;
    applyRowHeights();
    m_state.editState = true;

    const QVariant widths = m_defaults.objectForKey(DefaultsKey::ColumnWidthDictionary);
    if (widths.isValid()) {
        m_columnWidthDictionary = widths.toMap();
        // A dictionary without the name's width would narrow the column to nothing.
        if (m_columnWidthDictionary.contains(PersonIdentifier::Name))
            m_state.columns.first().width = m_columnWidthDictionary.value(PersonIdentifier::Name).toDouble();
    } else {
        m_columnWidthDictionary.insert(PersonIdentifier::Name, m_state.columns.first().width);
    }
    m_settingUpColumns = true;
    m_tableView->horizontalHeader()->resizeSection(0, int(m_state.columns.first().width));
    m_settingUpColumns = false;
}

void ContactsViewController::viewWillAppear()
{
    const QString viewType = m_defaults.stringForKey(DefaultsKey::SelectedViewType);
    setSelectedViewType(viewType);
    SortDescriptor chosen{DefaultSortKey, true};
    const QVariantMap last = m_defaults.dictionaryForKey(DefaultsKey::LastSortDesc);
    if (!last.isEmpty()) {
        const SortDescriptor saved{last.value(KeyKey).toString(), last.value(AscendingKey).toBool()};
        const auto split = GridSortKey::separateSortKeyIntoIdentifierAndKey(saved.key);
        const QStringList shown =
            m_defaults.dictionaryForKey(DefaultsKey::ViewTypeDict).value(viewType).toStringList();
        // An address part's column ("ZIP") sorts by a key of the "Address" field.
        if (split && (shown.contains(split->identifier) || shown.contains(saved.key)))
            chosen = saved;
    }
    // Applied with or without rows: the table often arrives after the view appears, and with no
    // rows a new sort changes nothing else.
    if (m_sortDescriptors.isEmpty() || m_sortDescriptors.first().key != chosen.key)
        setSortDescriptors({chosen});
}

QWidget *ContactsViewController::view()
{
    return m_tableView;
}

QAbstractItemView *ContactsViewController::tableView()
{
    return m_tableView;
}

// --- columns --------------------------------------------------------------------------------

int ContactsViewController::leadingColumnsWidth() const
{
    const QHeaderView *header = m_tableView->horizontalHeader();
    int width = 0;
    int counted = 0;
    for (int visual = 0; visual < header->count() && counted < 2; ++visual) {
        const int logical = header->logicalIndex(visual);
        if (header->isSectionHidden(logical) || logical < 0 || logical >= m_state.columns.size())
            continue;
        width += int(m_state.columns.at(logical).width);
        ++counted;
    }
    return width;
}

void ContactsViewController::setSelectedViewType(const QString &viewType)
{
    const QVariantMap viewTypes = m_defaults.dictionaryForKey(DefaultsKey::ViewTypeDict);
    updateColumnsInTableView(viewTypes.value(viewType).toStringList());
}

void ContactsViewController::updateColumnsInTableView(const QStringList &identifiers)
{
    QHeaderView *header = m_tableView->horizontalHeader();
    GridColumn name = m_state.columns.first();
    if (!m_tableView->isFillingColumn(0))
        name.width = header->sectionSize(0);
    const QVariantMap sortOptions = m_defaults.dictionaryForKey(DefaultsKey::SortOptionsDict);
    const SelectionKey before = selectionKey();
    const GridSelectionMemory memory = rememberSelection();
    m_settingUpColumns = true;
    m_reloading = true;
    m_model->reset([&] {
        m_state.columns =
            GridColumns::columnsForIdentifiers(name, identifiers, sortOptions, m_columnWidthDictionary);
    });
    for (int column = 0; column < m_state.columns.size(); ++column) {
        // New columns stand in list order, whatever order the previous ones were moved into.
        if (header->visualIndex(column) != column)
            header->moveSection(header->visualIndex(column), column);
        header->resizeSection(column, int(m_state.columns.at(column).width));
    }
    m_settingUpColumns = false;
    // A contact takes one row per value position of its shown fields: other columns, other rows.
    reloadKeepingSelection(memory, before, true);
}

QStringList ContactsViewController::tableIdentifiers()
{
    QHeaderView *header = m_tableView->horizontalHeader();
    QStringList identifiers;
    for (int visual = 0; visual < m_state.columns.size(); ++visual) {
        const int logical = header->logicalIndex(visual);
        identifiers.append(m_state.columns.at(logical < 0 ? visual : logical).identifier);
    }
    return identifiers;
}

void ContactsViewController::tableViewColumnDidResize(int column, int newWidth)
{
    if (m_settingUpColumns || column < 0 || column >= m_state.columns.size() ||
        m_tableView->isFillingColumn(column))
        return;
    m_state.columns[column].width = newWidth;
    m_columnWidthDictionary.insert(m_state.columns.at(column).identifier, double(newWidth));
}

void ContactsViewController::tableViewColumnDidMove(int, int oldVisual, int newVisual)
{
    if (m_settingUpColumns)
        return;
    // "Name" stays first: nothing moves it and nothing goes before it.
    if (oldVisual == 0 || newVisual == 0) {
        m_settingUpColumns = true;
        m_tableView->horizontalHeader()->moveSection(newVisual, oldVisual);
        m_settingUpColumns = false;
        return;
    }
    saveColumnWithDictionary();
}

void ContactsViewController::saveColumnWithDictionary()
{
    m_defaults.setObject(m_columnWidthDictionary, DefaultsKey::ColumnWidthDictionary);
    const QString viewType = m_defaults.stringForKey(DefaultsKey::SelectedViewType);
    if (!viewType.isNull()) {
        QVariantMap viewTypes = m_defaults.dictionaryForKey(DefaultsKey::ViewTypeDict);
        viewTypes.insert(viewType, tableIdentifiers());
        m_defaults.setObject(viewTypes, DefaultsKey::ViewTypeDict);
    }
    m_defaults.synchronize();
}

// --- settings -------------------------------------------------------------------------------

void ContactsViewController::setSelectedLabels(const QStringList &labels)
{
    // Takes effect at the next reload, which then finds the selection by contact.
    if (labels != m_state.selectedLabels)
        m_rowsReshaped = true;
    m_state.selectedLabels = labels;
}

void ContactsViewController::setEditState(bool editState)
{
    m_state.editState = editState;
    m_model->cellsChanged();
}

int ContactsViewController::rowHeightForFont(const QFont &font, double logicalDpi)
{
    const double pixelSize = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * logicalDpi / 72.0;
    QFont sized = font;
    sized.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    const QFontMetricsF metrics(sized);
    int height = int(std::ceil(metrics.ascent() + metrics.descent() + std::max<qreal>(0, metrics.leading())));
    height = std::max(height, int(std::ceil(pixelSize * 1.42)));
    return height >= 11 ? height + 9 : 20;
}

void ContactsViewController::setSelectedFont(const QFont &font)
{
    m_state.selectedFont = font;
    m_state.selectedBoldfont = font;
    m_state.selectedBoldfont.setBold(true);
    m_state.rowHeight = rowHeightForFont(font, m_tableView->logicalDpiY());
    applyRowHeights();
    m_model->cellsChanged();
    const QList<int> selected = m_tableView->selectedRowIndexes();
    if (!selected.isEmpty())
        m_tableView->scrollTo(m_model->index(selected.first(), 0));
    m_contactPopovers->setSelectedFont(font);
}

void ContactsViewController::toggleShowCompany()
{
    m_state.showCompanyInNameCell = !m_state.showCompanyInNameCell;
    m_defaults.setBool(m_state.showCompanyInNameCell, DefaultsKey::ShowCompanyInNameCell);
    updateTable();
}

std::optional<LabelPopup> ContactsViewController::labelPopupAt(const QModelIndex &index) const
{
    const GridCell cell = m_model->cell(index);
    if (!cell.showsLabel())
        return std::nullopt;
    const QString identifier = m_state.columns.at(index.column()).identifier;
    return LabelPopup(GridField::isAddressPart(identifier) ? AddressIdentifier : identifier,
                      cell.labeledValue.value(PersonKey::Label).toString(), m_state.editState);
}

void ContactsViewController::addLabel(const QString &label, const QString &identifier)
{
    if (!label.isNull())
        QNPerson::setLabel(QString(), label, identifier);
}

// --- rows -----------------------------------------------------------------------------------

void ContactsViewController::setCustomItems(const QVariantList &customItems)
{
    m_state.customItems = customItems;
    // A custom item's type decides how a field reads.
    m_displayCache.clear();
}

GridRows ContactsViewController::buildRows(const QStringList &identifiers)
{
    if (!m_state.contactTable)
        return {};
    m_displayCache.beginUpdate();
    const GridRowBuilder builder(identifiers, m_state.selectedLabels, m_state.customItems,
                                 m_state.showCompanyInNameCell, m_displayCache);
    const SortDescriptor descriptor =
        m_sortDescriptors.isEmpty() ? SortDescriptor{DefaultSortKey, true} : m_sortDescriptors.first();
    const auto key = GridSortKey::separateSortKeyIntoIdentifierAndKey(descriptor.key);
    std::optional<GridSorter> sorter;
    if (key)
        sorter.emplace(*key, descriptor.ascending, m_state.selectedLabels, m_state.customItems,
                       m_displayCache);
    // Each contact's sort values are read while its rows are made, when its values are at hand.
    GridRows rows = builder.rowsForContactTable(*m_state.contactTable, sorter ? &*sorter : nullptr);
    if (sorter)
        sorter->sort(rows);
    rows.markContinuationRows();
    builder.addNameCellLines(rows);
    m_displayCache.endUpdate();
    return rows;
}

void ContactsViewController::reloadData()
{
    if (m_delegate)
        m_state.groupName =
            m_delegate->selectedGroupDict() ? m_delegate->selectedGroupDict()->name : QString();
    const QStringList identifiers = tableIdentifiers();
    m_model->reset([&] { m_state.subContactTable = buildRows(identifiers); });
    m_rowsReshaped = false;
    applyRowHeights();
    updateFooterSpan();
    updateSortIndicator();
}

void ContactsViewController::applyRowHeights()
{
    QHeaderView *header = m_tableView->verticalHeader();
    const int height = m_state.rowHeight;
    if (header->defaultSectionSize() != height)
        header->setDefaultSectionSize(height);
    // Without updates each resize is a constant step rather than a walk over every row.
    const bool updates = header->updatesEnabled();
    header->setUpdatesEnabled(false);
    for (int row : std::as_const(m_tallRows)) {
        if (row < header->count())
            header->resizeSection(row, height);
    }
    m_tallRows.clear();
    const GridRows &rows = m_state.subContactTable;
    for (int row = 0; row < rows.size() && row < header->count(); ++row) {
        if (rows.row(row).numLines > 1) {
            header->resizeSection(row, rows.row(row).numLines * height);
            m_tallRows.append(row);
        }
    }
    header->setUpdatesEnabled(updates);
}

void ContactsViewController::updateFooterSpan()
{
    m_tableView->clearSpans();
    if (m_state.contactTable && m_state.columns.size() > 1)
        m_tableView->setSpan(int(m_state.subContactTable.size()), 0, 1, int(m_state.columns.size()));
}

SubContactRowPtr ContactsViewController::rowAt(int row) const
{
    return row >= 0 && row < m_state.subContactTable.size() ? m_state.subContactTable.at(row) : nullptr;
}

QString ContactsViewController::sortIdentifier() const
{
    if (m_sortDescriptors.isEmpty())
        return PersonIdentifier::Name;
    const auto key = GridSortKey::separateSortKeyIntoIdentifierAndKey(m_sortDescriptors.first().key);
    return key ? key->identifier : PersonIdentifier::Name;
}

void ContactsViewController::updateTable()
{
    reloadKeepingSelection(rememberSelection(), selectionKey(), m_rowsReshaped);
}

GridSelectionMemory ContactsViewController::rememberSelection() const
{
    return GridSelectionMemory(m_state.subContactTable, m_tableView->selectedRowIndexes(), sortIdentifier(),
                               m_state.customItems);
}

void ContactsViewController::reloadKeepingSelection(const GridSelectionMemory &memory,
                                                    const SelectionKey &before, bool reshaped)
{
    m_reloading = true;
    reloadData();
    const QList<int> rows = reshaped ? memory.rowsOfSelectedContacts(m_state.subContactTable)
                                     : memory.rowsToSelect(m_state.subContactTable);
    selectRows(rows, rowOf(before, rows));
    m_reloading = false;
    notifyIfSelectionMoved(before);
    refreshDetailViews();
}

void ContactsViewController::refreshDetailViews()
{
    m_contactPopovers->refreshDetailViews(rowAt(m_tableView->selectedRow()));
}

// --- selection ------------------------------------------------------------------------------

void ContactsViewController::selectRows(const QList<int> &rows, int current)
{
    if (rows.isEmpty() || m_state.columns.isEmpty())
        return;
    const int currentRow = rows.contains(current) ? current : rows.first();
    m_tableView->selectionModel()->setCurrentIndex(m_model->index(currentRow, 0),
                                                   QItemSelectionModel::NoUpdate);
    m_tableView->selectRows(rows);
    m_tableView->scrollTo(m_model->index(rows.first(), 0));
}

int ContactsViewController::rowOf(const SelectionKey &key, const QList<int> &among) const
{
    for (int row : among) {
        if (row >= 0 && row < m_state.subContactTable.size() &&
            m_state.subContactTable.uniqueId(row) == key.uniqueId &&
            m_state.subContactTable.labelIndex(row) == key.labelIndex)
            return row;
    }
    return -1;
}

ContactsViewController::SelectionKey ContactsViewController::selectionKey() const
{
    const SubContactRowPtr row = rowAt(m_tableView->selectedRow());
    return row ? SelectionKey{row->uniqueId, row->person.get(), row->labelIndex} : SelectionKey{};
}

void ContactsViewController::notifyIfSelectionMoved(const SelectionKey &before)
{
    const SubContactRowPtr row = rowAt(m_tableView->selectedRow());
    if (row && m_delegate && selectionKey() != before)
        m_delegate->rowSelectionDidChange(row);
}

void ContactsViewController::tableViewSelectionDidChange()
{
    if (m_reloading || !m_delegate)
        return;
    if (const SubContactRowPtr row = rowAt(m_tableView->selectedRow()))
        m_delegate->rowSelectionDidChange(row);
}

void ContactsViewController::selectRowIndexesWithContacts(const QList<ContactRowPtr> &contacts)
{
    if (!m_state.contactTable || m_state.contactTable->isEmpty())
        return;
    QSet<QString> uniqueIds;
    for (const ContactRowPtr &contact : contacts)
        uniqueIds.insert(contact->uniqueId);
    QList<int> rows;
    for (int row = 0; row < m_state.subContactTable.size(); ++row) {
        if (uniqueIds.contains(m_state.subContactTable.uniqueId(row)))
            rows.append(row);
    }
    selectRows(rows);
}

QList<SubContactRowPtr> ContactsViewController::selectedSubContacts()
{
    QList<SubContactRowPtr> rows;
    for (int row : m_tableView->selectedRowIndexes()) {
        if (const SubContactRowPtr subContact = rowAt(row))
            rows.append(subContact);
    }
    return rows;
}

QList<ContactRowPtr> ContactsViewController::selectedContacts()
{
    return contactsForIndexes(m_tableView->selectedRowIndexes());
}

QList<ContactRowPtr> ContactsViewController::contactsForIndexes(const QList<int> &rows)
{
    QList<ContactRowPtr> contacts;
    if (!m_state.contactTable)
        return contacts;
    QHash<QString, ContactRowPtr> byUniqueId;
    for (const ContactRowPtr &contact : std::as_const(*m_state.contactTable))
        byUniqueId.insert(contact->uniqueId, contact);
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    QSet<QString> taken;
    for (int row : std::as_const(sorted)) {
        const SubContactRowPtr subContact = rowAt(row);
        if (!subContact || taken.contains(subContact->uniqueId))
            continue;
        const ContactRowPtr contact = byUniqueId.value(subContact->uniqueId);
        if (!contact || contact->deleted)
            continue;
        taken.insert(subContact->uniqueId);
        contacts.append(contact);
    }
    return contacts;
}

std::optional<QList<ContactRowPtr>>
ContactsViewController::selectedContactsWithClickedRowIndex(int clickedRow)
{
    QList<int> rows = m_tableView->selectedRowIndexes();
    if (clickedRow != -1)
        rows.append(clickedRow);
    QSet<QString> uniqueIds;
    for (int row : std::as_const(rows)) {
        if (const SubContactRowPtr subContact = rowAt(row))
            uniqueIds.insert(subContact->uniqueId);
    }
    if (!m_state.contactTable)
        return std::nullopt;
    QList<ContactRowPtr> contacts;
    for (const ContactRowPtr &contact : std::as_const(*m_state.contactTable)) {
        if (uniqueIds.contains(contact->uniqueId))
            contacts.append(contact);
    }
    if (contacts.isEmpty())
        return std::nullopt;
    return contacts;
}

// --- sorting --------------------------------------------------------------------------------

void ContactsViewController::updateSortIndicator()
{
    QHeaderView *header = m_tableView->horizontalHeader();
    if (m_sortDescriptors.isEmpty()) {
        header->setSortIndicator(-1, Qt::AscendingOrder);
        return;
    }
    const SortDescriptor &descriptor = m_sortDescriptors.first();
    int column = -1;
    for (int i = 0; i < m_state.columns.size() && column < 0; ++i) {
        if (m_state.columns.at(i).sortPrototype.key == descriptor.key)
            column = i;
    }
    header->setSortIndicator(column, descriptor.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void ContactsViewController::headerClicked(int column)
{
    if (column < 0 || column >= m_state.columns.size())
        return;
    SortDescriptor descriptor = m_state.columns.at(column).sortPrototype;
    if (!m_sortDescriptors.isEmpty() && m_sortDescriptors.first().key == descriptor.key)
        descriptor.ascending = !m_sortDescriptors.first().ascending;
    setSortDescriptors({descriptor});
}

void ContactsViewController::sortOptionsChanged(const QVariantMap &sortOptions, const QString &columnName)
{
    for (GridColumn &column : m_state.columns) {
        if (column.identifier != columnName)
            continue;
        column.sortPrototype = {GridColumns::sortKeyForOptions(sortOptions), column.sortPrototype.ascending};
        setSortDescriptors({column.sortPrototype});
        return;
    }
}

void ContactsViewController::setSortDescriptors(const QList<SortDescriptor> &descriptors)
{
    const QList<SortDescriptor> old = m_sortDescriptors;
    m_sortDescriptors = descriptors;
    updateSortIndicator();
    tableViewSortDescriptorsDidChange(old);
}

QVariant ContactsViewController::anchorValue(const SubContactRow &row, const GridSortKey &key,
                                             const QString &sortKey) const
{
    QNPerson &person = *row.person;
    if (key.identifier == PersonIdentifier::Birthday) {
        const auto birthday = person.birthdayValue();
        return birthday ? birthday->value(PersonKey::StringValue) : QVariant();
    }
    if (key.identifier == PersonIdentifier::Name)
        return person.nameValue().value(sortKey);
    if (key.identifier == PersonIdentifier::PhoneticName)
        return person.phoneticNameValue().value_or(QVariantMap()).value(sortKey);
    const QString type = GridField::valueType(key.identifier, person, m_state.customItems);
    if (type == PersonValueType::Labeled) {
        const auto value = person.labeledValueForIdentifierAtIndex(key.identifier, row.labelIndex);
        return value ? value->value(PersonKey::StringValue) : QVariant();
    }
    if (type == PersonValueType::String)
        return person.stringValueForIdentifier(key.identifier);
    return QVariant();
}

void ContactsViewController::tableViewSortDescriptorsDidChange(const QList<SortDescriptor> &oldDescriptors)
{
    if (!m_state.contactTable || m_state.contactTable->isEmpty() || m_sortDescriptors.isEmpty())
        return;
    const QList<int> selected = m_tableView->selectedRowIndexes();
    const SortDescriptor descriptor = m_sortDescriptors.first();
    const GridSortKey key =
        GridSortKey::separateSortKeyIntoIdentifierAndKey(descriptor.key).value_or(GridSortKey());
    // The selected row's contact and value, found again after the re-sort.
    const SubContactRowPtr anchor = rowAt(m_tableView->selectedRow());
    const QVariant anchorText = anchor ? anchorValue(*anchor, key, descriptor.key) : QVariant();
    if (m_delegate && (oldDescriptors.isEmpty() || oldDescriptors.first() != descriptor))
        m_delegate->sortDescriptorsDidChange(m_sortDescriptors);

    const SelectionKey before = selectionKey();
    m_reloading = true;
    reloadData();
    int found = -1;
    for (int row = 0; anchor && row < m_state.subContactTable.size() && found < 0; ++row) {
        if (m_state.subContactTable.uniqueId(row) != anchor->uniqueId)
            continue;
        const SubContactRow &candidate = *m_state.subContactTable.at(row);
        if (anchorText.isValid() ? anchorValue(candidate, key, descriptor.key) == anchorText
                                 : candidate.labelIndex == anchor->labelIndex)
            found = row;
    }
    QList<int> rows;
    if (found >= 0) {
        rows = {found};
    } else {
        for (int row : selected) {
            if (row < m_state.subContactTable.size())
                rows.append(row);
        }
    }
    selectRows(rows);
    m_reloading = false;
    notifyIfSelectionMoved(before);
    m_defaults.setObject(QVariantMap{{KeyKey, descriptor.key}, {AscendingKey, descriptor.ascending}},
                         DefaultsKey::LastSortDesc);
}

// --- find -----------------------------------------------------------------------------------

void ContactsViewController::selectItemAndRange(const std::optional<ItemAndRange> &itemAndRange)
{
    if (!m_state.contactTable)
        return;
    m_state.selectedItemAndRange = itemAndRange;
    const ItemAndRange hit = itemAndRange.value_or(ItemAndRange());
    const QString &uniqueId = hit.uniqueId;
    const int labelIndex = hit.labelIndex;
    const GridSelectionMemory memory = rememberSelection();
    m_reloading = true;
    reloadData();
    // The hit's own row, else its contact's first row (its value may be filtered out); matching
    // the position alone could pick another contact's row.
    int hitRow = -1;
    int contactRow = -1;
    for (int row = 0; row < m_state.subContactTable.size() && hitRow < 0; ++row) {
        if (m_state.subContactTable.uniqueId(row) != uniqueId)
            continue;
        if (contactRow < 0)
            contactRow = row;
        if (m_state.subContactTable.labelIndex(row) == labelIndex)
            hitRow = row;
    }
    const int row = hitRow >= 0 ? hitRow : contactRow;
    selectRows(row >= 0 ? QList<int>{row} : memory.rowsToSelect(m_state.subContactTable));
    m_reloading = false;
    if (row >= 0 && m_delegate)
        m_delegate->rowSelectionDidChange(m_state.subContactTable.at(row));
}

// --- popover and torn-off windows -----------------------------------------------------------

Popover *ContactsViewController::popover()
{
    return m_editors->popover();
}

void ContactsViewController::setPopover(Popover *popover)
{
    m_editors->setPopover(popover);
}

QList<DetachedWindowEntryPtr> ContactsViewController::detachedWindows() const
{
    return m_contactPopovers->detachedWindows();
}

void ContactsViewController::setDetachedWindows(const QList<DetachedWindowEntryPtr> &entries)
{
    m_contactPopovers->setDetachedWindows(entries);
}

void ContactsViewController::detachedWindowDidClose(const ClosedWindow &closed)
{
    m_contactPopovers->detachedWindowDidClose(closed);
}

void ContactsViewController::showContactInfoPopoverWithOption(bool editName)
{
    m_contactPopovers->showContactInfoPopoverWithOption(editName);
}

void ContactsViewController::copy(GridCopyFormat format)
{
    m_clipboard->copy(format);
}

void ContactsViewController::paste()
{
    m_clipboard->paste();
}

// The row of a context menu, else the selected one; the footer is no contact.
void ContactsViewController::showQRCode()
{
    const int clicked = m_tableView->clickedRow();
    const SubContactRowPtr row = rowAt(clicked >= 0 ? clicked : m_tableView->selectedRow());
    if (row && m_delegate)
        m_delegate->showQRCodeForContact(row);
}

// Contacts in group order; a contact marked deleted is not merged.
void ContactsViewController::mergeContacts()
{
    QList<ContactRowPtr> contacts = selectedContactsWithClickedRowIndex(-1).value_or(QList<ContactRowPtr>());
    contacts.removeIf([](const ContactRowPtr &contact) { return !contact || contact->deleted; });
    if (contacts.size() < 2 || !m_delegate)
        return;
    m_delegate->beginMergeSheet(contacts);
}

bool ContactsViewController::canMergeContacts()
{
    // Asked at every key press, maybe with thousands of rows selected: the first two contacts of
    // the selection answer it, unless one of them was deleted since the rows were made.
    QStringList firstTwo;
    for (int row : m_tableView->selectedRowIndexes()) {
        const SubContactRowPtr subContact = rowAt(row);
        if (subContact && !firstTwo.contains(subContact->uniqueId))
            firstTwo.append(subContact->uniqueId);
        if (firstTwo.size() == 2)
            break;
    }
    if (firstTwo.size() < 2 || !m_state.contactTable)
        return false;
    int live = 0;
    for (const ContactRowPtr &contact : std::as_const(*m_state.contactTable))
        live += !contact->deleted && firstTwo.contains(contact->uniqueId) ? 1 : 0;
    return live == 2 || selectedContacts().size() >= 2;
}

void ContactsViewController::setEditDelegate(GridEditDelegate *edits)
{
    m_commands->setEditDelegate(edits);
}

void ContactsViewController::normalizePhoneNumber(PhoneLayout layout)
{
    m_commands->normalizePhoneNumber(layout);
}

bool ContactsViewController::canNormalizePhoneNumber()
{
    return m_commands->canNormalizePhoneNumber();
}
