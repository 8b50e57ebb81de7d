#include "print/LabelText.h"

#include "print/TextDevice.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

LabelText LabelText::make(const QString &text, const QString &family, double pointSize, bool vertical)
{
    LabelText label;
    label.text = text;
    label.font = QFont(family);
    label.font.setPointSizeF(pointSize);
    const QFontMetricsF metrics(label.font, TextDevice::points());
    label.lineHeight = vertical ? pointSize * (1 + VerticalLineGap) : metrics.ascent() + metrics.descent();
    return label;
}

QSizeF LabelText::size() const
{
    if (text.isEmpty())
        return {};
    const QStringList lines = text.split(QLatin1Char('\n'));
    double width = 0;
    for (const QString &line : lines)
        width = std::max(width, advance(line, font));
    return {width, lines.size() * lineHeight};
}

void LabelText::draw(QPainter &painter, const QPointF &topLeft) const
{
    const double ascent = QFontMetricsF(font, TextDevice::points()).ascent();
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i)
        drawRun(painter, topLeft + QPointF(0, i * lineHeight + ascent), lines[i], font);
}

namespace {

// A laid-out run in points: the text layout keeps the font's size in points whatever device the
// painter draws on, and falls back to other fonts for characters the font lacks.
void layOut(QTextLayout &layout)
{
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(1e6);
    layout.endLayout();
}

} // namespace

void LabelText::drawRun(QPainter &painter, const QPointF &origin, const QString &run, const QFont &font)
{
    if (run.isEmpty())
        return;
    QTextLayout layout(run, QFont(font, TextDevice::points()), TextDevice::points());
    layOut(layout);
    const QTextLine line = layout.lineAt(0);
    layout.draw(&painter, origin - QPointF(0, line.ascent()));
}

double LabelText::advance(const QString &run, const QFont &font)
{
    if (run.isEmpty())
        return 0;
    QTextLayout layout(run, QFont(font, TextDevice::points()), TextDevice::points());
    layOut(layout);
    return layout.lineAt(0).naturalTextWidth();
}
