#include "platform/BusySign.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

namespace {

constexpr int DefaultDelay = 500;

struct State
{
    std::function<void(bool)> handler;
    // Since the first tick of the work the event loop has not yet taken back.
    QElapsedTimer work;
    int delay = DefaultDelay;
    bool shown = false;
    int holds = 0;
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

void showSignWhenDue()
{
    State &s = state();
    if (s.shown || !s.handler || !s.work.isValid() || s.work.elapsed() < s.delay)
        return;
    s.shown = true;
    s.handler(true);
}

// Posted by the work's first tick and by the end of the last hold: it runs once the event loop
// has control again. The event loops of a held work's waits run it too, and are not its end.
void workEnded()
{
    if (state().holds > 0)
        return;
    hideSign();
    state().work.invalidate();
}

void startWork()
{
    State &s = state();
    if (s.work.isValid())
        return;
    s.work.start();
    QMetaObject::invokeMethod(qApp, &workEnded, Qt::QueuedConnection);
}

bool isMainThread()
{
    return qApp && QThread::currentThread() == qApp->thread();
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
    if (!isMainThread() || !state().handler)
        return;
    if (!state().work.isValid()) {
        startWork();
        return;
    }
    showSignWhenDue();
}

Hold::Hold()
{
    if (!isMainThread())
        return;
    State &s = state();
    ++s.holds;
    startWork();
    // While the work waits in an event loop, no tick comes.
    const int remaining = s.delay - int(qMin<qint64>(s.work.elapsed(), s.delay));
    QTimer::singleShot(remaining, qApp, [] {
        if (state().holds > 0)
            showSignWhenDue();
    });
}

Hold::~Hold()
{
    if (!isMainThread())
        return;
    if (--state().holds == 0)
        QMetaObject::invokeMethod(qApp, &workEnded, Qt::QueuedConnection);
}

bool isHeld()
{
    return state().holds > 0;
}

void setDelayForTesting(int milliseconds)
{
    state().delay = milliseconds < 0 ? DefaultDelay : milliseconds;
}

} // namespace BusySign
