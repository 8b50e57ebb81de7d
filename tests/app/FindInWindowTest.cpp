#include "SaveFixture.h"

#include "app/MenuCommand.h"
#include "detail/ContactInfoController.h"
#include "detail/DetailTableController.h"
#include "find/FindBarController.h"
#include "find/FindPanel.h"
#include "grid/ContactsViewController.h"
#include "platform/widgets/FindPasteboard.h"
#include "ui/widgets/DetailTextCell.h"
#include "ui/widgets/SegmentedControl.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextBrowser>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

class FindInWindow : public SaveFixture
{
protected:
    FindBarController *bar() const { return dynamic_cast<FindBarController *>(view()->findBarController()); }
    void trigger(MenuCommand command) { window->menuItem(command)->trigger(); }
    // The window shown and active, and the find bar's field focused through the real Find item.
    QLineEdit *focusedFindField()
    {
        window->show();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get()))
            return nullptr;
        // A window that appears hides the bar a moment later.
        QTest::qWait(500);
        trigger(MenuCommand::Find);
        QLineEdit *field = bar()->searchField();
        return spinUntil([field] { return field->isVisible() && field->hasFocus(); }) ? field : nullptr;
    }

    ContactInfoController *pane() const
    {
        return static_cast<ContactInfoController *>(view()->contactInfoController());
    }
    void showContactInfo(const ContactRowPtr &contact)
    {
        if (!view()->contactInfoVisible())
            trigger(MenuCommand::ToggleContactInfo);
        view()->contactsViewController()->selectRowIndexesWithContacts({contact});
        spinUntil([this, contact] {
            return pane()->contact() && pane()->contact()->uniqueId == contact->uniqueId;
        });
    }

    // Opens the find-and-replace window from the menu and answers the text of its search field.
    QString searchedInFindPanel()
    {
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
        return searched;
    }
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

// F3 and Shift+F3 act on the text typed into the shown bar, not on the older search that the find
// pasteboard still holds; Find Next lands on the new search's first match.
TEST_F(FindInWindow, FindNextAndPreviousActOnTheTextTheFieldShows)
{
    window->resize(1000, 700);
    QLineEdit *field = focusedFindField();
    ASSERT_NE(field, nullptr);
    const auto retype = [field](const QString &text) {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    };
    const auto selectedName = [this] {
        const QList<SubContactRowPtr> rows = view()->contactsViewController()->selectedSubContacts();
        return rows.isEmpty() ? QString() : rows.first()->person->nameValue().value("FirstName").toString();
    };

    retype("Roe");
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(selectedName(), "Bob");
    retype("Poe");
    QTest::keyClick(field, Qt::Key_F3);
    EXPECT_EQ(field->text(), "Poe");
    EXPECT_EQ(selectedName(), "Carl");

    retype("Lee");
    QTest::keyClick(field, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(field->text(), "Lee");
    EXPECT_EQ(selectedName(), "Ann");
}

// The window runs modally: the test looks at it from inside its run and closes it.
TEST_F(FindInWindow, TheFindAndReplaceWindowOpensWithTheFindPasteboardsString)
{
    FindPasteboard::setString("Poe");
    EXPECT_EQ(searchedInFindPanel(), "Poe");
}

// The find pasteboard still holds a search the user cleared: the window took it back, and its
// marks came back in the grid.
TEST_F(FindInWindow, ASearchClearedInTheBarStaysClearedInTheFindAndReplaceWindow)
{
    QLineEdit *field = focusedFindField();
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, "Poe");
    QTest::keyClick(field, Qt::Key_Return);
    auto *clearButton = field->findChild<QToolButton *>();
    ASSERT_TRUE(spinUntil([clearButton] { return clearButton->isVisible(); }));
    QTest::mouseClick(clearButton, Qt::LeftButton);
    EXPECT_EQ(searchedInFindPanel(), "");
    EXPECT_EQ(static_cast<ContactsViewController *>(view()->contactsViewController())->findString(), "");
}

// The current match's range stayed on the replaced text and marked part of it ("pin he").
TEST_F(FindInWindow, ReplaceAllLeavesNoMarkOfTheOldMatchOnTheNewText)
{
    const ContactRowPtr bob = row(top(), "Bob");
    bob->person->setValue("needle here", "Note");
    QLineEdit *field = focusedFindField();
    ASSERT_NE(field, nullptr);
    view()->setEditState(true);
    showContactInfo(bob);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, "needle");
    QTest::keyClick(field, Qt::Key_Return);
    bar()->replaceStringField()->setText("pin");
    QToolButton *all = bar()->replaceControl()->segmentButton(1);
    ASSERT_TRUE(spinUntil([this, all] { return !bar()->isAnimating() && all->isVisible(); }));
    QTest::mouseClick(all, Qt::LeftButton);

    ASSERT_EQ(bob->person->stringValueForIdentifier("Note"), "pin here");
    const QList<DetailTextCell *> cells =
        pane()->detailTable()->tableView()->findChildren<DetailTextCell *>();
    const auto note =
        std::find_if(cells.cbegin(), cells.cend(), [](auto *cell) { return cell->text() == "pin here"; });
    ASSERT_NE(note, cells.cend());
    EXPECT_TRUE((*note)->marks().isEmpty());
}

// Every redraw rebuilt the card, so clearing the search threw it back to its top.
TEST_F(FindInWindow, ClearingTheSearchLeavesTheCardWhereItWasScrolled)
{
    const ContactRowPtr bob = row(top(), "Bob");
    bob->person->setValue(QStringList(60, "line").join('\n'), "Note");
    window->resize(900, 500);
    QLineEdit *field = focusedFindField();
    ASSERT_NE(field, nullptr);
    showContactInfo(bob);
    QScrollBar *scroll = pane()->cardView()->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0);
    scroll->setValue(scroll->maximum());
    const int scrolled = scroll->value();

    QTest::keyClicks(field, "Roe");
    QTest::keyClick(field, Qt::Key_Return);
    auto *clearButton = field->findChild<QToolButton *>();
    ASSERT_TRUE(spinUntil([clearButton] { return clearButton->isVisible(); }));
    QTest::mouseClick(clearButton, Qt::LeftButton);
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(scroll->value(), scrolled);
}

class FindBarAtTheDefaultWindow : public FindInWindow,
                                  public ::testing::WithParamInterface<std::tuple<bool, bool>>
{
};

// The room a field leaves its text: inside its frame, left of the clear button once that shows.
int textRoom(const QLineEdit *field)
{
    const auto *clear = field->findChild<QToolButton *>();
    const int right = clear && clear->isVisible() ? clear->x() : field->width();
    return right - 2 * (field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2);
}

// The fields were squeezed to three letters, and the clear button that comes with the first
// letter widened the search field and pushed the replacement field from under the pointer.
TEST_P(FindBarAtTheDefaultWindow, ShowsBothFieldsWholeAndKeepsThemStillWhileTyping)
{
    const auto [editing, detailShown] = GetParam();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // As at a fresh start, with the sidebar, which showing the window here has hidden.
    QTest::mouseClick(window->splitButtons()->segmentButton(0), Qt::LeftButton);
    if (editing)
        QTest::mouseClick(window->editButton(), Qt::LeftButton);
    if (detailShown)
        QTest::mouseClick(window->splitButtons()->segmentButton(1), Qt::LeftButton);
    ASSERT_EQ(view()->editState(), editing);
    ASSERT_EQ(view()->contactInfoVisible(), detailShown);
    QLineEdit *field = focusedFindField();
    ASSERT_TRUE(field && spinUntil([this] { return !bar()->isAnimating(); }));
    QLineEdit *replacement = bar()->replaceStringField();
    const QList<QRect> places{field->geometry(), replacement->geometry()};

    QTest::keyClicks(field, "Trip");
    QTest::qWait(300);
    EXPECT_EQ(QList<QRect>({field->geometry(), replacement->geometry()}), places);
    for (const QLineEdit *shown : {field, replacement}) {
        EXPECT_GE(textRoom(shown), 12 * shown->fontMetrics().averageCharWidth());
        EXPECT_EQ(shown->visibleRegion(), QRegion(shown->rect())) << "inside the window";
    }
    EXPECT_GE(bar()->view()->width(), bar()->view()->minimumSizeHint().width()) << "the controls overlap";
    EXPECT_GE(bar()->optionPopup()->width(), bar()->optionPopup()->sizeHint().width());
}

INSTANTIATE_TEST_SUITE_P(EditOrBrowseWithTheDetailPaneShownOrHidden, FindBarAtTheDefaultWindow,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()));

} // namespace
