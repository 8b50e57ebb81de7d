#include "app/ViewFindHost.h"

#include "addressbook/AddressBook.h"
#include "app/ViewController.h"
#include "app/WindowController.h"

#include <QPushButton>

ContactsGridInterface *ViewFindHost::contactsViewController() const
{
    return m_view.contactsViewController();
}

ContactInfoInterface *ViewFindHost::contactInfoController() const
{
    return m_view.contactInfoController();
}

FindBarInterface *ViewFindHost::findBarController() const
{
    return m_view.findBarController();
}

ContactsViewControllerDelegate *ViewFindHost::contactsViewControllerDelegate()
{
    return &m_view;
}

ContactInfoControllerDelegate *ViewFindHost::contactInfoControllerDelegate()
{
    return &m_view;
}

bool ViewFindHost::contactInfoVisible() const
{
    return m_view.contactInfoVisible();
}

const ContactTablePtr &ViewFindHost::contactTable() const
{
    return m_view.contactTable();
}

QVariantList ViewFindHost::customItems() const
{
    return m_view.customItems();
}

EditFunnel &ViewFindHost::editFunnel()
{
    return m_view.addressBook().funnel();
}

UndoManager *ViewFindHost::undoManager() const
{
    return m_view.undoManager();
}

void ViewFindHost::setDocumentEdited(bool edited)
{
    m_view.setDocumentEdited(edited);
}

// Without a window (a view under test) there is no button to follow the bar.
void ViewFindHost::setFindBarButtonTitle(const QString &title)
{
    if (WindowController *window = m_view.windowController())
        window->findBarButton()->setText(title);
}

void ViewFindHost::setFindBarButtonEnabled(bool enabled)
{
    if (WindowController *window = m_view.windowController())
        window->findBarButton()->setEnabled(enabled);
}

void ViewFindHost::findBarButtonClicked()
{
    if (WindowController *window = m_view.windowController())
        window->findBarButtonClicked();
}
