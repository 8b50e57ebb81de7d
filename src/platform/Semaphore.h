#pragma once

#include <QDeadlineTimer>
#include <QSemaphore>

// A counting semaphore whose wait ends at an absolute deadline, so that several waits in turn can
// share one deadline.
class Semaphore
{
public:
    explicit Semaphore(int value = 0);

    void signal();
    // True when acquired before the deadline; QDeadlineTimer::Forever waits as long as it takes.
    bool wait(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));

private:
    QSemaphore m_semaphore;
};
