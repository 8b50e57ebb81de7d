#include "AppFixture.h"

#include "app/AppDelegate.h"
#include "addressbook/CloudAddressFormat.h"
#include "addressbook/DefaultsKey.h"
#include "ui/widgets/ProgressIndicator.h"
#include "app/WindowController.h"
#include "model/CustomItemCloudValues.h"
#include "model/QNPerson.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/StoreBuilder.h"
#include "platform/widgets/Alert.h"

#include <QAbstractItemView>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>

namespace {

class AppDelegateTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_window = std::make_unique<WindowController>();
        m_window->show();
        m_delegate = std::make_unique<AppDelegate>();
        m_delegate->setTerminator([this] { ++m_terminations; });
        QObject::connect(view()->progressIndicator(), &ProgressIndicator::animatingChanged,
                         [this](bool animating) { m_spinner.append(animating); });
    }

    void TearDown() override
    {
        m_delegate.reset();
        m_window.reset();
        Alert::resetTestState();
        AppFixture::TearDown();
    }

    ViewController *view() const { return m_window->mainViewController(); }

    static QVariantMap hobbyItem() { return {{"Name", "Hobby"}, {"Type", "String Value"}}; }

    bool loaded() const { return view()->contactTable() != nullptr; }

    int gridRows() const { return int(view()->contactsViewController()->subContactTable().size()); }

    std::unique_ptr<WindowController> m_window;
    std::unique_ptr<AppDelegate> m_delegate;
    QList<bool> m_spinner;
    int m_terminations = 0;
};

TEST_F(AppDelegateTest, WithAccessTheStoreLoadsInTheBackgroundAndIsHandedOver)
{
    StoreBuilder builder;
    ASSERT_TRUE(builder.ok());
    for (int i = 0; i < 5; ++i)
        builder.addPerson(builder.localContainer(), QStringLiteral("Person %1").arg(i),
                          QStringLiteral("Test"));
    builder.addContainer(QStringLiteral("Work"), StoreContainerCardDAV);
    QNPerson::setCustomItems({hobbyItem()});

    m_delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(spinUntil([this] { return loaded() && m_spinner.size() == 2; }));
    EXPECT_EQ(m_spinner, QList<bool>({true, false}));
    EXPECT_FALSE(view()->progressIndicator()->isVisible());
    EXPECT_FALSE(view()->isAddressBookLoading());

    // The view holds the loaded tree itself, not a copy.
    EXPECT_EQ(view()->containerTable().size(), 2);
    EXPECT_EQ(view()->contactTable(), m_delegate->contactTable());
    EXPECT_EQ(view()->selectedGroupDict(), m_delegate->selectedGroupDict());
    ASSERT_TRUE(view()->selectedGroupDict());
    EXPECT_TRUE(view()->selectedGroupDict()->top);
    EXPECT_EQ(view()->selectedGroupDict()->containerIdentifier, builder.localContainer());
    EXPECT_EQ(view()->contactTable()->size(), 5);
    EXPECT_EQ(gridRows(), 5);
    EXPECT_TRUE(defaults().boolForKey(DefaultsKey::ShowGroupView));
    EXPECT_TRUE(m_delegate->isObservingStore());
    // The panes got the definitions as they are after the load.
    EXPECT_EQ(view()->customItems(), QNPerson::customItems().value_or(QVariantList()));
    EXPECT_EQ(m_window->customItems(), view()->customItems());
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());
}

// Quitting while the store loads does not wait for the load: the delegate stops it on its way out.
TEST_F(AppDelegateTest, QuittingDuringTheLoadStopsIt)
{
    StoreBuilder builder;
    ASSERT_TRUE(builder.ok());
    for (int i = 0; i < 8; ++i)
        builder.addPerson(builder.localContainer(), QStringLiteral("Person %1").arg(i), QStringLiteral("Test"));
    std::atomic<bool> converting{false};
    std::atomic<bool> stopped{false};
    AddressBookLoader &loader = m_delegate->loader();
    // The slices hold the load until it is cancelled, or for ten seconds.
    loader.setSliceStartHookForTesting([&] {
        converting = true;
        QElapsedTimer waited;
        waited.start();
        while (!loader.isCancelled() && waited.elapsed() < 10000)
            QThread::msleep(5);
        if (loader.isCancelled())
            stopped = true;
    });
    m_delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(spinUntil([&] { return converting.load(); }));
    m_delegate.reset();
    EXPECT_TRUE(stopped);
    EXPECT_FALSE(loaded());
}

// The window gathers the definitions when the view already holds the loaded contacts.
TEST_F(AppDelegateTest, TheLaunchBringsBackTheStoredCustomItems)
{
    QTemporaryDir folder;
    CloudKeyValueStore cloud(folder.filePath("cloud.json"));
    QNPerson::setCloudKeyValueStore(&cloud);
    const auto restore = qScopeGuard([] { QNPerson::setCloudKeyValueStore(nullptr); });
    const QVariantMap size{{"Name", "Size"}, {"Type", "String Value"}};
    CustomItemCloudValues::saveCustomItemDefinitions({size}, cloud);
    StoreBuilder builder;
    ASSERT_TRUE(builder.ok());
    m_delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(spinUntil([this] { return loaded() && m_delegate->isObservingStore(); }));
    EXPECT_EQ(m_window->customItems(), QVariantList({size}));
    EXPECT_EQ(view()->customItems(), QVariantList({size}));
}

TEST_F(AppDelegateTest, AnotherProgramsChangeReachesTheHandler)
{
    StoreBuilder builder;
    ASSERT_TRUE(builder.ok());
    QList<QVariantMap> received;
    QObject::connect(m_delegate.get(), &AppDelegate::contactStoreChangeReceived,
                     [&received](const QVariantMap &info) { received.append(info); });
    m_delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(spinUntil([this] { return m_delegate->isObservingStore(); }));

    StoreSaveRequest request;
    StoreContact contact;
    contact.givenName = QStringLiteral("Elsewhere");
    request.addContact(contact, builder.localContainer());
    ASSERT_TRUE(builder.otherApplication()->execute(request).ok());
    ASSERT_TRUE(spinUntil([&received] { return !received.isEmpty(); }));
    EXPECT_EQ(received.first().value("CNNotificationOriginationExternally").toInt(), 1);
}

TEST_F(AppDelegateTest, AccessGrantedAtThisLaunchLoadsOnTheMainThreadAndObservesTheStore)
{
    ASSERT_EQ(ContactStore().authorizationStatus(), StoreAuthorizationStatus::NotDetermined);
    QNPerson::setCustomItems({hobbyItem()});
    m_delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(spinUntil([this] { return loaded(); }));
    EXPECT_EQ(ContactStore().authorizationStatus(), StoreAuthorizationStatus::Authorized);
    ASSERT_EQ(view()->containerTable().size(), 1);
    EXPECT_EQ(view()->containerTable().first()->name, "On This Computer");
    EXPECT_TRUE(view()->contactTable()->isEmpty());
    // Never started on this path.
    EXPECT_TRUE(m_spinner.isEmpty());
    EXPECT_FALSE(view()->progressIndicator()->isVisible());
    EXPECT_TRUE(m_delegate->isObservingStore());
    // The panes got the definitions as they are after the load.
    EXPECT_EQ(view()->customItems(), QNPerson::customItems().value_or(QVariantList()));
    EXPECT_EQ(m_window->customItems(), view()->customItems());
    EXPECT_EQ(m_terminations, 0);
}

struct RefusedCase
{
    const char *name;
    std::optional<StoreAuthorizationStatus> status;
};

class AccessRefusedTest : public AppDelegateTest, public ::testing::WithParamInterface<RefusedCase>
{
};

TEST_P(AccessRefusedTest, ThePrivacyAlertComesLaterAndEndsTheProgram)
{
    if (GetParam().status) {
        StoreBuilder builder;
        ASSERT_TRUE(builder.ok());
        ContactStore::setAuthorizationStatusForTesting(GetParam().status);
    } else {
        ContactStore::setAccessAnswerForTesting(false);
    }
    QElapsedTimer clock;
    clock.start();
    m_delegate->applicationDidFinishLaunching();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());

    ASSERT_TRUE(spinUntil([this] { return m_terminations > 0; }));
    EXPECT_GE(clock.elapsed(), 1000);
    ASSERT_EQ(Alert::shownAlerts().size(), 1);
    EXPECT_EQ(Alert::lastShown().messageText, "Please allow \"Pemberlin2\" to access your contacts.");
    EXPECT_EQ(Alert::lastShown().informativeText,
              "Pemberlin2 needs to access your contacts to show and edit them, please change the setting at "
              "Security & Privacy.");
    EXPECT_EQ(m_terminations, 1);
    EXPECT_FALSE(loaded());
    EXPECT_FALSE(m_delegate->isObservingStore());
}

INSTANTIATE_TEST_SUITE_P(Paths, AccessRefusedTest,
                         ::testing::Values(RefusedCase{"RefusedAtThePrompt", std::nullopt},
                                           RefusedCase{"Denied", StoreAuthorizationStatus::Denied},
                                           RefusedCase{"Restricted", StoreAuthorizationStatus::Restricted}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(AppDelegateTest, TheStoreReloadBuildsANewTreeAndSelectsTheTopGroup)
{
    StoreBuilder builder;
    ASSERT_TRUE(builder.ok());
    builder.addPerson(builder.localContainer(), QStringLiteral("Ann"), QStringLiteral("First"));
    m_delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(spinUntil([this] { return loaded(); }));
    const ContactTablePtr before = view()->contactTable();
    ASSERT_TRUE(before);
    EXPECT_EQ(before->size(), 1);

    builder.addPerson(builder.localContainer(), QStringLiteral("Bob"), QStringLiteral("Second"));
    m_delegate->reloadAddressBook();
    EXPECT_NE(view()->contactTable(), before);
    EXPECT_EQ(view()->contactTable()->size(), 2);
    EXPECT_EQ(gridRows(), 2);
    EXPECT_TRUE(view()->selectedGroupDict()->top);
    EXPECT_FALSE(view()->isAddressBookLoading());
}

TEST_F(AppDelegateTest, AContainerWhoseGroupsCannotBeReadIsToldOf)
{
    StoreBuilder builder;
    ASSERT_TRUE(builder.ok());
    const QString broken = builder.addContainer(QStringLiteral("Broken"), StoreContainerCardDAV);
    builder.store().failGroupFetchForContainer(broken);
    m_delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(spinUntil([] { return !Alert::shownAlerts().isEmpty(); }));
    EXPECT_EQ(Alert::lastShown().messageText, "Error on reading a group in the 'Broken'.");
    EXPECT_EQ(Alert::lastShown().informativeText, "Please check the account settings.");
}

// --- the cloud address-format table -----------------------------------------------------------

struct CloudFormatCase
{
    const char *name;
    std::optional<QByteArray> file;
    CloudAddressFormat::Result result;
};

class CloudAddressFormatTest : public AppDelegateTest, public ::testing::WithParamInterface<CloudFormatCase>
{
};

TEST_P(CloudAddressFormatTest, TheCloudTableIsLaidOverOrRefused)
{
    if (GetParam().file) {
        QDir().mkpath(QFileInfo(CloudAddressFormat::filePath()).absolutePath());
        QFile file(CloudAddressFormat::filePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*GetParam().file);
    }
    const int countries = int(QNPerson::addressFormatTable().size());
    m_delegate->applyCloudAddressFormat();

    const bool invalid = GetParam().result == CloudAddressFormat::Result::Invalid;
    ASSERT_EQ(Alert::shownAlerts().size(), invalid ? 1 : 0);
    if (invalid) {
        EXPECT_EQ(Alert::lastShown().messageText, "Cannot read AddressFormat.json.");
        EXPECT_EQ(Alert::lastShown().informativeText, "Please make sure the format is valid.");
        EXPECT_EQ(Alert::lastShown().buttons, QStringList{"OK"});
    }
    if (GetParam().result == CloudAddressFormat::Result::Applied) {
        EXPECT_EQ(QNPerson::addressFormatDict().value("XY").value("Country").toString(), "EXAMPLELAND");
    }
    // A new code joins the dictionary only.
    EXPECT_EQ(QNPerson::addressFormatTable().size(), countries);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CloudAddressFormatTest,
    ::testing::Values(
        CloudFormatCase{"Absent", std::nullopt, CloudAddressFormat::Result::Absent},
        CloudFormatCase{"Valid",
                        QByteArray(R"({"AddressFormat": [{"CountryCode": "XY", "Country": "EXAMPLELAND",
                                     "formatString": "Street City State ZIP Country"}]})"),
                        CloudAddressFormat::Result::Applied},
        CloudFormatCase{"EmptyArray", QByteArray(R"({"AddressFormat": []})"),
                        CloudAddressFormat::Result::Invalid},
        CloudFormatCase{"NotJson", QByteArray("AddressFormat = none"), CloudAddressFormat::Result::Invalid},
        CloudFormatCase{"EmptyFile", QByteArray(), CloudAddressFormat::Result::Invalid},
        CloudFormatCase{"TopLevelArray", QByteArray(R"([{"CountryCode": "XY"}])"),
                        CloudAddressFormat::Result::Invalid},
        CloudFormatCase{"NoTable", QByteArray(R"({"Formats": [{"CountryCode": "XY"}]})"),
                        CloudAddressFormat::Result::Invalid},
        CloudFormatCase{"NotAnArray", QByteArray(R"({"AddressFormat": {"CountryCode": "XY"}})"),
                        CloudAddressFormat::Result::Invalid}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(AppDelegateTest, ALaunchWithAnUnreadableCloudTableSaysSoAndGoesOn)
{
    StoreBuilder builder;
    ASSERT_TRUE(builder.ok());
    QDir().mkpath(QFileInfo(CloudAddressFormat::filePath()).absolutePath());
    QFile file(CloudAddressFormat::filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"AddressFormat": []})");
    file.close();

    m_delegate->applicationDidFinishLaunching();
    ASSERT_EQ(Alert::shownAlerts().size(), 1);
    EXPECT_EQ(Alert::lastShown().messageText, "Cannot read AddressFormat.json.");
    EXPECT_TRUE(spinUntil([this] { return loaded(); }));
}

} // namespace
