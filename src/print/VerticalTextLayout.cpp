#include "print/VerticalTextLayout.h"

#include "print/TextDevice.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <string>

namespace {

enum class CharClass
{
    Dash,
    LineFeed,
    SmallKana,
    Latin,
    HalfWidth,
    FullWidth
};

CharClass classify(char32_t c)
{
    // The hyphens, dashes, wave dash, full-width tilde and prolonged sound mark run along the line.
    static const std::u32string Dashes = U"\u2010\u2011\u2015\u301C\u30FC\uFF0D\uFF5E";
    if (Dashes.find(c) != std::u32string::npos)
        return CharClass::Dash;
    if (c == U'\n')
        return CharClass::LineFeed;
    if (VerticalTextLayout::isSmallKana(c))
        return CharClass::SmallKana;
    if (c < 0x100 || c == 0xFF70)
        return CharClass::Latin;
    if (c >= 0xFF61 && c <= 0xFFD1)
        return CharClass::HalfWidth;
    if ((c >= 0xFF02 && c <= 0xFF5F) || VerticalTextLayout::isJapanese(c))
        return CharClass::FullWidth;
    return CharClass::Latin;
}

// The text's grapheme clusters, so that a surrogate pair or a character with its marks is placed
// as one.
QStringList clusters(const QString &text)
{
    QStringList result;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        result.append(text.mid(start, end - start));
        start = end;
    }
    return result;
}

struct Cursor
{
    double x = 0;
    double y = 0;
};

// Japanese fonts draw the ideographs' em square from 0.88 em above the baseline to 0.12 em below.
constexpr double EmSquareDescent = 0.12;

} // namespace

bool VerticalTextLayout::isJapanese(char32_t c)
{
    return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x3200 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x2FFFF);
}

bool VerticalTextLayout::isSmallKana(char32_t c)
{
    static const std::u32string SmallKana = U"ァィゥェォッャュョぁぃぅぇぉっゃゅょ";
    return SmallKana.find(c) != std::u32string::npos;
}

QRectF VerticalTextLayout::layout(const LabelText &text, const QPointF &point, Direction direction,
                                  const GlyphSink &sink)
{
    if (text.text.isEmpty())
        return {point, QSizeF()};
    const QFontMetricsF metrics(text.font, TextDevice::points());
    const double p = text.pointSize();
    // Columns (or lines) follow one another at the text's line pitch, a cell and a gap.
    const double pitch = text.lineHeight;
    const double d = -metrics.descent();
    // Full-width glyphs stand on the baseline a descent above the foot of their cell, so their em
    // square is drawn this far ahead of the cell. Latin runs in that same frame along the column, to
    // meet the ideographs instead of running into them.
    const double lead = -d - EmSquareDescent * p;
    const bool columns = direction == Columns;
    const QPointF start = columns ? QPointF(point.x() - p, point.y()) : QPointF(point.x(), point.y() + p);
    Cursor c{start.x(), start.y()};
    double maxX = start.x();
    double maxY = start.y();
    auto place = [&](const QString &cluster, QPointF anchor, double rotation, double baselineY) {
        if (sink)
            sink({cluster, anchor, rotation, baselineY});
    };
    for (const QString &cluster : clusters(text.text)) {
        const char32_t code = cluster.toUcs4().value(0);
        switch (classify(code)) {
        case CharClass::Dash: {
            // Turned to run along the column, as vertical writing sets it (standing, ー or the －
            // of ２－３ reads as the kanji 一), and centred in a whole cell of the ideographs' frame.
            const double inset = std::max(0.0, p - LabelText::advance(cluster, text.font)) / 2;
            if (columns) {
                place(cluster, {c.x + EmSquareDescent * p, c.y - lead + inset}, 90, 0);
                c.y += p;
            } else {
                place(cluster, {c.x - lead + inset, c.y - EmSquareDescent * p}, 0, 0);
                c.x += p;
            }
            break;
        }
        case CharClass::LineFeed:
            if (columns) {
                c.x -= pitch;
                maxY = std::max(c.y, maxY);
                c.y = start.y();
            } else {
                c.y += pitch;
                maxX = std::max(c.x, maxX);
                c.x = start.x();
            }
            break;
        case CharClass::SmallKana:
            // A whole cell like any kana, raised a quarter: the horizontal forms sit low in the square.
            if (columns) {
                c.y += p;
                place(cluster, {c.x, c.y + d - 0.25 * p}, 0, 0);
            } else {
                c.x += p;
                place(cluster, {c.x + d - 0.25 * p, c.y}, -90, 0);
            }
            break;
        case CharClass::Latin: {
            // Along the column a character takes its own width, and at least half a pitch.
            const double length = std::max(0.5 * p, LabelText::advance(cluster, text.font));
            if (columns) {
                place(cluster, {c.x - d, c.y - lead}, 90, 0);
                c.y += length;
            } else {
                place(cluster, {c.x - lead, c.y + d}, 0, 0);
                c.x += length;
            }
            break;
        }
        case CharClass::HalfWidth:
            if (columns) {
                c.y += p;
                place(cluster, {c.x + 0.25 * p, c.y + d}, 0, 0);
            } else {
                c.x += p;
                place(cluster, {c.x + d, c.y - 0.25 * p}, -90, 0);
            }
            break;
        case CharClass::FullWidth:
            if (columns) {
                c.y += p;
                place(cluster, {c.x, c.y + d}, 0, 0);
            } else {
                c.x += p;
                place(cluster, {c.x + d, c.y}, -90, 0);
            }
            break;
        }
        maxY = std::max(c.y, maxY);
        maxX = std::max(c.x, maxX);
    }
    if (columns)
        return {c.x, start.y(), p + (start.x() - c.x), maxY - start.y()};
    return {start.x(), start.y() - p, maxX - start.x(), maxY + p - start.y()};
}

QRectF VerticalTextLayout::drawStringInVertical(QPainter &painter, const LabelText &text,
                                                const QPointF &point, Direction direction)
{
    return layout(text, point, direction, [&](const Glyph &glyph) { drawGlyph(painter, glyph, text.font); });
}

void VerticalTextLayout::drawGlyph(QPainter &painter, const Glyph &glyph, const QFont &font)
{
    painter.save();
    painter.translate(glyph.anchor);
    painter.rotate(glyph.rotation);
    LabelText::drawRun(painter, {0, glyph.baselineY}, glyph.text, font);
    painter.restore();
}

void VerticalTextLayout::drawTategaki4(QPainter &painter, const LabelText &text, const QPointF &point)
{
    painter.save();
    painter.translate(point);
    painter.rotate(90);
    text.draw(painter, {0, 0});
    painter.restore();
}
