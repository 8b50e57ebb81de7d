#include "EditorHarness.h"

#include "editors/NameOrderingPopup.h"
#include "editors/NameViewController.h"
#include "editors/PhoneticNameViewController.h"
#include "platform/ContactsUserDefaults.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class NameEditorsTest : public EditorHarness
{
protected:
    void TearDown() override
    {
        ContactsUserDefaults::setSortOrderForTesting(std::nullopt);
        EditorHarness::TearDown();
    }

    static QNPersonPtr ada(int nameOrdering = 0)
    {
        auto person = std::make_shared<QNPerson>();
        person->setValue(QVariantMap{{"FirstName", "Ada"},
                                     {"LastName", "Lovelace"},
                                     {"PreviousFamilyName", "Byron"},
                                     {"nameOrdering", nameOrdering}},
                         "Name");
        person->setValue(QStringLiteral("Analytical Engines"), "Company");
        person->setChanged(false);
        return person;
    }
};

TEST_F(NameEditorsTest, CompanyDisplayShowsTheCompanyWhileTheNameStaysTheResult)
{
    auto *editor = open<NameViewController>(ada(), "Name");
    QTest::keyClicks(editor->middleNameField(), "King");
    choose(editor->showAsPersonPopup(), 1);
    EXPECT_EQ(editor->compositeNameField()->text(), "Analytical Engines");
    editor->doneButton()->click();

    ASSERT_EQ(m_context->dirty, true);
    const QVariantMap name = m_context->value.toMap();
    EXPECT_EQ(name.value("stringValue"), "Ada Lovelace");
    EXPECT_EQ(name.value("MiddleName"), "King");
    EXPECT_EQ(name.value("showAsPerson"), false);
    EXPECT_EQ(name.value("PreviousFamilyName"), "Byron");
    EXPECT_FALSE(name.contains("Company"));
    EXPECT_FALSE(m_popover->isShown());
}

// The fields hold values of any length: an edit of one name part hands the others back whole.
TEST_F(NameEditorsTest, AnEditOfOnePartKeepsLongPartsWhole)
{
    const QNPersonPtr person = ada();
    const QString last = "Lovelace" + QString(40000, 'e');
    QVariantMap name = person->nameValue();
    name.insert("LastName", last);
    name.insert("PreviousFamilyName", last);
    person->setValue(name, "Name");
    auto *editor = open<NameViewController>(person, "Name");
    QTest::keyClicks(editor->middleNameField(), "King");
    editor->doneButton()->click();

    const QVariantMap result = m_context->value.toMap();
    EXPECT_TRUE(result.value("LastName").toString() == last);
    EXPECT_TRUE(result.value("PreviousFamilyName").toString() == last);
}

TEST_F(NameEditorsTest, OnlyTheNamePartsEdit)
{
    auto *editor = open<NameViewController>(ada(), "Name");
    EXPECT_FALSE(editor->firstNameField()->isReadOnly());
    EXPECT_TRUE(editor->previousFamilyNameField()->isReadOnly());
    EXPECT_FALSE(editor->companyField()->isEnabled());
    EXPECT_TRUE(editor->showAsPersonPopup()->isEnabled());
    editor->editButton()->click();
    EXPECT_TRUE(editor->firstNameField()->isReadOnly());
    EXPECT_FALSE(editor->showAsPersonPopup()->isEnabled());
}

TEST_F(NameEditorsTest, TheOrderingIsShownNeverChanged)
{
    ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderFamilyName);
    // A name takes the store's order: only a record without one has the system's.
    auto *editor = open<NameViewController>(std::make_shared<QNPerson>(), "Name");
    NameOrderingPopup *popup = editor->nameOrderingPopup();
    EXPECT_FALSE(popup->isEnabled());
    EXPECT_EQ(popup->currentIndex(), 0);
    EXPECT_EQ(popup->itemText(0), "Name Ordering System Default (Last Name)");
    EXPECT_EQ(popup->toolTip(), "Sorry, change will not be saved due to the lack of system service.");

    editor = open<NameViewController>(ada(2), "Name");
    EXPECT_EQ(editor->nameOrderingPopup()->currentText(), "Last Name First");
    editor->editButton()->click();
    EXPECT_FALSE(editor->nameOrderingPopup()->isEnabled());
    editor->editButton()->click();
    EXPECT_FALSE(editor->nameOrderingPopup()->isEnabled());

    ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderNone);
    EXPECT_EQ(open<NameViewController>(ada(0), "Name")->nameOrderingPopup()->itemText(0),
              "Name Ordering System Default");
}

// The record orders a name by its script, as the store does when it reads it: the preview shows
// the order the name will read in.
TEST_F(NameEditorsTest, ThePreviewOrdersTheNameAsTheRecordWill)
{
    auto *editor = open<NameViewController>(ada(), "Name");
    QInputMethodEvent typed;
    typed.setCommitString("海");
    QApplication::sendEvent(editor->lastNameField(), &typed);
    EXPECT_EQ(editor->compositeNameField()->text(), "Lovelace海 Ada");
    EXPECT_EQ(editor->nameOrderingPopup()->currentText(), "Last Name First");
}

TEST_F(NameEditorsTest, ReturnIsDone)
{
    auto *editor = open<NameViewController>(ada(), "Name");
    QTest::keyClicks(editor->firstNameField(), "!");
    QTest::keyClick(editor->firstNameField(), Qt::Key_Return);
    ASSERT_EQ(m_context->dirty, true);
    EXPECT_EQ(m_context->value.toMap().value("FirstName"), "Ada!");
}

TEST_F(NameEditorsTest, ThePhoneticEditorPreviewsWhatIsTyped)
{
    ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderFamilyName);
    QNPersonPtr person = ada(2);
    person->setDefaultNameOrdering(2);
    auto *editor = open<PhoneticNameViewController>(person, "Phonetic Name");
    EXPECT_EQ(editor->contactNameField()->text(), "Lovelace Ada");
    EXPECT_EQ(editor->nameOrderingPopup()->itemText(0), "Name Ordering System Default (Last Name)");
    EXPECT_EQ(editor->nameOrderingPopup()->currentIndex(), 2);
    EXPECT_TRUE(editor->nameOrderingPopup()->toolTip().isEmpty());

    QTest::keyClicks(editor->firstNameField(), "ei-da");
    QTest::keyClicks(editor->lastNameField(), "lav-less");
    const QString preview = editor->contactNameField()->text();
    EXPECT_TRUE(preview.contains("ei-da") && preview.contains("lav-less"));
    editor->doneButton()->click();

    ASSERT_EQ(m_context->dirty, true);
    const QVariantMap phonetic = m_context->value.toMap();
    EXPECT_EQ(phonetic.value("FirstName"), "ei-da");
    EXPECT_EQ(phonetic.value("LastName"), "lav-less");
    EXPECT_EQ(phonetic.value("MiddleName"), "");
    EXPECT_EQ(phonetic.value("stringValue"), preview);
}

} // namespace
