// A disk that fills up during a save: nothing of the save reaches the store or the custom values'
// file, no journal is left, and the window keeps its changes and says why.

#include "app/WindowSaveFixture.h"

#include "addressbook/PendingCloudWrites.h"
#include "platform/FileWriter.h"

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList journals(CloudKeyValueStore &cloud)
{
    return QDir(PendingCloudWrites(cloud).folderPath()).entryList({"*.json"}, QDir::Files);
}

// Ann has a hobby; contacts the store no longer has make the custom values' file large.
class CustomValuesInTheWindow : public WindowSaveFixture
{
protected:
    void SetUp() override
    {
        WindowSaveFixture::SetUp();
        CustomItemCloudValues::saveCustomItemDefinitions(
            {QVariantMap{{"Name", "Hobby"}, {"Type", "String Value"}}}, *cloud);
        cloud->setObject(QVariantMap{{"Hobby", "chess"}}, ann);
        for (int i = 0; i < 200; ++i)
            cloud->setObject(QVariantMap{{"Hobby", QString(40, 'x')}}, QStringLiteral("GONE-%1").arg(i));
        restartWindow();
    }
    void TearDown() override
    {
        FileWriter::setSpaceLeftForTesting(std::nullopt);
        WindowSaveFixture::TearDown();
    }

    QString storedNote(const QString &identifier) const
    {
        return ContactStore().unifiedContact(identifier, {StoreKey::Note}).value.note;
    }
};

// The custom values wait beside their file for the store's commit, which does not come.
TEST_F(CustomValuesInTheWindow, AStoreThatRefusesTheSaveLeavesThemAsTheyWere)
{
    ASSERT_TRUE(view()->undoReplaceValue("poker", "Hobby", row(top(), "Ann"), nullptr));
    ASSERT_TRUE(view()->undoReplaceValue("edited", "Note", row(top(), "Ann"), nullptr));
    const QByteArray cloudBefore = contents(cloud->filePath());
    const QStringList filesBefore = QDir(QFileInfo(cloud->filePath()).absolutePath()).entryList(QDir::Files);
    builder->store().failNextSave();
    save();
    EXPECT_EQ(Alert::lastShown().messageText, "The contacts could not be saved.");
    EXPECT_TRUE(view()->isDocumentEdited());
    EXPECT_EQ(contents(cloud->filePath()), cloudBefore);
    EXPECT_EQ(QDir(QFileInfo(cloud->filePath()).absolutePath()).entryList(QDir::Files), filesBefore);
    EXPECT_TRUE(journals(*cloud).isEmpty());
}

// Room left on the disk: none (the journal does not fit), or room for the journal but not for the
// custom values' file.
class FullDiskInTheWindow : public CustomValuesInTheWindow, public ::testing::WithParamInterface<qint64>
{
};

TEST_P(FullDiskInTheWindow, SavesNothingAndTheWindowKeepsItsChanges)
{
    ASSERT_TRUE(view()->undoReplaceValue("poker", "Hobby", row(top(), "Ann"), nullptr));
    ASSERT_TRUE(view()->undoReplaceValue("edited", "Note", row(top(), "Ann"), nullptr));
    const QByteArray cloudBefore = contents(cloud->filePath());
    ASSERT_GT(cloudBefore.size(), 8000);

    FileWriter::setSpaceLeftForTesting(GetParam());
    save();
    EXPECT_EQ(Alert::lastShown().messageText, "The contacts could not be saved.");
    EXPECT_TRUE(Alert::lastShown().informativeText.contains("the disk is full"))
        << Alert::lastShown().informativeText.toStdString();
    EXPECT_TRUE(view()->isDocumentEdited());
    EXPECT_TRUE(view()->undoManager()->canUndo());
    EXPECT_EQ(row(top(), "Ann")->person->stringValueForIdentifier("Hobby"), "poker");
    EXPECT_EQ(storedNote(ann), "");
    EXPECT_EQ(contents(cloud->filePath()), cloudBefore);
    EXPECT_TRUE(journals(*cloud).isEmpty());

    // Once there is room, the same changes are saved.
    FileWriter::setSpaceLeftForTesting(std::nullopt);
    save();
    EXPECT_FALSE(view()->isDocumentEdited());
    EXPECT_EQ(storedNote(ann), "edited");
    EXPECT_EQ(cloudEntry(ann), (QVariantMap{{"Hobby", "poker"}}));
    EXPECT_EQ(CloudKeyValueStore(cloud->filePath()).dictionaryForKey(ann), (QVariantMap{{"Hobby", "poker"}}));
}

INSTANTIATE_TEST_SUITE_P(RoomLeft, FullDiskInTheWindow, ::testing::Values(0, 4096),
                         [](const auto &info) { return info.param ? "ForTheJournal" : "None"; });

} // namespace
