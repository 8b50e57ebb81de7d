#pragma once

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/StoreLabels.h"

#include <QStringList>

#include <gtest/gtest.h>

// Records under test see the user's country "us", sort by given name and a store that refuses
// every fetch unless a test installs one.
class PersonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ContactsUserDefaults::setCountryCodeForTesting(QStringLiteral("us"));
        ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderGivenName);
        QNPerson::setContactFetcher([this](const QString &identifier, const QStringList &keys) {
            fetches.append(keys);
            if (!storeContact || storeContact->identifier() != identifier)
                return std::optional<StoreContact>();
            StoreContact fetched = StoreContact::fetched(identifier, keys);
            for (const QString &key : keys)
                copyForTest(fetched, *storeContact, key);
            return std::optional(fetched);
        });
    }
    void TearDown() override
    {
        QNPerson::setContactFetcher({});
        ContactsUserDefaults::setCountryCodeForTesting(std::nullopt);
        ContactsUserDefaults::setSortOrderForTesting(std::nullopt);
    }

    static void copyForTest(StoreContact &to, const StoreContact &from, const QString &key)
    {
        if (StoreKey::stringKeys().contains(key))
            to.setStringForKey(key, from.stringForKey(key));
        else if (key == StoreKey::Birthday)
            to.birthday = from.birthday;
        else if (key == StoreKey::PhoneNumbers)
            to.phoneNumbers = from.phoneNumbers;
        to.setContactType(from.contactType());
    }

    // A contact as the load fetches it: everything but the given keys.
    static StoreContact fetchedWithout(const StoreContact &contact, const QStringList &missing)
    {
        QStringList keys = StoreKey::allKeys();
        for (const QString &key : missing)
            keys.removeAll(key);
        StoreContact fetched = StoreContact::fetched(contact.identifier(), keys);
        for (const QString &key : keys)
            copyWhole(fetched, contact, key);
        return fetched;
    }

    static void copyWhole(StoreContact &to, const StoreContact &from, const QString &key)
    {
        copyForTest(to, from, key);
        if (key == StoreKey::EmailAddresses)
            to.emailAddresses = from.emailAddresses;
        else if (key == StoreKey::PostalAddresses)
            to.postalAddresses = from.postalAddresses;
    }

    static QVariantMap entry(const QString &label, const QVariant &value, int labelIndex = -1)
    {
        QVariantMap map{{PersonKey::Label, label}, {PersonKey::Value, value}};
        if (labelIndex >= 0)
            map.insert(PersonKey::LabelIndex, labelIndex);
        return map;
    }

    static QList<qsizetype> labelIndexes(const QVariantList &list)
    {
        QList<qsizetype> numbers;
        for (const QVariant &item : list)
            numbers.append(item.toMap().value(PersonKey::LabelIndex).toLongLong());
        return numbers;
    }

    // The store behind the fetcher, and the key lists it was asked for.
    std::optional<StoreContact> storeContact;
    QList<QStringList> fetches;
};
