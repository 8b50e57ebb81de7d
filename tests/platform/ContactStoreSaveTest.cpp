#include "StoreTestSupport.h"

#include <QImage>
#include <QSet>

namespace {

QStringList identifiersOf(const QList<StoreContact> &contacts)
{
    QStringList identifiers;
    for (const StoreContact &contact : contacts)
        identifiers.append(contact.identifier());
    return identifiers;
}

template <typename T> QList<std::pair<QString, T>> labelsAndValues(const QList<StoreLabeledValue<T>> &entries)
{
    QList<std::pair<QString, T>> result;
    for (const StoreLabeledValue<T> &entry : entries)
        result.append({entry.label, entry.value});
    return result;
}

template <typename T>
void expectSameEntries(const QList<StoreLabeledValue<T>> &actual, const QList<StoreLabeledValue<T>> &expected)
{
    EXPECT_TRUE(labelsAndValues(actual) == labelsAndValues(expected));
    QSet<QString> identifiers;
    for (const StoreLabeledValue<T> &entry : actual) {
        EXPECT_FALSE(entry.identifier.isEmpty());
        identifiers.insert(entry.identifier);
    }
    EXPECT_EQ(identifiers.size(), actual.size());
}

} // namespace

TEST_F(StoreTest, EveryFieldSurvivesSaveAndFetch)
{
    const StoreContact original = contactWithEveryField();
    builder().addContact(local(), original);
    ASSERT_TRUE(builder().ok()) << builder().error().toStdString();

    StoreResult<StoreContact> fetched = store().unifiedContact(original.identifier(), StoreKey::allKeys());
    ASSERT_TRUE(fetched.ok()) << fetched.error.toStdString();
    const StoreContact &contact = fetched.value;
    EXPECT_EQ(contact.contactType(), original.contactType());
    for (const QString &key : StoreKey::stringKeys())
        EXPECT_EQ(contact.stringForKey(key), original.stringForKey(key)) << key.toStdString();
    EXPECT_TRUE(contact.birthday == original.birthday);
    EXPECT_EQ(contact.imageData, original.imageData);
    expectSameEntries(contact.dates, original.dates);
    expectSameEntries(contact.phoneNumbers, original.phoneNumbers);
    expectSameEntries(contact.emailAddresses, original.emailAddresses);
    expectSameEntries(contact.postalAddresses, original.postalAddresses);
    expectSameEntries(contact.urlAddresses, original.urlAddresses);
    expectSameEntries(contact.contactRelations, original.contactRelations);
    expectSameEntries(contact.socialProfiles, original.socialProfiles);
    expectSameEntries(contact.instantMessageAddresses, original.instantMessageAddresses);

    // The store's own thumbnail: a PNG fitted into 320 by 320.
    const QImage thumbnail = QImage::fromData(contact.thumbnailImageData, "PNG");
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_EQ(thumbnail.size(), QSize(320, 160));
}

TEST_F(StoreTest, EntryIdentifiersLastAcrossUpdates)
{
    StoreContact person;
    person.phoneNumbers = {{QString(), QStringLiteral("home"), QStringLiteral("1")},
                           {QString(), QStringLiteral("work"), QStringLiteral("2")}};
    builder().addContact(local(), person);
    StoreContact fetched = store().unifiedContact(person.identifier(), {StoreKey::PhoneNumbers}).value;
    const QString kept = fetched.phoneNumbers[1].identifier;

    fetched.phoneNumbers.removeFirst();
    fetched.phoneNumbers.append({QString(), QStringLiteral("mobile"), QStringLiteral("3")});
    fetched.phoneNumbers.append({kept, QStringLiteral("copy"), QStringLiteral("4")}); // a repeated identifier
    StoreSaveRequest request;
    request.updateContact(fetched);
    ASSERT_TRUE(store().execute(request).ok());

    const QList<StoreLabeledString> phones =
        store().unifiedContact(person.identifier(), {StoreKey::PhoneNumbers}).value.phoneNumbers;
    ASSERT_EQ(phones.size(), 3);
    EXPECT_EQ(phones[0].identifier, kept);
    EXPECT_EQ(phones[1].value, QStringLiteral("3"));
    EXPECT_NE(phones[2].identifier, kept);
    EXPECT_FALSE(phones[2].identifier.isEmpty());
}

TEST_F(StoreTest, UpdateWritesOnlyTheFetchedKeys)
{
    const StoreContact original = contactWithEveryField();
    builder().addContact(local(), original);

    StoreContact partial =
        store().unifiedContact(original.identifier(), {StoreKey::GivenName, StoreKey::PhoneNumbers}).value;
    partial.givenName = QStringLiteral("Changed");
    partial.phoneNumbers.clear();
    partial.familyName = QStringLiteral("never written"); // not fetched, so not written
    StoreSaveRequest request;
    request.updateContact(partial);
    ASSERT_TRUE(store().execute(request).ok());

    const StoreContact after = store().unifiedContact(original.identifier(), StoreKey::allKeys()).value;
    EXPECT_EQ(after.givenName, QStringLiteral("Changed"));
    EXPECT_TRUE(after.phoneNumbers.isEmpty());
    EXPECT_EQ(after.familyName, original.familyName);
    EXPECT_EQ(after.emailAddresses.size(), 1);
    EXPECT_EQ(after.imageData, original.imageData);
    EXPECT_FALSE(after.thumbnailImageData.isEmpty());
}

TEST_F(StoreTest, ThumbnailFollowsTheImage)
{
    StoreContact person;
    builder().addContact(local(), person);
    const QStringList imageKeys{StoreKey::ImageData, StoreKey::ThumbnailImageData};

    StoreContact small = store().unifiedContact(person.identifier(), imageKeys).value;
    small.imageData = pngImage(100, 50);
    small.thumbnailImageData = QByteArrayLiteral("callers cannot set the thumbnail");
    StoreSaveRequest setImage;
    setImage.updateContact(small);
    ASSERT_TRUE(store().execute(setImage).ok());
    StoreContact stored = store().unifiedContact(person.identifier(), imageKeys).value;
    EXPECT_EQ(QImage::fromData(stored.thumbnailImageData, "PNG").size(), QSize(100, 50));

    stored.imageData = QByteArrayLiteral("not an image");
    StoreSaveRequest setJunk;
    setJunk.updateContact(stored);
    ASSERT_TRUE(store().execute(setJunk).ok());
    stored = store().unifiedContact(person.identifier(), imageKeys).value;
    EXPECT_EQ(stored.imageData, QByteArrayLiteral("not an image"));
    EXPECT_TRUE(stored.thumbnailImageData.isEmpty());

    stored.imageData = pngImage(10, 10);
    StoreSaveRequest again;
    again.updateContact(stored);
    ASSERT_TRUE(store().execute(again).ok());
    stored.imageData.clear();
    StoreSaveRequest clear;
    clear.updateContact(stored);
    ASSERT_TRUE(store().execute(clear).ok());
    stored = store()
                 .unifiedContact(person.identifier(), imageKeys + QStringList{StoreKey::ImageDataAvailable})
                 .value;
    EXPECT_TRUE(stored.imageData.isEmpty());
    EXPECT_TRUE(stored.thumbnailImageData.isEmpty());
    EXPECT_FALSE(stored.imageDataAvailable());
}

// One request with every kind of step, members naming what the same request added.
TEST_F(StoreTest, RequestWithEveryKindOfStepCommitsWhole)
{
    const QString kept = builder().addPerson(local(), QStringLiteral("Kept"), QString());
    const QString doomed = builder().addPerson(local(), QStringLiteral("Doomed"), QString());
    const QString leaver = builder().addPerson(local(), QStringLiteral("Leaver"), QString());
    const QString club = builder().addGroup(local(), QStringLiteral("Club"));
    const QString old = builder().addGroup(local(), QStringLiteral("Old"));
    builder().addMember(doomed, club);
    builder().addMember(leaver, club);
    ASSERT_TRUE(builder().ok()) << builder().error().toStdString();

    StoreContact added;
    added.givenName = QStringLiteral("New");
    StoreContact update = store().unifiedContact(kept, {StoreKey::Nickname}).value;
    update.nickname = QStringLiteral("Keeper");

    StoreSaveRequest request;
    request.addContact(added, local());
    const QString team = request.addGroup(StoreGroup{QString(), QStringLiteral("Team")}, local());
    request.addMember(added.identifier(), team);
    request.updateContact(update);
    request.deleteContact(doomed);
    request.removeMember(doomed, club); // already gone with its contact: no fault
    request.removeMember(leaver, club);
    request.updateGroup(StoreGroup{club, QStringLiteral("Club 2")});
    request.deleteGroup(old);
    StoreStatus status = store().execute(request);
    ASSERT_TRUE(status.ok()) << status.error.toStdString();

    EXPECT_EQ(identifiersOf(store().contactsInContainer(local(), {}).value),
              (QStringList{kept, leaver, added.identifier()}));
    EXPECT_EQ(store().unifiedContact(kept, {StoreKey::Nickname}).value.nickname, QStringLiteral("Keeper"));
    EXPECT_EQ(store().groupsInContainer(local()).value,
              (QList<StoreGroup>{{club, QStringLiteral("Club 2")}, {team, QStringLiteral("Team")}}));
    EXPECT_EQ(identifiersOf(store().contactsInGroup(team, {}).value), QStringList{added.identifier()});
    EXPECT_TRUE(store().contactsInGroup(club, {}).value.isEmpty());
}

struct FailingStepCase
{
    const char *name;
    std::function<void(StoreSaveRequest &, const QString &local, const QString &person, const QString &group,
                       const QString &otherContainer)>
        addFailingStep;
    const char *errorMentions;
};

class FailingStep : public StoreTest, public ::testing::WithParamInterface<FailingStepCase>
{
};

// The failing step comes last, after steps that would succeed: none of them may stay.
TEST_P(FailingStep, ChangesNothingAndSaysWhy)
{
    const QString person = builder().addPerson(local(), QStringLiteral("Existing"), QString());
    const QString group = builder().addGroup(local(), QStringLiteral("Group"));
    const QString otherContainer = builder().addContainer(QStringLiteral("Other"), StoreContainerCardDAV);
    ASSERT_TRUE(builder().ok()) << builder().error().toStdString();
    const QString before = storeSnapshot(store());

    StoreSaveRequest request;
    StoreContact added;
    added.givenName = QStringLiteral("Should not stay");
    request.addContact(added, local());
    request.addMember(added.identifier(), group);
    StoreContact renamed = store().unifiedContact(person, {StoreKey::GivenName}).value;
    renamed.givenName = QStringLiteral("Renamed");
    request.updateContact(renamed);
    request.updateGroup(StoreGroup{group, QStringLiteral("Renamed group")});
    GetParam().addFailingStep(request, local(), person, group, otherContainer);

    StoreStatus status = store().execute(request);
    EXPECT_FALSE(status.ok());
    EXPECT_TRUE(status.error.contains(QString::fromUtf8(GetParam().errorMentions)))
        << status.error.toStdString();
    EXPECT_TRUE(status.error.contains(QStringLiteral("step %1").arg(request.steps().size())))
        << status.error.toStdString();
    EXPECT_EQ(storeSnapshot(store()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailingStep,
    ::testing::Values(
        FailingStepCase{
            "updateUnknownContact",
            [](StoreSaveRequest &r, auto &, auto &, auto &, auto &) { r.updateContact(StoreContact()); },
            "no contact"},
        FailingStepCase{
            "deleteUnknownContact",
            [](StoreSaveRequest &r, auto &, auto &, auto &, auto &) { r.deleteContact(QStringLiteral("x")); },
            "no contact"},
        FailingStepCase{"addToUnknownContainer",
                        [](StoreSaveRequest &r, auto &, auto &, auto &, auto &) {
                            r.addContact(StoreContact(), QStringLiteral("nowhere"));
                        },
                        "no container"},
        FailingStepCase{"addExistingContactAgain",
                        [](StoreSaveRequest &r, auto &local, auto &person, auto &, auto &) {
                            r.addContact(StoreContact::fetched(person, {}), local);
                        },
                        "already"},
        FailingStepCase{"memberOfUnknownGroup",
                        [](StoreSaveRequest &r, auto &, auto &person, auto &, auto &) {
                            r.addMember(person, QStringLiteral("nogroup"));
                        },
                        "no group"},
        FailingStepCase{
            "memberAcrossContainers",
            [](StoreSaveRequest &r, auto &, auto &person, auto &, auto &other) {
                const QString foreign = r.addGroup(StoreGroup{QString(), QStringLiteral("F")}, other);
                r.addMember(person, foreign);
            },
            "different containers"},
        FailingStepCase{"removeMemberOfUnknownContact",
                        [](StoreSaveRequest &r, auto &, auto &, auto &group, auto &) {
                            r.removeMember(QStringLiteral("ghost"), group);
                        },
                        "no contact"},
        FailingStepCase{"renameUnknownGroup",
                        [](StoreSaveRequest &r, auto &, auto &, auto &, auto &) {
                            r.updateGroup(StoreGroup{QStringLiteral("nogroup"), QStringLiteral("n")});
                        },
                        "no group"},
        FailingStepCase{"deleteUnknownGroup",
                        [](StoreSaveRequest &r, auto &, auto &, auto &, auto &) {
                            r.deleteGroup(QStringLiteral("nogroup"));
                        },
                        "no group"},
        FailingStepCase{"updateDeletedContact",
                        [](StoreSaveRequest &r, auto &, auto &person, auto &, auto &) {
                            r.deleteContact(person);
                            r.updateContact(StoreContact::fetched(person, {StoreKey::Note}));
                        },
                        "no contact"}),
    [](const ::testing::TestParamInfo<FailingStepCase> &info) { return std::string(info.param.name); });

TEST_F(StoreTest, EmptyRequestChangesAndAnnouncesNothing)
{
    int announcements = 0;
    QObject::connect(&store(), &ContactStore::storeDidChange, [&announcements](bool) { ++announcements; });
    EXPECT_TRUE(store().execute(StoreSaveRequest()).ok());
    EXPECT_EQ(announcements, 0);
}

TEST_F(StoreTest, ContactCanBeDeletedAndAddedAgainInOneRequest)
{
    const StoreContact original = contactWithEveryField();
    builder().addContact(local(), original);
    StoreContact replacement = StoreContact::fetched(original.identifier(), {});
    replacement.makeAllKeysAvailable();
    replacement.givenName = QStringLiteral("Again");

    StoreSaveRequest request;
    request.deleteContact(original);
    request.deleteContact(original); // twice asks for the same end state
    request.addContact(replacement, local());
    ASSERT_TRUE(store().execute(request).ok());
    const StoreContact after = store().unifiedContact(original.identifier(), StoreKey::allKeys()).value;
    EXPECT_EQ(after.givenName, QStringLiteral("Again"));
    EXPECT_TRUE(after.phoneNumbers.isEmpty());
}
