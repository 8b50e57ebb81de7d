#include "GridCommandsFixture.h"

#include "addressbook/DefaultsKey.h"
#include "addressbook/SortOptions.h"
#include "grid/GridMenus.h"

#include <QAction>
#include <QMenu>

namespace {

// The cell menu as its titles: "-" for a separator, a title in brackets for an item shown disabled.
QStringList describe(const QMenu *menu)
{
    QStringList items;
    if (!menu)
        return items;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            items.append("-");
        else if (!action->isEnabled())
            items.append("[" + action->text() + "]");
        else
            items.append(action->text());
    }
    return items;
}

class GridMenusTest : public GridCommandsFixture
{
protected:
    void SetUp() override
    {
        GridCommandsFixture::SetUp();
        m_view->setCustomItems({QVariantMap{{"Name", "Hobby"}, {"Type", "Labeled Value"}}});
        grid()->setCustomItems(m_view->customItems());
        showColumns({"Name", "Phone", "Address", "ZIP", "Instant Message", "Social Network", "Dates",
                     "Birthday", "Phonetic Name", "Note", "Hobby"});
        full = addWithPhones("Ann", {{"work", "10"}});
        setAddress(full->person, "Kyoto", "1 Main");
        full->person->setValue(QStringLiteral("note"), "Note");
        full->person->setValue(QVariantList{QVariantMap{{"label", "home"}, {"value", "golf"}}}, "Hobby");
        empty = add(person("Bob"));
        showGrid();
    }

    QStringList cellMenu(const ContactRowPtr &contact, const QString &identifier)
    {
        rightClick(rowOf(contact), identifier);
        std::unique_ptr<QMenu> menu(commands().menus().makeCellMenu());
        return describe(menu.get());
    }

    ContactRowPtr full;
    ContactRowPtr empty;
};

TEST_F(GridMenusTest, CellMenusInEditState)
{
    selectRows({0});
    EXPECT_EQ(cellMenu(full, "Name"),
              (QStringList{"Show Contact Info", "Open Name Panel", "Show QRCode", "-", "Add New Contact",
                           "Delete Contact", "Duplicate Contact", "Export Contact as vCard", "-",
                           "Show Company in the Name Cell"}));
    EXPECT_EQ(cellMenu(full, "Phone"),
              (QStringList{"Call Phone", "-", "Open Edit Panel", "Replace Label and Text", "Delete Item",
                           "Add Item", "-", "Replace Text", "Prepend Text", "Append Text"}));
    EXPECT_EQ(cellMenu(empty, "Phone"), (QStringList{"[Call Phone]", "-", "Open Edit Panel", "Add Item"}));
    EXPECT_EQ(cellMenu(full, "Address"),
              (QStringList{"Open Apple Map", "Open Google Map", "-", "Open Address Panel", "Open Edit Panel",
                           "Delete Item", "Add Item"}));
    EXPECT_EQ(cellMenu(empty, "Address"),
              (QStringList{"[Open Apple Map]", "[Open Google Map]", "-", "[Open Address Panel]",
                           "Open Edit Panel", "Add Item"}));
    EXPECT_EQ(cellMenu(full, "ZIP"), (QStringList{"Open Address Panel", "Add Item", "Delete Item", "-",
                                                  "Replace Text", "Prepend Text", "Append Text"}));
    EXPECT_EQ(cellMenu(empty, "ZIP"), (QStringList{"Open Address Panel", "Add Item"}));
    EXPECT_EQ(cellMenu(empty, "Instant Message"), (QStringList{"Open Edit Panel", "Add Item"}));
    EXPECT_EQ(cellMenu(empty, "Social Network"),
              (QStringList{"[Open SNS Panel]", "Open Edit Panel", "Add Item"}));
    EXPECT_EQ(cellMenu(empty, "Dates"), (QStringList{"[Open Calendar]", "-", "Open Dates Panel"}));
    EXPECT_EQ(cellMenu(empty, "Birthday"), (QStringList{"[Open Calendar]", "-", "Open Birthday Panel"}));
    EXPECT_EQ(cellMenu(empty, "Phonetic Name"), QStringList{"Open Phonetic Name Panel"});
    EXPECT_EQ(cellMenu(full, "Note"),
              (QStringList{"Clear Text", "Replace Text", "Prepend Text", "Append Text"}));
    EXPECT_EQ(cellMenu(empty, "Note"), QStringList{"Replace Text"});
    EXPECT_EQ(cellMenu(full, "Hobby"),
              (QStringList{"Open Edit Panel", "-", "Replace Label and Text", "Delete Item", "-",
                           "Replace Text", "Prepend Text", "Append Text"}));
    EXPECT_EQ(cellMenu(empty, "Hobby"), (QStringList{"Open Edit Panel", "-", "Add Item"}));
}

TEST_F(GridMenusTest, ALockedGridShowsItsEditItemsDisabled)
{
    grid()->setEditState(false);
    table()->clearSelection();
    // The right-click chose the row, which the QR code can show.
    EXPECT_EQ(cellMenu(full, "Name"),
              (QStringList{"Show Contact Info", "Open Name Panel", "Show QRCode", "-", "[Delete Contact]",
                           "[Duplicate Contact]", "Export Contact as vCard", "-",
                           "Show Company in the Name Cell"}));
    EXPECT_EQ(cellMenu(full, "Phone"),
              (QStringList{"Call Phone", "-", "Open Edit Panel", "[Replace Label and Text]", "[Delete Item]",
                           "[Add Item]", "-", "[Replace Text]", "[Prepend Text]", "[Append Text]"}));
}

TEST_F(GridMenusTest, TheCompanyItemCarriesItsCheckMarkAndRunsItsCommand)
{
    rightClick(0, "Name");
    std::unique_ptr<QMenu> menu(commands().menus().makeCellMenu());
    QAction *company = menu->actions().last();
    EXPECT_TRUE(company->isCheckable());
    EXPECT_FALSE(company->isChecked());
    company->trigger();
    EXPECT_TRUE(grid()->showCompanyInNameCell());
    menu.reset(commands().menus().makeCellMenu());
    EXPECT_TRUE(menu->actions().last()->isChecked());

    // "Add New Contact" is the window's command.
    ASSERT_EQ(menu->actions().at(4)->text(), "Add New Contact");
    menu->actions().at(4)->trigger();
    EXPECT_EQ(m_edits->addContactCalls, 1);
}

TEST_F(GridMenusTest, NoMenuOnTheFooterRow)
{
    const int footer = int(grid()->subContactTable().size());
    QTest::mouseClick(table()->viewport(), Qt::RightButton, {},
                      table()->visualRect(model()->index(footer, 1)).center());
    EXPECT_EQ(commands().menus().makeCellMenu(), nullptr);
    // Nor beside the rows.
    QTest::mouseClick(table()->viewport(), Qt::RightButton, {}, QPoint(5, table()->viewport()->height() - 2));
    EXPECT_EQ(commands().menus().makeCellMenu(), nullptr);
}

TEST_F(GridMenusTest, TheHeaderMenuChoosesTheColumnsSortOption)
{
    defaults().setObject(SortOptions::makeDict(SortOptions::builtInChoices(), {}),
                         DefaultsKey::SortOptionsDict);
    const QVariantMap entry =
        defaults().dictionaryForKey(DefaultsKey::SortOptionsDict).value("Phone").toMap();
    const QStringList options = entry.value("items").toStringList();
    ASSERT_GE(options.size(), 2);
    std::unique_ptr<QMenu> menu(commands().menus().makeHeaderMenu(column("Phone")));
    ASSERT_TRUE(menu);
    EXPECT_EQ(menu->title(), "Phone");
    const QList<QAction *> items = menu->actions();
    ASSERT_EQ(items.size(), options.size() + 1);
    EXPECT_EQ(items.first()->text(), "Sort by");
    EXPECT_FALSE(items.first()->isEnabled());
    EXPECT_TRUE(items.at(1)->isChecked());
    EXPECT_FALSE(items.at(2)->isChecked());

    // The chosen option again: nothing is written, yet the grid sorts by the column.
    int changes = 0;
    QObject::connect(&commands(), &GridCommands::sortOptionsDictChanged, [&changes] { ++changes; });
    items.at(1)->trigger();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(grid()->sortDescriptors().first().key, grid()->columns().at(column("Phone")).sortPrototype.key);
    items.at(2)->trigger();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(
        defaults().dictionaryForKey(DefaultsKey::SortOptionsDict).value("Phone").toMap().value("selected"),
        options.at(1));
    menu.reset(commands().menus().makeHeaderMenu(column("Phone")));
    EXPECT_TRUE(menu->actions().at(2)->isChecked());

    // A column without sort options has no menu.
    EXPECT_EQ(commands().menus().makeHeaderMenu(column("ZIP")), nullptr);
}

TEST_F(GridMenusTest, AContextMenuEventShowsTheCellMenu)
{
    rightClick(0, "Phone");
    emit table()->contextMenuRequested(QPoint(10, 10));
    ASSERT_TRUE(commands().menus().shownMenu());
    EXPECT_EQ(describe(commands().menus().shownMenu()).first(), "Call Phone");
    commands().menus().shownMenu()->close();
}

} // namespace
