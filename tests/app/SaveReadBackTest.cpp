// After a save the window reads back only what the save wrote; the tree it shows must be the one a
// whole load of the store gives.

#include "SaveFixture.h"

#include "addressbook/AddressBookLoader.h"
#include "addressbook/LoadedContactRow.h"
#include "platform/UserDefaults.h"

#include <QJsonDocument>
#include <QSignalSpy>

namespace {

QString describeRow(const ContactRow &row)
{
    row.person->readEveryValue();
    const auto *loaded = dynamic_cast<const LoadedContactRow *>(&row);
    return QStringLiteral("row %1 %2 %3 %4 %5 %6 %7\n")
        .arg(row.uniqueId, row.uniqueId2.value_or(QStringLiteral("-")))
        .arg(row.labelIndex)
        .arg(row.isNew)
        .arg(row.deleted)
        .arg(loaded ? QString::fromUtf8(QJsonDocument::fromVariant(loaded->loadedCustomValues).toJson())
                    : QStringLiteral("not loaded"))
        .arg(QString::fromUtf8(QJsonDocument(row.person->encodeWithCoder()).toJson()));
}

// Every container, group, flag, row and record value, as text that a failure shows.
QString describeTree(const ContainerTable &containers)
{
    QString text;
    for (const ContainerDictPtr &container : containers) {
        text += QStringLiteral("container %1 %2 %3\n")
                    .arg(container->name, container->identifier)
                    .arg(container->type);
        for (const GroupDictPtr &group : std::as_const(container->groups)) {
            text += QStringLiteral("group %1 %2 %3 %4 %5 %6 %7%8%9%10\n")
                        .arg(group->top)
                        .arg(group->name, group->containerName, group->uniqueId, group->containerIdentifier,
                             group->cnGroup ? group->cnGroup->name : QStringLiteral("-"))
                        .arg(group->isNew)
                        .arg(group->deleted)
                        .arg(group->changed)
                        .arg(group->groupNameChanged);
            if (!group->contactTable) {
                text += QStringLiteral("not read\n");
                continue;
            }
            for (const ContactRowPtr &row : std::as_const(*group->contactTable))
                text += describeRow(*row);
        }
    }
    return text;
}

class SaveReadBack : public SaveFixture
{
protected:
    QString wholeLoad() const
    {
        AddressBookLoader loader(ContactStore::defaultPath(), UserDefaults::standard(), *cloud);
        loader.loadAddressBook();
        return describeTree(loader.containerTable());
    }
};

} // namespace

TEST_F(SaveReadBack, TheTreeAfterASaveIsTheOneAWholeLoadGives)
{
    cloud->setObject(QVariantMap{{"Hobby", "golf"}}, ann);
    ASSERT_TRUE(delegate->saveDocument()); // nothing edited: nothing read
    view()->undoReplaceValue(QStringLiteral("edited"), QStringLiteral("Note"), row(top(), "Bob"), nullptr);
    view()->undoDeleteContacts({row(top(), "Ann")}, top(), true);
    view()->undoAddContacts({created("Dora", "chess"), created("Eve")}, top());
    view()->groupSelectionDidChange(group("Friends"));
    view()->undoDeleteContacts({row(group("Friends"), "Carl")}, group("Friends"), true);
    view()->undoAddContacts({row(top(), "Bob")}, group("Work"));
    view()->undoChangeGroupName(QStringLiteral("Office"), group("Work"));
    view()->addGroup();
    view()->undoAddContacts({row(top(), "Dora")}, group("New"));
    view()->groupSelectionDidChange(top());
    const QNPersonPtr carl = row(top(), "Carl")->person;

    window->validateMenuItems();
    window->menuItem(MenuCommand::SaveDocument)->trigger();
    EXPECT_EQ(describeTree(view()->containerTable()), wholeLoad());
    // The record the save left alone is the one the window had.
    EXPECT_EQ(row(top(), "Carl")->person, carl);

    // Custom values only, and a group deleted.
    row(top(), "Carl")
        ->person->addCustomItem(PersonValueType::String, QStringLiteral("Hobby"), {}, std::nullopt);
    view()->undoReplaceValue(QStringLiteral("chess"), QStringLiteral("Hobby"), row(top(), "Carl"), nullptr);
    view()->undoDeleteGroup(group("Office"), container());
    ASSERT_TRUE(delegate->saveDocument());
    EXPECT_EQ(describeTree(view()->containerTable()), wholeLoad());
    EXPECT_EQ(row(top(), "Carl")->person->valueForIdentifier(QStringLiteral("Hobby")).toString(), "chess");
}

// Another program's commit just before ours is in the tree, and still asked about.
TEST_F(SaveReadBack, AnotherProgramsChangeBeforeTheSaveIsReadAndAnnounced)
{
    QSignalSpy announced(delegate.get(), &AppDelegate::contactStoreChangeReceived);
    view()->undoReplaceValue(QStringLiteral("edited"), QStringLiteral("Note"), row(top(), "Bob"), nullptr);
    ContactStore other(ContactStore::defaultPath(), QStringLiteral("other program"));
    StoreContact carl = other.unifiedContact(row(top(), "Carl")->uniqueId, {StoreKey::JobTitle}).value;
    carl.jobTitle = QStringLiteral("Pilot");
    StoreSaveRequest request;
    request.updateContact(carl);
    ASSERT_TRUE(other.execute(request).ok());

    ASSERT_TRUE(delegate->saveDocument());
    EXPECT_EQ(describeTree(view()->containerTable()), wholeLoad());
    EXPECT_EQ(row(top(), "Carl")->person->valueForIdentifier(QStringLiteral("Job Title")).toString(),
              "Pilot");
    const auto external = [&] {
        for (const QList<QVariant> &signal : std::as_const(announced))
            if (signal.first().toMap().value(QStringLiteral("CNNotificationOriginationExternally")).toInt() ==
                1)
                return true;
        return false;
    };
    EXPECT_TRUE(external());
}

// The store orders a name by its script each time it reads it: an edited name reads, sorts and
// orders its phonetic name alike before the save, after it and after a whole load.
TEST_F(SaveReadBack, AnEditedNameReadsAsTheStoreReadsItBack)
{
    const auto bob = [this] { return row(top(), "Bob"); };
    const auto shownNames = [this] {
        QStringList names;
        for (const SubContactRowPtr &row : view()->contactsViewController()->subContactTable())
            names.append(row->person->compositeName());
        return names;
    };
    view()->undoReplacePhoneticNameValue(QVariantMap{{"FirstName", "bobu"}, {"LastName", "ro"}}, bob());
    for (const auto &[last, shown] : {std::pair{"海ds", QStringList{"Ann Lee", "Carl Poe", "海ds Bob"}},
                                      std::pair{"Roe", QStringList{"Ann Lee", "Bob Roe", "Carl Poe"}}}) {
        QVariantMap name = bob()->person->nameValue();
        name.insert("LastName", last);
        view()->undoReplaceNameValue(name, bob());
        EXPECT_EQ(shownNames(), shown);
        const QString phonetic = bob()->person->phoneticName();
        ASSERT_TRUE(delegate->saveDocument());
        EXPECT_EQ(shownNames(), shown);
        EXPECT_EQ(bob()->person->phoneticName(), phonetic);
        EXPECT_EQ(describeTree(view()->containerTable()), wholeLoad());
    }
}

// A new custom item joined the record's end, while a load restores them in the order of their
// names: a dragged row listed them in another order after the save.
TEST_F(SaveReadBack, CustomItemsRunInTheOrderALoadGivesThem)
{
    view()->setCustomItems({QVariantMap{{"Name", "Hobby"}, {"Type", "String Value"}},
                            QVariantMap{{"Name", "趣味"}, {"Type", "String Value"}}});
    for (const QString &name : {QStringLiteral("趣味"), QStringLiteral("Hobby")})
        view()->undoReplaceValue(QStringLiteral("chess"), name, row(top(), "Bob"), nullptr);
    EXPECT_EQ(row(top(), "Bob")->person->customIdentifiers(), QStringList({"Hobby", "趣味"}));
    ASSERT_TRUE(delegate->saveDocument());
    EXPECT_EQ(row(top(), "Bob")->person->customIdentifiers(), QStringList({"Hobby", "趣味"}));
    EXPECT_EQ(describeTree(view()->containerTable()), wholeLoad());
}
