#include "platform/StoreEntryCodec.h"

#include "platform/StoreFlatJson.h"
#include "platform/StoreTextPool.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace StoreEntryCodec {

namespace {

QString toText(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

// The object of a stored value. Our own flat form is read straight from its bytes; any other text
// as QJsonDocument reads it, through UTF-16 as the store always read it (bytes that are not UTF-8
// become replacement characters).
class StoredObject
{
public:
    explicit StoredObject(QByteArrayView utf8) : m_flat(StoreFlatJson::parse(utf8))
    {
        if (m_flat)
            return;
        const QJsonDocument document = QJsonDocument::fromJson(QString::fromUtf8(utf8).toUtf8());
        m_isObject = document.isObject();
        m_object = document.object();
    }

    bool isObject() const { return m_flat || m_isObject; }

    QString text(const QString &key) const
    {
        return m_flat ? m_flat->text(key) : m_object.value(key).toString();
    }

    std::optional<int> number(const QString &key) const
    {
        if (m_flat)
            return m_flat->number(key);
        const QJsonValue value = m_object.value(key);
        return value.isDouble() ? std::optional<int>(value.toInt()) : std::nullopt;
    }

private:
    std::optional<StoreFlatJson> m_flat;
    bool m_isObject = false;
    QJsonObject m_object;
};

QString encode(const QString &value)
{
    return value;
}

QString encode(const DateComponents &date)
{
    return encodeDate(date);
}

QString encode(const StorePostalAddress &address)
{
    return toText({{StoreValueKey::Street, address.street},
                   {StoreValueKey::City, address.city},
                   {StoreValueKey::State, address.state},
                   {StoreValueKey::PostalCode, address.postalCode},
                   {StoreValueKey::Country, address.country},
                   {StoreValueKey::ISOCountryCode, address.isoCountryCode}});
}

QString encode(const StoreSocialProfile &profile)
{
    return toText({{StoreValueKey::UrlString, profile.urlString},
                   {StoreValueKey::Username, profile.username},
                   {StoreValueKey::UserIdentifier, profile.userIdentifier},
                   {StoreValueKey::Service, profile.service}});
}

QString encode(const StoreInstantMessageAddress &address)
{
    return toText({{StoreValueKey::Username, address.username}, {StoreValueKey::Service, address.service}});
}

template <typename T> T decode(QByteArrayView utf8);

template <> QString decode<QString>(QByteArrayView utf8)
{
    return QString::fromUtf8(utf8);
}

template <> DateComponents decode<DateComponents>(QByteArrayView utf8)
{
    return decodeDate(utf8).value_or(DateComponents{});
}

template <> StorePostalAddress decode<StorePostalAddress>(QByteArrayView utf8)
{
    const StoredObject object(utf8);
    return {object.text(StoreValueKey::Street),  object.text(StoreValueKey::City),
            object.text(StoreValueKey::State),   object.text(StoreValueKey::PostalCode),
            object.text(StoreValueKey::Country), object.text(StoreValueKey::ISOCountryCode)};
}

template <> StoreSocialProfile decode<StoreSocialProfile>(QByteArrayView utf8)
{
    const StoredObject object(utf8);
    return {object.text(StoreValueKey::UrlString), object.text(StoreValueKey::Username),
            object.text(StoreValueKey::UserIdentifier), object.text(StoreValueKey::Service)};
}

template <> StoreInstantMessageAddress decode<StoreInstantMessageAddress>(QByteArrayView utf8)
{
    const StoredObject object(utf8);
    return {object.text(StoreValueKey::Username), object.text(StoreValueKey::Service)};
}

template <typename T>
Kind makeKind(int number, const QString &key, QList<StoreLabeledValue<T>> StoreContact::*member)
{
    return Kind{
        number,
        &key,
        [member](const StoreContact &contact) {
            QList<Row> rows;
            rows.reserve((contact.*member).size());
            for (const StoreLabeledValue<T> &entry : contact.*member)
                rows.append({entry.identifier, entry.label, encode(entry.value)});
            return rows;
        },
        [member](StoreContact &contact, const StoredRow &row, StoreTextPool &pool) {
            (contact.*member)
                .append({QString::fromUtf8(row.identifier), pool.text(row.label), decode<T>(row.value)});
        },
        [member](StoreContact &contact) { (contact.*member).clear(); },
    };
}

} // namespace

const QList<Kind> &kinds()
{
    static const QList<Kind> table{
        makeKind(1, StoreKey::Dates, &StoreContact::dates),
        makeKind(2, StoreKey::PhoneNumbers, &StoreContact::phoneNumbers),
        makeKind(3, StoreKey::EmailAddresses, &StoreContact::emailAddresses),
        makeKind(4, StoreKey::PostalAddresses, &StoreContact::postalAddresses),
        makeKind(5, StoreKey::UrlAddresses, &StoreContact::urlAddresses),
        makeKind(6, StoreKey::ContactRelations, &StoreContact::contactRelations),
        makeKind(7, StoreKey::SocialProfiles, &StoreContact::socialProfiles),
        makeKind(8, StoreKey::InstantMessageAddresses, &StoreContact::instantMessageAddresses),
    };
    return table;
}

const Kind *kindForKey(const QString &key)
{
    for (const Kind &kind : kinds())
        if (*kind.key == key)
            return &kind;
    return nullptr;
}

const Kind *kindForNumber(int number)
{
    for (const Kind &kind : kinds())
        if (kind.number == number)
            return &kind;
    return nullptr;
}

QString encodeDate(const DateComponents &date)
{
    QJsonObject object;
    if (date.year)
        object.insert(QStringLiteral("year"), *date.year);
    if (date.month)
        object.insert(QStringLiteral("month"), *date.month);
    if (date.day)
        object.insert(QStringLiteral("day"), *date.day);
    return toText(object);
}

std::optional<DateComponents> decodeDate(QByteArrayView utf8)
{
    const StoredObject object(utf8);
    if (!object.isObject())
        return std::nullopt;
    return DateComponents{object.number(QStringLiteral("year")), object.number(QStringLiteral("month")),
                          object.number(QStringLiteral("day"))};
}

} // namespace StoreEntryCodec
