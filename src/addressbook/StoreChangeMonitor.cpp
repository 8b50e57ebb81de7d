#include "addressbook/StoreChangeMonitor.h"

#include "platform/Dispatch.h"

namespace {

const QString OriginationExternallyKey = QStringLiteral("CNNotificationOriginationExternally");

} // namespace

StoreChangeMonitor::StoreChangeMonitor(std::function<void()> ask, QObject *parent)
    : QObject(parent), m_ask(std::move(ask))
{
    setScheduler({});
}

void StoreChangeMonitor::setScheduler(Scheduler scheduler)
{
    if (scheduler) {
        m_scheduler = std::move(scheduler);
        return;
    }
    m_scheduler = [this](int milliseconds, std::function<void()> fn) {
        Dispatch::runAfter(milliseconds, this, std::move(fn));
    };
}

void StoreChangeMonitor::setIsChangedAlertShowing(bool showing)
{
    m_alertShowing = showing;
    if (!showing)
        endQuietTime();
}

void StoreChangeMonitor::saveWillStart()
{
    m_quiet = true;
    ++m_quietTime;
}

void StoreChangeMonitor::saveDidFinish()
{
    const quint64 quietTime = m_quietTime;
    m_scheduler(QuietTime, [this, quietTime] {
        if (quietTime == m_quietTime)
            endQuietTime();
    });
}

void StoreChangeMonitor::saveWasRefused()
{
    endQuietTime();
}

void StoreChangeMonitor::endQuietTime()
{
    m_quiet = false;
    ++m_quietTime;
    // Asked from the event loop, after whatever ended the quiet time has finished.
    if (m_missedChange)
        m_scheduler(0, [this] { askAboutMissedChange(); });
}

void StoreChangeMonitor::askAboutMissedChange()
{
    if (m_missedChange && !isChangedAlertShowing())
        ask();
}

void StoreChangeMonitor::handleContactStoreChanged(const QVariantMap &userInfo)
{
    if (userInfo.value(OriginationExternallyKey).toInt() == 0 || m_alertShowing)
        return;
    if (m_quiet) {
        m_missedChange = true;
        return;
    }
    ask();
}

void StoreChangeMonitor::ask()
{
    // The one question covers every change so far.
    m_missedChange = false;
    m_alertShowing = true;
    if (m_ask)
        m_ask();
    m_alertShowing = false;
}
