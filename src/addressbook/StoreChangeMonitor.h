#pragma once

#include <QObject>
#include <QVariantMap>

#include <functional>

// Decides what a change of the contacts store means for the address book on screen. A change made
// by another program asks whether to discard the address book and read the store again, or to
// ignore the change. Our own saves ask nothing: the quiet time runs from the start of a save until
// 3 seconds after the reload that follows it. Another program's change within it is asked about
// when it ends, not dropped. While the question is on screen further changes are not asked about:
// its answer covers them. The UI asks the question, and discards the address book if so answered.
class StoreChangeMonitor : public QObject
{
    Q_OBJECT

public:
    static constexpr int QuietTime = 3000;
    // Runs fn on the main thread after the delay.
    using Scheduler = std::function<void(int milliseconds, std::function<void()> fn)>;

    // ask puts the question and acts on the answer before it returns.
    explicit StoreChangeMonitor(std::function<void()> ask, QObject *parent = nullptr);

    // Test hook: what times the end of the quiet time (a timer of the event loop by default).
    void setScheduler(Scheduler scheduler);

    // True while the question is on screen and during the quiet time of a save.
    bool isChangedAlertShowing() const { return m_alertShowing || m_quiet; }
    // False also ends a quiet time.
    void setIsChangedAlertShowing(bool showing);

    void saveWillStart();
    // The reload after the save is done: the quiet time ends 3 seconds from now.
    void saveDidFinish();
    // Nothing was written, so nothing is left to keep quiet about.
    void saveWasRefused();

    // userInfo: "CNNotificationOriginationExternally" 1 for another program's change; none for a
    // change of the default account, which asks nothing.
    void handleContactStoreChanged(const QVariantMap &userInfo);

private:
    void endQuietTime();
    void askAboutMissedChange();
    void ask();

    std::function<void()> m_ask;
    Scheduler m_scheduler;
    bool m_alertShowing = false;
    bool m_quiet = false;
    // Another program changed the store during the quiet time.
    bool m_missedChange = false;
    // A later save's quiet time is not ended by the timer of an earlier one.
    quint64 m_quietTime = 0;
};
