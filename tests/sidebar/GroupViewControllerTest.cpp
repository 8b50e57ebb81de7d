#include "app/AppFixture.h"

#include "sidebar/GroupOutlineModel.h"
#include "sidebar/GroupViewController.h"
#include "ui/contracts/GroupViewControllerDelegate.h"
#include "platform/LogCapture.h"
#include "platform/StoreBuilder.h"
#include "platform/widgets/PasteboardTypes.h"

#include <QAbstractItemModelTester>
#include <QDragMoveEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

namespace {

class RecordingDelegate : public GroupViewControllerDelegate
{
public:
    void groupSelectionDidChange(const GroupDictPtr &group) override
    {
        calls.append("select " + group->name);
    }
    void addContactByStringIndexes(const QString &indexes, const GroupDictPtr &group) override
    {
        calls.append("add " + indexes + " to " + group->name);
    }
    void groupNameWillChange(const QString &name) override { calls.append("rename " + name); }

    QStringList calls;
};

GroupDictPtr makeGroup(const QString &name, const QString &container, bool top = false)
{
    auto group = std::make_shared<GroupDict>();
    group->top = top;
    group->name = name;
    group->containerName = container;
    group->containerIdentifier = container;
    group->uniqueId = name;
    return group;
}

ContainerDictPtr makeContainer(const QString &name, int type = StoreContainerLocal)
{
    auto container = std::make_shared<ContainerDict>();
    container->name = name;
    container->type = type;
    container->identifier = name;
    container->groups.append(makeGroup("All Contacts", name, true));
    return container;
}

std::unique_ptr<QMimeData> gridDrag(const QString &indexes = "0,2")
{
    auto data = std::make_unique<QMimeData>();
    PasteboardTypes::setString(data.get(), PasteboardTypes::String, "Ann\tLee");
    PasteboardTypes::setString(data.get(), PasteboardTypes::StringIndexes, indexes);
    return data;
}

// Groups [top, A deleted, B, C] in "Local", a second container "Work" with its top group only.
class GroupViewControllerTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_local = makeContainer("Local");
        for (const char *name : {"A", "B", "C"})
            m_local->groups.append(makeGroup(name, "Local"));
        m_local->groups[1]->deleted = true;
        m_work = makeContainer("Work", StoreContainerExchange);
        m_work->groups.append(makeGroup("Team", "Work"));
        m_sidebar.setDelegate(&m_delegate);
        m_sidebar.setContainerTable({m_local, m_work});
        m_sidebar.setSelectedGroupDict(group("B"));
        m_sidebar.updateTable();
        m_sidebar.view()->resize(240, 300);
    }

    GroupDictPtr group(const QString &name) const
    {
        for (const ContainerDictPtr &container : {m_local, m_work}) {
            for (const GroupDictPtr &group : container->groups) {
                if (!group->top && group->uniqueId == name)
                    return group;
            }
        }
        return nullptr;
    }
    QModelIndex indexOf(const QString &name) const { return model()->indexOfGroup(group(name)); }
    GroupOutlineModel *model() const { return m_sidebar.model(); }
    QStringList childNames(int containerRow) const
    {
        QStringList names;
        const QModelIndex parent = model()->index(containerRow, 0);
        for (int row = 0; row < model()->rowCount(parent); ++row)
            names.append(model()->index(row, 0, parent).data().toString());
        return names;
    }
    QPoint centreOf(const QModelIndex &index) const
    {
        return m_sidebar.outline()->visualRect(index).center();
    }
    GroupDictPtr currentGroup() const { return model()->groupAt(m_sidebar.outline()->currentIndex()); }

    ContainerDictPtr m_local;
    ContainerDictPtr m_work;
    RecordingDelegate m_delegate;
    GroupViewController m_sidebar;
};

TEST_F(GroupViewControllerTest, ShowsTheContainersWithTheirGroupsNotMarkedDeleted)
{
    QAbstractItemModelTester tester(model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_EQ(model()->rowCount(), 2);
    EXPECT_EQ(model()->index(0, 0).data().toString(), "Local");
    EXPECT_EQ(childNames(0), QStringList({"All Contacts", "B", "C"}));
    EXPECT_EQ(childNames(1), QStringList({"All Contacts", "Team"}));
    EXPECT_EQ(currentGroup(), group("B"));
    group("A")->deleted = false;
    m_sidebar.updateTable();
    EXPECT_EQ(childNames(0), QStringList({"All Contacts", "A", "B", "C"}));
    EXPECT_EQ(currentGroup(), group("B")) << "the selection follows the group, not its row";
    EXPECT_TRUE(m_delegate.calls.isEmpty()) << "reloading chooses nothing";
}

TEST_F(GroupViewControllerTest, ClickingAGroupChoosesItAndClickingAContainerChangesNothing)
{
    m_sidebar.view()->show();
    QWidget *viewport = m_sidebar.outline()->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(indexOf("C")));
    EXPECT_EQ(m_delegate.calls, QStringList({"select C"}));
    EXPECT_EQ(m_sidebar.selectedGroupDict(), group("C"));

    QTest::mouseClick(viewport, Qt::LeftButton, {}, centreOf(model()->indexOfContainer(m_work)));
    EXPECT_EQ(m_delegate.calls, QStringList({"select C"}));
    EXPECT_EQ(m_sidebar.selectedGroupDict(), group("C"));
    EXPECT_EQ(m_sidebar.outline()->selectionModel()->selectedRows(), QModelIndexList({indexOf("C")}));
    EXPECT_FALSE(m_sidebar.shouldSelectItem(model()->indexOfContainer(m_local)));
}

struct RenameCase
{
    const char *label;
    bool editState;
    const char *group;
    const char *text;
    bool sent;
};

class RenameTest : public GroupViewControllerTest, public ::testing::WithParamInterface<RenameCase>
{
};

TEST_P(RenameTest, RenamesOnlyWhereAndWhenAllowed)
{
    const RenameCase &row = GetParam();
    group("C")->name = "All Contacts";
    m_sidebar.setEditState(row.editState);
    const GroupDictPtr target = row.group == QString("top") ? m_local->topGroup() : group(row.group);
    const QModelIndex item = model()->indexOfGroup(target);
    EXPECT_EQ(bool(model()->flags(item) & Qt::ItemIsEditable), row.editState && row.group == QString("B"));
    m_sidebar.textFieldCellChanged(target, row.text);
    EXPECT_EQ(m_delegate.calls.contains(QString("rename ") + row.text), row.sent);
    if (!row.sent) {
        EXPECT_TRUE(m_delegate.calls.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, RenameTest,
                         ::testing::Values(RenameCase{"Locked", false, "B", "Friends", false},
                                           RenameCase{"TopGroup", true, "top", "Friends", false},
                                           RenameCase{"NamedAllContacts", true, "C", "X", false},
                                           RenameCase{"Empty", true, "B", "", false},
                                           RenameCase{"Unchanged", true, "B", "B", false},
                                           RenameCase{"NewName", true, "B", "Friends", true}),
                         [](const auto &info) { return std::string(info.param.label); });

TEST_F(GroupViewControllerTest, DoubleClickEditsTheNameInEditStateOnly)
{
    m_sidebar.view()->show();
    QWidget *viewport = m_sidebar.outline()->viewport();
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, centreOf(indexOf("B")));
    EXPECT_FALSE(m_sidebar.outline()->indexWidget(indexOf("B"))) << "locked";

    m_sidebar.setEditState(true);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, centreOf(indexOf("B")));
    auto *editor = qobject_cast<QLineEdit *>(m_sidebar.outline()->indexWidget(indexOf("B")));
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->selectedText(), "B");
    QTest::keyClicks(editor, "Friends");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(spinUntil([this] { return m_delegate.calls.contains("rename Friends"); }));
    EXPECT_EQ(group("B")->name, "B") << "the delegate renames";
}

TEST_F(GroupViewControllerTest, RenamingAGroupThatIsNotSelectedSelectsItFirst)
{
    m_sidebar.setEditState(true);
    m_sidebar.textFieldCellChanged(group("C"), "Family");
    EXPECT_EQ(m_delegate.calls, QStringList({"select C", "rename Family"}));
    EXPECT_EQ(currentGroup(), group("C"));
}

TEST_F(GroupViewControllerTest, DropsAreValidatedAsTheRulesSay)
{
    m_sidebar.setEditState(true);
    const auto rows = gridDrag();
    QMimeData textOnly;
    textOnly.setText("0,2");
    const auto empty = gridDrag("");
    struct Case
    {
        const char *label;
        const QMimeData *data;
        QObject *source;
        QModelIndex item;
        bool editState;
        Qt::DropAction expected;
    } cases[] = {
        {"group C", rows.get(), nullptr, indexOf("C"), true, Qt::CopyAction},
        {"locked", rows.get(), nullptr, indexOf("C"), false, Qt::IgnoreAction},
        {"own drag", rows.get(), m_sidebar.outline(), indexOf("C"), true, Qt::IgnoreAction},
        {"wrong type", &textOnly, nullptr, indexOf("C"), true, Qt::IgnoreAction},
        {"empty indexes", empty.get(), nullptr, indexOf("C"), true, Qt::IgnoreAction},
        {"selected group", rows.get(), nullptr, indexOf("B"), true, Qt::IgnoreAction},
        {"container", rows.get(), nullptr, model()->indexOfContainer(m_local), true, Qt::IgnoreAction},
        {"root", rows.get(), nullptr, QModelIndex(), true, Qt::IgnoreAction},
        {"other container", rows.get(), nullptr, indexOf("Team"), true, Qt::IgnoreAction},
    };
    for (const Case &row : cases) {
        SCOPED_TRACE(row.label);
        m_sidebar.setEditState(row.editState);
        EXPECT_EQ(m_sidebar.validateDrop(row.data, row.source, row.item, -1), row.expected);
    }
}

// The drag events as the window system delivers them over the rows; an accepted drop selects.
TEST_F(GroupViewControllerTest, DragEventsOverTheRowsReachTheChecks)
{
    m_sidebar.setEditState(true);
    m_sidebar.view()->show();
    QWidget *viewport = m_sidebar.outline()->viewport();
    const auto rows = gridDrag("1");
    auto over = [&](const QModelIndex &index) {
        const QPoint at = centreOf(index);
        QDragEnterEvent enter(at, Qt::CopyAction, rows.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, rows.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(viewport, &move);
        return move.isAccepted();
    };
    EXPECT_FALSE(over(model()->indexOfContainer(m_local)));
    EXPECT_FALSE(over(indexOf("B")));
    ASSERT_TRUE(over(indexOf("C")));
    QDropEvent drop(centreOf(indexOf("C")), Qt::CopyAction, rows.get(), Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &drop);
    EXPECT_EQ(m_delegate.calls, QStringList({"add 1 to C", "select C"}));
    EXPECT_EQ(m_sidebar.selectedGroupDict(), group("C"));
    EXPECT_EQ(currentGroup(), group("C"));
    EXPECT_FALSE(m_sidebar.acceptDrop(rows.get(), model()->indexOfContainer(m_local), 1)) << "between rows";
    EXPECT_EQ(m_delegate.calls.size(), 2);
}

TEST_F(GroupViewControllerTest, RowsAreNeverLowerThanTwentyPoints)
{
    QFont small = m_sidebar.selectedFont();
    small.setPointSizeF(4);
    EXPECT_EQ(GroupViewController::rowHeightForFont(small), 20.0);
    QFont large = small;
    large.setPointSizeF(40);
    EXPECT_GE(GroupViewController::rowHeightForFont(large), 57.0);
    m_sidebar.setSelectedFont(large);
    EXPECT_EQ(m_sidebar.rowHeight(), GroupViewController::rowHeightForFont(large));
    EXPECT_GE(m_sidebar.outline()->visualRect(indexOf("B")).height(), 57);
    EXPECT_EQ(currentGroup(), group("B"));
}

class GroupStoreTest : public GroupViewControllerTest
{
protected:
    void SetUp() override
    {
        GroupViewControllerTest::SetUp();
        // After the fixture has emptied the data folder.
        m_store = std::make_unique<StoreBuilder>();
        m_friends = m_store->addGroup(m_store->localContainer(), "Friends");
        m_store->addGroup(m_store->localContainer(), "");
        ASSERT_TRUE(m_store->ok()) << m_store->error().toStdString();
        m_stored = makeContainer("On My Mac");
        m_stored->identifier = m_store->localContainer();
        m_stored->groups.first()->containerIdentifier = m_stored->identifier;
    }

    QStringList namesOf(const ContainerDictPtr &container) const
    {
        QStringList names;
        for (const GroupDictPtr &group : container->groups)
            names.append(group->name);
        return names;
    }

    std::unique_ptr<StoreBuilder> m_store;
    QString m_friends;
    ContainerDictPtr m_stored;
};

TEST_F(GroupStoreTest, StoreGroupsJoinAContainerThatKnowsOnlyItsTopGroup)
{
    m_sidebar.updateGroupTable(m_stored);
    ASSERT_EQ(namesOf(m_stored), QStringList({"All Contacts", "Friends", ""}));
    const GroupDict &friends = *m_stored->groups[1];
    EXPECT_FALSE(friends.top);
    EXPECT_EQ(friends.containerName, "On My Mac");
    EXPECT_EQ(friends.uniqueId, m_friends);
    EXPECT_EQ(friends.containerIdentifier, m_store->localContainer());
    ASSERT_TRUE(friends.cnGroup);
    EXPECT_EQ(friends.cnGroup->identifier, m_friends);
}

TEST_F(GroupStoreTest, ContainersOfTypeZeroWithoutIdentifierOrOfAVCardGetNoStoreGroups)
{
    for (const auto &[name, type] : {std::pair(QString("Odd"), 0), {"vCard", 1}, {"", 1}}) {
        auto container = makeContainer(name, type);
        container->identifier = name.isEmpty() ? QString() : m_store->localContainer();
        m_sidebar.updateGroupTable(container);
        EXPECT_EQ(container->groups.size(), 1) << name.toStdString();
    }
}

TEST_F(GroupStoreTest, AStoreErrorIsLoggedAndAddsNothing)
{
    LogCapture log;
    m_store->store().failGroupFetchForContainer(m_store->localContainer());
    m_sidebar.updateGroupTable(m_stored);
    m_store->store().clearFaults();
    EXPECT_EQ(m_stored->groups.size(), 1);
    EXPECT_TRUE(log.contains("GroupViewController::updateGroupTable: ERROR can't find groups in On My Mac"));
}

TEST_F(GroupStoreTest, AppearingReadsTheGroupsThenShowsTheSelectedOne)
{
    m_sidebar.setContainerTable({m_stored, m_local});
    m_sidebar.setSelectedGroupDict(group("C"));
    m_sidebar.view()->show();
    EXPECT_EQ(namesOf(m_stored), QStringList({"All Contacts", "Friends", ""}));
    EXPECT_EQ(namesOf(m_local).size(), 4) << "a container with its groups is not read again";
    EXPECT_TRUE(spinUntil([this] { return currentGroup() == group("C"); }));
    EXPECT_TRUE(m_delegate.calls.isEmpty());
}

} // namespace
