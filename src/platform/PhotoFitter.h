#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

// The one photo fitter of the program: every picture the user gives a contact or a custom item
// (chosen, dropped or pasted) is drawn into 512 by 512 here before it is kept.
//
// The fitting that the photo wells do runs on the background pool while the main thread waits at
// most two seconds. The worker draws into an image of its own and hands over only the finished
// one; a late result is dropped, never half read.
class PhotoFitter
{
public:
    static constexpr int MaximumSide = 512;
    static constexpr int WaitMilliseconds = 2000;

    // The size a picture of that size is drawn at: unchanged within 512 by 512, else 512 on its
    // longer side (a square becomes 512 by 512).
    static QSize fittedSize(const QSize &size);
    // Draws source into target at newSize with smooth scaling; false, target untouched, for a null
    // source or an empty size.
    static bool imageResize(const QImage &source, QImage &target, const QSize &newSize);
    // The picture at its fitted size (the picture itself when it fits), drawn on the calling
    // thread; a null image for a null one.
    static QImage fitted(const QImage &image);

    // fitted() on the pool; nullopt when it did not finish in time or for a null image.
    static std::optional<QImage> fitOnWorker(const QImage &image);
    // What a dropped picture becomes: fitted on the pool, or the picture itself when it fits
    // already or the fitting came too late (the record fits it again when it stores it).
    static QImage smallerImage(const QImage &image);
    // Reads the file and fits it on the pool; nullopt when it is no picture or came too late.
    static std::optional<QImage> loadAndFitOnWorker(const QString &path);

    // Test hooks: the wait (a negative value restores two seconds), and a function every worker
    // runs before it starts drawing (empty for none).
    static void setWaitMillisecondsForTesting(int milliseconds);
    static void setWorkerHookForTesting(std::function<void()> hook);

private:
    static std::optional<QImage> runAndWait(std::function<QImage()> work);
};
