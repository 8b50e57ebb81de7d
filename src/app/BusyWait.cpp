#include "app/BusyWait.h"

#include "platform/Dispatch.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QTimer>

namespace {

constexpr int DefaultBusyDelay = 500;
int s_busyDelay = DefaultBusyDelay;

} // namespace

namespace BusyWait {

void run(const std::function<void()> &work, const std::function<void(bool busy)> &showBusy)
{
    QEventLoop loop;
    QFutureWatcher<void> watcher;
    QObject::connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
    bool busy = false;
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, [&] {
        busy = true;
        if (showBusy)
            showBusy(true);
    });
    watcher.setFuture(Dispatch::runInBackground(work));
    delay.start(s_busyDelay);
    if (!watcher.isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    watcher.waitForFinished();
    if (busy && showBusy)
        showBusy(false);
}

void setBusyDelayForTesting(int milliseconds)
{
    s_busyDelay = milliseconds < 0 ? DefaultBusyDelay : milliseconds;
}

} // namespace BusyWait
