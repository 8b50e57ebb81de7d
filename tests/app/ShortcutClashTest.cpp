#include "SaveFixture.h"

#include "platform/widgets/Popover.h"
#include "ui/contracts/ContactsGridInterface.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMenu>
#include <QShortcut>
#include <QShortcutEvent>
#include <QTest>

#include <set>

namespace {

// Swallows every shortcut Qt dispatches, so that pressing a key triggers nothing, and notes the
// keys that Qt found ambiguous: two actions or shortcuts with that key live in one context.
class ShortcutRecorder : public QObject
{
public:
    ShortcutRecorder() { qApp->installEventFilter(this); }
    ~ShortcutRecorder() override { qApp->removeEventFilter(this); }

    QStringList ambiguous;
    int dispatched = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Shortcut)
            return false;
        const auto *shortcut = static_cast<QShortcutEvent *>(event);
        ++dispatched;
        if (shortcut->isAmbiguous())
            ambiguous.append(shortcut->key().toString());
        return true;
    }
};

// Every key that an action or shortcut object of the application answers to.
std::set<QKeySequence> applicationKeys()
{
    std::set<QKeySequence> keys;
    auto addAll = [&keys](const QList<QKeySequence> &sequences) {
        for (const QKeySequence &key : sequences)
            if (!key.isEmpty())
                keys.insert(key);
    };
    for (QWidget *widget : QApplication::allWidgets()) {
        for (QAction *action : widget->actions())
            addAll(action->shortcuts());
        for (QAction *action : widget->findChildren<QAction *>(Qt::FindDirectChildrenOnly))
            addAll(action->shortcuts());
        for (QShortcut *shortcut : widget->findChildren<QShortcut *>(Qt::FindDirectChildrenOnly))
            addAll(shortcut->keys());
    }
    return keys;
}

class ShortcutClashTest : public SaveFixture
{
protected:
    void SetUp() override
    {
        SaveFixture::SetUp();
        window->resize(1000, 700);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        // Undo and Redo count only while enabled: two edits, one of them undone.
        for (const QString &note : {QStringLiteral("one"), QStringLiteral("two")}) {
            ASSERT_TRUE(view()->undoReplaceValue(note, QStringLiteral("Note"), row(top(), "Ann"), nullptr));
            view()->undoManager()->closeAutomaticGroup();
        }
        view()->undo();
        ASSERT_TRUE(view()->undoManager()->canUndo() && view()->undoManager()->canRedo());
    }

    // Presses every key of the application with the focus on target; answers the ambiguous ones.
    QStringList clashesWithFocusOn(QWidget *target)
    {
        target->activateWindow();
        target->setFocus(Qt::OtherFocusReason);
        spinUntil([target] { return QApplication::focusWidget() == target; }, 2000);
        EXPECT_EQ(QApplication::focusWidget(), target);
        ShortcutRecorder recorder;
        for (const QKeySequence &key : applicationKeys()) {
            // Only keys with a modifier or a function key: the others type into the widget.
            const QKeyCombination combination = key[0];
            if (combination.keyboardModifiers() == Qt::NoModifier && combination.key() < Qt::Key_F1)
                continue;
            QTest::keyClick(QApplication::focusWidget(), combination.key(), combination.keyboardModifiers());
        }
        EXPECT_GT(recorder.dispatched, 0) << "no shortcut reached the recorder";
        return recorder.ambiguous;
    }
};

TEST_F(ShortcutClashTest, NoKeyIsSharedInTheMainWindowsPanes)
{
    view()->showFindBar(true);
    view()->setDetailCollapsed(false);
    view()->setSidebarCollapsed(false);
    view()->setEditState(true);
    QAbstractItemView *grid = view()->contactsViewController()->tableView();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    QAbstractItemView *detail = view()->contactInfoController()->tableView();
    ASSERT_TRUE(spinUntil([detail] { return detail->isVisible(); }));
    int checked = 0;
    for (QWidget *pane : {static_cast<QWidget *>(view()->contactsViewController()->tableView()),
                          static_cast<QWidget *>(view()->contactInfoController()->tableView()),
                          static_cast<QWidget *>(view()->groupViewController()->view())}) {
        ASSERT_TRUE(pane->isVisible()) << "hidden: " << pane->metaObject()->className();
        EXPECT_EQ(clashesWithFocusOn(pane), QStringList{}) << pane->metaObject()->className();
        ++checked;
    }
    EXPECT_EQ(checked, 3);
}

TEST_F(ShortcutClashTest, CtrlEInTheGridTogglesEditingAndCtrlShiftEFindsTheSelection)
{
    QAbstractItemView *grid = view()->contactsViewController()->tableView();
    grid->setFocus();
    const bool editing = view()->editState();
    QTest::keyClick(grid, Qt::Key_E, Qt::ControlModifier);
    EXPECT_NE(view()->editState(), editing);
    QTest::keyClick(grid, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(view()->editState(), editing);
    EXPECT_EQ(window->menuItem(MenuCommand::UseSelectionForFind)->shortcut(),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
}

TEST_F(ShortcutClashTest, NoKeyIsSharedInTheContactPopover)
{
    ContactsGridInterface *grid = view()->contactsViewController();
    grid->tableView()->setCurrentIndex(grid->tableView()->model()->index(0, 0));
    // A key in the window validates its menu items, Undo and Redo among them.
    QTest::keyClick(grid->tableView(), Qt::Key_Shift);
    grid->showContactInfoPopoverWithOption(false);
    ASSERT_TRUE(spinUntil([grid] { return grid->popover() && grid->popover()->isVisible(); }));
    QWidget *content = grid->popover()->contentWidget();
    ASSERT_NE(content, nullptr);
    auto *table = content->findChild<QAbstractItemView *>();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(clashesWithFocusOn(table), QStringList{});
}

} // namespace
