#include "app/SplitPanes.h"

#include "app/GroupViewController.h"
#include "app/PlaceholderDetailPane.h"
#include "app/PlaceholderGrid.h"
#include "find/FindBarController.h"

SplitPanes SplitPanes::makeDefault(UserDefaults &defaults)
{
    SplitPanes panes;
    panes.groupViewController = std::make_unique<GroupViewController>();
    panes.contactsViewController = std::make_unique<PlaceholderGrid>(defaults);
    panes.contactInfoController = std::make_unique<PlaceholderDetailPane>();
    panes.findBarController = std::make_unique<FindBarController>();
    return panes;
}
