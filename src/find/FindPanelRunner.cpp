#include "find/FindPanelRunner.h"

#include "platform/Dispatch.h"

#include <QFutureWatcher>

namespace {

// As long as other work runs before the program shows it is busy.
constexpr int ProgressDelay = 500;
constexpr int ProgressInterval = 100;

} // namespace

FindPanelRunner::FindPanelRunner(QObject *parent) : QObject(parent)
{
    connect(&m_progressTimer, &QTimer::timeout, this, &FindPanelRunner::reportProgress);
}

FindPanelRunner::~FindPanelRunner()
{
    stop();
}

void FindPanelRunner::start(quint64 generation, FindPanelSearch::Snapshot snapshot)
{
    stop();
    m_progress = std::make_shared<FindPanelSearch::Progress>();
    m_total = qsizetype(snapshot.texts.size());
    m_watcher = new QFutureWatcher<FindPanelSearch::Outcome>(this);
    connect(m_watcher, &QFutureWatcherBase::finished, this, [this, generation] {
        const FindPanelSearch::Outcome outcome = m_watcher->result();
        m_progressTimer.stop();
        m_watcher->deleteLater();
        m_watcher = nullptr;
        emit finished(generation, outcome);
    });
    // The task keeps the snapshot and the progress: it may end after this runner has.
    m_watcher->setFuture(Dispatch::runInBackground([snapshot = std::move(snapshot), progress = m_progress] {
        return FindPanelSearch::search(snapshot, progress.get());
    }));
    m_progressTimer.start(ProgressDelay);
}

void FindPanelRunner::stop()
{
    m_progressTimer.stop();
    if (!m_watcher)
        return;
    m_progress->stop.request_stop();
    m_watcher->disconnect(this);
    m_watcher->deleteLater();
    m_watcher = nullptr;
}

void FindPanelRunner::reportProgress()
{
    m_progressTimer.setInterval(ProgressInterval);
    emit progressed(qsizetype(m_progress->searched.load(std::memory_order_relaxed)), m_total);
}
