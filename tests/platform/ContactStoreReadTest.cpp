#include "StoreTestSupport.h"

#include <QHash>
#include <QSet>

namespace {

QStringList identifiersOf(const QList<StoreContact> &contacts)
{
    QStringList identifiers;
    for (const StoreContact &contact : contacts)
        identifiers.append(contact.identifier());
    return identifiers;
}

} // namespace

TEST_F(StoreTest, NewStoreHoldsOneLocalContainerThatIsTheDefault)
{
    StoreResult<QList<StoreContainer>> containers = store().containers();
    ASSERT_TRUE(containers.ok()) << containers.error.toStdString();
    ASSERT_EQ(containers.value.size(), 1);
    EXPECT_EQ(containers.value[0].type, StoreContainerLocal);
    EXPECT_EQ(store().defaultContainerIdentifier().value, containers.value[0].identifier);
    EXPECT_TRUE(store().groupsInContainer(local()).value.isEmpty());
    EXPECT_TRUE(store().contactsInContainer(local(), StoreKey::allKeys()).value.isEmpty());
}

TEST_F(StoreTest, ContainersOfEveryTypeAndWithoutNameAreKeptInOrder)
{
    const QList<std::pair<QString, int>> wanted{{QStringLiteral("Exchange"), StoreContainerExchange},
                                                {QString(), StoreContainerCardDAV},
                                                {QStringLiteral("iCloud"), StoreContainerCardDAV},
                                                {QString(), StoreContainerUnassigned},
                                                {QStringLiteral("odd"), 42},
                                                {QStringLiteral("negative"), -7}};
    for (const auto &[name, type] : wanted)
        builder().addContainer(name, type);
    ASSERT_TRUE(builder().ok()) << builder().error().toStdString();

    const QList<StoreContainer> containers = store().containers().value;
    ASSERT_EQ(containers.size(), wanted.size() + 1);
    for (int i = 0; i < wanted.size(); ++i) {
        EXPECT_EQ(containers[i + 1].name, wanted[i].first);
        EXPECT_EQ(containers[i + 1].type, wanted[i].second);
    }
    QSet<QString> identifiers;
    for (const StoreContainer &container : containers)
        identifiers.insert(container.identifier);
    EXPECT_EQ(identifiers.size(), containers.size());
}

TEST_F(StoreTest, DefaultContainerCanMoveAndFallsBackToTheFirstWhenRemoved)
{
    const QString work = builder().addContainer(QStringLiteral("Work"), StoreContainerExchange);
    ASSERT_TRUE(store().setDefaultContainer(work).ok());
    EXPECT_EQ(store().defaultContainerIdentifier().value, work);

    EXPECT_FALSE(store().setDefaultContainer(QStringLiteral("no-such-container")).ok());
    EXPECT_EQ(store().defaultContainerIdentifier().value, work);

    ASSERT_TRUE(store().removeContainer(work).ok());
    EXPECT_EQ(store().defaultContainerIdentifier().value, local());
    ASSERT_TRUE(store().removeContainer(local()).ok());
    EXPECT_FALSE(store().defaultContainerIdentifier().ok());
    EXPECT_TRUE(store().containers().value.isEmpty());
}

struct PartialFetchCase
{
    const char *name;
    QStringList keys;
};

class PartialFetch : public StoreTest, public ::testing::WithParamInterface<PartialFetchCase>
{
};

// A fetched contact has exactly the asked keys (plus identifier and type), with the stored
// values under them and nothing under the others.
TEST_P(PartialFetch, ContactKnowsExactlyTheFetchedKeys)
{
    const StoreContact full = contactWithEveryField();
    builder().addContact(local(), full);
    ASSERT_TRUE(builder().ok()) << builder().error().toStdString();
    const StoreContact stored = store().unifiedContact(full.identifier(), StoreKey::allKeys()).value;

    const QStringList keys = GetParam().keys;
    StoreResult<QList<StoreContact>> fetched = store().contactsInContainer(local(), keys);
    ASSERT_TRUE(fetched.ok()) << fetched.error.toStdString();
    ASSERT_EQ(fetched.value.size(), 1);
    const StoreContact &contact = fetched.value[0];
    EXPECT_EQ(contact.identifier(), full.identifier());
    EXPECT_EQ(contact.contactType(), StoreContactType::Organization);
    for (const QString &key : StoreKey::allKeys()) {
        const bool expected =
            keys.contains(key) || key == StoreKey::Identifier || key == StoreKey::ContactType;
        EXPECT_EQ(contact.isKeyAvailable(key), expected) << key.toStdString();
    }
    for (const QString &key : StoreKey::stringKeys())
        EXPECT_EQ(contact.stringForKey(key), keys.contains(key) ? full.stringForKey(key) : QString())
            << key.toStdString();
    EXPECT_EQ(contact.phoneNumbers.size(), keys.contains(StoreKey::PhoneNumbers) ? 2 : 0);
    EXPECT_EQ(contact.postalAddresses.isEmpty(), !keys.contains(StoreKey::PostalAddresses));
    EXPECT_EQ(contact.birthday.has_value(), keys.contains(StoreKey::Birthday));
    EXPECT_EQ(contact.imageData, keys.contains(StoreKey::ImageData) ? stored.imageData : QByteArray());
    EXPECT_EQ(contact.thumbnailImageData,
              keys.contains(StoreKey::ThumbnailImageData) ? stored.thumbnailImageData : QByteArray());
    if (keys.contains(StoreKey::ImageDataAvailable)) {
        EXPECT_TRUE(contact.imageDataAvailable());
    }
}

INSTANTIATE_TEST_SUITE_P(
    KeyLists, PartialFetch,
    ::testing::Values(PartialFetchCase{"nothing", {}},
                      PartialFetchCase{"oneName", {StoreKey::PhoneticFamilyName}},
                      PartialFetchCase{"nameKeysTwice",
                                       {StoreKey::GivenName, StoreKey::FamilyName, StoreKey::GivenName,
                                        StoreKey::ContactType}},
                      PartialFetchCase{"listsOnly", {StoreKey::PhoneNumbers, StoreKey::PostalAddresses}},
                      PartialFetchCase{"photoFlagOnly", {StoreKey::ImageDataAvailable}},
                      PartialFetchCase{"thumbnailOnly", {StoreKey::ThumbnailImageData, StoreKey::Birthday}},
                      PartialFetchCase{"everything", StoreKey::allKeys()}),
    [](const ::testing::TestParamInfo<PartialFetchCase> &info) { return std::string(info.param.name); });

TEST_F(StoreTest, RefetchByIdentifierGivesTheMissingKey)
{
    StoreContact person;
    person.givenName = QStringLiteral("Hana");
    person.departmentName = QStringLiteral("Research");
    builder().addContact(local(), person);

    const StoreContact partial = store().contactsInContainer(local(), {StoreKey::GivenName}).value.value(0);
    ASSERT_FALSE(partial.isKeyAvailable(StoreKey::DepartmentName));
    StoreResult<StoreContact> again =
        store().unifiedContact(partial.identifier(), {StoreKey::DepartmentName});
    ASSERT_TRUE(again.ok()) << again.error.toStdString();
    EXPECT_TRUE(again.value.isKeyAvailable(StoreKey::DepartmentName));
    EXPECT_FALSE(again.value.isKeyAvailable(StoreKey::GivenName));
    EXPECT_EQ(again.value.departmentName, QStringLiteral("Research"));
}

TEST_F(StoreTest, UnknownIdentifiersAndKeysAreErrors)
{
    const QString someone = builder().addPerson(local(), QStringLiteral("A"), QStringLiteral("B"));
    StoreResult<StoreContact> missing =
        store().unifiedContact(QStringLiteral("no-such-contact"), {StoreKey::GivenName});
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error.contains(QStringLiteral("no-such-contact"))) << missing.error.toStdString();
    EXPECT_FALSE(store().contactsInContainer(QStringLiteral("nowhere"), {}).ok());
    EXPECT_FALSE(store().contactsInGroup(QStringLiteral("nogroup"), {}).ok());
    EXPECT_FALSE(store().groupsInContainer(QStringLiteral("nowhere")).ok());
    EXPECT_FALSE(store().unifiedContact(someone, {QStringLiteral("shoeSize")}).ok());
    EXPECT_TRUE(store().unifiedContact(someone, {}).ok());
}

TEST_F(StoreTest, ContactsComeInInsertionOrderAfterUpdatesAndDeletions)
{
    QStringList expected;
    for (const QString &name :
         {QStringLiteral("Zed"), QStringLiteral("Amy"), QStringLiteral("Mia"), QStringLiteral("Bob")})
        expected.append(builder().addPerson(local(), name, QString()));
    ASSERT_TRUE(builder().ok());

    StoreContact first = store().unifiedContact(expected[0], {StoreKey::GivenName}).value;
    first.givenName = QStringLiteral("Zoe");
    StoreSaveRequest request;
    request.updateContact(first);
    request.deleteContact(expected[2]);
    ASSERT_TRUE(store().execute(request).ok());
    expected.removeAt(2);
    expected.append(builder().addPerson(local(), QStringLiteral("Ann"), QString()));

    EXPECT_EQ(identifiersOf(store().contactsInContainer(local(), {StoreKey::GivenName}).value), expected);
}

// The program's end stops a long read at once.
TEST_F(StoreTest, AContactReadStopsOnceItsCancelFlagIsSet)
{
    const QString group = builder().addGroup(local(), QStringLiteral("Friends"));
    builder().addMember(builder().addPerson(local(), QStringLiteral("Ann"), QStringLiteral("Lee")), group);
    ASSERT_TRUE(builder().ok()) << builder().error().toStdString();
    std::atomic<bool> cancelled{true};
    store().setCancelFlag(&cancelled);
    EXPECT_FALSE(store().contactsInContainer(local(), {StoreKey::GivenName}).ok());
    EXPECT_FALSE(store().contactsInGroup(group, {StoreKey::PhoneNumbers}).ok());
    cancelled = false;
    EXPECT_EQ(store().contactsInContainer(local(), {StoreKey::GivenName}).value.size(), 1);
}

TEST_F(StoreTest, GroupsAndTheirMembersStayWithTheirContainer)
{
    const QString other = builder().addContainer(QStringLiteral("Work"), StoreContainerCardDAV);
    const QString friends = builder().addGroup(local(), QStringLiteral("Friends"));
    const QString unnamed = builder().addGroup(local(), QString());
    const QString colleagues = builder().addGroup(other, QStringLiteral("Colleagues"));
    const QString a = builder().addPerson(local(), QStringLiteral("A"), QString());
    const QString b = builder().addPerson(local(), QStringLiteral("B"), QString());
    const QString c = builder().addPerson(local(), QStringLiteral("C"), QString());
    const QString w = builder().addPerson(other, QStringLiteral("W"), QString());
    builder().addMember(c, friends);
    builder().addMember(a, friends);
    builder().addMember(w, colleagues);
    ASSERT_TRUE(builder().ok()) << builder().error().toStdString();

    const QList<StoreGroup> groups = store().groupsInContainer(local()).value;
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0], (StoreGroup{friends, QStringLiteral("Friends")}));
    EXPECT_EQ(groups[1], (StoreGroup{unnamed, QString()}));
    EXPECT_EQ(identifiersOf(store().contactsInGroup(friends, {}).value), (QStringList{a, c}));
    EXPECT_TRUE(store().contactsInGroup(unnamed, {}).value.isEmpty());
    EXPECT_EQ(identifiersOf(store().contactsInContainer(other, {}).value), QStringList{w});
    EXPECT_EQ(identifiersOf(store().contactsInContainer(local(), {}).value), (QStringList{a, b, c}));
}

TEST_F(StoreTest, GroupFetchFaultHitsOnlyItsContainerUntilCleared)
{
    const QString other = builder().addContainer(QStringLiteral("Work"), StoreContainerExchange);
    builder().addGroup(local(), QStringLiteral("Family"));
    builder().addGroup(other, QStringLiteral("Team"));

    store().failGroupFetchForContainer(other);
    ContactStore anotherHandle(storePath());
    EXPECT_FALSE(anotherHandle.groupsInContainer(other).ok());
    EXPECT_FALSE(anotherHandle.groupsInContainer(other).error.isEmpty());
    EXPECT_EQ(anotherHandle.groupsInContainer(local()).value.size(), 1);

    store().clearFaults();
    EXPECT_EQ(anotherHandle.groupsInContainer(other).value.size(), 1);
}

TEST_F(StoreTest, PhotoFlagWithoutTheImage)
{
    StoreContact withPhoto;
    withPhoto.imageData = pngImage(40, 40);
    const QString pictured = builder().addContact(local(), withPhoto);
    const QString plain = builder().addPerson(local(), QStringLiteral("No"), QStringLiteral("Photo"));

    const QStringList keys{StoreKey::ImageDataAvailable};
    const StoreContact a = store().unifiedContact(pictured, keys).value;
    EXPECT_TRUE(a.imageDataAvailable());
    EXPECT_TRUE(a.imageData.isEmpty());
    EXPECT_FALSE(store().unifiedContact(plain, keys).value.imageDataAvailable());
}

// Contacts of two containers added in turn, some updated (their entries rewritten after the
// others'): every read gives each contact its own lists, in their order, and no one else's.
TEST_F(StoreTest, EachContactGetsItsOwnEntriesWhateverTheOrderTheyWereWritten)
{
    const QString other = builder().addContainer(QStringLiteral("Work"), StoreContainerCardDAV);
    const QString group = builder().addGroup(local(), QStringLiteral("Friends"));
    QHash<QString, QStringList> phones;
    QStringList ours;
    for (int i = 0; i < 6; ++i) {
        StoreContact contact;
        contact.givenName = QString::number(i);
        for (int n = 0; n <= i % 3; ++n)
            contact.phoneNumbers.append(
                {QString(), QStringLiteral("_$!<Mobile>!$_"), QStringLiteral("%1-%2").arg(i).arg(n)});
        contact.emailAddresses = {{QString(), QString(), QStringLiteral("%1@example.com").arg(i)}};
        const QString identifier = builder().addContact(i % 2 ? other : local(), contact);
        for (const StoreLabeledString &phone : contact.phoneNumbers)
            phones[identifier].append(phone.value);
        if (i % 2 == 0) {
            ours.append(identifier);
            builder().addMember(identifier, group);
        }
    }
    ASSERT_TRUE(builder().ok()) << builder().error().toStdString();
    StoreContact first = store().unifiedContact(ours.first(), StoreKey::allKeys()).value;
    first.phoneNumbers.prepend({QString(), QString(), QStringLiteral("new")});
    StoreSaveRequest request;
    request.updateContact(first);
    ASSERT_TRUE(store().execute(request).ok());
    phones[ours.first()].prepend(QStringLiteral("new"));

    const auto check = [&](const QList<StoreContact> &contacts, const QStringList &keys) {
        for (const StoreContact &contact : contacts) {
            QStringList values;
            for (const StoreLabeledString &phone : contact.phoneNumbers)
                values.append(phone.value);
            EXPECT_EQ(values, phones.value(contact.identifier())) << contact.givenName.toStdString();
            const bool emails = keys.contains(StoreKey::EmailAddresses);
            EXPECT_EQ(contact.emailAddresses.size(), emails ? 1 : 0) << contact.givenName.toStdString();
            if (emails) {
                EXPECT_EQ(contact.emailAddresses.value(0).value,
                          contact.givenName + QStringLiteral("@example.com"));
            }
        }
    };
    for (const QStringList &keys :
         {StoreKey::allKeys(), QStringList{StoreKey::GivenName, StoreKey::PhoneNumbers}}) {
        const QList<StoreContact> mine = store().contactsInContainer(local(), keys).value;
        EXPECT_EQ(identifiersOf(mine), ours);
        check(mine, keys);
        check(store().contactsInContainer(other, keys).value, keys);
        check(store().contactsInGroup(group, keys).value, keys);
    }
}
