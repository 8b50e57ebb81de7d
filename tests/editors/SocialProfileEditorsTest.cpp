#include "EditorHarness.h"

#include "editors/IMSViewController.h"
#include "editors/SNSViewController.h"
#include "model/LabelTables.h"
#include "platform/StoreContact.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QNPersonPtr withEntry(const QString &identifier, const QVariantMap &entry)
{
    auto person = std::make_shared<QNPerson>();
    person->setValue(QVariantList{entry}, identifier);
    person->setChanged(false);
    return person;
}

int itemWithData(QComboBox *popup, const QString &data)
{
    return popup->findData(data);
}

class AccountEditorsTest : public EditorHarness
{
protected:
    void TearDown() override
    {
        LabelTables::shared().reset();
        EditorHarness::TearDown();
    }
    void prepare(EditorContext &context) override { context.labelIndex = m_labelIndex; }

    int m_labelIndex = 0;
};

const QVariantMap StoredProfile{{"label", "Facebook"},
                                {"value", "alice"},
                                {StoreValueKey::UserIdentifier, "42"},
                                {StoreValueKey::UrlString, "https://example.org/alice"}};

TEST_F(AccountEditorsTest, ANewProfileIsTwitterNamedNewAndAddsOnDone)
{
    m_labelIndex = -1;
    auto *editor = open<SNSViewController>(personNamed("Ann", "Lee"), "Social Network");
    EXPECT_EQ(editor->doneButton()->text(), "Add");
    EXPECT_EQ(editor->servicePopup()->currentData().toString(), "Twitter");
    EXPECT_EQ(editor->usernameField()->text(), "new");

    editor->usernameField()->setText("ann");
    emit editor->usernameField()->textEdited("ann");
    editor->doneButton()->click();
    const QVariantMap result = m_context->value.toMap();
    EXPECT_EQ(m_context->dirty, true);
    EXPECT_EQ(result.value("labelIndex").toInt(), -1);
    EXPECT_EQ(result.value("stringValue").toString(), "ann");
    EXPECT_EQ(result.value(StoreValueKey::Service).toString(), "Twitter");
}

TEST_F(AccountEditorsTest, SwitchingTheServiceEmptiesTheProfileAndSwitchingBackRestoresIt)
{
    auto *editor = open<SNSViewController>(withEntry("Social Network", StoredProfile), "Social Network");
    EXPECT_EQ(editor->doneButton()->text(), "Change");
    EXPECT_EQ(editor->userIdentifierField()->text(), "42");

    choose(editor->servicePopup(), itemWithData(editor->servicePopup(), "Twitter"));
    EXPECT_TRUE(editor->usernameField()->text().isEmpty());
    EXPECT_TRUE(editor->userIdentifierField()->text().isEmpty());
    EXPECT_TRUE(editor->URLStringField()->text().isEmpty());
    EXPECT_EQ(editor->labeledValue().value(StoreValueKey::Service).toString(), "Twitter");

    choose(editor->servicePopup(), itemWithData(editor->servicePopup(), "Facebook"));
    EXPECT_EQ(editor->usernameField()->text(), "alice");
    EXPECT_EQ(editor->URLStringField()->text(), "https://example.org/alice");
    EXPECT_TRUE(editor->doneButton()->isEnabled());
}

TEST_F(AccountEditorsTest, AKnownServiceMissingFromTheLabelsIsOffered)
{
    QNPerson::removeLabel("Yelp", "Social Network");
    ASSERT_FALSE(QNPerson::labelTableDict().value("Social Network").contains("Yelp"));
    QVariantMap profile = StoredProfile;
    profile.insert("label", "Yelp");
    auto *editor = open<SNSViewController>(withEntry("Social Network", profile), "Social Network");
    EXPECT_TRUE(editor->labels().contains("Yelp"));
    EXPECT_EQ(editor->servicePopup()->currentData().toString(), "Yelp");
}

// A service another program wrote shows under its own name, outlives picking the service it already
// has and switching away and back, and stays as stored unless another service is picked.
TEST_F(AccountEditorsTest, AnUnlistedServiceShowsUnderItsOwnNameAndIsKept)
{
    QVariantMap profile = StoredProfile;
    profile.insert("label", "mastodon");
    const QNPersonPtr person = withEntry("Social Network", profile);
    const QVariant stored = person->labeledValueForIdentifier("Social Network");
    auto *profiles = open<SNSViewController>(person, "Social Network", false);
    EXPECT_EQ(profiles->servicePopup()->currentText(), "mastodon");
    QTest::mouseClick(profiles->doneButton(), Qt::LeftButton);
    EXPECT_TRUE(closedWithoutResult());

    profiles = open<SNSViewController>(person, "Social Network");
    choose(profiles->servicePopup(), profiles->servicePopup()->currentIndex());
    EXPECT_FALSE(profiles->doneButton()->isEnabled());
    choose(profiles->servicePopup(), itemWithData(profiles->servicePopup(), "Twitter"));
    choose(profiles->servicePopup(), itemWithData(profiles->servicePopup(), "mastodon"));
    EXPECT_EQ(profiles->usernameField()->text(), "alice");
    QTest::mouseClick(profiles->doneButton(), Qt::LeftButton);
    EXPECT_EQ(m_context->value.toMap().value("label").toString(), "mastodon");
    EXPECT_EQ(person->labeledValueForIdentifier("Social Network"), stored);
    EXPECT_FALSE(person->isChanged());

    const QVariantMap account{{"label", "work"}, {"value", "bob"}, {StoreValueKey::Service, "Matrix"}};
    auto *accounts = open<IMSViewController>(withEntry("Instant Message", account), "Instant Message");
    EXPECT_EQ(accounts->servicePopup()->currentText(), "Matrix");
    choose(accounts->servicePopup(), accounts->servicePopup()->currentIndex());
    EXPECT_FALSE(accounts->doneButton()->isEnabled());
    choose(accounts->servicePopup(), itemWithData(accounts->servicePopup(), "Skype"));
    QTest::mouseClick(accounts->doneButton(), Qt::LeftButton);
    EXPECT_EQ(m_context->value.toMap().value("stringValue").toString(), "Skype:bob");
}

TEST_F(AccountEditorsTest, CancelSaysNotDirtyAndALockedDoneHandsNothingBack)
{
    auto *profiles = open<SNSViewController>(withEntry("Social Network", StoredProfile), "Social Network");
    profiles->cancelButton()->click();
    EXPECT_EQ(m_context->dirty, false);

    auto *accounts = open<IMSViewController>(personNamed("Ann", "Lee"), "Instant Message", false);
    accounts->doneButton()->click();
    EXPECT_TRUE(closedWithoutResult());
}

TEST_F(AccountEditorsTest, ANewAccountIsAnAIMHomeAccountNamedNew)
{
    m_labelIndex = -1;
    auto *editor = open<IMSViewController>(personNamed("Ann", "Lee"), "Instant Message");
    const QVariantMap entry = editor->labeledValue();
    EXPECT_EQ(entry.value("value").toString(), "new");
    EXPECT_EQ(entry.value(StoreValueKey::Service).toString(), "AIM");
    EXPECT_EQ(entry.value("label").toString(), "home");
    EXPECT_EQ(entry.value("stringValue").toString(), "AIM:new");
    EXPECT_EQ(editor->doneButton()->text(), "Add");
}

TEST_F(AccountEditorsTest, AnOlderServiceIdentifierSelectsItsService)
{
    const QVariantMap stored{{"label", "work"}, {"value", "bob"}, {StoreValueKey::Service, "AIMInstant"}};
    auto *editor = open<IMSViewController>(withEntry("Instant Message", stored), "Instant Message");
    EXPECT_EQ(editor->servicePopup()->currentData().toString(), "AIM");
    EXPECT_EQ(editor->labelPopup()->currentData().toString(), "work");

    choose(editor->labelPopup(), itemWithData(editor->labelPopup(), "home"));
    choose(editor->servicePopup(), itemWithData(editor->servicePopup(), "Skype"));
    editor->usernameField()->setText("bobby");
    emit editor->usernameField()->textEdited("bobby");
    QTest::keyClick(editor, Qt::Key_Return);
    const QVariantMap result = m_context->value.toMap();
    EXPECT_EQ(m_context->dirty, true);
    EXPECT_EQ(result.value("label").toString(), "home");
    EXPECT_EQ(result.value("stringValue").toString(), "Skype:bobby");
    EXPECT_EQ(result.value(StoreValueKey::Username).toString(), "bobby");
}

// An account without a label, or a profile without a service, selects no item and names the want
// of one, as the detail pane does; an edit hands none back.
TEST_F(AccountEditorsTest, AnEntryWithoutALabelShowsNoneAndGetsNone)
{
    const QVariantMap account{{"value", "bob"}, {StoreValueKey::Service, "Skype"}};
    auto *accounts = open<IMSViewController>(withEntry("Instant Message", account), "Instant Message");
    EXPECT_EQ(accounts->labelPopup()->currentIndex(), -1);
    EXPECT_EQ(accounts->labelPopup()->placeholderText(), "No label");
    QTest::mouseClick(accounts->doneButton(), Qt::LeftButton);
    EXPECT_FALSE(m_context->dirty.has_value());
    QTest::keyClicks(accounts->usernameField(), "by");
    QTest::keyClick(accounts->usernameField(), Qt::Key_Return);
    EXPECT_EQ(m_context->value.toMap().value("label").toString(), "No label");

    auto *profiles =
        open<SNSViewController>(withEntry("Social Network", {{"value", "al"}}), "Social Network");
    EXPECT_EQ(profiles->servicePopup()->currentIndex(), -1);
    EXPECT_EQ(profiles->servicePopup()->placeholderText(), "No service");
}

} // namespace
