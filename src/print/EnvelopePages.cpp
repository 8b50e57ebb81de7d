#include "print/EnvelopePages.h"

#include "print/AddressBlockText.h"
#include "print/LabelFitting.h"
#include "print/OptionValue.h"
#include "print/PrintKeys.h"
#include "print/PrintOptionsDict.h"

#include <QPageSize>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace PrintKey;

std::optional<QRectF> rectFromString(const QString &text)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*\{\s*\{\s*([-+.\deE]+)\s*,\s*([-+.\deE]+)\s*\}\s*,\s*\{\s*([-+.\deE]+)\s*,\s*([-+.\deE]+)\s*\}\s*\}\s*$)"));
    const auto match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    double values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = match.captured(i + 1).toDouble(&ok);
        if (!ok || !std::isfinite(values[i]))
            return std::nullopt;
    }
    return QRectF(values[0], values[1], values[2], values[3]);
}

EnvelopePages::EnvelopePages(const QVariantMap &options, const QString &fontName, const PageGeometry &paper,
                             const QString &paperName)
    : m_envelopeOptions(options.value(EnvelopeOptions).toMap()), m_fontName(fontName), m_paper(paper),
      m_paperName(paperName), m_leftMargin(OptionValue::toDouble(options.value(LeftMargin))),
      m_topMargin(OptionValue::toDouble(options.value(TopMargin)))
{
}

QString EnvelopePages::paperName(const QPageSize &pageSize)
{
    return pageSize.name();
}

QRectF EnvelopePages::textRect() const
{
    const QString stored = m_envelopeOptions.value(TextRectDict).toMap().value(m_paperName).toString();
    if (const auto rect = rectFromString(stored); rect && rect->width() > 0 && rect->height() > 0)
        return *rect;
    const QSizeF paper = m_paper.paperSize;
    const QSizeF size(paper.width() / 3, paper.height() / 5);
    return {QPointF((paper.width() - size.width()) / 2, (paper.height() - size.height()) / 2), size};
}

std::optional<TextObject> EnvelopePages::makeTextObject(const SubContactRow *row) const
{
    if (!row)
        return std::nullopt;
    const QString text =
        AddressBlockText::makeAdrsAndNameString(*row, AddressBlockText::Options::from(m_envelopeOptions));
    qsizetype longest = 0;
    for (const QString &piece : text.split(QLatin1Char('\n')))
        longest = std::max(longest, piece.size());

    TextObject object;
    object.printVertical = OptionValue::toBool(m_envelopeOptions.value(PrintVertical));
    object.textDirection = m_envelopeOptions.value(PrintKey::TextDirection).toString();
    if (object.textDirection.isEmpty())
        object.textDirection = TextDirectionName::LeftRight;
    QString family = m_fontName;
    if (object.printVertical) {
        family = m_envelopeOptions.value(VerticalFontName).toString();
        if (family.isEmpty())
            family = PrintOptionsDict::defaultFontName();
    }
    object.rect = textRect();

    // A block of empty lines starts as if it had one character.
    const double initial = m_paper.paperSize.width() / 3 / double(std::max<qsizetype>(longest, 1)) * 1.2;
    const auto fitted = LabelFitting::fit(initial, [&](double size) {
        const QSizeF measured = TextObject::measure(LabelText::make(text, family, size, object.printVertical),
                                                    object.printVertical, object.isLeftRight());
        return std::pair{LabelFitting::ratio(measured.width(), object.rect.width()),
                         LabelFitting::ratio(measured.height(), object.rect.height())};
    });
    object.text = LabelText::make(text, family, fitted.size, object.printVertical);
    return object;
}

void EnvelopePages::drawPage(QPainter &painter, const SubContactRow *row) const
{
    const auto object = makeTextObject(row);
    if (!object)
        return;
    const QRectF rect = object->rect.translated(m_leftMargin, m_topMargin);
    if (OptionValue::toBool(m_envelopeOptions.value(PrintFrame))) {
        painter.save();
        painter.setPen(QPen(Qt::black, FrameWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(-FrameOutset, -FrameOutset, FrameOutset, FrameOutset));
        painter.restore();
    }
    object->draw(painter, rect);
}
