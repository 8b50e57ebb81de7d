#include "platform/StoreVCardWriter.h"
#include "VCardTestSupport.h"
#include "platform/StoreVCardSerialization.h"
#include "platform/VCardLabels.h"

#include "common/TestEnvironment.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <gtest/gtest.h>

namespace {

StoreContact westernPerson()
{
    StoreContact c;
    c.namePrefix = "Dr.";
    c.givenName = "Elise";
    c.middleName = "Marie";
    c.familyName = "Hartmann";
    c.nameSuffix = "PhD";
    c.nickname = "Lise";
    c.phoneticGivenName = "Eh-leez";
    c.phoneticMiddleName = "Ma-ree";
    c.phoneticFamilyName = "Hart-man";
    c.organizationName = "Northwind Traders";
    c.departmentName = "Research";
    c.jobTitle = "Head of Research";
    c.phoneNumbers = {{{}, VCardLabels::Mobile, "+49 170 1234567"},
                      {{}, VCardLabels::IPhone, "+49 171 1"},
                      {{}, VCardLabels::Home, "+49 30 2"},
                      {{}, VCardLabels::Work, "+49 30 3"},
                      {{}, VCardLabels::Main, "+49 30 4"},
                      {{}, VCardLabels::HomeFax, "+49 30 5"},
                      {{}, VCardLabels::WorkFax, "+49 30 6"},
                      {{}, VCardLabels::OtherFax, "+49 30 7"},
                      {{}, VCardLabels::Pager, "+49 30 8"},
                      {{}, VCardLabels::Other, "+49 30 9"},
                      {{}, "Boat", "+49 30 10"},
                      {{}, "", "+49 30 11"}};
    c.emailAddresses = {{{}, VCardLabels::Work, "elise@northwind.example"},
                        {{}, VCardLabels::Home, "elise@home.example"},
                        {{}, VCardLabels::Mobile, "sms@carrier.example"},
                        {{}, "Chess, club; etc.", "lise@club.example"}};
    c.postalAddresses = {
        {{}, VCardLabels::Work, {"Unter den Linden 1\nEtage 3", "Berlin", "", "10117", "Germany", "de"}},
        {{}, VCardLabels::Home, {"742 Evergreen Terrace", "Springfield", "IL", "62704", "USA", ""}},
        {{}, "Cabin", {"", "Bergen", "", "", "Norway", "no"}}};
    c.urlAddresses = {{{}, VCardLabels::HomePage, "https://northwind.example/a,b;c"},
                      {{}, VCardLabels::Work, "https://northwind.example"},
                      {{}, "Blog", "https://lise.example/blog"}};
    c.dates = {{{}, VCardLabels::Anniversary, {2012, 6, 16}},
               {{}, "Name day", {std::nullopt, 10, 1}},
               {{}, "", {1999, 1, 2}}};
    c.contactRelations = {
        {{}, "_$!<Spouse>!$_", "Jonas Hartmann"}, {{}, "godchild", "Greta"}, {{}, "", "Unlabelled"}};
    c.birthday = DateComponents{std::nullopt, 3, 15};
    c.socialProfiles = {
        {{}, "Twitter", {"http://twitter.com/elisehart", "elisehart", "", "Twitter"}},
        {{}, "LinkedIn", {"https://www.linkedin.com/in/eh", "eh", "99887", "LinkedIn"}},
        {{}, "Mastodon", {"https://social.example/@lise", "lise@social.example", "", "Mastodon"}}};
    c.instantMessageAddresses = {{{}, VCardLabels::Home, {"elise.hartmann", "Skype"}},
                                 {{}, VCardLabels::Work, {"elise@northwind.example", "Jabber"}},
                                 {{}, "Gaming", {"lisehart", "AIM"}},
                                 {{}, "", {"lise:42", "Matrix"}},
                                 {{}, "", {"nobody", ""}}};
    return c;
}

StoreContact organization()
{
    StoreContact c;
    c.setContactType(StoreContactType::Organization);
    c.organizationName = "Northwind Traders";
    c.phoneNumbers = {{{}, VCardLabels::Main, "+49 30 1234-0"}};
    c.birthday = DateComponents{1990, 12, 31};
    return c;
}

StoreContact japanesePerson()
{
    StoreContact c;
    c.familyName = "山田";
    c.givenName = "太郎";
    c.phoneticFamilyName = "やまだ";
    c.phoneticGivenName = "たろう";
    c.organizationName = "株式会社サンプルソフトウェア開発研究所東京本社営業本部第一営業部第二課";
    c.departmentName = "営業部";
    c.jobTitle = "課長";
    c.postalAddresses = {{{},
                          VCardLabels::Home,
                          {"千代田1-1 千代田ビルディング東館十二階 表参道ソフトウェアセンター", "千代田区",
                           "東京都", "100-0001", "日本", "jp"}}};
    c.contactRelations = {{{}, "_$!<Mother>!$_", "山田 花子"}};
    return c;
}

StoreContact escapedText()
{
    StoreContact c;
    c.familyName = "O;Brien, \\the\\";
    c.givenName = "Line\nbreak";
    c.nickname = "a,b;c\\d\ne";
    c.jobTitle = QString(200, QChar(u'é'));
    c.phoneNumbers = {{{}, "Weird; label, here\\", "+1 (555) 0100, ext. 7"}};
    c.emailAddresses = {{{}, "", "semi;colon@example.com"}};
    c.socialProfiles = {
        {{}, "Custom, Service", {"http://x.example/a\\b", "user:name", "id;1", "Custom, Service"}}};
    return c;
}

// Accounts of every form the reader takes (each known service by scheme, by its name in other
// letter cases, by an X- property; unknown ones as written, escapes and all), an address whose
// percent escapes make characters that no value keeps, and services made in the program that a
// parameter cannot hold as they stand: each must read back the same.
StoreContact instantMessages()
{
    QByteArray card =
        "BEGIN:VCARD\r\nVERSION:3.0\r\nIMPP:GoogleTalk:a\r\nIMPP:Matrix:b\r\nIMPP:s\\n:c\r\n"
        "IMPP;TYPE=WORK;X-SERVICE-TYPE=Google Talk:xmpp:d\r\nIMPP;X-SERVICE-TYPE=MaTrIx:im:e\r\n"
        "IMPP;X-SERVICE-TYPE=s\\n:im:f\r\nIMPP;X-SERVICE-TYPE=a\\,b\\;c:im:g\r\n"
        "IMPP;X-SERVICE-TYPE=\"a;b\":im:h\r\nX-JABBER;TYPE=HOME:i\r\nX-GOOGLE-TALK:j\r\n"
        "IMPP:aim:nul%00bom%EF%BB%BF\r\n";
    for (const QByteArray service : {"aim", "facebook", "gadugadu", "googletalk", "icq", "jabber", "msn",
                                     "qq", "skype", "yahoo", "gg", "gtalk", "xmpp", "irc"})
        card += "IMPP:" + service + ":k\r\nIMPP;X-SERVICE-TYPE=" + service.toUpper() + ":im:l\r\n";
    StoreContact c = StoreVCardSerialization::contactsWithData(card + "END:VCARD\r\n").contacts.value(0);
    for (const QString service : {"s\nt", "q\"u^o^n", " blank ends ", "back\\"})
        c.instantMessageAddresses.append({{}, "", {"m", service}});
    return c;
}

// Profiles of every shape the reader takes, and ones made here that no parameter holds as they stand.
StoreContact socialProfiles()
{
    const QString seed =
        TestEnvironment::dataPath(QStringLiteral("fuzz/fuzz_vcard_store/seed-social-shapes.vcf"));
    StoreContact c = StoreVCardSerialization::contactsWithData(readFixture(seed)).contacts.value(0);
    for (const QString shape : {"s\nt", "q\"u^o^n", " blank ends ", "back\\", "a;b,c:d"})
        c.socialProfiles.append({{}, shape, {"https://x.example/a\nb\"c", shape, shape, shape}});
    return c;
}

// Everything the writer writes; the note, photo and previous family name are not written.
void expectSameWrittenFields(const StoreContact &a, const StoreContact &b)
{
    EXPECT_EQ(a.contactType(), b.contactType());
    EXPECT_EQ(QStringList({a.namePrefix, a.givenName, a.middleName, a.familyName, a.nameSuffix, a.nickname}),
              QStringList({b.namePrefix, b.givenName, b.middleName, b.familyName, b.nameSuffix, b.nickname}));
    EXPECT_EQ(QStringList({a.phoneticGivenName, a.phoneticMiddleName, a.phoneticFamilyName}),
              QStringList({b.phoneticGivenName, b.phoneticMiddleName, b.phoneticFamilyName}));
    EXPECT_EQ(QStringList({a.organizationName, a.departmentName, a.jobTitle}),
              QStringList({b.organizationName, b.departmentName, b.jobTitle}));
    EXPECT_EQ(a.phoneNumbers, b.phoneNumbers);
    EXPECT_EQ(a.emailAddresses, b.emailAddresses);
    EXPECT_EQ(a.postalAddresses, b.postalAddresses);
    EXPECT_EQ(a.urlAddresses, b.urlAddresses);
    EXPECT_EQ(a.dates, b.dates);
    EXPECT_EQ(a.contactRelations, b.contactRelations);
    EXPECT_EQ(a.birthday, b.birthday);
    EXPECT_EQ(a.socialProfiles, b.socialProfiles);
    EXPECT_EQ(a.instantMessageAddresses, b.instantMessageAddresses);
}

// The physical lines, without their CR LF.
QList<QByteArray> physicalLines(const QByteArray &data)
{
    QList<QByteArray> lines = data.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        line.chop(1);
    return lines;
}

QByteArray unfolded(const QByteArray &data)
{
    QByteArray text = data;
    return text.replace("\r\n ", "");
}

struct ContactRow
{
    const char *name;
    StoreContact (*make)();
};

class StoreVCardWriterContacts : public testing::TestWithParam<ContactRow>
{
};

} // namespace

TEST_P(StoreVCardWriterContacts, RoundTripKeepsEveryWrittenField)
{
    const StoreContact original = GetParam().make();
    const QByteArray data = StoreVCardSerialization::dataWithContacts({original, original});
    const StoreVCardReadResult result = StoreVCardSerialization::contactsWithData(data);
    ASSERT_TRUE(result.isOk());
    ASSERT_EQ(result.contacts.size(), 2);
    for (const StoreContact &read : result.contacts) {
        expectSameWrittenFields(original, read);
        EXPECT_NE(read.identifier(), original.identifier());
    }
    EXPECT_NE(result.contacts.at(0).identifier(), result.contacts.at(1).identifier());
}

TEST_P(StoreVCardWriterContacts, LinesAreFoldedCrLfUtf8)
{
    const QByteArray data = StoreVCardSerialization::dataWithContacts({GetParam().make()});
    EXPECT_TRUE(data.startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\n"));
    EXPECT_TRUE(data.endsWith("\r\nEND:VCARD\r\n"));
    EXPECT_EQ(data.count('\n'), data.count("\r\n"));
    EXPECT_EQ(data.count('\r'), data.count("\r\n"));
    for (const QByteArray &line : physicalLines(data)) {
        EXPECT_LE(line.size(), 75) << line.constData();
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString text = decoder.decode(line);
        EXPECT_FALSE(decoder.hasError()) << "a character is split at a fold: " << line.toHex().constData();
        EXPECT_FALSE(text.isEmpty());
    }
}

TEST_P(StoreVCardWriterContacts, WritesNoLineThatTheProgramAddsOrTakesForACustomItem)
{
    StoreContact contact = GetParam().make();
    contact.note = "A note";
    contact.imageData = QByteArray(300, 'x');
    contact.previousFamilyName = "Maiden";
    const QStringList allowed{"X-ABUID",
                              "X-SOCIALPROFILE",
                              "X-ABShowAs",
                              "X-PHONETIC-FIRST-NAME",
                              "X-PHONETIC-MIDDLE-NAME",
                              "X-PHONETIC-LAST-NAME",
                              "X-AIM",
                              "X-MSN",
                              "X-JABBER",
                              "X-YAHOO",
                              "X-FACEBOOK",
                              "X-GADUGADU",
                              "X-SKYPE",
                              "X-GOOGLETALK",
                              "X-ICQ",
                              "X-QQ",
                              "X-MAIDENNAME"};
    const QByteArray data = StoreVCardSerialization::dataWithContacts({contact});
    for (const QByteArray &line : unfolded(data).split('\n')) {
        const QString name = QString::fromUtf8(line).section(QRegularExpression("[;:]"), 0, 0);
        EXPECT_FALSE(name == "NOTE" || name == "PHOTO" || name == "CATEGORIES") << line.constData();
        if (name.startsWith("X-")) {
            EXPECT_TRUE(allowed.contains(name)) << line.constData();
        }
    }
    EXPECT_TRUE(data.contains("\r\nX-MAIDENNAME:Maiden\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoreVCardWriterContacts,
    testing::Values(ContactRow{"western", westernPerson}, ContactRow{"organization", organization},
                    ContactRow{"japanese", japanesePerson}, ContactRow{"escapes", escapedText},
                    ContactRow{"instantMessages", instantMessages},
                    ContactRow{"socialProfiles", socialProfiles},
                    ContactRow{"empty", [] { return StoreContact(); }}),
    [](const testing::TestParamInfo<ContactRow> &info) { return std::string(info.param.name); });

TEST(StoreVCardWriter, WritesTheExpectedLines)
{
    const QByteArray text = unfolded(StoreVCardSerialization::dataWithContacts({westernPerson()}));
    const QList<QByteArray> expected{
        "\r\nN:Hartmann;Elise;Marie;Dr.;PhD\r\n",
        "\r\nTEL;TYPE=IPHONE,CELL:+49 171 1\r\n",
        "\r\nTEL;TYPE=HOME,FAX:+49 30 5\r\n",
        "\r\nitem1.TEL:+49 30 10\r\nitem1.X-ABLabel:Boat\r\n",
        "\r\nTEL:+49 30 11\r\n",
        "\r\nitem2.EMAIL;TYPE=INTERNET:sms@carrier.example\r\nitem2.X-ABLabel:_$!<Mobile>!$_\r\n",
        "\r\nitem3.EMAIL;TYPE=INTERNET:lise@club.example\r\nitem3.X-ABLabel:Chess\\, club\\; etc.\r\n",
        "\r\nitem4.ADR;TYPE=WORK:;;Unter den Linden 1\\nEtage "
        "3;Berlin;;10117;Germany\r\nitem4.X-ABADR:de\r\n",
        "\r\nURL;TYPE=HOMEPAGE:https://northwind.example/a,b;c\r\n",
        "\r\nitem8.X-ABDATE:--10-01\r\nitem8.X-ABLabel:Name day\r\n",
        "\r\nitem9.X-ABDATE:1999-01-02\r\nitem10.X-ABRELATEDNAMES:Jonas Hartmann\r\n",
        "\r\nBDAY:--03-15\r\n",
        "\r\nX-SOCIALPROFILE;TYPE=twitter;X-USER=elisehart:http://twitter.com/elisehart\r\n",
        "\r\nIMPP;TYPE=HOME;X-SERVICE-TYPE=Skype:skype:elise.hartmann\r\n",
        "\r\nIMPP:im:nobody\r\n",
    };
    for (const QByteArray &fragment : expected)
        EXPECT_TRUE(text.contains(fragment)) << fragment.constData();
    EXPECT_FALSE(text.contains("X-ABShowAs"));
}

TEST(StoreVCardWriter, OrganizationIsMarked)
{
    const QByteArray text = StoreVCardSerialization::dataWithContacts({organization()});
    EXPECT_TRUE(text.contains("\r\nX-ABShowAs:COMPANY\r\n"));
    EXPECT_TRUE(text.contains("\r\nFN:Northwind Traders\r\n"));
    EXPECT_TRUE(text.contains("\r\nBDAY:1990-12-31\r\n"));
}

// Characters outside the basic plane, one without its pair, and a value folded between them.
StoreContact surrogates()
{
    StoreContact c;
    c.givenName = QString::fromUtf8("Smile \xF0\x9F\x98\x80");
    c.nickname = QStringLiteral("x") + QChar(0xD800) + QStringLiteral("y") + QChar(0xDC00);
    c.jobTitle = QString::fromUtf8("\xF0\x9F\x8E\xB5").repeated(40);
    return c;
}

// Every kind of line, byte for byte as the golden file has it. CT_WRITE_GOLDEN=1 writes it anew.
TEST(StoreVCardWriter, WritesTheGoldenCards)
{
    const QByteArray text = StoreVCardSerialization::dataWithContacts(
        {westernPerson(), organization(), japanesePerson(), escapedText(), surrogates()});
    QFile golden(TestEnvironment::dataPath(QStringLiteral("vcard-export/store-writer.vcf")));
    if (qEnvironmentVariableIsSet("CT_WRITE_GOLDEN")) {
        ASSERT_TRUE(golden.open(QIODevice::WriteOnly));
        golden.write(text);
        return;
    }
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly));
    EXPECT_EQ(physicalLines(text), physicalLines(golden.readAll()));
}

struct FoldRow
{
    QByteArray line;
    QList<QByteArray> physical;
};

class StoreVCardWriterFolding : public testing::TestWithParam<FoldRow>
{
};

TEST_P(StoreVCardWriterFolding, FoldsAt75Octets)
{
    const QByteArray folded = StoreVCardWriter::foldedLine(GetParam().line);
    EXPECT_EQ(physicalLines(folded), GetParam().physical);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoreVCardWriterFolding,
    testing::Values(FoldRow{"SHORT:x", {"SHORT:x"}}, FoldRow{QByteArray(75, 'a'), {QByteArray(75, 'a')}},
                    FoldRow{QByteArray(76, 'a'), {QByteArray(75, 'a'), " a"}},
                    FoldRow{QByteArray(75 + 74 + 1, 'a'),
                            {QByteArray(75, 'a'), " " + QByteArray(74, 'a'), " a"}},
                    // 73 ASCII octets leave two before the limit: the three-octet 日 moves whole.
                    FoldRow{QByteArray(73, 'a') + "日本", {QByteArray(73, 'a'), " 日本"}},
                    FoldRow{QByteArray(72, 'a') + "日本", {QByteArray(72, 'a') + "日", " 本"}}));
