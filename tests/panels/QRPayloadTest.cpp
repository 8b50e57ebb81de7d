#include "panels/QRPayload.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

QRSelectionRow entry(const QString &type, const QString &label, const QString &value)
{
    return QRSelectionRow{type, label, value, true, std::nullopt};
}

QRSelectionRow field(const QString &type, bool selected = true)
{
    return QRSelectionRow{type, std::nullopt, QString(), selected, std::nullopt};
}

QRContactValues contact(const QString &name = "John Doe")
{
    QRContactValues values;
    values.name = name;
    values.firstName = "John";
    values.lastName = "Doe";
    values.phoneticFirstName = "jon";
    values.phoneticLastName = "doe";
    values.phonetic = "jon doe";
    return values;
}

const QRSelectionRow Home = entry("Phone", "home", "111");
const QRSelectionRow Mobile = entry("Phone", "mobile", "222");
const QRSelectionRow Mail = entry("Email", "work", "j@example.com");
const QRSelectionRow Street{
    "Address", "home", "1 Main St\nApt 2 Springfield ", true,
    QVariantMap{{"Street", "1 Main St\nApt 2"}, {"City", "Springfield"}, {"Country", "USA"}}};

struct FormatCase
{
    QRFormat format;
    QList<QRSelectionRow> rows;
    QString expected;
};

class QRPayloadFormatTest : public ::testing::TestWithParam<FormatCase>
{
};

TEST_P(QRPayloadFormatTest, GivesTheExactPayload)
{
    EXPECT_EQ(QRPayload::payload(GetParam().format, contact(), GetParam().rows), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, QRPayloadFormatTest,
    ::testing::Values(
        FormatCase{
            QRFormat::Docomo,
            {Home, Mail, Street},
            "MECARD:N:John Doe;SOUND:jon doe;TEL:111;EMAIL:j@example.com;ADR:1 Main St Apt 2 Springfield ;"},
        FormatCase{QRFormat::Au,
                   {Home, Mail},
                   "MEMORY:\nNAME1:John Doe\nNAME2:jon doe\nTEL1:111\nMAIL1:j@example.com\n"},
        FormatCase{QRFormat::Au,
                   {Street},
                   "MEMORY:\nNAME1:John Doe\nNAME2:jon doe\nADD:1 Main St Apt 2 Springfield \n"},
        FormatCase{QRFormat::SoftBank, {Home, Street}, "MEMORY:\nNAME1:John Doe\nNAME2:jon doe\nTEL1:111\n"},
        // One value per kind: the last one ticked.
        FormatCase{QRFormat::Phone, {Home, Mobile}, "tel:222"}, FormatCase{QRFormat::Phone, {}, "tel:"},
        FormatCase{QRFormat::Email, {field("Email")}, "mailto:"},
        FormatCase{QRFormat::URL, {entry("URL", "home", "example.com")}, "http://example.com"},
        FormatCase{QRFormat::URL, {entry("URL", "home", "https://example.com")}, "https://example.com"},
        // Schemes are case-insensitive: no "http://" goes in front of "HTTP://".
        FormatCase{QRFormat::URL, {entry("URL", "home", "HTTP://EXAMPLE.COM")}, "HTTP://EXAMPLE.COM"},
        FormatCase{QRFormat::URL, {field("URL", false)}, "http:"}));

TEST(QRPayloadTest, MecardEscapesBackslashBeforeSemicolon)
{
    EXPECT_EQ(QRPayload::payload(QRFormat::Docomo, contact("Doe;John"), {Home}),
              "MECARD:N:Doe\\;John;SOUND:jon doe;TEL:111;");
    EXPECT_EQ(QRPayload::escapeSemicolon("a\\;b"), "a\\\\\\;b");
}

TEST(QRPayloadTest, VCardListsEveryTickedValueEMailBeforePhone)
{
    QRContactValues values = contact();
    values.company = "Acme, Inc.";
    values.department = "R&D";
    values.jobTitle = "Engineer";
    const QList<QRSelectionRow> rows = {Home,
                                        entry("Phone", "Work", "333"),
                                        Mail,
                                        entry("Email", "mobile", "j@mobile.example"),
                                        Street,
                                        entry("URL", "work", "example.com"),
                                        entry("URL", "other", "https://example.org"),
                                        field("Company"),
                                        field("Department"),
                                        field("Job Title")};
    EXPECT_EQ(QRPayload::vCardFromContact(values, rows),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:John Doe\r\nN:Doe;John;;;\r\n"
              "X-PHONETIC-FIRST-NAME:jon\r\nX-PHONETIC-LAST-NAME:doe\r\n"
              "EMAIL;type=work:j@example.com\r\nEMAIL:j@mobile.example\r\n"
              "TEL;type=home:111\r\nTEL;type=Work:333\r\n"
              "ADR;type=home:;;1 Main St Apt 2;Springfield;;;USA\r\n"
              "URL;type=work:http://example.com\r\nURL:https://example.org\r\n"
              "ORG:Acme\\, Inc.;R&D\r\nTITLE:Engineer\r\nEND:VCARD\r\n");

    values.jobTitle.clear();
    const QString onlyDepartment =
        QRPayload::vCardFromContact(values, {field("Department"), field("Job Title")});
    EXPECT_TRUE(onlyDepartment.contains("\r\nN:Doe;John;;;\r\nX-PHONETIC-FIRST-NAME:jon\r\nX-PHONETIC-LAST-"
                                        "NAME:doe\r\nORG:;R&D\r\nEND:VCARD"));
}

// A value holding a line break, ";" or "\" cannot end its property and start another.
TEST(QRPayloadTest, NoValueAddsAProperty)
{
    const QString hostile = "Eve\r\nTEL:999;\\";
    QRContactValues values = contact(hostile);
    values.firstName = values.company = values.jobTitle = values.phonetic = hostile;
    const QList<QRSelectionRow> rows = {entry("Phone", "home", "111\nTEL:999"), field("Company"),
                                        field("Job Title")};
    EXPECT_EQ(QRPayload::payload(QRFormat::Docomo, values, rows),
              "MECARD:N:Eve TEL:999\\;\\\\;SOUND:Eve TEL:999\\;\\\\;TEL:111 TEL:999;");
    EXPECT_EQ(QRPayload::payload(QRFormat::Au, values, rows),
              "MEMORY:\nNAME1:Eve TEL:999;\\\nNAME2:Eve TEL:999;\\\nTEL1:111 TEL:999\n");
    EXPECT_EQ(QRPayload::vCardFromContact(values, rows),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Eve\\nTEL:999\\;\\\\\r\nN:Doe;Eve\\nTEL:999\\;\\\\;;;\r\n"
              "X-PHONETIC-FIRST-NAME:jon\r\nX-PHONETIC-LAST-NAME:doe\r\nTEL;type=home:111 TEL:999\r\n"
              "ORG:Eve\\nTEL:999\\;\\\\;\r\nTITLE:Eve\\nTEL:999\\;\\\\\r\nEND:VCARD\r\n");
}

} // namespace
