#pragma once

#include "importexport/ProgressAlert.h"
#include "platform/Dispatch.h"

#include <QFuture>
#include <QMutex>
#include <QString>

#include <atomic>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

// What the work sees of its run: whether the user cancelled, and a place to report progress.
class BackgroundProgress
{
public:
    BackgroundProgress(const std::atomic<bool> &cancelled, ProgressAlert::Reporter &reporter)
        : m_cancelled(cancelled), m_reporter(reporter)
    {
    }
    bool isCancelled() const { return m_cancelled.load(); }
    // 0 to 100.
    void setProgress(double percent) { m_reporter.setProgress(percent); }

private:
    const std::atomic<bool> &m_cancelled;
    ProgressAlert::Reporter &m_reporter;
};

// Runs work(BackgroundProgress &) on the background pool while the progress window shows message.
// Returns the work's result, or nothing when the user cancelled: the work is then told so and its
// result, whenever it comes, is dropped.
template <typename Work>
auto runInBackgroundWithProgress(ProgressAlert &alert, const QString &message, Work work)
    -> std::optional<std::invoke_result_t<Work &, BackgroundProgress &>>
{
    using Result = std::invoke_result_t<Work &, BackgroundProgress &>;
    struct Job
    {
        QMutex mutex;
        std::optional<Result> result;
        std::atomic<bool> cancelled{false};
    };
    auto job = std::make_shared<Job>();
    ProgressAlert::Reporter reporter = alert.beginRun(message);
    QFuture<void> future = Dispatch::runInBackground([job, reporter, work = std::move(work)]() mutable {
        BackgroundProgress progress(job->cancelled, reporter);
        Result result = work(progress);
        {
            const QMutexLocker lock(&job->mutex);
            job->result = std::move(result);
        }
        reporter.requestClose();
    });
    if (alert.runModal() != ProgressAlert::Stop) {
        job->cancelled.store(true);
        return std::nullopt;
    }
    // The close is posted after the result is stored, but a test may end the run without the job.
    future.waitForFinished();
    const QMutexLocker lock(&job->mutex);
    return std::move(job->result);
}
