#include "print/LabelGrid.h"

#include "print/PageGeometry.h"

#include <QMarginsF>

#include <cmath>
#include <limits>

namespace {

// How many steps of `step` fit in `length`; 1 when none does or the step is no length at all.
int fitting(double length, double step)
{
    if (!(step > 0) || !std::isfinite(length / step))
        return 1;
    const double count = std::floor(length / step);
    if (count < 1)
        return 1;
    // A tiny label on a big paper must not overflow the slot arithmetic.
    return count > 10000 ? 10000 : int(count);
}

} // namespace

LabelGrid LabelGrid::make(const PageGeometry &paper, const QMarginsF &margins, const Sizes &sizes)
{
    const QRectF printable = paper.imageableBounds;
    LabelGrid grid;
    grid.left = printable.left() + margins.left();
    grid.top = printable.top() + margins.top();
    const double right = paper.paperSize.width() - printable.right() + margins.right();
    const double bottom = paper.paperSize.height() - printable.bottom() + margins.bottom();
    grid.columns = fitting(paper.paperSize.width() - grid.left - right, sizes.labelWidth + sizes.hGap);
    grid.rows = fitting(paper.paperSize.height() - grid.top - bottom, sizes.labelHeight + sizes.vGap);
    return grid;
}

int LabelGrid::pagesFor(long long labels) const
{
    const long long perPage = slotsPerPage();
    if (labels <= 0)
        return 1;
    const long long pages = (labels + perPage - 1) / perPage;
    return pages > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : int(pages);
}
