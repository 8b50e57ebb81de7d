#include "platform/BusySign.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {

constexpr int DefaultDelay = 500;

struct State
{
    std::function<void(bool)> handler;
    QElapsedTimer pass;
    int delay = DefaultDelay;
    bool shown = false;
    bool following = false;
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

// A new pass means the long work has given the loop back, whether or not it waited.
void passStarted()
{
    hideSign();
    state().pass.start();
}

void passEnded()
{
    hideSign();
    state().pass.invalidate();
}

} // namespace

namespace BusySign {

void setHandler(std::function<void(bool busy)> handler)
{
    hideSign();
    State &s = state();
    s.handler = std::move(handler);
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(qApp ? qApp->thread() : nullptr);
    if (s.following || !dispatcher)
        return;
    s.following = true;
    QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, passStarted);
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, passEnded);
    s.pass.start();
}

void tick()
{
    if (!qApp || QThread::currentThread() != qApp->thread())
        return;
    State &s = state();
    if (s.shown || !s.handler || !s.pass.isValid())
        return;
    if (s.pass.elapsed() < s.delay)
        return;
    s.shown = true;
    s.handler(true);
}

void setDelayForTesting(int milliseconds)
{
    state().delay = milliseconds < 0 ? DefaultDelay : milliseconds;
}

} // namespace BusySign
