#include "print/EnvelopeTextRect.h"

#include "platform/PrintInfo.h"

#include <QLocale>
#include <QRegularExpression>

namespace EnvelopeTextRect {

QString paperName(const PrintInfo &printInfo)
{
    // The name the envelope drawing looks the box up by, too.
    return printInfo.pageLayout().pageSize().name();
}

QSizeF paperSize(const PrintInfo &printInfo)
{
    return printInfo.pageLayout().fullRect(QPageLayout::Point).size();
}

QRectF defaultRect(const QSizeF &paper)
{
    const double width = paper.width() / 3;
    const double height = paper.height() / 5;
    return {(paper.width() - width) / 2, (paper.height() - height) / 2, width, height};
}

QString toString(const QRectF &rect)
{
    const auto number = [](double value) { return QString::number(value, 'g', QLocale::FloatingPointShortest); };
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(number(rect.x()), number(rect.y()), number(rect.width()), number(rect.height()));
}

std::optional<QRectF> fromString(const QString &text)
{
    static const QRegularExpression numberPattern(QStringLiteral("[-+]?(\\d+\\.?\\d*|\\.\\d+)([eE][-+]?\\d+)?"));
    double values[4] = {0, 0, 0, 0};
    int count = 0;
    for (auto it = numberPattern.globalMatch(text); it.hasNext() && count < 4;)
        values[count++] = it.next().captured().toDouble();
    if (count == 0)
        return std::nullopt;
    return QRectF(values[0], values[1], values[2], values[3]);
}

} // namespace EnvelopeTextRect
