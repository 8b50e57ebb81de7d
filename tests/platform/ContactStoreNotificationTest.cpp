#include "StoreTestSupport.h"

#include "platform/StoreNotifier.h"

#include <thread>

namespace {

// Collects the store-change announcements that one handle hears.
struct Announcements
{
    explicit Announcements(ContactStore &store)
    {
        QObject::connect(&store, &ContactStore::storeDidChange,
                         [this](bool externally) { externals.append(externally); });
        QObject::connect(&store, &ContactStore::defaultContainerDidChange, [this] { ++defaultChanges; });
    }

    QList<bool> externals;
    int defaultChanges = 0;
};

StoreSaveRequest addingSomeone(const QString &container)
{
    StoreContact contact;
    contact.givenName = QStringLiteral("Someone");
    StoreSaveRequest request;
    request.addContact(contact, container);
    return request;
}

} // namespace

TEST_F(StoreTest, OwnSaveThroughAnyHandleIsAnnouncedNotExternally)
{
    ContactStore listener(storePath());
    Announcements heard(listener);
    {
        ContactStore saver(storePath()); // a short-lived handle, as the program makes them
        ASSERT_TRUE(saver.execute(addingSomeone(local())).ok());
    }
    EXPECT_EQ(heard.externals, QList<bool>{false});

    // The notifier's own look at the change log finds nothing foreign in our save.
    listener.notifier()->checkForExternalChanges();
    QCoreApplication::processEvents();
    EXPECT_EQ(heard.externals, QList<bool>{false});
}

TEST_F(StoreTest, CommitByAnotherApplicationIsAnnouncedExternally)
{
    ContactStore listener(storePath());
    Announcements heard(listener);
    std::unique_ptr<ContactStore> other = builder().otherApplication();
    Announcements heardByOther(*other);

    ASSERT_TRUE(other->execute(addingSomeone(local())).ok());
    ASSERT_TRUE(spinUntil([&heard] { return !heard.externals.isEmpty(); }));
    EXPECT_EQ(heard.externals, QList<bool>{true});
    EXPECT_EQ(heardByOther.externals.value(0), false);

    // And the other way round: our save is the other application's external change.
    ASSERT_TRUE(listener.execute(addingSomeone(local())).ok());
    ASSERT_TRUE(spinUntil([&heardByOther] { return heardByOther.externals.size() >= 2; }));
    EXPECT_EQ(heardByOther.externals, (QList<bool>{false, true}));
    EXPECT_EQ(heard.externals, (QList<bool>{true, false}));
}

TEST_F(StoreTest, CommitOnAnotherThreadIsAnnouncedAsOurs)
{
    Announcements heard(store());
    StoreStatus status;
    std::thread worker([this, &status] {
        ContactStore saver(storePath());
        status = saver.execute(addingSomeone(local()));
    });
    worker.join();
    ASSERT_TRUE(status.ok()) << status.error.toStdString();
    ASSERT_TRUE(spinUntil([&heard] { return !heard.externals.isEmpty(); }));
    store().notifier()->checkForExternalChanges();
    QCoreApplication::processEvents();
    EXPECT_EQ(heard.externals, QList<bool>{false});
}

TEST_F(StoreTest, DefaultContainerChangesAreAnnounced)
{
    const QString work = builder().addContainer(QStringLiteral("Work"), StoreContainerExchange);
    Announcements heard(store());
    ASSERT_TRUE(store().setDefaultContainer(work).ok());
    EXPECT_EQ(heard.defaultChanges, 1);

    std::unique_ptr<ContactStore> other = builder().otherApplication();
    ASSERT_TRUE(other->setDefaultContainer(local()).ok());
    ASSERT_TRUE(spinUntil([&heard] { return heard.defaultChanges == 2; }));
    EXPECT_TRUE(heard.externals.isEmpty());
    EXPECT_EQ(store().defaultContainerIdentifier().value, local());
}
