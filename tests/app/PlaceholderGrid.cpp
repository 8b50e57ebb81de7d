#include "app/PlaceholderGrid.h"

#include "ui/contracts/ContactsViewControllerDelegate.h"
#include "addressbook/DefaultsKey.h"
#include "ui/widgets/PlaceholderText.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/Popover.h"

#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>

PlaceholderGrid::PlaceholderGrid(UserDefaults &defaults) : m_defaults(defaults), m_table(new QTableWidget)
{
    m_table->setColumnCount(1);
    m_table->setHorizontalHeaderLabels({L(QStringLiteral("Name"))});
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, &PlaceholderGrid::selectionChanged);
}

QWidget *PlaceholderGrid::view()
{
    return m_table;
}

QAbstractItemView *PlaceholderGrid::tableView()
{
    return m_table;
}

void PlaceholderGrid::updateTable()
{
    m_reloading = true;
    m_subContactTable.clear();
    if (m_contactTable) {
        for (const ContactRowPtr &row : std::as_const(*m_contactTable)) {
            if (row->deleted)
                continue;
            auto subRow = std::make_shared<SubContactRow>();
            static_cast<ContactRow &>(*subRow) = *row;
            m_subContactTable.append(subRow);
        }
    }
    m_table->clearContents();
    m_table->setRowCount(int(m_subContactTable.size()));
    for (int i = 0; i < m_subContactTable.size(); ++i)
        m_table->setItem(i, 0, new QTableWidgetItem(PlaceholderText::contactTitle(*m_subContactTable.at(i))));
    m_reloading = false;
}

void PlaceholderGrid::setSelectedViewType(const QString &viewType)
{
    const QVariantMap viewTypes = m_defaults.dictionaryForKey(DefaultsKey::ViewTypeDict);
    QStringList headers;
    for (const QVariant &column : viewTypes.value(viewType).toList())
        headers.append(L(column.toString()));
    if (headers.isEmpty())
        headers.append(L(QStringLiteral("Name")));
    m_table->setColumnCount(int(headers.size()));
    m_table->setHorizontalHeaderLabels(headers);
}

void PlaceholderGrid::setSelectedFont(const QFont &font)
{
    m_table->setFont(font);
}

void PlaceholderGrid::selectRowIndexesWithContacts(const QList<ContactRowPtr> &contacts)
{
    QStringList ids;
    for (const ContactRowPtr &contact : contacts)
        ids.append(contact->uniqueId);
    QList<int> rows;
    for (int i = 0; i < m_subContactTable.size(); ++i) {
        if (ids.contains(m_subContactTable.at(i)->uniqueId))
            rows.append(i);
    }
    if (rows.isEmpty())
        return;
    m_table->clearSelection();
    for (int row : std::as_const(rows))
        m_table->selectRow(row);
    m_table->scrollToItem(m_table->item(rows.first(), 0));
}

QList<int> PlaceholderGrid::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

QList<ContactRowPtr> PlaceholderGrid::selectedContacts()
{
    QList<ContactRowPtr> contacts;
    if (!m_contactTable)
        return contacts;
    for (int row : selectedRows()) {
        const QString id = m_subContactTable.value(row) ? m_subContactTable.at(row)->uniqueId : QString();
        for (const ContactRowPtr &contact : std::as_const(*m_contactTable)) {
            if (contact->uniqueId == id && !contact->deleted && !contacts.contains(contact))
                contacts.append(contact);
        }
    }
    return contacts;
}

QList<SubContactRowPtr> PlaceholderGrid::selectedSubContacts()
{
    QList<SubContactRowPtr> rows;
    for (int row : selectedRows()) {
        if (row < m_subContactTable.size())
            rows.append(m_subContactTable.at(row));
    }
    return rows;
}

std::optional<QList<ContactRowPtr>> PlaceholderGrid::selectedContactsWithClickedRowIndex(int clickedRow)
{
    QList<int> rows = selectedRows();
    if (clickedRow >= 0)
        rows.append(clickedRow);
    QStringList ids;
    for (int row : std::as_const(rows)) {
        if (row < m_subContactTable.size())
            ids.append(m_subContactTable.at(row)->uniqueId);
    }
    if (!m_contactTable)
        return std::nullopt;
    QList<ContactRowPtr> contacts;
    for (const ContactRowPtr &contact : std::as_const(*m_contactTable)) {
        if (ids.contains(contact->uniqueId))
            contacts.append(contact);
    }
    if (contacts.isEmpty())
        return std::nullopt;
    return contacts;
}

void PlaceholderGrid::selectionChanged()
{
    if (m_reloading || !m_delegate)
        return;
    const QList<SubContactRowPtr> rows = selectedSubContacts();
    if (!rows.isEmpty())
        m_delegate->rowSelectionDidChange(rows.first());
}
