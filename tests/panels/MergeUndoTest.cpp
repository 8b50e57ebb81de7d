#include "MergeFixture.h"

#include <QImage>
#include <QLineEdit>
#include <QPushButton>

namespace {

using MergeUndoTest = MergeFixture;

TEST_F(MergeUndoTest, TheSameTextRegistersNothing)
{
    open({contact("Ann"), contact("Bob")});
    EXPECT_FALSE(layer().undoReplaceValue("Acme", "Company", left()));
    EXPECT_FALSE(sheet->undoManager().canUndo());
    // A string is no list.
    EXPECT_FALSE(layer().undoReplaceValue("999", "Phone", left()));
    EXPECT_FALSE(sheet->undoManager().canUndo());
}

TEST_F(MergeUndoTest, UndoOfADeleteRestoresTheOrder)
{
    const ContactRowPtr ann = contact("Ann");
    setList(ann, "Email", {"a@x", "b@x", "c@x"});
    open({ann, contact("Bob")});
    const int second = firstRowOf(sheet->tableLeft(), "Email") + 1;
    sheet->tableLeft()->selectRows({second});

    layer().undoDeleteLabeledValueForIdentifier("Email", 1, left());
    EXPECT_EQ(left()->person->labeledValueForIdentifier("Email").size(), 2);
    EXPECT_EQ(sheet->tableLeft()->selectedRows(), QList<int>{second - 1});
    nextEvent();
    sheet->undoManager().undo();

    QStringList values;
    for (const QVariant &entry : left()->person->labeledValueForIdentifier("Email"))
        values.append(entry.toMap().value("value").toString());
    EXPECT_EQ(values, QStringList({"a@x", "b@x", "c@x"}));
    // A label index no entry carries deletes nothing and registers nothing.
    layer().undoDeleteLabeledValueForIdentifier("Email", 7, left());
    EXPECT_TRUE(sheet->undoManager().canRedo());
}

TEST_F(MergeUndoTest, TwoChangesTwoUndosAndOneRedoLeaveDoneEnabled)
{
    open({contact("Ann"), contact("Bob")});
    layer().undoReplaceValue("Globex", "Company", left());
    nextEvent();
    layer().undoReplaceValue("Initech", "Company", right());
    nextEvent();
    sheet->undoManager().undo();
    sheet->undoManager().undo();
    EXPECT_FALSE(sheet->doneButton()->isEnabled());
    sheet->undoManager().redo();
    EXPECT_TRUE(sheet->doneButton()->isEnabled());
    EXPECT_EQ(left()->person->stringValueForIdentifier("Company"), "Globex");
    EXPECT_EQ(right()->person->stringValueForIdentifier("Company"), "Acme");
}

TEST_F(MergeUndoTest, TheMainWindowsUndoLeavesTheSheetAlone)
{
    UndoManager mainWindow;
    const ContactRowPtr ann = contact("Ann");
    mainWindow.registerUndo([ann] { ann->person->setValue(QStringLiteral("Undone"), "Company"); });
    mainWindow.closeAutomaticGroup();
    open({ann, contact("Bob")});
    layer().undoReplaceValue("Globex", "Company", left());

    mainWindow.undo();
    EXPECT_EQ(left()->person->stringValueForIdentifier("Company"), "Globex");
    EXPECT_TRUE(sheet->doneButton()->isEnabled());
    EXPECT_TRUE(sheet->undoManager().canUndo());
}

TEST_F(MergeUndoTest, PhotoBirthdayAndNameSteps)
{
    open({contact("Ann"), contact("Bob")});
    // Removing an absent photo or birthday still counts as a step; a picture that is already
    // there does not.
    EXPECT_TRUE(layer().undoReplacePhoto(QVariant(), left()));
    EXPECT_TRUE(layer().undoReplaceBirthday(QVariant(), left()));
    QImage red(8, 8, QImage::Format_ARGB32);
    red.fill(Qt::red);
    EXPECT_TRUE(layer().undoReplacePhoto(red, left()));
    EXPECT_FALSE(layer().undoReplacePhoto(left()->person->photo(), left()));
    EXPECT_FALSE(layer().undoReplaceBirthday(QStringLiteral("1980"), left()));
    EXPECT_FALSE(layer().undoReplacePhoneticNameValue(7, left()));
    nextEvent();
    sheet->undoManager().undo();
    EXPECT_TRUE(left()->person->photo().isNull());

    const QVariantMap birthday{{"value", QVariantMap{{"year", 1980}, {"month", 5}, {"day", 17}}}};
    EXPECT_TRUE(layer().undoReplaceBirthday(birthday, right()));
    EXPECT_FALSE(layer().undoReplaceBirthday(birthday, right()));
    QVariantMap name = right()->person->nameValue();
    name.insert("FirstName", "Robert");
    EXPECT_TRUE(layer().undoReplaceNameValue(name, right()));
    EXPECT_EQ(sheet->nameFieldRight()->text(), "Robert Lee");
}

} // namespace
