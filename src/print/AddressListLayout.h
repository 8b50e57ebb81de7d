#pragma once

#include <QList>

// Places the records of an address list on pages, one below the other. A record that does not fit
// in what is left of a page moves whole to the next page when it is at most half a page tall;
// a taller one is cut after its last line that fits and goes on at the top of the next page, so
// that no line is lost. A single line taller than a page is clipped at the page end.
class AddressListLayout
{
public:
    struct Record
    {
        double height = 0;
        // Where each line of the record ends, from its top, in order; the last is its height.
        QList<double> lineBottoms;
    };
    // The part of a record on one page: `height` points of it from `offset` down, drawn `y`
    // points below the top of the page's content area.
    struct Slice
    {
        int record = 0;
        int page = 0;
        double y = 0;
        double offset = 0;
        double height = 0;
        bool operator==(const Slice &) const = default;
    };

    static QList<Slice> place(const QList<Record> &records, double contentHeight);
    // Pages the slices take; one for none.
    static int pageCount(const QList<Slice> &slices);
};
