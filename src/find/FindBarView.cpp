#include "find/FindBarView.h"

#include <QPainter>
#include <QPalette>

FindBarView::FindBarView(QWidget *parent) : QWidget(parent) {}

void FindBarView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(QPen(Qt::lightGray, 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect());
}
