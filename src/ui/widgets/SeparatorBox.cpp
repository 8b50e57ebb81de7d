#include "ui/widgets/SeparatorBox.h"

#include <QPainter>

#include <cmath>

SeparatorBox::SeparatorBox(QWidget *parent) : QWidget(parent)
{
    setFixedHeight(2);
}

void SeparatorBox::setBorderWidth(double width)
{
    m_borderWidth = width;
    setFixedHeight(qMax(1, int(std::ceil(width))));
    update();
}

void SeparatorBox::setBorderColor(const QColor &color)
{
    m_borderColor = color;
    update();
}

void SeparatorBox::setFillColor(const QColor &color)
{
    m_fillColor = color;
    update();
}

void SeparatorBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_fillColor);
    QPen pen(m_borderColor);
    pen.setWidthF(m_borderWidth);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void SeparatorBox::showEditing(bool editing)
{
    if (editing)
        setBorderWidth(2.0);
    const QColor colour = editing ? QColor(Qt::red) : QColor(Qt::gray);
    setBorderColor(colour);
    setFillColor(colour);
}
