#include "print/PrintView.h"

#include "platform/PrintInfo.h"
#include "print/EnvelopePages.h"
#include "print/MailingLabelPages.h"
#include "print/PrintKeys.h"
#include "print/PrintOptionsReader.h"

#include <QPainter>

#include <cmath>

namespace {

// Entries of the address-book style: two lines, one less without a mobile phone, two more per
// address, one more for the company.
int addressBookPages(const PrintOptionsReader::AddressBook &options, double printableHeight, qsizetype rows)
{
    int lines = 2;
    if (!options.items.contains(QStringLiteral("Mobile phone")))
        lines -= 1;
    if (options.items.contains(QStringLiteral("Home address")))
        lines += 2;
    if (options.items.contains(QStringLiteral("Work address")))
        lines += 2;
    if (options.printCompany)
        lines += 1;
    const double entryHeight = lines * options.fontSize * 1.6;
    // An entry taller than the page, or of no height, still takes a page of its own.
    const double perPage = entryHeight > 0 ? std::floor(printableHeight / entryHeight) : 1;
    const qsizetype entries = perPage >= 1 ? qsizetype(std::min(perPage, 1e9)) : 1;
    return int(std::max<qsizetype>((rows + entries - 1) / entries, 1));
}

} // namespace

PrintView::PrintView(QList<SubContactRowPtr> rows, const PrintInfo &printInfo, PrintOptionsPtr options)
    : m_contacts(std::move(rows)), m_options(options ? std::move(options) : std::make_shared<QVariantMap>())
{
    paginate(printInfo.pageLayout());
}

void PrintView::setOptions(const PrintOptionsPtr &options)
{
    if (options)
        m_options = options;
    m_selectedFontName = PrintOptionsReader(*m_options).fontName();
}

int PrintView::paginate(const QPageLayout &paper)
{
    m_paper = paper;
    m_geometry = PageGeometry::fromLayout(paper);
    m_laidOutOptions = *m_options;
    m_pages = countPages(PrintOptionsReader(m_laidOutOptions).style());
    return m_pages;
}

int PrintView::countPages(const QString &style)
{
    const PrintOptionsReader options(m_laidOutOptions);
    if (style == PrintStyleName::AddressList)
        return m_addressList.paginate(m_contacts, options, m_geometry);
    if (style == PrintStyleName::MailingLabels) {
        const LabelGrid grid = LabelGrid::make(m_geometry, options.margins(), options.labelSizes());
        return grid.pagesFor(m_contacts.size() * options.repeatCount());
    }
    if (style == PrintStyleName::Envelope || style == PrintStyleName::Hagaki)
        return int(m_contacts.size());
    if (style == PrintStyleName::AddressBook)
        return addressBookPages(options.addressBook(), m_geometry.imageableBounds.height(), m_contacts.size());
    // A style of no known name keeps the count it had.
    return m_pages;
}

void PrintView::drawPage(QPainter &painter, int page)
{
    if (*m_options != m_laidOutOptions)
        paginate(m_paper);
    if (page < 0 || page >= m_pages)
        return;
    const QString style = PrintOptionsReader(m_laidOutOptions).style();
    if (style == PrintStyleName::AddressList) {
        m_addressList.drawPage(painter, page);
    } else if (style == PrintStyleName::MailingLabels) {
        drawPaper(painter);
        MailingLabelPages(m_laidOutOptions, fontName(), m_geometry).drawPage(painter, labelRows(), page);
    } else if (style == PrintStyleName::Envelope) {
        drawPaper(painter);
        const QList<SubContactRowPtr> rows = labelRows();
        const EnvelopePages envelopes(m_laidOutOptions, fontName(), m_geometry,
                                      EnvelopePages::paperName(m_paper.pageSize()));
        // The pages were counted from the contacts; the receivers may have changed since.
        if (page < rows.size())
            envelopes.drawPage(painter, rows[page].get());
    }
}

QList<SubContactRowPtr> PrintView::labelRows() const
{
    return m_receiverPersons.isEmpty() ? m_contacts : m_receiverPersons;
}

QString PrintView::fontName() const
{
    return PrintOptionsReader(m_laidOutOptions).fontName();
}

// On screen the paper shows pale yellow around the part the printer can print on.
void PrintView::drawPaper(QPainter &painter) const
{
    if (m_printing)
        return;
    painter.fillRect(QRectF(QPointF(), m_geometry.paperSize), QColor::fromRgbF(1.0f, 1.0f, 0.7f));
    painter.fillRect(m_geometry.imageableBounds, Qt::white);
}
