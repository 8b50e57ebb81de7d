#include "BenchGrid.h"

#include "BenchContacts.h"

#include "addressbook/DefaultsKey.h"

BenchGrid::BenchGrid() : m_defaults(m_folder.filePath(QStringLiteral("defaults.json"))), m_grid(m_defaults)
{
    m_defaults.setObject(QVariantMap{{QStringLiteral("Phone"), QStringList{QStringLiteral("Name"), QStringLiteral("Phone")}}},
                         DefaultsKey::ViewTypeDict);
    m_grid.setCustomItems(BenchContacts::customItems());
    m_grid.setSelectedViewType(QStringLiteral("Phone"));
    m_grid.setSortDescriptors({{QStringLiteral("compositeName"), true}});
}

void BenchGrid::show(const ContactTablePtr &table)
{
    m_grid.setContactTable(table);
    m_grid.updateTable();
}
