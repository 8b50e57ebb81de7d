#include "print/TextObject.h"

#include "print/VerticalTextLayout.h"

#include <QPainter>

bool TextObject::isLeftRight() const
{
    return textDirection == TextDirectionName::LeftRight;
}

// Qt has no vertical fonts: vertical text is always set character by character.
QRectF TextObject::draw(QPainter &painter, const QRectF &rect) const
{
    painter.save();
    painter.setPen(Qt::black);
    if (!printVertical && isLeftRight())
        text.draw(painter, rect.topLeft());
    else if (!printVertical)
        VerticalTextLayout::drawTategaki4(painter, text, rect.topRight());
    else if (isLeftRight())
        VerticalTextLayout::drawStringInVertical(painter, text, rect.topLeft(), VerticalTextLayout::Lines);
    else
        VerticalTextLayout::drawStringInVertical(painter, text, rect.topRight(), VerticalTextLayout::Columns);
    painter.restore();
    return rect;
}

QSizeF TextObject::measure(const LabelText &text, bool printVertical, bool leftRight)
{
    if (!printVertical)
        return leftRight ? text.size() : text.size().transposed();
    // Lines cover the columns' extent turned over: one walk measures both.
    const QSizeF columns = VerticalTextLayout::layout(text, {}, VerticalTextLayout::Columns).size();
    return leftRight ? columns.transposed() : columns;
}
