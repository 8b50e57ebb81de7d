#pragma once

#include "AppFixture.h"

#include "app/AppDelegate.h"
#include "app/WindowController.h"
#include "model/CustomItemCloudValues.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/LogCapture.h"
#include "platform/StoreBuilder.h"
#include "platform/UndoManager.h"
#include "platform/widgets/Alert.h"

#include <QDir>
#include <QFile>

// The application over a real store: Ann, Bob and Carl; "Friends" holds Ann and Carl; "Work" is
// empty. Custom values go to a cloud store of the test's own.
class SaveFixture : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        const QString cloudPath = QDir(TestEnvironment::homePath()).filePath(QStringLiteral("cloud.json"));
        QFile::remove(cloudPath);
        cloud = std::make_unique<CloudKeyValueStore>(cloudPath);
        QNPerson::setCloudKeyValueStore(cloud.get());
        builder = std::make_unique<StoreBuilder>();
        const QString local = builder->localContainer();
        ann = builder->addPerson(local, QStringLiteral("Ann"), QStringLiteral("Lee"));
        builder->addPerson(local, QStringLiteral("Bob"), QStringLiteral("Roe"));
        const QString carl = builder->addPerson(local, QStringLiteral("Carl"), QStringLiteral("Poe"));
        const QString friends = builder->addGroup(local, QStringLiteral("Friends"));
        builder->addGroup(local, QStringLiteral("Work"));
        builder->addMember(ann, friends);
        builder->addMember(carl, friends);
        ASSERT_TRUE(builder->ok());
        window = std::make_unique<WindowController>();
        delegate = std::make_unique<AppDelegate>();
        delegate->applicationDidFinishLaunching();
        ASSERT_TRUE(spinUntil([this] { return view()->contactTable() && delegate->isObservingStore(); }));
    }

    void TearDown() override
    {
        delegate.reset();
        window.reset();
        QNPerson::setCloudKeyValueStore(nullptr);
        Alert::resetTestState();
        AppFixture::TearDown();
    }

    ViewController *view() const { return window->mainViewController(); }
    ContainerDictPtr container() const { return view()->containerTable().first(); }
    GroupDictPtr top() const { return container()->topGroup(); }
    GroupDictPtr group(const QString &name) const
    {
        for (const GroupDictPtr &group : std::as_const(container()->groups))
            if (group->name == name)
                return group;
        return nullptr;
    }
    static ContactRowPtr row(const GroupDictPtr &group, const QString &givenName)
    {
        for (const ContactRowPtr &row : std::as_const(*group->contactTable))
            if (row->person->nameValue().value(PersonKey::FirstName) == givenName)
                return row;
        return nullptr;
    }
    // A contact made in the application, with a custom value.
    static ContactRowPtr created(const QString &givenName, const QString &hobby = {})
    {
        auto row = std::make_shared<ContactRow>();
        row->person = std::make_shared<QNPerson>();
        row->person->setValue(givenName, PersonKey::FirstName);
        row->person->addCustomItem(PersonValueType::String, QStringLiteral("Hobby"), {}, std::nullopt);
        row->person->setValue(hobby, QStringLiteral("Hobby"));
        row->uniqueId = row->person->uniqueId();
        row->isNew = true;
        return row;
    }
    // Sorted given names of the store's contacts, or of one group's members.
    QStringList storeNames(const QString &groupName = {}) const
    {
        ContactStore store;
        QList<StoreContact> contacts =
            store.contactsInContainer(builder->localContainer(), {StoreKey::GivenName}).value;
        for (const StoreGroup &group : store.groupsInContainer(builder->localContainer()).value)
            if (group.name == groupName)
                contacts = store.contactsInGroup(group.identifier, {StoreKey::GivenName}).value;
        QStringList names;
        for (const StoreContact &contact : std::as_const(contacts))
            names.append(contact.givenName);
        names.sort();
        return names;
    }
    QStringList storeGroupNames() const
    {
        QStringList names;
        for (const StoreGroup &group : ContactStore().groupsInContainer(builder->localContainer()).value)
            names.append(group.name);
        names.sort();
        return names;
    }
    std::optional<QVariantMap> cloudEntry(const QString &key) const
    {
        return CustomItemCloudValues::iCloudRestoreValueForKey(key, *cloud);
    }

    LogCapture log;
    std::unique_ptr<CloudKeyValueStore> cloud;
    std::unique_ptr<StoreBuilder> builder;
    QString ann;
    std::unique_ptr<WindowController> window;
    std::unique_ptr<AppDelegate> delegate;
};
