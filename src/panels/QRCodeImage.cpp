#include "panels/QRCodeImage.h"

#include <algorithm>
#include <memory>

#include <qrencode.h>

namespace QRCodeImage {

QImage symbolFromString(const QString &payload)
{
    const QByteArray data = payload.toUtf8();
    if (data.isEmpty())
        return QImage();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(int(data.size()), reinterpret_cast<const unsigned char *>(data.constData()), 0,
                          QR_ECLEVEL_L),
        &QRcode_free);
    if (!code)
        return QImage();
    const int width = code->width;
    QImage symbol(width, width, QImage::Format_Grayscale8);
    for (int y = 0; y < width; ++y) {
        uchar *line = symbol.scanLine(y);
        for (int x = 0; x < width; ++x)
            line[x] = (code->data[y * width + x] & 1) ? 0 : 255;
    }
    return symbol;
}

int scaleForSymbolWidth(int width)
{
    if (width < 49)
        return 3;
    return width < 57 ? 4 : 5;
}

QImage framedSymbolFromString(const QString &payload)
{
    const QImage symbol = symbolFromString(payload);
    if (symbol.isNull())
        return QImage();
    const int width = symbol.width();
    QImage framed(width + 2, width + 2, QImage::Format_Grayscale8);
    framed.fill(Qt::white);
    for (int y = 0; y < width; ++y)
        std::copy_n(symbol.constScanLine(y), width, framed.scanLine(y + 1) + 1);
    return framed;
}

QImage codeImageFromFramedSymbol(const QImage &framed)
{
    if (framed.isNull())
        return QImage();
    const int side = framed.width() * scaleForSymbolWidth(framed.width() - 2);
    return imageResize(framed, QSize(side, side));
}

QImage createQRCodeFromString(const QString &payload)
{
    return codeImageFromFramedSymbol(framedSymbolFromString(payload));
}

int moduleSizeToFit(int modules, int side)
{
    if (modules <= 0)
        return 0;
    return std::min(scaleForSymbolWidth(modules - 2), side / modules);
}

QImage imageResize(const QImage &image, const QSize &newSize)
{
    if (image.isNull() || newSize.isEmpty())
        return QImage();
    return image.scaled(newSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace QRCodeImage
