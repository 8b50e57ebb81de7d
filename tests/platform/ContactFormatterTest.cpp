#include "platform/ContactFormatter.h"
#include "VCardTestSupport.h"
#include "platform/ContactsUserDefaults.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

class SortOrderScope
{
public:
    explicit SortOrderScope(ContactsUserDefaults::SortOrder order)
    {
        ContactsUserDefaults::setSortOrderForTesting(order);
    }
    ~SortOrderScope() { ContactsUserDefaults::setSortOrderForTesting(std::nullopt); }
};

struct NameRow
{
    QString given;
    QString family;
    ContactsUserDefaults::SortOrder sortOrder;
    ContactFormatter::NameOrder order;
    QString fullName;
};

class ContactFormatterNames : public testing::TestWithParam<NameRow>
{
};

} // namespace

TEST_P(ContactFormatterNames, OrderAndFullName)
{
    const NameRow &row = GetParam();
    SortOrderScope scope(row.sortOrder);
    StoreContact contact;
    contact.givenName = row.given;
    contact.familyName = row.family;
    EXPECT_EQ(ContactFormatter::nameOrderForContact(contact), row.order);
    EXPECT_EQ(ContactFormatter::stringFromContact(contact), row.fullName);
}

using SO = ContactsUserDefaults::SortOrder;
using NO = ContactFormatter::NameOrder;

INSTANTIATE_TEST_SUITE_P(
    Rows, ContactFormatterNames,
    testing::Values(
        NameRow{"Elise", "Hartmann", SO::SortOrderGivenName, NO::NameOrderGivenNameFirst, "Elise Hartmann"},
        NameRow{"Elise", "Hartmann", SO::SortOrderFamilyName, NO::NameOrderFamilyNameFirst, "Hartmann Elise"},
        NameRow{"Elise", "Hartmann", SO::SortOrderNone, NO::NameOrderGivenNameFirst, "Elise Hartmann"},
        NameRow{"太郎", "山田", SO::SortOrderGivenName, NO::NameOrderFamilyNameFirst, "山田 太郎"},
        NameRow{"たろう", "", SO::SortOrderGivenName, NO::NameOrderFamilyNameFirst, "たろう"},
        NameRow{"タロウ", "ヤマダ", SO::SortOrderGivenName, NO::NameOrderFamilyNameFirst, "ヤマダ タロウ"},
        NameRow{"민준", "김", SO::SortOrderGivenName, NO::NameOrderFamilyNameFirst, "김 민준"},
        NameRow{"Taro", "山田", SO::SortOrderGivenName, NO::NameOrderFamilyNameFirst, "山田 Taro"},
        NameRow{"𠮷男", "", SO::SortOrderGivenName, NO::NameOrderFamilyNameFirst, "𠮷男"},
        NameRow{"Ива́н", "Петро́в", SO::SortOrderGivenName, NO::NameOrderGivenNameFirst, "Ива́н Петро́в"},
        NameRow{"", "", SO::SortOrderGivenName, NO::NameOrderGivenNameFirst, ""}));

TEST(ContactFormatter, FullNameOfPartsAndOrganizations)
{
    StoreContact person;
    person.namePrefix = "Dr.";
    person.givenName = "Elise";
    person.middleName = "Marie";
    person.familyName = "Hartmann";
    person.nameSuffix = "PhD";
    person.organizationName = "Northwind";
    EXPECT_EQ(ContactFormatter::stringFromContact(person), "Dr. Elise Marie Hartmann PhD");
    person.setContactType(StoreContactType::Organization);
    EXPECT_EQ(ContactFormatter::stringFromContact(person), "Northwind");

    StoreContact nameless;
    nameless.organizationName = "Northwind";
    EXPECT_EQ(ContactFormatter::stringFromContact(nameless), "Northwind");
    StoreContact unnamedCompany;
    unnamedCompany.setContactType(StoreContactType::Organization);
    unnamedCompany.givenName = "Contact";
    EXPECT_EQ(ContactFormatter::stringFromContact(unnamedCompany), "Contact");

    StoreContact japanese;
    japanese.familyName = "山田";
    japanese.givenName = "太郎";
    japanese.phoneticFamilyName = "やまだ";
    japanese.phoneticGivenName = "たろう";
    EXPECT_EQ(ContactFormatter::stringFromContact(japanese, ContactFormatter::PhoneticFullName),
              "やまだ たろう");
}

TEST(ContactFormatter, RequiredKeysNameThePartsTheFormatterReads)
{
    const QStringList keys = ContactFormatter::descriptorForRequiredKeysForStyle(ContactFormatter::FullName);
    for (const QString &key :
         {StoreKey::ContactType, StoreKey::NamePrefix, StoreKey::GivenName, StoreKey::MiddleName,
          StoreKey::FamilyName, StoreKey::NameSuffix, StoreKey::OrganizationName})
        EXPECT_TRUE(keys.contains(key)) << key.toStdString();
    for (const QString &key : keys)
        EXPECT_TRUE(StoreKey::allKeys().contains(key)) << key.toStdString();
    EXPECT_TRUE(ContactFormatter::descriptorForRequiredKeysForStyle(ContactFormatter::PhoneticFullName)
                    .contains(StoreKey::PhoneticFamilyName));
}

TEST(ContactsUserDefaults, DefaultsAndTestHooks)
{
    EXPECT_EQ(ContactsUserDefaults::sortOrder(), ContactsUserDefaults::SortOrderGivenName);
    EXPECT_TRUE(QRegularExpression("^[a-z]{2}$").match(ContactsUserDefaults::countryCode()).hasMatch())
        << ContactsUserDefaults::countryCode().toStdString();

    ContactsUserDefaults::setCountryCodeForTesting(QStringLiteral("jp"));
    ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderFamilyName);
    EXPECT_EQ(ContactsUserDefaults::countryCode(), "jp");
    EXPECT_EQ(ContactsUserDefaults::sortOrder(), ContactsUserDefaults::SortOrderFamilyName);

    ContactsUserDefaults::setCountryCodeForTesting(std::nullopt);
    ContactsUserDefaults::setSortOrderForTesting(std::nullopt);
    EXPECT_EQ(ContactsUserDefaults::sortOrder(), ContactsUserDefaults::SortOrderGivenName);
    EXPECT_NE(ContactsUserDefaults::countryCode(), "jp");
}
