#include "GridCommandsFixture.h"

#include "grid/GridContactCommands.h"
#include "platform/widgets/Workspace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class GridContactCommandsTest : public GridCommandsFixture
{
protected:
    void TearDown() override
    {
        Workspace::setOpener({});
        GridCommandsFixture::TearDown();
    }
    GridContactCommands &contacts() const { return commands().contactCommands(); }
    // Links the test's desktop was asked to open.
    void catchLinks()
    {
        Workspace::setOpener([this](const QUrl &url) {
            opened.append(url.toString());
            return true;
        });
    }
    QStringList opened;
};

TEST_F(GridContactCommandsTest, APhoneLayoutChangesTheSelectedNumbersInOneUndoStep)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"work", "5551234567"}, {"home", "0312345678"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"work", "0312345678"}});
    add(person("Cat"));
    showGrid();
    EXPECT_TRUE(grid()->canNormalizePhoneNumber());
    // Ann's first number, Bob's number and Cat's row without one.
    selectRows({rowsOf(ann).first(), rowOf(bob), rowOf(m_table->last())});
    grid()->normalizePhoneNumber(PhoneLayout::ThreePlusFour);
    EXPECT_EQ(texts(ann, "Phone"), (QStringList{"(555) 123-4567", "0312345678"}));
    EXPECT_EQ(texts(bob, "Phone"), QStringList{"(031) 234-5678"});
    EXPECT_TRUE(m_view->isDocumentEdited());
    undoManager().undo();
    EXPECT_EQ(texts(ann, "Phone"), (QStringList{"5551234567", "0312345678"}));
    EXPECT_EQ(texts(bob, "Phone"), QStringList{"0312345678"});
    EXPECT_FALSE(undoManager().canUndo());
}

TEST_F(GridContactCommandsTest, ANumberAlreadyInTheLayoutLeavesTheWindowUnmarked)
{
    showColumns({"Name", "Phone"});
    addWithPhones("Ann", {{"work", "(555) 123-4567"}});
    showGrid();
    selectRows({0});
    grid()->normalizePhoneNumber(PhoneLayout::ThreePlusFour);
    EXPECT_FALSE(m_view->isDocumentEdited());
    EXPECT_FALSE(undoManager().canUndo());

    showColumns({"Name", "Email"});
    EXPECT_FALSE(grid()->canNormalizePhoneNumber());
}

TEST_F(GridContactCommandsTest, DuplicateSelectsTheCopiesAndDeleteIsOneUndoStep)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"work", "10"}, {"home", "11"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"work", "20"}});
    showGrid();
    selectRows({rowOf(ann), rowOf(bob)});
    rightClick(rowOf(ann), "Name");
    contacts().duplicateContact();
    ASSERT_EQ(m_table->size(), 4);
    const QList<ContactRowPtr> selected = grid()->selectedContacts();
    ASSERT_EQ(selected.size(), 2);
    for (const ContactRowPtr &copy : selected) {
        EXPECT_TRUE(copy->isNew);
        EXPECT_NE(copy->uniqueId, ann->uniqueId);
        EXPECT_NE(copy->uniqueId, bob->uniqueId);
    }
    EXPECT_EQ(texts(selected.first(), "Phone"), (QStringList{"10", "11"}));
    EXPECT_TRUE(m_view->isDocumentEdited());

    selectRows({rowOf(ann), rowOf(bob)});
    rightClick(rowOf(bob), "Phone");
    contacts().deleteContact();
    EXPECT_TRUE(ann->deleted);
    EXPECT_TRUE(bob->deleted);
    undoManager().undo();
    EXPECT_FALSE(ann->deleted);
    EXPECT_FALSE(bob->deleted);
}

TEST_F(GridContactCommandsTest, ALockedGridOrNoClickedCellDuplicatesAndDeletesNothing)
{
    showColumns({"Name"});
    const ContactRowPtr ann = add(person("Ann"));
    showGrid();
    selectRows({0});
    contacts().deleteContact();
    EXPECT_FALSE(ann->deleted);
    rightClick(0, "Name");
    grid()->setEditState(false);
    contacts().deleteContact();
    contacts().duplicateContact();
    EXPECT_FALSE(ann->deleted);
    EXPECT_EQ(m_table->size(), 1);
}

TEST_F(GridContactCommandsTest, ExportWritesOneFileOfAllChosenContacts)
{
    showColumns({"Name"});
    add(person("Ann/Lee"));
    add(person("Bob"));
    add(person("Cat"));
    showGrid();
    selectRows({0, 1, 2});
    rightClick(0, "Name");
    // A locked grid exports too.
    grid()->setEditState(false);
    QTemporaryDir folder;
    const QString path = folder.filePath("out.vcf");
    FilePanel::setNextPath(path);
    contacts().exportContact();
    settle();
    ASSERT_EQ(FilePanel::shownPanels().size(), 1);
    // The name of the first contact, made safe for a file name.
    EXPECT_EQ(FilePanel::shownPanels().first().nameFieldStringValue, "Ann_Lee.vcf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_EQ(text.count("BEGIN:VCARD"), 3);
    EXPECT_TRUE(text.contains("Cat"));
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());

    // A folder that does not exist cannot take the file.
    FilePanel::setNextPath(folder.filePath("missing/out.vcf"));
    contacts().exportContact();
    settle();
    ASSERT_EQ(Alert::shownAlerts().size(), 1);
    EXPECT_EQ(Alert::lastShown().messageText, "Couldn't export the contact");
    EXPECT_FALSE(QFile::exists(folder.filePath("missing/out.vcf")));
}

TEST_F(GridContactCommandsTest, CallPhoneOpensTheClickedRowsNumberUnderASort)
{
    showColumns({"Name", "Phone", "City", "Address"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"work", "(03) 1111"}, {"home", "(06) 2222"}});
    setAddress(ann->person, "Kyoto", "1 Main");
    addWithPhones("Bob", {{"work", "(05) 3333"}});
    sortBy("Phone", false);
    showGrid();
    catchLinks();
    const QList<SubContactRowPtr> rows = grid()->subContactTable();
    for (int row = 0; row < rows.size(); ++row) {
        rightClick(row, "Phone");
        contacts().doWorkspaceAction();
        const QString number =
            rows.at(row)
                ->person->labeledValueForIdentifierAtIndex("Phone", rows.at(row)->labelIndex)
                ->value("value")
                .toString();
        ASSERT_EQ(opened.size(), row + 1);
        EXPECT_EQ(opened.last(), WorkspaceURL::forValue("Phone", number).toString());
        EXPECT_TRUE(opened.last().endsWith(QString(number).remove('(').remove(')').remove(' ')));
    }
    // The address parts have no link; the address has.
    opened.clear();
    int addressRow = -1;
    for (int row = 0; row < rows.size(); ++row) {
        if (rows.at(row)->uniqueId == ann->uniqueId && rows.at(row)->labelIndex == 0)
            addressRow = row;
    }
    rightClick(addressRow, "City");
    contacts().doWorkspaceAction();
    EXPECT_TRUE(opened.isEmpty());
    rightClick(addressRow, "Address");
    contacts().doWorkspaceAction(WorkspaceURL::MapService::WebSearch);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened.first().startsWith("https://"));
}

} // namespace
