#include "app/SplitPanes.h"

#include "sidebar/GroupViewController.h"
#include "detail/ContactInfoController.h"
#include "find/FindBarController.h"
#include "grid/ContactsViewController.h"

SplitPanes SplitPanes::makeDefault(UserDefaults &defaults)
{
    SplitPanes panes;
    panes.groupViewController = std::make_unique<GroupViewController>();
    panes.contactsViewController = std::make_unique<ContactsViewController>(defaults);
    panes.contactInfoController = std::make_unique<ContactInfoController>(defaults);
    panes.findBarController = std::make_unique<FindBarController>();
    return panes;
}
