#include "platform/UndoManager.h"

#include "LogCapture.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A value edited the way the edit funnel does it: each change registers its own inverse.
struct Value
{
    UndoManager &undo;
    int value = 0;

    void set(int newValue)
    {
        undo.registerUndo([this, old = value] { set(old); });
        value = newValue;
    }
};

class UndoManagerTest : public ::testing::Test
{
protected:
    // Ends the current pass of the event loop, as returning to the loop would.
    static void endPass() { QCoreApplication::sendPostedEvents(); }

    UndoManager undo;
    Value v{undo};
};

} // namespace

TEST_F(UndoManagerTest, NestedGroupsAreOneStepUndoneInReverseOrder)
{
    QList<int> order;
    undo.beginUndoGrouping();
    undo.registerUndo([&order] { order.append(1); });
    undo.beginUndoGrouping();
    undo.registerUndo([&order] { order.append(2); });
    undo.endUndoGrouping();
    EXPECT_EQ(undo.groupingLevel(), 1);
    undo.registerUndo([&order] { order.append(3); });
    undo.endUndoGrouping();
    undo.beginUndoGrouping(); // empty groups leave no step
    undo.endUndoGrouping();

    undo.undo();
    EXPECT_EQ(order, QList<int>({3, 2, 1}));
    EXPECT_FALSE(undo.canUndo());
    EXPECT_FALSE(undo.canRedo()); // nothing was registered while undoing
}

TEST_F(UndoManagerTest, RegistrationsWhileUndoingAreOneRedoStepAndBack)
{
    undo.beginUndoGrouping();
    v.set(1);
    v.set(2);
    undo.endUndoGrouping();
    v.set(3);
    undo.closeAutomaticGroup();

    undo.undo();
    undo.undo();
    EXPECT_EQ(v.value, 0);
    EXPECT_FALSE(undo.canUndo());
    undo.redo();
    EXPECT_EQ(v.value, 2);
    EXPECT_TRUE(undo.canRedo()); // the registrations made by redo kept the other redo step
    undo.redo();
    EXPECT_EQ(v.value, 3);
    undo.undo();
    undo.undo();
    EXPECT_EQ(v.value, 0);

    undo.redo();
    v.set(5);
    EXPECT_FALSE(undo.canRedo());
}

TEST_F(UndoManagerTest, RegistrationsOfOneEventLoopPassAreOneStep)
{
    v.set(1);
    v.set(2);
    EXPECT_EQ(undo.groupingLevel(), 1);
    EXPECT_TRUE(undo.canUndo());
    endPass();
    EXPECT_EQ(undo.groupingLevel(), 0);

    v.set(3);
    undo.beginUndoGrouping(); // joins the pass's group
    endPass();                // a nested loop, like a modal alert's, runs while the group is open
    v.set(4);
    EXPECT_EQ(undo.groupingLevel(), 2);
    undo.endUndoGrouping();
    EXPECT_EQ(undo.groupingLevel(), 0);

    v.set(5);
    v.set(6);
    undo.undo(); // closes the open group first
    EXPECT_EQ(v.value, 4);
    undo.undo();
    EXPECT_EQ(v.value, 2);
}

TEST_F(UndoManagerTest, RemoveAllActionsForgetsEverythingIncludingTheOpenGroup)
{
    v.set(1);
    undo.closeAutomaticGroup();
    v.set(2);
    undo.closeAutomaticGroup();
    undo.undo();
    v.set(3);
    undo.removeAllActions();
    EXPECT_FALSE(undo.canUndo());
    EXPECT_FALSE(undo.canRedo());
    undo.undo();
    EXPECT_EQ(v.value, 3);
}

TEST_F(UndoManagerTest, ReportsStateAndSignalsAroundUndoAndRedo)
{
    int undone = 0, redone = 0, changed = 0;
    QObject::connect(&undo, &UndoManager::didUndo, [&] { ++undone; });
    QObject::connect(&undo, &UndoManager::didRedo, [&] { ++redone; });
    QObject::connect(&undo, &UndoManager::changed, [&] { ++changed; });
    bool sawUndoing = false, sawRedoing = false;
    std::function<void()> action = [&] {
        sawUndoing |= undo.isUndoing() && !undo.isRedoing();
        sawRedoing |= undo.isRedoing() && !undo.isUndoing();
        undo.registerUndo(action);
    };
    undo.registerUndo(action);
    undo.undo();
    undo.redo();
    EXPECT_TRUE(sawUndoing && sawRedoing);
    EXPECT_FALSE(undo.isUndoing() || undo.isRedoing());
    EXPECT_EQ(undone, 1);
    EXPECT_EQ(redone, 1);
    EXPECT_EQ(changed, 3);
}

TEST_F(UndoManagerTest, MisuseIsLoggedAndIgnored)
{
    LogCapture log;
    undo.endUndoGrouping();
    v.set(1);
    undo.endUndoGrouping(); // must not close the automatic group
    EXPECT_EQ(undo.groupingLevel(), 1);
    int ran = 0;
    undo.registerUndo([&] {
        undo.undo();
        ++ran;
    });
    undo.undo();
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(v.value, 0);
    EXPECT_TRUE(log.contains("endUndoGrouping without beginUndoGrouping"));
    EXPECT_TRUE(log.contains("undo called while undoing"));
}

TEST_F(UndoManagerTest, ActionKeepsItsArgumentsAliveUntilItIsDone)
{
    auto argument = std::make_shared<QString>(QStringLiteral("kept"));
    std::weak_ptr<QString> watch = argument;
    QString seen;
    undo.registerUndo([argument, &seen] { seen = *argument; });
    argument.reset();
    EXPECT_FALSE(watch.expired());
    undo.undo();
    EXPECT_EQ(seen, "kept");
    EXPECT_TRUE(watch.expired());
}

TEST_F(UndoManagerTest, ManagersAreIndependent)
{
    UndoManager other;
    Value w{other};
    v.set(1);
    w.set(7);
    other.undo();
    EXPECT_EQ(w.value, 0);
    EXPECT_EQ(v.value, 1);
    EXPECT_TRUE(undo.canUndo() && !undo.canRedo());
}
