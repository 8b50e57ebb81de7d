#pragma once

#include "ui/contracts/ContactInfoInterface.h"
#include "ui/contracts/ContactsGridInterface.h"
#include "ui/contracts/FindBarInterface.h"
#include "ui/contracts/GroupSidebarInterface.h"

#include <memory>

class UserDefaults;

// The panes of the main view: the split view's three children (sidebar, grid, detail pane) and
// the find bar over the grid. The main view controller owns them; their widgets belong to its
// layout.
struct SplitPanes
{
    std::unique_ptr<GroupSidebarInterface> groupViewController;
    std::unique_ptr<ContactsGridInterface> contactsViewController;
    std::unique_ptr<ContactInfoInterface> contactInfoController;
    std::unique_ptr<FindBarInterface> findBarController;

    // The panes the program shows.
    static SplitPanes makeDefault(UserDefaults &defaults);
};
