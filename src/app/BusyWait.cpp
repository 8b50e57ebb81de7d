#include "app/BusyWait.h"

#include "platform/BusySign.h"
#include "platform/Dispatch.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QPointer>
#include <QTimer>

namespace {

constexpr int DefaultBusyDelay = 500;
int s_busyDelay = DefaultBusyDelay;
int s_running = 0;

struct Waiting
{
    QPointer<QObject> context;
    std::function<void()> then;
};
QList<Waiting> s_waiting;

void postWaiting()
{
    for (Waiting &waiting : std::exchange(s_waiting, {})) {
        if (waiting.context)
            QTimer::singleShot(0, waiting.context, std::move(waiting.then));
    }
}

} // namespace

namespace BusyWait {

Hold::Hold()
{
    ++s_running;
}

Hold::~Hold()
{
    if (--s_running == 0)
        postWaiting();
}

bool isRunning()
{
    return s_running > 0;
}

void whenIdle(QObject *context, std::function<void()> then)
{
    s_waiting.append({context, std::move(then)});
    if (!isRunning())
        postWaiting();
}

void run(const std::function<void()> &work, const std::function<void(bool busy)> &showBusy)
{
    const Hold hold;
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
    // A held busy sign already stands for this wait; a spinner of the wait's own would go with it
    // and leave a gap in the sign.
    if (!BusySign::isHeld())
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
