#include "PrintFixture.h"

#include "platform/PrintInfo.h"
#include "print/EnvelopePages.h"
#include "print/PrintRenderer.h"
#include "print/PrintView.h"

#include <QImage>
#include <QPrinter>

using namespace PrintKey;

namespace {

const QSizeF Paper(300, 400);
// A third of the width by a fifth of the height, centred.
const QRectF DefaultBox(100, 160, 100, 80);

class Envelopes : public PrintFixture
{
protected:
    static QVariantMap options(bool vertical, const QString &direction, const QVariantMap &boxes = {})
    {
        QVariantMap options = PrintOptionsDict::createPrintOptions();
        options.insert(PrintStyle, PrintStyleName::Envelope);
        options.insert(FontName, QStringLiteral("DejaVu Sans"));
        QVariantMap envelope = options.value(EnvelopeOptions).toMap();
        envelope.insert(PrintVertical, vertical);
        envelope.insert(PrintKey::TextDirection, direction);
        envelope.insert(PrintFrame, false);
        envelope.insert(VerticalFontName, QStringLiteral("Noto Sans CJK JP"));
        if (!boxes.isEmpty())
            envelope.insert(TextRectDict, boxes);
        options.insert(EnvelopeOptions, envelope);
        return options;
    }
    static QList<SubContactRowPtr> receivers()
    {
        // A Japanese name prints family name first: these print "太郎 山田" and "一郎 𠮷野".
        return {row(person(QStringLiteral("山田"), QStringLiteral("太郎"))),
                row(person(QStringLiteral("𠮷野"), QStringLiteral("一郎")))};
    }

    // The printed envelopes as pictures at 72 dots per inch, one per page.
    QList<QImage> print(const QVariantMap &printOptions, const QString &name)
    {
        PrintInfo info;
        PrintView view(receivers(), info, std::make_shared<QVariantMap>(printOptions));
        view.setPrinting(true);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path(name + ".pdf"));
        printer.setPageLayout(paper(Paper));
        EXPECT_TRUE(PrintRenderer::render(view, printer));
        run("pdftoppm", {"-png", "-r", "72", path(name + ".pdf"), path(name)});
        QList<QImage> pages;
        for (int page = 1; page <= view.pageCount(); ++page)
            pages.append(QImage(path(QStringLiteral("%1-%2.png").arg(name).arg(page))));
        return pages;
    }

    // The bounds of the dark pixels.
    static QRect ink(const QImage &page)
    {
        QRect bounds;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                if (qGray(page.pixel(x, y)) < 128)
                    bounds |= QRect(x, y, 1, 1);
        return bounds;
    }
};

} // namespace

TEST_F(Envelopes, APaperWithoutAStoredBoxGetsTheCentredDefault)
{
    const PageGeometry geometry{Paper, QRectF(QPointF(), Paper)};
    const QVariantMap boxes{{QStringLiteral("Other"), QStringLiteral("{{10, 20}, {30, 40}}")}};
    EXPECT_EQ(EnvelopePages(options(false, "Left-Right", boxes), "DejaVu Sans", geometry, "Mine").textRect(), DefaultBox);
    EXPECT_EQ(EnvelopePages(options(false, "Left-Right"), "DejaVu Sans", geometry, "Mine").textRect(), DefaultBox);
    EXPECT_EQ(EnvelopePages(options(false, "Left-Right", boxes), "DejaVu Sans", geometry, "Other").textRect(),
              QRectF(10, 20, 30, 40));
    EXPECT_EQ(rectFromString("{{1.5, -2}, {3e1, 4}}"), QRectF(1.5, -2, 30, 4));
    EXPECT_EQ(rectFromString("{1, 2, 3, 4}"), std::nullopt);
    EXPECT_EQ(EnvelopePages(options(false, "Left-Right"), "DejaVu Sans", geometry, "Mine").makeTextObject(nullptr),
              std::nullopt);
}

TEST_F(Envelopes, EachReceiverGetsAPageWithItsBlockInTheBox)
{
    for (const auto &[vertical, direction] :
         {std::pair{false, "Left-Right"}, std::pair{false, "Up-Down"}, std::pair{true, "Up-Down"},
          std::pair{true, "Left-Right"}}) {
        const QString name = QStringLiteral("envelope-%1-%2").arg(vertical).arg(direction);
        const QList<QImage> pages = print(options(vertical, direction), name);
        ASSERT_EQ(pages.size(), 2) << name.toStdString();
        for (const QImage &page : pages) {
            const QRect drawn = ink(page);
            SCOPED_TRACE(name.toStdString());
            ASSERT_FALSE(drawn.isEmpty());
            // Fitted to the box: inside it, give or take a few points, and filling much of it.
            EXPECT_TRUE(DefaultBox.adjusted(-6, -6, 6, 6).contains(drawn)) << drawn.x() << "," << drawn.y() << " "
                                                                          << drawn.width() << "x" << drawn.height();
            EXPECT_GT(std::max(drawn.width() / DefaultBox.width(), drawn.height() / DefaultBox.height()), 0.5);
        }
        // Set top to bottom, the block is taller than wide.
        if (direction == QStringLiteral("Up-Down")) {
            const QRect drawn = ink(pages[1]);
            EXPECT_GT(drawn.height(), drawn.width());
        }
    }
}
