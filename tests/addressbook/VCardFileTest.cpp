// vCard files as other programs write them, read the way the import reads them: the encoding
// detected, the cards read with the file's charset; and written back by our writer.

#include "app/AppFixture.h"

#include "addressbook/AddressBook.h"
#include "addressbook/ContactGroupEdits.h"
#include "addressbook/CustomItemDefinitions.h"
#include "addressbook/TextEncodings.h"
#include "model/QNPersonKeys.h"
#include "model/QNvCard.h"

#include <QDebug>
#include <QFile>
#include <QImage>
#include <QSignalSpy>

namespace {

QString realWorld(const QString &name)
{
    return TestEnvironment::dataPath(QStringLiteral("vcards/real-world/") + name);
}

ContactTable rowsOf(const std::optional<ContainerTable> &containers)
{
    if (!containers || containers->isEmpty()) {
        ADD_FAILURE() << "no container";
        return {};
    }
    return *containers->first()->topGroup()->contactTable;
}

ContactTable importFile(const QString &name)
{
    const TextEncodings::ReadResult read = TextEncodings::readFile(realWorld(name), TextEncodings::Automatic);
    EXPECT_TRUE(read.text) << read.error.toStdString();
    return rowsOf(QNvCard().containersFromVCards(read.text.value_or(QString()), {},
                                                 TextEncodings::eightBitCharset(read.encoding)));
}

QStringList namesOf(const ContactTable &rows)
{
    QStringList names;
    for (const ContactRowPtr &row : rows)
        names.append(row->person->compositeName());
    return names;
}

QStringList labelsOf(QNPerson &person, const QString &identifier)
{
    QStringList labels;
    for (const QVariant &entry : person.labeledValueForIdentifier(identifier))
        labels.append(entry.toMap().value(PersonKey::Label).toString());
    return labels;
}

// Everything a record shows: every field, the photo's bytes, the custom items and the UID.
QMap<QString, QString> snapshot(QNPerson &person)
{
    QMap<QString, QString> values;
    auto add = [&](const QString &key, const QVariant &value) {
        QString text;
        QDebug(&text) << value;
        values.insert(key, text);
    };
    for (const QString &identifier : QNPerson::allIdentifiers())
        if (identifier != PersonIdentifier::Photo)
            add(identifier, person.valueForIdentifier(identifier));
    for (const QString &name : person.customIdentifiers())
        add(QStringLiteral("custom ") + name, person.valueForIdentifier(name));
    add(QStringLiteral("photo"), person.photoData());
    add(QStringLiteral("shown as"), person.compositeName());
    add(QStringLiteral("UID"), person.vCardUID());
    return values;
}

class VCardFileTest : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        QNPerson::setCustomItems({});
    }
    void TearDown() override
    {
        QNPerson::setCustomItems({});
        AppFixture::TearDown();
    }
};

TEST_F(VCardFileTest, CrCrLfLineEndsKeepFoldedValuesWhole)
{
    const ContactTable rows = importFile("cr-cr-lf.vcf");
    ASSERT_EQ(namesOf(rows), (QStringList{"Lucia Rivera", "Chidi Okafor"}));
    QNPerson &lucia = *rows.at(0)->person;
    EXPECT_EQ(lucia.photoData().size(), 3130);
    EXPECT_EQ(lucia.photo().size(), QSize(64, 48));
    EXPECT_TRUE(lucia.stringValueForIdentifier("Note").endsWith("photos of the blue one."));
    const QVariantMap address = rows.at(1)->person->labeledValueForIdentifier("Address").first().toMap();
    EXPECT_EQ(address.value("Street"), "14 Long Street with a name long enough to be folded by the writer");
    EXPECT_EQ(address.value("City"), "Lagos");
}

TEST_F(VCardFileTest, Utf8FoldedInsideACharacterIsUtf8)
{
    const QByteArray data = [] {
        QFile file(realWorld("utf8-folded-by-octets.vcf"));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    EXPECT_EQ(TextEncodings::detect(data), TextEncodings::UTF8);
    // Chosen by hand it reads too.
    EXPECT_TRUE(TextEncodings::readFile(realWorld("utf8-folded-by-octets.vcf"), TextEncodings::UTF8).text);
    const ContactTable rows = importFile("utf8-folded-by-octets.vcf");
    ASSERT_EQ(namesOf(rows), (QStringList{"山田 花子", "Jürgen Müller"}));
    QNPerson &hanako = *rows.at(0)->person;
    EXPECT_EQ(hanako.stringValueForIdentifier("Company"),
              "株式会社サンプル商事 東京本社 営業企画部 第二グループ");
    EXPECT_EQ(hanako.stringValueForIdentifier("Note"),
              "来月の打ち合わせは品川の会議室で行います。"
              "資料は前日までに共有してください。よろしくお願いします。");
    EXPECT_EQ(hanako.labeledValueForIdentifier("Address").first().toMap().value("Street"),
              "港区芝浦三丁目一番一号 サンプルビル十二階");
    EXPECT_EQ(
        rows.at(1)->person->stringValueForIdentifier("Note"),
        "Grüße aus Köln – über die Brücke, an der Straßenbahn vorbei, dann rechts; ca. 5 Minuten zu Fuß.");
}

TEST_F(VCardFileTest, Utf16WithoutByteOrderMarkIsFound)
{
    for (const char *file : {"utf16le-no-bom.vcf", "utf16be-no-bom.vcf"}) {
        SCOPED_TRACE(file);
        const ContactTable rows = importFile(QString::fromLatin1(file));
        ASSERT_EQ(namesOf(rows), (QStringList{"Ewa Kowalski", "佐藤 健"}));
        EXPECT_EQ(rows.at(0)->person->stringValueForIdentifier("Note"), "Łódź office, second floor");
    }
}

// A card with a long Japanese note in UTF-16 without a byte-order mark: few of its units are ASCII.
TEST_F(VCardFileTest, Utf16MostlyJapaneseWithoutByteOrderMarkIsFound)
{
    const QString path =
        TestEnvironment::dataPath(QStringLiteral("other-programs/utf16le-japanese-note.vcf"));
    const TextEncodings::ReadResult read = TextEncodings::readFile(path, TextEncodings::Automatic);
    ASSERT_TRUE(read.text) << read.error.toStdString();
    EXPECT_EQ(read.encoding, TextEncodings::UTF16LittleEndian);
    const ContactTable rows = rowsOf(QNvCard().containersFromVCards(*read.text));
    ASSERT_EQ(namesOf(rows), QStringList{"山口 恵子"});
    EXPECT_TRUE(rows.first()->person->stringValueForIdentifier("Note").startsWith("来週の打ち合わせは"));
    EXPECT_EQ(rows.first()->person->stringValueForIdentifier("Company"), "株式会社サンプル商事");
}

TEST_F(VCardFileTest, RepeatedNoteOrganizationAndTitleAreAllKept)
{
    const ContactTable rows = importFile("repeated-note-org-title.vcf");
    ASSERT_EQ(rows.size(), 2);
    QNPerson &samir = *rows.at(0)->person;
    // The PREF line is the organisation and title; the others, once each, go to the note.
    EXPECT_EQ(samir.stringValueForIdentifier("Company"), "Haddad Consulting");
    EXPECT_EQ(samir.stringValueForIdentifier("Department"), "");
    EXPECT_EQ(samir.stringValueForIdentifier("Job Title"), "Owner");
    EXPECT_EQ(samir.stringValueForIdentifier("Note"),
              "Prefers calls after 5 pm.\nDaughter: Lina\nORG: First Bank; Loans\nTITLE: Adviser");
    QNPerson &anna = *rows.at(1)->person;
    EXPECT_EQ(anna.stringValueForIdentifier("Company"), "Nordic Timber");
    EXPECT_EQ(anna.stringValueForIdentifier("Job Title"), "Buyer");
    EXPECT_EQ(anna.stringValueForIdentifier("Note"), "ORG: Berg & Sons\nTITLE: Board member");
}

TEST_F(VCardFileTest, EightBitQuotedPrintableWithoutCharsetTakesTheFileEncoding)
{
    const ContactTable latin = importFile("qp-8bit-without-charset.vcf");
    ASSERT_EQ(latin.size(), 1);
    QNPerson &jorg = *latin.at(0)->person;
    EXPECT_EQ(jorg.compositeName(), "Jörg Müller");
    EXPECT_EQ(jorg.labeledValueForIdentifier("Address").first().toMap().value("Street"),
              "Straße des 17. Juni 1");
    EXPECT_EQ(jorg.stringValueForIdentifier("Note"), "Café “Zur Post” € 5 pro Tasse\nzweite Zeile");

    const ContactTable rows = importFile("qp-shift-jis-without-charset.vcf");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.at(0)->person->stringValueForIdentifier("Note"), "携帯は夜つながりにくい");
    EXPECT_EQ(rows.at(0)->person->stringValueForIdentifier("Company"), "東京物産");
}

TEST_F(VCardFileTest, QuotedTypeListsGiveTheirLabels)
{
    const ContactTable rows = importFile("quoted-type-list.vcf");
    ASSERT_EQ(rows.size(), 1);
    QNPerson &minh = *rows.at(0)->person;
    EXPECT_EQ(labelsOf(minh, "Phone"), (QStringList{"home", "mobile", "work fax"}));
    EXPECT_EQ(labelsOf(minh, "Email"), QStringList{"work"});
    EXPECT_EQ(labelsOf(minh, "Address"), QStringList{"home"});
}

TEST_F(VCardFileTest, BeginAndEndCountOnlyAsWholeLines)
{
    const ContactTable rows = importFile("begin-end-in-values.vcf");
    ASSERT_EQ(namesOf(rows), (QStringList{"Tom Fischer", "Rita Silva"}));
    QNPerson &tom = *rows.at(0)->person;
    EXPECT_EQ(tom.stringValueForIdentifier("Note"), "To send:vCard files use the share menu.\n"
                                                    "A card starts with begin:vcard and stops at end:vcard.");
    EXPECT_EQ(labelsOf(tom, "Phone"), QStringList{"mobile"});
    QNPerson &rita = *rows.at(1)->person;
    EXPECT_EQ(rita.stringValueForIdentifier("Note"),
              "Quoted card: BEGIN:VCARD\nN:Other;Person;;;\nEND:VCARD\nend of quote");
    EXPECT_EQ(rita.labeledValueForIdentifier("URL").first().toMap().value("value"),
              "https://example.org/cards?stop=END:VCARD");
    EXPECT_EQ(rita.labeledValueForIdentifier("Email").size(), 1);
}

TEST_F(VCardFileTest, AnOrganizationWithoutANameIsACompany)
{
    const ContactTable rows = importFile("organization-only.vcf");
    ASSERT_EQ(namesOf(rows), (QStringList{"Blue Harbour Ferries", "City Library", "Dana Park"}));
    EXPECT_FALSE(rows.at(0)->person->showAsPerson());
    EXPECT_FALSE(rows.at(1)->person->showAsPerson());
    EXPECT_EQ(rows.at(1)->person->stringValueForIdentifier("Department"), "Reference Desk");
    EXPECT_TRUE(rows.at(2)->person->showAsPerson());
}

TEST_F(VCardFileTest, CustomItemLabelsMadeOfParameters)
{
    const ContactTable rows = importFile("custom-item-parameters.vcf");
    ASSERT_EQ(rows.size(), 1);
    QNPerson &ken = *rows.at(0)->person;
    EXPECT_EQ(labelsOf(ken, "TEST"), (QStringList{"P1=a;P2=b c", "P1=a;P2=b;c"}));
    EXPECT_EQ(labelsOf(ken, "SHOE-SIZE"), QStringList{"EU,WIDE"});
}

TEST_F(VCardFileTest, UidIsKeptAndWrittenBack)
{
    const ContactTable rows = importFile("uid.vcf");
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows.at(0)->person->vCardUID(), "6f1c2a9e-8d3b-4c6a-9f7e-2b5d4a1c0e93");
    EXPECT_EQ(rows.at(1)->person->vCardUID(), "urn:uuid:0b7c4d2e-1a3f-4e5d-8c9b-7a6f5e4d3c2b");
    EXPECT_EQ(rows.at(2)->person->vCardUID(), "");
    // The record's own key stays its own: reading the file twice gives other contacts.
    EXPECT_NE(rows.at(0)->uniqueId, importFile("uid.vcf").at(0)->uniqueId);
    const QString written = QNvCard().vCardsFromContacts(rows, {});
    EXPECT_EQ(written.count("\r\nUID:"), 2);
    EXPECT_TRUE(written.contains("\r\nUID:urn:uuid:0b7c4d2e-1a3f-4e5d-8c9b-7a6f5e4d3c2b\r\n"));
    EXPECT_EQ(rows.at(0)->person->copy()->vCardUID(), "");
}

TEST_F(VCardFileTest, NulBytesAreDropped)
{
    const ContactTable rows = importFile("nul-bytes.vcf");
    ASSERT_EQ(rows.size(), 1);
    QNPerson &ben = *rows.at(0)->person;
    EXPECT_EQ(ben.compositeName(), "Ben Stone");
    EXPECT_EQ(ben.stringValueForIdentifier("Note"), "two words");
    EXPECT_EQ(labelsOf(ben, "Phone"), QStringList{"mobile"});
    for (const QString &value : snapshot(ben))
        EXPECT_FALSE(value.contains(QChar(0)));
}

TEST_F(VCardFileTest, CardsWithoutEndLinesAreEachRead)
{
    EXPECT_EQ(namesOf(importFile("without-end-lines.vcf")),
              (QStringList{"Team Alpha", "Team Bravo", "Team Charlie"}));
}

// Imported custom items are defined as their contacts join the book: the menus and an export
// in the same session know them.
TEST_F(VCardFileTest, ImportedCustomItemsJoinTheDefinitionsAtOnce)
{
    const ContactTable rows = rowsOf(QNvCard().containersFromVCards(QStringLiteral(
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann\r\nX-CLASS:gold\r\nX-MEMBERNO:12\r\nEND:VCARD\r\n")));
    AddressBook book;
    book.setCustomItems({QVariantMap{{"Name", "CLASS"}, {"Type", "String Value"}}});
    QSignalSpy told(&book, &AddressBook::customItemsAdded);
    book.groupEdits().undoAddContacts(rows, std::make_shared<GroupDict>());
    book.groupEdits().undoAddContacts(rows, std::make_shared<GroupDict>());
    const QVariantList added{QVariantMap{{"Name", "MEMBERNO"}, {"Type", "String Value"}}};
    ASSERT_EQ(told.count(), 1) << "known items are not added again";
    EXPECT_EQ(told.first().first().toList(), added);
    EXPECT_EQ(book.customItems().last(), added.first());
}

class VCardFileRoundTrip : public VCardFileTest, public ::testing::WithParamInterface<const char *>
{
};

// What the first read recovered survives our writer and reader, as the export writes it.
TEST_P(VCardFileRoundTrip, LosesNothing)
{
    const ContactTable rows = importFile(QString::fromLatin1(GetParam()));
    ASSERT_FALSE(rows.isEmpty());
    QNPerson::setCustomItems(CustomItemDefinitions::gather({}, rows));
    const std::optional<QString> written = QNvCard().vCardsFromContacts(
        rows, {QNvCardOption::Note, QNvCardOption::Photo, QNvCardOption::Custom}, nullptr);
    ASSERT_TRUE(written);
    const ContactTable back = rowsOf(QNvCard().containersFromVCards(*written));
    ASSERT_EQ(back.size(), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QMap<QString, QString> before = snapshot(*rows.at(i)->person);
        const QMap<QString, QString> after = snapshot(*back.at(i)->person);
        for (auto it = before.begin(); it != before.end(); ++it)
            EXPECT_EQ(after.value(it.key()), it.value()) << "card " << i << ", " << it.key().toStdString();
        EXPECT_EQ(after.keys(), before.keys()) << "card " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, VCardFileRoundTrip,
                         ::testing::Values("cr-cr-lf.vcf", "utf8-folded-by-octets.vcf", "utf16le-no-bom.vcf",
                                           "repeated-note-org-title.vcf", "qp-8bit-without-charset.vcf",
                                           "qp-shift-jis-without-charset.vcf", "quoted-type-list.vcf",
                                           "begin-end-in-values.vcf", "organization-only.vcf",
                                           "custom-item-parameters.vcf", "uid.vcf", "nul-bytes.vcf",
                                           "without-end-lines.vcf"),
                         [](const auto &info) {
                             QString name = QString::fromLatin1(info.param).section('.', 0, 0);
                             name.remove('-');
                             return name.toStdString();
                         });

} // namespace
