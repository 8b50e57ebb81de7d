#include "platform/Dispatch.h"
#include "platform/Semaphore.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <atomic>

namespace {

bool onMainThread()
{
    return QThread::currentThread() == QCoreApplication::instance()->thread();
}

// Runs a loop of its own, as a modal dialog does, until quit (or a safety net of ten seconds).
void runModalLoop(QEventLoop &loop)
{
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::DialogExec);
}

} // namespace

TEST(Dispatch, PostedCallsRunOnTheMainThreadInOrder)
{
    QList<int> order;
    bool allOnMain = true;
    auto record = [&](int i) {
        return [&order, &allOnMain, i] {
            allOnMain &= onMainThread();
            order.append(i);
        };
    };
    Dispatch::postToMain(record(0));
    Dispatch::runInBackground([&] {
        for (int i = 1; i < 50; ++i)
            Dispatch::postToMain(record(i));
    }).waitForFinished();
    auto *gone = new QObject;
    Dispatch::postToMain(gone, record(-1)); // dropped with its context
    delete gone;
    EXPECT_TRUE(order.isEmpty());
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(order.size(), 50);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_TRUE(allOnMain);
}

TEST(Dispatch, PostedAndDelayedCallsRunInsideAModalLoop)
{
    QEventLoop modal;
    bool posted = false;
    bool delayedOnMain = false;
    Dispatch::runInBackground([&] {
        Dispatch::postToMain([&] { posted = true; });
        Dispatch::runAfter(5, &modal, [&] {
            delayedOnMain = onMainThread();
            modal.quit();
        });
    });
    runModalLoop(modal);
    EXPECT_TRUE(posted);
    EXPECT_TRUE(delayedOnMain);
}

TEST(Dispatch, PoolRunsTasksThatWaitForTasksTheyDispatched)
{
    EXPECT_GE(Dispatch::pool().maxThreadCount(), 4);
    // Like the store load: one task waits, with one deadline, for the three it dispatched.
    std::atomic<int> done = 0;
    const bool allSignalled = Dispatch::runInBackground([&done] {
                                  std::array<Semaphore, 3> semaphores;
                                  for (Semaphore &semaphore : semaphores) {
                                      Dispatch::runInBackground([&done, &semaphore] {
                                          ++done;
                                          semaphore.signal();
                                      });
                                  }
                                  const QDeadlineTimer deadline(60000);
                                  bool all = true;
                                  for (Semaphore &semaphore : semaphores)
                                      all &= semaphore.wait(deadline);
                                  return all;
                              }).result();
    EXPECT_TRUE(allSignalled);
    EXPECT_EQ(done, 3);
}

TEST(Semaphore, WaitEndsAtTheDeadline)
{
    Semaphore semaphore;
    EXPECT_FALSE(semaphore.wait(QDeadlineTimer(0)));
    EXPECT_FALSE(semaphore.wait(QDeadlineTimer(20)));
    semaphore.signal();
    EXPECT_TRUE(semaphore.wait(QDeadlineTimer(0)));
    EXPECT_FALSE(semaphore.wait(QDeadlineTimer(0)));

    Semaphore counted(2);
    EXPECT_TRUE(counted.wait(QDeadlineTimer(0)));
    EXPECT_TRUE(counted.wait());
    EXPECT_FALSE(counted.wait(QDeadlineTimer(0)));
}
