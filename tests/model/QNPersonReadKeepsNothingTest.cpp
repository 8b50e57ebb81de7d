#include "PersonTestSupport.h"

namespace {

using Kind = QNPerson::LabeledKind;

StoreContact fullContact()
{
    StoreContact contact;
    contact.givenName = QStringLiteral("太郎");
    contact.familyName = QStringLiteral("山田");
    contact.phoneticGivenName = QStringLiteral("たろう");
    contact.phoneticFamilyName = QStringLiteral("やまだ");
    contact.organizationName = QStringLiteral("Acme");
    contact.phoneNumbers = {{QString(), QStringLiteral("_$!<Home>!$_"), QStringLiteral("555 1")},
                            {QString(), QStringLiteral("gym"), QStringLiteral("555 2")},
                            {QString(), QString(), QStringLiteral("555 3")}};
    contact.emailAddresses = {{QString(), QStringLiteral("_$!<Work>!$_"), QStringLiteral("taro@example.com")}};
    StorePostalAddress address;
    address.city = QStringLiteral("Tokyo");
    address.country = QStringLiteral("Japan");
    contact.postalAddresses = {{QString(), QStringLiteral("_$!<Home>!$_"), address}};
    contact.dates = {{QString(), QStringLiteral("_$!<Anniversary>!$_"), DateComponents{2001, 5, 3}}};
    contact.makeAllKeysAvailable();
    return contact;
}

QVariantMap everyValue(QNPerson &person)
{
    QVariantMap values;
    for (const QString &identifier : QNPerson::allIdentifiers() + QNPerson::phoneticIdentifiers() +
                                         QStringList{"FirstName", "LastName"}) {
        if (identifier != PersonIdentifier::Photo)
            values.insert(identifier, person.valueForIdentifier(identifier));
        values.insert("text " + identifier, person.stringValueForIdentifier(identifier));
    }
    return values;
}

// An unedited record answers from its store contact and keeps no dictionary of its own: what it
// shows must be what it would hold once every value is read for a whole write.
TEST_F(PersonTest, ReadsKeepNothingAndAnswerAsHeldValuesDo)
{
    QNPerson read(fullContact());
    const QVariantMap shown = everyValue(read);
    EXPECT_EQ(shown.value("Name").toMap().value("stringValue"), "山田 太郎");
    EXPECT_EQ(shown.value("text Phonetic Name"), "やまだ たろう");
    EXPECT_EQ(shown.value("Phone").toList().size(), 3);
    EXPECT_FALSE(read.heldNameValue());
    EXPECT_FALSE(read.heldPhoneticNameValue());
    for (int kind = 0; kind < QNPerson::LabeledKindCount; ++kind)
        EXPECT_FALSE(read.heldLabeledValues(static_cast<Kind>(kind))) << kind;
    EXPECT_FALSE(read.isChanged());

    QNPerson held(fullContact());
    held.readEveryValue();
    EXPECT_TRUE(held.heldNameValue());
    EXPECT_TRUE(held.heldLabeledValues(Kind::Phone));
    EXPECT_EQ(everyValue(held), shown);
    EXPECT_EQ(held.contactFromCache(std::nullopt).phoneNumbers.size(), 3);
}

// Commands that change one entry of a list nobody read yet must find it, not skip the record.
TEST_F(PersonTest, EntryCommandsWorkOnAListNeverKept)
{
    QNPerson deleting(fullContact());
    deleting.deleteLabeledValueForIdentifier("Phone", 1);
    EXPECT_EQ(labelIndexes(deleting.labeledValues(Kind::Phone)), (QList<qsizetype>{0, 2}));
    EXPECT_TRUE(deleting.editedStoreKeys().contains(StoreKey::PhoneNumbers));

    QNPerson sorting(fullContact());
    EXPECT_TRUE(sorting.sortForIdentifier("Phone", "stringValue", false));
    EXPECT_EQ(labelIndexes(sorting.labeledValues(Kind::Phone)), (QList<qsizetype>{2, 1, 0}));

    QNPerson readable(fullContact());
    EXPECT_TRUE(readable.labeledValuesReadable(Kind::Phone));
    EXPECT_TRUE(QNPerson().labeledValuesReadable(Kind::Phone));
}

// A name part set over a name never kept is compared with the stored name: only that part is
// written at Save, and the company flag stays the store's.
TEST_F(PersonTest, OnePartSetOverAnUnkeptNameMarksThatPartOnly)
{
    StoreContact company = fullContact();
    company.setContactType(StoreContactType::Organization);
    QNPerson record(company);
    EXPECT_EQ(record.compositeName(), "Acme");
    EXPECT_EQ(record.uniqueId2(), "Acme");
    record.setValue("花子", "FirstName");
    EXPECT_EQ(record.editedStoreKeys(), QSet<QString>{StoreKey::GivenName});
    EXPECT_FALSE(record.showAsPerson());
    EXPECT_EQ(record.namePart("LastName"), "山田");

    QNPerson phonetic(fullContact());
    phonetic.setValue(QVariantMap{{"FirstName", "はなこ"}, {"LastName", "やまだ"}}, "Phonetic Name");
    EXPECT_EQ(phonetic.editedStoreKeys(), QSet<QString>{StoreKey::PhoneticGivenName});
    EXPECT_EQ(phonetic.phoneticName(), "やまだ はなこ");
}

} // namespace
