#include "GridFixture.h"

#include "addressbook/ViewTypes.h"
#include "app/MenuCommand.h"
#include "app/WindowController.h"
#include "grid/GridTextParser.h"
#include "platform/UndoManager.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/TestMode.h"

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QStringEncoder>

namespace {

// The main window over one group, its Edit menu's Copy and Paste reaching the grid as they do in
// the program.
class GridPasteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().removePersistentDomain();
        defaults().setObject(ViewTypes::defaultViewTypeDict(), DefaultsKey::ViewTypeDict);
        TestMode::setEnabled(true);
        Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
        ContactsUserDefaults::setCountryCodeForTesting(QStringLiteral("us"));
        ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderGivenName);
        m_window = std::make_unique<WindowController>(defaults(), SplitPanes::makeDefault(defaults()));
        m_group = showAsTopGroup(*view(), m_table);
        QGuiApplication::clipboard()->clear();
    }

    void TearDown() override
    {
        m_window.reset();
        QCoreApplication::processEvents();
        TestMode::setEnabled(false);
        ContactsUserDefaults::setCountryCodeForTesting(std::nullopt);
        ContactsUserDefaults::setSortOrderForTesting(std::nullopt);
    }

    static UserDefaults &defaults() { return UserDefaults::standard(); }
    ViewController *view() const { return m_window->mainViewController(); }
    ContactsViewController *grid() const
    {
        return static_cast<ContactsViewController *>(view()->contactsViewController());
    }

    // The contacts as the program hands a loaded book to its panes.
    void show()
    {
        view()->setRepresentedObject({});
        m_window->show();
        QCoreApplication::processEvents();
    }

    void showViewType(const QString &viewType)
    {
        defaults().setObject(viewType, DefaultsKey::SelectedViewType);
        grid()->setSelectedViewType(viewType);
        grid()->updateTable();
    }

    void trigger(MenuCommand command)
    {
        QAction *item = m_window->menuItem(command);
        ASSERT_TRUE(item);
        // Opening the menu validates its items.
        for (QObject *menu : item->associatedObjects()) {
            if (auto *shown = qobject_cast<QMenu *>(menu))
                emit shown->aboutToShow();
        }
        ASSERT_TRUE(item->isEnabled());
        item->trigger();
        QCoreApplication::processEvents();
    }

    // Selects the contact's first row alone.
    void selectContact(const ContactRowPtr &contact)
    {
        const QList<SubContactRowPtr> rows = grid()->subContactTable();
        for (int row = 0; row < rows.size(); ++row) {
            if (rows.at(row)->person == contact->person) {
                grid()->gridTableView()->selectionModel()->select(grid()->model()->index(row, 0),
                                                                  QItemSelectionModel::ClearAndSelect |
                                                                      QItemSelectionModel::Rows);
                return;
            }
        }
        FAIL() << "no row";
    }

    // The new contacts that are not undone (undoing an addition marks the rows deleted).
    QList<ContactRowPtr> added() const
    {
        QList<ContactRowPtr> rows;
        for (const ContactRowPtr &row : std::as_const(*m_table)) {
            if (row->isNew && !row->deleted)
                rows.append(row);
        }
        return rows;
    }

    ContactRowPtr add(const QNPersonPtr &person) { return appendContactRow(*m_table, person); }

    // A contact with a value in most fields, several of them with blanks, commas and line breaks.
    ContactRowPtr anh()
    {
        auto person = std::make_shared<QNPerson>();
        person->setValue(QVariantMap{{PersonKey::FirstName, QStringLiteral("Anh")},
                                     {PersonKey::LastName, QStringLiteral("Nguyễn")},
                                     {PersonKey::ShowAsPerson, true},
                                     {PersonKey::NameOrdering, 0}},
                         PersonIdentifier::Name);
        person->setValue(QStringLiteral("Acme, Inc."), QStringLiteral("Company"));
        person->setValue(QStringLiteral("Sales"), QStringLiteral("Department"));
        person->setValue(QStringLiteral("line one\nline two"), QStringLiteral("Note"));
        person->setValue(
            QVariantList{QVariantMap{{PersonKey::Label, "mobile"}, {PersonKey::Value, "555 1234"}}},
            QStringLiteral("Phone"));
        person->setValue(
            QVariantList{QVariantMap{{PersonKey::Label, "work"}, {PersonKey::Value, "anh@example.com"}}},
            QStringLiteral("Email"));
        person->setValue(QVariantList{QVariantMap{{PersonKey::Label, "mother"}, {PersonKey::Value, "Mai"}}},
                         QStringLiteral("Relationship"));
        person->setValue(QVariantList{QVariantMap{
                             {PersonKey::Label, "anniversary"},
                             {PersonKey::Value, QVariantMap{{"year", 2010}, {"month", 6}, {"day", 1}}}}},
                         QStringLiteral("Dates"));
        person->setValue(
            QVariantMap{{PersonKey::Value, QVariantMap{{"year", 1990}, {"month", 4}, {"day", 5}}}},
            PersonIdentifier::Birthday);
        return add(person);
    }

    std::unique_ptr<WindowController> m_window;
    ContactTablePtr m_table = std::make_shared<ContactTable>();
    GroupDictPtr m_group;
};

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

// Copy then Paste gives a contact whose row copies as the same text, whatever the columns were
// when Paste came; one undo step takes it away.
TEST_F(GridPasteTest, CopyThenPasteGivesTheSameTextsInTheSameFields)
{
    for (const MenuCommand copy : {MenuCommand::Copy, MenuCommand::CopyAsCSV}) {
        SCOPED_TRACE(int(copy));
        m_table->clear();
        const ContactRowPtr original = anh();
        show();
        for (const QString &viewType : {QStringLiteral("Name"), QStringLiteral("Personal Information")}) {
            SCOPED_TRACE(viewType.toStdString());
            showViewType(viewType);
            selectContact(original);
            trigger(copy);
            const QString copied = clipboardText();
            ASSERT_TRUE(copied.contains("\"Anh Nguyễn\"")) << copied.toStdString();

            showViewType(QStringLiteral("Phone"));
            trigger(MenuCommand::Paste);
            ASSERT_EQ(added().size(), 1);
            const ContactRowPtr pasted = added().first();
            EXPECT_EQ(pasted->person->compositeName(), "Anh Nguyễn");

            showViewType(viewType);
            selectContact(pasted);
            trigger(copy);
            EXPECT_EQ(clipboardText(), copied);

            trigger(MenuCommand::Undo);
            EXPECT_TRUE(added().isEmpty());
        }
    }
}

TEST_F(GridPasteTest, CopiedFieldsComeBackAsValuesWithTheirLabels)
{
    const ContactRowPtr original = anh();
    show();
    showViewType(QStringLiteral("Name"));
    selectContact(original);
    trigger(MenuCommand::Copy);
    trigger(MenuCommand::Paste);
    ASSERT_EQ(added().size(), 1);
    QNPerson &pasted = *added().first()->person;
    EXPECT_EQ(pasted.stringValueForIdentifier("Company"), "Acme, Inc.");
    EXPECT_EQ(pasted.stringValueForIdentifier("Department"), "Sales");
    EXPECT_EQ(pasted.stringValueForIdentifier("Note"), "line one\nline two");
    const auto phone = pasted.labeledValueForIdentifierAtIndex("Phone", 0);
    ASSERT_TRUE(phone);
    EXPECT_EQ(phone->value(PersonKey::Label), "mobile");
    EXPECT_EQ(phone->value(PersonKey::StringValue), "555 1234");
    EXPECT_EQ(pasted.labeledValueForIdentifierAtIndex("Relationship", 0)->value(PersonKey::Label), "mother");
    EXPECT_EQ(pasted.stringValueForIdentifier(PersonIdentifier::Birthday),
              original->person->stringValueForIdentifier(PersonIdentifier::Birthday));
}

// A copied row pastes back character for character, whatever its values hold: backslashes before
// n and t or at the end, colons in a label, CR LF and CR; each row stays one contact.
TEST_F(GridPasteTest, CopiedValuesComeBackCharacterForCharacter)
{
    auto person = std::make_shared<QNPerson>();
    const QString name = QStringLiteral("Lee\\nTan\\");
    person->setValue(QVariantMap{{PersonKey::LastName, name}, {PersonKey::ShowAsPerson, true}}, "Name");
    const QVariantMap texts{{"Company", "see C:\\new\\table, \\textbf{x}"},
                            {"Note", "line1\r\nline2\rend\\\nlast"}};
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        person->setValue(it.value(), it.key());
    const QVariantMap labeled{{"Email", QStringList{"Office: Berlin", "anna@acme.example"}},
                              {"Phone", QStringList{"Desk:2\\", "+49 30 1234567"}}};
    for (auto it = labeled.cbegin(); it != labeled.cend(); ++it) {
        const QStringList entry = it.value().toStringList();
        person->setValue(
            QVariantList{QVariantMap{{PersonKey::Label, entry[0]}, {PersonKey::Value, entry[1]}}}, it.key());
    }
    const ContactRowPtr original = add(person);
    show();
    showViewType(QStringLiteral("Name"));
    for (const MenuCommand copy : {MenuCommand::Copy, MenuCommand::CopyAsCSV}) {
        SCOPED_TRACE(int(copy));
        selectContact(original);
        trigger(copy);
        trigger(MenuCommand::Paste);
        ASSERT_EQ(added().size(), 1);
        QNPerson &pasted = *added().first()->person;
        EXPECT_EQ(pasted.nameValue().value(PersonKey::LastName), name);
        for (auto it = texts.cbegin(); it != texts.cend(); ++it)
            EXPECT_EQ(pasted.stringValueForIdentifier(it.key()), it.value());
        for (auto it = labeled.cbegin(); it != labeled.cend(); ++it) {
            const auto entry = pasted.labeledValueForIdentifierAtIndex(it.key(), 0);
            ASSERT_TRUE(entry);
            EXPECT_EQ(QStringList({entry->value(PersonKey::Label).toString(),
                                   entry->value(PersonKey::StringValue).toString()}),
                      it.value());
        }
        trigger(MenuCommand::Undo);
    }
}

// Text that is a vCard, as mail programs copy a contact: one contact per card, in one step.
TEST_F(GridPasteTest, AVCardAsTextGivesOneContactPerCard)
{
    show();
    QGuiApplication::clipboard()->setText(
        QStringLiteral("\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nN:Nguyễn;Anh;;;\r\n"
                       "FN:Anh Nguyễn\r\nTEL;TYPE=CELL:555\r\nEND:VCARD\r\n"
                       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Roe;Bob;;;\r\n"
                       "FN:Bob Roe\r\nEND:VCARD\r\n"));
    trigger(MenuCommand::Paste);
    QStringList names;
    for (const ContactRowPtr &row : added())
        names.append(row->person->compositeName());
    EXPECT_EQ(names, QStringList({"Anh Nguyễn", "Bob Roe"}));
    EXPECT_EQ(added().first()->person->labeledValueForIdentifier("Phone").size(), 1);
    trigger(MenuCommand::Undo);
    EXPECT_TRUE(added().isEmpty());
}

// Text too large to be contacts is refused with a message naming the limits, and nothing
// changes; a paste at the limits is made whole, in one step.
TEST_F(GridPasteTest, TextTooLargeForContactsIsRefusedWithAMessage)
{
    show();
    showViewType(QStringLiteral("Phone"));
    const QString tooManyLines = QStringLiteral("Lee\t555\n").repeated(GridTextParser::MaxLines + 1);
    const QString tooLongLine = QStringLiteral("Lee,").repeated(GridTextParser::MaxCharacters / 4) + "555";
    for (const QString &text : {tooManyLines, tooLongLine}) {
        Alert::resetTestState();
        QGuiApplication::clipboard()->setText(text);
        trigger(MenuCommand::Paste);
        EXPECT_TRUE(m_table->isEmpty());
        EXPECT_FALSE(view()->undoManager()->canUndo());
        EXPECT_FALSE(view()->isDocumentEdited());
        ASSERT_EQ(Alert::shownAlerts().size(), 1);
        EXPECT_EQ(Alert::lastShown().messageText, "The text is too large to make contacts of.");
        EXPECT_EQ(Alert::lastShown().informativeText,
                  "Paste and drop make contacts of at most 10,000 lines and 1,000,000 characters at a time. "
                  "Import a longer list from a CSV file.");
    }

    Alert::resetTestState();
    QGuiApplication::clipboard()->setText(QStringLiteral("Lee\t555\r\n").repeated(GridTextParser::MaxLines));
    trigger(MenuCommand::Paste);
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());
    ASSERT_EQ(added().size(), GridTextParser::MaxLines);
    EXPECT_EQ(added().last()->person->compositeName(), "Lee");
    trigger(MenuCommand::Undo);
    EXPECT_TRUE(added().isEmpty());
}

// vCard text beyond the limits, pasted or dropped, is refused the same way: read on the main
// thread it would hold the window.
TEST_F(GridPasteTest, VCardTextTooLargeForContactsIsRefusedWhetherPastedOrDropped)
{
    show();
    const QString cards = QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Roe;Bob;;;\r\nEND:VCARD\r\n")
                              .repeated(GridTextParser::MaxLines / 4 + 1);
    QMimeData data;
    data.setData(QStringLiteral("text/vcard"), cards.toUtf8());
    QGuiApplication::clipboard()->setText(cards);
    trigger(MenuCommand::Paste);
    view()->setEditState(true);
    QWidget *viewport = grid()->tableView()->viewport();
    const QPoint at = viewport->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &move);
    ASSERT_TRUE(move.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &drop);
    EXPECT_TRUE(m_table->isEmpty());
    EXPECT_FALSE(view()->isDocumentEdited());
    ASSERT_EQ(Alert::shownAlerts().size(), 2);
    EXPECT_EQ(Alert::lastShown().messageText, "The text is too large to make contacts of.");
    EXPECT_TRUE(Alert::lastShown().informativeText.endsWith("Import more contacts from a vCard file."));
    Alert::resetTestState();
}

// A table whose first line names its columns pastes as File > Import CSV reads it: the header no
// contact, each value where its header says, in one step; CSV data alone on the clipboard too, in
// its charset. A first line of values still makes a contact of each line.
TEST_F(GridPasteTest, TextWithAHeaderLinePastesAsTheCsvImportReadsIt)
{
    show();
    showViewType(QStringLiteral("Business Information"));
    const QString table =
        QStringLiteral("Name,Home Phone,Work Email,Note\n"
                       "\"Doe, Jane\",\"+1 (555) 010-0000\",jane@x.com,\"He said \"\"hi\"\"\"\n"
                       "山田 太郎,03-1234-5678,taro@example.jp,plain note\n");
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const std::pair<QString, QByteArray> csvData[] = {{"text/csv", table.toUtf8()},
                                                      {"text/csv;charset=utf-16", utf16.encode(table)}};
    auto pasteAndCheck = [&](QMimeData *data) {
        QGuiApplication::clipboard()->setMimeData(data);
        trigger(MenuCommand::Paste);
        ASSERT_EQ(added().size(), 2);
        QNPerson &jane = *added().at(0)->person;
        EXPECT_EQ(jane.compositeName(), "Doe, Jane");
        EXPECT_EQ(jane.stringValueForIdentifier("Company"), "");
        EXPECT_EQ(jane.labeledValueForIdentifierAtIndex("Phone", 0)->value(PersonKey::Label), "home");
        EXPECT_EQ(jane.labeledValueForIdentifierAtIndex("Phone", 0)->value(PersonKey::StringValue),
                  "+1 (555) 010-0000");
        EXPECT_EQ(jane.labeledValueForIdentifierAtIndex("Email", 0)->value(PersonKey::Label), "work");
        EXPECT_EQ(jane.stringValueForIdentifier("Note"), "He said \"hi\"");
        QNPerson &taro = *added().at(1)->person;
        EXPECT_EQ(taro.compositeName(), "山田 太郎");
        EXPECT_EQ(taro.labeledValueForIdentifierAtIndex("Email", 0)->value(PersonKey::StringValue),
                  "taro@example.jp");
        trigger(MenuCommand::Undo);
        EXPECT_TRUE(added().isEmpty());
    };
    auto *text = new QMimeData;
    text->setText(table);
    pasteAndCheck(text);
    for (const auto &[format, bytes] : csvData) {
        SCOPED_TRACE(format.toStdString());
        auto *csv = new QMimeData;
        csv->setData(format, bytes);
        pasteAndCheck(csv);
    }

    // A form's export: two known columns among others the import does not read.
    QGuiApplication::clipboard()->setText("Timestamp,Name,Email,T-shirt size,Dietary needs\n"
                                          "2024-05-01 10:00,Pat Doe,pat@example.com,M,none\n");
    trigger(MenuCommand::Paste);
    ASSERT_EQ(added().size(), 1);
    EXPECT_EQ(added().at(0)->person->compositeName(), "Pat Doe");
    EXPECT_EQ(
        added().at(0)->person->labeledValueForIdentifierAtIndex("Email", 0)->value(PersonKey::StringValue),
        "pat@example.com");
    trigger(MenuCommand::Undo);

    QGuiApplication::clipboard()->setText("Ann Lee,Acme,Sales,Manager\nJane Doe,Acme");
    trigger(MenuCommand::Paste);
    ASSERT_EQ(added().size(), 2);
    EXPECT_EQ(added().at(0)->person->compositeName(), "Ann Lee");
    EXPECT_EQ(added().at(0)->person->stringValueForIdentifier("Job Title"), "Manager");
    EXPECT_EQ(added().at(1)->person->stringValueForIdentifier("Company"), "Acme");
}

// NULs and other control characters that stray into copied text are dropped, as the imports
// drop them; tabs still part the fields.
TEST_F(GridPasteTest, StrayControlsInPastedTextAreDropped)
{
    show();
    showViewType(QStringLiteral("Phone"));
    QGuiApplication::clipboard()->setText(QStringLiteral("A") + QChar(0) + "n" + QChar(1) + "n" +
                                          QChar(0x7F) + "\t5" + QChar(0) + "55\n");
    trigger(MenuCommand::Paste);
    ASSERT_EQ(added().size(), 1);
    QNPerson &pasted = *added().first()->person;
    EXPECT_EQ(pasted.compositeName(), "Ann");
    EXPECT_EQ(pasted.labeledValueForIdentifierAtIndex("Phone", 0)->value(PersonKey::StringValue), "555");
}

// Other programs' text: quotes around a whole field go, every column that holds text takes its
// field, and a value starting with one of its labels gets that label.
TEST_F(GridPasteTest, OtherTextLosesItsQuotesAndKeepsItsColumns)
{
    const QStringList columns{"Name", "Birthday", "Relationship", "Phone", "URL"};
    QList<ContactRowPtr> rows = GridTextParser::contactsFromString(
        "\"Anh \"\"Bo\"\" Nguyễn\"\t1990-04-05\tMai\tmobile:555\thttp://example.com", columns);
    ASSERT_EQ(rows.size(), 1);
    QNPerson &person = *rows.first()->person;
    EXPECT_EQ(person.nameValue().value(PersonKey::LastName), "Anh \"Bo\" Nguyễn");
    EXPECT_TRUE(person.stringValueForIdentifier(PersonIdentifier::Birthday).startsWith("1990.04.05"));
    EXPECT_EQ(person.labeledValueForIdentifierAtIndex("Relationship", 0)->value(PersonKey::StringValue),
              "Mai");
    const auto phone = person.labeledValueForIdentifierAtIndex("Phone", 0);
    EXPECT_EQ(phone->value(PersonKey::Label), "mobile");
    EXPECT_EQ(phone->value(PersonKey::StringValue), "555");
    const auto url = person.labeledValueForIdentifierAtIndex("URL", 0);
    EXPECT_EQ(url->value(PersonKey::StringValue), "http://example.com");
    EXPECT_EQ(url->value(PersonKey::Label), "home page") << "the program's own home-page label";

    // Custom items take their fields too (here as Copy wrote them).
    const std::optional<QVariantList> definitions = QNPerson::customItems();
    QNPerson::setCustomItems(
        {QVariantMap{{"Name", "Hobby"}, {"Type", "String Value"}},
         QVariantMap{{"Name", "Club"}, {"Type", "Labeled Value"}, {"Labels", QStringList{"chess"}}}});
    rows = GridTextParser::contactsFromString("Lee\tgolf\tchess:Ann", {"Name", "Hobby", "Club"}, true);
    QNPerson::setCustomItems(definitions.value_or(QVariantList()));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.first()->person->stringValueForIdentifier("Hobby"), "golf");
    const auto club = rows.first()->person->labeledValueForIdentifierAtIndex("Club", 0);
    ASSERT_TRUE(club);
    EXPECT_EQ(club->value(PersonKey::Label), "chess");

    EXPECT_EQ(GridTextParser::fieldsOfLine("\"a, b\", c,\"open"), QStringList({"a, b", " c", "\"open"}));
    EXPECT_EQ(GridTextParser::fieldsOfLine("\"a, b\", c,d", true), QStringList({"a, b", "c,d"}));
    EXPECT_EQ(GridTextParser::fieldsOfLine("a\\nb\t\\t", true), QStringList({"a\\nb", "\\t"}));
    EXPECT_EQ(GridTextParser::fieldsOfLine("a\\nb"), QStringList({"a\\nb"}));
    EXPECT_TRUE(GridTextParser::isVCard(" \nbegin:vcard\nEND:VCARD"));
    EXPECT_FALSE(GridTextParser::isVCard("Note\nBEGIN:VCARD"));
}

} // namespace
