#include "PersonTestSupport.h"

namespace {

using Kind = QNPerson::LabeledKind;

// Unlabelled entries, a profile without a service and an address with its country code.
StoreContact storedContact()
{
    StoreContact contact;
    contact.givenName = QStringLiteral("Ann");
    contact.organizationName = QStringLiteral("Acme");
    contact.imageData = QByteArray("stored photo");
    contact.phoneNumbers = {{QString(), QString(), QStringLiteral("0123")}};
    contact.emailAddresses = {{QString(), StoreLabel::Work, QStringLiteral("ann@acme.org")}};
    contact.postalAddresses = {
        {QString(), StoreLabel::Home, {QStringLiteral("1 Main St"), {}, {}, {}, {}, QStringLiteral("jp")}}};
    contact.contactRelations = {{QString(), QString(), QStringLiteral("Bo")}};
    contact.socialProfiles = {
        {QString(), QString(), {QString(), QStringLiteral("ann"), QString(), QString()}}};
    contact.dates = {{QString(), QString(), DateComponents{2001, 2, 3}}};
    return contact;
}

TEST_F(PersonTest, ValuesGoBackAsTheStoreHasThem)
{
    const StoreContact stored = storedContact();
    QNPerson unread(stored);
    QNPerson read(stored);
    for (int kind = 0; kind < QNPerson::LabeledKindCount; ++kind)
        read.labeledValues(static_cast<Kind>(kind));
    read.stringFieldForIdentifier(PersonIdentifier::Company);
    for (const QNPerson *record : {&unread, &read}) {
        const StoreContact saved = record->contactFromCache(stored);
        EXPECT_EQ(saved.identifier(), stored.identifier());
        EXPECT_EQ(saved.phoneNumbers, stored.phoneNumbers);
        EXPECT_EQ(saved.emailAddresses, stored.emailAddresses);
        EXPECT_EQ(saved.postalAddresses, stored.postalAddresses);
        EXPECT_EQ(saved.contactRelations, stored.contactRelations);
        EXPECT_EQ(saved.socialProfiles, stored.socialProfiles);
        EXPECT_EQ(saved.dates, stored.dates);
        EXPECT_EQ(saved.organizationName, "Acme");
        EXPECT_EQ(saved.imageData, stored.imageData);
    }
}

TEST_F(PersonTest, EditedListsReplaceTheStoreLists)
{
    QNPerson record(storedContact());
    record.replaceLabeledEntries(QNPerson::LabeledKind::Phone, QVariantList());
    record.addLabeledEntry(QNPerson::LabeledKind::Address,
                           QVariantMap{{PersonKey::City, QStringLiteral("Kyoto")}});
    const StoreContact saved = record.contactFromCache(storedContact());
    EXPECT_TRUE(saved.phoneNumbers.isEmpty());
    ASSERT_EQ(saved.postalAddresses.size(), 2);
    EXPECT_EQ(saved.postalAddresses[0].value.isoCountryCode, "jp");
    EXPECT_EQ(saved.postalAddresses[1].value,
              (StorePostalAddress{{}, QStringLiteral("Kyoto"), {}, {}, {}, {}}));
    EXPECT_EQ(saved.postalAddresses[1].label, QString());
}

// A profile known by its address alone, and the labels the store gave the profiles.
TEST_F(PersonTest, SocialProfilesKeepTheirAddressAndStoreLabel)
{
    StoreContact stored;
    stored.givenName = QStringLiteral("Sue");
    stored.socialProfiles = {
        {QString(), StoreLabel::Home,
         {QStringLiteral("https://example.org/sue"), QString(), QString(), QStringLiteral("Example")}},
        {QString(), StoreLabel::Work,
         {QString(), QStringLiteral("sue"), QString(), StoreSocialService::Flickr}}};
    QNPerson record(stored);
    QVariantList entries = record.labeledValues(QNPerson::LabeledKind::SocialProfile);
    EXPECT_EQ(record.contactFromCache(stored).socialProfiles, stored.socialProfiles);

    // A new service is the label now.
    QVariantMap relabelled = entries[1].toMap();
    relabelled.insert(PersonKey::Label, StoreSocialService::LinkedIn);
    entries[1] = relabelled;
    record.replaceLabeledEntries(QNPerson::LabeledKind::SocialProfile, entries);
    const QList<StoreLabeledSocialProfile> saved = record.contactFromCache(stored).socialProfiles;
    ASSERT_EQ(saved.size(), 2);
    EXPECT_EQ(saved[0], stored.socialProfiles[0]);
    EXPECT_EQ(saved[1].label, StoreSocialService::LinkedIn);
    EXPECT_EQ(saved[1].value.service, StoreSocialService::LinkedIn);

    // An entry with neither a username nor an address is no profile.
    record.addLabeledEntry(QNPerson::LabeledKind::SocialProfile,
                           {{PersonKey::Label, StoreSocialService::Twitter}, {PersonKey::Value, QString()}});
    EXPECT_EQ(record.contactFromCache(stored).socialProfiles.size(), 2);
}

struct LabelRow
{
    const char *name;
    Kind kind;
    QVariantMap entry;
    QString storeLabel;
};

class StoreLabelOf : public PersonTest, public ::testing::WithParamInterface<LabelRow>
{
};

TEST_P(StoreLabelOf, Entry)
{
    QNPerson record;
    // Held as given: the defaults concern labels that no normaliser filled in.
    record.setHeldLabeledValues(GetParam().kind, QVariantList{GetParam().entry});
    const StoreContact saved = record.contactFromCache(std::nullopt);
    const QString written = [&] {
        switch (GetParam().kind) {
        case Kind::Relation:
            return saved.contactRelations.value(0).label;
        case Kind::Dates:
            return saved.dates.value(0).label;
        case Kind::SocialProfile:
            EXPECT_EQ(saved.socialProfiles.value(0).value.service, saved.socialProfiles.value(0).label);
            return saved.socialProfiles.value(0).label;
        case Kind::InstantMessage:
            EXPECT_EQ(saved.instantMessageAddresses.value(0).value.service, StoreIMService::AIM);
            return saved.instantMessageAddresses.value(0).label;
        default:
            return saved.phoneNumbers.value(0).label;
        }
    }();
    EXPECT_EQ(written, GetParam().storeLabel);
}

const QString L = PersonKey::Label;
const QString V = PersonKey::Value;
const QVariantMap Date = QNPerson::variantFromDateComponents({2001, 2, 3});

INSTANTIATE_TEST_SUITE_P(
    Kinds, StoreLabelOf,
    ::testing::Values(
        LabelRow{"RelationEmpty", Kind::Relation, {{L, ""}, {V, "Bo"}}, StoreLabel::ContactRelationFriend},
        LabelRow{"RelationNoLabel", Kind::Relation, {{L, "No label"}, {V, "Bo"}}, QString()},
        LabelRow{"RelationSon", Kind::Relation, {{L, "son"}, {V, "Bo"}}, StoreLabel::ContactRelationSon},
        LabelRow{"DatesEmpty", Kind::Dates, {{L, ""}, {V, Date}}, StoreLabel::DateAnniversary},
        LabelRow{"DatesNoLabel", Kind::Dates, {{L, "No label"}, {V, Date}}, QString()},
        LabelRow{"SocialEmpty", Kind::SocialProfile, {{L, ""}, {V, "ann"}}, StoreSocialService::Twitter},
        LabelRow{"SocialNoService", Kind::SocialProfile, {{L, "No service"}, {V, "ann"}}, QString()},
        LabelRow{"PhoneNoLabel", Kind::Phone, {{L, "No label"}, {V, "1"}}, QString()},
        LabelRow{"PhoneEmpty", Kind::Phone, {{L, ""}, {V, "1"}}, QString()},
        LabelRow{"PhoneMobile", Kind::Phone, {{L, "mobile"}, {V, "1"}}, StoreLabel::PhoneNumberMobile},
        LabelRow{"MessageNoLabel",
                 Kind::InstantMessage,
                 {{L, "No label"}, {StoreValueKey::Username, "ann"}},
                 QString()}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PersonTest, NameTextsPhotoAndBirthday)
{
    const StoreContact stored = storedContact();
    QNPerson record(stored);
    record.setItem(QStringLiteral("Job Title"), QStringLiteral("Boss"));
    record.setNameValue(QVariantMap{{PersonKey::FirstName, QStringLiteral("Ann")}}, PersonIdentifier::Name);
    record.setBirthdayValue(QVariantMap{{V, QNPerson::variantFromDateComponents({std::nullopt, 12, 24})}});
    StoreContact saved = record.contactFromCache(stored);
    EXPECT_EQ(saved.jobTitle, "Boss");
    EXPECT_EQ(saved.birthday, (DateComponents{std::nullopt, 12, 24}));

    record.setImageData(QByteArray("new photo"));
    EXPECT_EQ(record.contactFromCache(stored).imageData, "new photo");
    record.setImageData(QByteArray());
    EXPECT_TRUE(record.contactFromCache(stored).imageData.isEmpty());
    EXPECT_NE(QNPerson().contactFromCache(std::nullopt).identifier(), stored.identifier());
}

// The save writes an edited record onto the store's current contact: only what was edited goes.
TEST_F(PersonTest, OnlyEditedValuesGoOntoTheCurrentContact)
{
    const StoreContact stored = storedContact();
    QNPerson record(stored);
    for (const QString &identifier : QNPerson::allIdentifiers())
        record.valueForIdentifier(identifier);
    EXPECT_EQ(record.editedContactFromCache(stored).availableKeys(),
              QStringList({StoreKey::Identifier, StoreKey::ContactType}));

    record.setValue(QVariantMap{{PersonKey::FirstName, QStringLiteral("Ann")},
                                {PersonKey::LastName, QStringLiteral("Li")},
                                {PersonKey::ShowAsPerson, false}},
                    PersonIdentifier::Name);
    record.replaceLabeledEntries(QNPerson::LabeledKind::Phone, QVariantList());
    record.setPhoto(std::nullopt);
    StoreContact current = stored;
    current.middleName = QStringLiteral("theirs");
    current.note = QStringLiteral("theirs");
    const StoreContact saved = record.editedContactFromCache(current);
    EXPECT_EQ(saved.availableKeys(),
              QStringList({StoreKey::Identifier, StoreKey::ContactType, StoreKey::FamilyName,
                           StoreKey::ImageData, StoreKey::PhoneNumbers}));
    EXPECT_EQ(saved.familyName, "Li");
    EXPECT_EQ(saved.contactType(), StoreContactType::Organization);
    EXPECT_TRUE(saved.phoneNumbers.isEmpty());
    EXPECT_TRUE(saved.imageData.isEmpty());

    // A saved record has nothing left to write.
    record.setChanged(false);
    EXPECT_TRUE(record.editedStoreKeys().isEmpty());
}

} // namespace
