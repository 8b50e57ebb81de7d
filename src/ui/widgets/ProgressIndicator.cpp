#include "ui/widgets/ProgressIndicator.h"

#include <QBackingStore>
#include <QPainter>
#include <QWindow>

namespace {
constexpr int SpokeCount = 12;
} // namespace

ProgressIndicator::ProgressIndicator(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer.setInterval(80);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % SpokeCount;
        update();
    });
}

void ProgressIndicator::startAnimation()
{
    if (m_timer.isActive())
        return;
    m_timer.start();
    update();
    emit animatingChanged(true);
}

void ProgressIndicator::stopAnimation()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    update();
    emit animatingChanged(false);
}

// A repaint() would sync the whole window: everything beneath the wheel, and every widget with an
// update pending, would be drawn too.
void ProgressIndicator::paintNow()
{
    QWidget *top = window();
    QBackingStore *store = top->backingStore();
    QWindow *handle = top->windowHandle();
    if (!isVisible() || !store || !handle || !handle->isExposed())
        return;
    const QRect frame(mapTo(top, QPoint()), size());
    store->beginPaint(frame);
    render(store->paintDevice(), frame.topLeft(), QRegion(), DrawChildren);
    store->endPaint();
    store->flush(frame, handle);
}

QSize ProgressIndicator::sizeHint() const
{
    return {32, 32};
}

void ProgressIndicator::paintEvent(QPaintEvent *)
{
    if (!isAnimating())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double side = qMin(width(), height());
    painter.translate(width() / 2.0, height() / 2.0);
    QColor color = palette().color(QPalette::WindowText);
    for (int i = 0; i < SpokeCount; ++i) {
        // The spoke at the current step is darkest; the ones behind it fade out.
        color.setAlphaF(1.0 - double((m_step - i + SpokeCount) % SpokeCount) / SpokeCount);
        QPen pen(color, side / 12.0, Qt::SolidLine, Qt::RoundCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(0, side * 0.22), QPointF(0, side * 0.45));
        painter.rotate(360.0 / SpokeCount);
    }
}
