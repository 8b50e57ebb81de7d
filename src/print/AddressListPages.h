#pragma once

#include "print/AddressListLayout.h"
#include "print/PageGeometry.h"
#include "print/PrintOptionsReader.h"
#include "ui/contracts/SubContactRow.h"

#include <QList>
#include <QRectF>

class QPainter;

// The "Address List" style: a block of text per contact, laid out over the pages and drawn one
// page at a time, on alternately shaded bands between light rules when the options ask for them.
class AddressListPages
{
public:
    // The records: the rows with a contact's later rows left out, in the rows' order.
    static QList<SubContactRowPtr> records(const QList<SubContactRowPtr> &rows);

    // Lays the records out anew; the page count.
    int paginate(const QList<SubContactRowPtr> &rows, const PrintOptionsReader &options, const PageGeometry &paper);
    // Page k of the last layout, the painter in points from the top-left of that page's paper.
    void drawPage(QPainter &painter, int page) const;

    QList<AddressListLayout::Slice> slices() const { return m_slices; }
    // Where a slice goes on its page, in the same coordinates.
    QRectF sliceRect(const AddressListLayout::Slice &slice) const;

    // The row's text stops short of the content area's right edge by this much.
    static constexpr double RightInset = 20.0;

private:
    double rowWidth() const;

    QList<SubContactRowPtr> m_records;
    PrintOptionsReader::AddressList m_options;
    QFont m_font;
    QRectF m_content;
    QList<AddressListLayout::Slice> m_slices;
};
