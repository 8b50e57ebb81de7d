#include "platform/StoreEntryCodec.h"
#include "platform/StoreTextPool.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <gtest/gtest.h>

namespace {

// How the store read every entry value before it read them from their bytes: through UTF-16 into
// QJsonDocument. Every text must give the same values both ways.
QJsonObject documentReading(const QByteArray &utf8)
{
    return QJsonDocument::fromJson(QString::fromUtf8(utf8).toUtf8()).object();
}

void expectSameText(const QString &read, const QJsonObject &object, const QString &key,
                    const QByteArray &text)
{
    const QString expected = object.value(key).toString();
    EXPECT_EQ(read, expected) << key.toStdString() << " of " << text.toStdString();
    EXPECT_EQ(read.isNull(), expected.isNull()) << key.toStdString() << " of " << text.toStdString();
}

StorePostalAddress addressRead(const QByteArray &text)
{
    StoreContact contact;
    StoreTextPool pool;
    StoreEntryCodec::kindForKey(StoreKey::PostalAddresses)
        ->append(contact, {"id", "_$!<Home>!$_", text}, pool);
    return contact.postalAddresses.value(0).value;
}

QByteArray written(const StorePostalAddress &address)
{
    StoreContact contact;
    contact.postalAddresses = {{QStringLiteral("id"), QString(), address}};
    return StoreEntryCodec::kindForKey(StoreKey::PostalAddresses)->rowsOf(contact).value(0).value.toUtf8();
}

TEST(StoreEntryCodec, ObjectValuesReadAsTheDocumentReaderReadsThem)
{
    const QList<QByteArray> texts{
        written({QStringLiteral("1-2-3 丸の内\nBuilding \"4\"\t\\ / 😀"), QStringLiteral("千代田区"),
                 QString(QChar(1)) + QStringLiteral("x\u007f"), QString(), QStringLiteral("Japan"),
                 QStringLiteral("jp")}),
        R"( { "street" : "a" , "city":"b\u00e9\u3042" , "country":"" } )",
        R"({"street":"\ud83d\ude00","city":"\ud800"})",
        R"({"street":5,"city":null,"state":true,"postalCode":"1"})",
        R"({"street":{"a":"b"},"city":"c"})",
        R"({"street":"a","street":"b"})",
        R"({"street":"a"}x)",
        R"({"street":"a" "city":"b"})",
        R"({"street":"a\qb"})",
        R"({"street":"unterminated)",
        "{\"street\":\"a\x01"
        "b\"}",
        "{\"street\":\"\xff\xfe ok \xe3\x81\"}",
        R"([1,2])",
        "",
        "not json",
        "{}",
    };
    for (const QByteArray &text : texts) {
        const StorePostalAddress read = addressRead(text);
        const QJsonObject object = documentReading(text);
        expectSameText(read.street, object, StoreValueKey::Street, text);
        expectSameText(read.city, object, StoreValueKey::City, text);
        expectSameText(read.state, object, StoreValueKey::State, text);
        expectSameText(read.postalCode, object, StoreValueKey::PostalCode, text);
        expectSameText(read.country, object, StoreValueKey::Country, text);
        expectSameText(read.isoCountryCode, object, StoreValueKey::ISOCountryCode, text);
    }
}

TEST(StoreEntryCodec, DatesReadAsTheDocumentReaderReadsThem)
{
    const QList<QByteArray> texts{
        StoreEntryCodec::encodeDate({1990, 3, 4}).toUtf8(),
        StoreEntryCodec::encodeDate({std::nullopt, 2, 29}).toUtf8(),
        R"({"year":-5,"month":0,"day":-0})",
        R"({"year":1e3,"month":3.5,"day":"4"})",
        R"({"year":01})",
        R"({"year":123456789,"month":1234567890})",
        R"({"year":2000,"year":2001})",
        "{}",
        "[]",
        "",
    };
    for (const QByteArray &text : texts) {
        const QJsonDocument document = QJsonDocument::fromJson(text);
        const std::optional<DateComponents> read = StoreEntryCodec::decodeDate(text);
        ASSERT_EQ(read.has_value(), document.isObject()) << text.toStdString();
        if (!read)
            continue;
        for (const auto &[key, part] :
             {std::pair{"year", read->year}, std::pair{"month", read->month}, std::pair{"day", read->day}}) {
            const QJsonValue value = document.object().value(QLatin1String(key));
            EXPECT_EQ(part, value.isDouble() ? std::optional<int>(value.toInt()) : std::nullopt)
                << key << " of " << text.toStdString();
        }
    }
}

TEST(StoreEntryCodec, EveryKindReadsBackWhatItWrote)
{
    StoreContact contact;
    contact.dates = {{QStringLiteral("d"), QStringLiteral("wedding"), {std::nullopt, 12, 24}}};
    contact.phoneNumbers = {
        {QStringLiteral("p"), QStringLiteral("_$!<Mobile>!$_"), QStringLiteral("+81 90")}};
    contact.postalAddresses = {
        {QStringLiteral("a"), QString(), {QStringLiteral("s\n2"), {}, {}, {}, {}, {}}}};
    contact.socialProfiles = {
        {QStringLiteral("s"),
         QStringLiteral("x"),
         {QStringLiteral("u"), QStringLiteral("n"), QStringLiteral("1"), QStringLiteral("T")}}};
    contact.instantMessageAddresses = {{QStringLiteral("i"),
                                        QStringLiteral("_$!<Home>!$_"),
                                        {QStringLiteral("aoi"), QStringLiteral("Skype")}}};
    StoreContact read;
    StoreTextPool pool;
    for (const StoreEntryCodec::Kind &kind : StoreEntryCodec::kinds()) {
        for (const StoreEntryCodec::Row &row : kind.rowsOf(contact)) {
            const QByteArray identifier = row.identifier.toUtf8();
            const QByteArray label = row.label.toUtf8();
            const QByteArray value = row.value.toUtf8();
            kind.append(read, {identifier, label, value}, pool);
        }
    }
    EXPECT_EQ(read.dates, contact.dates);
    EXPECT_EQ(read.phoneNumbers, contact.phoneNumbers);
    EXPECT_EQ(read.postalAddresses, contact.postalAddresses);
    EXPECT_EQ(read.socialProfiles, contact.socialProfiles);
    EXPECT_EQ(read.instantMessageAddresses, contact.instantMessageAddresses);
}

TEST(StoreTextPool, RepeatedTextsShareOneStringAndReadAsTheyWould)
{
    StoreTextPool pool;
    const QString home = pool.text("_$!<Home>!$_");
    EXPECT_EQ(home, QStringLiteral("_$!<Home>!$_"));
    EXPECT_TRUE(pool.text("_$!<Home>!$_").isSharedWith(home));
    EXPECT_EQ(pool.text("\xe8\x87\xaa\xe5\xae\x85"), QStringLiteral("自宅"));
    const QString empty = pool.text(QByteArrayView("", 0));
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.isNull(), QString::fromUtf8(QByteArrayView("", 0)).isNull());
    const QByteArray longText(200, 'x');
    EXPECT_EQ(pool.text(longText), QString::fromUtf8(longText));
}

} // namespace
