#include "EditorHarness.h"

#include "editors/DateControls.h"
#include "editors/DateViewController.h"
#include "editors/DatesViewController.h"
#include "editors/NameViewController.h"
#include "editors/PhoneticNameViewController.h"
#include "ui/widgets/SeparatorBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// A contact that every editor has something to show of.
QNPersonPtr sampleContact()
{
    auto person = std::make_shared<QNPerson>();
    person->setValue(QVariantMap{{"FirstName", "Ada"}, {"LastName", "Lovelace"}}, "Name");
    person->setValue(QVariantMap{{"value", QVariantMap{{"year", 1815}, {"month", 12}, {"day", 10}}}},
                     "Birthday");
    person->setValue(
        QVariantList{QVariantMap{{"label", "anniversary"},
                                 {"value", QVariantMap{{"year", 1835}, {"month", 7}, {"day", 8}}}}},
        "Dates");
    person->setChanged(false);
    return person;
}

struct NameEditor
{
    using Editor = NameViewController;
    static constexpr const char *type = "Name";
    static void change(Editor *editor) { QTest::keyClicks(editor->firstNameField(), "x"); }
};
struct PhoneticEditor
{
    using Editor = PhoneticNameViewController;
    static constexpr const char *type = "Phonetic Name";
    static void change(Editor *editor) { QTest::keyClicks(editor->lastNameField(), "x"); }
};
struct BirthdayEditor
{
    using Editor = DateViewController;
    static constexpr const char *type = "Birthday";
    static void change(Editor *editor) { choose(editor->dateControls()->monthPopup(), 2); }
};
struct DatesEditor
{
    using Editor = DatesViewController;
    static constexpr const char *type = "Dates";
    static void change(Editor *editor) { choose(editor->dateControls()->monthPopup(), 2); }
};

template <typename Kind> class EditorLockStateTest : public EditorHarness
{
protected:
    typename Kind::Editor *open(bool editable, bool editEnabled = true)
    {
        return EditorHarness::open<typename Kind::Editor>(sampleContact(), Kind::type, editable, editEnabled);
    }
};

using EditorKinds = ::testing::Types<NameEditor, PhoneticEditor, BirthdayEditor, DatesEditor>;
TYPED_TEST_SUITE(EditorLockStateTest, EditorKinds);

TYPED_TEST(EditorLockStateTest, UnlockedDoneWaitsForTheFirstChange)
{
    auto *editor = this->open(true);
    EXPECT_TRUE(editor->editButton()->isChecked());
    EXPECT_EQ(editor->editButton()->text(), "Lock");
    EXPECT_EQ(editor->doneButton()->text(), "Change");
    EXPECT_FALSE(editor->doneButton()->isEnabled());
    EXPECT_FALSE(editor->cancelButton()->isHidden());
    EXPECT_EQ(editor->redSeparator()->borderColor(), QColor(Qt::red));
    EXPECT_EQ(editor->redSeparator()->borderWidth(), 2.0);

    TypeParam::change(editor);
    EXPECT_TRUE(editor->doneButton()->isEnabled());
}

TYPED_TEST(EditorLockStateTest, DoneAfterLockingAgainOnlyCloses)
{
    auto *editor = this->open(true);
    TypeParam::change(editor);
    editor->editButton()->click();
    EXPECT_EQ(editor->editButton()->text(), "Edit");
    EXPECT_EQ(editor->doneButton()->text(), "Done");
    EXPECT_TRUE(editor->doneButton()->isEnabled());
    EXPECT_TRUE(editor->cancelButton()->isHidden());
    EXPECT_EQ(editor->redSeparator()->fillColor(), QColor(Qt::gray));

    editor->doneButton()->click();
    EXPECT_TRUE(this->closedWithoutResult());
}

TYPED_TEST(EditorLockStateTest, CancelAndAClickOutsideWriteNothing)
{
    auto *editor = this->open(true);
    TypeParam::change(editor);
    editor->cancelButton()->click();
    EXPECT_TRUE(this->closedWithoutResult());

    editor = this->open(true);
    TypeParam::change(editor);
    QTest::mouseClick(this->m_anchor.windowHandle(), Qt::LeftButton, {}, QPoint(395, 5));
    EXPECT_TRUE(this->closedWithoutResult());
}

TYPED_TEST(EditorLockStateTest, WithoutEditEnabledItCannotBeUnlocked)
{
    auto *editor = this->open(true, false);
    EXPECT_FALSE(editor->isEditable());
    EXPECT_FALSE(editor->editButton()->isEnabled());
    editor->editButton()->setChecked(true);
    EXPECT_FALSE(editor->isEditable());
    EXPECT_FALSE(editor->editButton()->isChecked());
    TypeParam::change(editor);
    editor->doneButton()->click();
    EXPECT_TRUE(this->closedWithoutResult());
}

TYPED_TEST(EditorLockStateTest, TheHeaderNamesTheContact)
{
    auto *editor = this->open(false);
    EXPECT_EQ(editor->contactNameField()->text(), "Ada Lovelace");
    EXPECT_TRUE(editor->contactNameField()->isReadOnly());
    EXPECT_FALSE(editor->imageView()->pixmap().isNull());

    editor = EditorHarness::open<typename TypeParam::Editor>(std::make_shared<QNPerson>(), TypeParam::type);
    EXPECT_EQ(editor->contactNameField()->text(), "No name");
}

} // namespace
