#include "SaveFixture.h"

#include "app/MenuCommand.h"
#include "find/FindBarController.h"
#include "find/FindPanel.h"
#include "platform/widgets/FindPasteboard.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

namespace {

class FindInWindow : public SaveFixture
{
protected:
    FindBarController *bar() const { return dynamic_cast<FindBarController *>(view()->findBarController()); }
    void trigger(MenuCommand command) { window->menuItem(command)->trigger(); }
};

TEST_F(FindInWindow, TheFindMenuStepsThroughTheContactsAndReplaceAllIsOneUndoStep)
{
    for (MenuCommand command : {MenuCommand::Find, MenuCommand::FindAndReplace, MenuCommand::FindNext,
                                MenuCommand::FindPrevious, MenuCommand::UseSelectionForFind})
        ASSERT_NE(window->menuItem(command), nullptr);
    trigger(MenuCommand::Find);
    ASSERT_TRUE(bar()->isVisible());
    view()->findStringDidChange("Poe");
    trigger(MenuCommand::FindNext);
    const std::optional<ItemAndRange> hit = view()->selectedItemAndRange();
    ASSERT_TRUE(hit && hit->contact);
    EXPECT_EQ(hit->contact->person->nameValue().value("LastName"), "Poe");
    EXPECT_EQ(hit->length, 3);

    bar()->replaceStringField()->setText("Roe");
    view()->findBarButtonDidPress(FindBarCommand::ReplaceAll);
    EXPECT_EQ(row(top(), "Carl")->person->nameValue().value("LastName"), "Roe");
    EXPECT_TRUE(view()->isDocumentEdited());
    view()->undo();
    EXPECT_EQ(row(top(), "Carl")->person->nameValue().value("LastName"), "Poe");
    EXPECT_FALSE(view()->isDocumentEdited());
}

// The window runs modally: the test looks at it from inside its run and closes it.
TEST_F(FindInWindow, TheFindAndReplaceWindowOpensWithTheFindPasteboardsString)
{
    FindPasteboard::setString("Poe");
    QString searched;
    QTimer::singleShot(0, [&searched] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *panel = qobject_cast<FindPanel *>(widget);
            if (panel && panel->isVisible()) {
                searched = panel->searchField()->text();
                panel->done(0);
            }
        }
    });
    trigger(MenuCommand::ShowFindPanel);
    EXPECT_EQ(searched, "Poe");
}

} // namespace
