#include "PersonTestSupport.h"

#include <functional>

namespace {

using Kind = QNPerson::LabeledKind;

// Views keep what they made of a record until its revision moves: every write must move it, and
// reads must not, or nothing would be kept.
TEST_F(PersonTest, EveryWriteMovesTheRevisionAndNoReadDoes)
{
    QNPerson person;
    person.setValue(QVariantList{entry("home", "2"), entry("work", "1")}, "Phone");
    const std::pair<const char *, std::function<void()>> writes[] = {
        {"string field", [&] { person.setValue("Acme", "Company"); }},
        {"list",
         [&] {
             person.setValue(QVariantList{entry("home", "2"), entry("work", "1")}, "Phone");
         }},
        {"added entry", [&] { person.addLabeledValue(entry("other", "3"), "Phone"); }},
        {"replaced entry", [&] { person.replaceLabeledValue(entry("work", "4", 1), "Phone"); }},
        {"entry at a position", [&] { person.replaceLabeledEntries(Kind::Phone, entry("home", "5"), 0); }},
        {"deleted entry", [&] { person.deleteLabeledValueForIdentifier("Phone", 2); }},
        {"sorted list", [&] { person.sortForIdentifier("Phone", "stringValue", true); }},
        {"held list", [&] { person.setHeldLabeledValues(Kind::Email, QVariantList()); }},
        {"name",
         [&] {
             person.setValue(QVariantMap{{"FirstName", "Ann"}}, "Name");
         }},
        {"name part", [&] { person.setValue("Lee", "LastName"); }},
        {"phonetic name", [&] { person.setValue("an", "Phonetic FirstName"); }},
        {"company flag", [&] { person.setShowAsPerson(false); }},
        {"name order", [&] { person.setNameOrdering(2); }},
        {"birthday",
         [&] {
             person.setBirthdayValue(QVariantMap{{"value", QVariantMap{{"day", 3}}}});
         }},
        {"photo", [&] { person.setPhoto(std::nullopt); }},
        {"custom item", [&] { person.addCustomItem("String Value", "Hobby", {}, std::nullopt); }},
        {"custom value", [&] { person.setValue("chess", "Hobby"); }},
        {"custom item gone", [&] { person.deleteCustomItemForName("Hobby"); }},
        {"store contact", [&] { person.setCnContact(StoreContact()); }},
        {"unique id", [&] { person.setUniqueId("A-1"); }},
    };
    for (const auto &[name, write] : writes) {
        const quint64 before = person.revision();
        write();
        EXPECT_GT(person.revision(), before) << name;
    }

    const quint64 before = person.revision();
    person.labeledValueForIdentifier("Phone");
    person.labeledValueForIdentifierAtIndex("Phone", 0);
    person.stringValueForIdentifier("Company");
    person.valueForIdentifier("Name");
    person.nameValue();
    person.compositeName();
    person.phoneticNameValue();
    person.birthdayValue();
    person.customValueForIdentifier("Hobby");
    person.thumbnail();
    EXPECT_EQ(person.revision(), before);
}

// A record of the store reads its lists on first use; that is no change.
TEST_F(PersonTest, ReadingAStoreContactsListsLeavesTheRevision)
{
    StoreContact contact;
    contact.givenName = QStringLiteral("Ann");
    contact.phoneNumbers.append({QString(), QStringLiteral("_$!<Home>!$_"), QStringLiteral("555 1")});
    contact.makeAllKeysAvailable();
    QNPerson person(contact);
    const quint64 before = person.revision();
    EXPECT_EQ(person.labeledValueForIdentifier("Phone").size(), 1);
    EXPECT_EQ(person.stringValueForIdentifier("Note"), "");
    EXPECT_EQ(person.revision(), before);
}

} // namespace

namespace {

// The texts a view takes from an unread list are those of the list once read.
TEST_F(PersonTest, UnreadListTextsAreThoseOfTheListAsRead)
{
    StoreContact contact;
    contact.givenName = QStringLiteral("Ann");
    for (const char *label : {"_$!<Home>!$_", "gym", ""}) {
        contact.phoneNumbers.append({QString(), label, QStringLiteral("555 1\n2")});
        contact.emailAddresses.append({QString(), label, QStringLiteral("ann@example.com")});
        contact.urlAddresses.append({QString(), label, QStringLiteral("example.com")});
        contact.contactRelations.append({QString(), label, QStringLiteral("Bob")});
    }
    contact.postalAddresses.append({QString(), QStringLiteral("_$!<Work>!$_"), StorePostalAddress()});
    contact.dates = {{QString(), QStringLiteral("_$!<Anniversary>!$_"), DateComponents{2001, 5, 3}},
                     {QString(), QString(), DateComponents{std::nullopt, 2, 29}},
                     {QString(), QStringLiteral("gym"), DateComponents{}}};
    contact.socialProfiles = {{QString(), QString(), StoreSocialProfile{"u", "ann", "", "twitter"}},
                              {QString(), QString(), StoreSocialProfile{"u", "ann2", "", ""}},
                              {QString(), QString(), StoreSocialProfile{"u", "ann3", "", "Mastodon"}}};
    contact.makeAllKeysAvailable();
    QNPerson person(contact);
    for (const Kind kind : {Kind::Phone, Kind::Email, Kind::URL, Kind::Relation, Kind::Dates, Kind::SocialProfile}) {
        const auto texts = person.unreadLabeledTexts(kind);
        ASSERT_TRUE(texts) << int(kind);
        const QVariantList read = person.labeledValues(kind);
        ASSERT_EQ(texts->size(), read.size());
        for (qsizetype i = 0; i < read.size(); ++i) {
            EXPECT_EQ(texts->at(i).label, read.at(i).toMap().value("label").toString());
            EXPECT_EQ(texts->at(i).text, read.at(i).toMap().value("stringValue").toString());
        }
        // A read keeps no list; once an edit holds one, the list itself is what views read.
        EXPECT_TRUE(person.unreadLabeledTexts(kind));
        person.setHeldLabeledValues(kind, read);
        EXPECT_FALSE(person.unreadLabeledTexts(kind));
    }
    EXPECT_FALSE(person.unreadLabeledTexts(Kind::Address));
    EXPECT_FALSE(QNPerson().unreadLabeledTexts(Kind::Phone));
}

} // namespace
