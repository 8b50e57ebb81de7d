#include "MergeFixture.h"

#include "panels/MergeRowBuilder.h"
#include "ui/widgets/DetailPopupAndTextCell.h"
#include "ui/widgets/DetailTextCell.h"
#include "ui/widgets/DetailTypeCell.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>

namespace {

using MergeRowsTest = MergeFixture;

TEST_F(MergeRowsTest, KindsLineUpWithFillerRowsOnTheShorterSide)
{
    const ContactRowPtr ann = contact("Ann");
    const ContactRowPtr bob = contact("Bob");
    setList(ann, "Phone", {"111", "222", "333"});
    setList(bob, "Phone", {"999"});
    open({ann, bob});

    const MergeRowTable leftPhones = rowsOf(sheet->tableLeft(), "Phone");
    const MergeRowTable rightPhones = rowsOf(sheet->tableRight(), "Phone");
    ASSERT_EQ(leftPhones.size(), 3);
    ASSERT_EQ(rightPhones.size(), 3);
    EXPECT_EQ(leftPhones.at(2).valueCount, 1);
    EXPECT_FALSE(rightPhones.at(0).isFiller());
    EXPECT_EQ(rightPhones.at(1).valueCount, 0);
    EXPECT_EQ(rightPhones.at(2).valueCount, -1);
    EXPECT_EQ(rightPhones.at(1).labelIndex, -1);
    EXPECT_EQ(rightPhones.at(2).index, 2);

    // Neither has an e-mail address: one filler row each.
    for (MergeTable *table : {sheet->tableLeft(), sheet->tableRight()}) {
        const MergeRowTable mails = rowsOf(table, "Email");
        ASSERT_EQ(mails.size(), 1);
        EXPECT_EQ(mails.first().valueCount, 0);
    }
    // Row i is the same kind on both sides.
    ASSERT_EQ(sheet->tableLeft()->rows().size(), sheet->tableRight()->rows().size());
    for (int row = 0; row < sheet->tableLeft()->rows().size(); ++row)
        EXPECT_EQ(sheet->tableLeft()->rows().at(row).type, sheet->tableRight()->rows().at(row).type) << row;

    // The kind is named once, with its icon; a filler shows no text.
    const int phone = firstRowOf(sheet->tableRight(), "Phone");
    auto *name = qobject_cast<DetailTypeCell *>(sheet->tableRight()->cellView(phone, 0));
    auto *next = qobject_cast<DetailTypeCell *>(sheet->tableRight()->cellView(phone + 1, 0));
    ASSERT_TRUE(name && next);
    EXPECT_EQ(name->text(), QNPerson::localizedIdentifierForKey("Phone"));
    EXPECT_FALSE(name->icon().isNull());
    EXPECT_TRUE(next->text().isEmpty());
    auto *filler = qobject_cast<DetailPopupAndTextCell *>(sheet->tableRight()->cellView(phone + 1, 1));
    ASSERT_TRUE(filler);
    EXPECT_TRUE(filler->labelPopup()->isHidden());
}

TEST_F(MergeRowsTest, OnlyTheFirstTwoOfFiveContactsAppear)
{
    QList<ContactRowPtr> five;
    for (const char *name : {"Ann", "Bob", "Cid", "Dee", "Eve"})
        five.append(contact(name));
    open(five);
    EXPECT_EQ(sheet->nameFieldLeft()->text(), "Ann Lee");
    EXPECT_EQ(sheet->nameFieldRight()->text(), "Bob Lee");

    ASSERT_TRUE(layer().undoReplaceValue("Globex", "Company", right()));
    sheet->doneButtonPressed();
    ASSERT_TRUE(context->newContacts);
    EXPECT_EQ(context->newContacts->size(), 2);
    EXPECT_EQ(returnCode, 1);
}

TEST_F(MergeRowsTest, ASheetNeedsTwoContacts)
{
    MergePanelController lone;
    auto single = std::make_shared<MergeContextDict>();
    single->contacts = {contact("Ann")};
    EXPECT_FALSE(lone.setContextInfo(single, true));
    EXPECT_FALSE(lone.contactLeft());
}

// A list that only one side holds still takes as many rows on the other, or every kind after it
// would sit beside another kind.
TEST_F(MergeRowsTest, ACustomListOneSideLacksKeepsTheSidesAligned)
{
    const QVariantList items = {QVariantMap{{"Name", "Pets"}, {"Type", "Labeled Value"}},
                                QVariantMap{{"Name", "Hobby"}, {"Type", "String Value"}}};
    const ContactRowPtr ann = contact("Ann");
    ann->person->addCustomItem("Labeled Value", "Pets", {"cat"}, std::nullopt);
    ann->person->setValue(QVariantList{QVariantMap{{"label", "cat"}, {"value", "Tom"}},
                                       QVariantMap{{"label", "cat"}, {"value", "Kit"}}},
                          "Pets");
    open({ann, contact("Bob")}, true, items);

    EXPECT_EQ(rowsOf(sheet->tableLeft(), "Pets").size(), 2);
    EXPECT_EQ(rowsOf(sheet->tableRight(), "Pets").size(), 2);
    EXPECT_EQ(rowsOf(sheet->tableRight(), "Pets").first().valueCount, 0);
    EXPECT_EQ(firstRowOf(sheet->tableLeft(), "Hobby"), firstRowOf(sheet->tableRight(), "Hobby"));
    EXPECT_FALSE(sheet->hasChanges());
}

TEST_F(MergeRowsTest, NameRowsPopupsAndLineCounts)
{
    ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderFamilyName);
    const ContactRowPtr ann = contact("", "Lee");
    ann->person->setValue(QStringLiteral("one\ntwo\nthree"), "Note");
    QVariantMap company = ann->person->nameValue();
    company.insert(PersonKey::ShowAsPerson, false);
    company.insert(PersonKey::NameOrdering, 2);
    ann->person->setValue(company, "Name");
    open({ann, contact("Bob")}, false);

    EXPECT_EQ(sheet->nameOrderingLabels().value(0), "System Default (Last Name First)");
    const int note = firstRowOf(sheet->tableLeft(), "Note");
    EXPECT_EQ(sheet->tableLeft()->tableView()->rowHeight(note), int(3 * sheet->rowHeight()));
    EXPECT_EQ(sheet->tableRight()->tableView()->rowHeight(note), int(sheet->rowHeight()));

    const int ordering = firstRowOf(sheet->tableLeft(), "Name Ordering");
    auto *orderingPopup = qobject_cast<QComboBox *>(sheet->tableLeft()->cellView(ordering, 1));
    ASSERT_TRUE(orderingPopup);
    EXPECT_EQ(orderingPopup->currentIndex(), 2);
    EXPECT_FALSE(orderingPopup->isEnabled());
    auto *display = qobject_cast<QComboBox *>(sheet->tableLeft()->cellView(ordering + 1, 1));
    ASSERT_TRUE(display);
    EXPECT_EQ(display->currentIndex(), 1);
    EXPECT_FALSE(display->isEnabled());

    // An empty first name shows its part's name as placeholder.
    auto *first = qobject_cast<DetailTextCell *>(sheet->tableLeft()->cellView(firstRowOf(sheet->tableLeft(), "Name"), 1));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->placeholderText(), L("FirstName"));
}

TEST_F(MergeRowsTest, TheTablesScrollTogetherVertically)
{
    open({contact("Ann"), contact("Bob")});
    sheet->resize(700, 300);
    QCoreApplication::processEvents();
    QScrollBar *leftBar = sheet->tableLeft()->tableView()->verticalScrollBar();
    QScrollBar *rightBar = sheet->tableRight()->tableView()->verticalScrollBar();
    ASSERT_GT(leftBar->maximum(), 40);
    leftBar->setValue(40);
    EXPECT_EQ(rightBar->value(), 40);
    sheet->tableRight()->tableView()->horizontalScrollBar()->setValue(5);
    EXPECT_EQ(sheet->tableLeft()->tableView()->horizontalScrollBar()->value(), 0);
}

} // namespace
