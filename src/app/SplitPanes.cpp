#include "app/SplitPanes.h"

#include "app/PlaceholderFindBar.h"
#include "app/PlaceholderSidebar.h"
#include "detail/ContactInfoController.h"
#include "grid/ContactsViewController.h"

SplitPanes SplitPanes::makeDefault(UserDefaults &defaults)
{
    SplitPanes panes;
    panes.groupViewController = std::make_unique<PlaceholderSidebar>();
    panes.contactsViewController = std::make_unique<ContactsViewController>(defaults);
    panes.contactInfoController = std::make_unique<ContactInfoController>(defaults);
    panes.findBarController = std::make_unique<PlaceholderFindBar>();
    return panes;
}
