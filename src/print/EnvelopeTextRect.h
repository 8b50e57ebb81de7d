#pragma once

#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>

class PrintInfo;

// The box of an envelope's address text, kept per paper in the envelope options' "textRectDict":
// the paper's name to "{{x, y}, {width, height}}" in points from the paper's top-left corner.
namespace EnvelopeTextRect {

// The name the box of the print info's paper is stored under.
QString paperName(const PrintInfo &printInfo);
// The paper's size in points, turned as it is printed.
QSizeF paperSize(const PrintInfo &printInfo);
// A third of the paper's width by a fifth of its height, centred.
QRectF defaultRect(const QSizeF &paper);

QString toString(const QRectF &rect);
// Missing numbers read as 0; nothing when the text holds no number at all.
std::optional<QRectF> fromString(const QString &text);

} // namespace EnvelopeTextRect
