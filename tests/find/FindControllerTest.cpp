#include "FindFixture.h"

#include "grid/GridModel.h"
#include "platform/widgets/FindPasteboard.h"
#include "ui/widgets/DetailTextCell.h"
#include "ui/widgets/SegmentedControl.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <tuple>

namespace {

class FindControllerTest : public FindHostFixture
{
protected:
    void SetUp() override
    {
        FindHostFixture::SetUp();
        FindPasteboard::setString(QString());
        showColumns({"Name", "Phone", "Note"});
        StoreContact ann = storeContact("Ann", "Lee");
        ann.phoneNumbers = {labeled("home", "111"), labeled("work", "222"), labeled("other", "333")};
        ann.note = "Lee's note";
        annRow = add(ann);
        bobRow = add(storeContact("Bob", "Leeds"));
        annRow->person->labeledValueForIdentifier("Phone");
        annRow->person->deleteLabeledValueForIdentifier("Phone", 1);
        m_grid->updateTable();
    }
    void TearDown() override
    {
        FindPasteboard::setString(QString());
        FindHostFixture::TearDown();
    }

    std::optional<ItemAndRange> detailHit() const { return m_detail->detailTable()->findTarget(); }

    // Replaces the search field's text as the user does, without Return.
    void retype(const QString &text)
    {
        QLineEdit *field = m_bar->searchField();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    static void click(SegmentedControl *control, int segment)
    {
        QTest::mouseClick(control->segmentButton(segment), Qt::LeftButton);
    }
    QString gridHit() const
    {
        const std::optional<ItemAndRange> hit = m_grid->selectedItemAndRange();
        return hit ? (hit->uniqueId == annRow->uniqueId ? "Ann " : "Bob ") + hit->identifier : QString();
    }
    // The find marks in Ann's note, in the grid's cell and the detail pane's row.
    qsizetype noteMarks() const
    {
        const int column = int(m_grid->tableIdentifiers().indexOf("Note"));
        qsizetype marks =
            m_grid->tableView()->model()->index(0, column).data(GridModel::FindRangesRole).toList().size();
        DetailTableController *table = m_detail->detailTable();
        for (int row = 0; row < table->table().size(); ++row)
            if (table->table().at(row)->type == "Note")
                marks += qobject_cast<DetailTextCell *>(table->cellView(row, 1))->marks().size();
        return marks;
    }

    ContactRowPtr annRow;
    ContactRowPtr bobRow;
};

TEST_F(FindControllerTest, EveryMenuActionTakesTheFindPasteboardsString)
{
    m_detail->setContact(bobRow);
    FindPasteboard::setString("333");
    find->performFindBarAction(FindController::MenuCommand::FindNext);
    EXPECT_EQ(find->findString(), "333");
    EXPECT_EQ(m_bar->searchField()->text(), "333");
    EXPECT_EQ(m_grid->findString(), "333");
    ASSERT_TRUE(find->selectedItemAndRange());
    EXPECT_EQ(find->selectedItemAndRange()->labelIndex, 2);
    // The menu shows the hit in both views; the grid by its row's position.
    ASSERT_TRUE(m_grid->selectedItemAndRange());
    EXPECT_EQ(m_grid->selectedItemAndRange()->labelIndex, 1);
    ASSERT_TRUE(detailHit());
    EXPECT_EQ(detailHit()->labelIndex, 2);

    FindPasteboard::setString("Bob");
    find->performFindBarAction(FindController::MenuCommand::UseSelectionForFind);
    EXPECT_EQ(find->findString(), "Bob");
    find->performFindBarAction(FindController::MenuCommand::FindPrevious);
    EXPECT_EQ(find->selectedItemAndRange()->uniqueId, bobRow->uniqueId);
}

TEST_F(FindControllerTest, ACommittedStringIsSharedAndAnEmptyOneChangesNothing)
{
    find->findStringDidChange("Lee");
    EXPECT_EQ(FindPasteboard::string(), "Lee");
    const ItemAndRange cursor = *find->selectedItemAndRange();
    EXPECT_EQ(cursor.uniqueId, annRow->uniqueId);
    EXPECT_EQ(cursor.subIdentifier, "LastName");

    find->findStringDidChange("");
    EXPECT_EQ(FindPasteboard::string(), "Lee");
    EXPECT_EQ(find->selectedItemAndRange()->range(), cursor.range());
    EXPECT_EQ(find->selectedItemAndRange()->uniqueId, cursor.uniqueId);
    EXPECT_FALSE(find->findNextString("", false));
}

TEST_F(FindControllerTest, NextAndPreviousStepTheCursorWithoutTheViewsResettingIt)
{
    find->findStringDidChange("Lee");
    find->findBarButtonDidPress(FindBarCommand::Next);
    EXPECT_EQ(find->selectedItemAndRange()->identifier, "Note");
    find->findBarButtonDidPress(FindBarCommand::Next);
    EXPECT_EQ(find->selectedItemAndRange()->uniqueId, bobRow->uniqueId);
    find->findBarButtonDidPress(FindBarCommand::Previous);
    EXPECT_EQ(find->selectedItemAndRange()->identifier, "Note");
    // The grid selected the hits' rows without telling anyone, and listens again afterwards.
    EXPECT_TRUE(gridDelegate.selections.isEmpty());
    m_grid->selectRowIndexesWithContacts({bobRow});
    EXPECT_FALSE(gridDelegate.selections.isEmpty());
}

TEST_F(FindControllerTest, WithTheDetailPaneShownNextLeavesTheGridWithoutAHit)
{
    m_detail->setContact(annRow);
    find->findStringDidChange("22");
    find->findStringDidChange("333");
    detailShown = true;
    find->rowSelectionDidChange(DetailRow{"Name", QString("FirstName"), 0, std::nullopt, 0, {}, {}});
    find->findBarButtonDidPress(FindBarCommand::Next);
    ASSERT_TRUE(detailHit());
    EXPECT_EQ(detailHit()->identifier, "Phone");
    EXPECT_EQ(detailHit()->labelIndex, 2);
    EXPECT_FALSE(m_grid->selectedItemAndRange());

    find->performFindBarAction(FindController::MenuCommand::FindNext);
    EXPECT_TRUE(m_grid->selectedItemAndRange());
}

TEST_F(FindControllerTest, ContactsMarkedDeletedAreNotSearched)
{
    // The grid still lists the row until its next update.
    bobRow->deleted = true;
    EXPECT_EQ(find->findNextString("Bob", false)->length, 0);
    m_detail->setContact(bobRow);
    EXPECT_EQ(find->findNextString("Bob", true)->length, 0);
}

TEST_F(FindControllerTest, DoneClearsTheMarksAndKeepsTheCursor)
{
    find->findStringDidChange("Lee");
    const ItemAndRange cursor = *find->selectedItemAndRange();
    find->findBarButtonDidPress(FindBarCommand::Done);
    EXPECT_EQ(find->findString(), "");
    EXPECT_EQ(m_grid->findString(), "");
    EXPECT_EQ(m_detail->detailTable()->findString(), "");
    EXPECT_EQ(m_bar->searchField()->text(), "");
    EXPECT_EQ(buttonClicks, 1);
    EXPECT_EQ(find->selectedItemAndRange()->range(), cursor.range());
}

TEST_F(FindControllerTest, TheFindMenuItemsToggleTheBar)
{
    find->findStringDidChange("Lee");
    find->performFindBarAction(FindController::MenuCommand::FindAndReplace);
    EXPECT_TRUE(m_bar->isVisible());
    EXPECT_EQ(buttonTitle, "Hide");
    find->performFindBarAction(FindController::MenuCommand::Find);
    EXPECT_EQ(buttonTitle, "Find");
    EXPECT_EQ(find->findString(), "");
    EXPECT_EQ(m_grid->findString(), "");
    ASSERT_TRUE(spinUntil([this] { return !m_bar->isVisible(); }));

    bool shown = false;
    FindPasteboard::setString("Leeds");
    find->showFindBar(true);
    EXPECT_EQ(m_bar->searchField()->text(), "Leeds");
    EXPECT_FALSE(buttonEnabled);
    shown = spinUntil([this] { return buttonEnabled; });
    EXPECT_TRUE(shown);
}

TEST_F(FindControllerTest, TheCaseOptionReachesTheSearchAndBothViews)
{
    m_bar->optionPopup()->setCurrentIndex(1);
    m_bar->popupChanged(m_bar->optionPopup());
    EXPECT_EQ(m_grid->findOptions(), Qt::CaseSensitive);
    find->findStringDidChange("lee");
    EXPECT_FALSE(find->selectedItemAndRange()->length);
    find->findStringDidChange("Lee");
    EXPECT_EQ(find->selectedItemAndRange()->subIdentifier, "LastName");
}

TEST_F(FindControllerTest, SelectionsMoveTheCursor)
{
    const QList<SubContactRowPtr> rows = m_grid->subContactTable();
    ASSERT_GE(rows.size(), 2);
    find->rowSelectionDidChange(rows.at(1));
    EXPECT_EQ(find->selectedItemAndRange()->identifier, "Name");
    EXPECT_EQ(find->selectedItemAndRange()->labelIndex, 1);
    // From the contact's second row the walk goes on in that row.
    find->findStringDidChange("333");
    EXPECT_EQ(find->selectedItemAndRange()->labelIndex, 2);

    find->rowSelectionDidChange(DetailRow{"Phone", QString("work"), 2, 1, 0, {}, {}});
    EXPECT_EQ(find->selectedItemAndRange()->labelIndex, 2);
    EXPECT_EQ(find->selectedItemAndRange()->subIdentifier, "");
    find->rowSelectionDidChange(DetailRow{"Name", QString("LastName"), 2, std::nullopt, 0, {}, {}});
    EXPECT_EQ(find->selectedItemAndRange()->subIdentifier, "LastName");
    EXPECT_EQ(find->selectedItemAndRange()->uniqueId, annRow->uniqueId);
}

// Text typed into the bar without Return is searched before Replace, All or Next acts on it; an
// emptied field replaces nothing and ends the last search.
TEST_F(FindControllerTest, TheBarsButtonsActOnTheTextTheFieldShows)
{
    const ContactRowPtr doctor = add(storeContact("Second", "Doctor"));
    const ContactRowPtr simon = add(storeContact("Simon", "Perreault"));
    m_bar->setEditState(true);
    QLineEdit *field = m_bar->searchField();
    const auto lastName = [](const ContactRowPtr &row) {
        return row->person->nameValue().value("LastName").toString();
    };

    QTest::keyClicks(field, "Doctor");
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(find->selectedItemAndRange()->uniqueId, doctor->uniqueId);
    retype("Perr");
    QTest::keyClicks(m_bar->replaceStringField(), "ZZ");
    click(m_bar->replaceControl(), 1);
    EXPECT_EQ(lastName(doctor), "Doctor");
    EXPECT_EQ(lastName(simon), "ZZeault");

    retype("Simon");
    click(m_bar->replaceControl(), 0);
    EXPECT_EQ(simon->person->nameValue().value("FirstName").toString(), "ZZ");

    retype("Leeds");
    click(m_bar->directControl(), 1);
    EXPECT_EQ(find->findString(), "Leeds");
    EXPECT_EQ(find->selectedItemAndRange()->uniqueId, bobRow->uniqueId);

    retype("");
    click(m_bar->replaceControl(), 1);
    click(m_bar->replaceControl(), 0);
    click(m_bar->directControl(), 0);
    EXPECT_EQ(lastName(bobRow), "Leeds");
    EXPECT_EQ(find->findString(), "");
    EXPECT_EQ(find->selectedItemAndRange()->uniqueId, bobRow->uniqueId);
}

// Next on text typed without Return lands where Return would, on the new search's first match,
// with nothing searched yet or after another search; Previous steps back from that match.
TEST_F(FindControllerTest, NextOnARetypedFieldLandsOnTheNewSearchsFirstMatch)
{
    QTest::keyClicks(m_bar->searchField(), "Lee");
    click(m_bar->directControl(), 1);
    EXPECT_EQ(gridHit(), "Ann Name");
    for (const char *before : {"Ann", "Bob"}) {
        retype(before);
        QTest::keyClick(m_bar->searchField(), Qt::Key_Return);
        retype("Lee");
        click(m_bar->directControl(), before == QString("Ann") ? 1 : 0);
        EXPECT_EQ(gridHit(), before == QString("Ann") ? "Ann Name" : "Ann Note");
    }
}

// The clear button takes the old search's marks from both views.
TEST_F(FindControllerTest, ClearingTheFieldClearsTheMarks)
{
    m_detail->setContact(annRow);
    m_bar->setVisible(true);
    QTest::keyClicks(m_bar->searchField(), "Lee");
    QTest::keyClick(m_bar->searchField(), Qt::Key_Return);
    ASSERT_EQ(noteMarks(), 2);
    auto *clearButton = m_bar->searchField()->findChild<QToolButton *>();
    ASSERT_TRUE(spinUntil([clearButton] { return clearButton->isVisible(); }));
    QTest::mouseClick(clearButton, Qt::LeftButton);
    EXPECT_EQ(noteMarks(), 0);
}

} // namespace

// The bar's Replace All takes only whole characters: a flag, an emoji with its skin tone, a base
// with its accent, beside scripts whose clusters Qt's own finder splits.
TEST_F(FindControllerTest, TheBarsReplaceAllKeepsCharactersWhole)
{
    const auto withNote = [this](const char *givenName, const char16_t *note) {
        StoreContact contact = storeContact(givenName, "Ames");
        contact.note = QString::fromUtf16(note);
        return add(contact);
    };
    const QList<ContactRowPtr> rows{
        withNote("Cy", u"🇩🇪🇪🇸 नमस्ते 🇪🇪"), withNote("Di", u"👍🏽 नमस्ते 👍"),
        withNote("Ed", u"❤️ தமிழ் ❤"), withNote("Flo", u"Re\u0301sume")};
    m_bar->setEditState(true);
    // The grid marks only what the bar replaces: Lee's note has three e's.
    const QList<std::tuple<QString, QString, qsizetype>> replacements{{"e", "3", 4},
                                                                      {QString::fromUtf16(u"🇪🇪"), "EE", 1},
                                                                      {QString::fromUtf16(u"👍"), "T", 1},
                                                                      {QString::fromUtf16(u"❤"), "H", 1}};
    const int noteColumn = int(m_grid->tableIdentifiers().indexOf("Note"));
    const QAbstractItemModel *grid = m_grid->tableView()->model();
    for (const auto &[found, replacement, marks] : replacements) {
        retype({});
        // Typed through the input method, as emoji and Indic letters are.
        QInputMethodEvent typed;
        typed.setCommitString(found);
        QApplication::sendEvent(m_bar->searchField(), &typed);
        QTest::keyClick(m_bar->searchField(), Qt::Key_Return);
        qsizetype marked = 0;
        for (int row = 0; row < grid->rowCount(); ++row)
            marked += grid->index(row, noteColumn).data(GridModel::FindRangesRole).toList().size();
        EXPECT_EQ(marked, marks) << found.toStdString();
        m_bar->replaceStringField()->clear();
        QTest::keyClicks(m_bar->replaceStringField(), replacement);
        click(m_bar->replaceControl(), 1);
    }
    const QStringList expected{
        QString::fromUtf16(u"🇩🇪🇪🇸 नमस्ते EE"), QString::fromUtf16(u"👍🏽 नमस्ते T"),
        QString::fromUtf16(u"❤️ தமிழ் H"), QString::fromUtf16(u"Re\u0301sum3")};
    for (qsizetype i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows.at(i)->person->stringValueForIdentifier("Note"), expected.at(i));
}
