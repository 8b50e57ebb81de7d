#include "SaveFixture.h"

#include "editors/CustomItemPanel.h"

namespace {

const QVariantMap hobby{{"Name", "Hobby"}, {"Type", "String Value"}};

class CustomItemSaveTest : public SaveFixture
{
protected:
    // Ann and a contact the store no longer has have a hobby in the cloud store when the program
    // starts.
    void SetUp() override
    {
        SaveFixture::SetUp();
        CustomItemCloudValues::saveCustomItemDefinitions({hobby}, *cloud);
        cloud->setObject(QVariantMap{{"Hobby", "chess"}}, ann);
        cloud->setObject(QVariantMap{{"Hobby", "golf"}}, "GONE");
        delegate.reset();
        window = std::make_unique<WindowController>();
        delegate = std::make_unique<AppDelegate>();
        delegate->applicationDidFinishLaunching();
        ASSERT_TRUE(spinUntil([this] { return view()->contactTable() && delegate->isObservingStore(); }));
        window->show();
        ASSERT_EQ(names(), QStringList{"Hobby"});
        ASSERT_EQ(annsHobby(), "chess");
    }

    void deleteHobby()
    {
        window->showCustomItems();
        QVariantMap deleted = hobby;
        deleted.insert("deleted", true);
        window->customItemPanel()->setCustomItems({deleted});
        window->customItemPanel()->endSheet(1);
    }
    QStringList names() const
    {
        QStringList names;
        for (const QVariant &definition : window->customItems())
            names.append(definition.toMap().value("Name").toString());
        return names;
    }
    QString annsHobby() const { return row(top(), "Ann")->person->stringValueForIdentifier("Hobby"); }
};

// The item leaves the window at once, but its values stay in the cloud store until the save, so
// Revert brings it back.
TEST_F(CustomItemSaveTest, ADeletedItemComesBackOnRevertAndGoesWithTheSave)
{
    deleteHobby();
    EXPECT_TRUE(names().isEmpty());
    EXPECT_TRUE(annsHobby().isEmpty());
    EXPECT_EQ(cloudEntry(ann), (QVariantMap{{"Hobby", "chess"}}));
    EXPECT_TRUE(cloudEntry("GONE"));
    EXPECT_EQ(CustomItemCloudValues::loadCustomItemDefinitions(*cloud).size(), 1);

    Alert::setNextAnswer(Alert::FirstButton);
    delegate->revertAddressBookToSaved();
    QCoreApplication::processEvents();
    EXPECT_EQ(names(), QStringList{"Hobby"});
    EXPECT_EQ(annsHobby(), "chess");

    deleteHobby();
    delegate->saveDocument();
    EXPECT_FALSE(cloudEntry(ann));
    EXPECT_FALSE(cloudEntry("GONE"));
    EXPECT_TRUE(CustomItemCloudValues::loadCustomItemDefinitions(*cloud).isEmpty());
    EXPECT_TRUE(names().isEmpty());
    EXPECT_TRUE(annsHobby().isEmpty());
}

// Defined again before the save, the item keeps only the values given since.
TEST_F(CustomItemSaveTest, AnItemDefinedAgainKeepsOnlyItsNewValues)
{
    deleteHobby();
    window->showCustomItems();
    QVariantMap added = hobby;
    added.insert("new", true);
    window->customItemPanel()->setCustomItems({added});
    window->customItemPanel()->endSheet(1);
    const ContactRowPtr bob = row(top(), "Bob");
    bob->person->addCustomItem(PersonValueType::String, "Hobby", {}, std::nullopt);
    view()->undoReplaceValue("golf", "Hobby", bob, nullptr);
    delegate->saveDocument();
    EXPECT_FALSE(cloudEntry(ann));
    EXPECT_EQ(cloudEntry(bob->uniqueId), (QVariantMap{{"Hobby", "golf"}}));
}

} // namespace
