#include "EditorsFixture.h"

#include "addressbook/DefaultsKey.h"
#include "editors/AddCustomLabelController.h"
#include "editors/CustomLabelPanelController.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <optional>

namespace {

class CustomLabelPanelTest : public EditorsFixture
{
protected:
    void SetUp() override
    {
        EditorsFixture::SetUp();
        m_window.show();
        m_panel = std::make_unique<CustomLabelPanelController>(*m_defaults);
    }
    void TearDown() override
    {
        m_panel.reset();
        EditorsFixture::TearDown();
    }

    void start(const QString &kind, const ContainerTable &containers = {}, const QVariantList &items = {})
    {
        m_defaults->setObject(kind, DefaultsKey::LastSelectedItemInCustomPanel);
        m_panel->setCustomItems(items);
        m_panel->setSelectedFont(QFont());
        m_panel->setContainerTable(containers);
        m_panel->setContextInfo({});
        m_returnCode.reset();
        m_panel->beginSheetModalForWindow(&m_window, [this](int code) { m_returnCode = code; });
    }
    // The sheet as the window manager hands it over: active, its first control focused.
    void activate()
    {
        m_panel->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_panel.get()));
    }
    void select(int row) { m_panel->tableView()->selectRow(row); }
    void rename(int row, const QString &text) { m_panel->tableView()->item(row, 0)->setText(text); }
    void press(QPushButton *button) { button->click(); }

    QWidget m_window;
    std::unique_ptr<CustomLabelPanelController> m_panel;
    std::optional<int> m_returnCode;
};

TEST_F(CustomLabelPanelTest, AddNumbersTheNewLabelAndInsertsItBeforeTheSelectedRow)
{
    registerLabel("new", "Phone");
    registerLabel("new1", "Phone");
    registerLabel("Gym", "Phone");
    forget("new2", "Phone");
    start("Phone");
    ASSERT_EQ(m_panel->table(), QStringList({"new", "new1", "Gym"}));
    select(2);
    press(m_panel->addButton());
    EXPECT_EQ(m_panel->table(), QStringList({"new", "new1", "new2", "Gym"}));
    EXPECT_TRUE(QNPerson::customLabelsForIdentifier("Phone")->contains("new2"));
    EXPECT_EQ(m_panel->tableView()->currentRow(), 2);
    // Only adding changes no contact: Done answers 0.
    press(m_panel->doneButton());
    EXPECT_EQ(m_returnCode, 0);
}

// The new row is the user's to rename, so it reads in the shown language.
TEST_F(CustomLabelPanelTest, TheNewRowReadsInTheShownLanguage)
{
    Localizer::shared().setPreferredLanguages({"ja"});
    forget("新規", "Phone");
    start("Phone");
    QTest::mouseClick(m_panel->addButton(), Qt::LeftButton);
    EXPECT_EQ(m_panel->tableView()->item(0, 0)->text(), "新規");
    Localizer::shared().setPreferredLanguages({"en"});
}

// The label being typed takes Return to end its edit; after that, and in a sheet just opened,
// Return confirms the sheet. It never adds a label.
TEST_F(CustomLabelPanelTest, ReturnEndsTheLabelBeingTypedAndThenConfirmsTheSheet)
{
    forget("new", "Phone");
    forget("Gym", "Phone");
    start("Phone");
    activate();
    QTest::mouseClick(m_panel->addButton(), Qt::LeftButton);
    auto *field = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_TRUE(field);
    QTest::keyClicks(field, "Gym");
    QTest::keyClick(field, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_panel->table(), QStringList({"Gym"}));
    EXPECT_TRUE(QNPerson::customLabelsForIdentifier("Phone")->contains("Gym"));
    EXPECT_TRUE(m_panel->isSheetOpen());

    ASSERT_TRUE(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(m_panel->isSheetOpen());
    EXPECT_EQ(m_returnCode, 1);
    EXPECT_EQ(m_panel->table(), QStringList({"Gym"}));
}

TEST_F(CustomLabelPanelTest, ReturnInASheetJustOpenedConfirmsIt)
{
    registerLabel("Gym", "Phone");
    start("Phone");
    activate();
    ASSERT_TRUE(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(m_panel->isSheetOpen());
    EXPECT_EQ(m_returnCode, 0);
    EXPECT_EQ(*QNPerson::customLabelsForIdentifier("Phone"), QStringList({"Gym"}));
}

TEST_F(CustomLabelPanelTest, RenameRelabelsEveryContactReadSoFarWithoutUndo)
{
    registerLabel("Gym", "Phone");
    forget("Club", "Phone");
    const QNPersonPtr first = personWith("Phone", {"Gym", "home", "Gym"});
    const QNPersonPtr second = personWith("Phone", {"Gym"});
    const QNPersonPtr other = personWith("Phone", {"work"});
    start("Phone", {containerWith({first, other}), containerWith({second})});
    rename(0, "Club");
    EXPECT_EQ(m_panel->table(), QStringList({"Club"}));
    EXPECT_EQ(labelsOf(*first, "Phone"), QStringList({"Club", "home", "Club"}));
    EXPECT_EQ(labelsOf(*second, "Phone"), QStringList({"Club"}));
    EXPECT_TRUE(first->isChanged());
    EXPECT_TRUE(second->isChanged());
    EXPECT_FALSE(other->isChanged());
    EXPECT_TRUE(QNPerson::labelsForIdentifier("Phone")->contains("Club"));
    EXPECT_FALSE(QNPerson::labelsForIdentifier("Phone")->contains("Gym"));
    press(m_panel->doneButton());
    EXPECT_EQ(m_returnCode, 1);
}

struct RefusedRename
{
    const char *name;
    QString text;
    // What the alert says, where the case has one to check.
    QString alert = {};
};

class CustomLabelRefusedRename : public CustomLabelPanelTest,
                                 public ::testing::WithParamInterface<RefusedRename>
{
};

// An empty text is no rename; a label the kind already offers would stand twice in its menus.
TEST_P(CustomLabelRefusedRename, LeavesTablesAndContactsAlone)
{
    registerLabel("Gym", "Phone");
    registerLabel("Pool", "Phone");
    const QNPersonPtr person = personWith("Phone", {"Gym"});
    const QStringList labelsBefore = *QNPerson::labelsForIdentifier("Phone");
    start("Phone", {containerWith({person})});
    rename(0, GetParam().text);
    EXPECT_EQ(m_panel->table(), QStringList({"Gym", "Pool"}));
    EXPECT_EQ(m_panel->tableView()->item(0, 0)->text(), "Gym");
    EXPECT_EQ(*QNPerson::labelsForIdentifier("Phone"), labelsBefore);
    EXPECT_EQ(labelsOf(*person, "Phone"), QStringList({"Gym"}));
    EXPECT_FALSE(m_panel->dirtyFlag());
    if (!GetParam().alert.isEmpty()) {
        EXPECT_EQ(Alert::lastShown().messageText, GetParam().alert);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CustomLabelRefusedRename,
                         ::testing::Values(RefusedRename{"Empty", ""}, RefusedRename{"Blank", "  "},
                                           RefusedRename{"AnotherCustomLabel", "Pool",
                                                         "\u201CPool\u201D is already a label of this kind."},
                                           RefusedRename{"ABuiltInLabel", "mobile"},
                                           RefusedRename{
                                               "TheWordForNoLabel", "No label",
                                               "\u201CNo label\u201D is what an entry without a label "
                                               "shows."}),
                         [](const auto &info) { return std::string(info.param.name); });

struct DeletedLabel
{
    const char *name;
    QString identifier;
    QString replacement;
};

class CustomLabelDelete : public CustomLabelPanelTest, public ::testing::WithParamInterface<DeletedLabel>
{
};

TEST_P(CustomLabelDelete, ReplacesTheLabelInContactsAndLeavesNoEmptyLabelInTheTables)
{
    const QString identifier = GetParam().identifier;
    registerLabel("Coach", identifier);
    const QNPersonPtr person = personWith(identifier, {"Coach"});
    start(identifier, {containerWith({person})});
    select(0);
    press(m_panel->deleteButton());
    EXPECT_TRUE(m_panel->table().isEmpty());
    EXPECT_FALSE(m_panel->deleteButton()->isEnabled());
    EXPECT_EQ(labelsOf(*person, identifier), QStringList({GetParam().replacement}));
    for (const auto &table :
         {QNPerson::labelsForIdentifier(identifier), QNPerson::customLabelsForIdentifier(identifier),
          QNPerson::localizedLabelsForIdentifier(identifier)}) {
        EXPECT_FALSE(table->contains("Coach"));
        EXPECT_FALSE(table->contains(""));
    }
    EXPECT_EQ(QNPerson::labelsForIdentifier(identifier)->size(),
              QNPerson::localizedLabelsForIdentifier(identifier)->size());
    press(m_panel->doneButton());
    EXPECT_EQ(m_returnCode, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, CustomLabelDelete,
                         ::testing::Values(DeletedLabel{"Relationship", "Relationship", "father"},
                                           DeletedLabel{"Dates", "Dates", "anniversary"},
                                           // The record keeps an empty label as its "No label".
                                           DeletedLabel{"Phone", "Phone", "No label"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(CustomLabelPanelTest, CancelAfterARenameAnswersZeroButTellsThatContactsChanged)
{
    registerLabel("Gym", "Email");
    forget("Club", "Email");
    const QNPersonPtr person = personWith("Email", {"Gym"});
    start("Email", {containerWith({person})});
    rename(0, "Club");
    press(m_panel->cancelButton());
    EXPECT_EQ(m_returnCode, 0);
    EXPECT_TRUE(m_panel->contactsChanged());
    EXPECT_EQ(labelsOf(*person, "Email"), QStringList({"Club"}));
}

TEST_F(CustomLabelPanelTest, LabelledCustomItemsJoinTheKindsAndTheLastKindIsChosenAgain)
{
    const QVariantList items{
        QVariantMap{{"Name", "Size"}, {"Type", "Labeled Value"}, {"Labels", QStringList{"S"}}},
        QVariantMap{{"Name", "Memo"}, {"Type", "String Value"}}};
    registerLabel("S", "Size");
    start("Size", {}, items);
    EXPECT_EQ(m_panel->itemNamePopup()->count(), 9);
    EXPECT_EQ(m_panel->selectedIdentifier(), "Size");
    EXPECT_EQ(m_panel->table(), QStringList({"S"}));

    m_panel->popupDidSelect(m_panel->itemNamePopup()->findData("URL"));
    EXPECT_EQ(m_defaults->stringForKey(DefaultsKey::LastSelectedItemInCustomPanel), "URL");
    press(m_panel->cancelButton());

    // A kind no longer offered (a deleted custom item) gives way to the first.
    m_defaults->setObject("Gone", DefaultsKey::LastSelectedItemInCustomPanel);
    m_panel->setContextInfo({});
    EXPECT_EQ(m_panel->selectedIdentifier(), "Email");
}

struct RowHeightCase
{
    qreal lineHeight;
    int rowHeight;
};

class CustomLabelRowHeight : public ::testing::TestWithParam<RowHeightCase>
{
};

TEST_P(CustomLabelRowHeight, FollowsTheFontsLine)
{
    EXPECT_EQ(CustomLabelPanelController::rowHeightForLineHeight(GetParam().lineHeight),
              GetParam().rowHeight);
}

INSTANTIATE_TEST_SUITE_P(Cases, CustomLabelRowHeight,
                         ::testing::Values(RowHeightCase{15.2, 25}, RowHeightCase{9.3, 20},
                                           RowHeightCase{10.0, 20}, RowHeightCase{11.0, 20},
                                           RowHeightCase{11.5, 21}));

class AddCustomLabelTest : public EditorsFixture
{
protected:
    EditorContextPtr open(const QString &text)
    {
        auto context = std::make_shared<EditorContext>();
        m_editor.setContextInfo(context, true);
        m_editor.labelField()->setText(text);
        return context;
    }
    AddCustomLabelController m_editor;
};

TEST_F(AddCustomLabelTest, HandsTheLabelBackInTheContext)
{
    EditorContextPtr context = open("  Gym ");
    m_editor.addButton()->click();
    EXPECT_EQ(context->dirty, true);
    EXPECT_EQ(context->customLabel, "Gym");

    context = open("");
    m_editor.textShouldEndEditing();
    m_editor.addButton()->click();
    EXPECT_EQ(context->dirty, false);
    EXPECT_FALSE(context->customLabel);

    context = open("Gym");
    m_editor.cancelButton()->click();
    EXPECT_EQ(context->dirty, false);
    EXPECT_EQ(context->customLabel, "");
}

} // namespace
