#include "EditorHarness.h"

#include "editors/ListEditorTableView.h"
#include "editors/MultiValueViewController.h"
#include "platform/StoreContact.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// Stands in for the address editor: Done hands back the address it was given, or a new one,
// with the street the test sets.
class StubAddressEditor : public ValueEditor
{
public:
    StubAddressEditor() { setUpChrome(new QWidget); }
    void setStreet(const QString &street)
    {
        m_street = street;
        noteChange();
    }
    EditorContextPtr context() const { return contextInfo(); }

protected:
    void loadContext() override {}
    void updateUI() override {}
    void finishEditing() override
    {
        QVariantMap address = contextInfo()->value.toMap();
        address.insert("Street", m_street);
        address.insert("label", "other");
        address.insert("labelIndex", contextInfo()->labelIndex.value_or(-1));
        commit(address);
    }

private:
    QString m_street;
};

QVariantList valuesOf(const QVariantList &list, const QString &key = "value")
{
    QVariantList values;
    for (const QVariant &entry : list)
        values.append(entry.toMap().value(key));
    return values;
}

class ListEditorTest : public EditorHarness
{
protected:
    void SetUp() override
    {
        EditorHarness::SetUp();
        MultiValueViewController::setNestedEditorFactory([this](const QString &) {
            m_nested = new StubAddressEditor;
            return m_nested;
        });
    }
    void TearDown() override
    {
        MultiValueViewController::setNestedEditorFactory({});
        EditorHarness::TearDown();
    }
    void prepare(EditorContext &context) override { context.labelIndex = m_labelIndex; }

    MultiValueViewController *openList(const QString &type, const QStringList &labels)
    {
        m_person = personWith(type, labels);
        return open<MultiValueViewController>(m_person, type);
    }

    std::optional<int> m_labelIndex;
    QNPersonPtr m_person;
    StubAddressEditor *m_nested = nullptr;
};

struct ColumnsCase
{
    const char *type;
    QStringList identifiers;
    QList<int> widths;
};

class ListEditorColumnsTest : public ListEditorTest, public ::testing::WithParamInterface<ColumnsCase>
{
};

TEST_P(ListEditorColumnsTest, EachKindHasItsColumnsAndWidths)
{
    auto *editor = openList(GetParam().type, {});
    QStringList identifiers;
    QList<int> widths;
    for (const ListEditorColumns::Column &column : editor->columns()) {
        identifiers.append(column.identifier);
        widths.append(column.width);
    }
    EXPECT_EQ(identifiers, GetParam().identifiers);
    EXPECT_EQ(widths, GetParam().widths);
    EXPECT_EQ(editor->tableView()->columnCount(), identifiers.size());
    EXPECT_EQ(editor->tableView()->columnWidth(0), widths.first());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ListEditorColumnsTest,
    ::testing::Values(
        ColumnsCase{"Address",
                    {"Edit", "label", "ZIP", "State", "City", "Street", "Country", "CountryCode"},
                    {26, 80, 100, 100, 100, 100, 100, 155}},
        ColumnsCase{"Instant Message", {"label", "serviceType", "Username"}, {80, 130, 160}},
        ColumnsCase{"Social Network", {"label", "Username", "User Identifier", "URL String"}, {80, 160, 160, 160}},
        ColumnsCase{"Phone", {"label", "Phone"}, {80, 130}}));

TEST_F(ListEditorTest, AddInsertsANewEntryBelowTheSelectionWithTheFirstLabel)
{
    m_labelIndex = 0;
    auto *editor = openList("Phone", {"home", "work", "other"});
    editor->addPressed();
    const QVariantMap added = editor->table().at(1).toMap();
    EXPECT_EQ(added.value("value").toString(), "new");
    EXPECT_EQ(added.value("stringValue").toString(), "new");
    EXPECT_EQ(added.value("label").toString(), editor->labels().first());
    EXPECT_EQ(added.value("labelIndex").toInt(), 3);
    EXPECT_EQ(editor->tableView()->currentRow(), 1);
    EXPECT_TRUE(editor->doneButton()->isEnabled());

    editor->tableView()->clearSelection();
    editor->addPressed();
    EXPECT_EQ(editor->table().last().toMap().value("labelIndex").toInt(), 4);
}

TEST_F(ListEditorTest, AKindWithoutLabelsOffersHome)
{
    auto *editor = openList("Favourite drinks", {});
    EXPECT_EQ(editor->labels(), QStringList{"home"});
    editor->addPressed();
    EXPECT_EQ(editor->table().first().toMap().value("label").toString(), "home");
}

TEST_F(ListEditorTest, DeletingAndAddingNeverRepeatsALabelIndex)
{
    auto *editor = openList("Email", {"home", "work", "other"});
    editor->tableView()->clearSelection();
    editor->addPressed();
    editor->deletePressed();
    editor->addPressed();
    // Deleting a stored entry frees no number either.
    editor->tableView()->selectRow(0);
    editor->deletePressed();
    editor->tableView()->clearSelection();
    editor->addPressed();
    QSet<int> numbers;
    for (const QVariant &entry : valuesOf(editor->table(), "labelIndex"))
        numbers.insert(entry.toInt());
    EXPECT_EQ(numbers, (QSet<int>{1, 2, 4, 5}));
}

TEST_F(ListEditorTest, SortingAloneOrDroppingARowOnItselfAppliesNothing)
{
    auto *editor = openList("URL", {"work", "home", "other"});
    editor->sortByColumn(1, Qt::AscendingOrder);
    EXPECT_EQ(valuesOf(editor->table()), (QVariantList{"home-value", "other-value", "work-value"}));
    EXPECT_FALSE(editor->moveRow(1, 1));
    EXPECT_FALSE(editor->moveRow(1, 2));
    EXPECT_FALSE(editor->doneButton()->isEnabled());
    editor->doneButton()->click();
    EXPECT_FALSE(m_context->dirty.has_value());

    // After a real change Done hands back the sorted order.
    EXPECT_TRUE(editor->moveRow(2, 0));
    editor->doneButton()->click();
    EXPECT_EQ(valuesOf(m_context->value.toList()), (QVariantList{"work-value", "home-value", "other-value"}));
    EXPECT_EQ(m_context->values, m_context->value.toList());
}

TEST_F(ListEditorTest, DoneKeepsTheTextBeingTyped)
{
    auto *editor = openList("Phone", {"home"});
    QTableWidgetItem *cell = editor->tableView()->item(0, 1);
    editor->tableView()->setCurrentItem(cell);
    editor->tableView()->editItem(cell);
    auto *field = qobject_cast<QLineEdit *>(editor->tableView()->indexWidget(editor->tableView()->currentIndex()));
    ASSERT_NE(field, nullptr);
    QTest::keyClicks(field, "0123");
    editor->doneButton()->click();
    EXPECT_EQ(m_context->dirty, true);
    EXPECT_EQ(m_context->value.toList().first().toMap().value("stringValue").toString(), "0123");
}

TEST_F(ListEditorTest, CancelSaysNotDirty)
{
    auto *editor = openList("Phone", {"home"});
    editor->addPressed();
    editor->cancelButton()->click();
    EXPECT_EQ(m_context->dirty, false);
    EXPECT_FALSE(m_context->value.isValid());
}

TEST_F(ListEditorTest, TabSkipsCellsWithoutTextAndStopsAfterOneRound)
{
    auto *accounts = openList("Instant Message", {"home", "work"});
    // Label and service are popups: from one username Tab goes to the next row's.
    EXPECT_EQ(accounts->nextTextCell(0, 2, false), (QPair<int, int>(1, 2)));
    EXPECT_EQ(accounts->nextTextCell(1, 2, false), (QPair<int, int>(0, 2)));
    EXPECT_EQ(accounts->nextTextCell(1, 2, true), (QPair<int, int>(0, 2)));

    auto *addresses = openList("Address", {"home"});
    EXPECT_EQ(addresses->nextTextCell(0, 6, false), (QPair<int, int>(0, 2)));
    auto *empty = openList("Phone", {});
    EXPECT_EQ(empty->nextTextCell(0, 1, false), std::nullopt);
}

TEST_F(ListEditorTest, ANewAddressJoinsOnlyAfterTheNestedDone)
{
    auto *editor = openList("Address", {"home", "work"});
    editor->addPressed();
    EXPECT_EQ(editor->table().size(), 2);
    ASSERT_TRUE(editor->isAddressViewShowing());
    EXPECT_EQ(m_nested->context()->labelIndex, -1);
    m_nested->cancelButton()->click();
    EXPECT_EQ(editor->table().size(), 2);
    EXPECT_FALSE(editor->isAddressViewShowing());

    editor->addPressed();
    m_nested->setStreet("1 Main St");
    m_nested->doneButton()->click();
    ASSERT_EQ(editor->table().size(), 3);
    const QVariantMap added = editor->table().last().toMap();
    EXPECT_EQ(added.value("Street").toString(), "1 Main St");
    EXPECT_EQ(added.value("labelIndex").toInt(), 2);
    EXPECT_TRUE(editor->doneButton()->isEnabled());
}

TEST_F(ListEditorTest, TheNestedResultGoesBackToItsRow)
{
    auto *editor = openList("Address", {"home", "work", "other"});
    editor->tableView()->selectRow(2);
    editor->deletePressed();
    ASSERT_TRUE(editor->openAddressRow(1));
    EXPECT_FALSE(editor->openAddressRow(0));
    EXPECT_EQ(m_nested->context()->labelIndex, 1);
    m_nested->setStreet("2 Side St");
    m_nested->doneButton()->click();
    EXPECT_EQ(valuesOf(editor->table(), "Street"), (QVariantList{QVariant(), "2 Side St"}));
    EXPECT_EQ(editor->table().at(1).toMap().value("label").toString(), "other");
    EXPECT_EQ(editor->table().at(1).toMap().value("labelIndex").toInt(), 1);
    EXPECT_EQ(editor->addressField()->text(), editor->table().at(1).toMap().value("stringValue").toString());
}

TEST_F(ListEditorTest, WithoutANestedEditorAddressesStayAsTheyAre)
{
    MultiValueViewController::setNestedEditorFactory({});
    auto *editor = openList("Address", {"home"});
    editor->addPressed();
    EXPECT_FALSE(editor->openAddressRow(0));
    EXPECT_EQ(editor->table().size(), 1);
    EXPECT_FALSE(editor->doneButton()->isEnabled());
}

TEST_F(ListEditorTest, CellsWriteTheKindsKeys)
{
    auto *profiles = openList("Social Network", {"Twitter"});
    profiles->setCellText(0, 1, "ann");
    profiles->setLabel(0, "Facebook");
    QVariantMap entry = profiles->table().first().toMap();
    EXPECT_EQ(entry.value("value").toString(), "ann");
    EXPECT_EQ(entry.value(StoreValueKey::Username).toString(), "ann");
    EXPECT_EQ(entry.value(StoreValueKey::Service).toString(), "Facebook");

    auto *addresses = openList("Address", {"home"});
    addresses->setCountryCode(0, "JP");
    EXPECT_EQ(addresses->table().first().toMap().value(StoreValueKey::ISOCountryCode).toString(), "JP");
    addresses->setCountryCode(0, QString());
    EXPECT_FALSE(addresses->table().first().toMap().contains(StoreValueKey::ISOCountryCode));
}

} // namespace

namespace {

TEST_F(ListEditorTest, RowsGrowWithTheFontAndWithTheLinesOfAnAddress)
{
    auto *editor = openList("Address", {"home"});
    EXPECT_EQ(editor->rowHeight(), 20.0);
    QFont large;
    large.setPixelSize(40);
    editor->setSelectedFont(large);
    EXPECT_GT(editor->rowHeight(), 40.0);
    editor->setCellText(0, 5, "1 Main St\nFlat 2\nBack door");
    EXPECT_EQ(editor->tableView()->rowHeight(0), int(3 * (editor->rowHeight() - 2)));
}

} // namespace
