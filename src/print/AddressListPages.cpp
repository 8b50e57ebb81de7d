#include "print/AddressListPages.h"

#include "platform/BusySign.h"
#include "print/AddressListText.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace {

const QColor ShadeColor = QColor::fromRgbF(0.9f, 0.9f, 0.9f);
const QColor RuleColor = QColor::fromRgbF(2.0f / 3, 2.0f / 3, 2.0f / 3);

AddressListLayout::Record measure(const QTextDocument &document)
{
    AddressListLayout::Record record;
    record.height = document.documentLayout()->documentSize().height();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        const double top = document.documentLayout()->blockBoundingRect(block).top();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            record.lineBottoms.append(top + line.y() + line.height());
        }
    }
    return record;
}

} // namespace

QList<SubContactRowPtr> AddressListPages::records(const QList<SubContactRowPtr> &rows)
{
    QList<SubContactRowPtr> records;
    QSet<QString> seen;
    for (const SubContactRowPtr &row : rows) {
        if (!row || seen.contains(row->uniqueId))
            continue;
        seen.insert(row->uniqueId);
        records.append(row);
    }
    return records;
}

double AddressListPages::rowWidth() const
{
    return std::max(m_content.width() - RightInset, 1.0);
}

int AddressListPages::paginate(const QList<SubContactRowPtr> &rows, const PrintOptionsReader &options,
                               const PageGeometry &paper)
{
    m_records = records(rows);
    m_options = options.addressList();
    m_font = options.font();
    m_content = paper.contentArea(options.margins(), 0);
    const AddressListText text(m_options, m_font);
    QList<AddressListLayout::Record> measures;
    for (const SubContactRowPtr &record : std::as_const(m_records)) {
        // Every record is laid out as text: thousands of them take seconds.
        BusySign::tick();
        measures.append(measure(*text.document(record->person.get(), rowWidth())));
    }
    m_slices = AddressListLayout::place(measures, m_content.height());
    return AddressListLayout::pageCount(m_slices);
}

QRectF AddressListPages::sliceRect(const AddressListLayout::Slice &slice) const
{
    return {m_content.x(), m_content.y() + slice.y, rowWidth(), slice.height};
}

void AddressListPages::drawPage(QPainter &painter, int page) const
{
    const AddressListText text(m_options, m_font);
    for (const AddressListLayout::Slice &slice : m_slices) {
        if (slice.page != page)
            continue;
        const QRectF rect = sliceRect(slice);
        // The second, fourth... record of the whole list, not of the page.
        if (m_options.alternatingRow && slice.record % 2 == 1)
            painter.fillRect(rect, ShadeColor);
        const auto document = text.document(m_records[slice.record]->person.get(), rowWidth());
        painter.save();
        painter.translate(rect.x(), rect.y() - slice.offset);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, slice.offset, rect.width(), slice.height);
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(context.clip, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
        document->documentLayout()->draw(&painter, context);
        painter.restore();
        if (m_options.printFrame) {
            painter.save();
            painter.setPen(QPen(RuleColor, 1.0));
            painter.drawLine(QLineF(rect.topLeft(), rect.topRight()));
            painter.drawLine(QLineF(rect.bottomLeft(), rect.bottomRight()));
            painter.restore();
        }
    }
}
