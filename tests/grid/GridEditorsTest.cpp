#include "GridEditingFixture.h"

#include "editors/AddressViewController.h"
#include "editors/IMSViewController.h"
#include "editors/MultiValueViewController.h"
#include "editors/NameViewController.h"
#include "editors/PhoneticNameViewController.h"
#include "editors/SNSViewController.h"
#include "platform/StoreLabels.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class GridEditorsTest : public GridEditingFixture
{
};

TEST_F(GridEditorsTest, ANewAddressOverChosenRowsReachesEachContactOnceAndUndoesInOneStep)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"home", "1"}, {"work", "2"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"home", "3"}});
    const ContactRowPtr cat = addWithPhones("Cat", {{"home", "4"}});
    grid()->updateTable();
    // Ann is shown in two chosen rows.
    editors()->setSelectedRowIndexes(QList<int>{rowOf(ann, 0), rowOf(ann, 1), rowOf(bob), rowOf(cat)});
    editors()->showAddressPopover(subRow(rowOf(ann)), "Address", -1, cellRect(rowOf(ann), "Phone"));
    auto *editor = popoverContent<AddressViewController>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(grid()->popover()->contentSize(), QSize(340, 460));
    QTest::keyClicks(editor->cityField(), "Kyoto");
    editor->doneButton()->click();

    for (const ContactRowPtr &contact : {ann, bob, cat})
        EXPECT_EQ(values(contact, "Address", "City"), QStringList{"Kyoto"}) << contact->person->compositeName().toStdString();
    EXPECT_EQ(grid()->popover(), nullptr);
    EXPECT_FALSE(editors()->chosenRows().has_value());
    EXPECT_TRUE(m_view->isDocumentEdited());

    nextEvent();
    undoManager().undo();
    for (const ContactRowPtr &contact : {ann, bob, cat})
        EXPECT_TRUE(values(contact, "Address").isEmpty());
}

TEST_F(GridEditorsTest, TheListEditorsDoneGivesEveryChosenContactTheSameListAndMarksTheWindow)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"home", "1"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"work", "2"}, {"home", "5"}});
    grid()->updateTable();
    editors()->setSelectedRowIndexes(QList<int>{rowOf(ann), rowOf(bob)});
    editors()->showMultiValuePopover(subRow(rowOf(ann)), "Phone", 0, cellRect(rowOf(ann), "Phone"));
    auto *editor = popoverContent<MultiValueViewController>();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(grid()->popover()->contentSize(), QSize(360, 260));
    editor->setCellText(0, 1, "999");
    editor->doneButton()->click();

    EXPECT_EQ(values(ann, "Phone"), QStringList{"999"});
    EXPECT_EQ(values(bob, "Phone"), values(ann, "Phone"));
    EXPECT_TRUE(m_view->isDocumentEdited());
}

TEST_F(GridEditorsTest, CancelWritesNothingAndLeavesNoUndoStep)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"home", "1"}});
    grid()->updateTable();
    editors()->setSelectedRowIndexes(QList<int>{rowOf(ann)});
    editors()->showNamePopover(subRow(rowOf(ann)), "Name", cellRect(rowOf(ann), "Name"));
    auto *editor = popoverContent<NameViewController>();
    ASSERT_NE(editor, nullptr);
    editor->firstNameField()->setText("Zed");
    editor->cancelButton()->click();

    EXPECT_EQ(ann->person->compositeName(), "Ann");
    EXPECT_FALSE(undoManager().canUndo());
    EXPECT_FALSE(m_view->isDocumentEdited());
    EXPECT_EQ(grid()->popover(), nullptr);
}

TEST_F(GridEditorsTest, ASecondEditorTakesThePopoverAndOnlyItsResultIsWritten)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"home", "1"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"home", "2"}});
    grid()->updateTable();
    editors()->setSelectedRowIndexes(QList<int>{rowOf(ann)});
    editors()->showMultiValuePopover(subRow(rowOf(ann)), "Phone", 0, cellRect(rowOf(ann), "Phone"));
    Popover *first = grid()->popover();
    popoverContent<MultiValueViewController>()->setCellText(0, 1, "777");

    editors()->setSelectedRowIndexes(QList<int>{rowOf(bob)});
    editors()->showMultiValuePopover(subRow(rowOf(bob)), "Phone", 0, cellRect(rowOf(bob), "Phone"));
    EXPECT_EQ(grid()->popover(), first);
    auto *second = popoverContent<MultiValueViewController>();
    ASSERT_NE(second, nullptr);
    second->setCellText(0, 1, "888");
    second->doneButton()->click();

    EXPECT_EQ(values(ann, "Phone"), QStringList{"1"});
    EXPECT_EQ(values(bob, "Phone"), QStringList{"888"});
}

TEST_F(GridEditorsTest, TwoChosenRowsFarApartUnderASortByTheEditedColumnBothGetTheValue)
{
    showColumns({"Name", "Phone"});
    QList<ContactRowPtr> contacts;
    for (const char *name : {"Ann", "Bob", "Cat", "Dan", "Eve"})
        contacts.append(addWithPhones(name, {{"home", QString::number(contacts.size() * 10)}}));
    grid()->updateTable();
    sortBy("Phone");
    const ContactRowPtr first = contacts.at(0);
    const ContactRowPtr last = contacts.at(4);
    ASSERT_EQ(rowOf(first), 0);
    ASSERT_EQ(rowOf(last), 4);
    editors()->setSelectedRowIndexes(QList<int>{rowOf(first), rowOf(last)});
    editors()->showMultiValuePopover(subRow(rowOf(first)), "Phone", 0, cellRect(0, "Phone"));
    // Written first, Ann's row moves to the end and Eve's to the one before.
    popoverContent<MultiValueViewController>()->setCellText(0, 1, "99");
    popoverContent<MultiValueViewController>()->doneButton()->click();

    EXPECT_EQ(values(first, "Phone"), QStringList{"99"});
    EXPECT_EQ(values(last, "Phone"), QStringList{"99"});
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(values(contacts.at(i), "Phone"), QStringList{QString::number(i * 10)});
}

TEST_F(GridEditorsTest, ValueEditorsAreNeverTornOff)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"home", "1"}});
    grid()->updateTable();
    editors()->showDatePopover(subRow(rowOf(ann)), "Phone", 0, cellRect(0, "Phone"));
    EXPECT_TRUE(grid()->popover() == nullptr || !grid()->popover()->isShown());
    editors()->showDatePopover(subRow(rowOf(ann)), "Birthday", 5, cellRect(0, "Phone"));
    ASSERT_NE(grid()->popover(), nullptr);
    EXPECT_FALSE(grid()->popover()->isDetachable());
    EXPECT_EQ(grid()->popover()->contentSize(), QSize(340, 284));
}

// Done after a character typed and taken back hands the value back as it was: nothing is written.
TEST_F(GridEditorsTest, DoneAfterATypedCharacterIsTakenBackWritesNothing)
{
    showColumns({"Name", "Phone"});
    StoreContact stored;
    stored.givenName = "Ann";
    stored.familyName = "Lee";
    stored.phoneticGivenName = "an";
    stored.phoneticFamilyName = "rii";
    stored.postalAddresses = {
        {{}, StoreLabel::Home, {"1 Main St", "Springfield", "IL", "62701", "USA", "us"}}};
    stored.socialProfiles = {{{}, {}, {"https://example.org/ann", "ann", "", ""}}};
    stored.instantMessageAddresses = {{{}, StoreLabel::Home, {"ann", "Jabber"}}};
    const ContactRowPtr ann = add(std::make_shared<QNPerson>(stored));
    grid()->updateTable();
    const SubContactRowPtr row = subRow(rowOf(ann));
    const QRect rect = cellRect(rowOf(ann), "Name");
    const auto takeBack = [&]<typename Editor>(const std::function<void()> &show,
                                               QLineEdit *(Editor::*field)() const, const char *editor) {
        editors()->setSelectedRowIndexes(QList<int>{rowOf(ann)});
        show();
        auto *content = popoverContent<Editor>();
        ASSERT_NE(content, nullptr) << editor;
        (content->*field)()->setFocus();
        QTest::keyClicks((content->*field)(), "x");
        QTest::keyClick((content->*field)(), Qt::Key_Backspace);
        QTest::mouseClick(content->doneButton(), Qt::LeftButton);
        QCoreApplication::processEvents();
        EXPECT_EQ(grid()->popover(), nullptr) << editor;
        EXPECT_FALSE(undoManager().canUndo()) << editor;
    };

    takeBack([&] { editors()->showNamePopover(row, "Name", rect); }, &NameViewController::firstNameField,
             "name");
    takeBack([&] { editors()->showPhoneticNamePopover(row, "Phonetic Name", rect); },
             &PhoneticNameViewController::lastNameField, "phonetic name");
    takeBack([&] { editors()->showAddressPopover(row, "Address", 0, rect); },
             &AddressViewController::cityField, "address");
    takeBack([&] { editors()->showSNSPopover(row, "Social Network", 0, rect); },
             &SNSViewController::usernameField, "social profile");
    takeBack([&] { editors()->showIMSPopover(row, "Instant Message", 0, rect); },
             &IMSViewController::usernameField, "instant message");

    EXPECT_FALSE(m_view->isDocumentEdited());
    EXPECT_FALSE(ann->person->isChanged());
}
