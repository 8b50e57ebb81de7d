#pragma once

#include <QFont>
#include <QPointF>
#include <QSizeF>
#include <QString>

class QPainter;

// The text of a label or envelope at one font size: the lines, the font in points and the pitch of
// the lines. Horizontal text is pitched at the font's ascent plus descent, vertical text at the
// point size and a gap, so that columns of upright characters, a point size wide, keep apart.
struct LabelText
{
    // The gap between vertical columns (and lines), a fraction of the point size.
    static constexpr double VerticalLineGap = 0.25;

    QString text;
    QFont font;
    double lineHeight = 0;

    static LabelText make(const QString &text, const QString &family, double pointSize, bool vertical);

    double pointSize() const { return font.pointSizeF(); }
    // The widest line by the lines' height; nothing for no text.
    QSizeF size() const;
    // The lines from the top-left at `topLeft`, left aligned.
    void draw(QPainter &painter, const QPointF &topLeft) const;

    // One run of text with its baseline starting at `origin`, in points on any device.
    static void drawRun(QPainter &painter, const QPointF &origin, const QString &run, const QFont &font);
    static double advance(const QString &run, const QFont &font);
};
