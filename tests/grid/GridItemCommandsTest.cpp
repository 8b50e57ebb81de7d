#include "GridCommandsFixture.h"

#include "grid/GridItemCommands.h"
#include "grid/GridMenus.h"
#include "grid/ReplaceAlertPanel.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

using Mode = ReplaceAlertPanel::Mode;

class GridItemCommandsTest : public GridCommandsFixture
{
protected:
    GridItemCommands &items() const { return commands().itemCommands(); }

    // Opens the sheet for the clicked cell and confirms it with the text (and label).
    void confirmSheet(Mode mode, const QString &text, const QString &label = QString())
    {
        items().replaceItem(mode);
        ReplaceAlertPanel *panel = items().replaceAlertPanel();
        ASSERT_NE(panel, nullptr);
        if (!label.isNull()) {
            const int index = panel->labelPopup()->findData(label);
            ASSERT_GE(index, 0);
            panel->labelPopup()->setCurrentIndex(index);
        }
        panel->replaceTextField()->setText(text);
        panel->okButton()->click();
        settle();
    }
};

TEST_F(GridItemCommandsTest, DeleteInAnAddressPartRemovesTheWholeAddressOfEveryTargetRow)
{
    showColumns({"Name", "City"});
    const ContactRowPtr ann = add(person("Ann"));
    const ContactRowPtr bob = add(person("Bob"));
    const ContactRowPtr cat = add(person("Cat"));
    setAddress(ann->person, "Kyoto", "1 Main");
    setAddress(bob->person, "Osaka", "2 Main");
    setAddress(cat->person, "Nara", "3 Main");
    showGrid();
    selectRows({rowOf(ann), rowOf(bob)});
    rightClick(rowOf(bob), "City");
    items().deleteItem();
    settle();

    ASSERT_EQ(Alert::shownAlerts().size(), 1);
    EXPECT_EQ(Alert::lastShown().messageText,
              "Do you want to delete the item(label and text) in the selected cells in column:City ?");
    EXPECT_TRUE(ann->person->labeledValueForIdentifier("Address").isEmpty());
    EXPECT_TRUE(bob->person->labeledValueForIdentifier("Address").isEmpty());
    EXPECT_EQ(texts(cat, "Address").size(), 1);
    EXPECT_TRUE(m_view->isDocumentEdited());
    EXPECT_EQ(table()->selectedRowIndexes(), (QList<int>{rowOf(ann), rowOf(bob)}));

    undoManager().undo();
    EXPECT_EQ(ann->person->labeledValueForIdentifierAtIndex("Address", 0)->value("City"), "Kyoto");
    EXPECT_EQ(bob->person->labeledValueForIdentifierAtIndex("Address", 0)->value("City"), "Osaka");
}

// Each deletion reloads and re-sorts the rows; the entries were chosen before the first.
TEST_F(GridItemCommandsTest, ThreePhonesOfOneContactGoInOneUndoStepUnderAnySort)
{
    for (const bool ascending : {true, false}) {
        SCOPED_TRACE(ascending);
        m_table->clear();
        showColumns({"Name", "Phone"});
        const ContactRowPtr ann = addWithPhones("Ann", {{"work", "30"}, {"home", "10"}, {"other", "20"}});
        const ContactRowPtr bob = addWithPhones("Bob", {{"work", "15"}});
        sortBy("Phone", ascending);
        showGrid();
        const QList<int> annRows = rowsOf(ann);
        ASSERT_EQ(annRows.size(), 3);
        selectRows(annRows);
        rightClick(annRows.at(1), "Phone");
        items().deleteItem();
        settle();
        EXPECT_TRUE(texts(ann, "Phone").isEmpty());
        EXPECT_EQ(texts(bob, "Phone"), QStringList{"15"});
        undoManager().undo();
        EXPECT_EQ(texts(ann, "Phone"), (QStringList{"30", "10", "20"}));
        EXPECT_FALSE(undoManager().canUndo());
    }
}

TEST_F(GridItemCommandsTest, CancelledDeleteChangesNothing)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"work", "30"}});
    showGrid();
    rightClick(0, "Phone");
    Alert::setNextAnswer(Alert::SecondButton);
    items().deleteItem();
    settle();
    EXPECT_EQ(texts(ann, "Phone"), QStringList{"30"});
    EXPECT_FALSE(undoManager().canUndo());
    EXPECT_FALSE(m_view->isDocumentEdited());
}

TEST_F(GridItemCommandsTest, ReplaceTextKeepsLabelsAndReplaceLabelAndTextSetsThem)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"home", "10"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"mobile", "20"}});
    showGrid();
    selectRows({0, 1});
    rightClick(0, "Phone");
    items().replaceItem(Mode::ReplaceText);
    // The sheet shows the clicked value's text, the label popup disabled.
    EXPECT_EQ(items().replaceAlertPanel()->replaceTextField()->text(), "10");
    EXPECT_FALSE(items().replaceAlertPanel()->labelPopup()->isEnabled());
    items().replaceAlertPanel()->cancelButton()->click();
    settle();
    EXPECT_FALSE(undoManager().canUndo());

    // Replacing narrowed the selection to the clicked row; choose both again.
    selectRows({0, 1});
    confirmSheet(Mode::ReplaceText, "555");
    EXPECT_EQ(texts(ann, "Phone"), QStringList{"555"});
    EXPECT_EQ(texts(bob, "Phone"), QStringList{"555"});
    EXPECT_EQ(labels(ann, "Phone"), QStringList{"home"});
    EXPECT_EQ(labels(bob, "Phone"), QStringList{"mobile"});

    selectRows({0, 1});
    confirmSheet(Mode::ReplaceLabelAndText, "777", "work");
    EXPECT_EQ(labels(ann, "Phone"), QStringList{"work"});
    EXPECT_EQ(labels(bob, "Phone"), QStringList{"work"});
    EXPECT_EQ(texts(bob, "Phone"), QStringList{"777"});
}

TEST_F(GridItemCommandsTest, ReplacingWithTheSameTextLeavesThatContactAlone)
{
    showColumns({"Name", "Note"});
    const ContactRowPtr ann = add(person("Ann"));
    const ContactRowPtr bob = add(person("Bob"));
    ann->person->setValue(QStringLiteral("same"), "Note");
    bob->person->setValue(QStringLiteral("other"), "Note");
    ann->person->setChanged(false);
    bob->person->setChanged(false);
    showGrid();
    selectRows({0, 1});
    rightClick(0, "Note");
    confirmSheet(Mode::ReplaceText, "same");
    EXPECT_FALSE(ann->person->isChanged());
    EXPECT_TRUE(bob->person->isChanged());
    EXPECT_EQ(bob->person->stringValueForIdentifier("Note"), "same");
}

TEST_F(GridItemCommandsTest, PrependAndAppendAddToEveryChosenValueOnce)
{
    showColumns({"Name", "Phone", "Note"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"home", "3-1234"}, {"work", "6-5678"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"home", "90-1111"}});
    ann->person->setValue(QStringLiteral("note"), "Note");
    showGrid();
    selectRows({0, 1, 2});
    rightClick(0, "Phone");
    items().replaceItem(Mode::PrependText);
    // Prepending starts empty, its labels shown but not chosen.
    EXPECT_TRUE(items().replaceAlertPanel()->replaceTextField()->text().isEmpty());
    EXPECT_GT(items().replaceAlertPanel()->labelPopup()->count(), 0);
    EXPECT_FALSE(items().replaceAlertPanel()->labelPopup()->isEnabled());
    items().replaceAlertPanel()->replaceTextField()->setText("+81 ");
    items().replaceAlertPanel()->okButton()->click();
    settle();
    EXPECT_EQ(texts(ann, "Phone"), (QStringList{"+81 3-1234", "+81 6-5678"}));
    EXPECT_EQ(texts(bob, "Phone"), QStringList{"+81 90-1111"});
    EXPECT_EQ(labels(ann, "Phone"), (QStringList{"home", "work"}));

    // Ann's two rows show one note: it gets the text once.
    selectRows(rowsOf(ann));
    rightClick(rowOf(ann), "Note");
    items().replaceItem(Mode::AppendText);
    EXPECT_EQ(items().replaceAlertPanel()->labelPopup()->count(), 0);
    items().replaceAlertPanel()->replaceTextField()->setText("!");
    items().replaceAlertPanel()->okButton()->click();
    settle();
    EXPECT_EQ(ann->person->stringValueForIdentifier("Note"), "note!");
}

TEST_F(GridItemCommandsTest, AddItemOnPhoneAddsTheDefaultToTheClickedContactOnly)
{
    showColumns({"Name", "Phone", "Email", "Address"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"work", "10"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"work", "20"}});
    showGrid();
    selectRows({0, 1});
    rightClick(1, "Phone");
    items().insertItem();
    EXPECT_EQ(texts(ann, "Phone"), QStringList{"10"});
    EXPECT_EQ(texts(bob, "Phone"), (QStringList{"20", "123"}));
    EXPECT_EQ(labels(bob, "Phone").last(), "home");
    EXPECT_TRUE(m_view->isDocumentEdited());
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{rowOf(bob)});

    rightClick(rowOf(ann), "Email");
    items().insertItem();
    EXPECT_EQ(texts(ann, "Email"), QStringList{"new"});
    EXPECT_EQ(labels(ann, "Email"), QStringList{"new"});

    // The address editor opens for a new value, its result going to every target row.
    QList<GridEditorRequest> requests;
    QObject::connect(&commands(), &GridCommands::editorRequested,
                     [&requests](const GridEditorRequest &request) { requests.append(request); });
    selectRows({0, 1});
    rightClick(0, "Address");
    items().insertItem();
    ASSERT_EQ(requests.size(), 1);
    const GridEditorRequest request = requests.at(0);
    EXPECT_EQ(request.editor, GridEditor::Address);
    EXPECT_EQ(request.type, "Address");
    EXPECT_EQ(request.labelIndex, -1);
    EXPECT_EQ(request.targets.records(), grid()->subContactTable().mid(0, 2));
}

TEST_F(GridItemCommandsTest, ACommandFromTheCellMenuKeepsTheSelectionAndTellsOfTheChange)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"home", "10"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"work", "20"}});
    const ContactRowPtr cat = addWithPhones("Cat", {{"work", "30"}});
    showGrid();
    // The cell menu's item, as the right-click that opens the menu offers it.
    const auto runFromMenu = [this](int row, GridCommand command, const QString &text) {
        rightClick(row, "Phone");
        const QPoint at = table()->visualRect(model()->index(row, column("Phone"))).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, table()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(table()->viewport(), &event);
        QMenu *menu = commands().menus().shownMenu();
        ASSERT_NE(menu, nullptr);
        const QList<QAction *> actions = menu->actions();
        const auto item = std::find_if(actions.begin(), actions.end(), [command](const QAction *action) {
            return gridCommand(action) == command;
        });
        ASSERT_NE(item, actions.end());
        (*item)->trigger();
        menu->close();
        ReplaceAlertPanel *panel = items().replaceAlertPanel();
        ASSERT_NE(panel, nullptr);
        QTest::keyClicks(panel->replaceTextField(), text);
        panel->okButton()->click();
        settle();
    };

    const auto click = [this](int row, Qt::KeyboardModifiers modifiers) {
        const QPoint at = table()->visualRect(model()->index(row, 0)).center();
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, modifiers, at);
    };
    click(rowOf(ann), {});
    click(rowOf(bob), Qt::ControlModifier);
    const qsizetype shown = m_delegate.selections.size();
    runFromMenu(rowOf(bob), GridCommand::PrependText, "+81 ");
    EXPECT_EQ(texts(ann, "Phone"), QStringList{"+81 10"});
    EXPECT_EQ(texts(bob, "Phone"), QStringList{"+81 20"});
    EXPECT_EQ(texts(cat, "Phone"), QStringList{"30"});
    EXPECT_EQ(table()->selectedRowIndexes(), (QList<int>{rowOf(ann), rowOf(bob)}));
    // The row the detail pane shows stays; the change broadcast redraws its values.
    EXPECT_EQ(table()->selectedRow(), rowOf(bob));
    EXPECT_EQ(m_delegate.selections.size(), shown);

    // A row outside the selection is acted on alone, and becomes the selection.
    runFromMenu(rowOf(cat), GridCommand::AppendText, "-1");
    EXPECT_EQ(texts(cat, "Phone"), QStringList{"30-1"});
    EXPECT_EQ(texts(ann, "Phone"), QStringList{"+81 10"});
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{rowOf(cat)});
}

TEST_F(GridItemCommandsTest, TheSheetFollowsItsMode)
{
    ReplaceAlertPanel panel;
    panel.setLabels({"home", "work"});
    panel.setLocalizedLabels({"Home"});
    panel.setIdentifier("Phone");
    panel.setLabel("work");
    panel.setReplaceString("123");
    panel.setType(Mode::ReplaceLabelAndText);
    panel.updateUI();
    EXPECT_EQ(panel.replaceAlertMessage()->text(), "In order to replace the label and text Phone");
    EXPECT_EQ(panel.okButton()->text(), "Replace");
    EXPECT_EQ(panel.labelPopup()->itemText(0), "Home");
    EXPECT_EQ(panel.labelPopup()->itemText(1), "work");
    EXPECT_EQ(panel.labelPopup()->currentData(), "work");
    EXPECT_EQ(panel.replaceTextField()->text(), "123");

    panel.setType(Mode::AppendText);
    panel.updateUI();
    EXPECT_EQ(panel.okButton()->text(), "Append");
    EXPECT_EQ(panel.labelPopup()->count(), 0);
    EXPECT_TRUE(panel.replaceTextField()->text().isEmpty());

    // OK reads the field and a popup without items gives no label.
    bool ended = false;
    panel.beginSheetModalForWindow(nullptr, [&](int code) { ended = code == 1; });
    panel.replaceTextField()->setText("x");
    panel.okPressed();
    EXPECT_TRUE(ended);
    EXPECT_EQ(panel.replaceString(), "x");
    EXPECT_TRUE(panel.label().isNull());
}

} // namespace
