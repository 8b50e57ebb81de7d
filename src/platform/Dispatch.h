#pragma once

#include <QFuture>
#include <QObject>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>
#include <utility>

// Hand-offs between the main thread and the background pool.
namespace Dispatch {

// Runs fn on the main thread at the next pass of its event loop, also of a modal dialog's own
// loop; calls from one thread run in the order they were posted.
void postToMain(std::function<void()> fn);
// The same, dropped when context is destroyed before it runs; runs in context's thread.
void postToMain(QObject *context, std::function<void()> fn);

// Runs fn in context's thread after the delay, unless context is destroyed first.
void runAfter(int milliseconds, QObject *context, std::function<void()> fn);

// The background pool: at least four threads, because a task may wait for tasks it dispatched.
QThreadPool &pool();

template <typename Function> auto runInBackground(Function &&fn)
{
    return QtConcurrent::run(&pool(), std::forward<Function>(fn));
}

// Runs work for every index below count on the calling thread and the pool's threads together, and
// returns when all are done. The calling thread starts at once: pool threads can take
// milliseconds to wake, and when all are busy with other work it does everything itself.
void runHereAndOnPool(size_t count, std::function<void(size_t)> work);

} // namespace Dispatch
