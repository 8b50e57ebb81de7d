#include "MergeFixture.h"
#include "MergeGestures.h"

#include "ui/widgets/LabelPopup.h"
#include "ui/widgets/SeparatorBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

class MergeSheetTest : public MergeFixture
{
protected:
    void expectEditing(bool editing) const
    {
        EXPECT_EQ(sheet->editButton()->text(), editing ? "Lock" : "Edit");
        EXPECT_EQ(sheet->editButton()->isChecked(), editing);
        EXPECT_EQ(sheet->doneButton()->text(), editing ? "Change" : "Done");
        EXPECT_EQ(sheet->cancelButton()->isHidden(), !editing);
        EXPECT_EQ(sheet->redSeparator()->fillColor(), editing ? QColor(Qt::red) : QColor(Qt::gray));
    }

    // Starts an edit in place of the first row of that kind on the left.
    QLineEdit *editLeft(const QString &type)
    {
        const int row = firstRowOf(sheet->tableLeft(), type);
        sheet->tableViewDoubleAction(sheet->tableLeft(), row, 1, Qt::NoModifier);
        return sheet->tableLeft()->textEditor();
    }
};

// The grid and the pane read the same label tables: the sheet leaves them alone, so an unlabelled
// value still reads as the placeholder in the shown language.
TEST_F(MergeSheetTest, OpeningTheSheetLeavesTheSharedLabelTablesAlone)
{
    Localizer::shared().setPreferredLanguages({QStringLiteral("ja")});
    const ContactRowPtr ann = contact("Ann");
    ann->person->setValue(QVariantList{QVariantMap{{"label", PersonKey::NoLabel}, {"value", "111"}}}, "Phone");
    const QNPerson::LabelTable before = QNPerson::customLabelTableDict();
    open({ann, contact("Bob")});
    sheet->cancelButton()->click();
    EXPECT_EQ(QNPerson::customLabelTableDict(), before);
    EXPECT_EQ(LabelPopup("Phone", PersonKey::NoLabel, true).title(), "ラベルなし");
    Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
}

TEST_F(MergeSheetTest, ButtonsAndSeparatorShowTheEditState)
{
    open({contact("Ann"), contact("Bob")}, true);
    expectEditing(true);
    EXPECT_EQ(sheet->redSeparator()->borderWidth(), 2.0);
    EXPECT_FALSE(sheet->doneButton()->isEnabled());

    sheet->editButton()->click();
    expectEditing(false);
    EXPECT_TRUE(sheet->doneButton()->isEnabled());
    // Locked, nothing is edited in place.
    EXPECT_EQ(editLeft("Company"), nullptr);

    sheet->doneButton()->click();
    EXPECT_EQ(returnCode, 0);
    EXPECT_FALSE(context->newContacts);
}

TEST_F(MergeSheetTest, LockIsRefusedWhileTheCopiesHoldChanges)
{
    open({contact("Ann"), contact("Bob")}, true);
    ASSERT_TRUE(layer().undoReplaceValue("Globex", "Company", left()));
    EXPECT_TRUE(sheet->doneButton()->isEnabled());
    sheet->editButton()->click();
    expectEditing(true);

    nextEvent();
    sheet->undoManager().undo();
    EXPECT_FALSE(sheet->doneButton()->isEnabled());
    sheet->editButton()->click();
    expectEditing(false);
}

TEST_F(MergeSheetTest, DoneCommitsATextBeingEditedFirst)
{
    const ContactRowPtr ann = contact("Ann");
    open({ann, contact("Bob")}, true);
    QLineEdit *editor = editLeft("Company");
    ASSERT_TRUE(editor);
    editor->setText("Globex");
    sheet->doneButton()->click();

    EXPECT_EQ(returnCode, 1);
    ASSERT_TRUE(context->newContacts);
    EXPECT_EQ(context->newContacts->at(0)->person->stringValueForIdentifier("Company"), "Globex");
    EXPECT_EQ(ann->person->stringValueForIdentifier("Company"), "Acme");
}

TEST_F(MergeSheetTest, AnEditInPlaceOfANamePartIsOneStep)
{
    open({contact("Ann"), contact("Bob")}, true);
    QLineEdit *editor = editLeft("Name");
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->text(), "Ann");
    editor->setText("Anne");
    // Return ends the edit, not the sheet, and moves it on to the middle name.
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(sheet->isSheetOpen());
    EXPECT_EQ(left()->person->nameValue().value("FirstName"), "Anne");
    EXPECT_EQ(sheet->nameFieldLeft()->text(), "Anne Lee");
    ASSERT_TRUE(sheet->tableLeft()->isEditingText());
    EXPECT_EQ(sheet->tableLeft()->selectedRows(), QList<int>{firstRowOf(sheet->tableLeft(), "Name") + 1});
    sheet->tableLeft()->commitTextEdit();

    // The same text again writes nothing.
    nextEvent();
    editor = editLeft("Name");
    emit editor->editingFinished();
    nextEvent();
    sheet->undoManager().undo();
    EXPECT_EQ(left()->person->nameValue().value("FirstName"), "Ann");
    EXPECT_FALSE(sheet->undoManager().canUndo());
}

TEST_F(MergeSheetTest, TheNameDisplayPopupTurnsAPersonIntoACompany)
{
    open({contact("Ann"), contact("Bob")}, true);
    const int row = firstRowOf(sheet->tableRight(), "Name Display");
    auto *popup = qobject_cast<QComboBox *>(sheet->tableRight()->cellView(row, 1));
    ASSERT_TRUE(popup && popup->isEnabled());
    emit popup->activated(1);
    EXPECT_FALSE(right()->person->nameValue().value("showAsPerson").toBool());
    EXPECT_TRUE(sheet->doneButton()->isEnabled());
}

TEST_F(MergeSheetTest, CancelEndsWithNothingChanged)
{
    const ContactRowPtr ann = contact("Ann");
    setList(ann, "Phone", {"111"});
    open({ann, contact("Bob")}, true);
    layer().undoReplaceValue("Globex", "Company", left());
    layer().undoDeleteLabeledValueForIdentifier("Phone", 0, left());
    EXPECT_EQ(ann->person->stringValueForIdentifier("Company"), "Acme");
    EXPECT_EQ(ann->person->labeledValueForIdentifier("Phone").size(), 1);

    sheet->cancelButton()->click();
    EXPECT_EQ(returnCode, 0);
    EXPECT_FALSE(context->newContacts);
    EXPECT_FALSE(sheet->isSheetOpen());
}

// Whether Done hands the copies back is read from the copies, not from a count of steps that any
// undo lowers.
TEST_F(MergeSheetTest, DoneKeepsChangesThatAnUnrelatedUndoLeftInPlace)
{
    open({contact("Ann"), contact("Bob")}, true);
    ASSERT_TRUE(layer().undoReplaceValue("Globex", "Company", left()));
    nextEvent();
    // A step that changes nothing, then its undo.
    sheet->undoManager().registerUndo([] {});
    nextEvent();
    sheet->undoManager().undo();
    EXPECT_TRUE(sheet->doneButton()->isEnabled());

    sheet->doneButton()->click();
    EXPECT_EQ(returnCode, 1);
    ASSERT_TRUE(context->newContacts);
}

TEST_F(MergeSheetTest, AnEditTakenBackByHandIsNoChange)
{
    open({contact("Ann"), contact("Bob")}, true);
    layer().undoReplaceValue("Globex", "Company", right());
    nextEvent();
    layer().undoReplaceValue("Acme", "Company", right());
    EXPECT_FALSE(sheet->doneButton()->isEnabled());
    sheet->editButton()->click();
    sheet->doneButton()->click();
    EXPECT_EQ(returnCode, 0);
}

// Escape in the text being edited gives that edit up; the sheet and its changes stay.
TEST_F(MergeSheetTest, EscapeGivesUpTheEditInPlaceOnly)
{
    open({contact("Ann"), contact("Bob")}, true);
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    MergeTable *table = sheet->tableLeft();
    layer().undoReplaceValue("Globex", "Company", left());
    nextEvent();

    MergeGestures::doubleClick(table, firstRowOf(table, "Name"));
    ASSERT_TRUE(table->isEditingText());
    ASSERT_EQ(QApplication::focusWidget(), table->textEditor());
    QTest::keyClicks(QApplication::focusWidget(), "Anne");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);

    EXPECT_TRUE(sheet->isSheetOpen());
    EXPECT_FALSE(returnCode);
    EXPECT_FALSE(table->isEditingText());
    EXPECT_EQ(QApplication::focusWidget(), table->tableView());
    EXPECT_EQ(left()->person->nameValue().value("FirstName"), "Ann");
    EXPECT_EQ(left()->person->stringValueForIdentifier("Company"), "Globex");
    EXPECT_TRUE(sheet->doneButton()->isEnabled());
    // Nothing was written for the edit given up.
    sheet->undoManager().undo();
    EXPECT_FALSE(sheet->undoManager().canUndo());
}

} // namespace
