// The find-and-replace window: its search over a snapshot, its filters and modes, stepping,
// replacing, in-place edits and the date editor, driven through the window's own methods.

#include "FindFixture.h"

#include "editors/DateEditorAdapter.h"
#include "editors/DateViewController.h"
#include "find/FindPanel.h"
#include "find/FindPanelFilters.h"
#include "find/FindPanelResultsModel.h"
#include "find/FindPanelSearch.h"
#include "platform/Dispatch.h"
#include "platform/widgets/FindPasteboard.h"
#include "platform/widgets/Popover.h"
#include "ui/widgets/SegmentedControl.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

using Ranges = QList<MatchScan::TextRange>;

StoreLabeledAddress address(const QString &label, const QString &street, const QString &city)
{
    return {{}, label, {street, city, "IL", "62701", "USA", "us"}};
}

} // namespace

TEST(MatchScanTest, ModesAnchorsAndBadPatterns)
{
    EXPECT_EQ(MatchScan("ann", MatchScan::CaseInsensitive).ranges("Ann and ANN"), (Ranges{R(0, 3), R(8, 3)}));
    EXPECT_TRUE(MatchScan("ann", MatchScan::CaseSensitive).ranges("Ann").isEmpty());
    EXPECT_EQ(MatchScan("aa", MatchScan::CaseSensitive).ranges("aaaaa"), (Ranges{R(0, 2), R(2, 2)}));
    // Anchored at both ends: a whole part only.
    EXPECT_EQ(MatchScan("^Ann$", MatchScan::RegularExpression).ranges("Ann"), (Ranges{R(0, 3)}));
    EXPECT_TRUE(MatchScan("^Ann$", MatchScan::RegularExpression).ranges("Anna").isEmpty());
    EXPECT_EQ(MatchScan("[0-9]+", MatchScan::RegularExpression).ranges("a12b3"), (Ranges{R(1, 2), R(4, 1)}));
    // A pattern that matches nothing but the empty string ends the scan.
    EXPECT_TRUE(MatchScan("x*", MatchScan::RegularExpression).ranges("abc").isEmpty());
    const MatchScan bad("(", MatchScan::RegularExpression);
    EXPECT_FALSE(bad.isValid());
    EXPECT_TRUE(bad.ranges("((").isEmpty());
    EXPECT_TRUE(MatchScan("", MatchScan::CaseInsensitive).ranges("abc").isEmpty());
    // A pattern that would backtrack for ages gives up on the value.
    EXPECT_TRUE(MatchScan("(a+)+$", MatchScan::RegularExpression).ranges(QString(40, u'a') + u'!').isEmpty());
}

// Only a \w, \W, \b or \B that stands for itself takes in the marks: not one quoted, escaped or
// in a comment, and a class stays one class.
TEST(MatchScanTest, WordClassesTakeInMarksWhereverTheyStandForThemselves)
{
    const QString text = QString::fromUtf16(u"x\\w]-e\u0301:");
    const QList<std::pair<QString, Ranges>> rows{
        {"e\\B", {R(5, 1)}},
        {"[]\\w]+", {R(0, 1), R(2, 2), R(5, 2)}},
        {"[[:punct:]\\w]{3}", {R(0, 3), R(3, 3)}},
        {"\\Q\\w\\E", {R(1, 2)}},
        {"(?#[)\\W+", {R(1, 1), R(3, 2), R(7, 1)}},
        {"\\c[|\\w\\W", {R(0, 2), R(2, 2), R(6, 2)}},
    };
    for (const auto &[pattern, ranges] : rows)
        EXPECT_EQ(MatchScan(pattern, MatchScan::RegularExpression).ranges(text), ranges)
            << pattern.toStdString();
}

class FindPanelFiltersTest : public FindFixture
{
};

TEST_F(FindPanelFiltersTest, ChoicesTitlesAndNeverEmpty)
{
    FindPanelFilters filters({"Name", "Phone", "Email"}, {});
    const QString name = QNPerson::localizedIdentifierForKey("Name");
    const QString phone = QNPerson::localizedIdentifierForKey("Phone");
    const QString email = QNPerson::localizedIdentifierForKey("Email");
    EXPECT_EQ(filters.itemTitle(), QString("Items - %1 + %2 + %3 ").arg(name, phone, email));
    EXPECT_EQ(filters.items().indexOf("ZIP"), filters.items().indexOf("Address") + 1);
    EXPECT_EQ(filters.subItems().size(), 23);

    filters = FindPanelFilters({"Phone", "Email"}, {});
    filters.chooseItem("Phone");
    EXPECT_EQ(filters.selectedItems(), QStringList{"Email"});
    filters.chooseItem("Email");
    EXPECT_EQ(filters.selectedItems(), QStringList{"Email"});
    filters.chooseItem("City");
    EXPECT_EQ(filters.selectedItems(), (QStringList{"Email", "City"}));
    filters.chooseItem("All");
    EXPECT_EQ(filters.itemTitle(), "Items - All");
    filters.chooseSubItem("City");
    filters.chooseSubItem("All");
    EXPECT_EQ(filters.subItemTitle(), "Sub Items - All");

    filters.chooseLabel("home", "Home");
    filters.chooseLabel("work", "Work");
    EXPECT_EQ(filters.labelTitle(), "Label - Home+Work");
    filters.chooseLabel("home", "Home");
    filters.chooseLabel("work", "Work");
    EXPECT_EQ(filters.selectedLabels(), QStringList{"work"});
}

TEST_F(FindPanelFiltersTest, CustomLabelsKeepTheirOwnTitles)
{
    QNPerson::addCustomLabel("gym", "Phone");
    const FindPanelFilters filters({}, {});
    EXPECT_EQ(filters.selectedItems(), QStringList{"All"});
    bool found = false;
    for (const FindPanelFilters::LabelChoice &choice : filters.labelChoices()) {
        EXPECT_FALSE(choice.label.isEmpty());
        if (choice.label == "gym")
            found = choice.title == "gym";
    }
    EXPECT_TRUE(found);
}

class FindPanelSearchTest : public FindFixture
{
protected:
    QList<SearchResultRowPtr> search(const ContactRowPtr &contact, const QString &string,
                                     QStringList items = {"All"}, QStringList subItems = {"All"},
                                     QStringList labels = {"All"},
                                     unsigned options = MatchScan::CaseInsensitive,
                                     QVariantList customItems = {})
    {
        const FindPanelSearch search{FindFields(customItems)};
        return search.searchContact({string, items, subItems, labels, options}, contact);
    }
};

TEST_F(FindPanelSearchTest, RowsPerTextRangesPerMatch)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.phoneNumbers = {labeled("home", "555-1"), labeled("work", "555-2")};
    ann.note = "555 and 555";
    // The note comes before the phones in the identifiers' order.
    const auto rows = search(rowOf(ann), "555");
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.at(0)->item, "Note");
    EXPECT_EQ(rows.at(0)->ranges, (Ranges{R(0, 3), R(8, 3)}));
    EXPECT_FALSE(rows.at(0)->index);
    EXPECT_EQ(rows.at(1)->item, "Phone");
    EXPECT_EQ(rows.at(1)->index, 0);
    EXPECT_EQ(rows.at(2)->index, 1);
    EXPECT_EQ(rows.at(2)->label, "work");
    EXPECT_TRUE(search(rowOf(ann), "").isEmpty());
}

TEST_F(FindPanelSearchTest, AddressPartsAndFilters)
{
    StoreContact ann = storeContact("Springer", "Lee");
    ann.postalAddresses = {address("home", "1 Spring St", "Springfield"),
                           address("work", "2 Main St", "Boston")};
    ann.note = "Spring";
    ann.birthday = DateComponents{1980, 5, 17};
    const ContactRowPtr row = rowOf(ann);

    const auto city = search(row, "spring", {"City"});
    ASSERT_EQ(city.size(), 1);
    EXPECT_EQ(city.at(0)->item, "Address");
    EXPECT_EQ(city.at(0)->subItem, "City");
    EXPECT_EQ(city.at(0)->index, 0);

    // A label filter leaves out the name, the birthday and string fields.
    const auto home = search(row, "spring", {"All"}, {"All"}, {"home"});
    ASSERT_EQ(home.size(), 2);
    EXPECT_EQ(home.at(0)->subItem, "City");
    EXPECT_EQ(home.at(1)->subItem, "Street");
    EXPECT_TRUE(search(row, "1980", {"All"}, {"All"}, {"home"}).isEmpty());
    EXPECT_EQ(search(row, "1980").size(), 1);

    // A sub-item filter leaves out string fields but not the address parts it names.
    const auto street = search(row, "spring", {"All"}, {"Street"});
    ASSERT_EQ(street.size(), 1);
    EXPECT_EQ(street.at(0)->subItem, "Street");

    const auto anchored = search(row, "^Springer$", {"Name"}, {"All"}, {"All"}, MatchScan::RegularExpression);
    ASSERT_EQ(anchored.size(), 1);
    EXPECT_EQ(anchored.at(0)->subItem, "FirstName");
    EXPECT_TRUE(search(row, "^Spring$", {"Name"}, {"All"}, {"All"}, MatchScan::RegularExpression).isEmpty());
}

TEST_F(FindPanelSearchTest, CustomLabelsAndCustomItems)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.phoneNumbers = {labeled("gym", "42-1"), labeled("home", "42-2")};
    const auto gym = search(rowOf(ann), "42", {"Phone"}, {"All"}, {"gym"});
    ASSERT_EQ(gym.size(), 1);
    EXPECT_EQ(gym.at(0)->value, "42-1");
}

// --- the window ---------------------------------------------------------------------------

class FindPanelTest : public FindHostFixture
{
protected:
    void SetUp() override
    {
        FindHostFixture::SetUp();
        FindPasteboard::setString({});
    }

    std::unique_ptr<FindPanel> open(bool editState = true, const QStringList &items = {"All"})
    {
        FindPanelSetup setup;
        setup.contacts = m_table;
        setup.selectedItems = items;
        setup.editState = editState;
        setup.funnel = &m_book->funnel();
        setup.mainUndoManager = m_book->undoManager();
        setup.dateEditorFactory = [this] {
            auto adapter = std::make_unique<DateEditorAdapter>();
            dateEditor = adapter->editor();
            return adapter;
        };
        return std::make_unique<FindPanel>(std::move(setup));
    }

    static void searchFor(FindPanel &panel, const QString &text)
    {
        panel.searchField()->setText(text);
        panel.textDidEnter();
        waitFor(panel);
    }
    // Every search started has handed over (a superseded one says nothing when it does).
    static void waitFor(FindPanel &panel)
    {
        QElapsedTimer waited;
        waited.start();
        while (panel.isSearching() && waited.elapsed() < 10000)
            QTest::qWait(5);
        ASSERT_FALSE(panel.isSearching());
    }
    // Replace (0) or All (1), clicked with that replacement typed.
    static void clickReplace(FindPanel &panel, const QString &replacement, int segment)
    {
        panel.replaceField()->setText(replacement);
        QTest::mouseClick(panel.replaceButtons()->segmentButton(segment), Qt::LeftButton);
    }
    // The window in its modal run, as the Edit menu runs it: the steps act from inside the run.
    static void runModal(FindPanel &panel, const std::function<void()> &steps)
    {
        QTimer::singleShot(0, &panel, [&] {
            steps();
            panel.done(0);
        });
        panel.runModal();
    }
    static QStringList values(const FindPanel &panel)
    {
        QStringList texts;
        for (const SearchResultRowPtr &row : panel.searchResults())
            texts.append(row->value);
        return texts;
    }

    QPointer<DateViewController> dateEditor;
};

TEST_F(FindPanelTest, OpeningTakesThePasteboardTheColumnsAndTheEditState)
{
    showColumns({"Name", "Phone", "Email"});
    FindPasteboard::setString("cat");
    const FindPanelSetup setup = find->findPanelSetup(true, {});
    EXPECT_EQ(setup.searchString, "cat");
    EXPECT_EQ(find->findString(), "cat");
    EXPECT_EQ(setup.selectedItems, (QStringList{"Name", "Phone", "Email"}));
    EXPECT_TRUE(setup.editState);
    EXPECT_EQ(setup.contacts, m_table);

    FindPanel panel(setup);
    EXPECT_EQ(panel.searchField()->text(), "cat");
    EXPECT_TRUE(panel.isEditing());
    EXPECT_EQ(panel.editButton()->text(), "Lock");
    EXPECT_EQ(panel.filters().selectedItems(), setup.selectedItems);
    EXPECT_TRUE(panel.itemPopup()->text().startsWith("Items - "));
}

TEST_F(FindPanelTest, ModesAndInvalidPatterns)
{
    StoreContact ann = storeContact("Ann", "Lee");
    add(ann);
    auto panel = open();
    searchFor(*panel, "ann");
    EXPECT_EQ(values(*panel), QStringList{"Ann"});
    panel->searchModePopupDidSelect(1);
    EXPECT_EQ(panel->compareOptions(), 0u);
    waitFor(*panel);
    EXPECT_TRUE(panel->searchResults().isEmpty());
    panel->searchModePopupDidSelect(2);
    searchFor(*panel, "(");
    EXPECT_TRUE(panel->searchResults().isEmpty());
    EXPECT_FALSE(panel->message().isEmpty());
    searchFor(*panel, "^A");
    EXPECT_EQ(values(*panel), QStringList{"Ann"});
    EXPECT_TRUE(panel->message().isEmpty());
}

TEST_F(FindPanelTest, AStaleSearchNeverOverwritesANewerOne)
{
    for (int i = 0; i < 200; ++i)
        add(storeContact(QString("Ann%1").arg(i), "Lee"));
    auto panel = open();
    QSignalSpy shown(panel.get(), &FindPanel::searchFinished);
    panel->searchField()->setText("Ann");
    panel->textDidEnter();
    panel->searchField()->setText("Ann19");
    panel->textDidEnter();
    waitFor(*panel);
    // Whichever finished first, only the newer search's rows were ever shown.
    EXPECT_EQ(shown.count(), 1);
    EXPECT_EQ(panel->searchResults().size(), 11);
}

TEST_F(FindPanelTest, SteppingWrapsAndReplaceAdvances)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.note = "cat cat";
    const ContactRowPtr annRow = add(ann);
    StoreContact bob = storeContact("Bob", "Kay");
    bob.note = "cat";
    add(bob);
    auto panel = open();
    searchFor(*panel, "cat");
    ASSERT_EQ(panel->searchResults().size(), 2);
    EXPECT_EQ(panel->selectedRow(), 0);
    panel->directionButtonDidClick(1);
    EXPECT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(0, 1));
    panel->directionButtonDidClick(1);
    EXPECT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(1, 0));
    panel->directionButtonDidClick(1);
    EXPECT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(0, 0));
    panel->directionButtonDidClick(0);
    EXPECT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(1, 0));
    panel->directionButtonDidClick(0);
    EXPECT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(0, 1));

    panel->replaceField()->setText("dog");
    panel->replaceButtonDidClick(0);
    EXPECT_EQ(annRow->person->stringValueForIdentifier("Note"), "cat dog");
    EXPECT_EQ(panel->searchResults().at(0)->ranges, Ranges{R(0, 3)});
    EXPECT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(1, 0));
}

// Replace with the match's own text writes nothing, in the window's history or the book's, and
// goes on to the next match.
TEST_F(FindPanelTest, ReplacingAMatchByItselfWritesNothing)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.note = "cat";
    add(ann);
    StoreContact bob = storeContact("Bob", "Kay");
    bob.note = "cat";
    add(bob);
    auto panel = open();
    searchFor(*panel, "cat");
    clickReplace(*panel, "cat", 0);
    EXPECT_EQ(panel->selectedRow(), 1);
    EXPECT_FALSE(panel->undoManager()->canUndo());
    EXPECT_FALSE(m_book->undoManager()->canUndo());
}

TEST_F(FindPanelTest, ReplaceAllReplacesTheListedMatchesInOneStep)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.note = "Cat and cat";
    ann.phoneNumbers = {labeled("home", "cat-1"), labeled("work", "cat-2")};
    ann.birthday = DateComponents{1980, 5, 17};
    const ContactRowPtr annRow = add(ann);
    add(storeContact("Bob", "Kay"));
    nextEvent();
    auto panel = open();
    searchFor(*panel, "cat");
    ASSERT_EQ(panel->searchResults().size(), 3);
    panel->replaceField()->setText("dog");
    panel->replaceButtonDidClick(1);
    EXPECT_EQ(annRow->person->stringValueForIdentifier("Note"), "dog and dog");
    const QVariantList phones = annRow->person->labeledValueForIdentifier("Phone");
    EXPECT_EQ(phones.at(0).toMap().value("value"), "dog-1");
    EXPECT_EQ(phones.at(1).toMap().value("value"), "dog-2");
    EXPECT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(-1, -1));

    // Once more: nothing listed changes, nothing is written.
    panel->undoManager()->closeAutomaticGroup();
    nextEvent();
    panel->replaceButtonDidClick(1);
    nextEvent();
    m_book->undoManager()->undo();
    EXPECT_FALSE(m_book->undoManager()->canUndo());
    EXPECT_EQ(annRow->person->stringValueForIdentifier("Note"), "Cat and cat");
    EXPECT_EQ(annRow->person->labeledValueForIdentifier("Phone").at(1).toMap().value("value"), "cat-2");
    m_book->undoManager()->redo();

    // The window's own undo puts the rows and the record back in one step.
    panel->undoManager()->undo();
    EXPECT_EQ(values(*panel), (QStringList{"Cat and cat", "cat-1", "cat-2"}));
    EXPECT_EQ(annRow->person->stringValueForIdentifier("Note"), "Cat and cat");
    EXPECT_FALSE(panel->undoManager()->canUndo());
}

TEST_F(FindPanelTest, ReplaceAllWithoutASearchStringDoesNothing)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.note = "cat";
    add(ann);
    auto panel = open();
    waitFor(*panel);
    panel->replaceButtonDidClick(1);
    EXPECT_FALSE(panel->undoManager()->canUndo());
    EXPECT_FALSE(m_book->undoManager()->canUndo());
}

TEST_F(FindPanelTest, InPlaceEditsFollowEditAndLock)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.phoneNumbers = {labeled("home", "cat-1")};
    const ContactRowPtr annRow = add(ann);
    auto panel = open(false);
    searchFor(*panel, "cat");
    panel->textFieldCellChanged(0, "dog");
    EXPECT_EQ(annRow->person->labeledValueForIdentifier("Phone").at(0).toMap().value("value"), "cat-1");
    panel->tableViewDoubleAction(panel->tableView()->model()->index(0, 0));
    EXPECT_FALSE(panel->tableView()->viewport()->findChild<QLineEdit *>());

    panel->setEditing(true);
    panel->tableViewDoubleAction(panel->tableView()->model()->index(0, 0));
    EXPECT_TRUE(panel->tableView()->viewport()->findChild<QLineEdit *>());
    panel->textFieldCellChanged(0, "cat-1");
    EXPECT_FALSE(panel->undoManager()->canUndo());
    panel->textFieldCellChanged(0, "dog");
    EXPECT_EQ(annRow->person->labeledValueForIdentifier("Phone").at(0).toMap().value("value"), "dog");
    EXPECT_EQ(panel->searchResults().at(0)->ranges, Ranges{R(0, 0)});
    EXPECT_EQ(panel->tableView()->rowHeight(0), 24);
    panel->textFieldCellChanged(0, "a\nb\nc");
    EXPECT_EQ(panel->tableView()->rowHeight(0), 24);
}

// A row as tall as a long note showed as a blank block: each row is one line, the one holding its
// current match.
TEST_F(FindPanelTest, ARowOfAManyLineNoteShowsTheLineOfItsMatch)
{
    QStringList lines(60, "Some line");
    lines[39] = "Feed the cat";
    lines[49] = "cat sitter";
    StoreContact ann = storeContact("Ann", "Lee");
    ann.note = lines.join('\n');
    add(ann);
    auto panel = open();
    searchFor(*panel, "cat");
    QTableView *results = panel->tableView();
    const QModelIndex value = results->model()->index(0, FindPanelResultsModel::ValueColumn);
    EXPECT_EQ(results->rowHeight(0), 24);
    for (const auto &[shown, ranges] : {std::pair(QString("Feed the cat"), Ranges{R(9, 3), R(-1, 0)}),
                                        std::pair(QString("cat sitter"), Ranges{R(-1, 0), R(0, 3)})}) {
        EXPECT_EQ(value.data().toString(), shown);
        EXPECT_EQ(value.data(FindPanelResultsModel::RangesRole).value<Ranges>(), ranges);
        QTest::mouseClick(panel->directionControl()->segmentButton(1), Qt::LeftButton);
    }
}

// A value longer than a line field's default limit survives its in-place editor: confirmed
// unchanged it writes nothing, and text typed at its end is added to the whole of it.
TEST_F(FindPanelTest, ALongValueSurvivesItsInPlaceEditorWhole)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.jobTitle = "Chair " + QString(40000, 'x');
    const ContactRowPtr annRow = add(ann);
    auto panel = open();
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    searchFor(*panel, "Chair");
    QTableView *results = panel->tableView();
    const QPoint value =
        results->visualRect(results->model()->index(0, FindPanelResultsModel::ValueColumn)).center();
    for (const QString typed : {"", " emeritus"}) {
        QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, value);
        QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, value);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_NE(editor, nullptr);
        QTest::keyClick(editor, Qt::Key_End);
        QTest::keyClicks(editor, typed);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_TRUE(annRow->person->stringValueForIdentifier("Job Title") == ann.jobTitle + typed);
        EXPECT_EQ(panel->undoManager()->canUndo(), !typed.isEmpty());
    }
}

TEST_F(FindPanelTest, TheDateEditorWritesTheBirthdayAndDates)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.birthday = DateComponents{1980, 5, 17};
    ann.dates = {{{}, "anniversary", DateComponents{1980, 6, 1}}, {{}, "other", DateComponents{1981, 6, 1}}};
    const ContactRowPtr annRow = add(ann);
    auto panel = open();
    searchFor(*panel, "198");
    ASSERT_EQ(values(*panel).size(), 3);
    EXPECT_FALSE(panel->replaceButtons()->isEnabled());

    const auto editRow = [&](int row, const QString &text) {
        panel->tableView()->selectRow(row);
        panel->tableViewDoubleAction(panel->tableView()->model()->index(row, 4));
        ASSERT_TRUE(dateEditor);
        dateEditor->clearButton()->click();
        dateEditor->dateField()->setText(text);
        dateEditor->doneButton()->click();
    };
    // The dates come before the birthday in the identifiers' order.
    const QString label =
        annRow->person->labeledValueForIdentifier("Dates").at(0).toMap().value("label").toString();
    editRow(2, "1990.01.02");
    EXPECT_EQ(annRow->person->birthdayValue()->value("stringValue").toString().left(10), "1990.01.02");
    editRow(0, "2000.03.04");
    const QVariantList dates = annRow->person->labeledValueForIdentifier("Dates");
    EXPECT_EQ(dates.at(0).toMap().value("stringValue").toString().left(10), "2000.03.04");
    EXPECT_EQ(dates.at(0).toMap().value("label"), label);
    EXPECT_EQ(values(*panel).at(0).left(10), "2000.03.04");

    // A cleared entry is deleted, not kept without a date; undo brings it back in its place.
    panel->undoManager()->closeAutomaticGroup();
    editRow(0, "");
    ASSERT_EQ(annRow->person->labeledValueForIdentifier("Dates").size(), 1);
    panel->undoManager()->closeAutomaticGroup();
    panel->undoManager()->undo();
    ASSERT_EQ(annRow->person->labeledValueForIdentifier("Dates").size(), 2);
    EXPECT_EQ(annRow->person->labeledValueForIdentifier("Dates").at(0).toMap().value("label"), label);
    EXPECT_EQ(annRow->person->labeledValueForIdentifier("Dates")
                  .at(0)
                  .toMap()
                  .value("stringValue")
                  .toString()
                  .left(10),
              "2000.03.04");

    // Locked, a double click opens nothing.
    panel->setEditing(false);
    dateEditor = nullptr;
    panel->tableViewDoubleAction(panel->tableView()->model()->index(0, 4));
    EXPECT_FALSE(dateEditor);
}

TEST_F(FindPanelTest, ReplaceAllReachesEveryKindOfFieldByTheEntrysOwnNumber)
{
    StoreContact ann = storeContact("Azz", "Lee");
    ann.phoneticGivenName = "Bzz";
    ann.postalAddresses = {address("home", "1 zz St", "Boston"), address("work", "2 zz St", "Salem")};
    ann.instantMessageAddresses = {{{}, "home", {"zzman", "Jabber"}}};
    ann.note = "zz";
    const ContactRowPtr annRow = add(ann);
    auto panel = open();
    searchFor(*panel, "zz");
    ASSERT_EQ(panel->searchResults().size(), 6);

    // The first address goes after the search: its row is stale, the second's position moved.
    const qint64 first = *panel->searchResults().at(2)->labelIndex;
    ASSERT_EQ(panel->searchResults().at(2)->item, "Address");
    ASSERT_TRUE(m_book->funnel().undoDeleteLabeledValueForIdentifier("Address", first, annRow, nullptr));
    panel->replaceField()->setText("y");
    panel->replaceButtonDidClick(1);

    QNPerson &person = *annRow->person;
    EXPECT_EQ(person.nameValue().value("FirstName"), "Ay");
    EXPECT_EQ(person.phoneticNameValue()->value("FirstName"), "By");
    EXPECT_EQ(person.stringValueForIdentifier("Note"), "y");
    const QVariantList addresses = person.labeledValueForIdentifier("Address");
    ASSERT_EQ(addresses.size(), 1);
    EXPECT_EQ(addresses.at(0).toMap().value("Street"), "2 y St");
    EXPECT_EQ(person.labeledValueForIdentifier("Instant Message").at(0).toMap().value("value"), "yman");
}

TEST_F(FindPanelTest, SharedLabelsAreCheckedInEveryKindAndSortingKeepsTheSelection)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.phoneNumbers = {labeled("home", "cat-1"), labeled("work", "cat-2")};
    ann.emailAddresses = {labeled("home", "cat@mail.org")};
    add(ann);
    auto panel = open();
    panel->labelPopupDidSelect("home", "Home");
    searchFor(*panel, "cat");
    EXPECT_EQ(values(*panel), (QStringList{"cat-1", "cat@mail.org"}));
    QMenu *menu = panel->labelPopup()->menu();
    emit menu->aboutToShow();
    int homes = 0;
    for (QAction *action : menu->actions()) {
        if (action->data() == "home") {
            EXPECT_TRUE(action->isChecked());
            ++homes;
        }
    }
    EXPECT_GT(homes, 1);

    panel->tableView()->selectRow(0);
    panel->sortResults(4, Qt::DescendingOrder);
    EXPECT_EQ(values(*panel), (QStringList{"cat@mail.org", "cat-1"}));
    EXPECT_EQ(panel->tableView()->selectionModel()->selectedRows().value(0).row(), 1);
}

TEST_F(FindPanelTest, ContactsMarkedDeletedAreNeitherListedNorReplaced)
{
    const ContactRowPtr john = add(storeContact("John", "Doe"));
    const ContactRowPtr jane = add(storeContact("Jane", "Doe"));
    jane->deleted = true;
    auto panel = open();
    searchFor(*panel, "Doe");
    ASSERT_EQ(panel->searchResults().size(), 1);
    EXPECT_EQ(panel->searchResults().at(0)->contact, john);
    clickReplace(*panel, "Roe", 1);
    EXPECT_EQ(jane->person->nameValue().value("LastName"), "Doe");
    // Deleted once listed, a contact is written no more.
    searchFor(*panel, "Roe");
    john->deleted = true;
    clickReplace(*panel, "Poe", 1);
    EXPECT_EQ(john->person->nameValue().value("LastName"), "Roe");
}

TEST_F(FindPanelTest, TheNameColumnShowsTheNameAsItIsNow)
{
    StoreContact john = storeContact("John", "Doe");
    john.note = "Doe";
    add(john);
    auto panel = open();
    searchFor(*panel, "Doe");
    // The name is the current match; the note's row shows the new name too.
    clickReplace(*panel, "Do~", 0);
    EXPECT_EQ(panel->tableView()->model()->index(1, 0).data().toString(), "John Do~");
    searchFor(*panel, "Do~");
    clickReplace(*panel, "Doe", 1);
    EXPECT_EQ(panel->tableView()->model()->index(0, 0).data().toString(), "John Doe");
}

// After Replace All a new search shows its first match as current, as a fresh window's first
// search does, and Replace acts on it.
TEST_F(FindPanelTest, ReplaceAfterANewSearchActsOnItsFirstMatch)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.note = "cat cat";
    const ContactRowPtr annRow = add(ann);
    auto panel = open();
    searchFor(*panel, "cat");
    clickReplace(*panel, "cow", 1);
    searchFor(*panel, "cow");
    const QModelIndex first = panel->tableView()->model()->index(0, FindPanelResultsModel::ValueColumn);
    EXPECT_EQ(first.data(FindPanelResultsModel::CurrentRangeRole).toInt(), 0);
    clickReplace(*panel, "pig", 0);
    EXPECT_EQ(annRow->person->stringValueForIdentifier("Note"), "pig cow");
}

// A row picked in the results holds the current match from its first one, whatever was current
// before: a match past the row's own, or none after Replace All. Replace is on only while there is
// a match for it to replace.
TEST_F(FindPanelTest, APickedRowsFirstMatchIsTheOneReplaceActsOn)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.note = "cat cat";
    const ContactRowPtr annRow = add(ann);
    StoreContact bob = storeContact("Bob", "Kay");
    bob.note = "cat";
    const ContactRowPtr bobRow = add(bob);
    auto panel = open();
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    searchFor(*panel, "cat");
    QTableView *results = panel->tableView();
    const auto pick = [results](int row) {
        const QModelIndex cell = results->model()->index(row, FindPanelResultsModel::ValueColumn);
        QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, results->visualRect(cell).center());
    };
    QToolButton *replace = panel->replaceButtons()->segmentButton(0);

    QTest::mouseClick(panel->directionControl()->segmentButton(1), Qt::LeftButton);
    ASSERT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(0, 1));
    pick(1);
    EXPECT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(1, 0));
    clickReplace(*panel, "dog", 0);
    EXPECT_EQ(bobRow->person->stringValueForIdentifier("Note"), "dog");

    searchFor(*panel, "cat");
    EXPECT_TRUE(replace->isEnabled());
    clickReplace(*panel, "cow", 1);
    EXPECT_FALSE(replace->isEnabled());
    panel->undoManager()->undo();
    EXPECT_FALSE(replace->isEnabled());
    // The row the table still shows selected.
    pick(0);
    EXPECT_TRUE(replace->isEnabled());
    clickReplace(*panel, "pig", 0);
    EXPECT_EQ(annRow->person->stringValueForIdentifier("Note"), "pig cat");
}

// Text typed without Return is searched before All, Replace or Previous acts, and the buttons do
// not offer the last search's matches meanwhile; Next on it lands on the new search's first match,
// as Return does; an emptied field does nothing.
TEST_F(FindPanelTest, TheButtonsActOnTheTextTheFieldShows)
{
    const ContactRowPtr doctor = add(storeContact("Second", "Doctor"));
    const ContactRowPtr simon = add(storeContact("Simon", "Perreault"));
    auto panel = open();
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    QLineEdit *field = panel->searchField();
    const auto retype = [field](const QString &text) {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    };
    QToolButton *replace = panel->replaceButtons()->segmentButton(0);
    QToolButton *all = panel->replaceButtons()->segmentButton(1);
    const auto lastName = [](const ContactRowPtr &row) {
        return row->person->nameValue().value("LastName").toString();
    };

    QTest::keyClicks(field, "Doctor");
    QTest::keyClick(field, Qt::Key_Return);
    waitFor(*panel);
    retype("Perr");
    QTest::keyClicks(panel->replaceField(), "ZZ");
    EXPECT_TRUE(all->isEnabled());
    QTest::mouseClick(all, Qt::LeftButton);
    waitFor(*panel);
    EXPECT_EQ(lastName(doctor), "Doctor");
    EXPECT_EQ(lastName(simon), "ZZeault");

    // No match of the last search is left, but the typed text may have one.
    retype("Simon");
    EXPECT_TRUE(replace->isEnabled());
    QTest::mouseClick(replace, Qt::LeftButton);
    waitFor(*panel);
    EXPECT_EQ(simon->person->nameValue().value("FirstName").toString(), "ZZ");

    retype("o");
    QTest::mouseClick(panel->directionControl()->segmentButton(1), Qt::LeftButton);
    waitFor(*panel);
    EXPECT_EQ(panel->searchString(), "o");
    EXPECT_EQ(values(*panel), (QStringList{"Second", "Doctor"}));
    EXPECT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(0, 0));
    QTest::mouseClick(panel->directionControl()->segmentButton(1), Qt::LeftButton);
    EXPECT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(1, 0));

    // Previous searches, then steps back from the first match to the last.
    retype("e");
    QTest::mouseClick(panel->directionControl()->segmentButton(0), Qt::LeftButton);
    waitFor(*panel);
    EXPECT_EQ(values(*panel), (QStringList{"Second", "ZZeault"}));
    EXPECT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(1, 0));

    retype("");
    EXPECT_FALSE(all->isEnabled());
    EXPECT_FALSE(replace->isEnabled());
    QTest::mouseClick(panel->directionControl()->segmentButton(1), Qt::LeftButton);
    panel->replaceButtonDidClick(1);
    EXPECT_FALSE(panel->isSearching());
    EXPECT_EQ(std::pair(panel->selectedRow(), panel->selectedRangeIndex()), std::pair(1, 0));
    EXPECT_EQ(lastName(doctor), "Doctor");
}

// ^ holds where the value, or with (?m) a line, begins: not again after each match.
TEST_F(FindPanelTest, ARegexAnchorHoldsOnlyWhereTheValueOrALineBegins)
{
    StoreContact una = storeContact("Una", "Lee");
    una.note = "ab\ncd";
    add(una);
    auto panel = open();
    runModal(*panel, [&] {
        QTest::keyClick(panel->searchModePopup(), Qt::Key_End);
        searchFor(*panel, "^.");
        clickReplace(*panel, "X", 0);
        EXPECT_EQ(panel->searchResults().at(0)->ranges, Ranges{R(0, 1)});
        clickReplace(*panel, "X", 1);
        searchFor(*panel, "(?m)^.");
        EXPECT_EQ(panel->searchResults().last()->ranges, (Ranges{R(0, 1), R(3, 1)}));
    });
    EXPECT_EQ(values(*panel), (QStringList{"Xna", "Xee", "Xb\ncd"}));
}

// é and e + U+0301 are one text in either literal mode, whichever side holds which; an e that
// carries an accent is no e. Ranges and All act on the value as stored.
TEST_F(FindPanelTest, CanonicallyEquivalentTextsMatchByWholeCharacters)
{
    StoreContact ann = storeContact("Ann", "Lee");
    ann.note = QString::fromUtf16(u"Re\u0301sum\u00e9");
    const ContactRowPtr row = add(ann);
    auto panel = open();
    runModal(*panel, [&] {
        searchFor(*panel, "e");
        clickReplace(*panel, "", 1);
        QTest::keyClick(panel->searchModePopup(), Qt::Key_Down);
        searchFor(*panel, QString::fromUtf16(u"e\u0301"));
        ASSERT_EQ(panel->searchResults().size(), 1);
        EXPECT_EQ(panel->searchResults().at(0)->ranges, (Ranges{R(1, 2), R(6, 1)}));
        QTest::keyClick(panel->searchModePopup(), Qt::Key_Up);
        searchFor(*panel, QString::fromUtf16(u"\u00c9"));
        clickReplace(*panel, "E", 1);
    });
    EXPECT_EQ(row->person->nameValue().value("LastName"), "L");
    EXPECT_EQ(row->person->stringValueForIdentifier("Note"), "REsumE");
}

// \w, \b, \d and \s know the letters, marks, digits and spaces of every script, precomposed or not.
TEST_F(FindPanelTest, RegexWordClassesFollowEveryScript)
{
    StoreContact ann = storeContact(QString::fromUtf16(u"café"), QString::fromUtf16(u"山田"));
    ann.note = QString::fromUtf16(u"Straße STRASSE");
    StoreContact bo = storeContact(QString::fromUtf16(u"cafe\u0301"), QString::fromUtf16(u"हिन्दी"));
    bo.note = QString::fromUtf16(u"１２\u3000३४");
    add(ann);
    add(bo);
    auto panel = open();
    runModal(*panel, [&] {
        QTest::keyClick(panel->searchModePopup(), Qt::Key_End);
        searchFor(*panel, "\\bcafe?\\b");
        EXPECT_TRUE(panel->searchResults().isEmpty());
        // Anchored at both ends: each value found is found whole.
        searchFor(*panel, "^\\w+$");
        EXPECT_EQ(values(*panel), (QStringList{ann.givenName, ann.familyName, bo.givenName, bo.familyName}));
        searchFor(*panel, "^(\\w+) [\\w]+$|^\\d+\\s\\d+$");
        EXPECT_EQ(values(*panel), (QStringList{ann.note, bo.note}));
    });
}

// A pattern reads code points: \C (one UTF-16 unit) is no pattern, a class of surrogates finds no
// half of a pair, and . takes a whole code point.
TEST_F(FindPanelTest, ARegexHitNeverHalvesACodePoint)
{
    StoreContact ann = storeContact(QString::fromUtf16(u"a𝒳b"), "Lee");
    ann.note = QString::fromUtf16(u"a👩‍👩‍👧b");
    const ContactRowPtr row = add(ann);
    auto panel = open();
    runModal(*panel, [&] {
        QTest::keyClick(panel->searchModePopup(), Qt::Key_End);
        searchFor(*panel, "\\C");
        EXPECT_FALSE(panel->message().isEmpty());
        searchFor(*panel, "[\\x{D800}-\\x{DFFF}]");
        EXPECT_TRUE(panel->searchResults().isEmpty());
        searchFor(*panel, ".");
        clickReplace(*panel, "[", 1);
    });
    EXPECT_EQ(row->person->nameValue().value("FirstName").toString(), "[[[");
    EXPECT_EQ(row->person->stringValueForIdentifier("Note"), "[[[[[[[");
}

// A flag, a joined emoji sequence and an emoji with its skin tone are one character each: a literal
// search finds one where it stands alone and never a part of one.
TEST_F(FindPanelTest, LiteralMatchesTakeWholeCharactersAsSeen)
{
    StoreContact ann = storeContact(QString::fromUtf16(u"🇩🇪🇪🇸"), QString::fromUtf16(u"🇪🇪"));
    ann.note = QString::fromUtf16(u"a👩‍👩‍👧b 👍🏽 👍");
    const ContactRowPtr row = add(ann);
    auto panel = open();
    runModal(*panel, [&] {
        QTest::keyClick(panel->searchModePopup(), Qt::Key_Down);
        searchFor(*panel, QString::fromUtf16(u"🇪🇪"));
        EXPECT_EQ(values(*panel), QStringList{ann.familyName});
        searchFor(*panel, QString::fromUtf16(u"👩‍👧"));
        EXPECT_TRUE(panel->searchResults().isEmpty());
        searchFor(*panel, QString::fromUtf16(u"👍"));
        clickReplace(*panel, "T", 1);
    });
    EXPECT_EQ(row->person->nameValue().value("FirstName").toString(), ann.givenName);
    EXPECT_EQ(row->person->stringValueForIdentifier("Note"),
              QString::fromUtf16(u"a👩‍👩‍👧b 👍🏽 T"));
}

// The same holds beside scripts whose clusters Qt's own finder splits into single units.
TEST_F(FindPanelTest, LiteralMatchesKeepCharactersWholeBesideIndicScripts)
{
    StoreContact ann =
        storeContact(QString::fromUtf16(u"🇩🇪🇪🇸 नमस्ते"), QString::fromUtf16(u"❤️ தமிழ் ❤"));
    ann.note = QString::fromUtf16(u"👍🏽 नमस्ते 👍");
    const ContactRowPtr row = add(ann);
    auto panel = open();
    runModal(*panel, [&] {
        QTest::keyClick(panel->searchModePopup(), Qt::Key_Down);
        const QList<std::pair<QString, QString>> replacements{{QString::fromUtf16(u"🇪🇪"), "EE"},
                                                              {QString::fromUtf16(u"👍"), "T"},
                                                              {QString::fromUtf16(u"❤"), "H"}};
        for (const auto &[found, replacement] : replacements) {
            searchFor(*panel, found);
            clickReplace(*panel, replacement, 1);
        }
    });
    EXPECT_EQ(row->person->nameValue().value("FirstName").toString(), ann.givenName);
    EXPECT_EQ(row->person->nameValue().value("LastName").toString(),
              QString::fromUtf16(u"❤️ தமிழ் H"));
    EXPECT_EQ(row->person->stringValueForIdentifier("Note"),
              QString::fromUtf16(u"👍🏽 नमस्ते T"));
}

// A class's \w takes in marks, a hyphen beside a class escape stays a hyphen, and \W in a class
// leaves a word's vowel signs alone.
TEST_F(FindPanelTest, RegexCharacterClassesHoldWhatTheyName)
{
    StoreContact ann = storeContact(QString::fromUtf16(u"हिन्दी"), "a_b");
    ann.note = QString::fromUtf16(u"東京、大阪。「テスト」\u3000ｶﾀｶﾅ ー x-y");
    const ContactRowPtr row = add(ann);
    const auto replaceAll = [this](const QString &item, const QString &pattern, const QString &replacement) {
        auto panel = open(true, {item});
        runModal(*panel, [&] {
            QTest::keyClick(panel->searchModePopup(), Qt::Key_End);
            searchFor(*panel, pattern);
            clickReplace(*panel, replacement, 1);
        });
    };
    replaceAll("Note", QString::fromUtf16(u"[\\w-ー]+"), "X");
    replaceAll("Name", "[\\W_]+", "~");
    EXPECT_EQ(row->person->stringValueForIdentifier("Note"), QString::fromUtf16(u"X、X。「X」\u3000X X X"));
    EXPECT_EQ(row->person->nameValue().value("FirstName").toString(), ann.givenName);
    EXPECT_EQ(row->person->nameValue().value("LastName").toString(), "a~b");
}

// A value the pattern runs out of time on is left out whole, and the window says so; a value
// searched to its end keeps every match.
TEST_F(FindPanelTest, AValueThePatternTakesTooLongOnIsLeftOutWhole)
{
    StoreContact ann = storeContact("Ann", "Lee");
    const QString slow = "x " + QString(40, u'a') + "b x";
    ann.note = slow;
    const ContactRowPtr annRow = add(ann);
    StoreContact bob = storeContact("Bob", "Kay");
    bob.note = "x y x";
    const ContactRowPtr bobRow = add(bob);
    auto panel = open(true, {"Note"});
    runModal(*panel, [&] {
        QTest::keyClick(panel->searchModePopup(), Qt::Key_End);
        panel->searchField()->setFocus();
        QTest::keyClicks(panel->searchField(), "x|(a+)+$");
        QTest::keyClick(panel->searchField(), Qt::Key_Return);
        waitFor(*panel);
        EXPECT_EQ(values(*panel), QStringList{"x y x"});
        EXPECT_EQ(panel->message(), "The pattern took too long on 1 value, which was left out.");
        clickReplace(*panel, "X", 1);
    });
    EXPECT_EQ(annRow->person->stringValueForIdentifier("Note"), slow);
    EXPECT_EQ(bobRow->person->stringValueForIdentifier("Note"), "X y X");
}

// A search that runs long shows its progress; Done stops it, no thread goes on searching, and the
// All that waited for it writes nothing.
TEST_F(FindPanelTest, DoneStopsALongSearchAndTheClickThatWaitsForIt)
{
    QList<ContactRowPtr> rows;
    for (int i = 0; i < 200; ++i) {
        StoreContact contact = storeContact(QString("Ann%1").arg(i), "Lee");
        contact.note = QString(40, u'a') + u'b';
        rows.append(add(contact));
    }
    auto panel = open(true, {"Note"});
    runModal(*panel, [&] {
        QTest::keyClick(panel->searchModePopup(), Qt::Key_End);
        panel->searchField()->setFocus();
        QTest::keyClicks(panel->searchField(), "(a+)+$");
        QTest::keyClick(panel->searchField(), Qt::Key_Return);
        clickReplace(*panel, "X", 1);
        // Each note holds the search for a fifth of a second.
        EXPECT_TRUE(spinUntil([&] { return panel->searchProgress()->isVisible(); }));
        EXPECT_EQ(panel->message(), "Searching…");
        EXPECT_GT(panel->searchProgress()->maximum(), panel->searchProgress()->value());
        QTest::mouseClick(panel->closeButton(), Qt::LeftButton);
    });
    EXPECT_FALSE(panel->isSearching());
    EXPECT_TRUE(spinUntil([] { return Dispatch::pool().activeThreadCount() == 0; }, 3000));
    for (const ContactRowPtr &row : rows)
        ASSERT_EQ(row->person->stringValueForIdentifier("Note"), QString(40, u'a') + u'b');
    EXPECT_FALSE(m_book->undoManager()->canUndo());
}
