#include "MergeFixture.h"
#include "MergeGestures.h"

#include "editors/MultiValueViewController.h"
#include "editors/ValueEditors.h"
#include "panels/MergeEditing.h"
#include "platform/widgets/Popover.h"
#include "ui/widgets/DetailPopupAndTextCell.h"

#include <QComboBox>
#include <QHash>
#include <QPointer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// Makes plain widgets and records what the sheet asks for; the test closes the editor by hand.
class RecordingFactory : public ValueEditorFactory
{
public:
    struct Request
    {
        Kind kind;
        EditorContextPtr context;
        bool editable;
    };

    QWidget *makeEditor(Kind kind, Popover *, const QFont &) override
    {
        requests.append({kind, nullptr, false});
        return new QWidget;
    }
    void setContextInfo(QWidget *editor, const EditorContextPtr &context, bool editable) override
    {
        requests.last().context = context;
        requests.last().editable = editable;
        contexts.insert(editor, context);
    }
    EditorContextPtr contextInfo(QWidget *editor) const override { return contexts.value(editor); }

    QList<Request> requests;
    QHash<QWidget *, EditorContextPtr> contexts;
};

class MergeEditingTest : public MergeFixture
{
protected:
    void openWithFactory(const QList<ContactRowPtr> &contacts, bool editable = true)
    {
        open(contacts, editable);
        sheet->setValueEditorFactory(&factory);
    }

    const RecordingFactory::Request &last() const { return factory.requests.last(); }

    // The open editor ends: with Done and that value, or without a result.
    void finish(const std::optional<QVariant> &value)
    {
        if (value) {
            last().context->value = *value;
            last().context->dirty = true;
        }
        ASSERT_TRUE(sheet->popover());
        sheet->popover()->close();
    }

    void doubleClick(MergeTable *table, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int column = 1)
    {
        sheet->tableViewDoubleAction(table, row, column, modifiers);
    }

    static QStringList values(const ContactRowPtr &row, const QString &identifier)
    {
        QStringList list;
        for (const QVariant &entry : row->person->labeledValueForIdentifier(identifier))
            list.append(entry.toMap().value("value").toString());
        return list;
    }

    RecordingFactory factory;
};

TEST_F(MergeEditingTest, DoubleClickOpensTheKindsEditor)
{
    const ContactRowPtr ann = contact("Ann");
    ann->person->setValue(QVariantList{QVariantMap{{"label", "home"}, {"Street", "1 Main St"}}}, "Address");
    setList(ann, "Email", {"ann@example.com"});
    openWithFactory({ann, contact("Bob")});
    MergeTable *left = sheet->tableLeft();
    MergeTable *right = sheet->tableRight();

    // A filler phone: the list editor of all phones.
    doubleClick(right, firstRowOf(right, "Phone"));
    ASSERT_EQ(factory.requests.size(), 1);
    EXPECT_EQ(last().kind, ValueEditorFactory::Kind::List);
    EXPECT_EQ(last().context->type, "Phone");
    EXPECT_TRUE(last().context->editEnabled);
    ASSERT_TRUE(sheet->popover() && sheet->popover()->isShown());
    EXPECT_EQ(sheet->popover()->contentSize(), QSize(360, 260));
    EXPECT_EQ(last().context->contact, sheet->contactRight());

    // Locked: an address opens read-only in its own editor, an empty one opens nothing.
    sheet->editButton()->click();
    doubleClick(left, firstRowOf(left, "Address"));
    ASSERT_EQ(factory.requests.size(), 2);
    EXPECT_EQ(last().kind, ValueEditorFactory::Kind::Address);
    EXPECT_FALSE(last().editable);
    EXPECT_EQ(sheet->popover()->contentSize(), QSize(340, 460));
    EXPECT_EQ(last().context->labelIndex, 0);
    doubleClick(right, firstRowOf(right, "Address"));
    EXPECT_EQ(factory.requests.size(), 2);

    // Ctrl: the list editor of the e-mail addresses, read-only while locked, in either column.
    doubleClick(left, firstRowOf(left, "Email"), Qt::ControlModifier, 0);
    ASSERT_EQ(factory.requests.size(), 3);
    EXPECT_EQ(last().kind, ValueEditorFactory::Kind::List);
    EXPECT_EQ(last().context->type, "Email");
    EXPECT_FALSE(last().editable);
    // Without it the label column does nothing.
    doubleClick(left, firstRowOf(left, "Email"), Qt::NoModifier, 0);
    EXPECT_EQ(factory.requests.size(), 3);
}

TEST_F(MergeEditingTest, EditorResultsAreAppliedAndCounted)
{
    const ContactRowPtr ann = contact("Ann");
    setList(ann, "Phone", {"111"});
    ann->person->setBirthdayValue(QVariantMap{{"value", QVariantMap{{"year", 1990}, {"month", 4}, {"day", 2}}}});
    openWithFactory({ann, contact("Bob")});
    MergeTable *left = sheet->tableLeft();

    doubleClick(left, firstRowOf(left, "Phone") + 0, Qt::ControlModifier);
    finish(QVariantList{QVariantMap{{"label", "work"}, {"value", "555"}, {"labelIndex", 0}}});
    EXPECT_EQ(values(sheet->contactLeft(), "Phone"), QStringList{"555"});
    EXPECT_TRUE(sheet->doneButton()->isEnabled());
    nextEvent();

    // A new address (-1) is added to the list.
    doubleClick(left, firstRowOf(left, "Address"));
    ASSERT_EQ(last().kind, ValueEditorFactory::Kind::List);
    sheet->popoverDidClose(nullptr);
    auto added = std::make_shared<EditorContext>();
    added->contact = sheet->contactLeft();
    added->type = "Address";
    added->dirty = true;
    added->value = QVariantMap{{"label", "home"}, {"Street", "2 Elm"}, {"labelIndex", -1}};
    sheet->popoverDidClose(added);
    EXPECT_EQ(sheet->contactLeft()->person->labeledValueForIdentifier("Address").size(), 1);
    nextEvent();

    // A cleared birthday clears; Cancel changes nothing.
    doubleClick(left, firstRowOf(left, "Birthday"));
    ASSERT_EQ(last().kind, ValueEditorFactory::Kind::Birthday);
    last().context->dirty = false;
    finish(std::nullopt);
    EXPECT_TRUE(sheet->contactLeft()->person->birthdayValue());
    doubleClick(left, firstRowOf(left, "Birthday"));
    finish(QVariantMap{{"stringValue", ""}});
    EXPECT_FALSE(sheet->contactLeft()->person->birthdayValue()->contains("value"));
}

TEST_F(MergeEditingTest, AnInlinePhoneEditReplacesThatEntry)
{
    const ContactRowPtr ann = contact("Ann");
    setList(ann, "Phone", {"111", "222", "333"});
    openWithFactory({ann, contact("Bob")});
    MergeTable *left = sheet->tableLeft();
    const int phone = firstRowOf(left, "Phone");
    layer().undoDeleteLabeledValueForIdentifier("Phone", 0, sheet->contactLeft());
    nextEvent();

    doubleClick(left, phone);
    ASSERT_TRUE(left->isEditingText());
    EXPECT_EQ(left->textEditor()->text(), "222");
    left->textEditor()->setText("444");
    left->commitTextEdit();
    EXPECT_EQ(values(sheet->contactLeft(), "Phone"), QStringList({"444", "333"}));
    EXPECT_TRUE(factory.requests.isEmpty());
}

// The sheet's cell editor holds a value of any length: Return without typing writes nothing, and
// what is typed at its end is added to the whole value.
TEST_F(MergeEditingTest, ALongValueSurvivesTheCellEditorWhole)
{
    const ContactRowPtr ann = contact("Ann");
    const QString note = "Minutes " + QString(40000, 'x');
    ann->person->setValue(note, "Note");
    openWithFactory({ann, contact("Bob")});
    MergeTable *left = sheet->tableLeft();
    const auto confirm = [&](const QString &typed) {
        const int row = firstRowOf(left, "Note");
        const QPoint cell = MergeGestures::cellCentre(left, row, 1);
        QTest::mouseClick(left->tableView()->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(left->tableView()->viewport(), Qt::LeftButton, {}, cell);
        ASSERT_TRUE(left->isEditingText());
        QTest::keyClick(left->textEditor(), Qt::Key_End);
        QTest::keyClicks(left->textEditor(), typed);
        QTest::keyClick(left->textEditor(), Qt::Key_Return);
        left->cancelTextEdit();
    };

    confirm(QString());
    EXPECT_TRUE(sheet->contactLeft()->person->stringValueForIdentifier("Note") == note);
    EXPECT_FALSE(sheet->undoManager().canUndo());

    confirm(" (signed)");
    EXPECT_TRUE(sheet->contactLeft()->person->stringValueForIdentifier("Note") == note + " (signed)");
}

TEST_F(MergeEditingTest, TabWrapsToTheFirstNameRow)
{
    openWithFactory({contact("Ann"), contact("Bob")});
    MergeTable *left = sheet->tableLeft();
    // Note is the last row that takes an edit in place.
    doubleClick(left, firstRowOf(left, "Note"));
    ASSERT_TRUE(left->isEditingText());
    QTest::keyClick(left->textEditor(), Qt::Key_Tab);
    ASSERT_TRUE(left->isEditingText());
    EXPECT_EQ(left->selectedRows(), QList<int>{firstRowOf(left, "Name")});
    EXPECT_EQ(left->textEditor()->text(), "Ann");
    left->commitTextEdit();
}

TEST_F(MergeEditingTest, ALabelChosenInThePopupIsWritten)
{
    const ContactRowPtr ann = contact("Ann");
    setList(ann, "Phone", {"111"});
    openWithFactory({ann, contact("Bob")});
    MergeTable *left = sheet->tableLeft();
    const int phone = firstRowOf(left, "Phone");
    auto *cell = qobject_cast<DetailPopupAndTextCell *>(left->cellView(phone, 1));
    ASSERT_TRUE(cell);
    const QStringList labels = QNPerson::labelsForIdentifier("Phone").value_or(QStringList());
    const int mobile = int(labels.indexOf("mobile"));
    ASSERT_GE(mobile, 0);
    emit cell->labelPopup()->activated(mobile);
    EXPECT_EQ(sheet->contactLeft()->person->labeledValueForIdentifier("Phone").at(0).toMap().value("label"),
              "mobile");
    EXPECT_TRUE(sheet->doneButton()->isEnabled());
}

// The real editors: the list editor's Done writes the list, and a sheet that goes while its
// editor is open is not called back.
TEST_F(MergeEditingTest, TheListEditorsDoneReachesTheCopy)
{
    const ContactRowPtr ann = contact("Ann");
    setList(ann, "Phone", {"111"});
    ValueEditors editors;
    open({ann, contact("Bob")});
    sheet->setValueEditorFactory(&editors);
    MergeTable *left = sheet->tableLeft();
    doubleClick(left, firstRowOf(left, "Phone"), Qt::ControlModifier);
    ASSERT_TRUE(sheet->popover());
    auto *editor = qobject_cast<MultiValueViewController *>(sheet->popover()->contentWidget());
    ASSERT_TRUE(editor && editor->isEditable());
    editor->addPressed();
    editor->doneButton()->click();
    EXPECT_EQ(sheet->contactLeft()->person->labeledValueForIdentifier("Phone").size(), 2);
    EXPECT_EQ(ann->person->labeledValueForIdentifier("Phone").size(), 1);
    EXPECT_TRUE(sheet->doneButton()->isEnabled());

    doubleClick(left, firstRowOf(left, "Phone"), Qt::ControlModifier);
    const QPointer<Popover> popover = sheet->popover();
    ASSERT_TRUE(popover);
    sheet.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(popover);
}

struct ClickCase
{
    MergeEditing::Click click;
    MergeEditing::Action action;
};

class MergeDoubleClickRules : public ::testing::TestWithParam<ClickCase>
{
};

TEST_P(MergeDoubleClickRules, ChooseTheAction)
{
    EXPECT_EQ(MergeEditing::doubleClickAction(GetParam().click), GetParam().action);
}

using MergeEditing::Action;
const QString Labeled = QStringLiteral("Labeled Value");
const QString Text = QStringLiteral("String Value");

INSTANTIATE_TEST_SUITE_P(
    Rows, MergeDoubleClickRules,
    ::testing::Values(
        ClickCase{{"Address", Labeled, true, false, true, ""}, Action::open(ValueEditorFactory::Kind::List)},
        ClickCase{{"Instant Message", Labeled, true, false, true, "x"}, Action::open(ValueEditorFactory::Kind::InstantMessage)},
        ClickCase{{"Social Network", Labeled, true, false, false, "x"}, Action::open(ValueEditorFactory::Kind::SocialProfile)},
        ClickCase{{"Dates", Labeled, true, false, false, ""}, Action{}},
        ClickCase{{"Dates", Labeled, false, true, false, ""}, Action::open(ValueEditorFactory::Kind::Dates)},
        ClickCase{{"Birthday", "Dictionary Value", true, false, true, ""}, Action::open(ValueEditorFactory::Kind::Birthday)},
        ClickCase{{"Phone", Labeled, true, false, true, "1"}, Action::inlineEdit()},
        ClickCase{{"Phone", Labeled, true, false, false, "1"}, Action{}},
        ClickCase{{"Company", Text, true, false, true, ""}, Action::inlineEdit()},
        ClickCase{{"Photo", "", true, false, true, ""}, Action{}}));

} // namespace
