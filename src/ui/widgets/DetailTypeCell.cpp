#include "ui/widgets/DetailTypeCell.h"

#include <QPainter>

namespace {
constexpr int Margin = 4;
constexpr int IconSide = 16;
constexpr int IconGap = 6;
} // namespace

DetailTypeCell::DetailTypeCell(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void DetailTypeCell::setText(const QString &text)
{
    m_text = text;
    setToolTip(text);
    update();
}

void DetailTypeCell::setIcon(const QImage &icon)
{
    m_icon = icon;
    update();
}

void DetailTypeCell::setTextBand(int top, int height)
{
    m_textTop = top;
    m_textHeight = height;
    update();
}

void DetailTypeCell::paintEvent(QPaintEvent *)
{
    if (m_text.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    int x = Margin;
    if (!m_icon.isNull()) {
        const QRect iconRect(x, m_textTop + (m_textHeight - IconSide) / 2, IconSide, IconSide);
        painter.drawImage(iconRect, m_icon);
    }
    x += IconSide + IconGap;
    const QRect textRect(x, m_textTop, width() - x - Margin, m_textHeight);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::PlaceholderText).darker(140));
    const QString shown = painter.fontMetrics().elidedText(m_text, Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, shown);
}
