#include "panels/QRPayload.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

QRSelectionRow entry(const QString &type, const QString &label, const QString &value, bool selected = true)
{
    return QRSelectionRow{type, label, value, selected, std::nullopt};
}

QRSelectionRow field(const QString &type, bool selected = true)
{
    return QRSelectionRow{type, std::nullopt, QString(), selected, std::nullopt};
}

QRSelectionRow address(const QString &label, const QVariantMap &parts, const QString &oneLine)
{
    return QRSelectionRow{"Address", label, oneLine, true, parts};
}

QRContactValues contact(const QString &name = "John Doe")
{
    QRContactValues values;
    values.name = name;
    values.firstName = "John";
    values.lastName = "Doe";
    return values;
}

QRContactValues withPhonetic()
{
    QRContactValues values = contact();
    values.phoneticFirstName = "jon";
    values.phoneticLastName = "doe";
    values.phonetic = "jon doe";
    return values;
}

struct FormatCase
{
    const char *name;
    QRFormat format;
    QList<QRSelectionRow> rows;
    QString expected;
};

void PrintTo(const FormatCase &formatCase, std::ostream *os)
{
    *os << formatCase.name;
}

class QRPayloadFormatTest : public ::testing::TestWithParam<FormatCase>
{
};

TEST_P(QRPayloadFormatTest, GivesTheExactPayload)
{
    EXPECT_EQ(QRPayload::payload(GetParam().format, withPhonetic(), GetParam().rows), GetParam().expected);
}

const QRSelectionRow Home = entry("Phone", "home", "111");
const QRSelectionRow Mobile = entry("Phone", "mobile", "222");
const QRSelectionRow Mail = entry("Email", "work", "j@example.com");
const QRSelectionRow Street =
    address("home", {{"Street", "1 Main St\nApt 2"}, {"City", "Springfield"}}, "1 Main St\nApt 2 Springfield ");

INSTANTIATE_TEST_SUITE_P(
    Formats, QRPayloadFormatTest,
    ::testing::Values(
        FormatCase{"mecard", QRFormat::Docomo, {Home, Mail, Street},
                   "MECARD:N:John Doe;SOUND:jon doe;TEL:111;EMAIL:j@example.com;ADR:1 Main St Apt 2 Springfield ;"},
        FormatCase{"au", QRFormat::Au, {Home, Mail, Street},
                   "MEMORY:\nNAME1:John Doe\nNAME2:jon doe\nTEL1:111\nMAIL1:j@example.com\nADD:1 Main St Apt 2 "
                   "Springfield \n"},
        FormatCase{"au without address", QRFormat::Au, {Home, Mail},
                   "MEMORY:\nNAME1:John Doe\nNAME2:jon doe\nTEL1:111\nMAIL1:j@example.com\n"},
        FormatCase{"softbank leaves the address out", QRFormat::SoftBank, {Home, Mail, Street},
                   "MEMORY:\nNAME1:John Doe\nNAME2:jon doe\nTEL1:111\nMAIL1:j@example.com\n"},
        FormatCase{"the last ticked phone", QRFormat::Phone, {Home, Mobile}, "tel:222"},
        FormatCase{"unticked rows count for nothing", QRFormat::Phone,
                   {Home, entry("Phone", "work", "333", false)}, "tel:111"},
        FormatCase{"no phone", QRFormat::Phone, {}, "tel:"},
        FormatCase{"mailto", QRFormat::Email, {Mail}, "mailto:j@example.com"},
        FormatCase{"no e-mail", QRFormat::Email, {field("Email")}, "mailto:"},
        FormatCase{"url without scheme", QRFormat::URL, {entry("URL", "home", "example.com")},
                   "http://example.com"},
        FormatCase{"https url", QRFormat::URL, {entry("URL", "home", "https://example.com")},
                   "https://example.com"},
        FormatCase{"upper-case scheme", QRFormat::URL, {entry("URL", "home", "HTTP://EXAMPLE.COM")},
                   "HTTP://EXAMPLE.COM"},
        FormatCase{"other scheme", QRFormat::URL, {entry("URL", "home", "ftp://example.com")},
                   "http://ftp://example.com"},
        FormatCase{"no url", QRFormat::URL, {entry("URL", "home", "example.com", false)}, "http:"}));

TEST(QRPayloadTest, MecardEscapesTheNameAndLeavesEmptyPartsOut)
{
    EXPECT_EQ(QRPayload::payload(QRFormat::Docomo, contact("Doe;John"), {Home}), "MECARD:N:Doe\\;John;TEL:111;");
    EXPECT_EQ(QRPayload::payload(QRFormat::Docomo, contact("a\\;b"), {}), "MECARD:N:a\\\\\\;b;");
}

TEST(QRPayloadTest, VCardListsEveryTickedValueEMailBeforePhone)
{
    QRContactValues values = withPhonetic();
    values.company = "Acme, Inc.";
    values.department = "R&D";
    values.jobTitle = "Engineer";
    const QList<QRSelectionRow> rows = {
        Home,
        entry("Phone", "Work", "333"),
        entry("Email", "Work", "j@example.com"),
        entry("Email", "mobile", "j@mobile.example"),
        address("home", {{"Street", "1 Main St"}, {"City", "Springfield"}, {"State", "IL"}, {"Country", "USA"}},
                "1 Main St Springfield IL USA "),
        entry("URL", "work", "example.com"),
        entry("URL", "other", "https://example.org", true),
        field("Company"),
        field("Department"),
        field("Job Title"),
    };
    EXPECT_EQ(QRPayload::vCardFromContact(values, rows),
              "BEGIN:VCARD\r\nVERSION:3.0\r\n"
              "FN:John Doe\r\nN:Doe;John;;;\r\n"
              "X-PHONETIC-FIRST-NAME:jon\r\nX-PHONETIC-LAST-NAME:doe\r\n"
              "EMAIL;type=Work:j@example.com\r\nEMAIL:j@mobile.example\r\n"
              "TEL;type=home:111\r\nTEL;type=Work:333\r\n"
              "ADR;type=home:;;1 Main St;Springfield;IL;;USA\r\n"
              "URL;type=work:http://example.com\r\nURL:https://example.org\r\n"
              "ORG:Acme\\, Inc.;R&D\r\nTITLE:Engineer\r\n"
              "END:VCARD\r\n");
}

TEST(QRPayloadTest, VCardTakesCompanyAndTitleOnlyWhenTicked)
{
    QRContactValues values = contact();
    values.company = "Acme";
    values.department = "Sales";
    values.jobTitle = "Boss";
    const QString onlyDepartment =
        QRPayload::vCardFromContact(values, {field("Company", false), field("Department"), field("Job Title", false)});
    EXPECT_TRUE(onlyDepartment.contains("\r\nORG:;Sales\r\n"));
    EXPECT_FALSE(onlyDepartment.contains("TITLE"));
    EXPECT_EQ(QRPayload::vCardFromContact(contact(), {field("Company"), field("Job Title")}),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:John Doe\r\nN:Doe;John;;;\r\nEND:VCARD\r\n");
}

// A value may hold a line break, ";" or "\"; none of them may end its property and start another.
class QRPayloadInjectionTest : public ::testing::TestWithParam<QRFormat>
{
};

TEST_P(QRPayloadInjectionTest, NoValueAddsAProperty)
{
    const QString hostile = "Eve\r\nTEL:999;\\";
    QRContactValues values = contact(hostile);
    values.firstName = hostile;
    values.company = hostile;
    values.jobTitle = hostile;
    values.phonetic = hostile;
    const QList<QRSelectionRow> rows = {entry("Phone", "home", "111\nTEL:999"), field("Company"), field("Job Title")};
    const QString text = QRPayload::payload(GetParam(), values, rows);
    EXPECT_EQ(text.count("TEL:999"), text.count(" TEL:999") + text.count("\\nTEL:999")) << text.toStdString();
    EXPECT_FALSE(text.contains('\r') && !text.startsWith("BEGIN:VCARD"));
    if (GetParam() == QRFormat::VCard) {
        // One line per property: BEGIN, VERSION, FN, N, TEL, ORG, TITLE, END.
        EXPECT_EQ(text.split("\r\n", Qt::SkipEmptyParts).size(), 8) << text.toStdString();
        EXPECT_TRUE(text.contains("\r\nFN:Eve\\nTEL:999\\;\\\\\r\n"));
        EXPECT_TRUE(text.contains("\r\nORG:Eve\\nTEL:999\\;\\\\;\r\n"));
    } else if (GetParam() == QRFormat::Docomo) {
        EXPECT_EQ(text, "MECARD:N:Eve TEL:999\\;\\\\;SOUND:Eve TEL:999\\;\\\\;TEL:111 TEL:999;");
    } else {
        EXPECT_EQ(text.count('\n'), 4) << text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, QRPayloadInjectionTest,
                         ::testing::Values(QRFormat::Docomo, QRFormat::Au, QRFormat::VCard));

TEST(QRPayloadTest, EachFormatReadsItsKinds)
{
    const QStringList kinds = {"Phone", "Email", "Address", "URL", "Company", "Department", "Job Title"};
    auto used = [&](QRFormat format) {
        QStringList list;
        for (const QString &kind : kinds) {
            if (QRPayload::formatUsesKind(format, kind))
                list.append(kind);
        }
        return list;
    };
    for (const QRFormat carrier : {QRFormat::Docomo, QRFormat::Au, QRFormat::SoftBank})
        EXPECT_EQ(used(carrier), QStringList({"Phone", "Email", "Address"}));
    EXPECT_EQ(used(QRFormat::Phone), QStringList{"Phone"});
    EXPECT_EQ(used(QRFormat::Email), QStringList{"Email"});
    EXPECT_EQ(used(QRFormat::URL), QStringList{"URL"});
    EXPECT_EQ(used(QRFormat::VCard), kinds);
}

} // namespace
