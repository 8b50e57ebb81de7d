#pragma once

#include "print/LabelGrid.h"
#include "print/PageGeometry.h"
#include "print/TextObject.h"
#include "ui/contracts/SubContactRow.h"

#include <QList>
#include <QRectF>
#include <QVariantMap>

class QPainter;

// The "Mailing Labels" style: each row's block on "repeatCount" consecutive labels, the labels
// filling each page row by row from the top-left.
class MailingLabelPages
{
public:
    // The options of the whole print; the font for horizontal text.
    MailingLabelPages(const QVariantMap &options, const QString &fontName, const PageGeometry &paper);

    struct Slot
    {
        qsizetype row = 0;
        // The label's frame on its page, from the top-left of the paper.
        QRectF frame;
    };
    // The labels on page k, counted from 0, and whose row each shows.
    QList<Slot> slotsOnPage(qsizetype rows, int page) const;

    // The row's block fitted to a label.
    TextObject textObject(const SubContactRow &row) const;
    void drawPage(QPainter &painter, const QList<SubContactRowPtr> &rows, int page) const;

    // Where a label's text starts inside its frame.
    static constexpr double TextInset = 3.0;
    static constexpr double FrameWidth = 1.5;

private:
    QVariantMap m_labelOptions;
    QString m_fontName;
    QString m_verticalFontName;
    LabelGrid::Sizes m_sizes;
    LabelGrid m_grid;
    qint64 m_repeatCount = 1;
};
