#include "print/AddressListLayout.h"

#include <algorithm>

namespace {

// Layout measures are sums of floating-point heights.
constexpr double Tolerance = 1e-6;

// The last line end of the record after `offset` and not below `limit`; `offset` when none is.
double lastLineEndBefore(const AddressListLayout::Record &record, double offset, double limit)
{
    double end = offset;
    for (double bottom : record.lineBottoms) {
        if (bottom > offset + Tolerance && bottom <= limit + Tolerance)
            end = bottom;
    }
    return end;
}

// The first line end after `offset`: what goes on a page that cannot hold one whole line.
double nextLineEnd(const AddressListLayout::Record &record, double offset)
{
    for (double bottom : record.lineBottoms) {
        if (bottom > offset + Tolerance)
            return std::min(bottom, record.height);
    }
    return record.height;
}

} // namespace

QList<AddressListLayout::Slice> AddressListLayout::place(const QList<Record> &records, double pageHeight)
{
    // Every page must take at least part of a line, or the placement would never end.
    const double contentHeight = std::max(pageHeight, 1.0);
    QList<Slice> slices;
    int page = 0;
    double y = 0;
    for (int index = 0; index < records.size(); ++index) {
        const Record &record = records[index];
        const auto fits = [&](double height) { return height <= contentHeight - y + Tolerance; };
        if (!fits(record.height) && y > 0 && record.height <= 0.5 * contentHeight) {
            ++page;
            y = 0;
        }
        double offset = 0;
        while (!fits(record.height - offset)) {
            double end = lastLineEndBefore(record, offset, offset + contentHeight - y);
            if (end <= offset && y > 0) {
                ++page;
                y = 0;
                continue;
            }
            if (end <= offset)
                end = nextLineEnd(record, offset);
            slices.append({index, page, y, offset, end - offset});
            offset = end;
            ++page;
            y = 0;
        }
        if (record.height - offset > Tolerance || offset == 0) {
            slices.append({index, page, y, offset, record.height - offset});
            y += record.height - offset;
        }
    }
    return slices;
}

int AddressListLayout::pageCount(const QList<Slice> &slices)
{
    return slices.isEmpty() ? 1 : slices.last().page + 1;
}
