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
        const std::optional<ContactTable> back = QNvCard().contactsFromCSV(csv);
        ASSERT_TRUE(back && back->size() == 1);
        EXPECT_EQ(back->first()->person->compositeName(), QString::fromUtf8(name));
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

TEST_F(VCardTest, CsvHeadersAreRecognised)
{
    const char *const cases[][4] = {
        {"Nickname", "Nickname", "other", "Street"},
        {"First Name", "FirstName", "other", "Street"},
        {"Last Name", "LastName", "other", "Street"},
        {"Home ZIP", "Address", "home", "ZIP"},
        {"Work State", "Address", "work", "State"},
        {"Other City", "Address", "other", "City"},
        {"Work Phone", "Phone", "work", "Street"},
        {"Mobile Phone", "Phone", "mobile", "Street"},
        {"Other Email", "Email", "other", "Street"},
        {"Business Fax", "", "work", "Street"},
        {"E-mail", "", "other", "Street"},
        {"Job Title", "Job Title", "other", "Street"},
    };
    QNvCard csv;
    for (const auto &c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(csv.detectType(c[0]), c[1]);
        EXPECT_EQ(csv.detectLabel(c[0]), c[2]);
        EXPECT_EQ(csv.detectAddressType(c[0]), c[3]);
    }
}

TEST_F(VCardTest, CsvExportReadsBack)
{
    const QList<QNvCard::CsvRow> rows = exportRows();
    const std::optional<ContactTable> back = QNvCard().contactsFromCSV(QNvCard().csvFromSubContacts(rows));
    ASSERT_TRUE(back && back->size() == 4);
    QNvCard csv;
    // Every cell reads back as written; the note keeps the \t and \n it was written with.
    for (qsizetype i = 0; i < rows.size(); ++i) {
        for (const QNvCard::CsvColumn &column : QNvCard::csvColumns()) {
            if (column.fieldName == "Note")
                continue;
            EXPECT_EQ(csv.stringForIdentifier(column.type, column.label, 0, *back->at(i)->person, true),
                      csv.stringForIdentifier(column.type, column.label, rows.at(i).labelIndex,
                                              *rows.at(i).person, true))
                << i << ' ' << column.fieldName.toStdString();
        }
    }
    EXPECT_FALSE(back->at(2)->person->showAsPerson());
    EXPECT_EQ(back->at(0)->person->stringValueForIdentifier("Note"), "a\\tb\\nc \"quoted\"");
}

TEST_F(VCardTest, CsvBirthdaysParse)
{
    const std::tuple<const char *, QVariant, QVariant> cases[] = {
        {"2001.02.03", 2001, 2}, {"2001.02.03(Sat)", 2001, 2}, {"2001.02.03 Sat", 2001, 2},
        {"2001-02-03", 2001, 2}, {"0001.02.03(Sat)", {}, 2},   {"02.29", {}, 2},
        {"2001.02.30", {}, {}},  {"3 Feb 2001", {}, {}},
    };
    for (const auto &[text, year, month] : cases) {
        SCOPED_TRACE(text);
        QVariantMap row;
        QNvCard().createContact(row, text, "Birthday", {});
        const QVariantMap value = row.value("Birthday").toMap().value("value").toMap();
        EXPECT_EQ(row.value("Birthday").toMap().value("stringValue"), text);
        EXPECT_EQ(value.value("year"), year);
        EXPECT_EQ(value.value("month"), month);
    }
}

TEST_F(VCardTest, CsvFilesOfOtherProgramsRead)
{
    QNvCard csv;
    EXPECT_FALSE(csv.contactsFromCSV(QString()));
    ContactTable rows = *csv.contactsFromCSV(sample("csv/name-only.csv"));
    EXPECT_EQ(namesOf(std::make_shared<ContactTable>(rows)),
              (QStringList{"Ann Lee", "Orchard Supply", "Lee, Ann"}));

    rows = *csv.contactsFromCSV(sample("csv/own-layout-quoted.csv"));
    EXPECT_EQ(namesOf(std::make_shared<ContactTable>(rows)),
              (QStringList{"Ann Lee", "Acme Corp", "Unclosed quote,555-0111", "Pat"}));
    QNPerson &ann = *rows.at(0)->person;
    EXPECT_EQ(ann.stringValueForIdentifier("Note"), "He said \"hi\"");
    EXPECT_EQ(ann.labeledValueForIdentifierAtIndex("Address", 0)->value("City"), "Springfield, IL");
    EXPECT_EQ(ann.labeledValueForIdentifierAtIndex("Social Network", 0)->value("label"), "Facebook");
    EXPECT_FALSE(rows.at(1)->person->showAsPerson());

    rows = *csv.contactsFromCSV(sample("csv/mail-program-export.csv"));
    ASSERT_EQ(rows.size(), 2);
    QNPerson &lee = *rows.at(0)->person;
    EXPECT_EQ(lee.compositeName(), "Ann Lee");
    EXPECT_EQ(lee.stringValueForIdentifier("Note"), "Met at \"Expo\", 2023\nsecond line");
    EXPECT_EQ(lee.labeledValueForIdentifierAtIndex("Phone", 1)->value("label"), "mobile");
    EXPECT_EQ(lee.labeledValueForIdentifierAtIndex("Address", 0)->value("label"), "work");
    EXPECT_TRUE(lee.labeledValueForIdentifier("Email").isEmpty());
    EXPECT_EQ(lee.birthdayValue()->value("value").toMap().value("year"), 1980);
}

} // namespace
