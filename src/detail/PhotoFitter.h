#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

// Fits pictures into 512 by 512 on the background pool while the main thread waits at most two
// seconds. The worker draws into an image of its own and hands over only the finished one; a
// late result is dropped, never half read.
class PhotoFitter
{
public:
    static constexpr int MaximumSide = 512;
    static constexpr int WaitMilliseconds = 2000;

    // The size a picture of that size is drawn at: unchanged within 512 by 512, else 512 on its
    // longer side.
    static QSize fittedSize(const QSize &size);
    // Draws the picture at its fitted size (the picture itself when it fits); a null image for a
    // null one.
    static QImage fitted(const QImage &image);

    // fitted() on the pool; nullopt when it did not finish in time or for a null image.
    static std::optional<QImage> fitOnWorker(const QImage &image);
    // Reads the file and fits it on the pool; nullopt when it is no picture or came too late.
    static std::optional<QImage> loadAndFitOnWorker(const QString &path);

    // Test hooks: the wait (a negative value restores two seconds), and a function every worker
    // runs before it starts drawing (empty for none).
    static void setWaitMillisecondsForTesting(int milliseconds);
    static void setWorkerHookForTesting(std::function<void()> hook);

private:
    static std::optional<QImage> runAndWait(std::function<QImage()> work);
};
