#include "PrintFixture.h"

#include "platform/PrintInfo.h"
#include "print/PrintRenderer.h"
#include "print/PrintView.h"

#include <QImage>
#include <QPrinter>
#include <QRegularExpression>

using namespace PrintKey;

namespace {

constexpr double PaperWidth = 300;
constexpr double PaperHeight = 400;
constexpr int NoteLines = 30;
constexpr int CutContact = 7;

// Forty contacts with a home and a work phone; the seventh has a long note, which a page end cuts.
class AddressListPdf : public PrintFixture
{
protected:
    QList<SubContactRowPtr> contacts() const
    {
        QList<SubContactRowPtr> rows = rowsOf(40);
        for (int i = 0; i < rows.size(); ++i) {
            const QString number = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
            setEntries(rows[i]->person, "Phone", {"home", "555-01" + number, "work", "777-01" + number});
        }
        QStringList note;
        for (int line = 1; line <= NoteLines; ++line)
            note.append(QStringLiteral("Line %1").arg(line, 2, 10, QLatin1Char('0')));
        rows[CutContact - 1]->person->setValue(note.join('\n'), "Note");
        if (!m_firstNote.isEmpty())
            rows.first()->person->setValue(m_firstNote, "Note");
        return rows;
    }

    // The first contact's note, when a test gives it one.
    QString m_firstNote;

    // The list printed to a PDF file; the view's page count.
    int print(const QString &file, bool shaded, bool ruled)
    {
        auto options = std::make_shared<QVariantMap>(addressListOptions({"Phone", "Note"}, {"work"}));
        QVariantMap list = options->value(AddressListOptions).toMap();
        list.insert(AlternatingRow, shaded);
        list.insert(PrintFrame, ruled);
        options->insert(AddressListOptions, list);
        PrintInfo info;
        PrintView view(contacts(), info, options);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path(file));
        printer.setPageLayout(paper(QSizeF(PaperWidth, PaperHeight)));
        EXPECT_TRUE(PrintRenderer::render(view, printer));
        return view.pageCount();
    }

    QStringList pageTexts(const QString &file)
    {
        QStringList pages = run("pdftotext", {path(file), "-"}).split('\f');
        pages.removeLast();
        return pages;
    }

    static QStringList matches(const QString &text, const QString &pattern)
    {
        QStringList found;
        auto it = QRegularExpression(pattern).globalMatch(text);
        while (it.hasNext())
            found.append(it.next().captured(0));
        return found;
    }

    // The vertical middle and the top of each contact's name line on page 1, in points.
    QList<std::pair<double, double>> nameLines(const QString &file)
    {
        const QString boxes = run("pdftotext", {"-bbox", "-f", "1", "-l", "1", path(file), "-"});
        QList<std::pair<double, double>> lines;
        auto it = QRegularExpression(R"re(yMin="(-?[\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">Contact<)re").globalMatch(boxes);
        while (it.hasNext()) {
            const auto match = it.next();
            const double top = match.captured(1).toDouble();
            lines.append({(top + match.captured(2).toDouble()) / 2, top});
        }
        return lines;
    }

    // Page 1 as a picture of 2 pixels a point.
    QImage picture(const QString &file)
    {
        run("pdftoppm", {"-png", "-r", "144", "-f", "1", "-l", "1", "-singlefile", path(file), path(file + "-page")});
        return QImage(path(file + "-page.png"));
    }

    // The grey level at a point on the right of the rows, where no text reaches.
    static int greyAt(const QImage &image, double y)
    {
        return qGray(image.pixel(int((PaperWidth - 25) * 2), int(y * 2)));
    }
};

} // namespace

TEST_F(AddressListPdf, RecordsComeInGridOrderFromPageOneWithTheirTitlesAndOnlyTheFilteredLabels)
{
    const int pages = print("list.pdf", true, false);
    EXPECT_GE(pages, 4);
    EXPECT_TRUE(run("pdfinfo", {path("list.pdf")}).contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))));

    const QStringList texts = pageTexts("list.pdf");
    ASSERT_EQ(texts.size(), pages);
    EXPECT_TRUE(texts.first().trimmed().startsWith("Contact 01"));
    QStringList names;
    for (const QString &text : texts)
        names += matches(text, "Contact \\d\\d");
    QStringList expected;
    for (int i = 1; i <= 40; ++i)
        expected.append(QStringLiteral("Contact %1").arg(i, 2, 10, QLatin1Char('0')));
    EXPECT_EQ(names, expected);

    const QString all = texts.join('\n');
    EXPECT_EQ(matches(all, "Phone: work: 777-01\\d\\d").size(), 40);
    EXPECT_TRUE(matches(all, "555-01").isEmpty());
    EXPECT_EQ(matches(all, "Note:").size(), 40);
}

TEST_F(AddressListPdf, ARecordCutByAPageEndGoesOnAtTheTopOfTheNextPage)
{
    print("cut.pdf", true, false);
    const QStringList texts = pageTexts("cut.pdf");
    ASSERT_GE(texts.size(), 2);
    const QStringList first = matches(texts[0], "Line \\d\\d");
    const QStringList second = matches(texts[1], "Line \\d\\d");
    EXPECT_FALSE(first.isEmpty());
    EXPECT_FALSE(second.isEmpty());
    QStringList expected;
    for (int line = 1; line <= NoteLines; ++line)
        expected.append(QStringLiteral("Line %1").arg(line, 2, 10, QLatin1Char('0')));
    EXPECT_EQ(first + second, expected);
    EXPECT_TRUE(texts[1].trimmed().startsWith(second.first()));
}

TEST_F(AddressListPdf, EverySecondRecordIsShadedAndRulesRunAlongTheRecords)
{
    print("shaded.pdf", true, false);
    const auto lines = nameLines("shaded.pdf");
    const QImage shaded = picture("shaded.pdf");
    ASSERT_GE(lines.size(), CutContact);
    ASSERT_FALSE(shaded.isNull());
    for (int i = 0; i < CutContact; ++i) {
        const int grey = greyAt(shaded, lines[i].first);
        if (i % 2 == 1)
            EXPECT_NEAR(grey, 230, 3) << "record " << i + 1;
        else
            EXPECT_EQ(grey, 255) << "record " << i + 1;
    }

    // A rule a little above each name, none without the option.
    print("ruled.pdf", false, true);
    print("plain.pdf", false, false);
    const QImage ruled = picture("ruled.pdf");
    const QImage plain = picture("plain.pdf");
    const auto darkestAbove = [](const QImage &image, double top) {
        int darkest = 255;
        for (double y = top - 4; y <= top + 0.5; y += 0.5)
            darkest = std::min(darkest, greyAt(image, y));
        return darkest;
    };
    for (int i = 1; i < CutContact; ++i) {
        EXPECT_LT(darkestAbove(ruled, lines[i].second), 215) << "record " << i + 1;
        EXPECT_EQ(darkestAbove(plain, lines[i].second), 255) << "record " << i + 1;
    }
}

TEST_F(AddressListPdf, ANotesLaterLinesStandUnderItsFirstAfterTheTitle)
{
    print("note.pdf", false, false);
    const QString boxes = run("pdftotext", {"-bbox", "-f", "1", "-l", "1", path("note.pdf"), "-"});
    // The left and right of each word on page 1, by the word.
    QMultiHash<QString, std::pair<double, double>> words;
    auto it =
        QRegularExpression(R"re(xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)" yMax="[\d.]+">([^<]+)<)re")
            .globalMatch(boxes);
    while (it.hasNext()) {
        const auto match = it.next();
        words.insert(match.captured(3), {match.captured(1).toDouble(), match.captured(2).toDouble()});
    }
    const auto lines = words.values("Line");
    ASSERT_GE(lines.size(), 3);
    const double titleEnd = words.value("Note:").second;
    for (const auto &[left, right] : lines) {
        EXPECT_GT(left, titleEnd);
        EXPECT_NEAR(left, lines.first().first, 0.5);
    }
}

// A note line too long for the row wraps under the note's first character, not at the page's edge.
TEST_F(AddressListPdf, ANoteLineTooLongForTheRowWrapsUnderItsFirstCharacter)
{
    m_firstNote = QStringLiteral("Wrapped") + QStringLiteral(" wrapped").repeated(30);
    print("wrap.pdf", false, false);
    const QString boxes = run("pdftotext", {"-bbox", "-f", "1", "-l", "1", path("wrap.pdf"), "-"});
    QList<double> lefts;
    auto it =
        QRegularExpression(R"re(xMin="([\d.]+)" yMin="[\d.]+" xMax="[\d.]+" yMax="[\d.]+">[Ww]rapped<)re")
            .globalMatch(boxes);
    while (it.hasNext())
        lefts.append(it.next().captured(1).toDouble());
    ASSERT_EQ(lefts.size(), 31);
    const double column = lefts.first();
    EXPECT_GT(column, 20);
    for (double left : lefts)
        EXPECT_GE(left, column - 0.5);
}
