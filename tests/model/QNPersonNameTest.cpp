#include "PersonTestSupport.h"

namespace {

using SortOrder = ContactsUserDefaults::SortOrder;

struct CompositeRow
{
    int nameOrdering;
    SortOrder sortOrder;
    const char *first, *middle, *last, *expected;
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

INSTANTIATE_TEST_SUITE_P(
    Orders, CompositeName,
    ::testing::Values(CompositeRow{2, SortOrder::SortOrderGivenName, "G", "", "F", "F G"},
                      CompositeRow{1, SortOrder::SortOrderFamilyName, "G", "", "F", "G F"},
                      CompositeRow{0, SortOrder::SortOrderGivenName, "G", "", "F", "G F"},
                      CompositeRow{0, SortOrder::SortOrderFamilyName, "G", "", "F", "F G"},
                      CompositeRow{0, SortOrder::SortOrderNone, "G", "M", "F", "G F"},
                      CompositeRow{2, SortOrder::SortOrderGivenName, "", "M", "", "M"},
                      CompositeRow{2, SortOrder::SortOrderGivenName, "G", "M", "", "G"},
                      CompositeRow{1, SortOrder::SortOrderGivenName, "", "M", "F", "F"},
                      CompositeRow{1, SortOrder::SortOrderGivenName, "", "", "", ""}));

TEST_F(PersonTest, NameIsReadFromTheStoreAndOnePartSetOverIt)
{
    StoreContact contact;
    contact.givenName = QStringLiteral("太郎");
    contact.familyName = QStringLiteral("山田");
    QNPerson record(contact);
    const QNPerson::NameDict name = record.nameValue();
    EXPECT_EQ(name.value(PersonKey::MiddleName), "");
    EXPECT_EQ(name.value(PersonKey::NameOrdering), 2);
    EXPECT_EQ(name.value(PersonKey::ShowAsPerson), true);
    EXPECT_EQ(record.compositeName(), "山田 太郎");
    EXPECT_FALSE(record.isChanged());

    record.setNameValue(QStringLiteral("花子"), PersonKey::FirstName);
    EXPECT_EQ(record.compositeName(), "山田 花子");
    EXPECT_TRUE(record.isChanged());
}

TEST_F(PersonTest, EmptyNamesShowNoNameAndCompaniesTheirName)
{
    QNPerson person(StoreContact{});
    EXPECT_EQ(person.nameValue().value(PersonKey::StringValue), "");
    EXPECT_EQ(person.compositeName(), "No Name");
    StoreContact company;
    company.setContactType(StoreContactType::Organization);
    EXPECT_EQ(QNPerson(company).compositeName(), "No Name");
    EXPECT_EQ(QNPerson().nameValue(), (QVariantMap{{PersonKey::ShowAsPerson, true}}));
}

// Only "showAsPerson" itself turns a person into a company or back; a cleared name keeps the kind,
// in the record and in what the save writes.
TEST_F(PersonTest, ANameWithoutTheKindKeepsTheContactsKind)
{
    const QVariant cleared[] = {QVariant(), QVariantMap(), QVariantMap{{PersonKey::FirstName, QString()}}};
    for (const StoreContactType type : {StoreContactType::Person, StoreContactType::Organization}) {
        for (const QVariant &name : cleared) {
            StoreContact contact;
            contact.givenName = QStringLiteral("Ann");
            contact.organizationName = QStringLiteral("Acme");
            contact.setContactType(type);
            QNPerson record(contact);
            record.setNameValue(name, PersonIdentifier::Name);
            EXPECT_EQ(record.showAsPerson(), type == StoreContactType::Person);
            EXPECT_EQ(record.contactFromCache(contact).contactType(), type);
            EXPECT_TRUE(record.isChanged());
        }
    }
    QNPerson record;
    record.setItem(PersonIdentifier::Company, QStringLiteral("Acme"));
    record.setNameValue(QVariantMap{{PersonKey::ShowAsPerson, false}}, PersonIdentifier::Name);
    EXPECT_EQ(record.compositeName(), "Acme");
    record.setNameValue(QVariantMap{{PersonKey::FirstName, QStringLiteral("Ann")}}, PersonIdentifier::Name);
    EXPECT_EQ(record.compositeName(), "Acme");
    record.setNameValue(QVariantMap{{PersonKey::ShowAsPerson, true}}, PersonIdentifier::Name);
    EXPECT_TRUE(record.showAsPerson());
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
    QNPerson record(contact);
    // Read from the contact each time, never kept while unedited.
    EXPECT_EQ(record.phoneticName(), "やまだ たろう");
    EXPECT_EQ(record.phoneticNameValue()->value(PersonKey::StringValue), "やまだ たろう");
    EXPECT_FALSE(record.heldPhoneticNameValue());
    record.setNameValue(QVariantMap{{PersonKey::MiddleName, QStringLiteral("ま")}},
                        PersonIdentifier::PhoneticName);
    EXPECT_EQ(record.phoneticName(), "");
}

TEST_F(PersonTest, UnfetchedNamesAreFetchedOrStayUnread)
{
    const auto ann = [] {
        StoreContact contact;
        contact.givenName = QStringLiteral("Ann");
        contact.phoneticGivenName = QStringLiteral("an");
        return contact;
    };
    const QStringList missing = {StoreKey::GivenName, StoreKey::PhoneticGivenName};
    QNPerson record(storedAndFetchedWithout(ann(), missing));
    EXPECT_EQ(record.compositeName(), "Ann");
    EXPECT_EQ(record.phoneticNameValue()->value(PersonKey::FirstName), "an");

    QNPerson orphan(storedAndFetchedWithout(ann(), missing, true));
    EXPECT_EQ(orphan.phoneticNameValue()->value(PersonKey::FirstName), "");
    // Saved now, the unread parts would be erased.
    EXPECT_FALSE(orphan.heldNameValue());
    EXPECT_FALSE(orphan.heldPhoneticNameValue());
}

} // namespace
