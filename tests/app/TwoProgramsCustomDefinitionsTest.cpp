// Two programs on one custom values' file change the custom-item definitions: each writes only its
// own change, and the window's sheet and reloads show what the file holds.

#include "WindowSaveFixture.h"

#include "editors/AddItemViewController.h"
#include "editors/CustomItemPanel.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace {

class TwoProgramsCustomDefinitions : public WindowSaveFixture
{
protected:
    // The window starts with a hobby and a sport defined.
    void SetUp() override
    {
        WindowSaveFixture::SetUp();
        defineHobbyAndSport();
        restartWindow();
    }

    // Another program stores the definitions whole, as an older edition does, and the window is
    // asked about it.
    void otherProgramDefines(const QVariantList &definitions, int answer)
    {
        CloudKeyValueStore otherCloud(cloud->filePath());
        CustomItemCloudValues::saveCustomItemDefinitions(definitions, otherCloud);
        ASSERT_TRUE(otherCloud.synchronize());
        Alert::resetTestState();
        Alert::setNextAnswer(answer);
        ASSERT_TRUE(
            spinUntil([] { return Alert::lastShown().messageText == "Contacts have been changed."; }));
    }
    // Items > Show Custom Items, +, the name typed, Done, Done; answers the names the sheet listed.
    QStringList addItemInSheet(const QString &name) const
    {
        for (QAction *item : window->itemsPopup()->menu()->actions())
            if (menuCommand(item) == MenuCommand::ShowCustomItems)
                item->trigger();
        CustomItemPanel *panel = window->customItemPanel();
        QStringList listed;
        for (int row = 0; row < panel->tableView()->rowCount(); ++row)
            listed.append(panel->tableView()->item(row, 0)->text());
        panel->addButton()->click();
        QTest::keyClicks(panel->addItemViewController()->nameField(), name);
        panel->addItemViewController()->doneButton()->click();
        panel->doneButton()->click();
        return listed;
    }
    QVariantList storedDefinitions() const
    {
        EXPECT_TRUE(cloud->synchronize());
        CloudKeyValueStore file(cloud->filePath());
        return CustomItemCloudValues::loadCustomItemDefinitions(file);
    }
    static QStringList namesOf(const QVariantList &definitions)
    {
        QStringList names;
        for (const QVariant &definition : definitions)
            names.append(definition.toMap().value("Name").toString());
        return names;
    }
};

} // namespace

// Each program writes only its own change of the definitions onto what the file holds, so another
// program's added and deleted items stand; Discard and the sheet show the stored definitions.
TEST_F(TwoProgramsCustomDefinitions, EachProgramsChangeOfTheDefinitionsStands)
{
    const QVariantMap club{
        {"Name", "Club"}, {"Type", "Labeled Value"}, {"Labels", QStringList{"home", "away"}}};
    otherProgramDefines(storedDefinitions() << club, Alert::FirstButton); // Discard
    EXPECT_EQ(namesOf(window->customItems()), QStringList({"Hobby", "Sport", "Club"}));

    EXPECT_EQ(addItemInSheet("Pet"), QStringList({"Hobby", "Sport", "Club"}));
    QVariantList stored = storedDefinitions();
    EXPECT_EQ(namesOf(stored), QStringList({"Hobby", "Sport", "Club", "Pet"}));
    EXPECT_EQ(stored.value(2), club);

    // Club deleted and Pen added elsewhere while the window holds Club.
    stored.removeAt(2);
    otherProgramDefines(stored << QVariantMap{{"Name", "Pen"}, {"Type", "String Value"}},
                        Alert::SecondButton); // Ignore
    EXPECT_EQ(addItemInSheet("Car"), QStringList({"Hobby", "Sport", "Pet", "Pen"}));
    EXPECT_EQ(namesOf(storedDefinitions()), QStringList({"Hobby", "Sport", "Pet", "Pen", "Car"}));
}
