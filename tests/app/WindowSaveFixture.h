#pragma once

#include "SaveFixture.h"
#include "app/MenuCommand.h"

#include <QAction>

// The application over a real store, started again once a test has put custom values in the cloud
// store, and saved with the Save menu item.
class WindowSaveFixture : public SaveFixture
{
protected:
    void restartWindow()
    {
        ASSERT_TRUE(cloud->synchronize());
        delegate.reset();
        window = std::make_unique<WindowController>();
        delegate = std::make_unique<AppDelegate>();
        delegate->applicationDidFinishLaunching();
        // Once loaded (or found unreadable).
        ASSERT_TRUE(spinUntil([this] { return delegate->isObservingStore(); }));
    }
    // Two text items, stored as the custom-item definitions.
    void defineHobbyAndSport() const
    {
        CustomItemCloudValues::saveCustomItemDefinitions(
            {QVariantMap{{"Name", "Hobby"}, {"Type", "String Value"}},
             QVariantMap{{"Name", "Sport"}, {"Type", "String Value"}}},
            *cloud);
    }
    void save() const
    {
        // As the menu validates its items when it opens.
        window->validateMenuItems();
        QAction *save = window->menuItem(MenuCommand::SaveDocument);
        ASSERT_TRUE(save->isEnabled());
        save->trigger();
    }
};
