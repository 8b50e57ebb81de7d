#include "MergeFixture.h"
#include "MergeGestures.h"

#include "addressbook/AddressBook.h"
#include "addressbook/EditFunnel.h"
#include "addressbook/PersonDifference.h"

#include <QPushButton>

namespace {

const QVariantList CustomItems = {QVariantMap{{"Name", "Pets"}, {"Type", "Labeled Value"}},
                                  QVariantMap{{"Name", "Hobby"}, {"Type", "String Value"}}};

// The sheet's result applied through the edit funnel, as the main window does on Done.
class MergeApplyTest : public MergeFixture
{
protected:
    MergeApplyTest() { mainBook.setCustomItems(CustomItems); }

    static ContactRowPtr withCustomItems(const QString &name, const QString &hobby, const QString &pet)
    {
        const ContactRowPtr row = contact(name);
        row->person->addCustomItem("String Value", "Hobby", {}, std::nullopt);
        row->person->setValue(hobby, "Hobby");
        row->person->addCustomItem("Labeled Value", "Pets", {"cat"}, std::nullopt);
        row->person->setValue(QVariantList{QVariantMap{{"label", "cat"}, {"value", pet}}}, "Pets");
        return row;
    }

    static QString pet(const ContactRowPtr &row)
    {
        return row->person->labeledValueForIdentifier("Pets").value(0).toMap().value("value").toString();
    }

    AddressBook mainBook;
    UndoManager &mainWindow = *mainBook.undoManager();
    EditFunnel *funnel = &mainBook.funnel();
};

TEST_F(MergeApplyTest, ACopyDiffersInNothing)
{
    const ContactRowPtr ann = withCustomItems("Ann", "chess", "Tom");
    setList(ann, "Phone", {"111", "222"});
    ann->person->setValue(QStringLiteral("a\nb"), "Note");
    EXPECT_EQ(PersonDifference::differingFields(*ann->person->copy(), *ann->person, CustomItems), QStringList());
}

TEST_F(MergeApplyTest, AMergeIsOneStepAndUndoRestoresBothContactsWithTheirCustomItems)
{
    const ContactRowPtr ann = withCustomItems("Ann", "chess", "Tom");
    const ContactRowPtr bob = withCustomItems("Bob", "golf", "Rex");
    setList(bob, "Phone", {"999"});
    open({ann, bob}, true, CustomItems);

    // Bob's phone and pet go over to Ann; Bob's hobby changes.
    layer().undoAddLabeledValue(QVariantMap{{"label", "work"}, {"value", "999"}}, "Phone", left());
    layer().undoReplaceValue(QVariantList{QVariantMap{{"label", "cat"}, {"value", "Rex"}}}, "Pets", left());
    layer().undoReplaceValue("go", "Hobby", right());
    layer().undoReplaceValue("Globex", "Company", right());
    EXPECT_EQ(pet(ann), "Tom");
    sheet->doneButtonPressed();
    ASSERT_EQ(returnCode, 1);
    ASSERT_TRUE(context->newContacts);

    funnel->undoReplacePersonByContacts(*context->newContacts, context->contacts);
    mainWindow.closeAutomaticGroup();
    EXPECT_EQ(ann->person->labeledValueForIdentifier("Phone").size(), 1);
    EXPECT_EQ(pet(ann), "Rex");
    EXPECT_EQ(bob->person->stringValueForIdentifier("Hobby"), "go");
    EXPECT_EQ(bob->person->stringValueForIdentifier("Company"), "Globex");
    // The copies are not the address book's records.
    EXPECT_NE(context->newContacts->at(0)->person, ann->person);

    mainWindow.undo();
    EXPECT_FALSE(mainWindow.canUndo());
    EXPECT_TRUE(ann->person->labeledValueForIdentifier("Phone").isEmpty());
    EXPECT_EQ(pet(ann), "Tom");
    EXPECT_EQ(bob->person->stringValueForIdentifier("Hobby"), "golf");
    EXPECT_EQ(bob->person->stringValueForIdentifier("Company"), "Acme");
    EXPECT_EQ(pet(bob), "Rex");
}

TEST_F(MergeApplyTest, ACustomValueGoesToAContactThatLackedTheItem)
{
    const ContactRowPtr ann = contact("Ann");
    const ContactRowPtr bob = withCustomItems("Bob", "golf", "Rex");
    open({ann, bob}, true, CustomItems);
    layer().undoReplaceValue("chess", "Hobby", left());
    layer().undoAddLabeledValue(QVariantMap{{"label", "cat"}, {"value", "Tom"}}, "Pets", left());
    sheet->doneButtonPressed();
    ASSERT_TRUE(context->newContacts);

    funnel->undoReplacePersonByContacts(*context->newContacts, context->contacts);
    EXPECT_EQ(ann->person->stringValueForIdentifier("Hobby"), "chess");
    EXPECT_EQ(pet(ann), "Tom");
    mainWindow.undo();
    EXPECT_EQ(ann->person->stringValueForIdentifier("Hobby"), "");
    EXPECT_TRUE(ann->person->labeledValueForIdentifier("Pets").isEmpty());
}

// What the hand did in the sheet, and nothing that it gave up, reaches the records on Change.
TEST_F(MergeApplyTest, ChangesMadeByHandReachTheRecordsOnChange)
{
    const ContactRowPtr ann = contact("Ann");
    setList(ann, "Phone", {"111"});
    const QByteArray jpeg = jpegPhoto(1024);
    ann->person->setPhotoBytes({jpeg, std::nullopt});
    const ContactRowPtr bob = contact("Bob");
    open({ann, bob});
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    MergeTable *leftTable = sheet->tableLeft();
    const int phone = firstRowOf(leftTable, "Phone");

    for (const int row : {phone, firstRowOf(leftTable, "Photo")}) {
        std::unique_ptr<QMimeData> carried = MergeGestures::pressAndDrag(leftTable, row, 0);
        ASSERT_TRUE(carried);
        ASSERT_TRUE(MergeGestures::dropOn(sheet->tableRight()->tableView()->viewport(),
                                          MergeGestures::cellCentre(sheet->tableRight(), row, 1),
                                          carried.get()));
    }
    // The company typed in place; Return carries the edit on to the next row, where it is given up.
    MergeGestures::doubleClick(leftTable, firstRowOf(leftTable, "Company"));
    QTest::keyClicks(QApplication::focusWidget(), "Globex");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(leftTable->isEditingText());
    QTest::keyClicks(QApplication::focusWidget(), "dropped");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    ASSERT_TRUE(sheet->isSheetOpen());
    QTest::mouseClick(sheet->doneButton(), Qt::LeftButton);
    ASSERT_EQ(returnCode, 1);
    ASSERT_TRUE(context->newContacts);

    funnel->undoReplacePersonByContacts(*context->newContacts, context->contacts);
    EXPECT_TRUE(ann->person->labeledValueForIdentifier("Phone").isEmpty());
    ASSERT_EQ(bob->person->labeledValueForIdentifier("Phone").size(), 1);
    EXPECT_EQ(bob->person->labeledValueForIdentifier("Phone").at(0).toMap().value("value"), "111");
    EXPECT_EQ(ann->person->stringValueForIdentifier("Company"), "Globex");
    EXPECT_TRUE(ann->person->photo().isNull());
    EXPECT_EQ(bob->person->photoData(), jpeg);
    EXPECT_EQ(PersonDifference::differingFields(*ann->person, *context->newContacts->at(0)->person, {}),
              QStringList());
    EXPECT_TRUE(ann->person->isChanged());
    EXPECT_TRUE(bob->person->isChanged());
}

} // namespace
