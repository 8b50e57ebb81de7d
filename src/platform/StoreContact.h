#pragma once

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

// Value types of the contacts store: a contact with its labelled lists, groups and containers.
// A contact fetched from the store knows which keys it was fetched with; reading a key it was not
// fetched with is a programming error (callers check isKeyAvailable first).

// Store key names; the string values are the property names, so they also serve key-value access.
namespace StoreKey {
inline const QString Identifier = QStringLiteral("identifier");
inline const QString ContactType = QStringLiteral("contactType");
inline const QString NamePrefix = QStringLiteral("namePrefix");
inline const QString GivenName = QStringLiteral("givenName");
inline const QString MiddleName = QStringLiteral("middleName");
inline const QString FamilyName = QStringLiteral("familyName");
inline const QString PreviousFamilyName = QStringLiteral("previousFamilyName");
inline const QString NameSuffix = QStringLiteral("nameSuffix");
inline const QString Nickname = QStringLiteral("nickname");
inline const QString PhoneticGivenName = QStringLiteral("phoneticGivenName");
inline const QString PhoneticMiddleName = QStringLiteral("phoneticMiddleName");
inline const QString PhoneticFamilyName = QStringLiteral("phoneticFamilyName");
inline const QString OrganizationName = QStringLiteral("organizationName");
inline const QString DepartmentName = QStringLiteral("departmentName");
inline const QString JobTitle = QStringLiteral("jobTitle");
inline const QString Note = QStringLiteral("note");
inline const QString ImageData = QStringLiteral("imageData");
inline const QString ThumbnailImageData = QStringLiteral("thumbnailImageData");
inline const QString ImageDataAvailable = QStringLiteral("imageDataAvailable");
inline const QString Birthday = QStringLiteral("birthday");
inline const QString Dates = QStringLiteral("dates");
inline const QString PhoneNumbers = QStringLiteral("phoneNumbers");
inline const QString EmailAddresses = QStringLiteral("emailAddresses");
inline const QString PostalAddresses = QStringLiteral("postalAddresses");
inline const QString UrlAddresses = QStringLiteral("urlAddresses");
inline const QString ContactRelations = QStringLiteral("contactRelations");
inline const QString SocialProfiles = QStringLiteral("socialProfiles");
inline const QString InstantMessageAddresses = QStringLiteral("instantMessageAddresses");

// Every key a contact can carry, in declaration order.
const QStringList &allKeys();
// The string-valued keys, which key-value access can read and write.
const QStringList &stringKeys();
} // namespace StoreKey

// Keys of the postal address, social profile and instant-message dictionaries.
namespace StoreValueKey {
inline const QString Street = QStringLiteral("street");
inline const QString City = QStringLiteral("city");
inline const QString State = QStringLiteral("state");
inline const QString PostalCode = QStringLiteral("postalCode");
inline const QString Country = QStringLiteral("country");
inline const QString ISOCountryCode = QStringLiteral("ISOCountryCode");
inline const QString UrlString = QStringLiteral("urlString");
inline const QString Username = QStringLiteral("username");
inline const QString UserIdentifier = QStringLiteral("userIdentifier");
inline const QString Service = QStringLiteral("service");
} // namespace StoreValueKey

// A calendar date whose parts may each be absent (a birthday without a year).
struct DateComponents
{
    // The calendar year that stands for an absent one wherever a date needs a year: a leap year, so
    // that 29 February is a date in it, and earlier than any year a person gives.
    static constexpr int StandInYear = 4;

    std::optional<int> year;
    std::optional<int> month;
    std::optional<int> day;

    bool isEmpty() const { return !year && !month && !day; }
    bool operator==(const DateComponents &) const = default;
};

struct StorePostalAddress
{
    QString street;
    QString city;
    QString state;
    QString postalCode;
    QString country;
    QString isoCountryCode;

    bool operator==(const StorePostalAddress &) const = default;
};

struct StoreSocialProfile
{
    QString urlString;
    QString username;
    QString userIdentifier;
    QString service;

    bool operator==(const StoreSocialProfile &) const = default;
};

struct StoreInstantMessageAddress
{
    QString username;
    QString service;

    bool operator==(const StoreInstantMessageAddress &) const = default;
};

// One entry of a multi-valued property. The identifier names the entry within its contact; a new
// entry gets one when the contact is saved.
template <typename T>
struct StoreLabeledValue
{
    QString identifier;
    QString label;
    T value;

    bool operator==(const StoreLabeledValue &) const = default;
};

using StoreLabeledString = StoreLabeledValue<QString>;
using StoreLabeledDate = StoreLabeledValue<DateComponents>;
using StoreLabeledAddress = StoreLabeledValue<StorePostalAddress>;
using StoreLabeledSocialProfile = StoreLabeledValue<StoreSocialProfile>;
using StoreLabeledInstantMessage = StoreLabeledValue<StoreInstantMessageAddress>;

enum class StoreContactType { Person = 0, Organization = 1 };

// A contact of the store. A default-constructed contact is a new mutable contact: a fresh
// identifier and every key available. A copy keeps the identifier (the "mutable copy").
class StoreContact
{
public:
    StoreContact();

    // A contact as fetched with the given keys (the identifier and type are always available).
    static StoreContact fetched(const QString &identifier, const QStringList &keys);
    // The same with a key set made once by fetchedKeySet, which the contacts of one read share.
    static StoreContact fetchedSharingKeys(const QString &identifier, const QSet<QString> &keySet);
    static QSet<QString> fetchedKeySet(const QStringList &keys);

    const QString &identifier() const { return m_identifier; }
    bool isKeyAvailable(const QString &key) const;
    QStringList availableKeys() const;
    // Makes every key available, as for a contact that will be written whole.
    void makeAllKeysAvailable();
    // Leaves only those of the keys that are available (with the identifier and type), as for a
    // contact whose update must write nothing else.
    void keepOnlyKeys(const QStringList &keys);

    StoreContactType contactType() const { return m_contactType; }
    void setContactType(StoreContactType type) { m_contactType = type; }

    // Key-value access to the string properties by their store key; unknown keys read as empty
    // and are not written.
    QString stringForKey(const QString &key) const;
    bool setStringForKey(const QString &key, const QString &value);
    // The member behind a string key, null for other keys: a reader resolves its columns once.
    static QString StoreContact::*stringMember(const QString &key);

    QString namePrefix, givenName, middleName, familyName, previousFamilyName, nameSuffix, nickname;
    QString phoneticGivenName, phoneticMiddleName, phoneticFamilyName;
    QString organizationName, departmentName, jobTitle, note;
    QByteArray imageData;
    QByteArray thumbnailImageData;
    std::optional<DateComponents> birthday;
    QList<StoreLabeledDate> dates;
    QList<StoreLabeledString> phoneNumbers;
    QList<StoreLabeledString> emailAddresses;
    QList<StoreLabeledAddress> postalAddresses;
    QList<StoreLabeledString> urlAddresses;
    QList<StoreLabeledString> contactRelations;
    QList<StoreLabeledSocialProfile> socialProfiles;
    QList<StoreLabeledInstantMessage> instantMessageAddresses;

    bool imageDataAvailable() const
    {
        return m_imageDataAvailable || !imageData.isEmpty() || !thumbnailImageData.isEmpty();
    }
    // What the store answered for a contact fetched without its image data.
    void setImageDataAvailable(bool available) { m_imageDataAvailable = available; }

private:
    struct FetchedTag
    {
    };
    // Without the fresh identifier, which a fetched contact would only throw away.
    explicit StoreContact(FetchedTag) {}

    QString m_identifier;
    StoreContactType m_contactType = StoreContactType::Person;
    QSet<QString> m_keys;
    bool m_allKeys = true;
    bool m_imageDataAvailable = false;
};

struct StoreGroup
{
    QString identifier;
    QString name;

    bool operator==(const StoreGroup &) const = default;
};

// Container types as the store reports them; other values exist and are kept as they are.
enum StoreContainerType { StoreContainerUnassigned = 0, StoreContainerLocal = 1, StoreContainerExchange = 2,
                          StoreContainerCardDAV = 3 };

struct StoreContainer
{
    QString identifier;
    QString name;
    int type = StoreContainerLocal;

    bool operator==(const StoreContainer &) const = default;
};
