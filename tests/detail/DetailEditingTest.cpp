#include "DetailEditingFixture.h"

#include "editors/ValueEditor.h"
#include "ui/widgets/DetailPopupAndTextCell.h"

#include <QComboBox>
#include <QTest>

namespace {

using Action = DetailTableEditing::Action;

struct ClickCase
{
    const char *type;
    const char *valueType;
    bool labelColumn;
    bool editState;
    bool command;
    bool cellTextEmpty;
    Action expected;
};

void PrintTo(const ClickCase &c, std::ostream *os)
{
    *os << c.type << (c.labelColumn ? " label" : " value") << (c.editState ? " editing" : " locked")
        << (c.command ? " ctrl" : "") << (c.cellTextEmpty ? " empty" : " text");
}

constexpr const char *Labeled = "Labeled Value";
constexpr const char *String = "String Value";
constexpr const char *Dictionary = "Dictionary Value";

} // namespace

class DoubleClickTest : public ::testing::TestWithParam<ClickCase>
{
};

TEST_P(DoubleClickTest, DecidesByKindStateColumnAndCtrl)
{
    const ClickCase &c = GetParam();
    DetailTableEditing::Click click;
    click.type = QString::fromLatin1(c.type);
    click.valueType = QString::fromLatin1(c.valueType);
    click.labelColumn = c.labelColumn;
    click.editState = c.editState;
    click.command = c.command;
    click.cellTextEmpty = c.cellTextEmpty;
    EXPECT_EQ(DetailTableEditing::actionForClick(click), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DoubleClickTest,
    ::testing::Values(
        // Ctrl opens the whole list (or the date editor) whatever the state and column.
        ClickCase{"Phone", Labeled, false, false, true, false, Action::ListEditor},
        ClickCase{"Phone", Labeled, true, false, true, false, Action::ListEditor},
        ClickCase{"Birthday", Dictionary, false, false, true, false, Action::DateEditor},
        ClickCase{"Company", String, false, true, true, false, Action::EditInPlace},
        // Locked: value column, filled cells of the kinds with editors only.
        ClickCase{"Phone", Labeled, false, false, false, false, Action::Nothing},
        ClickCase{"Address", Labeled, false, false, false, true, Action::Nothing},
        ClickCase{"Address", Labeled, false, false, false, false, Action::AddressEditor},
        ClickCase{"Address", Labeled, true, false, false, false, Action::Nothing},
        ClickCase{"Instant Message", Labeled, false, false, false, false, Action::InstantMessageEditor},
        ClickCase{"Social Network", Labeled, false, false, false, false, Action::SocialProfileEditor},
        ClickCase{"Dates", Labeled, false, false, false, false, Action::DateEditor},
        ClickCase{"Company", String, false, false, false, false, Action::Nothing},
        // Editing, label column.
        ClickCase{"Phone", Labeled, true, true, false, false, Action::ListEditor},
        ClickCase{"Birthday", Dictionary, true, true, false, false, Action::DateEditor},
        ClickCase{"Company", String, true, true, false, false, Action::Nothing},
        ClickCase{"Photo", "", true, true, false, true, Action::Nothing},
        // Editing, value column.
        ClickCase{"Photo", "", false, true, false, true, Action::Nothing},
        ClickCase{"Address", Labeled, false, true, false, true, Action::ListEditor},
        ClickCase{"Address", Labeled, false, true, false, false, Action::AddressEditor},
        ClickCase{"Instant Message", Labeled, false, true, false, true, Action::ListEditor},
        ClickCase{"Social Network", Labeled, false, true, false, false, Action::SocialProfileEditor},
        ClickCase{"Dates", Labeled, false, true, false, true, Action::DateEditor},
        ClickCase{"Name", Dictionary, false, true, false, true, Action::EditInPlace},
        ClickCase{"Phonetic Name", Dictionary, false, true, false, false, Action::EditInPlace},
        ClickCase{"Name Ordering", "", false, true, false, false, Action::Nothing},
        ClickCase{"Name Display", "", false, true, false, false, Action::Nothing},
        ClickCase{"Email", Labeled, false, true, false, true, Action::ListEditor},
        ClickCase{"Email", Labeled, false, true, false, false, Action::EditInPlace},
        ClickCase{"Member No", Labeled, false, true, false, false, Action::EditInPlace},
        ClickCase{"Note", String, false, true, false, true, Action::EditInPlace},
        ClickCase{"Groups", "", false, true, false, false, Action::Nothing}));

// --- through the pane and a popover host ----------------------------------------------------

TEST_F(DetailEditingTest, DoubleClickOpensEditorsInThePanesPopoverOrEditsInPlace)
{
    editing().tableViewDoubleAction(rowOf(QStringLiteral("Phone"), 1), 1, Qt::NoModifier);
    ASSERT_TRUE(editing().inPlaceEditor());
    EXPECT_EQ(editing().inPlaceEditor()->text(), QStringLiteral("222"));
    EXPECT_EQ(editing().inPlaceEditor()->textCursor().selectedText(), QStringLiteral("222"));
    editing().endInPlaceEdit();
    EXPECT_EQ(m_funnel.updates, 0);

    editing().tableViewDoubleAction(rowOf(QStringLiteral("Address")), 1, Qt::NoModifier);
    ASSERT_TRUE(m_pane->popover());
    EXPECT_EQ(m_pane->popover()->contentSize(), QSize(340, 460));
    editing().tableViewDoubleAction(rowOf(QStringLiteral("Phone")), 1, Qt::ControlModifier);
    EXPECT_EQ(m_pane->popover()->contentSize(), QSize(360, 260));
    const EditorContextPtr context = m_editors.contextInfo(m_pane->popover()->contentWidget());
    ASSERT_TRUE(context);
    EXPECT_EQ(context->type, QStringLiteral("Phone"));
    EXPECT_TRUE(context->editEnabled);

    // Without an edit delegate a double-click does nothing.
    m_pane->popover()->close();
    m_pane->setEditDelegate(nullptr);
    m_pane->setDelegate(nullptr);
    editing().tableViewDoubleAction(rowOf(QStringLiteral("Company")), 1, Qt::NoModifier);
    EXPECT_FALSE(editing().inPlaceEditor());
}

TEST_F(DetailEditingTest, LockedTableOpensEditorsReadOnly)
{
    table().setEditState(false);
    table().updateTable();
    editing().tableViewDoubleAction(rowOf(QStringLiteral("Phone")), 1, Qt::NoModifier);
    EXPECT_FALSE(m_pane->popover());
    EXPECT_FALSE(editing().inPlaceEditor());
    editing().tableViewDoubleAction(rowOf(QStringLiteral("Phone")), 1, Qt::ControlModifier);
    ASSERT_TRUE(m_pane->popover());
    auto *editor = qobject_cast<ValueEditor *>(m_pane->popover()->contentWidget());
    ASSERT_TRUE(editor);
    EXPECT_FALSE(editor->isEditable());
}

TEST_F(DetailEditingTest, PopoverHostGetsTheSameEditingThroughItsOwnSender)
{
    TestPopoverHost host;
    host.delegate = &m_funnel;
    DetailTableController popoverTable(host, defaults());
    host.table = &popoverTable;
    popoverTable.tableView()->resize(450, 640);
    popoverTable.tableView()->show();
    popoverTable.setContact(m_row);
    QCoreApplication::processEvents();

    const int company = firstRowOf(popoverTable.table(), QStringLiteral("Company"));
    popoverTable.editing().tableViewDoubleAction(company, 1, Qt::NoModifier);
    ASSERT_TRUE(popoverTable.editing().inPlaceEditor());
    popoverTable.editing().inPlaceEditor()->setPlainText(QStringLiteral("Globex"));
    popoverTable.editing().endInPlaceEdit();
    EXPECT_EQ(record().stringValueForIdentifier(QStringLiteral("Company")), QStringLiteral("Globex"));
    EXPECT_EQ(host.updates, 1);

    // The popover's menu differs from the pane's over the label column and on an empty phone list.
    QMenu menu;
    popoverTable.itemCommands().menuNeedsUpdate(&menu, firstRowOf(popoverTable.table(), QStringLiteral("Phone")), 0);
    EXPECT_FALSE(menu.isEmpty());
    EXPECT_TRUE(menuTitles(rowOf(QStringLiteral("Phone")), 0).isEmpty());
}

// --- commits --------------------------------------------------------------------------------

TEST_F(DetailEditingTest, InPlaceEditAfterADeleteChangesTheEntryOfItsOwnLabelIndex)
{
    ASSERT_TRUE(m_funnel.undoDeleteLabeledValueForIdentifier(QStringLiteral("Phone"), 0, m_row, nullptr));
    m_funnel.book.undoManager()->closeAutomaticGroup();
    table().updateTable();
    ASSERT_EQ(phones(), (QStringList{QStringLiteral("222"), QStringLiteral("333")}));

    // The second phone row now holds the entry of label index 2, at position 1.
    const int second = rowOf(QStringLiteral("Phone"), 1);
    ASSERT_EQ(table().table().at(second)->labelIndex, 2);
    ASSERT_TRUE(editing().editRowInPlace(second));
    editing().inPlaceEditor()->setPlainText(QStringLiteral("999"));
    editing().endInPlaceEdit();
    EXPECT_EQ(phones(), (QStringList{QStringLiteral("222"), QStringLiteral("999")}));
    EXPECT_EQ(m_funnel.updates, 1);
    EXPECT_EQ(table().selectedRows(), QList<int>{second});

    m_funnel.book.undoManager()->undo();
    EXPECT_EQ(phones(), (QStringList{QStringLiteral("222"), QStringLiteral("333")}));
}

TEST_F(DetailEditingTest, UnchangedTextsWriteNothingAndEscapeGivesTheEditUp)
{
    editing().editRowInPlace(rowOf(QStringLiteral("Name")));
    editing().endInPlaceEdit();
    editing().editRowInPlace(rowOf(QStringLiteral("Company")));
    QTest::keyClicks(editing().inPlaceEditor(), QStringLiteral("Globex"));
    QTest::keyClick(editing().inPlaceEditor(), Qt::Key_Escape);
    EXPECT_FALSE(editing().inPlaceEditor());
    EXPECT_EQ(record().stringValueForIdentifier(QStringLiteral("Company")), QStringLiteral("Acme"));
    EXPECT_FALSE(m_funnel.book.undoManager()->canUndo());
    EXPECT_EQ(m_funnel.updates, 0);
}

TEST_F(DetailEditingTest, NamePartsAndANoteOfSeveralLinesAreEditedInPlace)
{
    editing().editRowInPlace(rowOf(QStringLiteral("Name"), 1));
    editing().inPlaceEditor()->setPlainText(QStringLiteral("Q."));
    editing().endInPlaceEdit();
    EXPECT_EQ(record().nameValue().value(QStringLiteral("MiddleName")).toString(), QStringLiteral("Q."));

    m_funnel.undoReplaceValue(QStringLiteral("one\ntwo"), QStringLiteral("Note"), m_row, nullptr);
    editing().editRowInPlace(rowOf(QStringLiteral("Note")));
    EXPECT_EQ(editing().inPlaceEditor()->text(), QStringLiteral("one\ntwo"));
    editing().inPlaceEditor()->setPlainText(QStringLiteral("one\ntwo\nthree"));
    editing().endInPlaceEdit();
    EXPECT_EQ(record().stringValueForIdentifier(QStringLiteral("Note")), QStringLiteral("one\ntwo\nthree"));
}

TEST_F(DetailEditingTest, LabelChosenInJapaneseIsStoredAsTheStoredLabel)
{
    Localizer::shared().setPreferredLanguages({QStringLiteral("ja")});
    table().updateTable();
    const int row = rowOf(QStringLiteral("Phone"), 1);
    auto *cell = qobject_cast<DetailPopupAndTextCell *>(table().cellView(row, 1));
    ASSERT_TRUE(cell);
    QComboBox *popup = cell->labelPopup();
    const int home = popup->findData(QStringLiteral("home"));
    ASSERT_GE(home, 0);
    // Whatever the translation shows, the record keeps the label itself.
    popup->setItemText(home, QStringLiteral("自宅"));
    emit popup->activated(home);
    Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
    EXPECT_EQ(record().labeledValueForIdentifierAtLabelIndex(QStringLiteral("Phone"), 1)->value(PersonKey::Label),
              QStringLiteral("home"));
    EXPECT_EQ(m_funnel.updates, 1);

    // The label it has already: nothing.
    auto *again = qobject_cast<DetailPopupAndTextCell *>(table().cellView(row, 1));
    emit again->labelPopup()->activated(again->labelPopup()->findData(QStringLiteral("home")));
    EXPECT_EQ(m_funnel.updates, 1);
}

TEST_F(DetailEditingTest, NameDisplayPopupChoosesCompanyByItsPlace)
{
    auto *popup = qobject_cast<QComboBox *>(table().cellView(rowOf(QStringLiteral("Name Display")), 1));
    ASSERT_TRUE(popup);
    emit popup->activated(1);
    EXPECT_FALSE(record().nameValue().value(PersonKey::ShowAsPerson).toBool());
}

// --- Return and Tab -------------------------------------------------------------------------

TEST_F(DetailEditingTest, ReturnAndTabSkipEditorRowsAndPlaceholdersAndWrapToTheFirstName)
{
    // Tab from the first name goes to the middle name.
    const int first = rowOf(QStringLiteral("Name"));
    editing().editRowInPlace(first);
    QTest::keyClick(editing().inPlaceEditor(), Qt::Key_Tab);
    EXPECT_EQ(editing().editedRow(), first + 1);

    // Every stop is a row that takes an edit in place; the walk wraps to the first name.
    QList<int> stops;
    for (int i = 0; i < 40 && editing().editedRow() != first; ++i) {
        QTest::keyClick(editing().inPlaceEditor(), Qt::Key_Return);
        stops.append(editing().editedRow());
    }
    EXPECT_EQ(stops.last(), first);
    const QStringList skipped{QStringLiteral("Photo"),   QStringLiteral("Groups"),  QStringLiteral("Name Ordering"),
                              QStringLiteral("Name Display"), QStringLiteral("Address"), QStringLiteral("Birthday"),
                              QStringLiteral("Dates"),   QStringLiteral("Instant Message")};
    for (int row : stops) {
        const DetailRow &detailRow = *table().table().at(row);
        EXPECT_FALSE(skipped.contains(detailRow.type)) << detailRow.type.toStdString();
        if (detailRow.type == QLatin1String("URL") || detailRow.type == QLatin1String("Social Network"))
            ADD_FAILURE() << "stopped on a placeholder row of " << detailRow.type.toStdString();
    }
    EXPECT_TRUE(stops.contains(rowOf(QStringLiteral("Email"), 1)));
    EXPECT_EQ(m_funnel.updates, 0);
}

// The write may re-sort the grid, whose selection then hands the pane another contact, or a row of
// its own of the same one, before or after the walk opens the next field.
TEST_F(DetailEditingTest, ReturnAndTabWalkOnlyInTheContactJustEdited)
{
    const SubContactRowPtr other = rowFor(DetailTest::person(QStringLiteral("Zed"), QStringLiteral("Test")));
    const QVariantMap otherName = other->person->nameValue();
    m_funnel.refresh = [this, other] { m_pane->setContact(other); };
    doubleClickValue(QStringLiteral("Name"));
    QTest::keyClicks(editing().inPlaceEditor(), QStringLiteral("Aaron"));
    QTest::keyClick(editing().inPlaceEditor(), Qt::Key_Tab);
    EXPECT_EQ(record().nameValue().value(PersonKey::FirstName).toString(), QStringLiteral("Aaron"));
    EXPECT_FALSE(editing().inPlaceEditor());
    // The next keys go where the focus is.
    QWidget *focused = m_pane->view()->focusWidget();
    ASSERT_TRUE(focused);
    QTest::keyClicks(focused, QStringLiteral("Bo"));
    QTest::keyClick(focused, Qt::Key_Return);
    EXPECT_TRUE(other->person->nameValue() == otherName);

    const auto again = std::make_shared<SubContactRow>(*m_row);
    m_funnel.refresh = [this, again] { m_pane->setContact(again); };
    m_pane->setContact(m_row);
    doubleClickValue(QStringLiteral("Name"));
    QTest::keyClicks(editing().inPlaceEditor(), QStringLiteral("Ann"));
    QTest::keyClick(editing().inPlaceEditor(), Qt::Key_Return);
    EXPECT_EQ(editing().editedRow(), rowOf(QStringLiteral("Name"), 1));
    m_pane->setContact(m_row);
    ASSERT_TRUE(editing().inPlaceEditor());
    QTest::keyClicks(editing().inPlaceEditor(), QStringLiteral("Q."));
    QTest::keyClick(editing().inPlaceEditor(), Qt::Key_Return);
    EXPECT_EQ(record().nameValue().value(PersonKey::MiddleName).toString(), QStringLiteral("Q."));
}

TEST_F(DetailEditingTest, AFullPassWithNothingEditableLeavesTheEditWhereItIs)
{
    defaults().setObject(QStringList{QStringLiteral("Photo"), QStringLiteral("Note"), QStringLiteral("Address")},
                         QStringLiteral("QN1DlastRowOrder"));
    DetailTableController other(*m_pane, defaults());
    other.setContact(m_row);
    ASSERT_EQ(other.table().size(), 3);
    EXPECT_EQ(other.editing().nextEditableRow(1), 1);
    EXPECT_EQ(other.editing().nextEditableRow(0), 1);

    defaults().setObject(QStringList{QStringLiteral("Photo"), QStringLiteral("Address")},
                         QStringLiteral("QN1DlastRowOrder"));
    DetailTableController none(*m_pane, defaults());
    none.setContact(m_row);
    EXPECT_EQ(none.editing().nextEditableRow(0), std::nullopt);
}

// --- editors' results -----------------------------------------------------------------------

TEST_F(DetailEditingTest, EditorResultsAreWrittenBackWhenThePopoverCloses)
{
    DetailEditorPresenter &presenter = table().editorPresenter();
    const auto closeWith = [this](const QVariant &value, std::optional<bool> dirty) {
        Popover *popover = m_pane->popover();
        const EditorContextPtr context = m_editors.contextInfo(popover->contentWidget());
        context->value = value;
        context->dirty = dirty;
        popover->close();
        QCoreApplication::processEvents();
    };

    // A new address (label index -1) is added once.
    presenter.showAddressPopover(QStringLiteral("Address"), -1, {});
    closeWith(QVariantMap{{PersonKey::Label, QStringLiteral("work")},
                          {PersonKey::Street, QStringLiteral("2 Elm St")},
                          {PersonKey::LabelIndex, -1}},
              true);
    EXPECT_EQ(record().labeledValueForIdentifier(QStringLiteral("Address")).size(), 2);
    EXPECT_EQ(m_funnel.updates, 1);
    EXPECT_FALSE(m_pane->popover());

    // Cancel writes nothing.
    presenter.showMultiValuePopover(QStringLiteral("Phone"), 0, {});
    closeWith(QVariantList{}, false);
    EXPECT_EQ(phones().size(), 3);

    // A cleared birthday reaches the funnel as nil and removes it.
    presenter.showDatePopover(QStringLiteral("Birthday"), -1, {});
    closeWith(QVariant(), true);
    EXPECT_FALSE(record().birthdayValue().has_value() &&
                 !record().birthdayValue()->value(PersonKey::StringValue).toString().isEmpty());
    EXPECT_EQ(m_funnel.updates, 2);

    // Any other type opens nothing.
    presenter.showDatePopover(QStringLiteral("Phone"), 0, {});
    EXPECT_FALSE(m_pane->popover());
}

TEST_F(DetailEditingTest, ARealDoubleClickOnATextCellReachesTheTable)
{
    doubleClickValue(QStringLiteral("Company"));
    ASSERT_TRUE(editing().inPlaceEditor());
    EXPECT_EQ(editing().inPlaceEditor()->text(), QStringLiteral("Acme"));
    QTest::keyClicks(editing().inPlaceEditor(), QStringLiteral("Globex"));
    QTest::keyClick(editing().inPlaceEditor(), Qt::Key_Return);
    EXPECT_EQ(record().stringValueForIdentifier(QStringLiteral("Company")), QStringLiteral("Globex"));
    // Return carried the edit on to the next row that takes one.
    EXPECT_EQ(editing().editedRow(), rowOf(QStringLiteral("Phonetic Name")));
}

TEST_F(DetailEditingTest, AnOpenEditEndsOnItsOwnContactWhenAnotherIsShown)
{
    editing().editRowInPlace(rowOf(QStringLiteral("Company")));
    editing().inPlaceEditor()->setPlainText(QStringLiteral("Globex"));
    const SubContactRowPtr other = rowFor(DetailTest::person(QStringLiteral("Bob"), QStringLiteral("Roe")));
    m_pane->setContact(other);
    EXPECT_FALSE(editing().inPlaceEditor());
    EXPECT_EQ(record().stringValueForIdentifier(QStringLiteral("Company")), QStringLiteral("Globex"));
    EXPECT_TRUE(other->person->stringValueForIdentifier(QStringLiteral("Company")).isEmpty());
}

// A contact gone from the shown table (deleted, its paste undone) must take no edit that no Save
// would write: what is being typed, or waits in an editor, is dropped with it.
TEST_F(DetailEditingTest, AContactThatLeavesTheTableTakesNoPendingEditAndLeavesThePane)
{
    doubleClickValue(QStringLiteral("Company"));
    ASSERT_TRUE(editing().inPlaceEditor());
    QTest::keyClicks(editing().inPlaceEditor(), QStringLiteral("Globex"));

    m_pane->contactsDidLeave({QStringLiteral("someone else")});
    ASSERT_TRUE(editing().inPlaceEditor());
    m_pane->contactsDidLeave({m_row->uniqueId});
    EXPECT_FALSE(editing().inPlaceEditor());
    EXPECT_EQ(record().stringValueForIdentifier(QStringLiteral("Company")), QStringLiteral("Acme"));
    EXPECT_FALSE(m_pane->contact());
    EXPECT_EQ(table().tableView()->model()->rowCount(), 0);
    EXPECT_EQ(m_funnel.updates, 0);

    // An editor done with its list, closing only now, writes nothing either.
    m_pane->setContact(m_row);
    table().editorPresenter().showMultiValuePopover(QStringLiteral("Phone"), 0, {});
    ASSERT_TRUE(m_pane->popover());
    const EditorContextPtr context = m_editors.contextInfo(m_pane->popover()->contentWidget());
    context->value = QVariantList{};
    context->dirty = true;
    m_pane->contactsDidLeave({m_row->uniqueId});
    QCoreApplication::processEvents();
    EXPECT_FALSE(m_pane->popover());
    EXPECT_EQ(phones().size(), 3);
    EXPECT_FALSE(m_funnel.book.undoManager()->canUndo());
}

// The text document keeps one kind of line end and a plain-text copy of it has no no-break
// spaces: confirmed unchanged, the editor writes nothing; edited elsewhere, what was not touched
// is written as it was stored.
TEST_F(DetailEditingTest, NoBreakSpacesAndCrLfLineEndsSurviveTheInPlaceEditor)
{
    const QString company = QStringLiteral("Jean\u00A0Paul");
    const QString note = QStringLiteral("Call Jean\u00A0Paul\r\nabout the lease\r\nor\u00A0not");
    record().setValue(company, QStringLiteral("Company"));
    record().setValue(note, QStringLiteral("Note"));
    m_pane->updateTable();
    const auto confirm = [this](const QString &type, Qt::Key key, const QString &typed) {
        doubleClickValue(type);
        ASSERT_TRUE(editing().inPlaceEditor());
        QTest::keyClick(editing().inPlaceEditor(), key, Qt::ControlModifier);
        QTest::keyClicks(editing().inPlaceEditor(), typed);
        QTest::keyClick(editing().inPlaceEditor(), Qt::Key_Return);
        editing().cancelInPlaceEdit();
    };

    confirm(QStringLiteral("Company"), Qt::Key_Home, QString());
    confirm(QStringLiteral("Note"), Qt::Key_Home, QString());
    EXPECT_EQ(record().stringValueForIdentifier(QStringLiteral("Company")), company);
    EXPECT_EQ(record().stringValueForIdentifier(QStringLiteral("Note")), note);
    EXPECT_EQ(m_funnel.updates, 0);
    EXPECT_FALSE(m_funnel.book.undoManager()->canUndo());

    confirm(QStringLiteral("Company"), Qt::Key_Home, QStringLiteral("M. "));
    confirm(QStringLiteral("Note"), Qt::Key_End, QStringLiteral("\u00A0(urgent)"));
    EXPECT_EQ(record().stringValueForIdentifier(QStringLiteral("Company")), QStringLiteral("M. ") + company);
    EXPECT_EQ(record().stringValueForIdentifier(QStringLiteral("Note")),
              note + QStringLiteral("\u00A0(urgent)"));
}
