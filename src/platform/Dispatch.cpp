#include "platform/Dispatch.h"

#include "platform/Log.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <memory>

namespace Dispatch {

void postToMain(std::function<void()> fn)
{
    QCoreApplication *application = QCoreApplication::instance();
    if (!application) {
        Log::write("Dispatch: ERROR postToMain without an application; the call is dropped");
        return;
    }
    QMetaObject::invokeMethod(application, std::move(fn), Qt::QueuedConnection);
}

void postToMain(QObject *context, std::function<void()> fn)
{
    if (!context) {
        postToMain(std::move(fn));
        return;
    }
    QMetaObject::invokeMethod(context, std::move(fn), Qt::QueuedConnection);
}

void runAfter(int milliseconds, QObject *context, std::function<void()> fn)
{
    if (!context)
        context = QCoreApplication::instance();
    if (QThread::currentThread() == context->thread()) {
        QTimer::singleShot(milliseconds, context, std::move(fn));
        return;
    }
    // A timer must be started in the thread that runs it.
    postToMain(context, [milliseconds, context, fn = std::move(fn)]() mutable {
        QTimer::singleShot(milliseconds, context, std::move(fn));
    });
}

namespace {

// How long the end of the application waits for tasks still running.
constexpr int ExitWaitMs = 3000;

} // namespace

// Never destroyed, so that a task still running after the exit's wait cannot make the exit hang.
// The wait comes when the application object goes, before the program's static objects do: a
// task running on past it could otherwise use objects already destroyed.
QThreadPool &pool()
{
    static QThreadPool *instance = [] {
        auto *threads = new QThreadPool;
        threads->setMaxThreadCount(std::max(4, QThread::idealThreadCount()));
        qAddPostRoutine([] {
            if (!instance->waitForDone(ExitWaitMs))
                Log::write("Dispatch: ERROR background tasks still running at exit");
        });
        return threads;
    }();
    return *instance;
}

void runHereAndOnPool(size_t count, std::function<void(size_t)> work)
{
    struct Shared
    {
        std::function<void(size_t)> work;
        size_t count = 0;
        std::atomic<size_t> next{0};
        QSemaphore done;
    };
    if (count == 0)
        return;
    // Shared with the tasks: one that starts after the last index was taken still looks at it.
    auto shared = std::make_shared<Shared>();
    shared->work = std::move(work);
    shared->count = count;
    const auto takeIndexes = [](Shared &state) {
        for (size_t index = state.next++; index < state.count; index = state.next++) {
            state.work(index);
            state.done.release();
        }
    };
    const size_t helpers = std::min(count, size_t(pool().maxThreadCount())) - 1;
    for (size_t helper = 0; helper < helpers; ++helper)
        pool().start([shared, takeIndexes] { takeIndexes(*shared); });
    takeIndexes(*shared);
    shared->done.acquire(int(count));
}

} // namespace Dispatch
