#include "print/PageGeometry.h"

#include <QPageLayout>

#include <algorithm>

PageGeometry PageGeometry::fromLayout(const QPageLayout &layout)
{
    QPageLayout points = layout;
    points.setUnits(QPageLayout::Point);
    const QRectF paper = points.fullRect(QPageLayout::Point);
    return {paper.size(), paper.marginsRemoved(points.minimumMargins())};
}

QRectF PageGeometry::contentArea(const QMarginsF &margins, int page) const
{
    constexpr double Least = 1.0;
    const QRectF area = imageableBounds.marginsRemoved(margins);
    return {area.x(), area.y() + page * paperSize.height(), std::max(area.width(), Least),
            std::max(area.height(), Least)};
}
