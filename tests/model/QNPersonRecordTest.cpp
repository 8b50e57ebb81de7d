#include "PersonTestSupport.h"

#include <QJsonDocument>
#include <QRegularExpression>

#include <thread>
#include <vector>

namespace {

using Kind = QNPerson::LabeledKind;

TEST_F(PersonTest, NewRecordsGetDistinctUpperCaseUuids)
{
    QNPerson first;
    QNPerson second;
    const QRegularExpression uuid(
        QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
    EXPECT_TRUE(uuid.match(first.uniqueId()).hasMatch()) << first.uniqueId().toStdString();
    EXPECT_NE(first.uniqueId(), second.uniqueId());
    EXPECT_TRUE(first.isCreated());
    EXPECT_FALSE(first.isChanged());
    EXPECT_TRUE(first.showAsPerson());
    EXPECT_FALSE(first.heldLabeledValues(Kind::Phone));
    EXPECT_FALSE(first.heldLabeledValues(Kind::Email));
    EXPECT_EQ(first.defaultCountryCode(), "US");
    EXPECT_EQ(first.defaultNameOrdering(), 1);
}

TEST_F(PersonTest, StoreCompanyIsKeyedByItsNameAndPersonIsNot)
{
    StoreContact company;
    company.setContactType(StoreContactType::Organization);
    company.organizationName = QStringLiteral("Acme");
    QNPerson record(company);
    EXPECT_EQ(record.uniqueId(), company.identifier());
    EXPECT_EQ(record.uniqueId2(), "Acme");
    EXPECT_EQ(record.compositeName(), "Acme");
    EXPECT_FALSE(record.isCreated());
    EXPECT_FALSE(record.isChanged());

    StoreContact person;
    person.givenName = QStringLiteral("Ann");
    EXPECT_TRUE(QNPerson(person).uniqueId2().isNull());
}

struct GeneratedIdRow
{
    const char *compositeName;
    const char *prefix;
};

class GeneratedUniqueId : public PersonTest, public ::testing::WithParamInterface<GeneratedIdRow>
{
};

TEST_P(GeneratedUniqueId, ArchiveWithoutOneMakesItFromNameAndDate)
{
    QJsonObject archive{{QStringLiteral("compositeName"), QString::fromUtf8(GetParam().compositeName)}};
    const QNPersonPtr record = QNPerson::initWithCoder(archive);
    const QString id = record->uniqueId();
    const QRegularExpression form(QRegularExpression::escape(QString::fromUtf8(GetParam().prefix)) +
                                  QStringLiteral("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\+0000$"));
    EXPECT_TRUE(form.match(id).hasMatch()) << id.toStdString();
    EXPECT_EQ(record->uniqueId(), id);
}

INSTANTIATE_TEST_SUITE_P(Names, GeneratedUniqueId,
                         ::testing::Values(GeneratedIdRow{"Ann Lee", "Ann Lee+"},
                                           GeneratedIdRow{"", "TamriskSoftware+"}));

TEST_F(PersonTest, ArchiveSurvivesJson)
{
    QNPerson record;
    record.setNameValue(
        QVariantMap{{PersonKey::FirstName, QStringLiteral("Ann")}, {PersonKey::ShowAsPerson, true}},
        PersonIdentifier::Name);
    record.addPhoneValue(entry(QStringLiteral("home"), QStringLiteral("0123")));
    record.addPhoneValue(entry(QStringLiteral("work"), QStringLiteral("0456")));
    record.setBirthdayValue(
        QVariantMap{{PersonKey::Value, QNPerson::variantFromDateComponents({1990, 3, 5})}});
    record.setImageData(QByteArray("\x89PNG\0\x01", 6));
    record.setItem(QStringLiteral("Note"), QStringLiteral("hello"));
    record.setOwnCustomItems({QVariantMap{{QStringLiteral("Name"), QStringLiteral("Blood")},
                                          {QStringLiteral("ImageData"), QByteArray("\0\xff", 2)}}});
    record.setChanged(false);

    const QByteArray json = QJsonDocument(record.encodeWithCoder()).toJson();
    const QNPersonPtr decoded = QNPerson::initWithCoder(QJsonDocument::fromJson(json).object());

    EXPECT_EQ(decoded->uniqueId(), record.uniqueId());
    EXPECT_FALSE(decoded->isChanged());
    EXPECT_TRUE(decoded->isCreated());
    EXPECT_EQ(decoded->nameValue().value(PersonKey::StringValue), "Ann");
    EXPECT_EQ(labelIndexes(decoded->phoneValues()), (QList<qsizetype>{0, 1}));
    decoded->addPhoneValue(entry(QStringLiteral("other"), QStringLiteral("0789")));
    EXPECT_EQ(labelIndexes(decoded->phoneValues()).last(), 2);
    EXPECT_EQ(decoded->birthdayValue()->value(PersonKey::StringValue), "1990.03.05(Mon)");
    EXPECT_EQ(decoded->imageData(), record.imageData());
    EXPECT_EQ(decoded->item(QStringLiteral("Note")), "hello");
    EXPECT_EQ(decoded->ownCustomItems().first().toMap().value(QStringLiteral("ImageData")).toByteArray(),
              QByteArray("\0\xff", 2));
    // The e-mail list goes through its reader: a standalone record's reads as empty.
    EXPECT_EQ(decoded->heldLabeledValues(Kind::Email), QVariantList());
    EXPECT_FALSE(decoded->heldLabeledValues(Kind::URL));
}

// --- Fetching a key again ------------------------------------------------------------------------

TEST_F(PersonTest, FailedFetchCachesNothingAndKeepsTheContact)
{
    StoreContact stored;
    stored.note = QStringLiteral("keep me");
    stored.birthday = DateComponents{1990, 3, 5};
    stored.phoneNumbers = {{QString(), StoreLabel::Home, QStringLiteral("0123")}};
    const StoreContact loaded =
        storedAndFetchedWithout(stored, {StoreKey::Note, StoreKey::Birthday, StoreKey::PhoneNumbers});
    removeFromStore(stored.identifier());
    QNPerson record(loaded);

    EXPECT_EQ(record.stringFieldForIdentifier(QStringLiteral("Note")), "");
    EXPECT_FALSE(record.item(QStringLiteral("Note")).isValid());
    EXPECT_EQ(record.birthdayValue(), (QVariantMap{{PersonKey::StringValue, QString()}}));
    EXPECT_TRUE(record.phoneValues().isEmpty());
    EXPECT_FALSE(record.heldLabeledValues(Kind::Phone));
    record.addPhoneValue(entry(QStringLiteral("work"), QStringLiteral("0456")));
    EXPECT_FALSE(record.heldLabeledValues(Kind::Phone));
    EXPECT_FALSE(record.isChanged());
    EXPECT_EQ(record.cnContact()->availableKeys(), loaded.availableKeys());

    // Saving now cannot erase what the store holds.
    const StoreContact saved = record.contactFromCache(stored);
    EXPECT_EQ(saved.note, "keep me");
    EXPECT_EQ(saved.birthday, stored.birthday);
    EXPECT_EQ(saved.phoneNumbers, stored.phoneNumbers);
}

TEST_F(PersonTest, FetchedKeyJoinsTheRecordsContact)
{
    StoreContact stored;
    stored.givenName = QStringLiteral("Ann");
    stored.note = QStringLiteral("from the store");
    stored.phoneNumbers = {{QString(), StoreLabel::Home, QStringLiteral("0123")}};
    QNPerson record(storedAndFetchedWithout(stored, {StoreKey::Note, StoreKey::PhoneNumbers}));

    EXPECT_EQ(record.stringFieldForIdentifier(QStringLiteral("Note")), "from the store");
    EXPECT_EQ(record.phoneValues().value(0).toMap().value(PersonKey::Value), "0123");
    const StoreContact contact = *record.cnContact();
    EXPECT_TRUE(contact.isKeyAvailable(StoreKey::Note));
    EXPECT_TRUE(contact.isKeyAvailable(StoreKey::PhoneNumbers));
    EXPECT_EQ(contact.givenName, "Ann");
    EXPECT_EQ(contact.note, "from the store");

    // What the record now holds is written back under the keys the store will take.
    record.setItem(QStringLiteral("Note"), QStringLiteral("edited"));
    StoreSaveRequest request;
    request.updateContact(record.contactFromCache(contact));
    ASSERT_TRUE(builder().store().execute(request).ok());
    EXPECT_EQ(builder().store().unifiedContact(stored.identifier(), {StoreKey::Note}).value.note, "edited");
}

TEST_F(PersonTest, RefreshReadsStoreValuesAgainButKeepsStandaloneOnes)
{
    StoreContact stored;
    stored.givenName = QStringLiteral("Ann");
    stored.note = QStringLiteral("stored");
    QNPerson record(stored);
    record.setItem(QStringLiteral("Note"), QStringLiteral("edited"));
    record.setNameValue(QStringLiteral("Bea"), PersonKey::FirstName);
    record.refreshCache();
    EXPECT_EQ(record.item(QStringLiteral("Note")), "stored");
    EXPECT_EQ(record.compositeName(), "Ann");

    QNPerson standalone;
    standalone.setItem(QStringLiteral("Note"), QStringLiteral("mine"));
    standalone.refreshCache();
    EXPECT_EQ(standalone.item(QStringLiteral("Note")), "mine");
}

// The load builds records on four threads at once.
TEST_F(PersonTest, RecordsAreBuiltOnSeveralThreadsAtOnce)
{
    QList<StoreContact> contacts;
    for (int i = 0; i < 200; ++i) {
        StoreContact contact;
        contact.givenName = QStringLiteral("Name %1").arg(i);
        contact.phoneNumbers = {
            {QString(), QStringLiteral("label %1").arg(i % 7), QStringLiteral("%1").arg(i)}};
        contact.postalAddresses = {{QString(),
                                    StoreLabel::Home,
                                    {QString(), QStringLiteral("City"), {}, {}, QStringLiteral("日本"), {}}}};
        contacts.append(contact);
    }
    QList<QNPersonPtr> records(contacts.size());
    std::vector<std::thread> threads;
    for (int slice = 0; slice < 4; ++slice) {
        threads.emplace_back([&, slice] {
            for (qsizetype i = slice; i < contacts.size(); i += 4) {
                records[i] = std::make_shared<QNPerson>(contacts[i]);
                records[i]->phoneValues();
                records[i]->addressValues();
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (qsizetype i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i]->compositeName(), QStringLiteral("Name %1").arg(i));
        EXPECT_EQ(records[i]->addressValues().first().toMap().value(PersonKey::PredictCountryCode), "JP");
    }
    EXPECT_TRUE(QNPerson::labelsForIdentifier(QStringLiteral("Phone"))->contains(QStringLiteral("label 6")));
}

} // namespace
