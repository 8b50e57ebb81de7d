#include "SaveFixture.h"

#include "addressbook/UndoGroup.h"
#include "detail/ContactInfoController.h"
#include "detail/ContactInfoPopover.h"
#include "detail/DetailTableController.h"
#include "detail/DetailTableEditing.h"
#include "editors/CustomItemPanel.h"
#include "platform/widgets/Popover.h"
#include "sidebar/GroupOutlineModel.h"
#include "sidebar/GroupOutlineView.h"
#include "sidebar/GroupViewController.h"
#include "ui/contracts/ContactsGridInterface.h"
#include "ui/widgets/DetailTextCell.h"

#include <QTest>

namespace {

// The views beside the grid follow the address book: a contact that leaves the shown table leaves
// them, and a custom item added or deleted in its sheet shows in the detail pane at once.
class PaneFollowsTheBookTest : public SaveFixture
{
protected:
    void SetUp() override
    {
        SaveFixture::SetUp();
        window->show();
        view()->setEditState(true);
    }
    ContactInfoController *pane() const
    {
        return static_cast<ContactInfoController *>(view()->contactInfoController());
    }
    bool paneShowsRow(const QString &type) const
    {
        const auto rows = pane()->detailTable()->table();
        return std::any_of(rows.cbegin(), rows.cend(), [&](const auto &row) { return row->type == type; });
    }
    bool paneShowsText(const QString &text) const
    {
        const QAbstractItemView *table = pane()->tableView();
        const QAbstractItemModel *model = table->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QWidget *cell = table->indexWidget(model->index(row, 1));
            if (!cell)
                continue;
            QList<DetailTextCell *> texts = cell->findChildren<DetailTextCell *>();
            if (auto *own = qobject_cast<DetailTextCell *>(cell))
                texts.append(own);
            for (const DetailTextCell *shown : std::as_const(texts))
                if (shown->text() == text)
                    return true;
        }
        return false;
    }
};

TEST_F(PaneFollowsTheBookTest, AnUndoneAddLeavesThePaneAndThePopoverWithTheirEditsUnwritten)
{
    const ContactRowPtr dora = created("Dora");
    view()->undoAddContacts({dora}, top());
    view()->undoManager()->closeAutomaticGroup();
    ContactsGridInterface *grid = view()->contactsViewController();
    grid->selectRowIndexesWithContacts({dora});
    QCoreApplication::processEvents();
    ASSERT_TRUE(pane()->contact());
    ASSERT_EQ(pane()->contact()->uniqueId, dora->uniqueId);
    grid->showContactInfoPopoverWithOption(false);
    auto *popover = qobject_cast<ContactInfoPopover *>(grid->popover()->contentWidget());
    ASSERT_TRUE(popover);
    popover->detailTable()->editing().editRowInPlace(5);

    view()->undo();
    QCoreApplication::processEvents();
    EXPECT_FALSE(pane()->contact());
    EXPECT_EQ(grid->popover(), nullptr);
    EXPECT_TRUE(grid->detachedWindows().isEmpty());
    EXPECT_FALSE(view()->isDocumentEdited());
}

TEST_F(PaneFollowsTheBookTest, AClickOnAnEmptyGroupLeavesThePaneWithoutAContact)
{
    view()->contactsViewController()->selectRowIndexesWithContacts({row(top(), "Ann")});
    QCoreApplication::processEvents();
    ASSERT_TRUE(pane()->contact());
    // Shown after the load, the window comes up without its sidebar.
    window->showGroupView(true);
    QCoreApplication::processEvents();

    auto *sidebar = static_cast<GroupViewController *>(view()->groupViewController());
    QAbstractItemView *outline = sidebar->outlineView();
    const QRect work = outline->visualRect(sidebar->model()->indexOfGroup(group("Work")));
    ASSERT_TRUE(work.isValid());
    QTest::mouseClick(outline->viewport(), Qt::LeftButton, Qt::NoModifier, work.center());
    ASSERT_TRUE(spinUntil([this] { return view()->selectedGroupDict() == group("Work"); }));
    EXPECT_FALSE(pane()->contact());
    EXPECT_TRUE(pane()->detailTable()->table().isEmpty());
}

// The grid's commands write whole lists, several contacts in one undo group.
TEST_F(PaneFollowsTheBookTest, AListTheGridWritesShowsInThePaneWhenTheCommandEnds)
{
    const ContactRowPtr ann = row(top(), "Ann");
    pane()->setContact(ann);
    ASSERT_FALSE(paneShowsText("555 0100"));
    const QVariantList phones{
        QVariantMap{{"label", "mobile"}, {"value", "555 0100"}, {"stringValue", "555 0100"}}};
    {
        UndoGroup group(*view()->undoManager());
        for (const QString &name : {QStringLiteral("Carl"), QStringLiteral("Ann")})
            ASSERT_TRUE(view()->undoReplaceLabeledValue(phones, "Phone", row(top(), name),
                                                        view()->contactsViewController()->tableView()));
        EXPECT_FALSE(paneShowsText("555 0100"));
    }
    EXPECT_TRUE(paneShowsText("555 0100"));
    view()->undo();
    EXPECT_FALSE(paneShowsText("555 0100"));
}

TEST_F(PaneFollowsTheBookTest, ACustomItemAddedOrDeletedInItsSheetShowsAtOnce)
{
    pane()->setContact(row(top(), "Ann"));
    EXPECT_FALSE(paneShowsRow("Pets"));
    window->showCustomItems();
    CustomItemPanel *panel = window->customItemPanel();
    ASSERT_TRUE(panel && panel->isSheetOpen());
    panel->setCustomItems({QVariantMap{{"Name", "Pets"}, {"Type", "String Value"}, {"new", true}}});
    panel->endSheet(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(paneShowsRow("Pets"));

    window->showCustomItems();
    panel->setCustomItems({QVariantMap{{"Name", "Pets"}, {"Type", "String Value"}, {"deleted", true}}});
    panel->endSheet(1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(paneShowsRow("Pets"));
}

} // namespace
