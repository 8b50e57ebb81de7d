#include "PrintFixture.h"

#include "platform/Localizer.h"
#include "print/AddressListText.h"
#include "print/PrintOptionsReader.h"
#include "print/TextDevice.h"

#include <QFontMetricsF>
#include <QTextDocument>

namespace {

class AddressListTextTest : public PrintFixture
{
protected:
    QList<AddressListText::Line> lines(const QNPersonPtr &person, const QStringList &ticked,
                                       const QStringList &labels = {"All"})
    {
        const PrintOptionsReader options(addressListOptions(ticked, labels));
        return AddressListText(options.addressList(), options.font()).lines(person.get());
    }
    static QStringList texts(const QList<AddressListText::Line> &lines)
    {
        QStringList texts;
        for (const auto &line : lines)
            texts.append(line.text());
        return texts;
    }
    static double column(const QString &title)
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(10);
        return QFontMetricsF(font, TextDevice::points()).horizontalAdvance(title + ": ") + 20;
    }
};

} // namespace

TEST_F(AddressListTextTest, TheNameLeadsAndAListStandsInAColumnAfterItsTitleWithDimmedLabels)
{
    const QNPersonPtr contact = person("Ann", "Archer");
    setEntries(contact, "Phone", {"home", "111", "work", "222", "mobile", "333"});
    // "Name" unticked in the table still leads.
    const auto result = lines(contact, {"Phone"});
    EXPECT_EQ(texts(result), (QStringList{"Ann Archer", "Phone: home: 111", "work: 222", "mobile: 333"}));
    EXPECT_EQ(result[0].indent, 0);
    EXPECT_EQ(result[1].indent, AddressListText::TitleIndent);
    EXPECT_DOUBLE_EQ(result[2].indent, column("Phone"));
    EXPECT_DOUBLE_EQ(result[3].indent, column("Phone"));
    EXPECT_EQ(result[1].runs,
              (QList<AddressListText::Run>{{"Phone: ", false}, {"home:", true}, {" 111", false}}));
}

TEST_F(AddressListTextTest, TheLabelFilterKeepsMatchingEntriesAndLeavesTheTitleAloneWithoutOne)
{
    const QNPersonPtr contact = person("Ann", "Archer");
    setEntries(contact, "Phone", {"home", "111", "work", "222", "home", "333"});
    EXPECT_EQ(texts(lines(contact, {"Phone"}, {"work"})), (QStringList{"Ann Archer", "Phone: work: 222"}));
    EXPECT_EQ(texts(lines(contact, {"Phone"}, {"iPhone"})), (QStringList{"Ann Archer", "Phone: "}));
    EXPECT_EQ(texts(lines(contact, {"Phone", "Email"})).last(), "Email: ");
}

TEST_F(AddressListTextTest, LaterLinesOfATextOrANoteStandUnderItsValue)
{
    const QNPersonPtr contact = person("Ann", "Archer");
    contact->setValue(QStringLiteral("Acme\nLabs"), "Company");
    contact->setValue(QStringLiteral("first\nsecond\nthird"), "Note");
    const auto result = lines(contact, {"Company", "Note"});
    EXPECT_EQ(texts(result),
              (QStringList{"Ann Archer", "Company: Acme", "Labs", "Note: first", "second", "third"}));
    EXPECT_DOUBLE_EQ(result[2].indent, column("Company"));
    EXPECT_DOUBLE_EQ(result[4].indent, column("Note"));
    EXPECT_DOUBLE_EQ(result[5].indent, column("Note"));
}

TEST_F(AddressListTextTest, TitlesAndLabelsAreInTheInterfacesLanguage)
{
    const QNPersonPtr contact = person("Ann", "Archer");
    setEntries(contact, "Email", {"work", "ann@example.com"});
    contact->setValue(QStringLiteral("Acme"), "Company");
    contact->setValue(QStringLiteral("hello"), "Note");
    Localizer::shared().setPreferredLanguages({QStringLiteral("ja")});
    const QStringList japanese = texts(lines(contact, {"Email", "Company", "Note"}));
    Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
    // The words the item table and the detail pane use.
    EXPECT_EQ(japanese,
              (QStringList{"Ann Archer", "メール: 勤務先: ann@example.com", "会社: Acme", "メモ: hello"}));
}

// A value the contact lacks leaves its title on a line of its own, never run into the next title.
TEST_F(AddressListTextTest, AnAbsentValueEndsItsTitlesLine)
{
    const QNPersonPtr contact = person("Ann", "Archer");
    contact->setValue(QStringLiteral("Acme"), "Company");
    EXPECT_EQ(texts(lines(contact, {"Birthday", "Company"})),
              (QStringList{"Ann Archer", "Birthday: ", "Company: Acme"}));
}

TEST_F(AddressListTextTest, TheDocumentWrapsAtTheRowsWidthAndHasOneLineEachOtherwise)
{
    const QNPersonPtr contact = person("Ann", "Archer");
    contact->setValue(QStringLiteral("a b c d e f g h i j k l m n o p q r s t u v w x y z"), "Note");
    const PrintOptionsReader options(addressListOptions({"Note"}));
    const AddressListText text(options.addressList(), options.font());
    const auto wide = text.document(contact.get(), 2000);
    const auto narrow = text.document(contact.get(), 100);
    EXPECT_EQ(wide->blockCount(), 2);
    EXPECT_GE(narrow->size().height(), 2 * wide->size().height());
}
