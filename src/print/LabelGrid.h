#pragma once

struct PageGeometry;
class QMarginsF;

// The sheet of mailing labels: how many labels fit across and down the printable part of a page
// inside the margins. Always at least one column and one row, whatever the sizes.
struct LabelGrid
{
    struct Sizes
    {
        double labelWidth = 0;
        double labelHeight = 0;
        double hGap = 0;
        double vGap = 0;
    };

    double left = 0;
    double top = 0;
    int columns = 1;
    int rows = 1;

    static LabelGrid make(const PageGeometry &paper, const QMarginsF &margins, const Sizes &sizes);
    int slotsPerPage() const { return columns * rows; }
    // Pages for that many labels; one empty page for none.
    int pagesFor(long long labels) const;
};
