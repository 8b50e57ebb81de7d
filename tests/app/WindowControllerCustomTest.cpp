#include "WindowFixture.h"

#include "addressbook/DefaultsKey.h"
#include "editors/CustomItemPanel.h"
#include "editors/CustomLabelPanelController.h"
#include "model/CustomItemCloudValues.h"
#include "model/QNPerson.h"
#include "platform/CloudKeyValueStore.h"

#include <QDir>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

namespace {

QVariantMap item(const QString &name, const QString &type, const QStringList &labels = {})
{
    QVariantMap definition{{"Name", name}, {"Type", type}};
    if (type == "Labeled Value")
        definition.insert("Labels", labels);
    return definition;
}

QVariantMap flagged(QVariantMap definition, const QString &flag)
{
    definition.insert(flag, true);
    return definition;
}

QStringList namesOf(const QVariantList &definitions)
{
    QStringList names;
    for (const QVariant &definition : definitions)
        names.append(definition.toMap().value("Name").toString() + "/" +
                     definition.toMap().value("Type").toString());
    return names;
}

class WindowCustomTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        m_cloud = std::make_unique<CloudKeyValueStore>(cloudPath());
        QNPerson::setCloudKeyValueStore(m_cloud.get());
        m_window->show();
    }
    void TearDown() override
    {
        m_window.reset();
        QNPerson::setCloudKeyValueStore(nullptr);
        QNPerson::setCustomItems({});
        for (const auto &[label, identifier] : m_labels)
            QNPerson::removeLabel(label, identifier);
        WindowFixture::TearDown();
    }

    QString cloudPath() const { return m_folder.filePath("cloud.json"); }

    // The view shows these contacts, all in one container; the window gathers its definitions.
    void load(const QList<QNPersonPtr> &persons)
    {
        auto rows = std::make_shared<ContactTable>();
        for (const QNPersonPtr &person : persons) {
            auto row = std::make_shared<ContactRow>();
            row->person = person;
            row->uniqueId = person->uniqueId();
            rows->append(row);
        }
        auto top = std::make_shared<GroupDict>();
        top->top = true;
        top->contactTable = rows;
        auto container = std::make_shared<ContainerDict>();
        container->groups = {top};
        view()->setContainerTable({container});
        view()->setContactTable(rows);
        m_window->updateCustomItems();
    }
    static QNPersonPtr personWith(const QString &identifier, const QVariant &value)
    {
        auto person = std::make_shared<QNPerson>();
        person->setValue(value, identifier);
        person->setChanged(false);
        return person;
    }
    // The custom-item sheet ends with 1 after the user left these entries in its list.
    void endItemSheet(const QVariantList &edited)
    {
        m_window->showCustomItems();
        CustomItemPanel *panel = m_window->customItemPanel();
        ASSERT_TRUE(panel && panel->isSheetOpen());
        panel->setCustomItems(edited);
        panel->endSheet(1);
    }
    void registerLabel(const QString &label, const QString &identifier)
    {
        QNPerson::setLabel(QString(), label, identifier);
        forget(label, identifier);
    }
    // A label the test makes through a sheet, taken out of the tables afterwards.
    void forget(const QString &label, const QString &identifier)
    {
        m_labels.append(std::pair(label, identifier));
    }

    QTemporaryDir m_folder;
    std::unique_ptr<CloudKeyValueStore> m_cloud;
    QList<std::pair<QString, QString>> m_labels;
};

// --- the custom-label sheet -----------------------------------------------------------------

TEST_F(WindowCustomTest, TheLabelSheetIsMadeOnceAndItsRenameMarksTheWindowEdited)
{
    registerLabel("Gym", "Phone");
    forget("Club", "Phone");
    const QNPersonPtr person =
        personWith("Phone", QVariantList{QVariantMap{{"label", "Gym"}, {"value", "1"}}});
    load({person});
    defaults().setObject("Phone", DefaultsKey::LastSelectedItemInCustomPanel);
    m_window->menuItem(MenuCommand::ShowCustomLabelPanel)->trigger();
    CustomLabelPanelController *panel = m_window->customLabelPanelController();
    ASSERT_TRUE(panel && panel->isSheetOpen());
    const int updates = m_grid->updates;
    panel->tableView()->item(0, 0)->setText("Club");
    panel->doneButton()->click();
    EXPECT_FALSE(panel->isSheetOpen());
    EXPECT_TRUE(m_window->isWindowModified());
    EXPECT_EQ(m_grid->updates, updates + 1);
    EXPECT_EQ(person->labeledValueForIdentifier("Phone").first().toMap().value("label"), "Club");

    m_window->showCustomLabelPanel();
    EXPECT_EQ(m_window->customLabelPanelController(), panel);
}

TEST_F(WindowCustomTest, ASecondCommandEndsTheLabelSheetWithoutMarkingTheWindow)
{
    load({});
    m_window->showCustomLabelPanel();
    m_window->showCustomLabelPanel();
    EXPECT_FALSE(m_window->customLabelPanelController()->isSheetOpen());
    EXPECT_FALSE(m_window->isWindowModified());
}

TEST_F(WindowCustomTest, ARenameThenCancelStillMarksTheWindowEdited)
{
    registerLabel("Gym", "Email");
    forget("Club", "Email");
    load({personWith("Email", QVariantList{QVariantMap{{"label", "Gym"}, {"value", "a@b.c"}}})});
    defaults().setObject("Email", DefaultsKey::LastSelectedItemInCustomPanel);
    m_window->showCustomLabelPanel();
    CustomLabelPanelController *panel = m_window->customLabelPanelController();
    panel->tableView()->item(0, 0)->setText("Club");
    panel->cancelButton()->click();
    EXPECT_TRUE(m_window->isWindowModified());
}

// --- the definitions ------------------------------------------------------------------------

TEST_F(WindowCustomTest, DefinitionsAreGatheredOncePerNameAndType)
{
    CustomItemCloudValues::saveCustomItemDefinitions({item("Size", "Labeled Value", {"S"})}, *m_cloud);
    load({personWith("Hobby", "chess"),
          personWith("Hobby", QVariantList{QVariantMap{{"label", "x"}, {"value", "1"}}}),
          personWith("Hobby", QVariantList{QVariantMap{{"label", "y"}, {"value", "2"}}}),
          personWith("Memo", "m"), personWith("Memo", "n")});
    EXPECT_EQ(namesOf(m_window->customItems()), QStringList({"Size/Labeled Value", "Hobby/String Value",
                                                             "Hobby/Labeled Value", "Memo/String Value"}));
    EXPECT_EQ(namesOf(QNPerson::customItems().value_or(QVariantList())), namesOf(m_window->customItems()));
    EXPECT_EQ(view()->customItems(), m_window->customItems());
    // Once known, the definitions change only through the sheet.
    load({personWith("Other", "o")});
    EXPECT_EQ(m_window->customItems().size(), 4);
}

TEST_F(WindowCustomTest, AnAddedItemJoinsTheMenusWithoutMarkingTheWindowAndAChangeMarksIt)
{
    load({});
    endItemSheet({flagged(item("Size", "Labeled Value", {"S", "M"}), "new")});
    EXPECT_EQ(m_window->customItems(), QVariantList({item("Size", "Labeled Value", {"S", "M"})}));
    forget("S", "Size");
    forget("M", "Size");
    EXPECT_FALSE(m_window->isWindowModified());
    EXPECT_EQ(QNPerson::labelsForIdentifier("Size"), QStringList({"S", "M"}));
    EXPECT_EQ(m_window->sortOptionsDict().value("Size").toMap().value("items").toStringList(),
              QStringList({"Size", "label"}));
    const QList<QAction *> items = m_window->itemsPopup()->menu()->actions();
    QAction *size = itemFor(m_window->itemsPopup()->menu(), "Size", MenuCommand::ItemsPopupSelected);
    ASSERT_TRUE(size);
    EXPECT_TRUE(items.at(items.indexOf(size) - 1)->isSeparator());
    EXPECT_EQ(namesOf(CustomItemCloudValues::loadCustomItemDefinitions(*m_cloud)),
              QStringList({"Size/Labeled Value"}));

    forget("L", "Size");
    endItemSheet({flagged(item("Size", "Labeled Value", {"S", "M", "L"}), "changed")});
    EXPECT_TRUE(m_window->isWindowModified());
    EXPECT_EQ(m_window->customItems(), QVariantList({item("Size", "Labeled Value", {"S", "M", "L"})}));
}

TEST_F(WindowCustomTest, TheSheetsResultFollowsTheRules)
{
    CustomItemCloudValues::saveCustomItemDefinitions(
        {item("A", "String Value"), item("Hobby", "Labeled Value", {"x"}), item("B", "String Value"),
         item("Hobby", "String Value"), item("C", "String Value")},
        *m_cloud);
    load({});
    forget("y", "Hobby");
    forget("z", "Hobby");
    endItemSheet({flagged(item("A", "String Value"), "deleted"),
                  flagged(item("Hobby", "Labeled Value", {"y", "z"}), "changed"), item("B", "String Value"),
                  flagged(item("Hobby", "String Value"), "deleted"),
                  flagged(item("C", "String Value"), "deleted"),
                  // Added and deleted in one run: never added.
                  flagged(flagged(item("New", "String Value"), "new"), "deleted")});
    EXPECT_EQ(m_window->customItems(),
              QVariantList({item("Hobby", "Labeled Value", {"y", "z"}), item("B", "String Value")}));
    EXPECT_TRUE(m_window->isWindowModified());
    // The grid drops the columns of deleted items at once.
    EXPECT_EQ(m_grid->viewTypes.last(), m_window->selectedViewType());
}

// The contacts lose a deleted item at once; the cloud store keeps it until the save, and a revert
// puts the definition back where it was.
TEST_F(WindowCustomTest, ADeletedItemLeavesTheContactsAtOnceAndComesBackOnRevert)
{
    const QNPersonPtr loaded = personWith("Memo", "kept in memory");
    loaded->setValue(QVariantList{QVariantMap{{"label", "x"}, {"value", "1"}}}, "Hobby");
    const QVariantMap stored{{"Memo", "kept in memory"},
                             {"Hobby", QVariantList{QVariantMap{{"label", "x"}}}}};
    m_cloud->setObject(stored, loaded->uniqueId());
    CustomItemCloudValues::saveCustomItemDefinitions({item("Memo", "String Value")}, *m_cloud);
    load({loaded});
    forget("x", "Hobby");
    const QVariantList before = m_window->customItems();
    endItemSheet({flagged(item("Memo", "String Value"), "deleted"), item("Hobby", "Labeled Value", {"x"})});
    EXPECT_EQ(loaded->customIdentifiers(), QStringList({"Hobby"}));
    EXPECT_EQ(namesOf(m_window->customItems()), QStringList({"Hobby/Labeled Value"}));
    EXPECT_EQ(m_window->pendingCustomItemDeletions(),
              QVariantList{before.at(namesOf(before).indexOf("Memo/String Value"))});
    EXPECT_EQ(m_cloud->dictionaryForKey(loaded->uniqueId()), stored);
    EXPECT_EQ(namesOf(CustomItemCloudValues::loadCustomItemDefinitions(*m_cloud)),
              QStringList({"Memo/String Value"}));

    m_window->restoreDeletedCustomItems();
    EXPECT_EQ(m_window->customItems(), before);
    EXPECT_TRUE(m_window->pendingCustomItemDeletions().isEmpty());
}

TEST_F(WindowCustomTest, CustomItemsSurviveARestart)
{
    load({});
    m_window->itemsPopup()->menu()->actions().last()->trigger();
    ASSERT_TRUE(m_window->customItemPanel()->isSheetOpen());
    m_window->customItemPanel()->endSheet(0);
    endItemSheet(
        {flagged(item("Size", "Labeled Value", {"S"}), "new"), flagged(item("Memo", "String Value"), "new")});
    forget("S", "Size");
    ASSERT_TRUE(m_cloud->synchronize());

    m_cloud = std::make_unique<CloudKeyValueStore>(cloudPath());
    QNPerson::setCloudKeyValueStore(m_cloud.get());
    makeWindow();
    EXPECT_TRUE(m_window->customItems().isEmpty()) << "unknown until contacts are shown";
    load({});
    EXPECT_EQ(m_window->customItems(),
              QVariantList({item("Size", "Labeled Value", {"S"}), item("Memo", "String Value")}));
}

// Before the contacts are shown the item is stored and joins the definitions gathered later.
TEST_F(WindowCustomTest, AnItemAddedBeforeTheLoadIsKept)
{
    endItemSheet({flagged(item("Memo", "String Value"), "new")});
    EXPECT_TRUE(m_window->customItems().isEmpty());
    load({personWith("Hobby", "chess")});
    EXPECT_EQ(namesOf(m_window->customItems()), QStringList({"Memo/String Value", "Hobby/String Value"}));
}

} // namespace
