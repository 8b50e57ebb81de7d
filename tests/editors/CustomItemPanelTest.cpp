#include "EditorsFixture.h"

#include "editors/AddItemViewController.h"
#include "editors/CustomItemPanel.h"
#include "editors/HelpViewController.h"
#include "editors/LabelListEditing.h"
#include "platform/widgets/Popover.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <optional>

namespace {

const QVariantMap hobby{{"Name", "Hobby"}, {"Type", "Labeled Value"}, {"Labels", QStringList{"A", "B", "C"}}};
const QVariantMap memo{{"Name", "Memo"}, {"Type", "String Value"}, {"Labels", QStringList()}};

class CustomItemPanelTest : public EditorsFixture
{
protected:
    void SetUp() override
    {
        EditorsFixture::SetUp();
        m_window.show();
        m_panel = std::make_unique<CustomItemPanel>();
        m_panel->setCustomItems({hobby, memo});
        m_panel->beginSheetModalForWindow(&m_window, [this](int code) { m_returnCode = code; });
    }
    void TearDown() override
    {
        m_panel.reset();
        EditorsFixture::TearDown();
    }

    // The sheet as the window manager hands it over: active, its first control focused.
    void activate(QWidget *window)
    {
        window->activateWindow();
        ASSERT_TRUE(
            QTest::qWaitFor([window] { return QGuiApplication::focusWindow() == window->windowHandle(); }));
    }
    AddItemViewController *item() const { return m_panel->addItemViewController(); }
    bool popoverShown() const { return m_panel->popover() && m_panel->popover()->isShown(); }
    QVariantMap row(int index) const { return m_panel->customItems().value(index).toMap(); }
    QString cell(int index, int column) const { return m_panel->tableView()->item(index, column)->text(); }

    // Opens the item popover for a new item and fills it in; Done is left to the test.
    void fillNewItem(const QString &name, const QString &type, const QStringList &labels)
    {
        m_panel->addButton()->click();
        ASSERT_TRUE(popoverShown());
        item()->nameField()->setText(name);
        const int index = item()->typePopup()->findText(type);
        item()->typePopup()->setCurrentIndex(index);
        item()->popupChanged(index);
        for (const QString &label : labels) {
            item()->tableView()->clearSelection();
            item()->addButton()->click();
            LabelListEditing::commitEditing(item()->tableView());
            item()->tableView()->item(int(item()->table().size()) - 1, 0)->setText(label);
        }
    }
    void markDeleted(const QList<int> &rows)
    {
        for (int index : rows)
            m_panel->tableView()->selectionModel()->select(m_panel->tableView()->model()->index(index, 0),
                                                           QItemSelectionModel::Select |
                                                               QItemSelectionModel::Rows);
        m_panel->delButton()->click();
        QCoreApplication::processEvents();
    }

    QWidget m_window;
    std::unique_ptr<CustomItemPanel> m_panel;
    std::optional<int> m_returnCode;
};

TEST_F(CustomItemPanelTest, ListsTheItemsWithTheirTypesAndLabels)
{
    ASSERT_EQ(m_panel->tableView()->rowCount(), 2);
    EXPECT_EQ(cell(0, 0), "Hobby");
    EXPECT_EQ(cell(0, 1), "Labeled Value");
    EXPECT_EQ(cell(0, 2), "A,B,C");
    EXPECT_EQ(cell(1, 1), "String Value");
    EXPECT_EQ(cell(1, 2), "");
    EXPECT_FALSE(m_panel->tableView()->item(0, 0)->icon().isNull());
    EXPECT_FALSE(m_panel->delButton()->isEnabled());
}

TEST_F(CustomItemPanelTest, AnItemAddedWithDoneIsAppendedAsNewAndSelected)
{
    fillNewItem("Size", "Labeled Value", {"S", "M"});
    item()->doneButton()->click();
    EXPECT_FALSE(popoverShown());
    ASSERT_EQ(m_panel->customItems().size(), 3);
    EXPECT_EQ(
        row(2),
        QVariantMap(
            {{"Name", "Size"}, {"Type", "Labeled Value"}, {"Labels", QStringList{"S", "M"}}, {"new", true}}));
    EXPECT_EQ(m_panel->tableView()->currentRow(), 2);
    m_panel->doneButton()->click();
    EXPECT_EQ(m_returnCode, 1);
}

// Typed in and then left by a click outside or by Cancel, the item is not added.
TEST_F(CustomItemPanelTest, AnItemLeftWithoutDoneIsNotAdded)
{
    fillNewItem("Size", "String Value", {});
    m_panel->popover()->close();
    fillNewItem("Colour", "String Value", {});
    item()->cancelButton()->click();
    EXPECT_EQ(m_panel->customItems(), QVariantList({hobby, memo}));
    m_panel->doneButton()->click();
    EXPECT_EQ(m_returnCode, 0);
}

struct RefusedItem
{
    const char *name;
    QString itemName;
    QString type;
    QStringList labels;
};

class CustomItemRefused : public CustomItemPanelTest, public ::testing::WithParamInterface<RefusedItem>
{
};

TEST_P(CustomItemRefused, DoneKeepsThePopoverOpenAndAddsNothing)
{
    fillNewItem(GetParam().itemName, GetParam().type, GetParam().labels);
    item()->doneButton()->click();
    EXPECT_TRUE(popoverShown());
    EXPECT_EQ(m_panel->customItems().size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Cases, CustomItemRefused,
                         ::testing::Values(RefusedItem{"NoName", "", "String Value", {}},
                                           RefusedItem{"Blank", "  ", "String Value", {}},
                                           RefusedItem{"Duplicate", "Memo", "Labeled Value", {"x"}},
                                           RefusedItem{"LabelledWithoutLabels", "Size", "Labeled Value", {}},
                                           RefusedItem{"Field", "Phone", "String Value", {}},
                                           RefusedItem{"AddressPart", "ZIP", "String Value", {}},
                                           RefusedItem{"NamePart", "FirstName", "String Value", {}},
                                           RefusedItem{"Photo", "Photo", "String Value", {}},
                                           RefusedItem{"Groups", "Groups", "String Value", {}},
                                           RefusedItem{"NameOrdering", "Name Ordering", "String Value", {}},
                                           RefusedItem{"NameDisplay", "Name Display", "String Value", {}},
                                           RefusedItem{"All", "All", "String Value", {}},
                                           RefusedItem{"VCardLine", "ANNIVERSARY", "String Value", {}},
                                           RefusedItem{"VCardLineAnyCase", "MaidenName", "String Value", {}},
                                           RefusedItem{"VCardAccount", "aim", "Labeled Value", {"x"}}),
                         [](const auto &info) { return std::string(info.param.name); });

// The new item's name field has the focus and Return adds the item; in the sheet, Return is
// Done's, not the add button's.
TEST_F(CustomItemPanelTest, ReturnConfirmsTheItemPopoverAndThenTheSheet)
{
    activate(m_panel.get());
    QTest::mouseClick(m_panel->addButton(), Qt::LeftButton);
    ASSERT_TRUE(popoverShown());
    activate(m_panel->popover());
    QWidget *field = QApplication::focusWidget();
    ASSERT_EQ(field, item()->nameField());
    QTest::keyClicks(field, "Colour");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(popoverShown());
    ASSERT_EQ(m_panel->customItems().size(), 3);
    EXPECT_EQ(row(2).value("Name"), "Colour");

    // The window manager hands the sheet the keys again.
    activate(m_panel.get());
    ASSERT_TRUE(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(popoverShown());
    EXPECT_EQ(m_returnCode, 1);
}

// A label being typed takes Return to end its edit; the next Return changes the item.
TEST_F(CustomItemPanelTest, ReturnEndsALabelEditAndThenChangesTheItem)
{
    activate(m_panel.get());
    m_panel->tableViewDoubleAction(0, 0);
    ASSERT_TRUE(popoverShown());
    activate(m_panel->popover());
    EXPECT_EQ(QApplication::focusWidget(), item()->tableView());
    QTest::mouseClick(item()->addButton(), Qt::LeftButton);
    auto *label = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_TRUE(label);
    QTest::keyClicks(label, "D");
    QTest::keyClick(label, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(popoverShown());
    EXPECT_EQ(item()->table(), QStringList({"A", "B", "C", "D"}));

    ASSERT_TRUE(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(popoverShown());
    EXPECT_EQ(row(0).value("Labels").toStringList(), QStringList({"A", "B", "C", "D"}));
    EXPECT_TRUE(m_panel->isSheetOpen());
}

TEST_F(CustomItemPanelTest, DoubleClickChangesTheLabelsOfALabelledItemOnly)
{
    m_panel->tableViewDoubleAction(1, 0);
    EXPECT_FALSE(m_panel->popover());

    m_panel->tableViewDoubleAction(0, 0);
    ASSERT_TRUE(popoverShown());
    EXPECT_FALSE(item()->nameField()->isEnabled());
    EXPECT_FALSE(item()->doneButton()->isEnabled());
    item()->tableView()->selectRow(1);
    item()->deleteButton()->click();
    item()->doneButton()->click();
    EXPECT_EQ(row(0).value("Labels").toStringList(), QStringList({"A", "C"}));
    EXPECT_TRUE(row(0).value("changed").toBool());
    EXPECT_FALSE(row(0).contains("deleted"));
    EXPECT_FALSE(row(0).contains("row"));
    EXPECT_EQ(m_panel->customItems().size(), 2);
}

// Changing an item added in the same run keeps one entry, still only "new".
TEST_F(CustomItemPanelTest, ChangingAnItemAddedInThisRunReplacesIt)
{
    fillNewItem("Size", "Labeled Value", {"S"});
    item()->doneButton()->click();
    m_panel->tableViewDoubleAction(2, 0);
    item()->addButton()->click();
    item()->doneButton()->click();
    ASSERT_EQ(m_panel->customItems().size(), 3);
    EXPECT_EQ(row(2).value("Labels").toStringList(), QStringList({"S", "new"}));
    EXPECT_TRUE(row(2).value("new").toBool());
    EXPECT_FALSE(row(2).contains("changed"));
}

TEST_F(CustomItemPanelTest, DeleteMarksTheSelectedItemsAfterTheWarning)
{
    markDeleted({0, 1});
    const Alert::Record shown = Alert::lastShown();
    EXPECT_EQ(shown.messageText, "Delete the selected custom items?");
    EXPECT_EQ(shown.buttons, QStringList({"OK", "Cancel"}));
    EXPECT_TRUE(row(0).value("deleted").toBool());
    EXPECT_TRUE(row(1).value("deleted").toBool());
    EXPECT_EQ(cell(0, 1), "Deleted");
    m_panel->doneButton()->click();
    EXPECT_EQ(m_returnCode, 1);
}

TEST_F(CustomItemPanelTest, ALockedItemCannotBeDeleted)
{
    QVariantMap locked = memo;
    locked.insert("Locked", true);
    m_panel->setCustomItems({hobby, locked});
    m_panel->tableView()->selectRow(1);
    EXPECT_FALSE(m_panel->delButton()->isEnabled());
    m_panel->tableView()->selectRow(0);
    EXPECT_TRUE(m_panel->delButton()->isEnabled());
}

TEST_F(CustomItemPanelTest, AnIconIsFittedAndCanBeDeleted)
{
    fillNewItem("Size", "String Value", {});
    QImage large(2000, 1000, QImage::Format_ARGB32);
    large.fill(Qt::blue);
    item()->imageDidChanged(large);
    EXPECT_EQ(item()->contextInfo().value("ImageIcon").value<QImage>().size(), QSize(512, 256));
    item()->deleteImage();
    EXPECT_FALSE(item()->contextInfo().contains("ImageIcon"));
    item()->imageDidChanged(QImage());
    EXPECT_FALSE(item()->contextInfo().contains("ImageIcon"));
}

} // namespace
