#include "platform/Semaphore.h"

#include <algorithm>
#include <limits>

Semaphore::Semaphore(int value) : m_semaphore(value) {}

void Semaphore::signal()
{
    m_semaphore.release();
}

bool Semaphore::wait(QDeadlineTimer deadline)
{
    if (deadline.isForever()) {
        m_semaphore.acquire();
        return true;
    }
    // tryAcquire takes an int of milliseconds; a far deadline is waited for in steps.
    for (;;) {
        const qint64 remaining = deadline.remainingTime();
        const int step = int(std::min<qint64>(remaining, std::numeric_limits<int>::max()));
        if (m_semaphore.tryAcquire(1, step))
            return true;
        if (step == remaining)
            return false;
    }
}
