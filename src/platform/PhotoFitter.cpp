#include "platform/PhotoFitter.h"

#include "platform/Dispatch.h"
#include "platform/Semaphore.h"

#include <QMutex>
#include <QPainter>

#include <atomic>
#include <cmath>
#include <memory>

namespace {

std::atomic<int> s_waitMilliseconds{PhotoFitter::WaitMilliseconds};

QMutex s_hookMutex;
std::function<void()> s_workerHook;

// What the worker and the waiting caller share; the worker holds it too, so a result that comes
// after the caller has given up lands in memory that is still its own.
struct Handover
{
    Semaphore finished;
    QMutex mutex;
    QImage result;
};

std::function<void()> workerHook()
{
    QMutexLocker lock(&s_hookMutex);
    return s_workerHook;
}

} // namespace

QSize PhotoFitter::fittedSize(const QSize &size)
{
    const double w = size.width();
    const double h = size.height();
    if (w <= MaximumSide && h <= MaximumSide)
        return size;
    if (w > h)
        return QSize(MaximumSide, std::max(1, int(std::lround(h / w * MaximumSide))));
    return QSize(std::max(1, int(std::lround(w / h * MaximumSide))), MaximumSide);
}

bool PhotoFitter::imageResize(const QImage &source, QImage &target, const QSize &newSize)
{
    if (source.isNull() || newSize.isEmpty())
        return false;
    QImage drawn(newSize, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QRect(QPoint(0, 0), newSize), source);
    painter.end();
    target = drawn;
    return true;
}

QImage PhotoFitter::fitted(const QImage &image)
{
    const QSize target = fittedSize(image.size());
    QImage drawn;
    if (image.isNull() || target == image.size() || !imageResize(image, drawn, target))
        return image;
    return drawn;
}

std::optional<QImage> PhotoFitter::fitOnWorker(const QImage &image)
{
    if (image.isNull())
        return std::nullopt;
    return runAndWait([image] { return fitted(image); });
}

QImage PhotoFitter::smallerImage(const QImage &image)
{
    if (image.isNull() || fittedSize(image.size()) == image.size())
        return image;
    return fitOnWorker(image).value_or(image);
}

std::optional<QImage> PhotoFitter::loadAndFitOnWorker(const QString &path)
{
    return runAndWait([path] { return fitted(QImage(path)); });
}

std::optional<QImage> PhotoFitter::runAndWait(std::function<QImage()> work)
{
    auto handover = std::make_shared<Handover>();
    const std::function<void()> hook = workerHook();
    Dispatch::runInBackground([handover, hook, work = std::move(work)] {
        if (hook)
            hook();
        const QImage result = work();
        {
            QMutexLocker lock(&handover->mutex);
            handover->result = result;
        }
        handover->finished.signal();
    });
    if (!handover->finished.wait(QDeadlineTimer(s_waitMilliseconds.load())))
        return std::nullopt;
    QMutexLocker lock(&handover->mutex);
    if (handover->result.isNull())
        return std::nullopt;
    return handover->result;
}

void PhotoFitter::setWaitMillisecondsForTesting(int milliseconds)
{
    s_waitMilliseconds = milliseconds < 0 ? WaitMilliseconds : milliseconds;
}

void PhotoFitter::setWorkerHookForTesting(std::function<void()> hook)
{
    QMutexLocker lock(&s_hookMutex);
    s_workerHook = std::move(hook);
}
