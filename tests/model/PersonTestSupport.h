#pragma once

#include "model/LabelTables.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/StoreBuilder.h"
#include "platform/StoreLabels.h"

#include <gtest/gtest.h>

#include <memory>

// A labelled entry as the editors hand it over; a labelIndex below 0 leaves it out.
inline QVariantMap entry(const QString &label, const QVariant &value, int labelIndex = -1)
{
    QVariantMap map{{PersonKey::Label, label}, {PersonKey::Value, value}};
    if (labelIndex >= 0)
        map.insert(PersonKey::LabelIndex, labelIndex);
    return map;
}

inline QList<qsizetype> labelIndexes(const QVariantList &list)
{
    QList<qsizetype> numbers;
    for (const QVariant &item : list)
        numbers.append(item.toMap().value(PersonKey::LabelIndex).toLongLong());
    return numbers;
}

// Records under test see the user's country "us" and sort by given name, and leave the label
// tables as they found them. Tests that fetch from the store get a fresh one.
class PersonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ContactsUserDefaults::setCountryCodeForTesting(QStringLiteral("us"));
        ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderGivenName);
    }
    void TearDown() override
    {
        ContactsUserDefaults::setCountryCodeForTesting(std::nullopt);
        ContactsUserDefaults::setSortOrderForTesting(std::nullopt);
        LabelTables::shared().reset();
    }

    StoreBuilder &builder()
    {
        if (!m_builder)
            m_builder = std::make_unique<StoreBuilder>();
        return *m_builder;
    }

    // Stores the contact and fetches it with every key but the missing ones, as the load does;
    // with gone, removes it from the store afterwards so that fetching it again fails.
    StoreContact storedAndFetchedWithout(const StoreContact &contact, const QStringList &missing,
                                         bool gone = false)
    {
        const QString identifier = builder().addContact(builder().localContainer(), contact);
        QStringList keys = StoreKey::allKeys();
        for (const QString &key : missing)
            keys.removeAll(key);
        const StoreResult<StoreContact> fetched = builder().store().unifiedContact(identifier, keys);
        EXPECT_TRUE(fetched.ok()) << fetched.error.toStdString();
        if (gone) {
            StoreSaveRequest request;
            request.deleteContact(identifier);
            EXPECT_TRUE(builder().store().execute(request).ok());
        }
        return fetched.value;
    }

private:
    std::unique_ptr<StoreBuilder> m_builder;
};
