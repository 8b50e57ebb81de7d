#include "GridFixture.h"

#include "addressbook/ViewTypes.h"

#include <QHeaderView>

namespace {

class GridColumnsTest : public GridFixture
{
protected:
    QHeaderView *header() const { return table()->horizontalHeader(); }
};

class GridViewTypeTest : public GridFixture, public ::testing::WithParamInterface<ViewTypes::ViewType>
{
};

TEST_P(GridViewTypeTest, EachViewTypeShowsItsColumnsInOrder)
{
    defaults().setObject(ViewTypes::defaultViewTypeDict(), DefaultsKey::ViewTypeDict);
    grid()->setSelectedViewType(GetParam().name);
    EXPECT_EQ(grid()->tableIdentfiers(), GetParam().columns);
    for (int column = 0; column < model()->columnCount(); ++column) {
        EXPECT_EQ(model()->headerData(column, Qt::Horizontal).toString(),
                  QNPerson::localizedIdentifierForKey(GetParam().columns.at(column)));
        EXPECT_EQ(table()->horizontalHeader()->sectionSize(column), 200);
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
    EXPECT_EQ(header()->sectionSize(2), 200);
    header()->resizeSection(2, 5);
    EXPECT_EQ(header()->sectionSize(2), 20);
    EXPECT_EQ(grid()->columnWidthDictionary().value("Email").toDouble(), 20.0);
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
    EXPECT_EQ(grid()->tableIdentfiers(), QStringList({"Name", "Phone", "Email", "URL"}));

    header()->resizeSection(1, 120);
    header()->moveSection(3, 1);
    EXPECT_EQ(grid()->tableIdentfiers(), QStringList({"Name", "URL", "Phone", "Email"}));
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
    EXPECT_EQ(grid()->tableIdentfiers(), QStringList{"Name"});
    showColumns({"Name", "Phone", "Email"});
    EXPECT_EQ(grid()->tableIdentfiers(), QStringList({"Name", "Phone", "Email"}));
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
