#include "platform/StoreEntryCodec.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace StoreEntryCodec {

namespace {

QString toText(const QJsonObject &object)
{
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

QJsonObject fromText(const QString &text)
{
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

std::optional<int> optionalInt(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    return value.isDouble() ? std::optional<int>(value.toInt()) : std::nullopt;
}

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

template <typename T> T decode(const QString &text);

template <> QString decode<QString>(const QString &text)
{
    return text;
}

template <> DateComponents decode<DateComponents>(const QString &text)
{
    return decodeDate(text).value_or(DateComponents{});
}

template <> StorePostalAddress decode<StorePostalAddress>(const QString &text)
{
    const QJsonObject object = fromText(text);
    return {object.value(StoreValueKey::Street).toString(),
            object.value(StoreValueKey::City).toString(),
            object.value(StoreValueKey::State).toString(),
            object.value(StoreValueKey::PostalCode).toString(),
            object.value(StoreValueKey::Country).toString(),
            object.value(StoreValueKey::ISOCountryCode).toString()};
}

template <> StoreSocialProfile decode<StoreSocialProfile>(const QString &text)
{
    const QJsonObject object = fromText(text);
    return {object.value(StoreValueKey::UrlString).toString(),
            object.value(StoreValueKey::Username).toString(),
            object.value(StoreValueKey::UserIdentifier).toString(),
            object.value(StoreValueKey::Service).toString()};
}

template <> StoreInstantMessageAddress decode<StoreInstantMessageAddress>(const QString &text)
{
    const QJsonObject object = fromText(text);
    return {object.value(StoreValueKey::Username).toString(),
            object.value(StoreValueKey::Service).toString()};
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
        [member](StoreContact &contact, const Row &row) {
            (contact.*member).append({row.identifier, row.label, decode<T>(row.value)});
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

std::optional<DateComponents> decodeDate(const QString &text)
{
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    return DateComponents{optionalInt(object, QStringLiteral("year")),
                          optionalInt(object, QStringLiteral("month")),
                          optionalInt(object, QStringLiteral("day"))};
}

} // namespace StoreEntryCodec
