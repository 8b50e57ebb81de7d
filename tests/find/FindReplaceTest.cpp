#include "FindFixture.h"

#include <QLineEdit>

namespace {

class FindReplaceTest : public FindHostFixture
{
protected:
    void replaceWith(const QString &replacement, FindBarCommand command = FindBarCommand::Replace)
    {
        m_bar->replaceStringField()->setText(replacement);
        find->findBarButtonDidPress(command);
    }
    static QString name(const ContactRowPtr &row, const QString &part)
    {
        return row->person->nameValue().value(part).toString();
    }
};

TEST_F(FindReplaceTest, ReplacingInTheGridsNameCellChangesOnlyThatPart)
{
    showColumns({"Name", "Note"});
    const ContactRowPtr row = add(storeContact("Smitty", "Smith"));
    find->findStringDidChange("mit");
    find->findStringDidChange("mit"); // the second hit: in the last name
    ASSERT_EQ(find->selectedItemAndRange()->subIdentifier, "LastName");
    replaceWith("ay");
    EXPECT_EQ(name(row, "LastName"), "Sayh");
    EXPECT_EQ(name(row, "FirstName"), "Smitty");
    EXPECT_TRUE(edited);
    EXPECT_TRUE(row->person->isChanged());
}

TEST_F(FindReplaceTest, OnlyACurrentMatchIsReplacedAndAStaleRangeIsHarmless)
{
    showColumns({"Name", "Note"});
    StoreContact contact = storeContact("Ann", "Lee");
    contact.note = "a cat";
    const ContactRowPtr row = add(contact);
    find->findStringDidChange("cat");
    for (const ItemAndRange::TextRange stale : {R(0, 3), R(40, 3), R(2, 0)}) {
        ItemAndRange cursor = *find->selectedItemAndRange();
        cursor.setRange(stale);
        find->setSelectedItemAndRange(cursor);
        replaceWith("dog");
        EXPECT_EQ(row->person->stringValueForIdentifier("Note"), "a cat");
        // Replace went on to the match instead.
        EXPECT_EQ(find->selectedItemAndRange()->range(), R(2, 3));
    }
    EXPECT_FALSE(m_book->undoManager()->canUndo());
}

TEST_F(FindReplaceTest, AfterAReplacementTheSearchGoesOnAfterTheNewText)
{
    showColumns({"Note"});
    StoreContact contact = storeContact("Ann", "Lee");
    contact.note = "cat dog cat";
    const ContactRowPtr row = add(contact);
    find->findStringDidChange("cat");
    replaceWith("concatenate");
    EXPECT_EQ(row->person->stringValueForIdentifier("Note"), "concatenate dog cat");
    EXPECT_EQ(find->selectedItemAndRange()->range(), R(16, 3));
    replaceWith("concatenate");
    EXPECT_EQ(row->person->stringValueForIdentifier("Note"), "concatenate dog concatenate");
}

TEST_F(FindReplaceTest, APositionOutsideTheGroupOrInADeletedRowIsRefused)
{
    showColumns({"Note"});
    StoreContact contact = storeContact("Ann", "Lee");
    contact.note = "cat";
    const ContactRowPtr row = add(contact);
    find->findStringDidChange("cat");
    ItemAndRange cursor = *find->selectedItemAndRange();
    cursor.uniqueId = "elsewhere";
    EXPECT_FALSE(find->replaceByString("dog", cursor));
    row->deleted = true;
    EXPECT_FALSE(find->replaceByString("dog", *find->selectedItemAndRange()));
    EXPECT_EQ(row->person->stringValueForIdentifier("Note"), "cat");
}

TEST_F(FindReplaceTest, ReplaceAllIsOneUndoStepOverEveryContactButDatesAndDeletedRows)
{
    showColumns({"Name", "Phone", "Note", "Birthday", "Dates"});
    StoreContact ann = storeContact("Catherine", "Lee");
    ann.note = "CAT and cat";
    ann.phoneNumbers = {labeled("home", "cat-1"), labeled("work", "2")};
    ann.birthday = DateComponents{1980, 5, 17};
    StoreContact bob = storeContact("Bob", "Catt");
    StoreContact gone = storeContact("Gone", "Cat");
    const ContactRowPtr annRow = add(ann);
    const ContactRowPtr bobRow = add(bob);
    const ContactRowPtr goneRow = add(gone);
    goneRow->deleted = true;
    nextEvent();

    find->findStringDidChange("cat");
    replaceWith("dog", FindBarCommand::ReplaceAll);
    EXPECT_EQ(name(annRow, "FirstName"), "dogherine");
    EXPECT_EQ(annRow->person->stringValueForIdentifier("Note"), "dog and dog");
    EXPECT_EQ(annRow->person->labeledValueForIdentifierAtLabelIndex("Phone", 0)->value("value"), "dog-1");
    EXPECT_EQ(name(bobRow, "LastName"), "dogt");
    EXPECT_EQ(name(goneRow, "LastName"), "Cat");
    EXPECT_EQ(annRow->person->birthdayValue()->value("stringValue").toString().left(4), "1980");

    m_book->undoManager()->undo();
    EXPECT_EQ(name(annRow, "FirstName"), "Catherine");
    EXPECT_EQ(annRow->person->stringValueForIdentifier("Note"), "CAT and cat");
    EXPECT_EQ(annRow->person->labeledValueForIdentifierAtLabelIndex("Phone", 0)->value("value"), "cat-1");
    EXPECT_EQ(name(bobRow, "LastName"), "Catt");
    EXPECT_FALSE(m_book->undoManager()->canUndo());
}

TEST_F(FindReplaceTest, ReplaceAllCaseSensitiveAndWithAnEmptyStringChangesWhatItShould)
{
    showColumns({"Note"});
    StoreContact contact = storeContact("Ann", "Lee");
    contact.note = "Cat cat";
    const ContactRowPtr row = add(contact);
    find->replaceAll("dog", Qt::CaseSensitive);
    EXPECT_EQ(row->person->stringValueForIdentifier("Note"), "Cat cat");
    find->findStringDidChange("cat");
    find->replaceAll("dog", Qt::CaseSensitive);
    EXPECT_EQ(row->person->stringValueForIdentifier("Note"), "Cat dog");
}

TEST_F(FindReplaceTest, ReplaceAllWithTheDetailPaneShownChangesEveryTextFieldOfItsContact)
{
    showColumns({"Note"});
    StoreContact shown = storeContact("Cathy", "Catt");
    shown.middleName = "Cat";
    shown.emailAddresses = {labeled("home", "cat@mail.org")};
    StoreContact other = storeContact("Cate", "Lee");
    other.note = "cat";
    other.emailAddresses = {labeled("home", "cat@mail.org")};
    const ContactRowPtr shownRow = add(shown);
    const ContactRowPtr otherRow = add(other);
    m_detail->setContact(shownRow);
    detailShown = true;

    find->findStringDidChange("cat");
    find->replaceAll("dog", Qt::CaseInsensitive);
    EXPECT_EQ(name(shownRow, "FirstName"), "doghy");
    EXPECT_EQ(name(shownRow, "MiddleName"), "dog");
    EXPECT_EQ(name(shownRow, "LastName"), "dogt");
    EXPECT_EQ(shownRow->person->labeledValueForIdentifierAtLabelIndex("Email", 0)->value("value"), "dog@mail.org");
    // The other contact only in the grid's columns.
    EXPECT_EQ(otherRow->person->stringValueForIdentifier("Note"), "dog");
    EXPECT_EQ(otherRow->person->labeledValueForIdentifierAtLabelIndex("Email", 0)->value("value"), "cat@mail.org");
}

TEST_F(FindReplaceTest, AnAddressPartAndAnInstantMessageUserNameAreReplacedInTheirEntry)
{
    showColumns({"Address", "Instant Message"});
    StoreContact contact = storeContact("Ann", "Lee");
    contact.postalAddresses = {{{}, "home", {"1 Main St", "Springfield", "IL", "62701", "USA", "us"}}};
    contact.instantMessageAddresses = {{{}, "home", {"springer", "Jabber"}}};
    const ContactRowPtr row = add(contact);
    find->findStringDidChange("spring");
    ASSERT_EQ(find->selectedItemAndRange()->subIdentifier, "City");
    replaceWith("Autumn");
    EXPECT_EQ(row->person->labeledValueForIdentifierAtLabelIndex("Address", 0)->value("City"), "Autumnfield");
    ASSERT_EQ(find->selectedItemAndRange()->identifier, "Instant Message");
    replaceWith("fall");
    const auto im = row->person->labeledValueForIdentifierAtLabelIndex("Instant Message", 0);
    EXPECT_EQ(im->value("username"), "faller");
    EXPECT_EQ(im->value("stringValue"), "Jabber:faller");
}

// A replacement that gives back the same text is no edit, and Replace still goes on to the next match.
TEST_F(FindReplaceTest, ReplacingATextByItselfWritesNothingAndGoesOn)
{
    showColumns({"Name", "Phone", "Note"});
    StoreContact contact = storeContact("Ann", "Lee");
    contact.phoneNumbers = {labeled("home", "Ann-1")};
    contact.note = "Ann";
    const ContactRowPtr row = add(contact);
    find->findStringDidChange("Ann");
    for (const char *field : {"FirstName", "Phone", "Note"}) {
        const QString at =
            find->selectedItemAndRange()->subIdentifier + find->selectedItemAndRange()->identifier;
        EXPECT_TRUE(at.contains(field)) << at.toStdString();
        replaceWith("Ann");
    }
    EXPECT_FALSE(m_book->undoManager()->canUndo());
    EXPECT_FALSE(edited);
    EXPECT_FALSE(row->person->isChanged());
}

} // namespace
