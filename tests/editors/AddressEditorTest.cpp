#include "EditorHarness.h"

#include "editors/AddressCountryMenu.h"
#include "editors/AddressViewController.h"
#include "platform/StoreContact.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

namespace {

class AddressEditorTest : public EditorHarness
{
protected:
    void prepare(EditorContext &context) override { context.labelIndex = m_labelIndex; }

    AddressViewController *openAddress(const QVariantMap &address, const QString &defaultCode = QStringLiteral("JP"),
                                       bool editable = true)
    {
        auto person = personNamed(QStringLiteral("Hanako"), QStringLiteral("Yamada"));
        person->setDefaultCountryCode(defaultCode);
        if (!address.isEmpty()) {
            person->setValue(QVariantList{address}, QStringLiteral("Address"));
            person->setChanged(false);
        }
        m_labelIndex = address.isEmpty() ? -1 : 0;
        return open<AddressViewController>(person, QStringLiteral("Address"), editable);
    }

    static QVariantMap address(const QString &zip, const QString &code = {})
    {
        QVariantMap entry{{"label", "work"}, {"ZIP", zip}, {"City", "Somewhere"}};
        if (!code.isEmpty())
            entry.insert(StoreValueKey::ISOCountryCode, code);
        return entry;
    }

    static void typeZip(AddressViewController *editor, const QString &zip)
    {
        editor->zipField()->clear();
        QTest::keyClicks(editor->zipField(), zip);
    }

    int m_labelIndex = -1;
};

TEST_F(AddressEditorTest, newAddressStartsAsHomeWith123)
{
    AddressViewController *editor = openAddress({});
    EXPECT_EQ(editor->labelPopup()->currentText(), QStringLiteral("home"));
    EXPECT_EQ(editor->zipField()->text(), QStringLiteral("123"));
    EXPECT_EQ(editor->doneButton()->text(), QStringLiteral("Add"));
    EXPECT_FALSE(editor->doneButton()->isEnabled());

    QTest::keyClicks(editor->cityField(), QStringLiteral("Kyoto"));
    editor->doneButton()->click();
    const QVariantMap value = m_context->value.toMap();
    EXPECT_EQ(value.value("labelIndex").toInt(), -1);
    EXPECT_EQ(value.value("City").toString(), QStringLiteral("Kyoto"));
    EXPECT_EQ(m_context->dirty, true);
}

// Escape closes the open label list or country menu, not the editor: what was typed stays.
TEST_F(AddressEditorTest, escapeInAnOpenListOrMenuKeepsTheTyping)
{
    AddressViewController *editor = openAddress(address(QStringLiteral("1000001")));
    QTest::keyClicks(editor->cityField(), QStringLiteral(" Ward"));

    editor->labelPopup()->showPopup();
    QWidget *list = editor->labelPopup()->view()->window();
    ASSERT_TRUE(list->isVisible());
    QTest::keyClick(list->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(list->isVisible());
    ASSERT_TRUE(m_popover->isShown());

    AddressCountryMenu *menu = editor->countryMenu();
    QTimer::singleShot(0, menu, [menu] { QTest::keyClick(menu->windowHandle(), Qt::Key_Escape); });
    editor->countryCodePopup()->showMenu();
    EXPECT_FALSE(menu->isVisible());
    ASSERT_TRUE(m_popover->isShown());
    EXPECT_EQ(editor->cityField()->text(), QStringLiteral("Somewhere Ward"));

    QTest::mouseClick(editor->doneButton(), Qt::LeftButton);
    EXPECT_EQ(m_context->dirty, true);
    EXPECT_EQ(m_context->value.toMap().value("City").toString(), QStringLiteral("Somewhere Ward"));
}

TEST_F(AddressEditorTest, cancelSaysNotDirty)
{
    AddressViewController *editor = openAddress(address(QStringLiteral("1000001")));
    EXPECT_EQ(editor->doneButton()->text(), QStringLiteral("Change"));
    QTest::keyClicks(editor->cityField(), QStringLiteral("x"));
    editor->cancelButton()->click();
    EXPECT_EQ(m_context->dirty, false);
    EXPECT_FALSE(m_context->value.isValid());
}

TEST_F(AddressEditorTest, lookupOnlyForJapanUnlockedWithAZip)
{
    AddressViewController *japan = openAddress(address(QStringLiteral("1000001"), QStringLiteral("jp")), QStringLiteral("US"));
    EXPECT_FALSE(japan->zipButton()->isHidden());
    EXPECT_TRUE(japan->zipButton()->isEnabled());
    japan->zipField()->selectAll();
    QTest::keyClick(japan->zipField(), Qt::Key_Backspace);
    EXPECT_FALSE(japan->zipButton()->isEnabled());

    AddressViewController *usa = openAddress(address(QStringLiteral("10001"), QStringLiteral("US")));
    EXPECT_TRUE(usa->zipButton()->isHidden());

    // Without a code, the country typed or the contact's default country decides.
    AddressViewController *byDefault = openAddress(address(QStringLiteral("1000001")));
    EXPECT_FALSE(byDefault->zipButton()->isHidden());
    QVariantMap named = address(QStringLiteral("1000001"));
    named.insert("Country", QStringLiteral("日本"));
    EXPECT_FALSE(openAddress(named, QStringLiteral("US"))->zipButton()->isHidden());

    AddressViewController *locked = openAddress(address(QStringLiteral("1000001")), QStringLiteral("JP"), false);
    EXPECT_FALSE(locked->zipButton()->isEnabled());
}

TEST_F(AddressEditorTest, lookupFillsTheAddress)
{
    AddressViewController *editor = openAddress(address(QStringLiteral("123")));
    typeZip(editor, QStringLiteral("100-0001"));
    editor->zipButton()->click();
    EXPECT_EQ(editor->stateField()->text(), QStringLiteral("東京都"));
    EXPECT_EQ(editor->cityField()->text(), QStringLiteral("千代田区"));
    EXPECT_EQ(editor->streetField()->text(), QStringLiteral("千代田"));
    EXPECT_TRUE(editor->lookupMessage()->text().isEmpty());

    typeZip(editor, QStringLiteral("060-0000"));
    editor->zipButton()->click();
    EXPECT_EQ(editor->cityField()->text(), QStringLiteral("札幌市中央区"));
    EXPECT_TRUE(editor->streetField()->text().isEmpty());

    editor->doneButton()->click();
    const QVariantMap value = m_context->value.toMap();
    EXPECT_EQ(value.value("ZIP").toString(), QStringLiteral("060-0000"));
    EXPECT_EQ(value.value("State").toString(), QStringLiteral("北海道"));
    EXPECT_EQ(value.value("Street").toString(), QString());
}

TEST_F(AddressEditorTest, missKeepsTheZipAsTyped)
{
    AddressViewController *editor = openAddress(address(QStringLiteral("123")));
    typeZip(editor, QStringLiteral("000-0000"));
    editor->zipButton()->click();
    EXPECT_EQ(editor->zipField()->text(), QStringLiteral("000-0000"));
    EXPECT_EQ(editor->lookupMessage()->text(), QStringLiteral("Do not find"));
    EXPECT_EQ(editor->cityField()->text(), QStringLiteral("Somewhere"));

    // The next keystroke saves what the user typed, never the message.
    QTest::keyClick(editor->zipField(), Qt::Key_1);
    EXPECT_TRUE(editor->lookupMessage()->text().isEmpty());
    editor->doneButton()->click();
    EXPECT_EQ(m_context->value.toMap().value("ZIP").toString(), QStringLiteral("000-00001"));
}

TEST_F(AddressEditorTest, countryMenu)
{
    AddressViewController *editor = openAddress(address(QStringLiteral("10001"), QStringLiteral("US")));
    AddressCountryMenu *menu = editor->countryMenu();

    // The country already chosen changes nothing.
    menu->actionForCode(QStringLiteral("US"))->trigger();
    EXPECT_FALSE(editor->doneButton()->isEnabled());

    menu->actionForCode(AddressCountryMenu::DefaultCode)->trigger();
    EXPECT_FALSE(editor->labeledValue().contains(StoreValueKey::ISOCountryCode));
    EXPECT_EQ(editor->countryCodePopup()->text(), QStringLiteral("Default (JP)"));
    EXPECT_EQ(editor->countryField()->text(), QStringLiteral("Japan"));
    EXPECT_FALSE(editor->zipButton()->isHidden());

    menu->actionForCode(QStringLiteral("AU"))->trigger();
    EXPECT_EQ(editor->labeledValue().value(StoreValueKey::ISOCountryCode).toString(), QStringLiteral("AU"));
    EXPECT_TRUE(editor->countryCodePopup()->text().startsWith(QStringLiteral("AU (")));
    EXPECT_TRUE(editor->zipButton()->isHidden());
    EXPECT_TRUE(editor->doneButton()->isEnabled());
}

TEST_F(AddressEditorTest, statePulldownShowsCodesOrNames)
{
    AddressViewController *editor = openAddress(address(QStringLiteral("10001"), QStringLiteral("US")));
    QComboBox *states = editor->statePulldown();
    EXPECT_EQ(states->itemText(0), QStringLiteral("States"));
    EXPECT_EQ(states->itemText(1), QStringLiteral("AL"));
    EXPECT_TRUE(editor->showCodeCheckBox()->isEnabled());

    editor->showCodeCheckBox()->click();
    EXPECT_EQ(states->itemText(1), QStringLiteral("Alabama"));
    choose(states, 2);
    EXPECT_EQ(editor->labeledValue().value("State").toString(), QStringLiteral("Alaska"));
    EXPECT_EQ(editor->stateField()->text(), QStringLiteral("Alaska"));

    // Names without codes: the checkbox is off and cannot be turned on.
    AddressViewController *japan = openAddress(address(QStringLiteral("1000001"), QStringLiteral("JP")));
    EXPECT_FALSE(japan->showCodeCheckBox()->isEnabled());
    EXPECT_FALSE(japan->showCodeCheckBox()->isChecked());
    EXPECT_EQ(japan->statePulldown()->itemText(1), QStringLiteral("Hokkaido"));
}

} // namespace
