#include "GridFixture.h"

#include "addressbook/ViewTypes.h"

#include <QHeaderView>
#include <QTest>

namespace {

class GridColumnsTest : public GridFixture
{
protected:
    QHeaderView *header() const { return table()->horizontalHeader(); }
    // The header fits its stretched column to the table a moment after the table's resize.
    static void settle() { QTest::qWait(50); }
};

class GridViewTypeTest : public GridFixture, public ::testing::WithParamInterface<ViewTypes::ViewType>
{
};

TEST_P(GridViewTypeTest, EachViewTypeShowsItsColumnsInOrder)
{
    defaults().setObject(ViewTypes::defaultViewTypeDict(), DefaultsKey::ViewTypeDict);
    grid()->setSelectedViewType(GetParam().name);
    EXPECT_EQ(grid()->tableIdentifiers(), GetParam().columns);
    const int last = model()->columnCount() - 1;
    for (int column = 0; column <= last; ++column) {
        EXPECT_EQ(model()->headerData(column, Qt::Horizontal).toString(),
                  QNPerson::localizedIdentifierForKey(GetParam().columns.at(column)));
        if (column < last)
            EXPECT_EQ(table()->horizontalHeader()->sectionSize(column), 200);
        else
            EXPECT_GE(table()->horizontalHeader()->sectionSize(column), 200) << "the last fills the table";
    }
}

INSTANTIATE_TEST_SUITE_P(BuiltIn, GridViewTypeTest, ::testing::ValuesIn(ViewTypes::builtIn()),
                         [](const ::testing::TestParamInfo<ViewTypes::ViewType> &info) {
                             return QString(info.param.name).remove(' ').remove('-').toStdString();
                         });

TEST_F(GridColumnsTest, WidthsComeFromTheDefaultsAndNeverGoBelowTwenty)
{
    defaults().setObject(QVariantMap{{"Name", 150.0}, {"Phone", 90.0}}, DefaultsKey::ColumnWidthDictionary);
    m_view = std::make_unique<ViewController>(defaults(), SplitPanes::makeDefault(defaults()));
    showColumns({"Name", "Phone", "Email"});
    EXPECT_EQ(header()->sectionSize(0), 150);
    EXPECT_EQ(header()->sectionSize(1), 90);
    header()->resizeSection(1, 5);
    EXPECT_EQ(header()->sectionSize(1), 20);
    EXPECT_EQ(grid()->columnWidthDictionary().value("Phone").toDouble(), 20.0);
}

// The last column takes the width the others leave, never less than its own, and the width it
// was stretched to is not taken for its own.
TEST_F(GridColumnsTest, TheLastColumnFillsTheTable)
{
    m_view->resize(1400, 400);
    m_view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    showColumns({"Name", "Phone", "Email"});
    header()->resizeSection(0, 150);
    settle();
    const int width = table()->viewport()->width();
    ASSERT_GT(width, 600);
    EXPECT_EQ(header()->sectionSize(2), width - 350);

    m_view->resize(500, 400);
    settle();
    EXPECT_EQ(header()->sectionSize(2), 200) << "no narrower than its own width";
    grid()->saveColumnWithDictionary();
    EXPECT_EQ(defaults().dictionaryForKey(DefaultsKey::ColumnWidthDictionary).value("Email", 200.0), 200.0);

    m_view->resize(1400, 400);
    showColumns({"Name", "Email", "Phone"}, "Other");
    settle();
    EXPECT_EQ(header()->sectionSize(1), 200) << "not last any more";
    showColumns({"Name"}, "Names");
    settle();
    EXPECT_EQ(header()->sectionSize(0), width);
    showColumns({"Name", "Phone"}, "Other");
    EXPECT_EQ(header()->sectionSize(0), 150) << "the name's own width again";
}

TEST_F(GridColumnsTest, SortKeysComeFromTheSortOptions)
{
    defaults().setObject(QVariantMap{{"Name", QVariantMap{{"selected", "LastName"}}},
                                     {"Email", QVariantMap{{"selected", "domain"}}},
                                     {"Phone", QVariantMap{{"selected", ""}}},
                                     {"Phonetic Name", QVariantMap{{"selected", "Phonetic FirstName"}}}},
                         DefaultsKey::SortOptionsDict);
    showColumns({"Name", "Email", "Phone", "Phonetic Name", "ZIP"});
    QStringList keys;
    for (const GridColumn &column : grid()->columns())
        keys.append(column.sortPrototype.key);
    EXPECT_EQ(keys, QStringList({"LastName", "Email domain", "Phone", "Phonetic FirstName", "ZIP"}));
}

TEST_F(GridColumnsTest, TheNameColumnStaysFirstAndAMoveIsSavedForTheViewType)
{
    showColumns({"Name", "Phone", "Email", "URL"}, "Mine");
    header()->moveSection(0, 2);
    header()->moveSection(3, 0);
    EXPECT_EQ(grid()->tableIdentifiers(), QStringList({"Name", "Phone", "Email", "URL"}));

    header()->resizeSection(1, 120);
    header()->moveSection(3, 1);
    EXPECT_EQ(grid()->tableIdentifiers(), QStringList({"Name", "URL", "Phone", "Email"}));
    EXPECT_EQ(defaults().dictionaryForKey(DefaultsKey::ViewTypeDict).value("Mine").toStringList(),
              QStringList({"Name", "URL", "Phone", "Email"}));
    EXPECT_EQ(defaults().dictionaryForKey(DefaultsKey::ColumnWidthDictionary).value("Phone").toDouble(),
              120.0);
}

TEST_F(GridColumnsTest, AnotherViewTypeKeepsTheNameColumnsWidthAndStartsInListOrder)
{
    showColumns({"Name", "Phone", "Email"});
    header()->resizeSection(0, 260);
    header()->moveSection(2, 1);
    showColumns({"Name"}, "Names");
    EXPECT_EQ(grid()->tableIdentifiers(), QStringList{"Name"});
    showColumns({"Name", "Phone", "Email"});
    EXPECT_EQ(grid()->tableIdentifiers(), QStringList({"Name", "Phone", "Email"}));
    EXPECT_EQ(header()->sectionSize(0), 260);
}

TEST_F(GridColumnsTest, TheLastSortIsRestoredWhenItsColumnIsShown)
{
    defaults().setObject(ViewTypes::defaultViewTypeDict(), DefaultsKey::ViewTypeDict);
    defaults().setObject(QVariantMap{{"key", "Phone label"}, {"ascending", false}},
                         DefaultsKey::LastSortDesc);
    defaults().setObject(QStringLiteral("Phone"), DefaultsKey::SelectedViewType);
    grid()->viewWillAppear();
    EXPECT_EQ(grid()->sortDescriptors(), QList<SortDescriptor>({{"Phone label", false}}));

    defaults().setObject(QStringLiteral("Email"), DefaultsKey::SelectedViewType);
    m_view = std::make_unique<ViewController>(defaults(), SplitPanes::makeDefault(defaults()));
    grid()->viewWillAppear();
    EXPECT_EQ(grid()->sortDescriptors(), QList<SortDescriptor>({{"compositeName", true}}));
}

} // namespace
