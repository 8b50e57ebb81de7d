#include "SaveFixture.h"

#include "app/MenuCommand.h"
#include "find/FindBarController.h"

#include <QLineEdit>

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

} // namespace
