#include "WindowFixture.h"

#include "addressbook/DefaultsKey.h"
#include "editors/CustomItemPanel.h"
#include "model/QNPerson.h"
#include "platform/CloudKeyValueStore.h"

#include <QTemporaryDir>

namespace {

class WindowPopupsTest : public WindowFixture
{
protected:
    void TearDown() override
    {
        QNPerson::setCustomItems({});
        WindowFixture::TearDown();
    }

    QMenu *viewTypes() const { return m_window->viewTypePopup()->menu(); }
    QMenu *items() const { return m_window->itemsPopup()->menu(); }
    QMenu *labels() const { return m_window->labelsPopup()->menu(); }
    QMenu *sortOptions() const { return m_window->sortOptionsPopup()->menu(); }

    void chooseViewType(const QString &name)
    {
        itemFor(viewTypes(), name, MenuCommand::ViewTypePopupSelected)->trigger();
    }
    void chooseItem(const QString &identifier)
    {
        itemFor(items(), identifier, MenuCommand::ItemsPopupSelected)->trigger();
    }
    void chooseLabel(const QString &label)
    {
        emit labels()->aboutToShow();
        itemFor(labels(), label, MenuCommand::LabelsPopupSelected)->trigger();
    }
    QAction *sortOption(const QString &column, const QString &option)
    {
        for (QAction *item : sortOptions()->actions()) {
            if (item->menu() && representedObject(item) == column)
                return itemFor(item->menu(), option, MenuCommand::SortOptionsSelected);
        }
        return nullptr;
    }
    QStringList columns(const QString &viewType) const
    {
        return defaults().dictionaryForKey(DefaultsKey::ViewTypeDict).value(viewType).toStringList();
    }
    bool checked(QAction *item)
    {
        validated(item);
        return item->isChecked();
    }
};

const QVariantMap hobby{{"Name", "Hobby"}, {"Type", "Labeled Value"}};
const QVariantMap memo{{"Name", "Memo"}, {"Type", "String Value"}};

TEST_F(WindowPopupsTest, EachToolbarMenuIsTheMenuUnderNavigate)
{
    const std::pair<QToolButton *, MenuCommand> pairs[] = {
        {m_window->viewTypePopup(), MenuCommand::SelectViewTypeMenu},
        {m_window->itemsPopup(), MenuCommand::ItemsMenu},
        {m_window->labelsPopup(), MenuCommand::SelectLabelMenu},
        {m_window->sortOptionsPopup(), MenuCommand::SortOptionsMenu},
    };
    m_window->updateCustomItems();
    emit labels()->aboutToShow();
    for (const auto &[button, command] : pairs) {
        ASSERT_TRUE(button);
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        EXPECT_FALSE(button->icon().isNull());
        ASSERT_TRUE(button->menu());
        EXPECT_EQ(button->menu(), m_window->menuItem(command)->menu());
        EXPECT_FALSE(validated(button->menu()->actions().first())) << "the title item";
    }
}

TEST_F(WindowPopupsTest, ChecksFollowTheViewTypeItsColumnsTheFilterAndTheSortOptions)
{
    EXPECT_TRUE(checked(itemFor(viewTypes(), "Email", MenuCommand::ViewTypePopupSelected)));
    EXPECT_FALSE(checked(itemFor(viewTypes(), "Phone", MenuCommand::ViewTypePopupSelected)));
    EXPECT_TRUE(checked(itemFor(items(), "Email", MenuCommand::ItemsPopupSelected)));
    EXPECT_FALSE(checked(itemFor(items(), "Phone", MenuCommand::ItemsPopupSelected)));
    emit labels()->aboutToShow();
    EXPECT_TRUE(checked(itemFor(labels(), "All", MenuCommand::LabelsPopupSelected)));
    EXPECT_FALSE(checked(itemFor(labels(), "home", MenuCommand::LabelsPopupSelected)));
    EXPECT_TRUE(checked(sortOption("Email", "Email")));
    EXPECT_FALSE(checked(sortOption("Email", "domain")));

    m_grid->viewTypes.clear();
    chooseViewType("Phone");
    EXPECT_EQ(defaults().stringForKey(DefaultsKey::SelectedViewType), "Phone");
    EXPECT_EQ(view()->selectedViewType(), "Phone");
    // Told before and after the clean-up of the stored view types.
    EXPECT_EQ(m_grid->viewTypes, QStringList({"Phone", "Phone"}));
    EXPECT_TRUE(checked(itemFor(viewTypes(), "Phone", MenuCommand::ViewTypePopupSelected)));
    EXPECT_FALSE(checked(itemFor(viewTypes(), "Email", MenuCommand::ViewTypePopupSelected)));
    EXPECT_TRUE(checked(itemFor(items(), "Phone", MenuCommand::ItemsPopupSelected)));
    sortOption("Email", "domain")->trigger();
    EXPECT_TRUE(checked(sortOption("Email", "domain")));
    EXPECT_FALSE(checked(sortOption("Email", "Email")));
}

TEST_F(WindowPopupsTest, AnItemLeavesTheColumnsAndComesBackSecond)
{
    chooseItem("Phone");
    EXPECT_EQ(columns("Email"), QStringList({"Name", "Phone", "Email"}));
    chooseItem("Email");
    EXPECT_EQ(columns("Email"), QStringList({"Name", "Phone"}));
    chooseItem("Email");
    EXPECT_EQ(columns("Email"), QStringList({"Name", "Email", "Phone"}));
    EXPECT_EQ(view()->viewTypeDict().value("Email").toStringList(), columns("Email"));
    EXPECT_EQ(m_grid->viewTypes.last(), "Email");
    EXPECT_EQ(m_grid->view()->property("columnCount").toInt(), 3);
}

TEST_F(WindowPopupsTest, TheLabelFilterGoesFromAllToLabelsAndBack)
{
    const QList<std::pair<QString, QStringList>> steps = {
        {"home", {"home"}}, {"work", {"home", "work"}}, {"home", {"work"}},
        {"work", {"All"}},  {"other", {"other"}},       {"All", {"All"}},
    };
    for (const auto &[label, expected] : steps) {
        const int updates = m_grid->updates;
        chooseLabel(label);
        EXPECT_EQ(m_window->selectedLabels(), expected) << label.toStdString();
        EXPECT_EQ(defaults().arrayForKey(DefaultsKey::SelectedLabels), QVariant(expected).toList());
        EXPECT_EQ(m_grid->labels, expected);
        EXPECT_EQ(view()->selectedLabels(), expected);
        EXPECT_EQ(m_grid->updates, updates + 1);
    }
    m_window->labelsPopupSelected(m_window.get());
    EXPECT_EQ(m_window->selectedLabels(), QStringList{"All"});
}

TEST_F(WindowPopupsTest, TheLabelsMenuListsTheShownKindsLabelsOnce)
{
    chooseViewType("Name");
    emit labels()->aboutToShow();
    ASSERT_EQ(labels()->actions().size(), 2);
    EXPECT_EQ(representedObject(labels()->actions().at(1)), "All");

    chooseViewType("Labeled Values");
    emit labels()->aboutToShow();
    QStringList listed;
    for (QAction *item : labels()->actions())
        listed.append(representedObject(item).toString());
    EXPECT_EQ(listed.count("home"), 1);
    EXPECT_EQ(listed.count("work"), 1);
    EXPECT_GT(listed.size(), 5);
}

TEST_F(WindowPopupsTest, StoredSortChoicesOfTheOlderFormAreRead)
{
    defaults().setObject(
        QVariantMap{
            {"Email", "Email domain"}, {"Phone", "label"}, {"URL", "URL"}, {"Address", "no such option"}},
        DefaultsKey::SortOptionsDefault);
    m_window->initSortOptionsMenu();
    const QVariantMap dict = m_window->sortOptionsDict();
    EXPECT_EQ(dict.value("Email").toMap().value("selected"), "domain");
    EXPECT_EQ(dict.value("Phone").toMap().value("selected"), "label");
    EXPECT_EQ(dict.value("URL").toMap().value("selected"), "URL");
    EXPECT_EQ(dict.value("Name").toMap().value("selected"), "compositeName");
    EXPECT_EQ(defaults().dictionaryForKey(DefaultsKey::SortOptionsDict), dict);
    EXPECT_TRUE(checked(sortOption("Email", "domain")));
}

// The Name column's options are the program's keys; the menu shows names, in either language.
TEST_F(WindowPopupsTest, TheNameSortOptionsShowNamesNotKeys)
{
    for (const char *language : {"en", "ja"}) {
        Localizer::shared().setPreferredLanguages({QString::fromUtf8(language)});
        m_window->initSortOptionsMenu();
        for (const char *option : {"compositeName", "FirstName", "LastName"}) {
            QAction *item = sortOption("Name", option);
            ASSERT_TRUE(item) << option;
            EXPECT_NE(item->text(), QString::fromUtf8(option)) << language;
        }
    }
}

TEST_F(WindowPopupsTest, ChoosingTheChosenSortOptionWritesNothingButStillSorts)
{
    defaults().removeObjectForKey(DefaultsKey::SortOptionsDict);
    sortOption("Email", "Email")->trigger();
    EXPECT_FALSE(defaults().objectForKey(DefaultsKey::SortOptionsDict).isValid());
    EXPECT_FALSE(defaults().objectForKey(DefaultsKey::SortOptionsDefault).isValid());
    ASSERT_EQ(m_grid->sorts.size(), 1);
    EXPECT_EQ(m_grid->sorts.first().first, "Email");
    EXPECT_EQ(m_grid->sorts.first().second.value("selected"), "Email");

    sortOption("Email", "username")->trigger();
    EXPECT_EQ(defaults().dictionaryForKey(DefaultsKey::SortOptionsDefault).value("Email"), "username");
    EXPECT_EQ(defaults().dictionaryForKey(DefaultsKey::SortOptionsDefault).value("Name"), "compositeName");
    EXPECT_EQ(m_grid->sorts.last().second.value("selected"), "username");
    // The choice is the one the next start takes.
    makeWindow();
    EXPECT_EQ(m_window->sortOptionsDict().value("Email").toMap().value("selected"), "username");
}

TEST_F(WindowPopupsTest, CustomItemsJoinTheMenusAndTheirColumnsGoWithThem)
{
    QVariantMap stored = defaults().dictionaryForKey(DefaultsKey::ViewTypeDict);
    stored.insert("Email", QVariantList{"Name", "Email", "Hobby"});
    defaults().setObject(stored, DefaultsKey::ViewTypeDict);
    // Until the items are gathered, a column that may be one of them stays.
    chooseViewType("Email");
    EXPECT_EQ(columns("Email"), QStringList({"Name", "Email", "Hobby"}));

    // The window gathers the definitions from the contacts it shows.
    QTemporaryDir folder;
    CloudKeyValueStore cloud(folder.filePath("cloud.json"));
    QNPerson::setCloudKeyValueStore(&cloud);
    auto person = std::make_shared<QNPerson>();
    person->setOwnCustomItems({hobby, memo});
    auto row = std::make_shared<ContactRow>();
    row->person = person;
    view()->setContactTable(std::make_shared<ContactTable>(ContactTable{row}));
    m_window->updateCustomItems();
    EXPECT_EQ(
        m_window->sortOptionsDict().value("Hobby").toMap(),
        QVariantMap({{"type", "Hobby"}, {"items", QVariantList{"Hobby", "label"}}, {"selected", "Hobby"}}));
    EXPECT_FALSE(m_window->sortOptionsDict().contains("Memo"));
    QAction *memoItem = itemFor(items(), "Memo", MenuCommand::ItemsPopupSelected);
    ASSERT_TRUE(memoItem);
    EXPECT_EQ(memoItem->text(), "Memo (String Value)");
    EXPECT_EQ(columns("Email"), QStringList({"Name", "Email", "Hobby"}));

    // Deleting the item in the custom-item sheet takes its column away.
    QVariantMap deleted = hobby;
    deleted.insert("deleted", true);
    m_window->showCustomItems();
    m_window->customItemPanel()->setCustomItems({deleted, memo});
    m_window->customItemPanel()->endSheet(1);
    QNPerson::setCloudKeyValueStore(nullptr);
    EXPECT_EQ(columns("Email"), QStringList({"Name", "Email"}));
    EXPECT_FALSE(itemFor(items(), "Hobby", MenuCommand::ItemsPopupSelected));
    EXPECT_FALSE(m_window->sortOptionsDict().contains("Hobby"));
    EXPECT_FALSE(sortOption("Hobby", "Hobby"));
}

} // namespace
