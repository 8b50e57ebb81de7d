#include "DetailEditingFixture.h"

#include "model/WorkspaceURL.h"
#include "platform/widgets/Workspace.h"

#include <QUrl>

namespace {

using DetailRowMenu::Command;
using DetailRowMenu::Variant;

// The titles of the items, "-" for a separator, disabled ones in brackets.
QStringList titles(const QString &type, bool holdsValue, Variant variant, const QString &valueType = {})
{
    QStringList result;
    for (const DetailRowMenu::Item &item : DetailRowMenu::items({type, valueType, holdsValue}, variant)) {
        if (item.isSeparator())
            result.append(QStringLiteral("-"));
        else
            result.append(item.command ? item.title : QLatin1Char('[') + item.title + QLatin1Char(']'));
    }
    return result;
}

QStringList list(std::initializer_list<const char *> items)
{
    QStringList result;
    for (const char *item : items)
        result.append(QString::fromUtf8(item));
    return result;
}

} // namespace

TEST(DetailRowMenuItemsTest, EveryKindGetsItsItemsWithAndWithoutAValue)
{
    const Variant pane = Variant::Pane;
    EXPECT_EQ(titles(QStringLiteral("Phone"), true, pane),
              list({"Call Phone", "Open Edit Panel", "Add Item", "Delete Item"}));
    EXPECT_EQ(titles(QStringLiteral("Phone"), false, pane), list({"[Call Phone]", "Open Edit Panel", "Add Item"}));
    EXPECT_EQ(titles(QStringLiteral("Email"), true, pane).first(), QStringLiteral("Send Email"));
    EXPECT_EQ(titles(QStringLiteral("URL"), false, pane).first(), QStringLiteral("[Open URL]"));
    EXPECT_EQ(titles(QStringLiteral("Relationship"), false, pane),
              list({"Open Relationship Panel", "Open Edit Panel", "Add Item"}));
    EXPECT_EQ(titles(QStringLiteral("Address"), true, pane),
              list({"Open Apple Map", "Open Google Map", "Open Address Panel", "Open Edit Panel", "Add Item",
                    "Delete Item"}));
    EXPECT_EQ(titles(QStringLiteral("Address"), false, pane),
              list({"[Open Apple Map]", "[Open Google Map]", "[Open Address Panel]", "Open Edit Panel", "Add Item"}));
    EXPECT_EQ(titles(QStringLiteral("Instant Message"), false, pane),
              list({"[Open IMS Panel]", "Open Edit Panel", "Add Item"}));
    EXPECT_EQ(titles(QStringLiteral("Social Network"), true, pane).first(), QStringLiteral("Open SNS Panel"));
    EXPECT_EQ(titles(QStringLiteral("Dates"), true, pane), list({"Open Calendar", "Open Dates Panel", "Delete Item"}));
    EXPECT_EQ(titles(QStringLiteral("Dates"), false, pane), list({"[Open Calendar]", "Open Dates Panel"}));
    EXPECT_EQ(titles(QStringLiteral("Birthday"), true, pane),
              list({"Open Calendar", "Open Birthday Panel", "Delete Item"}));
    EXPECT_EQ(titles(QStringLiteral("Photo"), true, pane),
              list({"Icon Size Bigger", "Icon Size Smaller", "-", "Replace Image", "Delete Image"}));
    EXPECT_EQ(titles(QStringLiteral("Photo"), false, pane), list({"Add Image"}));
    for (const char *none : {"Name", "Phonetic Name", "Company", "Note", "Groups", "Name Ordering", "Name Display"})
        EXPECT_TRUE(titles(QString::fromLatin1(none), true, pane).isEmpty()) << none;
    EXPECT_EQ(titles(QStringLiteral("Member No"), true, pane, QStringLiteral("Labeled Value")),
              list({"Open Edit Panel"}));
    EXPECT_TRUE(titles(QStringLiteral("Size"), true, pane, QStringLiteral("String Value")).isEmpty());
}

TEST(DetailRowMenuItemsTest, PopoverAndMergeVariants)
{
    EXPECT_EQ(titles(QStringLiteral("Phone"), false, Variant::Popover),
              list({"[Call Phone]", "Add/Delete Phone Item", "Add Item"}));
    EXPECT_EQ(titles(QStringLiteral("Phone"), true, Variant::Popover),
              titles(QStringLiteral("Phone"), true, Variant::Pane));
    EXPECT_EQ(titles(QStringLiteral("Phone"), false, Variant::Merge),
              list({"[Call Phone]", "Open Phone Panel", "Add Item"}));
    EXPECT_EQ(titles(QStringLiteral("Email"), true, Variant::Merge),
              list({"Send Email", "Open Email Panel", "Add Item", "Delete Item"}));
    EXPECT_EQ(titles(QStringLiteral("URL"), true, Variant::Merge)[1], QStringLiteral("Open URL Panel"));
    EXPECT_EQ(titles(QStringLiteral("Photo"), true, Variant::Merge), list({"Replace Image", "Delete Image"}));
    EXPECT_EQ(titles(QStringLiteral("Birthday"), true, Variant::Merge),
              list({"Open Calendar", "Open Birthday Panel", "-", "Delete Item"}));
}

TEST(DetailRowMenuItemsTest, ItemsCarryTheirCommandNotJustATitle)
{
    QMenu menu;
    Command chosen = Command::InsertItem;
    DetailRowMenu::fill(&menu, DetailRowMenu::items({QStringLiteral("Address"), {}, true}, Variant::Pane),
                        [&chosen](Command command) { chosen = command; });
    // Translated titles could be anything: the two map items differ by their data.
    menu.actions().at(1)->setText(QStringLiteral("Karte im Web"));
    EXPECT_EQ(DetailRowMenu::commandOf(menu.actions().at(0)), Command::OpenDesktopMap);
    menu.actions().at(1)->trigger();
    EXPECT_EQ(chosen, Command::OpenWebMap);
}

// --- the pane's menu and its commands -------------------------------------------------------

TEST_F(DetailEditingTest, PanesMenuFollowsTheClickedRow)
{
    EXPECT_EQ(menuTitles(rowOf(QStringLiteral("Phone"))),
              list({"Call Phone", "Open Edit Panel", "Add Item", "Delete Item"}));
    EXPECT_EQ(menuTitles(rowOf(QStringLiteral("URL"))), list({"[Open URL]", "Open Edit Panel", "Add Item"}));
    EXPECT_EQ(menuTitles(rowOf(QStringLiteral("Birthday"))),
              list({"Open Calendar", "Open Birthday Panel", "Delete Item"}));
    EXPECT_EQ(menuTitles(rowOf(QStringLiteral("Dates"))), list({"[Open Calendar]", "Open Dates Panel"}));
    EXPECT_TRUE(menuTitles(rowOf(QStringLiteral("Company"))).isEmpty());
    EXPECT_TRUE(menuTitles(rowOf(QStringLiteral("Phone")), 0).isEmpty());
    EXPECT_TRUE(menuTitles(-1, -1).isEmpty());
    m_pane->setEditDelegate(nullptr);
    m_pane->setDelegate(nullptr);
    EXPECT_TRUE(menuTitles(rowOf(QStringLiteral("Phone"))).isEmpty());
}

TEST_F(DetailEditingTest, AddItemAppendsTheDefaultEntryUndoably)
{
    DetailItemCommands &commands = table().itemCommands();
    commands.setClickedCell(rowOf(QStringLiteral("Email")), 1);
    commands.insertItem();
    const QVariantList emails = record().labeledValueForIdentifier(QStringLiteral("Email"));
    ASSERT_EQ(emails.size(), 3);
    EXPECT_EQ(emails.last().toMap().value(PersonKey::Label), QStringLiteral("home"));
    EXPECT_EQ(emails.last().toMap().value(PersonKey::Value), QStringLiteral("new"));
    EXPECT_EQ(m_funnel.updates, 1);
    EXPECT_TRUE(m_funnel.book.isEdited());
    EXPECT_NE(rowOf(QStringLiteral("Email"), 2), -1);

    m_funnel.book.undoManager()->undo();
    EXPECT_EQ(record().labeledValueForIdentifier(QStringLiteral("Email")).size(), 2);

    // An address gets its editor for a new value instead; nothing is added until it is done.
    commands.setClickedCell(rowOf(QStringLiteral("Address")), 1);
    commands.insertItem();
    ASSERT_TRUE(m_pane->popover());
    EXPECT_EQ(m_editors.contextInfo(m_pane->popover()->contentWidget())->labelIndex, -1);
    m_pane->popover()->close();
    EXPECT_EQ(record().labeledValueForIdentifier(QStringLiteral("Address")).size(), 1);
}

TEST_F(DetailEditingTest, DeleteItemAsksAndOnlyOKDeletesKeepingTheSelection)
{
    DetailItemCommands &commands = table().itemCommands();
    const int second = rowOf(QStringLiteral("Phone"), 1);
    table().selectRow(rowOf(QStringLiteral("Company")));
    const QList<int> selected = table().selectedRows();

    Alert::setNextAnswer(Alert::SecondButton);
    commands.setClickedCell(second, 1);
    commands.deleteItem();
    QCoreApplication::processEvents();
    EXPECT_EQ(Alert::lastShown().messageText,
              QStringLiteral("Do you want to delete the item(label and text) in the selected cells in column:Phone ?"));
    EXPECT_EQ(Alert::lastShown().informativeText, QStringLiteral("This operation can be undone."));
    EXPECT_EQ(Alert::lastShown().buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
    EXPECT_EQ(phones().size(), 3);
    EXPECT_EQ(m_funnel.updates, 0);

    Alert::setNextAnswer(Alert::FirstButton);
    commands.deleteItem();
    QCoreApplication::processEvents();
    EXPECT_EQ(phones(), (QStringList{QStringLiteral("111"), QStringLiteral("333")}));
    EXPECT_EQ(table().selectedRows(), QList<int>{second});

    // The birthday row's Delete Item removes the birthday.
    Alert::setNextAnswer(Alert::FirstButton);
    commands.setClickedCell(rowOf(QStringLiteral("Birthday")), 1);
    commands.deleteItem();
    QCoreApplication::processEvents();
    EXPECT_TRUE(record().stringValueForIdentifier(QStringLiteral("Birthday")).isEmpty());
    (void)selected;
}

TEST_F(DetailEditingTest, WorkspaceActionsOpenTheEntryOfTheRowsLabelIndex)
{
    QList<QUrl> opened;
    Workspace::setOpener([&opened](const QUrl &url) {
        opened.append(url);
        return true;
    });
    m_funnel.undoDeleteLabeledValueForIdentifier(QStringLiteral("Email"), 0, m_row, nullptr);
    table().updateTable();
    DetailItemCommands &commands = table().itemCommands();
    commands.setClickedCell(rowOf(QStringLiteral("Email")), 1);
    commands.perform(Command::OpenValue);
    commands.setClickedCell(rowOf(QStringLiteral("Address")), 1);
    commands.perform(Command::OpenWebMap);
    commands.perform(Command::OpenDesktopMap);
    commands.setClickedCell(rowOf(QStringLiteral("Dates")), 1);
    commands.perform(Command::OpenValue);
    // A placeholder row opens nothing.
    commands.setClickedCell(rowOf(QStringLiteral("URL")), 1);
    commands.perform(Command::OpenValue);
    Workspace::setOpener({});

    ASSERT_EQ(opened.size(), 4);
    EXPECT_EQ(opened[0], WorkspaceURL::forValue(QStringLiteral("Email"), QStringLiteral("lee@example.org")));
    EXPECT_TRUE(opened[1].toString().startsWith(QStringLiteral("https://www.google.com/maps/search/1")));
    EXPECT_TRUE(opened[2].toString().startsWith(QStringLiteral("geo:0,0?q=")));
    EXPECT_EQ(opened[3].toString(), QStringLiteral("ical://"));
}

TEST_F(DetailEditingTest, PanelItemsOpenTheSingleOrTheListEditor)
{
    DetailItemCommands &commands = table().itemCommands();
    commands.setClickedCell(rowOf(QStringLiteral("Address")), 1);
    commands.perform(Command::OpenValueEditor);
    ASSERT_TRUE(m_pane->popover());
    EXPECT_EQ(m_pane->popover()->contentSize(), QSize(340, 460));
    commands.perform(Command::OpenListEditor);
    EXPECT_EQ(m_pane->popover()->contentSize(), QSize(820, 260));
    commands.setClickedCell(rowOf(QStringLiteral("Birthday")), 1);
    commands.perform(Command::OpenListEditor);
    EXPECT_EQ(m_pane->popover()->contentSize(), QSize(340, 284));
}
