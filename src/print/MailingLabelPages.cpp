#include "print/MailingLabelPages.h"

#include "print/AddressBlockText.h"
#include "print/LabelFitting.h"
#include "print/OptionValue.h"
#include "print/PrintKeys.h"
#include "print/PrintOptionsReader.h"

#include <QPainter>

#include <algorithm>

using namespace PrintKey;

MailingLabelPages::MailingLabelPages(const QVariantMap &options, const QString &fontName, const PageGeometry &paper)
    : m_labelOptions(options.value(MailingLabelsOptions).toMap()), m_fontName(fontName)
{
    const PrintOptionsReader reader(options);
    m_sizes = reader.labelSizes();
    m_grid = LabelGrid::make(paper, reader.margins(), m_sizes);
    m_repeatCount = reader.repeatCount();
    m_verticalFontName = m_labelOptions.value(VerticalFontName).toString();
    if (m_verticalFontName.isEmpty())
        m_verticalFontName = fontName;
}

QList<MailingLabelPages::Slot> MailingLabelPages::slotsOnPage(qsizetype rows, int page) const
{
    const qint64 perPage = m_grid.slotsPerPage();
    const qint64 first = qint64(page) * perPage;
    const qint64 end = std::min(first + perPage, qint64(rows) * m_repeatCount);
    QList<Slot> labels;
    for (qint64 slot = first; slot < end; ++slot) {
        const int column = int(slot % m_grid.columns);
        const int line = int((slot / m_grid.columns) % m_grid.rows);
        const double x = m_grid.left + column * (m_sizes.labelWidth + m_sizes.hGap);
        const double y = m_grid.top + line * (m_sizes.labelHeight + m_sizes.vGap);
        labels.append({qsizetype(slot / m_repeatCount), QRectF(x, y, m_sizes.labelWidth, m_sizes.labelHeight)});
    }
    return labels;
}

TextObject MailingLabelPages::textObject(const SubContactRow &row) const
{
    const QString text = AddressBlockText::makeAdrsAndNameString(row, AddressBlockText::Options::from(m_labelOptions));
    const QStringList pieces = text.split(QLatin1Char('\n'));
    qsizetype longest = 0;
    for (const QString &piece : pieces)
        longest = std::max(longest, piece.size());
    const double n = std::max<qsizetype>(pieces.size(), 3);
    const double m = std::max<qsizetype>(longest, 10);

    const bool vertical = OptionValue::toBool(m_labelOptions.value(PrintVertical));
    const QString family = vertical ? m_verticalFontName : m_fontName;
    const auto fitted = LabelFitting::fit(std::min(m_sizes.labelHeight / n, m_sizes.labelWidth / m), [&](double size) {
        const QSizeF measured = TextObject::measure(LabelText::make(text, family, size, vertical), vertical, true);
        return std::pair{LabelFitting::ratio(measured.width(), m_sizes.labelWidth),
                         LabelFitting::ratio(measured.height(), m_sizes.labelHeight)};
    });
    return {LabelText::make(text, family, fitted.size, vertical), vertical, TextDirectionName::LeftRight, {}};
}

void MailingLabelPages::drawPage(QPainter &painter, const QList<SubContactRowPtr> &rows, int page) const
{
    const QList<Slot> labels = slotsOnPage(rows.size(), page);
    const bool frames = OptionValue::toBool(m_labelOptions.value(PrintFrame));
    // Only the rows with a label on this page are fitted.
    qsizetype fittedRow = -1;
    TextObject object;
    for (const Slot &slot : labels) {
        if (!rows[slot.row])
            continue;
        if (slot.row != fittedRow) {
            object = textObject(*rows[slot.row]);
            fittedRow = slot.row;
        }
        object.draw(painter, slot.frame.translated(TextInset, TextInset));
        if (frames) {
            painter.save();
            painter.setPen(QPen(Qt::gray, FrameWidth));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(slot.frame);
            painter.restore();
        }
    }
}
