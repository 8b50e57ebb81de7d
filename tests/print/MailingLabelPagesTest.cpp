#include "PrintFixture.h"

#include "platform/PrintInfo.h"
#include "print/AddressBlockText.h"
#include "print/MailingLabelPages.h"
#include "print/PrintRenderer.h"
#include "print/PrintView.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

using namespace PrintKey;

namespace {

// 130 by 60 labels 5 apart: four across and four down on this paper.
const QSizeF Paper(560, 300);

class MailingLabels : public PrintFixture
{
protected:
    static QVariantMap options(int repeatCount, bool frames = false)
    {
        QVariantMap options = PrintOptionsDict::createPrintOptions();
        options.insert(PrintStyle, PrintStyleName::MailingLabels);
        options.insert(FontName, QStringLiteral("DejaVu Sans"));
        QVariantMap labels = options.value(MailingLabelsOptions).toMap();
        labels.insert(RepeatCount, repeatCount);
        labels.insert(PrintFrame, frames);
        options.insert(MailingLabelsOptions, labels);
        return options;
    }
    static QNPersonPtr withAddress(const QString &first)
    {
        QNPersonPtr contact = person(first, QStringLiteral("Smith"));
        contact->setValue(QVariantList{QVariantMap{{PersonKey::Label, QStringLiteral("home")},
                                                   {PersonKey::Street, QStringLiteral("1 Main St")},
                                                   {PersonKey::City, QStringLiteral("Springfield")},
                                                   {PersonKey::ZIP, QStringLiteral("62701")}}},
                          QStringLiteral("Address"));
        return contact;
    }
};

} // namespace

TEST_F(MailingLabels, CopiesOfARowTakeConsecutiveSlotsRowByRow)
{
    const PageGeometry paper{Paper, QRectF(QPointF(), Paper)};
    const MailingLabelPages pages(options(3), QStringLiteral("DejaVu Sans"), paper);
    const auto cells = pages.slotsOnPage(2, 0);
    ASSERT_EQ(cells.size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(cells[i].row, i / 3) << i;
    // The second row's first copy ends the first line; its others start the second.
    EXPECT_EQ(cells[3].frame, QRectF(3 * 135, 0, 130, 60));
    EXPECT_EQ(cells[4].frame, QRectF(0, 65, 130, 60));
    // Sixteen labels a page: the seventeenth starts the next page at its top-left.
    const auto next = MailingLabelPages(options(17), QStringLiteral("DejaVu Sans"), paper).slotsOnPage(1, 1);
    ASSERT_EQ(next.size(), 1);
    EXPECT_EQ(next[0].frame.topLeft(), QPointF(0, 0));
}

TEST_F(MailingLabels, InsetFromTheTopOfThePrintableArea)
{
    QVariantMap margins = options(1);
    margins.insert(TopMargin, 7);
    margins.insert(LeftMargin, 4);
    // The printer leaves 20 points at the top and 50 at the bottom.
    const PageGeometry paper{Paper, QRectF(10, 20, 540, 230)};
    const auto cells = MailingLabelPages(margins, QStringLiteral("DejaVu Sans"), paper).slotsOnPage(1, 0);
    ASSERT_EQ(cells.size(), 1);
    EXPECT_EQ(cells[0].frame.topLeft(), QPointF(14, 27));
}

TEST_F(MailingLabels, PrintedBlocksSitInTheirLabels)
{
    auto printOptions = std::make_shared<QVariantMap>(options(3));
    PrintInfo info;
    PrintView view({row(withAddress("Alpha")), row(withAddress("Bravo"))}, info, printOptions);
    view.setPrinting(true);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("labels.pdf"));
    printer.setPageLayout(paper(Paper));
    ASSERT_TRUE(PrintRenderer::render(view, printer));
    EXPECT_EQ(view.pageCount(), 1);

    const QString boxes = run("pdftotext", {"-bbox", path("labels.pdf"), "-"});
    QList<QPointF> alpha;
    QList<QPointF> bravo;
    auto it = QRegularExpression(R"re(xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>(Alpha|Bravo)<)re").globalMatch(boxes);
    while (it.hasNext()) {
        const auto match = it.next();
        (match.captured(3) == "Alpha" ? alpha : bravo)
            .append({match.captured(1).toDouble(), match.captured(2).toDouble()});
    }
    ASSERT_EQ(alpha.size(), 3);
    ASSERT_EQ(bravo.size(), 3);
    // Each name line lies inside its label, below the address lines.
    const QList<QPointF> labels{{0, 0}, {135, 0}, {270, 0}, {405, 0}, {0, 65}, {135, 65}};
    for (int i = 0; i < 6; ++i) {
        const QPointF word = i < 3 ? alpha[i] : bravo[i - 3];
        EXPECT_GT(word.x(), labels[i].x() + 2) << i;
        EXPECT_LT(word.x(), labels[i].x() + 30) << i;
        EXPECT_GT(word.y(), labels[i].y() + 20) << i;
        EXPECT_LT(word.y(), labels[i].y() + 60) << i;
    }
}

TEST_F(MailingLabels, FramesAreDrawnOnlyWhenAsked)
{
    for (const bool frames : {false, true}) {
        auto printOptions = std::make_shared<QVariantMap>(options(1, frames));
        PrintInfo info;
        info.setPageLayout(paper(Paper));
        PrintView view({row(withAddress("Alpha"))}, info, printOptions);
        view.setPrinting(true);
        QImage page(Paper.toSize(), QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        view.drawPage(painter, 0);
        painter.end();
        // The frame's right edge, well away from the text.
        EXPECT_EQ(qGray(page.pixel(130, 50)) < 200, frames);
        EXPECT_EQ(qGray(page.pixel(135 + 130, 50)), 255);
    }
}

TEST_F(MailingLabels, BlockReadsAddressCompanyThenName)
{
    QNPersonPtr contact = withAddress("Alpha");
    contact->setValue(QStringLiteral("Acme"), PersonIdentifier::Company);
    contact->setValue(QStringLiteral("Dr."), QStringLiteral("Suffix"));
    const QString name = contact->valueForIdentifier(PersonIdentifier::Name).toMap().value(PersonKey::StringValue).toString();

    AddressBlockText::Options text{true, false, false, QStringLiteral("様")};
    QStringList lines = AddressBlockText::makeAdrsAndNameString(*row(contact), text).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines.first().contains("1 Main St") || lines[1].contains("1 Main St"));
    EXPECT_EQ(lines[lines.size() - 2], "Acme");
    EXPECT_EQ(lines.last(), name + " 様");

    text = {false, false, true, {}};
    lines = AddressBlockText::makeAdrsAndNameString(*row(contact), text).split('\n');
    EXPECT_EQ(lines.last(), "Dr. " + name);
    EXPECT_FALSE(lines.contains("Acme"));

    // A row past the contact's addresses prints the name alone.
    EXPECT_EQ(AddressBlockText::makeAdrsAndNameString(*row(contact, 1), text), "Dr. " + name);

    // Without formatted text the parts make the lines: State and City run together.
    const QVariantMap parts{{PersonKey::ZIP, QStringLiteral("100-0001")},
                            {PersonKey::State, QStringLiteral("東京都")},
                            {PersonKey::City, QStringLiteral("千代田区")},
                            {PersonKey::Street, QStringLiteral("千代田1-1")}};
    EXPECT_EQ(AddressBlockText::addressText(parts, false), "100-0001 東京都千代田区\n千代田1-1\n");
}
