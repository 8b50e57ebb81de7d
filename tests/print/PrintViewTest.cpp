#include "PrintFixture.h"

#include "platform/PrintInfo.h"
#include "print/PrintView.h"

#include <QImage>
#include <QPainter>

using namespace PrintKey;

namespace {

class PrintViewTest : public PrintFixture
{
protected:
    // A paper that holds three labels of 130 by 60 (gaps 5) across and four down.
    static QPageLayout labelSheet() { return paper(QSizeF(3 * 135, 4 * 65)); }

    static PrintOptionsPtr optionsFor(const QString &style)
    {
        auto options = std::make_shared<QVariantMap>(PrintOptionsDict::createPrintOptions());
        options->insert(PrintStyle, style);
        return options;
    }
    static void setLabelOption(const PrintOptionsPtr &options, const QString &key, const QVariant &value)
    {
        QVariantMap labels = options->value(MailingLabelsOptions).toMap();
        labels.insert(key, value);
        options->insert(MailingLabelsOptions, labels);
    }
    int pages(const QList<SubContactRowPtr> &rows, const PrintOptionsPtr &options, const QPageLayout &layout)
    {
        PrintView view(rows, m_info, options);
        return view.paginate(layout);
    }

    PrintInfo m_info;
};

} // namespace

TEST_F(PrintViewTest, LabelsFillTheirGridAndRepeatPerContact)
{
    const auto options = optionsFor(PrintStyleName::MailingLabels);
    EXPECT_EQ(pages(rowsOf(12), options, labelSheet()), 1);
    EXPECT_EQ(pages(rowsOf(13), options, labelSheet()), 2);
    setLabelOption(options, RepeatCount, 2);
    EXPECT_EQ(pages(rowsOf(12), options, labelSheet()), 2);
    setLabelOption(options, RepeatCount, 0);
    EXPECT_EQ(pages(rowsOf(12), options, labelSheet()), 1);
}

TEST_F(PrintViewTest, LabelsWiderThanThePaperOrOfNoSizeStillTakeOneSlotAPage)
{
    const auto options = optionsFor(PrintStyleName::MailingLabels);
    setLabelOption(options, LabelWidth, 5000);
    EXPECT_EQ(pages(rowsOf(5), options, labelSheet()), 2);
    setLabelOption(options, LabelWidth, 0);
    setLabelOption(options, HGap, 0);
    setLabelOption(options, LabelHeight, -10);
    setLabelOption(options, VGap, 0);
    EXPECT_EQ(pages(rowsOf(3), options, labelSheet()), 3);
}

TEST_F(PrintViewTest, EnvelopesAndPostcardsTakeAPagePerRowAndTwoRowsOfAContactMakeOneRecord)
{
    EXPECT_EQ(pages(rowsOf(5), optionsFor(PrintStyleName::Envelope), labelSheet()), 5);
    EXPECT_EQ(pages(rowsOf(5), optionsFor(PrintStyleName::Hagaki), labelSheet()), 5);

    const QNPersonPtr contact = person("Ann", "Archer");
    const QList<SubContactRowPtr> rows{row(contact, 0), row(contact, 1)};
    PrintView view(rows, m_info, optionsFor(PrintStyleName::AddressList));
    view.paginate(labelSheet());
    EXPECT_EQ(view.addressList().slices().size(), 1);
    EXPECT_EQ(pages(rows, optionsFor(PrintStyleName::Envelope), labelSheet()), 2);
}

TEST_F(PrintViewTest, AddressBookPagesCountEntriesOfTheChosenItemsAndAnUnknownStyleKeepsTheCount)
{
    const auto options = optionsFor(PrintStyleName::AddressBook);
    // Three lines of 10 points a line and a half: five entries on a page 240 points high.
    options->insert(AddressBookOptions,
                    QVariantMap{{PrintFormat, "Full"},
                                {PrintFormatDictionary, QVariantMap{{"Full", QStringList{"Mobile phone"}}}},
                                {FontSize, 10},
                                {PrintCompany, true}});
    EXPECT_EQ(pages(rowsOf(11), options, paper(QSizeF(300, 240))), 3);
    // Without its options every entry still gets a page's share: no division by zero.
    options->remove(AddressBookOptions);
    EXPECT_EQ(pages(rowsOf(4), options, paper(QSizeF(300, 240))), 4);

    PrintView view(rowsOf(5), m_info, optionsFor(PrintStyleName::Envelope));
    view.paginate(labelSheet());
    view.printOptions()->insert(PrintStyle, "Calendar");
    EXPECT_EQ(view.paginate(labelSheet()), 5);
}

TEST_F(PrintViewTest, TheViewFollowsTheSharedOptionsAndTakesItsFontFromThem)
{
    const auto options = optionsFor(PrintStyleName::Envelope);
    PrintView view(rowsOf(3), m_info, options);
    EXPECT_EQ(view.pageCount(), 3);
    options->insert(PrintStyle, PrintStyleName::AddressList);
    // Drawing lays out again when the options changed since.
    QImage image(10, 10, QImage::Format_ARGB32);
    QPainter painter(&image);
    view.drawPage(painter, 0);
    EXPECT_EQ(view.pageCount(), 1);

    view.setOptions(options);
    EXPECT_EQ(view.selectedFontName(), options->value(FontName).toString());
    options->remove(FontName);
    view.setOptions(options);
    EXPECT_EQ(view.selectedFontName(), PrintOptionsDict::defaultFontName());
}
