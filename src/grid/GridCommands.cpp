#include "grid/GridCommands.h"

#include "grid/ContactsViewController.h"
#include "grid/GridContactCommands.h"
#include "grid/GridItemCommands.h"
#include "grid/GridKeyNavigation.h"
#include "grid/GridMenus.h"
#include "grid/GridPopoverWrapper.h"
#include "ui/contracts/GridEditDelegate.h"

#include <QAction>
#include <QMenu>

GridCommand gridCommand(const QAction *item)
{
    return item ? GridCommand(item->data().toInt()) : GridCommand::None;
}

void setGridCommand(QAction *item, GridCommand command)
{
    item->setData(int(command));
}

GridCommands::GridCommands(ContactsViewController &grid)
    : m_host(grid), m_items(new GridItemCommands(m_host, this)),
      m_contacts(new GridContactCommands(m_host, this)), m_wrapper(new GridPopoverWrapper(m_host, this)),
      m_keys(new GridKeyNavigation(m_host, this)), m_menus(new GridMenus(m_host, *this))
{
    connect(m_items, &GridItemCommands::editorRequested, this, &GridCommands::editorRequested);
    connect(m_wrapper, &GridPopoverWrapper::editorRequested, this, &GridCommands::editorRequested);
    connect(m_keys, &GridKeyNavigation::editorRequested, this, &GridCommands::editorRequested);
    connect(m_menus, &GridMenus::sortOptionsDictChanged, this, &GridCommands::sortOptionsDictChanged);
}

GridCommands::~GridCommands() = default;

void GridCommands::perform(GridCommand command)
{
    using Mode = ReplaceAlertPanel::Mode;
    switch (command) {
    case GridCommand::ShowContactInfo:
    case GridCommand::OpenNamePanel:
    case GridCommand::OpenEditPanel:
    case GridCommand::OpenAddressPanel:
    case GridCommand::OpenIMSPanel:
    case GridCommand::OpenSNSPanel:
    case GridCommand::OpenDatesPanel:
    case GridCommand::OpenBirthdayPanel:
    case GridCommand::OpenPhoneticNamePanel:
        m_wrapper->showPopoverWrapper(command);
        break;
    case GridCommand::ShowQRCode:
        m_host.grid().showQRCode();
        break;
    case GridCommand::AddContact:
        if (m_host.edits())
            m_host.edits()->addContact(&m_host.grid());
        break;
    case GridCommand::DeleteContact:
        m_contacts->deleteContact();
        break;
    case GridCommand::DuplicateContact:
        m_contacts->duplicateContact();
        break;
    case GridCommand::ExportContact:
        m_contacts->exportContact();
        break;
    case GridCommand::ToggleShowCompany:
        m_host.grid().toggleShowCompany();
        break;
    case GridCommand::CallPhone:
    case GridCommand::SendEmail:
    case GridCommand::OpenURL:
    case GridCommand::OpenDesktopMap:
    case GridCommand::OpenCalendar:
        m_contacts->doWorkspaceAction(WorkspaceURL::MapService::Desktop);
        break;
    case GridCommand::OpenWebMap:
        m_contacts->doWorkspaceAction(WorkspaceURL::MapService::WebSearch);
        break;
    case GridCommand::AddItem:
        m_items->insertItem();
        break;
    case GridCommand::DeleteItem:
    case GridCommand::ClearText:
        m_items->deleteItem();
        break;
    case GridCommand::ReplaceLabelAndText:
        m_items->replaceItem(Mode::ReplaceLabelAndText);
        break;
    case GridCommand::ReplaceText:
        m_items->replaceItem(Mode::ReplaceText);
        break;
    case GridCommand::PrependText:
        m_items->replaceItem(Mode::PrependText);
        break;
    case GridCommand::AppendText:
        m_items->replaceItem(Mode::AppendText);
        break;
    case GridCommand::SortOption:
    case GridCommand::None:
        break;
    }
}

bool GridCommands::validateMenuItem(QAction *item) const
{
    switch (gridCommand(item)) {
    case GridCommand::ShowQRCode:
        return m_host.grid().gridTableView()->selectedRow() >= 0;
    case GridCommand::ToggleShowCompany:
        item->setCheckable(true);
        item->setChecked(m_host.grid().showCompanyInNameCell());
        return true;
    default:
        return true;
    }
}

void GridCommands::normalizePhoneNumber(PhoneLayout layout)
{
    m_contacts->normalizePhoneNumber(layout);
}

bool GridCommands::canNormalizePhoneNumber() const
{
    return m_contacts->canNormalizePhoneNumber();
}
