#include "GridEditingFixture.h"

#include "editors/AddressViewController.h"
#include "editors/MultiValueViewController.h"
#include "grid/GridCommands.h"
#include "grid/GridMenus.h"
#include "ui/widgets/LabelPopup.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

class GridCellEditingTest : public GridEditingFixture
{
protected:
    // Alice, Bob, Hana and Kai, one phone number each, shown by name and phone.
    struct FourContacts
    {
        ContactRowPtr alice, bob, hana, kai;
    };
    FourContacts showFourWithPhones()
    {
        showColumns({"Name", "Phone"});
        FourContacts four{addWithPhones("Alice", {{"home", "100"}}), addWithPhones("Bob", {{"home", "200"}}),
                          addWithPhones("Hana", {{"home", "300"}}), addWithPhones("Kai", {{"home", "400"}})};
        showActive();
        return four;
    }

    ContactRowPtr addWith(const QString &name, const QString &identifier, const QList<Value> &entries)
    {
        const QNPersonPtr contact = person(name);
        setValues(contact, identifier, entries);
        return add(contact);
    }

    bool isEditingCell(int row, const QString &identifier) const
    {
        return table()->indexWidget(model()->index(row, column(identifier))) != nullptr;
    }

    QLineEdit *cellEditor() const
    {
        return qobject_cast<QLineEdit *>(table()->indexWidget(table()->currentIndex()));
    }

    // Press, release, double-click and release on the cell's text, as the mouse sends them.
    void doubleClick(int row, const QString &identifier)
    {
        const QRect rect = cellRect(row, identifier);
        const QPoint text(rect.left() + rect.width() * 3 / 4, rect.center().y());
        QWidget *viewport = table()->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, text);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, text);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, text);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, text);
    }

    void click(int row, const QString &identifier, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, modifiers, cellRect(row, identifier).center());
    }

    // Keys go to the widget that has the focus: the cell's editor while one is open.
    static QLineEdit *focusedEditor() { return qobject_cast<QLineEdit *>(QApplication::focusWidget()); }
    static void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    static void type(const QString &text) { QTest::keyClicks(QApplication::focusWidget(), text); }

    // The commit follows the editor's end on a queued call.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    void showActive()
    {
        grid()->updateTable();
        m_view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_view.get()));
    }

    QModelIndex editedIndex() const
    {
        QLineEdit *editor = focusedEditor();
        return editor ? table()->indexAt(editor->geometry().center()) : QModelIndex();
    }
};

TEST_F(GridCellEditingTest, SeveralChosenRowsAskOnceThenTheInPlaceTextReachesThemAllInOneStep)
{
    showColumns({"Name", "Email"});
    QList<ContactRowPtr> contacts;
    for (const char *name : {"Ann", "Bob", "Cat", "Dan", "Eve", "Fay"})
        contacts.append(addWith(name, "Email", {{"home", QString(name).toLower() + "@x"}}));
    grid()->updateTable();
    grid()->selectRowIndexesWithContacts({contacts.at(2), contacts.at(5)});
    cellEditing()->doubleActionAt(column("Email"), 5);
    EXPECT_EQ(Alert::lastShown().messageText, "Do you want to set the same value in the selected rows");
    QCoreApplication::processEvents();

    ASSERT_TRUE(isEditingCell(5, "Email"));
    QLineEdit *field = cellEditor();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text(), "fay@x");
    field->setText("team@x");
    QTest::keyClick(field, Qt::Key_Return);
    // The editor commits on a queued call, and the commit follows on another.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();

    EXPECT_EQ(values(contacts.at(2), "Email"), QStringList{"team@x"});
    EXPECT_EQ(values(contacts.at(5), "Email"), QStringList{"team@x"});
    EXPECT_EQ(values(contacts.at(3), "Email"), QStringList{"dan@x"});
    EXPECT_FALSE(editors()->chosenRows().has_value());
    nextEvent();
    undoManager().undo();
    EXPECT_EQ(values(contacts.at(2), "Email"), QStringList{"cat@x"});
    EXPECT_EQ(values(contacts.at(5), "Email"), QStringList{"fay@x"});
}

TEST_F(GridCellEditingTest, EditStateOpensListEditorsForEmptyCellsAndWithCommand)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"home", "1"}});
    const ContactRowPtr bob = add(person("Bob"));
    grid()->updateTable();
    cellEditing()->doubleActionAt(column("Phone"), rowOf(bob));
    ASSERT_NE(popoverContent<MultiValueViewController>(), nullptr);
    grid()->popover()->close();

    m_modifiers = Qt::ControlModifier;
    cellEditing()->doubleActionAt(column("Phone"), rowOf(ann));
    EXPECT_NE(popoverContent<MultiValueViewController>(), nullptr);
    EXPECT_FALSE(isEditingCell(rowOf(ann), "Phone"));
}

TEST_F(GridCellEditingTest, TheLockedGridOpensEditorsReadOnlyAndEditsNoText)
{
    showColumns({"Name", "Address", "ZIP", "Company"});
    const QNPersonPtr contact = person("Ann");
    contact->setValue(QVariantList{QVariantMap{{"label", "home"}, {"ZIP", "123"}, {"City", "X"}}}, "Address");
    contact->setValue("Acme", "Company");
    const ContactRowPtr ann = add(contact);
    grid()->updateTable();
    grid()->setEditState(false);

    cellEditing()->doubleActionAt(column("Company"), rowOf(ann));
    EXPECT_EQ(grid()->popover(), nullptr);
    EXPECT_FALSE(isEditingCell(rowOf(ann), "Company"));
    cellEditing()->doubleActionAt(column("ZIP"), rowOf(ann));
    EXPECT_EQ(grid()->popover(), nullptr);

    cellEditing()->doubleActionAt(column("Address"), rowOf(ann));
    auto *address = popoverContent<AddressViewController>();
    ASSERT_NE(address, nullptr);
    EXPECT_FALSE(address->isEditable());
    grid()->popover()->close();

    m_modifiers = Qt::ControlModifier;
    cellEditing()->doubleActionAt(column("ZIP"), rowOf(ann));
    auto *list = popoverContent<MultiValueViewController>();
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->isEditable());
    cellEditing()->doubleActionAt(column("Company"), rowOf(ann));
    EXPECT_FALSE(isEditingCell(rowOf(ann), "Company"));
}

TEST_F(GridCellEditingTest, AStringIsEditedOnItsContactsFirstRowOnly)
{
    showColumns({"Name", "Phone", "Company"});
    const ContactRowPtr ann = addWithPhones("Ann", {{"home", "1"}, {"work", "2"}});
    ann->person->setValue("Acme", "Company");
    grid()->updateTable();
    cellEditing()->doubleActionAt(column("Company"), rowOf(ann, 1));
    EXPECT_FALSE(isEditingCell(rowOf(ann, 1), "Company"));
    cellEditing()->doubleActionAt(column("Company"), rowOf(ann, 0));
    EXPECT_TRUE(isEditingCell(rowOf(ann, 0), "Company"));
}

TEST_F(GridCellEditingTest, AnUnchangedTextWritesNothing)
{
    showColumns({"Name", "Company"});
    const ContactRowPtr ann = add(person("Ann"));
    ann->person->setValue("Acme", "Company");
    grid()->updateTable();
    editors()->setSelectedRowIndexes(QList<int>{rowOf(ann)});
    cellEditing()->textFieldCellChanged(rowOf(ann), column("Company"), "Acme");
    EXPECT_FALSE(undoManager().canUndo());
    EXPECT_FALSE(editors()->chosenRows().has_value());

    editors()->setSelectedRowIndexes(QList<int>{rowOf(ann)});
    cellEditing()->textFieldCellChanged(rowOf(ann), column("Company"), "Beta");
    EXPECT_EQ(ann->person->stringValueForIdentifier("Company"), "Beta");
}

TEST_F(GridCellEditingTest, ALabelChangeSkipsTheChosenRowWithoutAnEntry)
{
    showColumns({"Name", "Email"});
    const ContactRowPtr ann = addWith("Ann", "Email", {{"home", "ann@x"}});
    const ContactRowPtr bob = addWith("Bob", "Email", {{"home", "bob@x"}});
    const ContactRowPtr cat = add(person("Cat"));
    grid()->updateTable();
    grid()->selectRowIndexesWithContacts({ann, bob, cat});
    const LabelPopup popup("Email", "home", true);
    int work = -1;
    for (int item = 0; item < popup.items().size(); ++item) {
        if (popup.labelForItem(item) == QString("work"))
            work = item;
    }
    ASSERT_GE(work, 0);
    cellEditing()->popupLabelCellChanged(rowOf(ann), column("Email"), work);
    EXPECT_EQ(Alert::lastShown().messageText, "Do you want to set the same label in the selected rows");
    QCoreApplication::processEvents();

    EXPECT_EQ(values(ann, "Email", "label"), QStringList{"work"});
    EXPECT_EQ(values(bob, "Email", "label"), QStringList{"work"});
    EXPECT_TRUE(values(cat, "Email").isEmpty());
    EXPECT_TRUE(m_view->isDocumentEdited());
    nextEvent();
    undoManager().undo();
    EXPECT_EQ(values(ann, "Email", "label"), QStringList{"home"});
    EXPECT_EQ(values(bob, "Email", "label"), QStringList{"home"});
}

TEST_F(GridCellEditingTest, TheLockedGridsLabelPopupChangesNothing)
{
    showColumns({"Name", "Email"});
    const ContactRowPtr ann = addWith("Ann", "Email", {{"home", "ann@x"}});
    grid()->updateTable();
    grid()->setEditState(false);
    cellEditing()->popupLabelCellChanged(rowOf(ann), column("Email"), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(values(ann, "Email", "label"), QStringList{"home"});
    EXPECT_FALSE(undoManager().canUndo());
}

TEST_F(GridCellEditingTest, AnAddressPartsLabelGoesToTheRowsAddress)
{
    showColumns({"Name", "ZIP"});
    const QNPersonPtr contact = person("Ann");
    contact->setValue(QVariantList{QVariantMap{{"label", "home"}, {"ZIP", "123"}}}, "Address");
    const ContactRowPtr ann = add(contact);
    grid()->updateTable();
    const LabelPopup popup("Address", "home", true);
    int work = -1;
    for (int item = 0; item < popup.items().size(); ++item) {
        if (popup.labelForItem(item) == QString("work"))
            work = item;
    }
    cellEditing()->popupLabelCellChanged(rowOf(ann), column("ZIP"), work);
    EXPECT_EQ(values(ann, "Address", "label"), QStringList{"work"});
    EXPECT_EQ(values(ann, "Address", "ZIP"), QStringList{"123"});
}

// Each commit arrives after the next edit has begun and the selection has moved: it still goes to
// the row whose cell was edited.
TEST_F(GridCellEditingTest, ReturnAndClicksWriteEachTextToTheRowItWasTypedIn)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr alice = addWithPhones("Alice", {{"home", "100"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"home", "200"}});
    const ContactRowPtr hana = addWithPhones("Hana", {{"home", "300"}});
    showActive();

    doubleClick(rowOf(alice), "Phone");
    ASSERT_NE(focusedEditor(), nullptr);
    EXPECT_EQ(editedIndex(), model()->index(rowOf(alice), column("Phone")));
    press(Qt::Key_Return);
    settle();
    ASSERT_EQ(editedIndex(), model()->index(rowOf(bob), column("Phone")));
    type("555");
    press(Qt::Key_Return);
    settle();
    EXPECT_EQ(values(alice, "Phone"), QStringList{"100"});
    EXPECT_EQ(values(bob, "Phone"), QStringList{"555"});
    EXPECT_EQ(values(hana, "Phone"), QStringList{"300"});
    // The commit's reload did not end the edit that Return began.
    ASSERT_EQ(editedIndex(), model()->index(rowOf(hana), column("Phone")));
    EXPECT_EQ(focusedEditor()->selectedText(), "300");
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{rowOf(hana)});

    type("777");
    click(rowOf(alice), "Name");
    settle();
    EXPECT_EQ(values(hana, "Phone"), QStringList{"777"});
    EXPECT_EQ(values(alice, "Phone"), QStringList{"100"});
    // Bob's and Hana's commits wrote values; Alice's unchanged one did not.
    nextEvent();
    undoManager().undo();
    EXPECT_EQ(values(hana, "Phone"), QStringList{"300"});
    EXPECT_EQ(values(bob, "Phone"), QStringList{"555"});
}

TEST_F(GridCellEditingTest, TheEditThatTabOrReturnBeganGoesOnFromWhereTheReloadPutTheEditedRow)
{
    showColumns({"Name", "Phone", "Email"});
    const ContactRowPtr alice = addWithPhones("Alice", {{"home", "100"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"home", "200"}});
    const ContactRowPtr hana = addWithPhones("Hana", {{"home", "300"}});
    setValues(alice->person, "Email", {{"home", "alice@x"}});
    sortBy("Phone");
    showActive();

    doubleClick(rowOf(alice), "Phone");
    type("111");
    press(Qt::Key_Tab);
    settle();
    EXPECT_EQ(values(alice, "Phone"), QStringList{"111"});
    ASSERT_EQ(editedIndex(), model()->index(rowOf(alice), column("Email")));
    EXPECT_EQ(focusedEditor()->selectedText(), "alice@x");
    press(Qt::Key_Escape);

    // Bob's new number sorts him last: Return goes on with Hana, who was below him, and keeps
    // what was typed.
    doubleClick(rowOf(bob), "Phone");
    type("999");
    press(Qt::Key_Return);
    type("3");
    settle();
    EXPECT_EQ(values(bob, "Phone"), QStringList{"999"});
    ASSERT_EQ(rowOf(bob), 2);
    ASSERT_EQ(editedIndex(), model()->index(rowOf(hana), column("Phone")));
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{rowOf(hana)});
    EXPECT_EQ(focusedEditor()->text(), "3");
    press(Qt::Key_Return);
    settle();
    EXPECT_EQ(values(hana, "Phone"), QStringList{"3"});
    EXPECT_EQ(values(alice, "Phone"), QStringList{"111"});
}

// Typing down a column under a value sort keeps to the order the user saw: Return goes on with
// the row that was below the edited one, wherever the re-sort put either, and the selection and
// the detail pane go with it.
TEST_F(GridCellEditingTest, ReturnAfterAnEditThatReSortsGoesOnWithTheRowThatWasBelow)
{
    showColumns({"Name", "Email", "Phone"});
    const ContactRowPtr anna = addWith("Anna", "Email", {{"home", "anna@x"}});
    const ContactRowPtr bjorn = addWith("Björn", "Email", {{"home", "bjorn@x"}});
    const ContactRowPtr karl = addWith("Karl", "Email", {{"home", "karl@x"}});
    const ContactRowPtr soren = addWith("Søren", "Email", {{"home", "soren@x"}});
    addWith("Ulla", "Email", {{"home", "ulla@x"}});
    setValues(soren->person, "Phone", {{"home", "300"}});
    sortBy("Email");
    showActive();
    qsizetype toldBefore = 0;
    const auto returnAfter = [&](const QString &text, Qt::Key key = Qt::Key_Return) {
        type(text);
        toldBefore = m_editing.selections.size();
        press(key);
        settle();
    };
    // The detail pane was last told of the edited contact, and of no other since the key.
    const auto expectEditing = [&](const ContactRowPtr &contact, const QString &identifier,
                                   const QString &text) {
        const int row = rowOf(contact);
        ASSERT_EQ(editedIndex(), model()->index(row, column(identifier)));
        EXPECT_EQ(focusedEditor()->selectedText(), text);
        EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{row});
        const QString name = contact->person->compositeName();
        for (qsizetype i = toldBefore; i < m_editing.selections.size(); ++i)
            EXPECT_EQ(m_editing.selections.at(i)->person->compositeName(), name);
        ASSERT_FALSE(m_editing.selections.isEmpty());
        EXPECT_EQ(m_editing.selections.last()->person->compositeName(), name);
    };

    // Björn now sorts below Søren; Karl was below him.
    doubleClick(rowOf(bjorn), "Email");
    returnAfter("tom@x");
    ASSERT_EQ(rowOf(bjorn), 3);
    expectEditing(karl, "Email", "karl@x");
    // Karl now sorts last: no wrap from there to the top, Søren was below him.
    returnAfter("zed@x");
    ASSERT_EQ(rowOf(karl), 4);
    expectEditing(soren, "Email", "soren@x");
    // Tab goes on in the edited row, wherever it now stands.
    returnAfter("aaa@x", Qt::Key_Tab);
    ASSERT_EQ(rowOf(soren), 0);
    expectEditing(soren, "Phone", "300");
    press(Qt::Key_Escape);
    // The last row was followed by the top one.
    doubleClick(rowOf(karl), "Email");
    returnAfter("b@x");
    ASSERT_EQ(rowOf(karl), 2);
    expectEditing(soren, "Email", "aaa@x");
    EXPECT_EQ(values(anna, "Email"), QStringList{"anna@x"});
}

// Under the name sort too: the grid and the detail pane stay on the renamed company, and Tab goes
// on in its row.
TEST_F(GridCellEditingTest, AnEditThatReSortsTheGridKeepsItsContactChosen)
{
    showColumns({"Name", "Company", "Phone"});
    addWithPhones("Bob", {{"home", "200"}});
    addWithPhones("Cid", {{"home", "300"}});
    const ContactRowPtr firm = addWithPhones("", {{"work", "900"}});
    firm->person->setValue(QVariantMap{{PersonKey::ShowAsPerson, false}}, PersonIdentifier::Name);
    firm->person->setValue(QStringLiteral("Zed"), QStringLiteral("Company"));
    showActive();
    ASSERT_EQ(rowOf(firm), 2);
    click(2, "Name");
    const qsizetype told = m_editing.selections.size();
    doubleClick(2, "Company");
    type("Aaron");
    press(Qt::Key_Tab);
    settle();
    ASSERT_EQ(rowOf(firm), 0);
    EXPECT_EQ(table()->selectedRowIndexes(), QList<int>{0});
    EXPECT_EQ(editedIndex(), model()->index(0, column("Phone")));
    for (qsizetype i = told; i < m_editing.selections.size(); ++i)
        EXPECT_EQ(m_editing.selections.at(i)->uniqueId, firm->uniqueId);
}

TEST_F(GridCellEditingTest, ADoubleClickOnOneOfTheSelectedRowsKeepsThemForTheSameValue)
{
    showColumns({"Name", "Phone"});
    const ContactRowPtr alice = addWithPhones("Alice", {{"home", "100"}});
    const ContactRowPtr bob = addWithPhones("Bob", {{"home", "200"}});
    const ContactRowPtr hana = addWithPhones("Hana", {{"home", "300"}});
    const ContactRowPtr kai = addWithPhones("Kai", {{"home", "400"}});
    showActive();
    click(rowOf(alice), "Name");
    click(rowOf(hana), "Name", Qt::ShiftModifier);
    const QList<int> selected{0, 1, 2};
    ASSERT_EQ(table()->selectedRowIndexes(), selected);

    doubleClick(rowOf(bob), "Phone");
    EXPECT_EQ(Alert::lastShown().messageText, "Do you want to set the same value in the selected rows");
    // Past the double-click time the selection still stands.
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_EQ(table()->selectedRowIndexes(), selected);
    ASSERT_EQ(editedIndex(), model()->index(rowOf(bob), column("Phone")));
    type("555");
    press(Qt::Key_Return);
    settle();
    for (const ContactRowPtr &contact : {alice, bob, hana})
        EXPECT_EQ(values(contact, "Phone"), QStringList{"555"});
    EXPECT_EQ(values(kai, "Phone"), QStringList{"400"});
    press(Qt::Key_Escape);
    nextEvent();
    undoManager().undo();
    EXPECT_EQ(values(alice, "Phone"), QStringList{"100"});
    EXPECT_EQ(values(hana, "Phone"), QStringList{"300"});

    // A single click on one of them selects it alone once no second click came.
    grid()->selectRowIndexesWithContacts({alice, bob, hana});
    click(rowOf(bob), "Name");
    EXPECT_EQ(table()->selectedRowIndexes(), selected);
    EXPECT_TRUE(QTest::qWaitFor([&] { return table()->selectedRowIndexes() == QList<int>{rowOf(bob)}; }));
}

// The grid re-sorts under an open editor: its result still goes to the contacts it was opened on,
// and one deleted meanwhile takes nothing.
TEST_F(GridCellEditingTest, AnOpenEditorsResultReachesTheContactsItWasOpenedOn)
{
    const auto [alice, bob, hana, kai] = showFourWithPhones();
    click(rowOf(bob), "Name");
    click(rowOf(kai), "Name", Qt::ControlModifier);
    m_modifiers = Qt::ControlModifier;
    doubleClick(rowOf(bob), "Phone");
    ASSERT_TRUE(QTest::qWaitFor([&] { return popoverContent<MultiValueViewController>() != nullptr; }));

    QVariantMap name = hana->person->nameValue();
    name.insert("FirstName", "Abe");
    ASSERT_TRUE(m_view->undoReplaceNameValue(name, hana));
    kai->deleted = true;
    grid()->updateTable();
    ASSERT_EQ(rowOf(hana), 0);
    popoverContent<MultiValueViewController>()->setCellText(0, 1, "555");
    QTest::mouseClick(popoverContent<MultiValueViewController>()->doneButton(), Qt::LeftButton);
    EXPECT_EQ(values(bob, "Phone"), QStringList{"555"});
    EXPECT_EQ(values(alice, "Phone"), QStringList{"100"});
    EXPECT_EQ(values(kai, "Phone"), QStringList{"400"});
}

// The grid reloads and re-sorts while the question about several rows waits: the edit the answer
// opens is the clicked contact's, and it reaches the chosen contacts that remain, not the rows that
// now hold their numbers.
TEST_F(GridCellEditingTest, TheSameValueQuestionsAnswerReachesTheChosenContactsAfterAReload)
{
    const auto [alice, bob, hana, kai] = showFourWithPhones();
    const auto rename = [this](const ContactRowPtr &contact, const QString &first) {
        QVariantMap name = contact->person->nameValue();
        name.insert("FirstName", first);
        ASSERT_TRUE(m_view->undoReplaceNameValue(name, contact));
    };

    // A double-click on Bob with Kai chosen too; Hana comes first and Kai is deleted meanwhile.
    click(rowOf(bob), "Name");
    click(rowOf(kai), "Name", Qt::ControlModifier);
    doubleClick(rowOf(bob), "Phone");
    ASSERT_EQ(Alert::lastShown().messageText, "Do you want to set the same value in the selected rows");
    ASSERT_EQ(focusedEditor(), nullptr);
    rename(hana, "Abe");
    kai->deleted = true;
    grid()->updateTable();
    settle();
    ASSERT_EQ(editedIndex(), model()->index(rowOf(bob), column("Phone")));
    type("555");
    press(Qt::Key_Return);
    settle();
    press(Qt::Key_Escape);
    EXPECT_EQ(values(bob, "Phone"), QStringList{"555"});
    EXPECT_EQ(values(alice, "Phone"), QStringList{"100"});
    EXPECT_EQ(values(hana, "Phone"), QStringList{"300"});
    EXPECT_EQ(values(kai, "Phone"), QStringList{"400"});

    // The cell menu's editor on Alice with Bob chosen too; Hana moves last meanwhile.
    click(rowOf(alice), "Name");
    click(rowOf(bob), "Name", Qt::ControlModifier);
    QTest::mouseClick(table()->viewport(), Qt::RightButton, {}, cellRect(rowOf(alice), "Phone").center());
    const std::unique_ptr<QMenu> menu(grid()->commands().menus().makeCellMenu());
    ASSERT_NE(menu, nullptr);
    const QList<QAction *> items = menu->actions();
    const auto item = std::find_if(items.begin(), items.end(), [](const QAction *action) {
        return gridCommand(action) == GridCommand::OpenEditPanel;
    });
    ASSERT_NE(item, items.end());
    (*item)->trigger();
    rename(hana, "Ray");
    settle();
    auto *editor = popoverContent<MultiValueViewController>();
    ASSERT_NE(editor, nullptr);
    editor->setCellText(0, 1, "777");
    QTest::mouseClick(editor->doneButton(), Qt::LeftButton);
    EXPECT_EQ(values(alice, "Phone"), QStringList{"777"});
    EXPECT_EQ(values(bob, "Phone"), QStringList{"777"});
    EXPECT_EQ(values(hana, "Phone"), QStringList{"300"});
}

// A cell's editor holds a value of any length: confirmed unchanged it writes nothing, and what is
// typed or pasted at its end is added to the whole value, not to its first 32,767 characters.
TEST_F(GridCellEditingTest, ALongValueSurvivesItsCellEditorWhole)
{
    showColumns({"Name", "Note", "Phone"});
    QString note;
    for (int line = 1; line <= 800; ++line)
        note += QString("Meeting %1: ").arg(line, 3, 10, QChar('0')).leftJustified(53, '.') + '\n';
    note.chop(1);
    ASSERT_EQ(note.size(), 43199);
    const ContactRowPtr ann = addWithPhones("Ann", {{"home", "100"}});
    ann->person->setValue(note, "Note");
    showActive();
    const auto confirm = [this](int row, const QString &identifier, const QString &typed) {
        doubleClick(row, identifier);
        ASSERT_NE(focusedEditor(), nullptr);
        if (!typed.isNull()) {
            press(Qt::Key_End);
            type(typed);
        }
        press(Qt::Key_Return);
        settle();
        click(row, "Name");
        settle();
    };

    confirm(rowOf(ann), "Note", QString());
    EXPECT_TRUE(ann->person->stringValueForIdentifier("Note") == note);
    EXPECT_FALSE(undoManager().canUndo());
    EXPECT_FALSE(m_view->isDocumentEdited());

    confirm(rowOf(ann), "Note", " Done.");
    EXPECT_TRUE(ann->person->stringValueForIdentifier("Note") == note + " Done.");

    const QString pasted(40000, '7');
    QApplication::clipboard()->setText(pasted);
    doubleClick(rowOf(ann), "Phone");
    ASSERT_NE(focusedEditor(), nullptr);
    QTest::keyClick(focusedEditor(), Qt::Key_V, Qt::ControlModifier);
    press(Qt::Key_Return);
    settle();
    EXPECT_TRUE(values(ann, "Phone") == QStringList{pasted});
}
