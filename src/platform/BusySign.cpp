#include "platform/BusySign.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {

constexpr int DefaultDelay = 500;

struct State
{
    std::function<void(bool)> handler;
    // Since the first tick of the work the event loop has not yet taken back.
    QElapsedTimer work;
    int delay = DefaultDelay;
    bool shown = false;
};

State &state()
{
    static State s;
    return s;
}

void hideSign()
{
    State &s = state();
    if (!s.shown)
        return;
    s.shown = false;
    if (s.handler)
        s.handler(false);
}

// Posted by the work's first tick: it runs once the event loop has control again.
void workEnded()
{
    hideSign();
    state().work.invalidate();
}

} // namespace

namespace BusySign {

void setHandler(std::function<void(bool busy)> handler)
{
    hideSign();
    state().handler = std::move(handler);
}

void tick()
{
    if (!qApp || QThread::currentThread() != qApp->thread())
        return;
    State &s = state();
    if (!s.handler)
        return;
    if (!s.work.isValid()) {
        s.work.start();
        QMetaObject::invokeMethod(qApp, &workEnded, Qt::QueuedConnection);
        return;
    }
    if (s.shown || s.work.elapsed() < s.delay)
        return;
    s.shown = true;
    s.handler(true);
}

void setDelayForTesting(int milliseconds)
{
    state().delay = milliseconds < 0 ? DefaultDelay : milliseconds;
}

} // namespace BusySign
