#include "AppFixture.h"

#include "addressbook/DefaultsKey.h"
#include "app/MenuCommand.h"
#include "ui/widgets/SeparatorBox.h"
#include "addressbook/ViewTypes.h"
#include "app/WindowController.h"
#include "platform/UndoManager.h"
#include "platform/widgets/Alert.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QScreen>

namespace {

class ViewControllerTest : public AppFixture
{
protected:
    // A window as the program opens it: made, shown, then handed an (empty) address book.
    std::unique_ptr<WindowController> openWindow(bool handOver = true)
    {
        auto window = std::make_unique<WindowController>();
        window->show();
        if (handOver)
            window->mainViewController()->setRepresentedObject(QVariant());
        return window;
    }

    static QRect expectedFirstRunFrame()
    {
        return WindowController::firstRunFrame(QGuiApplication::primaryScreen()->availableGeometry());
    }
};

TEST_F(ViewControllerTest, TheFirstStartWritesTheDefaults)
{
    auto window = openWindow(false);
    EXPECT_EQ(defaults().objectForKey(DefaultsKey::SelectedLabels).toStringList(), QStringList{"All"});
    EXPECT_EQ(defaults().dictionaryForKey(DefaultsKey::ViewTypeDict), ViewTypes::defaultViewTypeDict());
    EXPECT_EQ(defaults().stringForKey(DefaultsKey::SelectedViewType), "Email");
    EXPECT_FALSE(defaults().objectForKey(DefaultsKey::ShowGroupView).isValid());

    window->mainViewController()->setRepresentedObject(QVariant());
    EXPECT_TRUE(defaults().boolForKey(DefaultsKey::ShowGroupView));
    EXPECT_FALSE(window->mainViewController()->isSidebarCollapsed());
    EXPECT_EQ(window->geometry(), expectedFirstRunFrame());
    // The window starts locked.
    EXPECT_FALSE(window->mainViewController()->editState());
    EXPECT_EQ(window->editButton()->text(), "Edit");
}

TEST_F(ViewControllerTest, TheBuiltInViewTypesAllBeginWithName)
{
    const QVariantMap table = ViewController::aViewTypeDict();
    EXPECT_EQ(table.size(), 13);
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        EXPECT_EQ(it.value().toStringList().value(0), "Name") << it.key().toStdString();
    EXPECT_EQ(table.value("Address Detail").toStringList(),
              QStringList({"Name", "ZIP", "State", "City", "Street", "Country"}));
    const QVariantMap labels = ViewController::aSelectedLabels();
    EXPECT_EQ(labels.size(), 8);
    EXPECT_EQ(labels.value("Relationship").toStringList(), QStringList{"All"});
}

TEST_F(ViewControllerTest, StoredSettingsAreKept)
{
    const QVariantMap viewTypes{{"Mine", QVariantList{"Name", "Note"}}};
    defaults().setObject(QStringList{"home", "work"}, DefaultsKey::SelectedLabels);
    defaults().setObject(viewTypes, DefaultsKey::ViewTypeDict);
    defaults().setObject(QStringLiteral("Mine"), DefaultsKey::SelectedViewType);
    defaults().setBool(false, DefaultsKey::ShowGroupView);

    auto window = openWindow();
    ViewController *view = window->mainViewController();
    EXPECT_EQ(view->selectedLabels(), QStringList({"home", "work"}));
    EXPECT_EQ(view->selectedViewType(), "Mine");
    EXPECT_EQ(defaults().dictionaryForKey(DefaultsKey::ViewTypeDict), viewTypes);
    EXPECT_TRUE(view->isSidebarCollapsed());
}

TEST_F(ViewControllerTest, AnEmptyViewTypeTableIsReplaced)
{
    defaults().setObject(QVariantMap(), DefaultsKey::ViewTypeDict);
    auto window = openWindow();
    EXPECT_EQ(defaults().dictionaryForKey(DefaultsKey::ViewTypeDict), ViewTypes::defaultViewTypeDict());
}

TEST_F(ViewControllerTest, TheWindowStartsInTheEditStateItWasLeftIn)
{
    defaults().setBool(true, DefaultsKey::LastEditState);
    auto window = openWindow();
    ViewController *view = window->mainViewController();
    EXPECT_TRUE(view->editState());
    EXPECT_EQ(window->editButton()->text(), "Lock");

    window->editButtonClicked();
    EXPECT_FALSE(view->editState());
    EXPECT_FALSE(defaults().boolForKey(DefaultsKey::LastEditState));
    window->editButtonClicked();
    window->close();
    EXPECT_TRUE(defaults().boolForKey(DefaultsKey::LastEditState));
}

TEST_F(ViewControllerTest, LockingTurnsTheSeparatorGrayButKeepsItsWidth)
{
    auto window = openWindow();
    ViewController *view = window->mainViewController();
    view->setEditState(true);
    EXPECT_EQ(view->redSeparator()->borderWidth(), 2.0);
    EXPECT_EQ(view->redSeparator()->fillColor(), QColor(Qt::red));
    view->setEditState(false);
    EXPECT_EQ(view->redSeparator()->borderWidth(), 2.0);
    EXPECT_EQ(view->redSeparator()->borderColor(), QColor(Qt::gray));
    EXPECT_EQ(view->redSeparator()->fillColor(), QColor(Qt::gray));
}

TEST_F(ViewControllerTest, TheFrameIsKeptForTheNextStart)
{
    auto window = openWindow();
    const QRect moved(150, 120, 1000, 640);
    window->setGeometry(moved);
    window->close();
    window.reset();

    auto again = openWindow();
    EXPECT_EQ(again->frameAutosaveName(), "AddressBook");
    EXPECT_EQ(again->geometry(), moved);
}

// --- restoring the defaults -------------------------------------------------------------------

struct RestoreCase
{
    const char *name;
    Qt::KeyboardModifiers held;
    int answer;
    bool asked;
    bool restored;
};

class RestoreDefaultsTest : public ViewControllerTest, public ::testing::WithParamInterface<RestoreCase>
{
};

TEST_P(RestoreDefaultsTest, HoldingShiftControlAndOptionOffersToRestore)
{
    const RestoreCase &param = GetParam();
    defaults().setObject(QStringLiteral("Phone"), DefaultsKey::SelectedViewType);
    defaults().setBool(true, DefaultsKey::LastEditState);
    const Qt::KeyboardModifiers held = param.held;
    ViewController::setModifierQuery([held] { return held; });
    Alert::setNextAnswer(param.answer);

    auto window = openWindow(false);
    ViewController *view = window->mainViewController();
    const QList<Alert::Record> shown = Alert::shownAlerts();
    ASSERT_EQ(shown.size(), param.asked ? 1 : 0);
    if (param.asked) {
        EXPECT_EQ(shown.first().messageText, "");
        EXPECT_EQ(shown.first().informativeText, "Would you like to restore default preferences?");
        EXPECT_EQ(shown.first().buttons, QStringList({"OK", "Cancel"}));
    }
    EXPECT_EQ(view->isNewWindow(), param.restored);
    EXPECT_EQ(view->selectedViewType(), param.restored ? "Email" : "Phone");
    // Restored, the window opens at its first-run frame and stays in the edit state it starts in;
    // otherwise it takes the stored edit state, which is editing too.
    EXPECT_TRUE(view->editState());
    if (param.restored) {
        EXPECT_EQ(window->geometry(), expectedFirstRunFrame());
    }
    Alert::resetTestState();
}

INSTANTIATE_TEST_SUITE_P(
    Modifiers, RestoreDefaultsTest,
    ::testing::Values(
        RestoreCase{"AllThreeOk", Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier,
                    Alert::FirstButton, true, true},
        RestoreCase{"AllThreeCancel", Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier,
                    Alert::SecondButton, true, false},
        RestoreCase{"AllThreeAndMore",
                    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier,
                    Alert::FirstButton, true, true},
        RestoreCase{"TwoOnly", Qt::ShiftModifier | Qt::ControlModifier, Alert::FirstButton, false, false},
        RestoreCase{"None", Qt::NoModifier, Alert::FirstButton, false, false}),
    [](const auto &info) { return std::string(info.param.name); });

// --- menu validation ------------------------------------------------------------------------

TEST_F(ViewControllerTest, GroupAndContactCommandsFollowTheSidebarAndTheEditState)
{
    auto window = openWindow();
    ViewController *view = window->mainViewController();
    auto group = std::make_shared<GroupDict>();
    view->setSelectedGroupDict(group);
    QAction addGroup, deleteGroup, deleteContacts;
    setMenuCommand(&addGroup, MenuCommand::AddGroup);
    setMenuCommand(&deleteGroup, MenuCommand::DeleteGroup);
    setMenuCommand(&deleteContacts, MenuCommand::DeleteContacts);

    struct Row
    {
        bool sidebarShown, editing, top;
        bool addGroup, deleteGroup;
    };
    for (const Row &row : {Row{true, true, false, true, true}, Row{true, true, true, true, false},
                           Row{true, false, false, true, false}, Row{false, true, false, false, false}}) {
        view->setSidebarCollapsed(!row.sidebarShown);
        view->setEditState(row.editing);
        group->top = row.top;
        EXPECT_EQ(view->validateMenuItem(&addGroup), row.addGroup);
        EXPECT_EQ(view->validateMenuItem(&deleteGroup), row.deleteGroup);
    }
    // Nothing is selected in the grid.
    view->setEditState(true);
    EXPECT_FALSE(view->validateMenuItem(&deleteContacts));
}

TEST_F(ViewControllerTest, MenusAreValidatedBeforeTheyShow)
{
    auto window = openWindow();
    QAction *undo = window->menuItem(MenuCommand::Undo);
    QAction *contactInfo = window->menuItem(MenuCommand::ToggleContactInfo);
    EXPECT_FALSE(undo->isEnabled());

    window->undoManager()->registerUndo([] {});
    window->mainViewController()->findBarController()->setVisible(true, {});
    window->showContactInfo(true);
    emit qobject_cast<QMenu *>(undo->parent())->aboutToShow();
    emit qobject_cast<QMenu *>(contactInfo->parent())->aboutToShow();
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(contactInfo->text(), "Hide Contact Info");
}

TEST_F(ViewControllerTest, UndoTakesBackTheEditedMark)
{
    auto window = openWindow();
    ViewController *view = window->mainViewController();
    EXPECT_TRUE(window->windowTitle().endsWith("[*]"));
    int value = 1;
    view->undoManager()->registerUndo([&value] { value = 0; });
    view->setDocumentEdited(true);
    EXPECT_TRUE(window->isWindowModified());
    view->undo();
    EXPECT_EQ(value, 0);
    EXPECT_FALSE(view->isDocumentEdited());
}

} // namespace
