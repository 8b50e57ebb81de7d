#pragma once

#include "find/FindPanelSearch.h"

#include <QObject>
#include <QTimer>

#include <memory>

template <typename T> class QFutureWatcher;

// Runs the find window's searches on the pool, one at a time. A new search, stop() and the
// runner's end tell the search under way to stop (it looks between texts, and one text's time
// limit bounds the wait) and drop its hand-over. A search that runs past half a second reports
// how far it has come every tenth of a second.
class FindPanelRunner : public QObject
{
    Q_OBJECT

public:
    explicit FindPanelRunner(QObject *parent = nullptr);
    ~FindPanelRunner() override;

    void start(quint64 generation, FindPanelSearch::Snapshot snapshot);
    void stop();
    bool isRunning() const { return m_watcher != nullptr; }

signals:
    // Texts searched so far and in all; only for a search that runs long.
    void progressed(qsizetype searched, qsizetype total);
    void finished(quint64 generation, const FindPanelSearch::Outcome &outcome);

private:
    void reportProgress();

    std::shared_ptr<FindPanelSearch::Progress> m_progress;
    QFutureWatcher<FindPanelSearch::Outcome> *m_watcher = nullptr;
    qsizetype m_total = 0;
    QTimer m_progressTimer;
};
