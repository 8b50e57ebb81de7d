#include "GridEditingFixture.h"

#include "addressbook/GridSortKey.h"
#include "grid/GridDisplayCache.h"
#include "grid/GridRowBuilder.h"
#include "grid/GridSorter.h"

namespace {

// The grid keeps what it shows of each contact between rebuilds; after any edit a rebuild must
// show the edited values, never the kept ones.
class GridDisplayCacheTest : public GridEditingFixture
{
protected:
    void SetUp() override
    {
        GridEditingFixture::SetUp();
        showColumns({"Name", "Phone"});
        ann = addWithPhones("Ann", {{"home", "555 1"}, {"work", "555 3"}});
        bob = addWithPhones("Bob", {{"home", "555 2"}});
        sortBy("Phone");
        grid()->updateTable();
    }

    // Each row as "name position lines", in display order, after a rebuild.
    QStringList shownRows()
    {
        grid()->updateTable();
        QStringList rows;
        for (const SubContactRowPtr &row : grid()->subContactTable())
            rows.append(QStringLiteral("%1 %2 %3")
                            .arg(row->person->compositeName())
                            .arg(row->labelIndex)
                            .arg(row->numLines));
        return rows;
    }

    QVariantMap phone(const ContactRowPtr &contact, int labelIndex) const
    {
        return *contact->person->labeledValueForIdentifierAtLabelIndex("Phone", labelIndex);
    }

    ContactRowPtr ann;
    ContactRowPtr bob;
};

TEST_F(GridDisplayCacheTest, RowsFollowValueAndLabelEditsAndTheirUndo)
{
    // Under a label filter: Ann's work number is left out.
    grid()->setSelectedLabels({"home"});
    QList<QStringList> steps{shownRows()};
    ASSERT_EQ(steps.last(), QStringList({"Ann 0 1", "Bob 0 1"}));

    // A value: a second line makes Bob's row taller, and his number moves him last.
    QVariantMap edited = phone(bob, 0);
    edited.insert("value", "555 9\next. 4");
    ASSERT_TRUE(m_view->undoReplaceLabeledValue(edited, "Phone", bob, nullptr));
    nextEvent();
    steps.append(shownRows());
    EXPECT_EQ(steps.last(), QStringList({"Ann 0 1", "Bob 0 2"}));

    // A label: Ann's second number passes the filter now.
    QVariantMap relabelled = phone(ann, 1);
    relabelled.insert("label", "home");
    ASSERT_TRUE(m_view->undoReplaceValue(relabelled, "Phone", ann, nullptr));
    nextEvent();
    steps.append(shownRows());
    EXPECT_EQ(steps.last(), QStringList({"Ann 0 1", "Ann 1 1", "Bob 0 2"}));

    // An added and a deleted entry.
    ASSERT_TRUE(m_view->undoAddLabeledValue({{"label", "home"}, {"value", "555 0"}}, "Phone", bob, nullptr));
    nextEvent();
    steps.append(shownRows());
    EXPECT_EQ(steps.last(), QStringList({"Bob 1 1", "Ann 0 1", "Ann 1 1", "Bob 0 2"}));
    ASSERT_TRUE(m_view->undoDeleteLabeledValueForIdentifier("Phone", 0, ann, nullptr));
    nextEvent();
    steps.append(shownRows());
    EXPECT_EQ(steps.last(), QStringList({"Bob 1 1", "Ann 0 1", "Bob 0 2"}));

    // Undo walks every step back, redo forward again.
    for (auto step = steps.crbegin() + 1; step != steps.crend(); ++step) {
        undoManager().undo();
        EXPECT_EQ(shownRows(), *step);
    }
    undoManager().redo();
    undoManager().redo();
    EXPECT_EQ(shownRows(), steps.at(2));
}

TEST_F(GridDisplayCacheTest, RowsFollowNameAndCompanyEdits)
{
    sortBy("compositeName");
    grid()->toggleShowCompany();
    ASSERT_EQ(shownRows(), QStringList({"Ann 0 1", "Ann 1 1", "Bob 0 1"}));

    // A new name sorts Ann after Bob.
    QVariantMap name = ann->person->nameValue();
    name.insert("FirstName", "Zoe");
    ASSERT_TRUE(m_view->undoReplaceNameValue(name, ann));
    nextEvent();
    EXPECT_EQ(shownRows(), QStringList({"Bob 0 1", "Zoe 0 1", "Zoe 1 1"}));

    // A company goes under the name: two lines on the contact's first row.
    ASSERT_TRUE(m_view->undoReplaceValue("Acme", "Company", bob, nullptr));
    nextEvent();
    EXPECT_EQ(shownRows(), QStringList({"Bob 0 2", "Zoe 0 1", "Zoe 1 1"}));

    // Shown as a company, Bob sorts by the company's name.
    QVariantMap company = bob->person->nameValue();
    company.insert("showAsPerson", false);
    ASSERT_TRUE(m_view->undoReplaceNameValue(company, bob));
    nextEvent();
    EXPECT_EQ(shownRows(), QStringList({"Acme 0 2", "Zoe 0 1", "Zoe 1 1"}));
    sortBy("FirstName");
    EXPECT_EQ(shownRows(), QStringList({"Acme 0 2", "Zoe 0 1", "Zoe 1 1"}));

    undoManager().undo();
    undoManager().undo();
    EXPECT_EQ(shownRows(), QStringList({"Bob 0 1", "Zoe 0 1", "Zoe 1 1"}));
    undoManager().undo();
    EXPECT_EQ(shownRows(), QStringList({"Ann 0 1", "Ann 1 1", "Bob 0 1"}));
    undoManager().redo();
    EXPECT_EQ(shownRows(), QStringList({"Bob 0 1", "Zoe 0 1", "Zoe 1 1"}));
}

// A write to the record outside the funnel (an import, a merge) is seen as well.
TEST_F(GridDisplayCacheTest, RowsFollowWritesToTheRecordItself)
{
    showColumns({"Name", "Phone", "Note"});
    ann->person->setValue(QStringLiteral("1\n2\n3"), "Note");
    EXPECT_EQ(shownRows(), QStringList({"Ann 0 3", "Bob 0 1", "Ann 1 3"}));
    ann->person->deleteLabeledValueForIdentifier("Phone", 1);
    bob->person->sortForIdentifier("Phone", "stringValue", false);
    EXPECT_EQ(shownRows(), QStringList({"Ann 0 3", "Bob 0 1"}));
    ann->person->setHeldLabeledValues(
        QNPerson::LabeledKind::Phone,
        QVariantList{
            QVariantMap{{"label", "home"}, {"value", "555 8"}, {"stringValue", "555 8"}, {"labelIndex", 0}}});
    EXPECT_EQ(shownRows(), QStringList({"Bob 0 1", "Ann 0 3"}));
}

// The sort on key prefixes: texts that share a long beginning, empty values last both ways, and rows with
// equal keys in contact order then position.
TEST_F(GridDisplayCacheTest, SortOnPrefixesIsStableAndPutsEmptyValuesLast)
{
    m_table->clear();
    const ContactRowPtr c1 = addWithPhones("C1", {{"home", "+1 555 0100 200"}, {"work", ""}});
    const ContactRowPtr c2 = addWithPhones("C2", {{"home", "+1 555 0100 100"}});
    const ContactRowPtr c3 = addWithPhones("C3", {{"home", "+1 555 0100 2OO"}});
    const ContactRowPtr c4 = addWithPhones("C4", {{"home", "+1 555 0100 100"}, {"work", "+1 555 0100 100"}});
    add(person("C5"));
    sortBy("Phone");
    EXPECT_EQ(shownRows(),
              QStringList({"C2 0 1", "C4 0 1", "C4 1 1", "C1 0 1", "C3 0 1", "C1 1 1", "C5 0 1"}));
    sortBy("Phone", false);
    EXPECT_EQ(shownRows(),
              QStringList({"C3 0 1", "C1 0 1", "C2 0 1", "C4 0 1", "C4 1 1", "C1 1 1", "C5 0 1"}));
    // Equal texts keep contact order.
    c3->person->setValue(QVariantList{QVariantMap{{"label", "home"}, {"value", "+1 555 0100 200"}}}, "Phone");
    sortBy("Phone");
    EXPECT_EQ(shownRows(),
              QStringList({"C2 0 1", "C4 0 1", "C4 1 1", "C1 0 1", "C3 0 1", "C1 1 1", "C5 0 1"}));
}

// Contacts that left the table are let go, so that a reload does not keep the records it replaced.
TEST(GridDisplayCache, ForgetsContactsNoLongerShown)
{
    GridDisplayCache cache;
    QList<QNPersonPtr> persons;
    for (int i = 0; i < 3000; ++i)
        persons.append(std::make_shared<QNPerson>());
    cache.beginUpdate();
    for (const QNPersonPtr &person : persons)
        cache.contact(person);
    cache.endUpdate();
    EXPECT_EQ(cache.size(), 3000);
    const std::weak_ptr<QNPerson> gone = persons.takeLast();
    persons.resize(10);
    cache.beginUpdate();
    for (const QNPersonPtr &person : persons)
        cache.contact(person);
    cache.endUpdate();
    EXPECT_EQ(cache.size(), 10);
    EXPECT_TRUE(gone.expired());

    // A changed record starts afresh.
    GridDisplayCache::Contact &kept = cache.contact(persons.first());
    kept.nameAndCompany = true;
    persons.first()->setValue(QStringLiteral("Acme"), "Company");
    EXPECT_FALSE(cache.contact(persons.first()).nameAndCompany.has_value());
}

} // namespace
