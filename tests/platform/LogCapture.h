#pragma once

#include "platform/Log.h"

#include <QMutex>
#include <QStringList>

// Collects what is written to the log while it lives, instead of printing it.
class LogCapture
{
public:
    LogCapture()
    {
        m_previous = Log::setHandler([this](const QString &message) {
            QMutexLocker lock(&m_mutex);
            m_lines.append(message);
        });
    }
    ~LogCapture() { Log::setHandler(m_previous); }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    QStringList lines() const
    {
        QMutexLocker lock(&m_mutex);
        return m_lines;
    }
    bool contains(const QString &text) const { return !lines().filter(text).isEmpty(); }

private:
    mutable QMutex m_mutex;
    QStringList m_lines;
    Log::Handler m_previous;
};
