#include "GridFixture.h"

#include "grid/GridDragAndDrop.h"
#include "grid/GridDragPayload.h"
#include "grid/GridDropRules.h"
#include "grid/GridPasteboard.h"
#include "grid/GridTextParser.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/PasteboardTypes.h"
#include "platform/widgets/TemporaryFiles.h"

#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

namespace {

// The grid's delegate, keeping the contacts it is handed.
class AddingDelegate : public RecordingDelegate
{
public:
    void addContactByVCardString(const QString &text) override { vCards.append(text); }
    void addContactRows(const QList<ContactRowPtr> &rows) override { added.append(rows); }

    QStringList vCards;
    QList<QList<ContactRowPtr>> added;
};

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

QString lastName(const ContactRowPtr &row)
{
    return row->person->nameValue().value(PersonKey::LastName).toString();
}

class GridTransferTest : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        grid()->setDelegate(&m_adding);
        QGuiApplication::clipboard()->clear();
    }

    void selectRows(const QList<int> &rows)
    {
        table()->selectionModel()->clearSelection();
        for (int row : rows)
            table()->selectionModel()->select(model()->index(row, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    // Ann with two phones (rows 0 and 1), Bob with none, Cy with one.
    void addThree()
    {
        addWithPhones("Ann", {{"home", "111"}, {"work", "222"}});
        add(person("Bob"));
        addWithPhones("Cy", {{"home", "333"}});
        showColumns({"Name", "Company", "Phone"});
        sortBy("compositeName");
        grid()->updateTable();
    }

    QList<ContactRowPtr> parse(const QString &text, const QStringList &identifiers)
    {
        return GridTextParser::contactsFromString(text, identifiers);
    }

    AddingDelegate m_adding;
};

TEST_F(GridTransferTest, CopyWritesOneLinePerRowWithoutAFinalBreak)
{
    addThree();
    ASSERT_EQ(grid()->subContactTable().size(), 4);
    selectRows({0, 2, 3});
    grid()->copy(GridCopyFormat::Text);
    const QString text = clipboardText();
    EXPECT_EQ(text.count('\n'), 2);
    EXPECT_FALSE(text.endsWith('\n'));
    const QStringList lines = text.split('\n');
    for (const QString &line : lines)
        EXPECT_EQ(line.count('\t'), 2) << line.toStdString();
    EXPECT_TRUE(lines.at(1).startsWith("Bob\t\t")) << "Bob's empty fields keep their tabs";
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(PasteboardTypes::string(data, PasteboardTypes::TabSeparatedText), text);

    grid()->copy(GridCopyFormat::CSV);
    const QString csv = clipboardText();
    EXPECT_EQ(csv.split('\n').at(1), "Bob, , ");
    EXPECT_TRUE(PasteboardTypes::hasType(QGuiApplication::clipboard()->mimeData(),
                                         PasteboardTypes::CommaSeparatedText));
}

TEST_F(GridTransferTest, CopyWithoutARowLeavesTheClipboard)
{
    addThree();
    QGuiApplication::clipboard()->setText("kept");
    table()->selectionModel()->clearSelection();
    for (GridCopyFormat format : {GridCopyFormat::Text, GridCopyFormat::CSV, GridCopyFormat::VCard})
        grid()->copy(format);
    EXPECT_EQ(clipboardText(), "kept");
}

TEST_F(GridTransferTest, CopyAsVCardWritesEachContactOnce)
{
    addThree();
    selectRows({0, 1});
    grid()->copy(GridCopyFormat::VCard);
    const QList<QUrl> urls = QGuiApplication::clipboard()->mimeData()->urls();
    ASSERT_EQ(urls.size(), 1);
    EXPECT_EQ(urls.first().toLocalFile(), TemporaryFiles::filePath("SelectedContacts.vcf"));
    QFile file(urls.first().toLocalFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString cards = QString::fromUtf8(file.readAll());
    EXPECT_EQ(cards.count("BEGIN:VCARD"), 1);
    EXPECT_TRUE(cards.contains("111") && cards.contains("222"));
}

TEST_F(GridTransferTest, PasteSplitsAtTabsElseAtCommas)
{
    const QStringList columns{"Name", "Company", "Phone"};
    QList<ContactRowPtr> rows = parse("Lee\t\t555-1234", columns);
    ASSERT_EQ(rows.size(), 1);
    QNPerson &lee = *rows.first()->person;
    EXPECT_EQ(lastName(rows.first()), "Lee");
    EXPECT_EQ(lee.stringValueForIdentifier("Company"), "");
    const QVariantList phones = lee.labeledValueForIdentifier("Phone");
    ASSERT_EQ(phones.size(), 1);
    EXPECT_EQ(phones.first().toMap().value("label"), "home");
    EXPECT_TRUE(lee.isCreated());
    EXPECT_TRUE(rows.first()->isNew);
    EXPECT_EQ(rows.first()->uniqueId, lee.uniqueId());

    rows = parse("Lee, Acme\tInc", columns);
    EXPECT_EQ(lastName(rows.first()), "Lee, Acme") << "tabs win over commas";
    rows = parse("Lee, Acme", columns);
    EXPECT_EQ(rows.first()->person->stringValueForIdentifier("Company"), " Acme") << "fields as they stand";
    rows = parse("Just one field", {"Photo", "Company", "Name"});
    EXPECT_EQ(rows.first()->person->stringValueForIdentifier("Company"), "Just one field");
    EXPECT_TRUE(parse("\t\t", columns).isEmpty());
    EXPECT_TRUE(parse("", columns).isEmpty());
}

TEST_F(GridTransferTest, PasteWithNameAloneFollowsTheDetailOrder)
{
    EXPECT_EQ(GridTextParser::pasteIdentifiers({"Name", "Phone"}, defaults()),
              QStringList({"Name", "Phone"}));
    const QStringList fallback = GridTextParser::pasteIdentifiers({"Name"}, defaults());
    ASSERT_EQ(fallback.size(), 22);
    const QList<ContactRowPtr> rows = parse("Lee,Acme", fallback);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(lastName(rows.first()), "Lee");
    EXPECT_EQ(rows.first()->person->stringValueForIdentifier("Company"), "Acme");

    defaults().setObject(QStringList{"Company", "Name"}, DefaultsKey::LastRowOrder);
    EXPECT_EQ(GridTextParser::pasteIdentifiers({"Name"}, defaults()), QStringList({"Company", "Name"}));
}

TEST_F(GridTransferTest, AddressPartsMakeOneHomeAddress)
{
    QList<ContactRowPtr> rows = parse("Lee\t12345\tOsaka\tJapan", {"Name", "ZIP", "City", "Country"});
    const QVariantList addresses = rows.first()->person->labeledValueForIdentifier("Address");
    ASSERT_EQ(addresses.size(), 1);
    const QVariantMap address = addresses.first().toMap();
    EXPECT_EQ(address.value("label"), "home");
    EXPECT_EQ(address.value("ZIP"), "12345");
    EXPECT_EQ(address.value("City"), "Osaka");
    rows = parse("Lee\t\t", {"Name", "ZIP", "City"});
    EXPECT_TRUE(rows.first()->person->labeledValueForIdentifier("Address").isEmpty());
}

// Each line is its own contact: a line break never joins two lines into one field.
TEST_F(GridTransferTest, PasteMakesAContactOfEachLine)
{
    QList<ContactRowPtr> rows = parse("Ann\t1\nBob\t2\nCy\t3", {"Name", "Phone"});
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(lastName(rows.at(0)), "Ann");
    EXPECT_EQ(lastName(rows.at(2)), "Cy");
    for (const ContactRowPtr &row : rows)
        EXPECT_EQ(row->person->labeledValueForIdentifier("Phone").size(), 1);
    EXPECT_EQ(parse("Ann\r\n\r\n", {"Name"}).size(), 1);

    QGuiApplication::clipboard()->setText("Ann\nBob\n");
    showColumns({"Name", "Phone"});
    grid()->paste();
    ASSERT_EQ(m_adding.added.size(), 1) << "one step for all lines";
    EXPECT_EQ(m_adding.added.first().size(), 2);

    QGuiApplication::clipboard()->clear();
    grid()->paste();
    EXPECT_EQ(m_adding.added.size(), 1);
}

TEST_F(GridTransferTest, DraggedRowsCarryPositionsTextAndOneCardPerContact)
{
    // Bee takes rows 2 and 3; C6 is row 9.
    for (const char *name : {"Aa1", "Aa2", "C1", "C2", "C3", "C4", "C5", "C6"})
        add(person(name));
    addWithPhones("Bee", {{"home", "111"}, {"work", "222"}});
    showColumns({"Name", "Phone"});
    sortBy("compositeName");
    grid()->updateTable();
    const QList<SubContactRowPtr> rows = grid()->subContactTable();
    ASSERT_EQ(rows.size(), 10);
    ASSERT_EQ(rows.at(2)->person, rows.at(3)->person);
    ASSERT_EQ(rows.at(9)->person->compositeName(), "C6");
    std::unique_ptr<QMimeData> data = GridDragPayload::mimeData({9, 2, 3}, rows, *m_table);
    ASSERT_TRUE(data);
    EXPECT_EQ(PasteboardTypes::string(data.get(), PasteboardTypes::StringIndexes), "2,3,9");
    const QStringList lines = data->text().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.first().startsWith("Bee"));
    const QString cards = PasteboardTypes::string(data.get(), PasteboardTypes::VCard);
    EXPECT_EQ(cards.count("BEGIN:VCARD"), 2);
    EXPECT_TRUE(cards.endsWith("\r\n"));
    EXPECT_EQ(PasteboardTypes::string(data.get(), PasteboardTypes::ValuePosition), "0") << "row 2's value";
    QFile file(data->urls().value(0).toLocalFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), cards);

    EXPECT_FALSE(GridDragPayload::mimeData({10}, rows, *m_table)) << "the footer alone";
    EXPECT_EQ(GridDragPayload::stringIndexes({9, 2, 3, 10, -1}, 10), "2,3,9");
}

TEST_F(GridTransferTest, DraggedRowsDroppedOnAGroupJoinIt)
{
    addThree();
    auto top = std::make_shared<GroupDict>();
    top->top = true;
    top->containerIdentifier = "c1";
    top->contactTable = m_table;
    auto club = std::make_shared<GroupDict>();
    club->name = "Club";
    club->containerIdentifier = "c1";
    club->contactTable = std::make_shared<ContactTable>();
    auto container = std::make_shared<ContainerDict>();
    container->identifier = "c1";
    container->groups = {top, club};
    m_view->setContainerTable({container});
    m_view->setSelectedGroupDict(top);
    m_view->setContactTable(m_table);

    std::unique_ptr<QMimeData> data =
        GridDragPayload::mimeData({0, 1, 3}, grid()->subContactTable(), *m_table);
    m_view->addContactByStringIndexes(PasteboardTypes::string(data.get(), PasteboardTypes::StringIndexes),
                                      club);
    QStringList names;
    for (const ContactRowPtr &row : std::as_const(*club->contactTable))
        names.append(row->person->compositeName());
    EXPECT_TRUE(names.contains("Ann") && names.contains("Cy"));
    EXPECT_FALSE(names.contains("Bob"));
    EXPECT_TRUE(m_view->isDocumentEdited());
}

TEST_F(GridTransferTest, DropsAreRefusedWhereTheRulesSay)
{
    using Source = GridDropRules::Source;
    QMimeData text;
    text.setText("Lee");
    QMimeData nothing;
    nothing.setData("application/x-other", "x");
    struct Case
    {
        const char *label;
        const QMimeData *data;
        Source source;
        GridDropRules::Target target;
        int gridRows;
        bool editState;
        bool expected;
    };
    const Case cases[] = {
        {"between rows", &text, Source::OtherApplication, {1, false}, 3, true, true},
        {"on a row", &text, Source::OtherApplication, {1, true}, 3, true, false},
        {"locked", &text, Source::OtherApplication, {1, false}, 3, false, false},
        {"below the last row", &text, Source::OtherApplication, {3, false}, 3, true, false},
        {"an empty grid", &text, Source::OtherApplication, {0, false}, 0, true, true},
        {"the grid's own rows", &text, Source::Grid, {1, false}, 3, true, false},
        {"this program", &nothing, Source::Application, {1, false}, 3, true, true},
        {"nothing usable", &nothing, Source::OtherApplication, {1, false}, 3, true, false},
    };
    for (const Case &row : cases) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(GridDropRules::validateDrop(row.data, row.source, row.target, row.gridRows, row.editState),
                  row.expected);
    }
}

TEST_F(GridTransferTest, DropsBringVCardsFilesOrText)
{
    addThree();
    GridDragAndDrop *drops = grid()->findChild<GridDragAndDrop *>();
    ASSERT_TRUE(drops);
    QTemporaryDir folder;
    const QString path = folder.filePath("friends.vcf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\nFN:Ann Lee\r\nEND:VCARD\r\n");
    file.close();
    const QString notes = folder.filePath("notes.txt");
    QFile plain(notes);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("hello");
    plain.close();

    QMimeData fromFiles;
    fromFiles.setUrls({QUrl::fromLocalFile(notes), QUrl::fromLocalFile(path)});
    EXPECT_TRUE(drops->acceptDrop(&fromFiles, nullptr));
    ASSERT_EQ(m_adding.vCards.size(), 1);
    EXPECT_TRUE(m_adding.vCards.first().contains("FN:Ann Lee"));
    EXPECT_FALSE(m_adding.vCards.first().contains("hello"));

    QMimeData textFile;
    textFile.setUrls({QUrl::fromLocalFile(notes)});
    textFile.setText("Lee\t\t555");
    EXPECT_TRUE(drops->acceptDrop(&textFile, nullptr)) << "a file of another type falls through to the text";
    ASSERT_EQ(m_adding.added.size(), 1);
    EXPECT_EQ(lastName(m_adding.added.first().first()), "Lee");

    QMimeData inApp;
    inApp.setText("Lee");
    EXPECT_FALSE(drops->acceptDrop(&inApp, table())) << "the grid's own rows";
    EXPECT_FALSE(drops->acceptDrop(&inApp, this->m_view.get())) << "this program's drags bring vCards only";
    PasteboardTypes::setString(&inApp, PasteboardTypes::VCard, "BEGIN:VCARD\r\nFN:X\r\nEND:VCARD\r\n");
    EXPECT_TRUE(drops->acceptDrop(&inApp, this->m_view.get()));
    EXPECT_EQ(m_adding.vCards.size(), 2);
}

// The drag events as the window system delivers them over the rows.
TEST_F(GridTransferTest, DragEventsOverTheRowsReachTheChecks)
{
    addThree();
    table()->resize(400, 300);
    table()->show();
    QWidget *viewport = table()->viewport();
    QMimeData data;
    data.setText("Lee\t\t555");
    auto over = [&](const QPoint &at) {
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(viewport, &move);
        return move.isAccepted();
    };
    const QRect second = table()->visualRect(model()->index(1, 0));
    const QPoint between(second.center().x(), second.top() + 1);
    EXPECT_FALSE(over(second.center())) << "onto a row";
    ASSERT_TRUE(over(between));
    QDropEvent drop(between, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &drop);
    ASSERT_EQ(m_adding.added.size(), 1);
    EXPECT_EQ(lastName(m_adding.added.first().first()), "Lee");

    // Text too large to be contacts is refused as Paste refuses it.
    Alert::setNextAnswer(Alert::FirstButton);
    data.setText(QStringLiteral("Lee\n").repeated(GridTextParser::MaxLines + 1));
    ASSERT_TRUE(over(between));
    QDropEvent tooLarge(between, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(viewport, &tooLarge);
    EXPECT_EQ(m_adding.added.size(), 1);
    EXPECT_EQ(Alert::lastShown().messageText, "The text is too large to make contacts of.");
    Alert::resetTestState();
}

} // namespace
