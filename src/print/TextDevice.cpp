#include "print/TextDevice.h"

#include <QImage>

namespace TextDevice {

QPaintDevice *points()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        // 72 dots per inch; the device rounds it to 72 exactly.
        constexpr int DotsPerMeter = 2835;
        image.setDotsPerMeterX(DotsPerMeter);
        image.setDotsPerMeterY(DotsPerMeter);
        return image;
    }();
    return &device;
}

} // namespace TextDevice
