#include "DetailFixture.h"

#include "detail/ContactCard.h"
#include "platform/widgets/TemporaryFiles.h"

#include <QDir>
#include <QDomDocument>
#include <QTextBrowser>
#include <QTextDocument>

namespace {

QDomElement cardElement(const QString &html, const QString &id)
{
    QDomDocument document;
    EXPECT_TRUE(document.setContent(html));
    return ContactCard::getElementById(document.documentElement(), id);
}

QStringList paragraphs(const QDomElement &list)
{
    QStringList texts;
    for (QDomElement p = list.firstChildElement(QStringLiteral("p")); !p.isNull();
         p = p.nextSiblingElement(QStringLiteral("p"))) {
        EXPECT_EQ(p.attribute(QStringLiteral("class")), QStringLiteral("textfield"));
        texts.append(p.firstChildElement(QStringLiteral("cite")).text() + QLatin1Char('|') +
                     p.lastChild().toText().data().trimmed());
    }
    return texts;
}

} // namespace

class ContactCardTest : public DetailTest
{
};

TEST_F(ContactCardTest, ContactWithoutNameShowsNoNameAndGrayPlaceholders)
{
    const auto html = ContactCard::makeContactHTML(rowFor(StoreContact()));
    ASSERT_TRUE(html);
    EXPECT_EQ(cardElement(*html, QStringLiteral("Compositename")).text(), QStringLiteral("No Name"));
    const QDomElement company = cardElement(*html, QStringLiteral("Company"));
    EXPECT_EQ(company.text(), QStringLiteral("Company"));
    EXPECT_EQ(company.attribute(QStringLiteral("style")), QStringLiteral("color:#aaaaaa;"));
    EXPECT_EQ(cardElement(*html, QStringLiteral("Note")).attribute(QStringLiteral("style")),
              QStringLiteral("color:#aaaaaa;"));
    EXPECT_EQ(cardElement(*html, QStringLiteral("ContactImage")).attribute(QStringLiteral("src")),
              ContactCard::PersonIconSource);
}

TEST_F(ContactCardTest, ValuesInBlackAndHomeWorkElementsAndLists)
{
    StoreContact contact = person(QStringLiteral("Elizabeth"), QStringLiteral("Bennet"));
    contact.organizationName = QStringLiteral("Longbourn");
    contact.note = QStringLiteral("Walks");
    contact.emailAddresses = {{QString(), StoreLabel::Home, QStringLiteral("one@example.org")},
                              {QString(), StoreLabel::Home, QStringLiteral("two@example.org")}};
    contact.instantMessageAddresses = {
        {QString(), StoreLabel::Work, {QStringLiteral("liz"), QStringLiteral("Jabber")}}};
    const auto html = ContactCard::makeContactHTML(rowFor(contact));
    ASSERT_TRUE(html);

    const QDomElement company = cardElement(*html, QStringLiteral("Company"));
    EXPECT_EQ(company.text(), QStringLiteral("Longbourn"));
    EXPECT_FALSE(company.hasAttribute(QStringLiteral("style")));
    EXPECT_EQ(cardElement(*html, QStringLiteral("Note")).attribute(QStringLiteral("style")),
              QStringLiteral("color:#000000;"));
    EXPECT_EQ(cardElement(*html, QStringLiteral("Home-Email")).text(), QStringLiteral("two@example.org"));
    const QDomElement workEmail = cardElement(*html, QStringLiteral("Work-Email"));
    EXPECT_EQ(workEmail.text(), QStringLiteral("Work-Email"));
    EXPECT_EQ(workEmail.attribute(QStringLiteral("style")), QStringLiteral("color:#aaaaaa;"));
    EXPECT_EQ(paragraphs(cardElement(*html, QStringLiteral("Email"))),
              QStringList({QStringLiteral("home|one@example.org"), QStringLiteral("home|two@example.org")}));
    EXPECT_TRUE(cardElement(*html, QStringLiteral("Work-IMS")).text().contains(QStringLiteral("liz")));
    EXPECT_EQ(cardElement(*html, QStringLiteral("Work-SNS")).text(), QStringLiteral("Work-SNS"));
}

TEST_F(ContactCardTest, CompanyWithoutPhotoShowsTheCompanyImage)
{
    StoreContact contact;
    contact.setContactType(StoreContactType::Organization);
    contact.organizationName = QStringLiteral("Netherfield");
    const SubContactRowPtr row = rowFor(contact);
    const auto html = ContactCard::makeContactHTML(row);
    ASSERT_TRUE(html);
    EXPECT_EQ(cardElement(*html, QStringLiteral("ContactImage")).attribute(QStringLiteral("src")),
              ContactCard::CompanyIconSource);
    EXPECT_TRUE(
        ContactCard::imagesForHTML(*html, row->person.get()).contains(ContactCard::CompanyIconSource));
}

// Names are no file names: the card writes nothing and refers to the photo by a fixed name.
TEST_F(ContactCardTest, NameWithPathCharactersWritesNoFileAndPhotoIsAnInMemoryResource)
{
    StoreContact contact = person(QStringLiteral("../../a/b#c?d"), QStringLiteral("/etc/x"));
    QImage photo(40, 20, QImage::Format_ARGB32);
    photo.fill(Qt::red);
    const SubContactRowPtr row = rowFor(contact);
    row->person->setPhoto(photo);
    const QStringList before =
        QDir(TemporaryFiles::path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

    auto pane = makePane();
    pane->setContact(row);
    pane->setEditState(false);
    pane->updateWebView();

    EXPECT_EQ(QDir(TemporaryFiles::path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), before);
    EXPECT_TRUE(pane->cardView()->toHtml().contains(ContactCard::PhotoSource));
    const QVariant resource =
        pane->cardView()->document()->resource(QTextDocument::ImageResource, QUrl(ContactCard::PhotoSource));
    EXPECT_EQ(qvariant_cast<QImage>(resource).size(), QSize(40, 20));
    EXPECT_TRUE(pane->cardView()->toPlainText().contains(QStringLiteral("../../a/b#c?d")));
}

TEST_F(ContactCardTest, TableAndCardSwapWithTheEditState)
{
    auto pane = makePane();
    pane->view()->show();
    pane->setContact(rowFor(person(QStringLiteral("Jane"), QStringLiteral("Bennet"))));
    pane->setEditState(false);
    pane->updateWebView();
    EXPECT_TRUE(pane->webView()->isVisible());
    EXPECT_FALSE(pane->scrollView()->isVisible());
    EXPECT_TRUE(pane->cardView()->toPlainText().contains(QStringLiteral("Jane Bennet")));

    pane->setEditState(true);
    pane->updateTable();
    EXPECT_FALSE(pane->webView()->isVisible());
    EXPECT_TRUE(pane->scrollView()->isVisible());
    EXPECT_GT(pane->tableView()->model()->rowCount(), 0);
}

TEST_F(ContactCardTest, AJapaneseUserSeesPlaceholdersAndLabelsInJapanese)
{
    StoreContact contact = person(QStringLiteral("太郎"), QStringLiteral("山田"));
    contact.phoneNumbers = {{QString(), StoreLabel::PhoneNumberMobile, QStringLiteral("090-1111-2222")},
                            {QString(), QString(), QStringLiteral("0120-000-000")}};
    Localizer::shared().setPreferredLanguages({QStringLiteral("ja")});
    const auto html = ContactCard::makeContactHTML(rowFor(contact));
    Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
    ASSERT_TRUE(html);
    EXPECT_EQ(cardElement(*html, QStringLiteral("Work-Email")).text(), QStringLiteral("勤務先のメール"));
    EXPECT_EQ(paragraphs(cardElement(*html, QStringLiteral("Phone"))),
              QStringList({QStringLiteral("携帯電話|090-1111-2222"), QStringLiteral("ラベルなし|0120-000-000")}));
}
