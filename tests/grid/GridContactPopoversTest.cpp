#include "GridEditingFixture.h"

#include "detail/DetailTableController.h"

#include <QPushButton>
#include <QTest>

class GridContactPopoversTest : public GridEditingFixture
{
protected:
    void SetUp() override
    {
        GridEditingFixture::SetUp();
        showColumns({"Name", "Phone"});
        ann = addWithPhones("Ann", {{"home", "1"}});
        bob = addWithPhones("Bob", {{"home", "2"}});
        grid()->updateTable();
    }

    void openPopover(const ContactRowPtr &contact)
    {
        contactPopovers()->showContactInfoPopover(subRow(rowOf(contact)), cellRect(rowOf(contact), "Name"));
    }

    QStringList entries() const
    {
        QStringList shown;
        for (const DetachedWindowEntryPtr &entry : grid()->detachedWindows())
            shown.append((entry->window ? "window " : "popover ") + nameOf(entry->uniqueId));
        return shown;
    }

    QString nameOf(const QString &uniqueId) const
    {
        return uniqueId == ann->uniqueId ? "Ann" : uniqueId == bob->uniqueId ? "Bob" : "?";
    }

    ContactInfoWindowController *windowOf(const ContactRowPtr &contact) const
    {
        for (const DetachedWindowEntryPtr &entry : grid()->detachedWindows()) {
            if (entry->uniqueId == contact->uniqueId && entry->window)
                return static_cast<ContactInfoWindowController *>(entry->windowController);
        }
        return nullptr;
    }

    ContactRowPtr ann;
    ContactRowPtr bob;
};

TEST_F(GridContactPopoversTest, APopoverShowsItsContactBesideTheCellAndCanBeTornOff)
{
    openPopover(ann);
    auto *popover = popoverContent<ContactInfoPopover>();
    ASSERT_NE(popover, nullptr);
    EXPECT_EQ(popover->contact()->uniqueId, ann->uniqueId);
    EXPECT_EQ(grid()->popover()->contentSize(), QSize(450, 640));
    EXPECT_TRUE(grid()->popover()->isDetachable());
    EXPECT_EQ(grid()->popover()->behavior(), Popover::Behavior::Semitransient);
    EXPECT_EQ(popover->myUndoManager(), m_view->undoManager());
    EXPECT_EQ(entries(), QStringList{"popover Ann"});
}

// The window shows the popover's contact and its custom items, whatever the grid selects by then.
TEST_F(GridContactPopoversTest, ATornOffWindowKeepsThePopoversOwnContact)
{
    const QVariantList customItems{QVariantMap{{"Name", "Club"}, {"Type", "String Value"}}};
    grid()->setCustomItems(customItems);
    openPopover(ann);
    grid()->selectRowIndexesWithContacts({bob});
    grid()->popover()->detach();

    ContactInfoWindowController *window = windowOf(ann);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->popover()->contact()->uniqueId, ann->uniqueId);
    EXPECT_EQ(window->popover()->customItems(), customItems);
    EXPECT_EQ(window->window()->windowTitle(), "Ann");
    EXPECT_EQ(window->popover()->parentWindow(), window->window());
    EXPECT_EQ(entries(), QStringList{"window Ann"});
    EXPECT_EQ(grid()->popover(), nullptr);
}

TEST_F(GridContactPopoversTest, TearingOffAThenOpeningBKeepsOneEntryEachAndClosingBLeavesA)
{
    openPopover(ann);
    grid()->popover()->detach();
    openPopover(bob);
    EXPECT_EQ(entries(), (QStringList{"window Ann", "popover Bob"}));
    EXPECT_EQ(windowOf(ann)->popover()->contact()->uniqueId, ann->uniqueId);
    EXPECT_EQ(popoverContent<ContactInfoPopover>()->contact()->uniqueId, bob->uniqueId);

    grid()->popover()->close();
    EXPECT_EQ(entries(), QStringList{"window Ann"});
}

TEST_F(GridContactPopoversTest, ADoubleClickOnANameWithATornOffWindowRaisesTheWindow)
{
    openPopover(ann);
    grid()->popover()->detach();
    cellEditing()->doubleActionAt(column("Name"), rowOf(ann));
    EXPECT_EQ(grid()->popover(), nullptr);
    EXPECT_EQ(entries(), QStringList{"window Ann"});
}

TEST_F(GridContactPopoversTest, OkInATornOffWindowClosesOnlyThatWindow)
{
    openPopover(ann);
    grid()->popover()->detach();
    QPointer<QWidget> annWindow = windowOf(ann)->window();
    openPopover(bob);
    windowOf(ann)->popover()->okButton()->click();
    QCoreApplication::processEvents();

    EXPECT_TRUE(annWindow.isNull() || !annWindow->isVisible());
    ASSERT_NE(grid()->popover(), nullptr);
    EXPECT_TRUE(grid()->popover()->isShown());
    EXPECT_EQ(entries(), QStringList{"popover Bob"});
}

TEST_F(GridContactPopoversTest, UndoInATornOffWindowUndoesTheMainHistory)
{
    openPopover(ann);
    grid()->popover()->detach();
    ContactInfoWindowController *window = windowOf(ann);
    m_view->undoReplaceValue("Acme", "Company", ann, nullptr);
    nextEvent();
    ASSERT_EQ(ann->person->stringValueForIdentifier("Company"), "Acme");

    window->popover()->undo();
    EXPECT_EQ(ann->person->stringValueForIdentifier("Company"), "");
    EXPECT_FALSE(window->window()->isWindowModified());
    window->popover()->redo();
    EXPECT_EQ(ann->person->stringValueForIdentifier("Company"), "Acme");
    EXPECT_TRUE(window->window()->isWindowModified());
}

TEST_F(GridContactPopoversTest, TheNewContactsPopoverOpensOnItsNameForEditing)
{
    grid()->selectRowIndexesWithContacts({bob});
    grid()->showContactInfoPopoverWithOption(true);
    auto *popover = popoverContent<ContactInfoPopover>();
    ASSERT_NE(popover, nullptr);
    EXPECT_EQ(popover->contact()->uniqueId, bob->uniqueId);
    const QList<int> selected = popover->detailTable()->selectedRows();
    ASSERT_FALSE(selected.isEmpty());
    EXPECT_EQ(popover->detailTable()->table().at(selected.first())->type, "Name");
}

TEST_F(GridContactPopoversTest, AnEditInTheGridReachesTheOpenPopoverAndWindow)
{
    openPopover(ann);
    grid()->popover()->detach();
    openPopover(bob);
    grid()->selectRowIndexesWithContacts({ann});
    m_view->undoReplaceValue("Acme", "Company", ann, nullptr);
    EXPECT_EQ(windowOf(ann)->popover()->contact()->uniqueId, ann->uniqueId);
    // Another contact's popover keeps its contact.
    EXPECT_EQ(popoverContent<ContactInfoPopover>()->contact()->uniqueId, bob->uniqueId);
    EXPECT_EQ(entries(), (QStringList{"window Ann", "popover Bob"}));
}

TEST_F(GridContactPopoversTest, ADoubleClickOnANameOpensItsPopoverAndANamelessWindowIsTitledNoName)
{
    const ContactRowPtr nameless = add(person(""));
    grid()->updateTable();
    const QRect cell = cellRect(rowOf(nameless), "Name");
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::mouseDClick(table()->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    ASSERT_EQ(table()->clickedRow(), rowOf(nameless));
    auto *popover = popoverContent<ContactInfoPopover>();
    ASSERT_NE(popover, nullptr);
    EXPECT_EQ(popover->contact()->uniqueId, nameless->uniqueId);
    grid()->popover()->detach();
    ASSERT_EQ(grid()->detachedWindows().size(), 1);
    EXPECT_EQ(grid()->detachedWindows().first()->window->windowTitle(), "No name");
}
