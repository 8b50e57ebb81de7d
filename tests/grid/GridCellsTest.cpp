#include "GridFixture.h"

#include "grid/GridCellDelegate.h"
#include "ui/widgets/LabelPopup.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QImage>
#include <QPainter>

namespace {

class GridCellsTest : public GridFixture
{
};

TEST_F(GridCellsTest, RowHeightsFollowTheFont)
{
    QFont tiny;
    tiny.setPixelSize(5);
    EXPECT_EQ(ContactsViewController::rowHeightForFont(tiny, 96), 20);

    QFont thirteen;
    thirteen.setPixelSize(13);
    const QFontMetricsF metrics(thirteen);
    ASSERT_LE(std::ceil(metrics.ascent() + metrics.descent() + metrics.leading()), 19);
    // 13 × 1.42 rounds up to 19, plus 9.
    EXPECT_EQ(ContactsViewController::rowHeightForFont(thirteen, 96), 28);

    grid()->setSelectedFont(thirteen);
    EXPECT_EQ(grid()->rowHeight(), 28);
    EXPECT_EQ(table()->verticalHeader()->defaultSectionSize(), 28);
}

TEST_F(GridCellsTest, MultiLineAddressesAndNotesMakeTallerRows)
{
    showColumns({"Name", "Address", "Note"});
    const QNPersonPtr written = person("Ann");
    written->setValue(
        QVariantList{QVariantMap{{"label", "home"}, {"Street", "1 Main St\nFlat 2\nBack door"}}}, "Address");
    add(written);
    const QNPersonPtr noted = person("Bob");
    noted->setValue(QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n9\n10"), "Note");
    add(noted);
    add(person("Cid"));
    grid()->updateTable();
    QList<int> lines;
    for (const SubContactRowPtr &row : grid()->subContactTable())
        lines.append(row->numLines);
    EXPECT_EQ(lines, QList<int>({3, 5, 1}));
    const int height = grid()->rowHeight();
    EXPECT_EQ(table()->rowHeight(0), 3 * height);
    EXPECT_EQ(table()->rowHeight(1), 5 * height);
    EXPECT_EQ(table()->rowHeight(2), height);

    // A later reload gives back the room that a row no longer needs.
    written->setValue(QVariantList(), "Address");
    grid()->updateTable();
    EXPECT_EQ(table()->rowHeight(0), height);
}

TEST_F(GridCellsTest, ANamelessContactShowsNoNameInBold)
{
    showColumns({"Name"});
    add(person(""));
    grid()->updateTable();
    EXPECT_EQ(cellData(0, "Name").toString(), "No Name");
    EXPECT_TRUE(cellData(0, "Name", Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(cellData(0, "Name", Qt::DecorationRole).value<QPixmap>().isNull());
}

TEST_F(GridCellsTest, TheCompanyShowsUnderTheNameWhenAsked)
{
    showColumns({"Name", "Phone"});
    const QNPersonPtr employee = person("Ann", "Lee");
    employee->setValue(QStringLiteral("Acme"), "Company");
    setValues(employee, "Phone", {{"work", "1"}, {"home", "2"}});
    add(employee);
    const QNPersonPtr company = person("Bob", "Ray");
    company->setValue(QStringLiteral("Bolt Inc"), "Company");
    QVariantMap card = company->nameValue();
    card.insert(PersonKey::ShowAsPerson, false);
    company->setValue(card, "Name");
    add(company);
    grid()->updateTable();
    EXPECT_EQ(cellData(0, "Name", GridModel::DetailTextRole).toString(), "");
    EXPECT_EQ(grid()->subContactTable().at(0)->numLines, 1);

    grid()->toggleShowCompany();
    EXPECT_TRUE(defaults().boolForKey(DefaultsKey::ShowCompanyInNameCell));
    const int bolt = int(rowNames().indexOf("Bolt Inc"));
    const int ann = int(rowNames().indexOf("Ann Lee"));
    EXPECT_EQ(cellData(ann, "Name", GridModel::DetailTextRole).toString(), "Acme");
    EXPECT_EQ(cellData(bolt, "Name", GridModel::DetailTextRole).toString(), "Bob Ray");
    EXPECT_EQ(grid()->subContactTable().at(ann)->numLines, 2);
    // Ann's second phone row leaves the name empty and stays one line high.
    EXPECT_EQ(cellData(ann + 1, "Name").toString(), "");
    EXPECT_EQ(grid()->subContactTable().at(ann + 1)->numLines, 1);
    EXPECT_EQ(cellData(ann + 1, "Phone").toString(), "2");
    EXPECT_EQ(cellData(ann + 1, "Phone", GridModel::LabelTitleRole).toString(), "home");
}

TEST_F(GridCellsTest, TheFooterCountsTheContactsOfTheGroup)
{
    auto group = std::make_shared<GroupDict>();
    group->name = "G";
    m_delegate.group = group;
    showColumns({"Name", "Phone"});
    for (int i = 0; i < 12; ++i) {
        QList<Value> phones;
        for (int n = 0; n < (i < 6 ? 3 : 2); ++n)
            phones.append({"work", QString::number(n)});
        addWithPhones(QStringLiteral("P%1").arg(i), phones);
    }
    grid()->updateTable();
    ASSERT_EQ(grid()->subContactTable().size(), 30);
    EXPECT_EQ(model()->data(model()->index(30, 0)).toString(), "G: total 12 contacts");
    EXPECT_FALSE(model()->flags(model()->index(30, 1)) & Qt::ItemIsSelectable);
    EXPECT_EQ(table()->columnSpan(30, 0), 2);
}

TEST_F(GridCellsTest, OnlyTheFieldsWithoutTheirOwnEditorEditTheirTextInPlace)
{
    showColumns({"Name", "Phone", "Address", "ZIP", "Company"});
    const QNPersonPtr contact = person("Ann");
    setValues(contact, "Phone", {{"work", "1"}});
    contact->setValue(QVariantList{QVariantMap{{"label", "home"}, {"ZIP", "123"}}}, "Address");
    contact->setValue(QStringLiteral("Acme"), "Company");
    add(contact);
    grid()->updateTable();
    for (const auto &[column, editable] : {std::pair{"Phone", true}, std::pair{"Address", false},
                                           std::pair{"ZIP", true}, std::pair{"Company", true}})
        EXPECT_EQ(cellData(0, column, GridModel::TextEditableRole).toBool(), editable) << column;
    grid()->setEditState(false);
    EXPECT_FALSE(cellData(0, "Phone", GridModel::TextEditableRole).toBool());
}

TEST_F(GridCellsTest, ALockedLabelPopupOffersTheOwnLabelAndChangesNothing)
{
    const LabelPopup locked("Phone", "work", false);
    ASSERT_EQ(locked.items().size(), 1);
    EXPECT_EQ(locked.title(), LabelPopup::localizedLabel("work"));
    // Its one item is no position in the label list, whose first label is another one.
    EXPECT_FALSE(locked.labelForItem(0));

    const LabelPopup editable("Phone", "work", true);
    const QStringList labels = QNPerson::labelsForIdentifier("Phone").value_or(QStringList());
    ASSERT_GT(editable.items().size(), 1);
    EXPECT_EQ(editable.selectedIndex(), labels.indexOf("work"));
    EXPECT_EQ(editable.labelForItem(0), labels.first());
}

TEST_F(GridCellsTest, CellsDrawWithoutAWindow)
{
    showColumns({"Name", "Phone", "Note"});
    grid()->setFindString("5");
    addWithPhones("Ann", {{"work", "555"}, {"home", "1"}});
    grid()->updateTable();
    QImage image(400, 200, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    table()->resize(400, 200);
    table()->render(&painter);
    painter.end();
    // Each "5" of the number sits on the find colour.
    bool marked = false;
    for (int y = 0; y < image.height() && !marked; ++y) {
        for (int x = 0; x < image.width() && !marked; ++x)
            marked = image.pixel(x, y) == GridCellDelegate::findColor().rgb();
    }
    EXPECT_TRUE(marked);
}

} // namespace
