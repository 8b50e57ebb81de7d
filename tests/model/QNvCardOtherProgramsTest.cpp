// vCard files of other programs, written by hand from the formats' documentation: vCard 4.0
// data-URI photos, instant-message accounts of every service, dates labelled by TYPE words; each
// read and taken through our writer and reader whole. And a name read from a card and from a CSV
// line alike.

#include "QNvCardTestSupport.h"

#include <QImage>

namespace {

// "service:username label" of each account.
QStringList accountsOf(QNPerson &person)
{
    QStringList accounts;
    for (const QVariant &item : person.labeledValueForIdentifier(QStringLiteral("Instant Message"))) {
        const QVariantMap entry = item.toMap();
        accounts.append(entry.value(PersonKey::StringValue).toString() + ' ' +
                        entry.value(PersonKey::Label).toString());
    }
    return accounts;
}

class OtherProgramsTest : public VCardTest
{
protected:
    static ContactTablePtr rowsOf(const QString &file)
    {
        return read(sample(QStringLiteral("other-programs/") + file))->topGroup()->contactTable;
    }

    // The record as our export writes it, read back.
    static QNPersonPtr writtenAndRead(QNPerson &person)
    {
        const ContactTablePtr back =
            read(QNvCard().vCardFromPerson(person, {QNvCardOption::Note, QNvCardOption::Photo}, {}))
                ->topGroup()
                ->contactTable;
        return back->size() == 1 ? back->first()->person : std::make_shared<QNPerson>();
    }

    void TearDown() override
    {
        ContactsUserDefaults::setSortOrderForTesting(std::nullopt);
        VCardTest::TearDown();
    }
};

// The photo of a data: URI, its ";" and "," escaped or not, its media type in any case.
TEST_F(OtherProgramsTest, DataUriPhotosAreReadAndWrittenBack)
{
    const ContactTablePtr rows = rowsOf(QStringLiteral("vcard40-data-uri-photos.vcf"));
    ASSERT_EQ(namesOf(rows), (QStringList{"Mira Okonkwo", "Tomas Varga", "Ines Duarte"}));
    const QSize sizes[] = {{8, 8}, {8, 8}, {2, 3}};
    for (qsizetype i = 0; i < rows->size(); ++i) {
        SCOPED_TRACE(i);
        QNPerson &person = *rows->at(i)->person;
        const QByteArray bytes = person.photoData();
        EXPECT_EQ(QImage::fromData(bytes).size(), sizes[i]);
        EXPECT_EQ(writtenAndRead(person)->photoData(), bytes);
    }
    EXPECT_EQ(rows->at(0)->person->photoData(), rows->at(1)->person->photoData());
    EXPECT_TRUE(rows->at(0)->person->photoData().startsWith("\xFF\xD8"));
}

// Every account keeps its service: named by X-SERVICE-TYPE (also written apart, "Google Talk"),
// else by its scheme's service, else the scheme itself; the generic "im" scheme names none.
// Percent-encoded names are decoded; an X-AIM style line of an address an IMPP line already gave
// adds nothing, but names the service that the shared xmpp scheme left open. A known service in
// another spelling takes the program's name; an unknown one stays as written, escapes and all.
TEST_F(OtherProgramsTest, InstantMessageServicesAreKept)
{
    const ContactTablePtr rows = rowsOf(QStringLiteral("impp-services.vcf"));
    ASSERT_EQ(rows->size(), 3);
    const QStringList ann{"GoogleTalk:ann.lee@gmail.example No label",
                          "GaduGadu:1234567 No label",
                          "irc:annlee@irc.example No label",
                          "Jabber:ann@jabber.example No label",
                          "sip:ann@voip.example No label",
                          "GoogleTalk:ann.work@gmail.example No label",
                          "Facebook:ann.fb@chat.facebook.example No label",
                          "AIM:Messenger Work home",
                          "Skype:100%sure No label",
                          "Skype:50%off No label",
                          "ICQ:998877 No label"};
    const QStringList bo{"Jabber:bo@example.org No label", "GoogleTalk:bo.chen@gmail.example work",
                         "GaduGadu:7654321 No label", ":nobody@example.net No label"};
    const QStringList cy{"GoogleTalk:cy.a@gmail.example No label",
                         "GoogleTalk:cy.b@gmail.example No label",
                         "Skype:cy.c No label",
                         "GaduGadu:1111 No label",
                         "Matrix:cy@matrix.example No label",
                         "MaTrIx:cy.e No label",
                         "s\\n:cy.f No label",
                         "a\\,b\\;c:cy.g No label",
                         "x;y,z:cy.h No label",
                         "s\n:cy.i No label",
                         ":s\n:cy.j No label",
                         "Jabber:cy.k@jabber.example work"};
    EXPECT_EQ(accountsOf(*rows->at(0)->person), ann);
    EXPECT_EQ(accountsOf(*rows->at(1)->person), bo);
    EXPECT_EQ(accountsOf(*rows->at(2)->person), cy);

    // The writer names no other service than the one read.
    const QString written = QNvCard().vCardFromPerson(*rows->at(0)->person, {}, {});
    EXPECT_EQ(written.count(QStringLiteral("X-SERVICE-TYPE=AIM")), 1) << written.toStdString();
    const QString unnamed = QNvCard().vCardFromPerson(*rows->at(1)->person, {}, {});
    EXPECT_TRUE(unnamed.contains(QStringLiteral("\r\nIMPP:im:nobody@example.net\r\n")))
        << unnamed.toStdString();
    EXPECT_EQ(accountsOf(*writtenAndRead(*rows->at(0)->person)), ann);
    EXPECT_EQ(accountsOf(*writtenAndRead(*rows->at(1)->person)), bo);
    EXPECT_EQ(accountsOf(*writtenAndRead(*rows->at(2)->person)), cy);
}

// Webmail cards label their dates with a TYPE word instead of an item label; the label stays, also
// through our writer, which writes it as an item label.
TEST_F(OtherProgramsTest, DatesKeepTheLabelOfTheirTypeWord)
{
    const auto labels = [](QNPerson &person) {
        QStringList found;
        for (const QVariant &item : person.labeledValueForIdentifier(QStringLiteral("Dates")))
            found.append(item.toMap().value(PersonKey::Label).toString());
        return found;
    };
    const ContactTablePtr rows = rowsOf(QStringLiteral("abdate-type-anniversary.vcf"));
    ASSERT_EQ(rows->size(), 1);
    QNPerson &ann = *rows->first()->person;
    EXPECT_EQ(labels(ann), (QStringList{"anniversary", "other"}));
    EXPECT_EQ(labels(*writtenAndRead(ann)), (QStringList{"anniversary", "other"}));
}

// The same Japanese person, from a card and from a CSV line, shows the same name, family name
// first; a Latin name follows the user's order either way.
TEST_F(OtherProgramsTest, CsvNamesTakeTheOrderOfTheCardOfTheSameName)
{
    for (const auto order :
         {ContactsUserDefaults::SortOrderGivenName, ContactsUserDefaults::SortOrderFamilyName}) {
        SCOPED_TRACE(order);
        ContactsUserDefaults::setSortOrderForTesting(order);
        const ContactTablePtr cards =
            read(card("N:山口;恵子;;;\r\nFN:山口 恵子\r\nX-PHONETIC-FIRST-NAME:けいこ\r\n"
                      "X-PHONETIC-LAST-NAME:やまぐち\r\n") +
                 card("N:Lee;Ann;;;\r\n"))
                ->topGroup()
                ->contactTable;
        const ContactTable lines =
            readCsv(QStringLiteral("First Name,Last Name,Phonetic First Name,Phonetic Last "
                                   "Name\n恵子,山口,けいこ,やまぐち\nAnn,Lee,,\n"));
        ASSERT_EQ(cards->size(), 2);
        ASSERT_EQ(lines.size(), 2);
        for (qsizetype i = 0; i < 2; ++i) {
            EXPECT_EQ(lines.at(i)->person->compositeName(), cards->at(i)->person->compositeName());
            EXPECT_EQ(lines.at(i)->person->phoneticName(), cards->at(i)->person->phoneticName());
        }
        EXPECT_EQ(lines.at(0)->person->compositeName(), "山口 恵子");
        EXPECT_EQ(lines.at(0)->person->phoneticName(), "やまぐち けいこ");
    }
}

} // namespace
