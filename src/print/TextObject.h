#pragma once

#include "print/LabelText.h"

#include <QRectF>
#include <QString>

class QPainter;

// One fitted block of a label or an envelope and how it is set: horizontally, turned a quarter, or
// in vertical Japanese layout.
struct TextObject
{
    LabelText text;
    bool printVertical = false;
    // "Left-Right", or top to bottom for anything else (normally "Up-Down").
    QString textDirection;
    // The envelope's text box on the paper; unused by labels.
    QRectF rect;

    bool isLeftRight() const;
    // Draws the block in the rectangle; the rectangle.
    QRectF draw(QPainter &painter, const QRectF &rect) const;
    // The size the block covers when drawn: width and height on the page.
    static QSizeF measure(const LabelText &text, bool printVertical, bool leftRight);
};

namespace TextDirectionName {
inline const QString LeftRight = QStringLiteral("Left-Right");
inline const QString UpDown = QStringLiteral("Up-Down");
} // namespace TextDirectionName
