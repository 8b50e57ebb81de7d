#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The QR code of a payload as the sheet copies it, and shows it where its image area has room.
//
// The payload's UTF-8 bytes are encoded in 8-bit mode (nothing is upper-cased, any script
// passes) at error-correction level L. The symbol, w modules wide, gets a quiet zone of one white
// module on every side and is scaled without smoothing by 3 (w < 49), 4 (w < 57) or 5, so the
// image is (w + 2) x scale pixels square: 81 for w = 25, 220 for 53, 295 for 57, 895 for 177,
// every module a whole number of pixels. A smaller image area shows it with fewer pixels per module.
namespace QRCodeImage {

// One pixel per module, black on white, without a quiet zone; a null image when the payload is
// empty or too long for any symbol.
QImage symbolFromString(const QString &payload);
int scaleForSymbolWidth(int width);
// The symbol with its quiet zone, one pixel per module; null when there is no symbol.
QImage framedSymbolFromString(const QString &payload);
// The framed symbol scaled by its symbol width's scale; null for a null image.
QImage codeImageFromFramedSymbol(const QImage &framed);
// The whole code image: quiet zone added and scaled; null when there is no symbol.
QImage createQRCodeFromString(const QString &payload);
// The pixels per module at which a framed symbol `modules` wide fits in `side` pixels: its own
// scale when there is room, else the largest whole number that fits; 0 when not even one does.
int moduleSizeToFit(int modules, int side);
// The image stretched to the new size with nearest-neighbour sampling; null for a null image or
// an empty size.
QImage imageResize(const QImage &image, const QSize &newSize);

} // namespace QRCodeImage
