#include "app/SaveFixture.h"

#include "app/MenuCommand.h"
#include "detail/ContactInfoPopover.h"
#include "detail/DetailInPlaceEditor.h"
#include "detail/DetailTableController.h"
#include "detail/DetailTableEditing.h"
#include "platform/widgets/Popover.h"
#include "ui/contracts/ContactsGridInterface.h"
#include "ui/contracts/DetachedWindowController.h"
#include "ui/widgets/DetailTextCell.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTableView>
#include <QTest>

namespace {

// Qt's own warnings while it lives.
class QtWarnings
{
public:
    QtWarnings() { s_previous = qInstallMessageHandler(&QtWarnings::handle); }
    ~QtWarnings()
    {
        qInstallMessageHandler(s_previous);
        s_lines.clear();
    }
    bool contains(const QString &text) const { return !s_lines.filter(text).isEmpty(); }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            s_lines.append(message);
    }
    static inline QtMessageHandler s_previous = nullptr;
    static inline QStringList s_lines;
};

// The contact popover over the real main window, as the user opens it from the grid: Ann, in an
// editable window.
class ContactPopoverInWindowTest : public SaveFixture
{
protected:
    void SetUp() override
    {
        SaveFixture::SetUp();
        window->resize(1000, 600);
        window->show();
        view()->setEditState(true);
        grid()->selectRowIndexesWithContacts({annRow()});
        grid()->showContactInfoPopoverWithOption(false);
        QCoreApplication::processEvents();
    }

    void TearDown() override
    {
        for (const DetachedWindowEntryPtr &entry : grid()->detachedWindows()) {
            if (entry->window)
                entry->window->close();
        }
        if (Popover *popover = grid()->popover())
            popover->close();
        QCoreApplication::processEvents();
        SaveFixture::TearDown();
    }

    ContactsGridInterface *grid() const { return view()->contactsViewController(); }
    ContactRowPtr annRow() const { return row(top(), QStringLiteral("Ann")); }
    QString company() const { return annRow()->person->stringValueForIdentifier(QStringLiteral("Company")); }

    ContactInfoPopover *attached() const
    {
        Popover *popover = grid()->popover();
        return popover ? qobject_cast<ContactInfoPopover *>(popover->contentWidget()) : nullptr;
    }

    ContactInfoPopover *tearOff() const
    {
        grid()->popover()->detach();
        QCoreApplication::processEvents();
        const QList<DetachedWindowEntryPtr> entries = grid()->detachedWindows();
        if (entries.isEmpty() || !entries.first()->windowController)
            return nullptr;
        return dynamic_cast<ContactInfoPopover *>(entries.first()->windowController->contentViewController());
    }

    static int rowOf(ContactInfoPopover *content, const QString &type)
    {
        const DetailRowTable &rows = content->detailTable()->table();
        for (int row = 0; row < rows.size(); ++row) {
            if (rows.at(row)->type == type)
                return row;
        }
        return -1;
    }

    static void activate(ContactInfoPopover *content)
    {
        QWidget *window = content->window();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    // A double-click on the row's value, the text typed over it, Return, and Escape to leave the
    // next row Return moved to.
    static void typeInto(ContactInfoPopover *content, const QString &type, const QString &text)
    {
        activate(content);
        QTableView *table = content->detailTable()->tableView();
        const QRect cell = table->visualRect(table->model()->index(rowOf(content, type), 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        DetailTableEditing &editing = content->detailTable()->editing();
        ASSERT_TRUE(editing.inPlaceEditor());
        QTest::keyClicks(editing.inPlaceEditor(), text);
        QTest::keyClick(editing.inPlaceEditor(), Qt::Key_Return);
        if (editing.inPlaceEditor())
            QTest::keyClick(editing.inPlaceEditor(), Qt::Key_Escape);
        QCoreApplication::processEvents();
    }

    // The keys pressed in the popover's window, where the focus is: a window without a focus
    // widget takes them itself.
    static void press(ContactInfoPopover *content, Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        activate(content);
        QWidget *focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : content->window(), key, modifiers);
        QCoreApplication::processEvents();
    }

    static QString groupsText(ContactInfoPopover *content)
    {
        const auto *cell =
            qobject_cast<DetailTextCell *>(content->detailTable()->cellView(rowOf(content, "Groups"), 1));
        return cell ? cell->text() : QString();
    }
};

// The main window's Edit menu has the same keys; neither may leave the other unused.
TEST_F(ContactPopoverInWindowTest, UndoAndRedoKeysInTheAttachedPopoverActOnTheWindowsHistory)
{
    const QtWarnings warnings;
    ContactInfoPopover *popover = attached();
    ASSERT_NE(popover, nullptr);
    typeInto(popover, QStringLiteral("Company"), QStringLiteral("Acme"));
    ASSERT_EQ(company(), QStringLiteral("Acme"));
    // A look at the Edit menu enables its Undo.
    QAction *undo = window->menuItem(MenuCommand::Undo);
    emit qobject_cast<QMenu *>(undo->parent())->aboutToShow();
    ASSERT_TRUE(undo->isEnabled());

    press(popover, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(company(), QString());
    press(popover, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(company(), QStringLiteral("Acme"));
    EXPECT_FALSE(warnings.contains(QStringLiteral("Ambiguous shortcut")));
}

TEST_F(ContactPopoverInWindowTest, ATornOffWindowUndoesByKeyAndShowsItsEditedMark)
{
    const QtWarnings warnings;
    ContactInfoPopover *content = tearOff();
    ASSERT_NE(content, nullptr);
    QWidget *window = content->window();
    typeInto(content, QStringLiteral("Company"), QStringLiteral("Acme"));
    ASSERT_EQ(company(), QStringLiteral("Acme"));
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Ann Lee[*]"));
    EXPECT_FALSE(warnings.contains(QStringLiteral("placeholder")));

    press(content, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(company(), QString());
    EXPECT_FALSE(window->isWindowModified());
    press(content, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(company(), QStringLiteral("Acme"));
    EXPECT_TRUE(window->isWindowModified());
}

// A rename inside a torn-off window retitles it; the attached popover leaves the main window's title.
TEST_F(ContactPopoverInWindowTest, ATornOffWindowsTitleFollowsARenameInIt)
{
    const ContactRowPtr ann = annRow();
    const QString mainTitle = window->windowTitle();
    typeInto(attached(), QStringLiteral("Name"), QStringLiteral("Zoe"));
    ASSERT_TRUE(ann->person->compositeName().contains(QStringLiteral("Zoe")));
    EXPECT_EQ(window->windowTitle(), mainTitle);

    ContactInfoPopover *content = tearOff();
    ASSERT_NE(content, nullptr);
    typeInto(content, QStringLiteral("Name"), QStringLiteral("Zed"));
    const QString name = ann->person->compositeName();
    ASSERT_TRUE(name.contains(QStringLiteral("Zed")));
    EXPECT_EQ(content->window()->windowTitle(), name + QStringLiteral("[*]"));
    EXPECT_EQ(window->windowTitle(), mainTitle);
}

// The grid hands the views a row of its own, made anew by the refresh after the edit.
TEST_F(ContactPopoverInWindowTest, TheGroupsRowKeepsItsGroupsAfterAnEdit)
{
    const QString groups = view()->groupNamesOfContact(annRow()).join(QStringLiteral(", "));
    ASSERT_FALSE(groups.isEmpty());
    ContactInfoPopover *popover = attached();
    ASSERT_NE(popover, nullptr);
    EXPECT_EQ(groupsText(popover), groups);
    typeInto(popover, QStringLiteral("Company"), QStringLiteral("Acme"));
    ASSERT_EQ(company(), QStringLiteral("Acme"));
    EXPECT_EQ(groupsText(popover), groups);

    ContactInfoPopover *content = tearOff();
    ASSERT_NE(content, nullptr);
    typeInto(content, QStringLiteral("Note"), QStringLiteral("tea"));
    ASSERT_EQ(annRow()->person->stringValueForIdentifier(QStringLiteral("Note")), QStringLiteral("tea"));
    EXPECT_EQ(groupsText(content), groups);
}

} // namespace
