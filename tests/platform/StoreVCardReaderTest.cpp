#include "platform/StoreVCardReader.h"
#include "VCardTestSupport.h"
#include "common/TestEnvironment.h"
#include "platform/StoreVCardSerialization.h"
#include "platform/VCardContentLine.h"
#include "platform/VCardLabels.h"

#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

namespace {

using Phones = QList<StoreLabeledString>;

StoreContact parseOne(const QByteArray &body, const char *version = "3.0")
{
    const QByteArray data =
        "BEGIN:VCARD\r\nVERSION:" + QByteArray(version) + "\r\n" + body + "\r\nEND:VCARD\r\n";
    const StoreVCardReadResult result = StoreVCardSerialization::contactsWithData(data);
    EXPECT_TRUE(result.isOk()) << result.error.toStdString();
    EXPECT_EQ(result.contacts.size(), 1);
    return result.contacts.value(0);
}

StoreVCardReadResult parseFixture(const char *name)
{
    const QByteArray data = readFixture(TestEnvironment::dataPath(QString::fromLatin1(name)));
    EXPECT_FALSE(data.isEmpty()) << name;
    return StoreVCardSerialization::contactsWithData(data);
}

StorePostalAddress address(const QString &street, const QString &city, const QString &state,
                           const QString &code, const QString &country, const QString &iso)
{
    return {street, city, state, code, country, iso};
}

DateComponents date(std::optional<int> year, int month, int day)
{
    return {year, month, day};
}

StoreInstantMessageAddress im(const QString &service, const QString &username)
{
    return {username, service};
}

} // namespace

TEST(StoreVCardReader, DesktopExportPerson)
{
    const StoreVCardReadResult result = parseFixture("vcard-desktop-30.vcf");
    ASSERT_TRUE(result.isOk());
    ASSERT_EQ(result.contacts.size(), 2);
    const StoreContact &c = result.contacts.first();

    EXPECT_EQ(c.contactType(), StoreContactType::Person);
    EXPECT_EQ(QStringList({c.namePrefix, c.givenName, c.middleName, c.familyName, c.nameSuffix}),
              QStringList({"Dr.", "Elise", "Marie", "Hartmann", "PhD"}));
    EXPECT_EQ(c.phoneticGivenName, "Eh-leez");
    EXPECT_EQ(c.phoneticFamilyName, "Hart-man");
    EXPECT_EQ(c.nickname, "Lise");
    EXPECT_EQ(c.organizationName, "Northwind Traders");
    EXPECT_EQ(c.departmentName, "Research, Europe");
    EXPECT_EQ(c.jobTitle, "Head of Research");
    EXPECT_EQ(c.note, "Met at the 2019 conference.\nPrefers e-mail, not phone.");

    EXPECT_EQ(c.emailAddresses, Phones({{{}, VCardLabels::Work, "elise.hartmann@northwind.example"},
                                        {{}, VCardLabels::Home, "elise@home.example"},
                                        {{}, "Chess club", "lise@club.example"}}));
    EXPECT_EQ(c.phoneNumbers, Phones({{{}, VCardLabels::Mobile, "+49 170 1234567"},
                                      {{}, VCardLabels::IPhone, "+49 171 7654321"},
                                      {{}, VCardLabels::Work, "+49 30 1234-0"},
                                      {{}, VCardLabels::WorkFax, "+49 30 1234-99"},
                                      {{}, VCardLabels::Main, "+49 30 1234-1"},
                                      {{}, VCardLabels::Pager, "555 0100"},
                                      {{}, VCardLabels::Other, "+49 30 5550000"}}));
    EXPECT_EQ(c.postalAddresses,
              QList<StoreLabeledAddress>(
                  {{{},
                    VCardLabels::Work,
                    address("Unter den Linden 1\nEtage 3", "Berlin", "", "10117", "Germany", "de")},
                   {{},
                    VCardLabels::Home,
                    address("742 Evergreen Terrace", "Springfield", "IL", "62704", "USA", "us")}}));
    EXPECT_EQ(c.urlAddresses, Phones({{{}, VCardLabels::HomePage, "https://northwind.example/research"},
                                      {{}, VCardLabels::Work, "https://northwind.example"}}));
    EXPECT_EQ(c.dates, QList<StoreLabeledDate>({{{}, VCardLabels::Anniversary, date(2012, 6, 16)},
                                                {{}, "Name day", date(std::nullopt, 10, 1)}}));
    // The label of item9 stands before its value.
    EXPECT_EQ(c.contactRelations,
              Phones({{{}, "_$!<Spouse>!$_", "Jonas Hartmann"}, {{}, "godchild", "Greta"}}));
    EXPECT_EQ(c.birthday, date(std::nullopt, 3, 15));
    EXPECT_EQ(
        c.socialProfiles,
        QList<StoreLabeledSocialProfile>(
            {{{}, "Twitter", {"http://twitter.com/elisehart", "elisehart", "", "Twitter"}},
             {{}, "LinkedIn", {"https://www.linkedin.com/in/ehartmann", "ehartmann", "99887", "LinkedIn"}}}));
    // X-SKYPE repeats the IMPP account and is not read twice; X-AIM alone adds one.
    EXPECT_EQ(
        c.instantMessageAddresses,
        QList<StoreLabeledInstantMessage>({{{}, VCardLabels::Home, im("Skype", "elise.hartmann")},
                                           {{}, VCardLabels::Work, im("Jabber", "elise@northwind.example")},
                                           {{}, "", im("AIM", "lisehart")}}));
    const QImage photo = QImage::fromData(c.imageData);
    EXPECT_EQ(photo.size(), QSize(2, 3));
    EXPECT_NE(c.identifier(), "5AD380FD-B2DE-4261-BA99-DE1D1DB52FBE");
}

TEST(StoreVCardReader, DesktopExportCompany)
{
    const StoreVCardReadResult result = parseFixture("vcard-desktop-30.vcf");
    ASSERT_EQ(result.contacts.size(), 2);
    const StoreContact &c = result.contacts.at(1);
    EXPECT_EQ(c.contactType(), StoreContactType::Organization);
    EXPECT_EQ(c.organizationName, "Northwind Traders");
    EXPECT_EQ(c.departmentName, "");
    EXPECT_EQ(c.givenName, "");
    EXPECT_EQ(c.phoneNumbers, Phones({{{}, VCardLabels::Main, "+49 30 1234-0"}}));
    ASSERT_EQ(c.postalAddresses.size(), 1);
    EXPECT_EQ(c.postalAddresses.first().value.isoCountryCode, "de");
}

TEST(StoreVCardReader, Version21QuotedPrintable)
{
    const StoreVCardReadResult result = parseFixture("vcard-21-qp-utf8.vcf");
    ASSERT_EQ(result.contacts.size(), 1);
    const StoreContact &c = result.contacts.first();
    EXPECT_EQ(c.familyName, "Müller");
    EXPECT_EQ(c.givenName, "Jürgen");
    EXPECT_EQ(c.phoneNumbers, Phones({{{}, VCardLabels::Work, "+49 89 123456"},
                                      {{}, VCardLabels::Mobile, "+49 151 2345678"},
                                      {{}, VCardLabels::HomeFax, "+49 89 654321"},
                                      {{}, "", "+49 89 111111"}}));
    EXPECT_EQ(c.emailAddresses, Phones({{{}, "", "juergen@example.de"}}));
    ASSERT_EQ(c.postalAddresses.size(), 1);
    EXPECT_EQ(c.postalAddresses.first().label, VCardLabels::Home);
    EXPECT_EQ(c.postalAddresses.first().value,
              address("Straße des 17. Juni 5\nHinterhaus", "München", "Bayern", "80331", "Deutschland", ""));
    EXPECT_EQ(c.note, "Erste Zeile\nZweite Zeile mit äöü und einem sehr langen Text, der über mehrere Zeilen "
                      "umbrochen wird.");
    EXPECT_EQ(c.organizationName, "Bäckerei Müller");
    EXPECT_EQ(c.jobTitle, "Geschäftsführer");
    EXPECT_EQ(c.urlAddresses, Phones({{{}, "", "http://www.baeckerei-mueller.example/"}}));
    EXPECT_EQ(c.birthday, date(1970, 1, 31));
    EXPECT_EQ(QImage::fromData(c.imageData).size(), QSize(1, 1));
}

TEST(StoreVCardReader, Version21ShiftJis)
{
    const StoreVCardReadResult result = parseFixture("vcard-21-sjis.vcf");
    ASSERT_EQ(result.contacts.size(), 2);
    const StoreContact &taro = result.contacts.at(0);
    EXPECT_EQ(taro.familyName, "山田");
    EXPECT_EQ(taro.givenName, "太郎");
    EXPECT_EQ(taro.phoneticFamilyName, "やまだ");
    EXPECT_EQ(taro.phoneticGivenName, "たろう");
    EXPECT_EQ(taro.organizationName, "株式会社サンプル");
    EXPECT_EQ(taro.departmentName, "営業部");
    EXPECT_EQ(taro.jobTitle, "課長");
    // ソ and 表 end in the byte of a backslash, which must not read as an escape.
    EXPECT_EQ(taro.note, "ソフトウェア開発の表計算担当");
    ASSERT_EQ(taro.postalAddresses.size(), 1);
    EXPECT_EQ(taro.postalAddresses.first().value, address("千代田1-1 千代田ビルディング 東館 十二階",
                                                          "千代田区", "東京都", "100-0001", "日本", ""));
    EXPECT_EQ(taro.phoneNumbers,
              Phones({{{}, VCardLabels::Mobile, "090-1234-5678"}, {{}, VCardLabels::Home, "03-1234-5678"}}));
    EXPECT_EQ(taro.birthday, date(1980, 4, 1));

    const StoreContact &hanako = result.contacts.at(1);
    EXPECT_EQ(hanako.familyName, "佐藤");
    EXPECT_EQ(hanako.givenName, "花子");
    EXPECT_EQ(hanako.phoneticFamilyName, "さとう");
    EXPECT_EQ(hanako.phoneticGivenName, "はなこ");
    EXPECT_EQ(hanako.organizationName, "表参道ソフト");
}

TEST(StoreVCardReader, BrokenFileIsReadAsFarAsPossible)
{
    const StoreVCardReadResult result = parseFixture("vcard-broken.vcf");
    ASSERT_TRUE(result.isOk());
    ASSERT_EQ(result.contacts.size(), 2);
    const StoreContact &first = result.contacts.at(0);
    EXPECT_EQ(first.familyName, "Broken");
    EXPECT_TRUE(first.organizationName.startsWith("Caf"));
    EXPECT_TRUE(first.organizationName.contains(QChar(QChar::ReplacementCharacter)));
    EXPECT_TRUE(first.organizationName.endsWith(" Ltd"));
    EXPECT_TRUE(first.jobTitle.startsWith("あ"));
    EXPECT_TRUE(first.jobTitle.contains(QChar(QChar::ReplacementCharacter)));
    EXPECT_EQ(first.nickname, "plain");
    EXPECT_FALSE(first.birthday.has_value());
    EXPECT_EQ(first.phoneNumbers, Phones({{{}, VCardLabels::Mobile, "+1 555 0100"}}));
    EXPECT_EQ(first.emailAddresses, Phones({{{}, "", "broken@example.com"}}));
    // The dangling soft break does not swallow END:VCARD.
    EXPECT_EQ(first.note, "dangling");

    const StoreContact &unterminated = result.contacts.at(1);
    EXPECT_EQ(unterminated.familyName, "Unterminated");
    EXPECT_EQ(unterminated.phoneNumbers, Phones({{{}, "", "+1 555 0199"}}));
    EXPECT_EQ(unterminated.emailAddresses, Phones({{{}, "", "last@example.com"}}));
    EXPECT_TRUE(unterminated.imageData.isEmpty());
}

TEST(StoreVCardReader, EveryContactGetsAFreshIdentifier)
{
    const QByteArray data = readFixture(TestEnvironment::dataPath("vcard-desktop-30.vcf"));
    QSet<QString> identifiers;
    for (int round = 0; round < 2; ++round)
        for (const StoreContact &contact : StoreVCardSerialization::contactsWithData(data).contacts) {
            EXPECT_FALSE(contact.identifier().isEmpty());
            EXPECT_FALSE(contact.identifier().startsWith("5AD380FD"));
            identifiers.insert(contact.identifier());
        }
    EXPECT_EQ(identifiers.size(), 4);
}

class StoreVCardReaderRejects : public testing::TestWithParam<QByteArray>
{
};

TEST_P(StoreVCardReaderRejects, DataThatIsNotVCard)
{
    const StoreVCardReadResult result = StoreVCardSerialization::contactsWithData(GetParam());
    EXPECT_FALSE(result.isOk());
    EXPECT_TRUE(result.contacts.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, StoreVCardReaderRejects,
                         testing::Values(QByteArray(), QByteArray("hello world"),
                                         QByteArray("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n"),
                                         QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
                                         QByteArray("N:Doe;John;;;\r\nTEL:1\r\n"),
                                         QByteArray("B\0E\0G\0I\0N\0:\0V\0C\0A\0R\0D\0", 22)));

TEST(StoreVCardReader, CardsAreFoundWhateverTheirCaseAndLineEnds)
{
    const QByteArray data = "junk before\nbegin:vcard\nversion:3.0\nn:Doe;Jane;;;\nend:vcard\n"
                            "\xEF\xBB\xBF\rBEGIN:VCARD\rN:Roe;Rick;;;\rEND:VCARD";
    const StoreVCardReadResult result = StoreVCardSerialization::contactsWithData(data);
    ASSERT_EQ(result.contacts.size(), 2);
    EXPECT_EQ(result.contacts.at(0).givenName, "Jane");
    EXPECT_EQ(result.contacts.at(1).givenName, "Rick");
}

TEST(StoreVCardReader, NestedAgentCardIsSkipped)
{
    const StoreContact c =
        parseOne("N:Boss;Big;;;\r\nAGENT:\r\nBEGIN:VCARD\r\nN:Aide;Al;;;\r\nTEL:2\r\nEND:VCARD\r\n"
                 "TEL:1",
                 "2.1");
    EXPECT_EQ(c.familyName, "Boss");
    EXPECT_EQ(c.phoneNumbers, Phones({{{}, "", "1"}}));
}

struct LabelRow
{
    const char *body;
    QString label;
};

class StoreVCardReaderLabels : public testing::TestWithParam<LabelRow>
{
};

QString firstLabel(const StoreContact &c)
{
    if (!c.phoneNumbers.isEmpty())
        return c.phoneNumbers.first().label;
    if (!c.emailAddresses.isEmpty())
        return c.emailAddresses.first().label;
    if (!c.urlAddresses.isEmpty())
        return c.urlAddresses.first().label;
    if (!c.postalAddresses.isEmpty())
        return c.postalAddresses.first().label;
    if (!c.instantMessageAddresses.isEmpty())
        return c.instantMessageAddresses.first().label;
    if (!c.contactRelations.isEmpty())
        return c.contactRelations.first().label;
    return QStringLiteral("<no entry>");
}

TEST_P(StoreVCardReaderLabels, TypeWordsAndItemLabels)
{
    EXPECT_EQ(firstLabel(parseOne(GetParam().body)), GetParam().label) << GetParam().body;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoreVCardReaderLabels,
    testing::Values(LabelRow{"TEL;TYPE=WORK,VOICE:1", VCardLabels::Work},
                    LabelRow{"TEL;TYPE=WORK;TYPE=VOICE:1", VCardLabels::Work},
                    LabelRow{"TEL;WORK;VOICE:1", VCardLabels::Work},
                    LabelRow{"TEL;type=home;type=fax:1", VCardLabels::HomeFax},
                    LabelRow{"TEL;TYPE=\"work,fax\":1", VCardLabels::WorkFax},
                    LabelRow{"TEL;TYPE=\"HOME,VOICE\",PREF:1", VCardLabels::Home},
                    LabelRow{"TEL;TYPE=OTHER,FAX:1", VCardLabels::OtherFax},
                    LabelRow{"TEL;FAX:1", VCardLabels::OtherFax},
                    LabelRow{"TEL;TYPE=HOME,CELL:1", VCardLabels::Mobile},
                    LabelRow{"TEL;TYPE=IPHONE,CELL,VOICE:1", VCardLabels::IPhone},
                    LabelRow{"TEL;TYPE=PAGER:1", VCardLabels::Pager},
                    LabelRow{"TEL;TYPE=MAIN:1", VCardLabels::Main}, LabelRow{"TEL;TYPE=PREF:1", ""},
                    LabelRow{"TEL;PREF=1:1", ""}, LabelRow{"TEL:1", ""}, LabelRow{"TEL;TYPE=CAR:1", "car"},
                    LabelRow{"TEL;VALUE=uri;TYPE=cell:tel:+1-555-0100", VCardLabels::Mobile},
                    LabelRow{"item1.TEL;TYPE=WORK:1\r\nitem1.X-ABLabel:Summer house", "Summer house"},
                    LabelRow{"item1.X-ABLabel:_$!<Mobile>!$_\r\nITEM1.TEL:1", VCardLabels::Mobile},
                    LabelRow{"item1.TEL:1\r\nitem1.X-ABLabel: _$!< Other\t>!$_", VCardLabels::Other},
                    LabelRow{"item1.TEL:1\r\nitem1.X-ABLabel:_$!<Summer  house >!$_",
                             "_$!<Summer  house>!$_"},
                    LabelRow{"item1.TEL:1\r\nitem1.X-ABLabel:Summer  house ", "Summer  house"},
                    LabelRow{"TEL;TYPE=\"_$!<Car >!$_\":1", "_$!<car>!$_"},
                    LabelRow{"item2.X-ABLabel:unused\r\nitem1.TEL;TYPE=HOME:1", VCardLabels::Home},
                    LabelRow{"EMAIL;TYPE=INTERNET,HOME:a@b.example", VCardLabels::Home},
                    LabelRow{"EMAIL;TYPE=CELL:a@b.example", "cell"},
                    LabelRow{"URL;TYPE=HOMEPAGE:http://a.example", VCardLabels::HomePage},
                    LabelRow{"ADR;TYPE=WORK,POSTAL,PARCEL:;;1 Main St;;;;", VCardLabels::Work},
                    LabelRow{"IMPP;TYPE=WORK:xmpp:a@b.example", VCardLabels::Work},
                    LabelRow{"X-ABRELATEDNAMES;TYPE=MOTHER:Ann", "_$!<Mother>!$_"}));

struct TextRow
{
    QByteArray body;
    QString note;
    const char *version = "3.0";
};

class StoreVCardReaderText : public testing::TestWithParam<TextRow>
{
};

TEST_P(StoreVCardReaderText, EscapesFoldingAndCharsets)
{
    EXPECT_EQ(parseOne(GetParam().body, GetParam().version).note, GetParam().note)
        << GetParam().body.constData();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoreVCardReaderText,
    testing::Values(TextRow{"NOTE:a\\nb\\Nc", "a\nb\nc"}, TextRow{"NOTE:a\\,b\\;c\\\\d\\:e", "a,b;c\\d:e"},
                    TextRow{"NOTE:C:\\\\temp\\x", "C:\\temp\\x"}, TextRow{"NOTE:trailing\\", "trailing\\"},
                    TextRow{"NOTE:fol\r\n ded", "folded"}, TextRow{"NOTE:fol\n\tded", "folded"},
                    TextRow{"NOTE:fol\r\n  ded", "fol ded"}, TextRow{"NOTE:a\r\n b\r\n c", "abc"},
                    // CR CR LF is one line end, not an empty line that stops the unfolding.
                    TextRow{"NOTE:a\r\r\n b\r\r\n c", "abc"},
                    TextRow{"NOTE:one\r\nNOTE:\r\nNOTE:two", "one\ntwo"},
                    TextRow{"NOTE;ENCODING=QUOTED-PRINTABLE:soft=\r\nbreak=0D=0Aline", "softbreak\nline",
                            "2.1"},
                    TextRow{"NOTE;QUOTED-PRINTABLE:keep=\r\n leading", "keep leading", "2.1"},
                    // A parameter value that only names the encoding makes no soft line break.
                    TextRow{"NOTE;X-KIND=QUOTED-PRINTABLE:a=\r\nNOTE:b", "a=\nb", "2.1"},
                    TextRow{"NOTE;CHARSET=ISO-8859-1;ENCODING=QUOTED-PRINTABLE:caf=E9", "café", "2.1"},
                    // Encoded bytes without a CHARSET that are not UTF-8: Windows-1252.
                    TextRow{"NOTE;ENCODING=QUOTED-PRINTABLE:=93caf=E9=94", "\u201Ccafé\u201D", "2.1"},
                    TextRow{"NOTE;ENCODING=QUOTED-PRINTABLE:caf=C3=A9=00", "café", "2.1"},
                    TextRow{"NOTE;CHARSET=windows-1252:\x93quoted\x94", "\u201Cquoted\u201D", "2.1"},
                    TextRow{"NOTE;CHARSET=EUC-JP:\xC6\xFC\xCB\xDC", "日本", "2.1"},
                    TextRow{"NOTE;CHARSET=ISO-2022-JP:\x1B$BF|K\\\x1B(B", "日本", "2.1"},
                    TextRow{"NOTE;CHARSET=SHIFT_JIS;ENCODING=BASE64:k/qWe w==", "日本", "2.1"},
                    // A card already turned into UTF-8 text keeps its stale CHARSET.
                    TextRow{"NOTE;CHARSET=SHIFT_JIS:\xE6\x97\xA5\xE6\x9C\xAC", "日本", "2.1"},
                    TextRow{"NOTE;CHARSET=NO-SUCH-CHARSET:plain", "plain", "2.1"},
                    TextRow{"NOTE:\xFF", QString(QChar(QChar::ReplacementCharacter))}));

TEST(StoreVCardReader, StructuredValues)
{
    const StoreContact c =
        parseOne("N:O\\;Brien;Pat\\,rick;;;\r\nORG:A\\;B;C;D\r\nADR:PO 1;Suite 2;1 Main St;City;;;");
    EXPECT_EQ(c.familyName, "O;Brien");
    EXPECT_EQ(c.givenName, "Pat,rick");
    EXPECT_EQ(c.organizationName, "A;B");
    EXPECT_EQ(c.departmentName, "C, D");
    ASSERT_EQ(c.postalAddresses.size(), 1);
    EXPECT_EQ(c.postalAddresses.first().value.street, "1 Main St\nSuite 2\nPO 1");
    EXPECT_EQ(c.postalAddresses.first().value.city, "City");
}

TEST(StoreVCardReader, FormattedNameStandsInForAMissingName)
{
    EXPECT_EQ(parseOne("FN:Only Formatted").givenName, "Only Formatted");
    // An organisation without a person's name is the organisation's card.
    const StoreContact named = parseOne("N:;;;;\r\nFN:Acme\r\nORG:Acme");
    EXPECT_EQ(named.givenName, "");
    EXPECT_EQ(named.contactType(), StoreContactType::Organization);
    EXPECT_EQ(parseOne("ORG:Acme").contactType(), StoreContactType::Organization);
    EXPECT_EQ(parseOne("FN:Ann Lee\r\nORG:Acme").contactType(), StoreContactType::Person);
    const StoreContact company = parseOne("FN:Acme Inc\r\nKIND:org");
    EXPECT_EQ(company.contactType(), StoreContactType::Organization);
    EXPECT_EQ(company.organizationName, "Acme Inc");
}

struct DateRow
{
    const char *line;
    std::optional<DateComponents> birthday;
};

class StoreVCardReaderDates : public testing::TestWithParam<DateRow>
{
};

TEST_P(StoreVCardReaderDates, BirthdayForms)
{
    EXPECT_EQ(parseOne(GetParam().line).birthday, GetParam().birthday) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(Rows, StoreVCardReaderDates,
                         testing::Values(DateRow{"BDAY:--0315", DateComponents{std::nullopt, 3, 15}},
                                         DateRow{"BDAY:--03-15", DateComponents{std::nullopt, 3, 15}},
                                         DateRow{"BDAY:--02-29", DateComponents{std::nullopt, 2, 29}},
                                         DateRow{"BDAY:1985-03-15", DateComponents{1985, 3, 15}},
                                         DateRow{"BDAY:19850315", DateComponents{1985, 3, 15}},
                                         DateRow{"BDAY:1985-03-15T08:30:00Z", DateComponents{1985, 3, 15}},
                                         DateRow{"BDAY;VALUE=date:1985-03-15", DateComponents{1985, 3, 15}},
                                         DateRow{"BDAY:1604-03-15", DateComponents{std::nullopt, 3, 15}},
                                         DateRow{"BDAY:1985-13-01", std::nullopt},
                                         DateRow{"BDAY:1985-02-00", std::nullopt},
                                         DateRow{"BDAY:--3-15", std::nullopt},
                                         DateRow{"BDAY:tomorrow", std::nullopt},
                                         DateRow{"BDAY:", std::nullopt}));

TEST(StoreVCardReader, DatesAndAnniversaries)
{
    const StoreContact c = parseOne(
        "item1.X-ABDATE:2001-02-03\r\nANNIVERSARY:19990704\r\nX-ABDATE:nonsense\r\nitem1.X-ABLabel:Met");
    EXPECT_EQ(c.dates, QList<StoreLabeledDate>({{{}, "Met", date(2001, 2, 3)},
                                                {{}, VCardLabels::Anniversary, date(1999, 7, 4)}}));
}

// Writers without item labels name a date's kind by its TYPE word.
TEST(StoreVCardReader, DateLabelsOfTypeWords)
{
    const StoreContact c =
        parseOne("X-ABDATE;TYPE=anniversary:2010-06-12\r\nX-ABDATE;type=OTHER:2015-09-01\r\n"
                 "X-ABDATE;TYPE=graduation:--04-01\r\nX-ABDATE:2020-01-02");
    EXPECT_EQ(c.dates, QList<StoreLabeledDate>({{{}, VCardLabels::Anniversary, date(2010, 6, 12)},
                                                {{}, VCardLabels::Other, date(2015, 9, 1)},
                                                {{}, "graduation", date(std::nullopt, 4, 1)},
                                                {{}, "", date(2020, 1, 2)}}));
}

TEST(StoreVCardReader, InstantMessageForms)
{
    const StoreContact c = parseOne("IMPP;X-SERVICE-TYPE=skype:skype:one\r\n"
                                    "IMPP:xmpp:two@jabber.example\r\n"
                                    "IMPP;X-SERVICE-TYPE=Matrix:im:three\r\n"
                                    "X-ICQ;TYPE=HOME:12345\r\n"
                                    "X-SKYPE:one\r\n"
                                    "X-GOOGLE-TALK:four@gmail.example\r\n"
                                    "IMPP:aim:");
    EXPECT_EQ(c.instantMessageAddresses,
              QList<StoreLabeledInstantMessage>({{{}, "", im("Skype", "one")},
                                                 {{}, "", im("Jabber", "two@jabber.example")},
                                                 {{}, "", im("Matrix", "three")},
                                                 {{}, VCardLabels::Home, im("ICQ", "12345")},
                                                 {{}, "", im("GoogleTalk", "four@gmail.example")}}));
}

TEST(StoreVCardReader, SocialProfileWithoutUserTakesItFromTheUrl)
{
    const StoreContact c =
        parseOne("X-SOCIALPROFILE;type=FLICKR:https://www.flickr.example/people/snapper/\r\n"
                 "X-SOCIALPROFILE;type=mastodon;x-user=\"me;you\":\r\n"
                 "X-SOCIALPROFILE;type=twitter:");
    ASSERT_EQ(c.socialProfiles.size(), 2);
    EXPECT_EQ(c.socialProfiles.at(0).value,
              (StoreSocialProfile{"https://www.flickr.example/people/snapper/", "snapper", "", "Flickr"}));
    EXPECT_EQ(c.socialProfiles.at(1).value, (StoreSocialProfile{"", "me;you", "", "mastodon"}));
    EXPECT_EQ(c.socialProfiles.at(1).label, "mastodon");
}

TEST(StoreVCardReader, PhotoForms)
{
    const QByteArray png = QByteArray::fromBase64(
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVR4nGNgYPgPAAEDAQAIicLsAAAAAElFTkSuQmCC");
    const QByteArray base64 = png.toBase64();
    EXPECT_EQ(parseOne("PHOTO;ENCODING=b;TYPE=PNG:" + base64).imageData, png);
    EXPECT_EQ(parseOne("PHOTO:data:image/png;base64," + base64).imageData, png);
    EXPECT_EQ(parseOne("PHOTO;VALUE=uri:http://example.com/me.png").imageData, QByteArray());
    EXPECT_EQ(parseOne("LOGO;ENCODING=b:" + base64).imageData, png);
    EXPECT_EQ(
        parseOne("PHOTO;BASE64:\r\n" + base64.left(40) + "\r\n" + base64.mid(40) + "\r\n\r\nTEL:1", "2.1")
            .imageData,
        png);
}

// NUL bytes and byte-order marks inside a text go, in parameters as in values, so that a label or
// a note reads the same after a write (a decoder drops a mark only at the start of its bytes).
TEST(StoreVCardReader, StrayCharactersAreDroppedFromParametersAndValues)
{
    static const char body[] = "FN:Ben\r\nTEL;TYPE=HO\0ME:1\r\nNOTE:\0\xEF\xBB\xBFtwo\xEF\xBB\xBF words";
    const StoreContact contact = parseOne(QByteArray(body, sizeof(body) - 1));
    EXPECT_EQ(contact.phoneNumbers.first().label, VCardLabels::Home);
    EXPECT_EQ(contact.note, "two words");
}

// Every property the reader takes is found by its name in any letter case, and the lines it does
// not take are handed on in card order, each once.
TEST(StoreVCardReader, PropertiesAreFoundByNameAndTheRestHandedOn)
{
    for (const char *name : {"ADR",
                             "ANNIVERSARY",
                             "BDAY",
                             "EMAIL",
                             "FN",
                             "IMPP",
                             "KIND",
                             "LOGO",
                             "N",
                             "NICKNAME",
                             "NOTE",
                             "ORG",
                             "PHOTO",
                             "SOUND",
                             "TEL",
                             "TITLE",
                             "URL",
                             "X-ABDATE",
                             "X-ABRELATEDNAMES",
                             "X-ABSHOWAS",
                             "X-AIM",
                             "X-ANNIVERSARY",
                             "X-FACEBOOK",
                             "X-GADUGADU",
                             "X-GOOGLE-TALK",
                             "X-GOOGLETALK",
                             "X-ICQ",
                             "X-JABBER",
                             "X-MAIDENNAME",
                             "X-MSN",
                             "X-PHONETIC-FIRST-NAME",
                             "X-PHONETIC-LAST-NAME",
                             "X-PHONETIC-MIDDLE-NAME",
                             "X-QQ",
                             "X-SKYPE",
                             "X-SOCIALPROFILE",
                             "X-YAHOO",
                             "X-ABLABEL",
                             "X-ABADR"}) {
        EXPECT_TRUE(StoreVCardReader::readsProperty(name)) << name;
        EXPECT_TRUE(StoreVCardReader::readsProperty(QByteArray(name).toLower())) << name;
    }
    for (const char *name : {"", "A", "CATEGORIES", "UID", "X-", "X-ZZZ", "ZZZ", "TELX", "X-ABLABELS"})
        EXPECT_FALSE(StoreVCardReader::readsProperty(name)) << name;

    QList<QByteArray> handedOn;
    const std::optional<StoreContact> contact = StoreVCardReader::readFirstCard(
        "BEGIN:VCARD\r\nVERSION:3.0\r\nn:Lee;Ann;;;\r\nUID:1\r\nx-skype:ann\r\nX-PETS;TYPE=dog:Rex\r\n"
        " ter\r\nCATEGORIES:a,b\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:Second;;;;\r\nX-LATER:1\r\nEND:VCARD\r\n",
        {}, [&](const VCardContentLine &line) { handedOn.append(line.line().toByteArray()); });
    ASSERT_TRUE(contact);
    EXPECT_EQ(contact->familyName, "Lee");
    EXPECT_EQ(contact->instantMessageAddresses.size(), 1);
    EXPECT_EQ(handedOn,
              (QList<QByteArray>{"VERSION:3.0", "UID:1", "X-PETS;TYPE=dog:Rexter", "CATEGORIES:a,b"}));
}
