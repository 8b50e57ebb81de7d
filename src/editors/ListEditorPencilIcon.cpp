#include "editors/ListEditorPencilIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ListEditorPencilIcon {

namespace {

constexpr int Size = 32;

// A pencil lying from the lower left to the upper right, drawn in a 32 by 32 square.
void drawPencil(QPainter &painter, const QColor &colour)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(Size / 2.0, Size / 2.0);
    painter.rotate(-45);
    const qreal length = 26;
    const qreal width = 7;
    const qreal tip = 7;
    QPainterPath body;
    body.addRect(QRectF(-length / 2 + tip, -width / 2, length - tip - 3, width));
    QPainterPath point;
    point.moveTo(-length / 2, 0);
    point.lineTo(-length / 2 + tip, -width / 2);
    point.lineTo(-length / 2 + tip, width / 2);
    point.closeSubpath();
    QPainterPath eraser;
    eraser.addRoundedRect(QRectF(length / 2 - 2.5, -width / 2, 2.5, width), 1, 1);
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(body);
    painter.setBrush(colour);
    painter.drawPath(point);
    painter.drawPath(eraser);
}

} // namespace

QIcon icon(const QColor &colour)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    drawPencil(painter, colour);
    painter.end();
    return QIcon(pixmap);
}

} // namespace ListEditorPencilIcon
