#include "QNvCardTestSupport.h"

namespace {

QNPersonPtr person(const QString &first, const QString &last)
{
    auto made = std::make_shared<QNPerson>();
    made->setValue(QVariantMap{{"FirstName", first}, {"LastName", last}, {"showAsPerson", true}}, "Name");
    return made;
}

// Ann (twice: her rows of position 0 and 1): work, home and mobile phones, a home address, a
// birthday, a note with a tab, a line feed and quotes, a company with a comma, a Facebook name.
// Then a company and a contact with nothing.
QList<QNvCard::CsvRow> exportRows()
{
    const QNPersonPtr ann = person("Ann", "Lee");
    ann->setValue(
        QVariantList{entry("work", "555-0100"), entry("home", "555-0101"), entry("mobile", "555-0102")},
        "Phone");
    ann->setValue(QVariantList{entry("home", "ann@example.com")}, "Email");
    ann->setValue(QVariantList{QVariantMap{{"label", "home"},
                                           {"Street", "1 Main St"},
                                           {"City", "Springfield"},
                                           {"State", "IL"},
                                           {"ZIP", "62701"}}},
                  "Address");
    ann->setValue(QVariantMap{{"value", QVariantMap{{"year", 2001}, {"month", 2}, {"day", 3}}}}, "Birthday");
    ann->setValue(QStringLiteral("a\tb\nc \"quoted\""), "Note");
    ann->setValue(QStringLiteral("Lee, Stone & Co"), "Company");
    ann->setValue(QStringLiteral("Dr."), "Title");
    ann->setValue(QVariantList{entry("Facebook", "ann.lee")}, "Social Network");
    auto acme = std::make_shared<QNPerson>();
    acme->setValue(QStringLiteral("Acme,Inc"), "Company");
    acme->setValue(QVariantMap{{"showAsPerson", false}}, "Name");
    return {{ann, 0}, {ann, 1}, {acme, 0}, {std::make_shared<QNPerson>(), 0}};
}

// The golden file shows the label-index rule: row 0 fills the work phone, row 1 the home phone,
// the mobile phone no column; and an empty contact gives 31 commas.
TEST_F(VCardTest, CsvExportMatchesItsGoldenFile)
{
    EXPECT_EQ(QNvCard().csvFromSubContacts(exportRows()), sample("csv/export-golden.csv"));
}

TEST_F(VCardTest, CsvExportQuotesOnceAndReadsBack)
{
    const std::pair<const char *, const char *> cases[] = {{"Ann", "Ann"},
                                                           {"Ann Lee", "\"Ann Lee\""},
                                                           {"Lee, Ann", "\"Lee, Ann\""},
                                                           {"Lee,Ann", "\"Lee,Ann\""},
                                                           {"Ann \"Nan\"", "\"Ann \"\"Nan\"\"\""}};
    for (const auto &[name, cell] : cases) {
        SCOPED_TRACE(name);
        const QString csv = QNvCard().csvFromSubContacts(QList<QNvCard::CsvRow>{{person(name, ""), 0}});
        EXPECT_TRUE(csv.section('\n', 1, 1).startsWith(QString::fromUtf8(cell) + ','));
        const ContactTable back = QNvCard().contactsFromCSV(csv).rows;
        ASSERT_EQ(back.size(), 1);
        EXPECT_EQ(back.first()->person->compositeName(), QString::fromUtf8(name));
    }
}

TEST_F(VCardTest, CopyLineKeepsEverySeparatorButTheLast)
{
    const QNPersonPtr ann = person("Ann", "Lee");
    QNvCard csv;
    EXPECT_EQ(csv.csvStringFromContact({ann, 0}, {"Name", "Phone"}, "\t", true), "\"Ann Lee\"\t");
    EXPECT_EQ(csv.csvStringFromContact({ann, 0}, {"Phone"}, "\t", true), "\t");
    ann->setValue(QVariantList{entry("mobile", "555 0102")}, "Phone");
    ann->setValue(QStringLiteral("x\ty"), "Note");
    EXPECT_EQ(csv.csvStringFromContact({ann, 0}, {"Phone", "Note"}, ",", false), "\"mobile:555 0102\",x\\ty");
    const QString shown = QNPerson::localizedLabelFromCNLabel(QNPerson::CNLabelFromLabel("mobile"));
    EXPECT_EQ(csv.stringForIdentifier("Phone", "", 0, *ann, true), '"' + shown + ":555 0102\"");
    EXPECT_EQ(csv.stringForIdentifier("Phone", "", -1, *ann, true), "");
    EXPECT_EQ(csv.stringForIdentifier("Phone", "home", 0, *ann, true), "");
}

TEST_F(VCardTest, CsvExportReadsBack)
{
    const QList<QNvCard::CsvRow> rows = exportRows();
    const ContactTable back = QNvCard().contactsFromCSV(QNvCard().csvFromSubContacts(rows)).rows;
    ASSERT_EQ(back.size(), 4);
    QNvCard csv;
    // Every cell reads back as written; the note's tab and line feed, written as \t and \n, too.
    for (qsizetype i = 0; i < rows.size(); ++i) {
        for (const QNvCard::CsvColumn &column : QNvCard::csvColumns()) {
            EXPECT_EQ(csv.stringForIdentifier(column.type, column.label, 0, *back.at(i)->person, true),
                      csv.stringForIdentifier(column.type, column.label, rows.at(i).labelIndex,
                                              *rows.at(i).person, true))
                << i << ' ' << column.fieldName.toStdString();
        }
    }
    EXPECT_FALSE(back.at(2)->person->showAsPerson());
    EXPECT_EQ(back.at(0)->person->stringValueForIdentifier("Note"), "a\tb\nc \"quoted\"");
}

// Only our own export's whole header row tells that backslashes were escaped: another program's
// file that also starts with "Name" is read as it is written.
TEST_F(VCardTest, BackslashesAreUnescapedOnlyInOurOwnExport)
{
    const QNPersonPtr ann = person("Ann", "");
    ann->setValue(QStringLiteral("C:\\new\\table\\"), "Note");
    const QString own = QNvCard().csvFromSubContacts(QList<QNvCard::CsvRow>{{ann, 0}});
    const QString other = QStringLiteral("Name,Given Name,Family Name,Notes\nAnn,Ann,,C:\\new\\table\\\n");
    for (const QString &csv : {own, other}) {
        const ContactTable back = QNvCard().contactsFromCSV(csv).rows;
        ASSERT_EQ(back.size(), 1);
        EXPECT_EQ(back.first()->person->stringValueForIdentifier("Note"), "C:\\new\\table\\");
    }
}

struct CsvSample
{
    // Under tests/data.
    const char *file;
    QList<QStringList> contacts;
    const char *encoding = "UTF-8";
};

void PrintTo(const CsvSample &sample, std::ostream *out)
{
    *out << sample.file;
}

// Each sample is hand-written in the style of one kind of program. The mail program's numbered
// repeats, type and display-name columns; a semicolon-separated address book with "Company Name"
// and year, month and day columns; a web address book's numbered type and value pairs, one cell
// listing two numbers, and phonetic names.
const CsvSample csvSamples[] = {
    {"csv/mail-program-export.csv",
     {{"Name: FirstName=Ann MiddleName=B. LastName=Lee", "Company: Contoso Ltd.", "Department: Sales",
       "Job Title: Account Manager", "Title: Ms.", "Note: Met at \"Expo\", 2023\nsecond line",
       "Birthday: 1980-4-1", "Email: other=ann.lee@contoso.example", "Email: other=ann@home.example",
       "URL: other=https://contoso.example/ann", "Phone: work fax=(425) 555-0159",
       "Phone: work=(425) 555-0150", "Phone: work=(425) 555-0152", "Phone: home=555-0160",
       "Phone: home=555-0161", "Phone: mobile=(425) 555-0151",
       "Address: work=One Example Way\nSuite 200|Redmond|WA|98052|United States",
       "Relationship: assistant=Dana Poe"},
      {"Name: FirstName=Bob MiddleName=J. LastName=Stone", "Suffix: Jr.", "Email: other=bob@example.com",
       "Phone: home=555-0102", "Address: home=12 Home Rd|Springfield|IL|62704|"}}},
    {"csv/address-book-semicolon.csv",
     {{"Name: FirstName=Eva LastName=Müller", "Company: Müller & Söhne GmbH",
       "Note: Kollegin; Projekt \"Nord\"", "Birthday: 1985-3-9", "Email: other=eva@example.de",
       "Email: other=eva.mueller@example.com", "URL: other=https://example.de/eva",
       "Phone: work=+49 30 1234567", "Phone: home=+49 30 7654321", "Phone: mobile=+49 170 1234567",
       "Phone: other fax=+49 30 1234568",
       "Address: home=Hauptstraße 5\nHinterhaus|Berlin||10115|Deutschland"},
      {"Name: (company)", "Company: Acme AG", "Email: other=info@acme.example",
       "Phone: work=+41 44 123 45 67", "Address: home=Bahnhofstrasse 1|Zürich||8001|Schweiz"}}},
    {"csv/web-address-book-export.csv",
     {{"Name: FirstName=Carol LastName=Diaz", "Company: Initech", "Department: R&D", "Nickname: Caz",
       "Job Title: Engineer", "Title: Dr.", "Birthday: 1975-6-15", "Email: home=carol@example.com",
       "Email: work=c.diaz@initech.example", "URL: Profile=https://social.example/carol",
       "Phone: mobile=+1 555-0200", "Phone: mobile=+1 555-0201", "Phone: work fax=+1 555-0202",
       "Address: home=1 Elm St\nPO Box 7|Anytown|CA|90210|USA", "Relationship: spouse=Dan Diaz"},
      {"Name: FirstName=一郎 LastName=鈴木", "Phonetic Name: FirstName=イチロウ LastName=スズキ",
       "Note: 大学の友人", "Phone: home=03-1234-5678"}}},
    // Other programs' files, second set. Kind-first headers: "Email Home", "Phone Mobile".
    {"other-programs/kind-first-columns.csv",
     {{"Name: FirstName=Ann LastName=Lee", "Email: home=ann@home.example", "Email: work=ann@work.example",
       "Email: other=ann@other.example", "URL: home=https://ann.example",
       "URL: other=https://blog.ann.example", "Phone: mobile=+1 555 0100", "Phone: other=+1 555 0199"},
      {"Name: FirstName=Bob LastName=Stone", "Email: work=bob@work.example"}}},
    // The mail program's German export in Windows Latin 1: every column of its layout, the
    // location "Ort" and the e-mail type and display-name columns read as nothing, "0.0.00" as no date.
    {"other-programs/outlook-german.csv",
     {{"Name: FirstName=Eva LastName=Müller", "Company: Müller & Söhne GmbH", "Department: Vertrieb",
       "Job Title: Leiterin Vertrieb", "Title: Frau", "Note: Kollegin; Projekt \"Nord\"\nzweite Zeile",
       "Birthday: 1975-12-24", "Email: other=eva@example.de", "Email: other=eva.mueller@example.com",
       "URL: other=https://example.de/eva", "Phone: work fax=+49 30 1234568", "Phone: work=+49 30 1234567",
       "Phone: home=+49 331 765432", "Phone: mobile=+49 170 1234567",
       "Address: work=Hauptstraße 5\nHinterhaus|Berlin||10115|Deutschland",
       "Address: home=Gartenweg 2|Potsdam|Brandenburg|14467|"},
      {"Name: FirstName=Jürgen LastName=Schmidt", "Phone: home=030 1110", "Phone: other=040 2220",
       "Address: other=Postweg 1|Hamburg||20095|", "Relationship: manager=Frau Berger"}},
     "windows-1252"},
    // The French export names the title and the job title both "Titre"; its dates, which could
    // be read either way, are day first.
    {"other-programs/outlook-french.csv",
     {{"Name: FirstName=Jean LastName=Dupont", "Company: Exemple SA", "Department: Achats",
       "Job Title: Acheteur", "Title: M.", "Note: Rencontré au salon", "Birthday: 1970-4-3",
       "Email: other=jean.dupont@exemple.fr", "URL: other=https://exemple.fr",
       "Phone: work fax=+33 1 23 45 67 90", "Phone: work=+33 1 23 45 67 89",
       "Phone: mobile=+33 6 12 34 56 78", "Address: work=12 rue de la Paix|Paris||75002|France",
       "Relationship: spouse=Marie Dupont"},
      {"Name: FirstName=Claire LastName=Martin", "Job Title: Directrice", "Birthday: 1982-6-5",
       "Phone: home=04 78 00 00 00", "Address: home=5 avenue Foch|Lyon||69006|"}},
     "windows-1252"},
    {"other-programs/outlook-japanese.csv",
     {{"Name: FirstName=恵子 LastName=山口", "Phonetic Name: FirstName=ケイコ LastName=ヤマグチ",
       "Company: 株式会社サンプル", "Department: 営業部", "Job Title: 課長", "Note: 大学の先輩",
       "Birthday: 1980-4-5", "Email: other=keiko@example.jp", "Phone: work fax=03-1234-5679",
       "Phone: work=03-1234-5678", "Phone: mobile=090-1234-5678",
       "Address: work=芝浦3-1-1\nサンプルビル12階|港区|東京都|108-0023|日本"},
      {"Name: FirstName=Ken LastName=Sato", "Phone: home=03-9876-5432",
       "Address: home=中央1-2-3|千代田区|東京都||"}},
     "Shift_JIS"},
    // An English header, but a day above 12 further down shows that the file writes the day first.
    {"other-programs/dates-day-shown.csv",
     {{"Name: FirstName=Ann Lee", "Birthday: 1980-5-4"},
      {"Name: FirstName=Bob Stone", "Birthday: 1975-12-25"},
      {"Name: FirstName=Cy Park", "Birthday: 1990-1-31"},
      {"Name: FirstName=Di Roy"},
      {"Name: FirstName=Ed Fox", "Birthday: -9-10"}}},
    {"other-programs/dates-month-first.csv",
     {{"Name: FirstName=Ann Lee", "Birthday: 1980-4-5"},
      {"Name: FirstName=Bob Stone", "Birthday: 1975-12-25"},
      {"Name: FirstName=Cy Park", "Birthday: 1990-1-31"},
      {"Name: FirstName=Di Roy"},
      {"Name: FirstName=Ed Fox", "Birthday: 2001-2-3"}}},
    // A webmail export: "Home Mobile" and "Business Mobile" are mobile phones.
    {"other-programs/webmail-home-mobile.csv",
     {{"Name: FirstName=Ann LastName=Lee", "Company: Contoso", "Email: other=ann@example.com",
       "Phone: home=555-0100", "Phone: mobile=555-0101", "Phone: work=555-0102", "Phone: mobile=555-0103"},
      {"Name: FirstName=Bob LastName=Stone", "Phone: mobile=+1 555 0199"}}},
    // Our own export of birthdays without a year ("MM.dd", May 3 ambiguous) beside a full one.
    {"csv/export-yearless-birthday.csv",
     {{"Name: FirstName=Ann LastName=Lee", "Birthday: -3-15", "Phone: home=555-0101"},
      {"Name: FirstName=Bob LastName=Stone", "Birthday: -5-3"},
      {"Name: FirstName=Cy LastName=Park", "Birthday: -2-29"},
      {"Name: FirstName=Di LastName=Roy", "Birthday: 1990-12-5"}}},
    // A NUL and a control byte inside values are dropped; the rest of the file reads.
    {"other-programs/stray-nul.csv",
     {{"Name: FirstName=Ann Lee", "Email: other=ann@example.com", "Phone: other=555-0100"},
      {"Name: FirstName=Bob Stone", "Email: other=bob@example.com", "Phone: other=555-0101"},
      {"Name: FirstName=Cy Park", "Email: other=cy@example.com", "Phone: other=555-0102"},
      {"Name: FirstName=Di Roy", "Email: other=di@example.com", "Phone: other=555-0103"}}},
};

class CsvSampleTest : public VCardTest, public ::testing::WithParamInterface<CsvSample>
{
};

TEST_P(CsvSampleTest, ReadsEveryColumnIntoItsField)
{
    const ContactTable rows = readCsv(sample(GetParam().file, GetParam().encoding));
    ASSERT_EQ(rows.size(), GetParam().contacts.size());
    for (qsizetype i = 0; i < rows.size(); ++i)
        EXPECT_EQ(valuesOf(*rows.at(i)->person).join('\n').toStdString(),
                  GetParam().contacts.at(i).join('\n').toStdString());
}

// Our export writes one line per entry position and only its own columns; reading it back gives
// every cell it wrote. The vCard writer carries every value of the first reading.
TEST_P(CsvSampleTest, RoundTripsLoseNothing)
{
    const ContactTable first = readCsv(sample(GetParam().file, GetParam().encoding));
    QList<QNvCard::CsvRow> written;
    for (const ContactRowPtr &row : first) {
        qsizetype positions = 1;
        for (const char *identifier : {"Phone", "Email", "Address", "Social Network"})
            positions = std::max(positions, row->person->labeledValueForIdentifier(identifier).size());
        for (int i = 0; i < positions; ++i)
            written.append({row->person, i});
    }
    const QString csv = QNvCard().csvFromSubContacts(written);
    const ContactTable back = QNvCard().contactsFromCSV(csv).rows;
    ASSERT_EQ(back.size(), written.size());
    QList<QNvCard::CsvRow> again;
    for (const ContactRowPtr &row : back)
        again.append({row->person, 0});
    EXPECT_EQ(QNvCard().csvFromSubContacts(again), csv);

    for (const ContactRowPtr &row : first) {
        const ContactTablePtr cards =
            read(QNvCard().vCardFromPerson(*row->person, {"Note"}, {}))->topGroup()->contactTable;
        ASSERT_EQ(cards->size(), 1);
        EXPECT_EQ(valuesOf(*cards->first()->person).join('\n').toStdString(),
                  valuesOf(*row->person).join('\n').toStdString());
    }
}

INSTANTIATE_TEST_SUITE_P(Files, CsvSampleTest, ::testing::ValuesIn(csvSamples), [](const auto &info) {
    return QString(info.param.file).section('/', -1).section('.', 0, 0).remove('-').toStdString();
});

// Every sample's first line reads as a header; lines of values and single words do not, nor a
// line that names more columns the import does not read than it does.
TEST_F(VCardTest, CsvHeaderLinesAreToldFromLinesOfValues)
{
    const QNvCard csv;
    for (const CsvSample &file : csvSamples)
        EXPECT_TRUE(csv.hasCsvHeader(sample(file.file, file.encoding))) << file.file;
    for (const char *text :
         {"Name,Home Phone,Work Email,Note\n1,2,3,4", "Given Name\tFamily Name\tGender", "Vorname;Nachname",
          "\"Name\",\"Phone\"", "Timestamp,Name,Email,T-shirt size,Dietary needs"})
        EXPECT_TRUE(csv.hasCsvHeader(QString::fromUtf8(text))) << text;
    for (const char *text : {"", "Name", "Jane Doe", "Jane Doe,Acme", "Ann Lee,Acme,Manager", "Name,Gender",
                             "\nName,Phone", "Product,Price,Quantity", "Name\x01\x02,Phone"})
        EXPECT_FALSE(csv.hasCsvHeader(QString::fromUtf8(text))) << text;
}

// A header that holds a known word but names something else never puts its cell into that field.
TEST_F(VCardTest, CsvColumnsLandInTheirFieldOrNowhere)
{
    const std::pair<const char *, QStringList> cases[] = {
        {"Company Name", {"Name: FirstName=Ann", "Company: x"}},
        {"Organization 1 - Title", {"Name: FirstName=Ann", "Job Title: x"}},
        {"Assistant's Name", {"Name: FirstName=Ann", "Relationship: assistant=x"}},
        {"E-mail Display Name", {"Name: FirstName=Ann"}},
        {"E-mail Type", {"Name: FirstName=Ann"}},
        {"Screen Name", {"Name: FirstName=Ann"}},
        {"Yomi Name", {"Name: FirstName=Ann"}},
        {"Address 1 - Formatted", {"Name: FirstName=Ann"}},
        {"Phone 1 - Type", {"Name: FirstName=Ann"}},
        {"Business Phone 2", {"Name: FirstName=Ann", "Phone: work=x"}},
        {"Mobile Phone", {"Name: FirstName=Ann", "Phone: mobile=x"}},
        {"Home Mobile", {"Name: FirstName=Ann", "Phone: mobile=x"}},
        {"E-mail 2 Address", {"Name: FirstName=Ann", "Email: other=x"}},
        {"Home Email", {"Name: FirstName=Ann", "Email: home=x"}},
        {"Business Street 2", {"Name: FirstName=Ann", "Address: work=x||||"}},
    };
    for (const auto &[header, values] : cases) {
        SCOPED_TRACE(header);
        const QString csv = QStringLiteral("First Name,%1\nAnn,x\n").arg(QString::fromUtf8(header));
        const ContactTable rows = QNvCard().contactsFromCSV(csv).rows;
        ASSERT_EQ(rows.size(), 1);
        EXPECT_EQ(valuesOf(*rows.first()->person).join('\n').toStdString(), values.join('\n').toStdString());
    }
}

TEST_F(VCardTest, CsvBirthdaysParse)
{
    const std::pair<const char *, const char *> cases[] = {
        {"2001.02.03", "2001-2-3"}, {"2001.02.03(Sat)", "2001-2-3"}, {"2001.02.03 Sat", "2001-2-3"},
        {"2001-02-03", "2001-2-3"}, {"0001.02.03(Sat)", "-2-3"},     {"02.29", "-2-29"},
        {"2001.02.30", nullptr},    {"3 Feb 2001", nullptr},         {"2/3/2001", "2001-2-3"},
        {"13/2/2001", "2001-2-13"}, {"3.2.2001", "2001-2-3"},        {"2001/2/3", "2001-2-3"},
        {"--02-03", "-2-3"},        {"13/13/2001", nullptr},         {"0/0/00", nullptr},
        {"00.00.0000", nullptr},
    };
    for (const auto &[text, date] : cases) {
        SCOPED_TRACE(text);
        const ContactTable rows = QNvCard().contactsFromCSV(QStringLiteral("Birthday\n") + text).rows;
        ASSERT_EQ(rows.size(), 1);
        const QStringList values = valuesOf(*rows.first()->person);
        EXPECT_EQ(values.filter("Birthday"),
                  date ? QStringList{QStringLiteral("Birthday: ") + date} : QStringList());
    }
    // An empty date of the mail programs is no birthday at all, not even as text.
    const ContactTable rows = QNvCard().contactsFromCSV(QStringLiteral("Name,Birthday\nAnn,0/0/00\n")).rows;
    ASSERT_EQ(rows.size(), 1);
    EXPECT_FALSE(rows.first()->person->birthdayValue().has_value());
}

TEST_F(VCardTest, CsvFilesOfOurLayoutRead)
{
    QNvCard csv;
    EXPECT_TRUE(csv.contactsFromCSV(QString()).rows.isEmpty());
    ContactTable rows = readCsv(sample("csv/name-only.csv"));
    EXPECT_EQ(namesOf(std::make_shared<ContactTable>(rows)),
              (QStringList{"Ann Lee", "Orchard Supply", "Lee, Ann"}));

    rows = readCsv(sample("csv/own-layout-quoted.csv"));
    EXPECT_EQ(namesOf(std::make_shared<ContactTable>(rows)),
              (QStringList{"Ann Lee", "Acme Corp", "Unclosed quote,555-0111", "Pat"}));
    QNPerson &ann = *rows.at(0)->person;
    EXPECT_EQ(ann.stringValueForIdentifier("Note"), "He said \"hi\"");
    EXPECT_EQ(ann.labeledValueForIdentifierAtIndex("Address", 0)->value("City"), "Springfield, IL");
    EXPECT_EQ(ann.labeledValueForIdentifierAtIndex("Social Network", 0)->value("label"), "Facebook");
    EXPECT_FALSE(rows.at(1)->person->showAsPerson());
}

// A control character is found wherever it stands, also beside characters above U+7FFF.
TEST_F(VCardTest, CsvStrayControlsAreDroppedWhereverTheyStand)
{
    const QString clean = QStringLiteral("Name,Note\n恵子 Lee,abcdefgh\n");
    for (const char16_t control : {u'\0', u'\x01', u'\x1F', u'\x7F'}) {
        for (qsizetype at = 0; at <= clean.size(); ++at) {
            QString text = clean;
            text.insert(at, QChar(control));
            const ContactTable rows = readCsv(text);
            ASSERT_EQ(rows.size(), 1) << int(control) << ' ' << at;
            EXPECT_EQ(valuesOf(*rows.first()->person),
                      (QStringList{"Name: FirstName=恵子 Lee", "Note: abcdefgh"}))
                << int(control) << ' ' << at;
        }
    }
}

// A first line of 400,000 headers, most of them one unknown header repeated, is read at once;
// the columns among them are found by their place, however many fields a line has.
TEST_F(VCardTest, CsvHeaderLinesOfManyColumnsAreRead)
{
    const qsizetype filler = 200'000;
    const QString unknown = QStringLiteral(",a").repeated(filler);
    const QString skipped = QStringLiteral(",x").repeated(filler);
    const QString csv = QStringLiteral("Name") + unknown + QStringLiteral(",Phone") + unknown + '\n' +
                        QStringLiteral("Ann") + skipped + QStringLiteral(",555") + skipped + '\n' +
                        QStringLiteral("Bob") + skipped + '\n';
    const ContactTable rows = readCsv(csv);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(valuesOf(*rows.at(0)->person), (QStringList{"Name: FirstName=Ann", "Phone: other=555"}));
    EXPECT_EQ(valuesOf(*rows.at(1)->person), QStringList{"Name: FirstName=Bob"});
    EXPECT_EQ(
        QNvCard().contactsFromCSV(QStringLiteral("a") + unknown + QStringLiteral("\nAnn\n")).error,
        "The file's first line names no column that can be read, such as Name, First Name, Phone, E-mail "
        "or Address.");
}

// Progress comes after the header line's fields and after each line, forward to the end of the
// text given (stray controls counted); a stop there or later gives nothing.
TEST_F(VCardTest, CsvProgressGoesToTheEndOfTheTextAndStops)
{
    const QString csv = QStringLiteral("Name,Phone\x01\nAnn,1\n\nBob,2");
    QList<quint64> offsets;
    const std::optional<QNvCard::CsvImport> read =
        QNvCard().contactsFromCSV(csv, [&](bool *, quint64 offset) { offsets.append(offset); });
    ASSERT_TRUE(read);
    EXPECT_EQ(read->rows.size(), 2);
    ASSERT_EQ(offsets.size(), 5);
    EXPECT_TRUE(std::is_sorted(offsets.cbegin(), offsets.cend()));
    EXPECT_EQ(offsets.last(), quint64(csv.size()));
    for (qsizetype stopAt = 0; stopAt < offsets.size(); ++stopAt) {
        qsizetype calls = 0;
        EXPECT_FALSE(QNvCard().contactsFromCSV(csv, [&](bool *stop, quint64) { *stop = calls++ == stopAt; }))
            << stopAt;
    }
}

// Nothing is made of a file that is no table of contacts.
TEST_F(VCardTest, CsvThatIsNoTableOfContactsGivesAnError)
{
    const std::pair<QString, const char *> cases[] = {
        {sample("csv/binary.csv", "ISO-8859-1"),
         "The file is not a text file, so it holds no table of contacts."},
        {QStringLiteral("Name\x01\x02,Phone\nAnn,1\n"),
         "The file is not a text file, so it holds no table of contacts."},
        {sample("csv/unknown-columns.csv"),
         "The file's first line names no column that can be read, such as Name, "
         "First Name, Phone, E-mail or Address."},
    };
    for (const auto &[text, error] : cases) {
        const QNvCard::CsvImport csv = QNvCard().contactsFromCSV(text);
        EXPECT_TRUE(csv.rows.isEmpty());
        EXPECT_EQ(csv.error, error);
    }
}

} // namespace
