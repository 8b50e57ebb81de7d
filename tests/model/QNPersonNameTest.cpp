#include "PersonTestSupport.h"

namespace {

struct CompositeRow
{
    int nameOrdering;
    ContactsUserDefaults::SortOrder sortOrder;
    const char *first;
    const char *middle;
    const char *last;
    const char *expected;
};

class CompositeName : public PersonTest, public ::testing::WithParamInterface<CompositeRow>
{
};

TEST_P(CompositeName, FollowsTheOrder)
{
    const CompositeRow &row = GetParam();
    ContactsUserDefaults::setSortOrderForTesting(row.sortOrder);
    const QNPerson::NameDict name{{PersonKey::FirstName, QString::fromUtf8(row.first)},
                                  {PersonKey::MiddleName, QString::fromUtf8(row.middle)},
                                  {PersonKey::LastName, QString::fromUtf8(row.last)},
                                  {PersonKey::NameOrdering, row.nameOrdering}};
    EXPECT_EQ(QNPerson::compositeNameFromNameDict(name), QString::fromUtf8(row.expected));
}

using SO = ContactsUserDefaults::SortOrder;
INSTANTIATE_TEST_SUITE_P(Orders, CompositeName,
                         ::testing::Values(CompositeRow{2, SO::SortOrderGivenName, "G", "", "F", "F G"},
                                           CompositeRow{1, SO::SortOrderFamilyName, "G", "", "F", "G F"},
                                           CompositeRow{0, SO::SortOrderGivenName, "G", "", "F", "G F"},
                                           CompositeRow{0, SO::SortOrderFamilyName, "G", "", "F", "F G"},
                                           CompositeRow{0, SO::SortOrderNone, "G", "M", "F", "G F"},
                                           CompositeRow{2, SO::SortOrderGivenName, "", "M", "", "M"},
                                           CompositeRow{2, SO::SortOrderGivenName, "G", "M", "", "G"},
                                           CompositeRow{1, SO::SortOrderGivenName, "", "M", "F", "F"},
                                           CompositeRow{1, SO::SortOrderGivenName, "", "", "", ""}));

TEST_F(PersonTest, NameIsReadFromTheStore)
{
    StoreContact contact;
    contact.givenName = QStringLiteral("太郎");
    contact.familyName = QStringLiteral("山田");
    contact.previousFamilyName = QStringLiteral("鈴木");
    QNPerson record(contact);
    const QNPerson::NameDict name = record.nameValue();
    EXPECT_EQ(name.value(PersonKey::FirstName), "太郎");
    EXPECT_EQ(name.value(PersonKey::MiddleName), "");
    EXPECT_EQ(name.value(PersonKey::PreviousFamilyName), "鈴木");
    EXPECT_EQ(name.value(PersonKey::NameOrdering), 2);
    EXPECT_EQ(name.value(PersonKey::ShowAsPerson), true);
    EXPECT_EQ(name.value(PersonKey::StringValue), "山田 太郎");
    EXPECT_EQ(record.compositeName(), "山田 太郎");
    EXPECT_FALSE(record.isChanged());
}

TEST_F(PersonTest, EmptyNamesShowNoName)
{
    QNPerson person(StoreContact{});
    EXPECT_EQ(person.nameValue().value(PersonKey::StringValue), "");
    EXPECT_EQ(person.compositeName(), "No Name");

    StoreContact company;
    company.setContactType(StoreContactType::Organization);
    EXPECT_EQ(QNPerson(company).compositeName(), "No Name");

    QNPerson standalone;
    EXPECT_EQ(standalone.nameValue(), (QVariantMap{{PersonKey::ShowAsPerson, true}}));
    EXPECT_FALSE(standalone.heldNameValue());
}

TEST_F(PersonTest, NameWithoutShowAsPersonMakesACompany)
{
    QNPerson record;
    record.setItem(PersonIdentifier::Company, QStringLiteral("Acme"));
    record.setNameValue(QVariantMap{{PersonKey::FirstName, QStringLiteral("Ann")}}, PersonIdentifier::Name);
    EXPECT_FALSE(record.showAsPerson());
    EXPECT_EQ(record.compositeName(), "Acme");
    EXPECT_TRUE(record.isChanged());
}

TEST_F(PersonTest, SettingOnePartKeepsTheStoredOthers)
{
    StoreContact contact;
    contact.givenName = QStringLiteral("Ann");
    contact.familyName = QStringLiteral("Lee");
    QNPerson record(contact);
    record.setNameValue(QStringLiteral("Bea"), PersonKey::FirstName);
    EXPECT_EQ(record.nameValue().value(PersonKey::LastName), "Lee");
    EXPECT_EQ(record.compositeName(), "Bea Lee");
    EXPECT_TRUE(record.isChanged());
}

TEST_F(PersonTest, PhoneticName)
{
    QNPerson standalone;
    EXPECT_FALSE(standalone.phoneticNameValue());
    standalone.setNameValue(QStringLiteral("text"), PersonIdentifier::PhoneticName);
    EXPECT_FALSE(standalone.heldPhoneticNameValue());
    EXPECT_TRUE(standalone.isChanged());

    StoreContact contact;
    contact.givenName = QStringLiteral("太郎");
    contact.phoneticGivenName = QStringLiteral("たろう");
    contact.phoneticFamilyName = QStringLiteral("やまだ");
    contact.phoneticMiddleName = QStringLiteral("ま");
    QNPerson record(contact);
    EXPECT_EQ(record.phoneticName(), "");
    EXPECT_EQ(record.phoneticNameValue()->value(PersonKey::StringValue), "やまだ たろう");
    EXPECT_EQ(record.phoneticName(), "やまだ たろう");

    record.setNameValue(QVariantMap{{PersonKey::MiddleName, QStringLiteral("ま")}},
                        PersonIdentifier::PhoneticName);
    EXPECT_EQ(record.phoneticName(), "");
    record.setNameValue(QStringLiteral("X"), PersonIdentifier::PhoneticFirstName);
    EXPECT_EQ(record.heldPhoneticNameValue()->value(PersonIdentifier::PhoneticFirstName), "X");
}

TEST_F(PersonTest, UnfetchedNameIsFetchedWithTheNameKeys)
{
    StoreContact stored;
    stored.givenName = QStringLiteral("Ann");
    stored.familyName = QStringLiteral("Lee");
    QNPerson record(storedAndFetchedWithout(stored, {StoreKey::GivenName, StoreKey::PhoneticFamilyName}));
    EXPECT_EQ(record.heldNameValue().value_or(QVariantMap()).value(PersonKey::StringValue), "Ann Lee");
    EXPECT_TRUE(record.cnContact()->isKeyAvailable(StoreKey::NameSuffix));

    const StoreContact gone;
    const StoreContact loaded = storedAndFetchedWithout(gone, {StoreKey::GivenName});
    removeFromStore(gone.identifier());
    QNPerson orphan(loaded);
    // Saved now, the unread given name would be erased.
    EXPECT_FALSE(orphan.heldNameValue());
}

TEST_F(PersonTest, UnfetchedPhoneticPartsAreFetched)
{
    const auto ann = [] {
        StoreContact contact;
        contact.givenName = QStringLiteral("Ann");
        contact.phoneticGivenName = QStringLiteral("an");
        return contact;
    };
    QNPerson record(storedAndFetchedWithout(ann(), {StoreKey::PhoneticGivenName}));
    EXPECT_EQ(record.phoneticNameValue()->value(PersonKey::FirstName), "an");
    EXPECT_TRUE(record.heldPhoneticNameValue());

    const StoreContact gone = ann();
    QNPerson orphan(storedAndFetchedWithout(gone, {StoreKey::PhoneticGivenName}));
    removeFromStore(gone.identifier());
    EXPECT_EQ(orphan.phoneticNameValue()->value(PersonKey::FirstName), "");
    EXPECT_FALSE(orphan.heldPhoneticNameValue());
}

} // namespace
