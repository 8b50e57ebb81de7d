#include "addressbook/ImageResizer.h"

#include "platform/Dispatch.h"
#include "platform/Semaphore.h"

#include <memory>

namespace {

// Shared by the waiting caller and the worker; whichever finishes last frees it.
struct ResizeJob
{
    QImage result;
    Semaphore done;
};

} // namespace

bool ImageResizer::imageResize(const QImage &source, QImage &target, const QSize &newSize,
                               int waitMilliseconds)
{
    if (source.isNull() || newSize.isEmpty())
        return false;
    auto job = std::make_shared<ResizeJob>();
    Dispatch::runInBackground([job, source, newSize] {
        job->result = source.scaled(newSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        job->done.signal();
    });
    if (!job->done.wait(QDeadlineTimer(waitMilliseconds)))
        return false;
    target = job->result;
    return !target.isNull();
}
