#include "FunnelFixture.h"
#include "SaveFixture.h"

#include "addressbook/UndoGroup.h"
#include "app/ChangeBroadcast.h"
#include "detail/ContactInfoController.h"
#include "editors/DateViewController.h"
#include "platform/widgets/Popover.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

namespace {

// --- the broadcast ---------------------------------------------------------------------------

enum class Sender
{
    DetailPane,
    Popover,
    Nil,
    ViewController,
    Grid
};

struct BroadcastCase
{
    const char *name;
    Sender sender;
    QStringList refreshed;
};

class BroadcastTest : public FunnelFixture, public ::testing::WithParamInterface<BroadcastCase>
{
protected:
    void SetUp() override
    {
        FunnelFixture::SetUp();
        row = rowOf(sampleContact("Ann"));
        other = rowOf(sampleContact("Bo"));
        popover.setContentWidget(new FakeContactPopover(log, "popover", row));
        panes.grid->currentPopover = &popover;
        window = std::make_unique<FakeDetachedWindow>(log, *panes.grid, row, "window");
        otherWindow = std::make_unique<FakeDetachedWindow>(log, *panes.grid, other, "other window");
        panes.detail->setContact(row);
        log.calls.clear();
    }

    QObject *sender(Sender kind)
    {
        switch (kind) {
        case Sender::DetailPane:
            return panes.detail->view();
        case Sender::Popover:
            return popover.contentWidget();
        case Sender::ViewController:
            return view.get();
        case Sender::Grid:
            return panes.grid->view();
        case Sender::Nil:
            break;
        }
        return nullptr;
    }

    ContactRowPtr row, other;
    Popover popover;
    std::unique_ptr<FakeDetachedWindow> window, otherWindow;
};

TEST_P(BroadcastTest, RefreshesTheViewsOfTheContactAndMarksTheWindowEdited)
{
    view->contactDidUpdate(row, sender(GetParam().sender));
    EXPECT_EQ(log.calls, GetParam().refreshed);
    EXPECT_TRUE(view->isDocumentEdited());
}

INSTANTIATE_TEST_SUITE_P(
    BySender, BroadcastTest,
    ::testing::Values(BroadcastCase{"DetailPane", Sender::DetailPane, {"detail", "grid"}},
                      BroadcastCase{"Popover", Sender::Popover, {"detail", "popover", "window", "grid"}},
                      BroadcastCase{"Nil", Sender::Nil, {"detail", "window", "grid"}},
                      BroadcastCase{"ViewController", Sender::ViewController, {"detail", "window", "grid"}},
                      BroadcastCase{"Grid", Sender::Grid, {"detail", "window"}}),
    [](const ::testing::TestParamInfo<BroadcastCase> &info) { return std::string(info.param.name); });

TEST_F(BroadcastTest, DuringUndoTheDetailPaneTheGridAndTheContactsWindowsAreRefreshed)
{
    bool editedDuringUndo = true;
    undoManager().registerUndo([&] {
        view->contactDidUpdate(row, panes.detail->view());
        editedDuringUndo = view->isDocumentEdited();
    });
    nextEvent();
    undoManager().undo();
    EXPECT_EQ(log.calls, QStringList({"detail", "window", "grid"}));
    EXPECT_FALSE(editedDuringUndo);
}

TEST_F(BroadcastTest, TheDetailPaneShowingAnotherContactIsLeftAlone)
{
    view->contactDidUpdate(other, nullptr);
    EXPECT_EQ(log.calls, QStringList({"other window", "grid"}));
}

// A command over many contacts redraws each view once, when its group ends, and so does its undo.
TEST_F(BroadcastTest, ChangesInsideOneUndoGroupRedrawEachViewOnce)
{
    {
        UndoGroup group(undoManager());
        for (int i = 0; i < 3; ++i) {
            for (const ContactRowPtr &contact : {row, other}) {
                undoManager().registerUndo([this, contact] { view->contactDidUpdate(contact, nullptr); });
                view->contactDidUpdate(contact, nullptr);
            }
        }
        EXPECT_EQ(log.calls, QStringList{});
    }
    QStringList calls = log.calls;
    calls.sort();
    EXPECT_EQ(calls, QStringList({"detail", "grid", "other window", "window"}));
    EXPECT_TRUE(view->isDocumentEdited());

    log.calls.clear();
    nextEvent();
    undoManager().undo();
    calls = log.calls;
    calls.sort();
    EXPECT_EQ(calls, QStringList({"detail", "grid", "other window", "window"}));
}

// A list written whole shows in the detail pane too, not only in the grid.
TEST_F(BroadcastTest, AListWrittenWholeRedrawsTheDetailPane)
{
    view->changeBroadcast().listDidUpdate(row);
    EXPECT_EQ(log.calls, QStringList({"detail", "window", "grid"}));
}

// --- the locked pane's card ------------------------------------------------------------------

using CardInWindowTest = SaveFixture;

// The card was rebuilt only when another contact was chosen: a grid edit and its undo left it stale.
TEST_F(CardInWindowTest, TheCardFollowsAGridEditItsUndoAndItsRedo)
{
    const ContactRowPtr bob = row(top(), "Bob");
    bob->person->setValue(QVariantMap{{"value", QVariantMap{{"year", 2001}, {"month", 1}, {"day", 10}}}},
                          "Birthday");
    window->resize(1400, 700);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (QAction *item : window->viewTypePopup()->menu()->actions())
        if (representedObject(item) == "Personal Information")
            item->trigger();
    ContactsGridInterface *grid = view()->contactsViewController();
    grid->selectRowIndexesWithContacts({bob});
    QTextBrowser *card = static_cast<ContactInfoController *>(view()->contactInfoController())->cardView();
    ASSERT_TRUE(card->toPlainText().contains("2001.01.10"));

    QAbstractItemView *table = grid->tableView();
    const int selected = table->selectionModel()->selectedRows().first().row();
    const QModelIndex cell =
        table->model()->index(selected, int(grid->tableIdentifiers().indexOf("Birthday")));
    const QPoint birthday = table->visualRect(cell).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, birthday);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, birthday);
    ASSERT_TRUE(spinUntil([grid] { return grid->popover() && grid->popover()->isVisible(); }));
    auto *editor = qobject_cast<DateViewController *>(grid->popover()->contentWidget());
    ASSERT_NE(editor, nullptr);
    QTest::mouseClick(editor->editButton(), Qt::LeftButton);
    QTest::mouseClick(editor->dateField(), Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "2002-02-02");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::mouseClick(editor->doneButton(), Qt::LeftButton);
    EXPECT_TRUE(spinUntil([card] { return card->toPlainText().contains("2002.02.02"); }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(card->toPlainText().contains("2001.01.10"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(card->toPlainText().contains("2002.02.02"));
}

} // namespace
