#pragma once

#include <QImage>
#include <QSize>

// Scales a picture on the background pool while the caller waits a bounded time, so that a huge
// picture cannot hang the window. The worker keeps its own result; a caller that stopped waiting
// never sees a half-drawn image and nothing is written into its memory later.
class ImageResizer
{
public:
    static constexpr int WaitMilliseconds = 2000;

    // target becomes source drawn at newSize (smooth scaling) when source is valid and the work
    // ends within the wait; otherwise target is left as it was and the answer is false.
    static bool imageResize(const QImage &source, QImage &target, const QSize &newSize,
                            int waitMilliseconds = WaitMilliseconds);
};
