#pragma once

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/StoreBuilder.h"
#include "platform/StoreLabels.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

// Records under test see the user's country "us" and sort by given name. Tests that need the
// store to fetch from get a fresh one.
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
    }

    StoreBuilder &builder()
    {
        if (!m_builder)
            m_builder = std::make_unique<StoreBuilder>();
        return *m_builder;
    }

    // The contact as the store keeps it, fetched with every key but the missing ones, as the load
    // fetches its contacts.
    StoreContact storedAndFetchedWithout(const StoreContact &contact, const QStringList &missing)
    {
        const QString identifier = builder().addContact(builder().localContainer(), contact);
        EXPECT_TRUE(builder().ok()) << builder().error().toStdString();
        QStringList keys = StoreKey::allKeys();
        for (const QString &key : missing)
            keys.removeAll(key);
        const StoreResult<StoreContact> fetched = builder().store().unifiedContact(identifier, keys);
        EXPECT_TRUE(fetched.ok()) << fetched.error.toStdString();
        return fetched.value;
    }

    void removeFromStore(const QString &identifier)
    {
        StoreSaveRequest request;
        request.deleteContact(identifier);
        ASSERT_TRUE(builder().store().execute(request).ok());
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

private:
    std::unique_ptr<StoreBuilder> m_builder;
};
