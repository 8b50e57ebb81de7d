#include "ui/widgets/DetailTextCell.h"

#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace {
constexpr double Margin = 4.0;
} // namespace

DetailTextCell::DetailTextCell(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void DetailTextCell::setText(const QString &text)
{
    m_text = text;
    update();
}

void DetailTextCell::setPlaceholderText(const QString &placeholder)
{
    m_placeholder = placeholder;
    update();
}

void DetailTextCell::setMarks(const QList<DetailFindMarks::Mark> &marks)
{
    m_marks = marks;
    update();
}

void DetailTextCell::setLineLayout(double rowHeight, int rowLines)
{
    m_rowHeight = rowHeight;
    m_rowLines = std::max(rowLines, 1);
    update();
}

int DetailTextCell::textTop() const
{
    const auto lines = std::max<qsizetype>(m_text.split(QLatin1Char('\n')).size(), 1);
    return int(std::floor((m_rowLines * m_rowHeight - lines * m_rowHeight) * 0.5));
}

void DetailTextCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setFont(font());
    const double width = this->width() - 2 * Margin;
    if (m_text.isEmpty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(QRectF(Margin, textTop(), width, m_rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         m_placeholder);
        return;
    }
    painter.setPen(palette().color(QPalette::Text));
    const QStringList lines = m_text.split(QLatin1Char('\n'));
    qsizetype offset = 0;
    double top = textTop();
    for (const QString &line : lines) {
        drawLine(painter, line, offset, QRectF(Margin, top, width, m_rowHeight));
        offset += line.size() + 1;
        top += m_rowHeight;
    }
}

void DetailTextCell::drawLine(QPainter &painter, const QString &line, qsizetype offset,
                              const QRectF &band) const
{
    QList<QTextLayout::FormatRange> formats;
    for (const DetailFindMarks::Mark &mark : m_marks) {
        const qsizetype start = std::max(mark.start, offset);
        const qsizetype end = std::min(mark.start + mark.length, offset + line.size());
        if (end <= start)
            continue;
        QTextLayout::FormatRange range;
        range.start = int(start - offset);
        range.length = int(end - start);
        range.format.setBackground(mark.color);
        formats.append(range);
    }
    QTextLayout layout(line, font());
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine textLine = layout.createLine();
    if (textLine.isValid())
        textLine.setLineWidth(1e6);
    layout.endLayout();
    if (!textLine.isValid())
        return;
    const double y = band.top() + (band.height() - textLine.height()) / 2.0;
    painter.save();
    painter.setClipRect(band.adjusted(0, 0, Margin, 0));
    layout.draw(&painter, QPointF(band.left(), y));
    painter.restore();
}
