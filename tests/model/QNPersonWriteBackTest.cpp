#include "PersonTestSupport.h"

namespace {

using Kind = QNPerson::LabeledKind;

StoreContact fullContact()
{
    StoreContact contact;
    contact.givenName = QStringLiteral("Ann");
    contact.organizationName = QStringLiteral("Acme");
    contact.imageData = QByteArray("stored photo");
    contact.phoneNumbers = {{QString(), StoreLabel::Home, QStringLiteral("0123")}};
    contact.emailAddresses = {{QString(), StoreLabel::Work, QStringLiteral("ann@acme.org")}};
    contact.postalAddresses = {{QString(),
                                StoreLabel::Home,
                                {QStringLiteral("1 Main St"), QStringLiteral("Town"), QString(), QString(),
                                 QString(), QStringLiteral("jp")}}};
    contact.contactRelations = {{QString(), QString(), QStringLiteral("Bo")}};
    contact.socialProfiles = {
        {QString(), QString(), {QString(), QStringLiteral("ann"), QString(), QString()}}};
    contact.dates = {{QString(), QString(), DateComponents{2001, 2, 3}}};
    return contact;
}

TEST_F(PersonTest, UnreadValuesStayAsTheStoreHasThem)
{
    const StoreContact stored = fullContact();
    QNPerson record(stored);
    const StoreContact saved = record.contactFromCache(stored);
    EXPECT_EQ(saved.identifier(), stored.identifier());
    EXPECT_EQ(saved.phoneNumbers, stored.phoneNumbers);
    EXPECT_EQ(saved.emailAddresses, stored.emailAddresses);
    EXPECT_EQ(saved.postalAddresses, stored.postalAddresses);
    EXPECT_EQ(saved.imageData, stored.imageData);
    EXPECT_EQ(saved.givenName, "Ann");
}

TEST_F(PersonTest, ReadValuesGoBackUnchanged)
{
    const StoreContact stored = fullContact();
    QNPerson record(stored);
    for (int kind = 0; kind < QNPerson::LabeledKindCount; ++kind)
        record.labeledValues(static_cast<Kind>(kind));
    record.stringFieldForIdentifier(PersonIdentifier::Company);
    const StoreContact saved = record.contactFromCache(stored);
    // Unlabelled values stay unlabelled, a profile without a service keeps none.
    EXPECT_EQ(saved.phoneNumbers, stored.phoneNumbers);
    EXPECT_EQ(saved.emailAddresses, stored.emailAddresses);
    EXPECT_EQ(saved.postalAddresses, stored.postalAddresses);
    EXPECT_EQ(saved.contactRelations, stored.contactRelations);
    EXPECT_EQ(saved.socialProfiles, stored.socialProfiles);
    EXPECT_EQ(saved.dates, stored.dates);
    EXPECT_EQ(saved.organizationName, "Acme");
}

TEST_F(PersonTest, EmptiedListClearsTheStoreList)
{
    const StoreContact stored = fullContact();
    QNPerson record(stored);
    record.phoneValues();
    record.replacePhoneValue(QVariantList());
    record.replaceEmailValue(QVariantList{QVariantMap{{PersonKey::Label, QStringLiteral("home")}}});
    const StoreContact saved = record.contactFromCache(stored);
    EXPECT_TRUE(saved.phoneNumbers.isEmpty());
    EXPECT_TRUE(saved.emailAddresses.isEmpty());
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

QString writtenLabel(const StoreContact &contact, Kind kind)
{
    switch (kind) {
    case Kind::Phone:
        return contact.phoneNumbers.value(0).label;
    case Kind::Relation:
        return contact.contactRelations.value(0).label;
    case Kind::Dates:
        return contact.dates.value(0).label;
    case Kind::SocialProfile:
        EXPECT_EQ(contact.socialProfiles.value(0).label, contact.socialProfiles.value(0).value.service);
        return contact.socialProfiles.value(0).value.service;
    case Kind::InstantMessage:
        EXPECT_EQ(contact.instantMessageAddresses.value(0).value.service, StoreIMService::AIM);
        return contact.instantMessageAddresses.value(0).label;
    default:
        return QStringLiteral("unexpected kind");
    }
}

TEST_P(StoreLabelOf, Entry)
{
    QNPerson record;
    // Held as given: the defaults are about labels that no normaliser filled in.
    record.setHeldLabeledValues(GetParam().kind, QVariantList{GetParam().entry});
    const StoreContact saved = record.contactFromCache(std::nullopt);
    EXPECT_EQ(writtenLabel(saved, GetParam().kind), GetParam().storeLabel);
}

const QString L = PersonKey::Label;
const QString V = PersonKey::Value;
const QVariantMap Date{{PersonKey::Year, 2001}, {PersonKey::Month, 2}, {PersonKey::Day, 3}};

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
        LabelRow{"SocialUserText", Kind::SocialProfile, {{L, "home"}, {V, "ann"}}, "home"},
        LabelRow{"PhoneNoLabel", Kind::Phone, {{L, "No label"}, {V, "1"}}, QString()},
        LabelRow{"PhoneEmpty", Kind::Phone, {{L, ""}, {V, "1"}}, QString()},
        LabelRow{"PhoneMobile", Kind::Phone, {{L, "mobile"}, {V, "1"}}, StoreLabel::PhoneNumberMobile},
        LabelRow{"MessageNoLabel",
                 Kind::InstantMessage,
                 {{L, "No label"}, {StoreValueKey::Username, "ann"}},
                 QString()}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PersonTest, EntriesWithoutAStoreValueAreLeftOut)
{
    QNPerson record;
    record.setHeldLabeledValues(Kind::Phone, QVariantList{QVariantMap{{V, ""}}, QVariantMap{{V, " "}}});
    record.setHeldLabeledValues(Kind::Relation, QVariantList{QVariantMap{{L, "son"}}});
    record.setHeldLabeledValues(Kind::InstantMessage, QVariantList{QVariantMap{{V, "ann"}}});
    record.setHeldLabeledValues(Kind::Dates, QVariantList{QVariantMap{{V, "someday"}}});
    const StoreContact saved = record.contactFromCache(std::nullopt);
    EXPECT_TRUE(saved.phoneNumbers.isEmpty());
    EXPECT_TRUE(saved.contactRelations.isEmpty());
    EXPECT_TRUE(saved.instantMessageAddresses.isEmpty());
    EXPECT_TRUE(saved.dates.isEmpty());
}

TEST_F(PersonTest, AddressPartsAndCountryCode)
{
    QNPerson record(fullContact());
    record.addAddressValue(QVariantMap{{PersonKey::City, QStringLiteral("Kyoto")}});
    const StoreContact saved = record.contactFromCache(fullContact());
    ASSERT_EQ(saved.postalAddresses.size(), 2);
    EXPECT_EQ(saved.postalAddresses[0].value.isoCountryCode, "jp");
    const StorePostalAddress added = saved.postalAddresses[1].value;
    EXPECT_EQ(added, (StorePostalAddress{QString(), QStringLiteral("Kyoto"), QString(), QString(), QString(),
                                         QString()}));
    EXPECT_TRUE(added.isoCountryCode.isEmpty());
}

TEST_F(PersonTest, StringFieldsNameAndPhoto)
{
    const StoreContact stored = fullContact();
    QNPerson record(stored);
    record.setItem(PersonIdentifier::Company, QStringLiteral("Acme"));
    record.setItem(QStringLiteral("Job Title"), QStringLiteral("Boss"));
    record.setNameValue(QVariantMap{{PersonKey::FirstName, QStringLiteral("Ann")}}, PersonIdentifier::Name);
    StoreContact saved = record.contactFromCache(stored);
    EXPECT_EQ(saved.organizationName, "Acme");
    EXPECT_EQ(saved.jobTitle, "Boss");
    EXPECT_EQ(saved.contactType(), StoreContactType::Organization);
    EXPECT_EQ(saved.imageData, stored.imageData);

    record.setImageData(QByteArray("new photo"));
    EXPECT_EQ(record.contactFromCache(stored).imageData, "new photo");
    record.setImageData(QByteArray());
    EXPECT_TRUE(record.contactFromCache(stored).imageData.isEmpty());
}

TEST_F(PersonTest, NewContactForAStandaloneRecord)
{
    QNPerson record;
    record.addPhoneValue(entry(QStringLiteral("home"), QStringLiteral("0123")));
    record.setBirthdayValue(QVariantMap{{V, QNPerson::variantFromDateComponents({std::nullopt, 12, 24})}});
    const StoreContact created = record.contactFromCache(std::nullopt);
    EXPECT_NE(created.identifier(), record.uniqueId());
    ASSERT_EQ(created.phoneNumbers.size(), 1);
    EXPECT_EQ(created.phoneNumbers[0].label, StoreLabel::Home);
    EXPECT_EQ(created.birthday, (DateComponents{std::nullopt, 12, 24}));
}

} // namespace
