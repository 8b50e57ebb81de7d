#include "platform/widgets/Sheet.h"

#include <QList>
#include <QPointer>

#include <utility>

namespace {
QList<int> s_nextModalResponses;
} // namespace

Sheet::Sheet(QWidget *parent) : QDialog(parent) {}

void Sheet::beginSheetModalForWindow(QWidget *window, std::function<void(int)> completion)
{
    if (m_sheetOpen || m_runningModal)
        return;
    if (window && parentWidget() != window)
        setParent(window, windowFlags());
    m_completion = std::move(completion);
    m_sheetOpen = true;
    setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    show();
}

void Sheet::endSheet(int returnCode)
{
    if (m_sheetOpen)
        done(returnCode);
}

int Sheet::runModal()
{
    if (!s_nextModalResponses.isEmpty())
        return s_nextModalResponses.takeFirst();
    if (m_sheetOpen || m_runningModal)
        return Rejected;
    if (m_pendingStop)
        return *std::exchange(m_pendingStop, std::nullopt);
    setWindowModality(Qt::ApplicationModal);
    QPointer<Sheet> self(this);
    m_runningModal = true;
    const int code = exec();
    if (self)
        m_runningModal = false;
    return code;
}

void Sheet::stopModalWithCode(int code)
{
    if (m_runningModal)
        done(code);
}

quint64 Sheet::beginModalSession()
{
    m_pendingStop.reset();
    return ++m_sessionToken;
}

void Sheet::stopModalWithCode(int code, quint64 sessionToken)
{
    if (sessionToken != m_sessionToken)
        return;
    if (m_runningModal)
        done(code);
    else
        m_pendingStop = code;
}

void Sheet::done(int code)
{
    QDialog::done(code);
    if (!std::exchange(m_sheetOpen, false))
        return;
    // The completion may delete this sheet, so nothing of it is touched afterwards.
    const auto completion = std::exchange(m_completion, {});
    emit sheetEnded(code);
    if (completion)
        completion(code);
}

void Sheet::setNextModalResponse(int code)
{
    s_nextModalResponses.append(code);
}

void Sheet::resetTestState()
{
    s_nextModalResponses.clear();
}
