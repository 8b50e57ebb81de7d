#pragma once

#include "print/LabelText.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>

class QPainter;

// Japanese text set top to bottom without vertical fonts: each character is placed by itself,
// upright or turned by its class. Measuring and drawing walk the text with the same routine, so the
// fitted size of a label is the size it is drawn at. Coordinates in points, y growing downwards.
class VerticalTextLayout
{
public:
    enum Direction
    {
        // Columns top to bottom, the next column to the left.
        Columns = 1,
        // Lines left to right, the next line below; the glyphs turned back a quarter.
        Lines = 2
    };

    // One character (a grapheme cluster) placed: its baseline origin is `baselineY` below the
    // anchor, in the frame turned by `rotation` degrees about the anchor.
    struct Glyph
    {
        QString text;
        QPointF anchor;
        double rotation = 0;
        double baselineY = 0;
    };
    using GlyphSink = std::function<void(const Glyph &)>;

    // Lays the text out from the point; the rectangle it covers. The sink, when given, gets every
    // character in order (line feeds are not characters here).
    static QRectF layout(const LabelText &text, const QPointF &point, Direction direction,
                         const GlyphSink &sink = {});
    static QRectF drawStringInVertical(QPainter &painter, const LabelText &text, const QPointF &point,
                                       Direction direction);
    // One character placed by `layout`, as drawStringInVertical draws it.
    static void drawGlyph(QPainter &painter, const Glyph &glyph, const QFont &font);
    // The whole text turned a quarter clockwise about the point: its lines run down from the point
    // and follow one another to the left. Callers pass the top-right corner of the text's box.
    static void drawTategaki4(QPainter &painter, const LabelText &text, const QPointF &point);

    // Kana, CJK punctuation and ideographs, those beyond the 16-bit range included.
    static bool isJapanese(char32_t c);
    static bool isSmallKana(char32_t c);
};
