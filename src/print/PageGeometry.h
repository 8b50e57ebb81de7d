#pragma once

#include <QMarginsF>
#include <QRectF>
#include <QSizeF>

class QPageLayout;

// The paper of a print in points, y growing downwards from the top of the paper: its size and the
// part the printer can print on. Pages stack one paper height apart; page k counts from 0.
struct PageGeometry
{
    QSizeF paperSize;
    QRectF imageableBounds;

    // The paper of the layout; the printable part leaves out the printer's minimum margins.
    static PageGeometry fromLayout(const QPageLayout &layout);

    // The printable part of page k inset by the margins; never narrower or lower than a point, so
    // that whatever is laid out in it makes progress.
    QRectF contentArea(const QMarginsF &margins, int page) const;

    bool operator==(const PageGeometry &) const = default;
};
