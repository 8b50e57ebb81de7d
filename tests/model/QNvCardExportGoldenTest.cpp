// The export writes a record whose values were not edited since it was read straight from the
// contact it was read from, and an edited record from its values. Both ways must write the same
// bytes: the sample files and the benchmark generator's contacts are exported both ways and
// compared with the golden exports in tests/data/vcard-export. CT_WRITE_GOLDEN=1 writes those anew
// from the edited records.

#include "QNvCardTestSupport.h"

#include "BenchContacts.h"

#include <QDir>
#include <QSaveFile>

namespace {

const QStringList ExportOptions{QNvCardOption::Photo, QNvCardOption::Note, QNvCardOption::Custom,
                                QNvCardOption::Categories};
constexpr int GeneratorContacts = 60;

// An edit that leaves every value as it was: the record is written from its values from now on.
void touch(QNPerson &person)
{
    person.setValue(person.stringValueForIdentifier(QStringLiteral("Nickname")), QStringLiteral("Nickname"));
}

void touchAll(const ContactTable &rows)
{
    for (const ContactRowPtr &row : rows)
        touch(*row->person);
}

QByteArray exported(const ContactTable &rows, const ContainerDictPtr &container)
{
    const std::optional<QString> text = QNvCard().vCardsFromContacts(rows, ExportOptions, container);
    EXPECT_TRUE(text);
    return text.value_or(QString()).toUtf8();
}

// The first line where the two differ, for a readable failure.
std::string firstDifference(const QByteArray &expected, const QByteArray &actual)
{
    const QList<QByteArray> want = expected.split('\n');
    const QList<QByteArray> got = actual.split('\n');
    for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i) {
        const QByteArray a = want.value(i), b = got.value(i);
        if (a != b)
            return QStringLiteral("line %1:\n  golden: %2\n  export: %3")
                .arg(i + 1)
                .arg(QString::fromUtf8(a), QString::fromUtf8(b))
                .toStdString();
    }
    return "same lines";
}

void expectGolden(const QString &name, const QByteArray &actual)
{
    const QString path = TestEnvironment::dataPath(QStringLiteral("vcard-export/") + name);
    if (qEnvironmentVariableIsSet("CT_WRITE_GOLDEN")) {
        QDir().mkpath(QFileInfo(path).path());
        QSaveFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(actual) == actual.size() && file.commit());
        return;
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray golden = file.readAll();
    EXPECT_TRUE(golden == actual) << name.toStdString() << ": " << firstDifference(golden, actual);
}

// Values are read only as a view or the edited way asks: a record written straight from its
// contact has none of its lists read.
bool listsUnread(QNPerson &person)
{
    for (const QString &identifier : QNPerson::labeledIdentifiers()) {
        if (person.heldLabeledValues(*QNPerson::labeledKindForIdentifier(identifier)))
            return false;
    }
    return true;
}

class ExportGoldenTest : public VCardTest
{
protected:
    // The definitions the window would hold after importing the rows: each record's own.
    static void takeCustomItemsOf(const ContactTable &rows)
    {
        QVariantList items;
        QStringList names;
        for (const ContactRowPtr &row : rows) {
            for (const QVariant &item : row->person->ownCustomItems()) {
                const QString name = item.toMap().value(PersonKey::ItemName).toString();
                if (!names.contains(name)) {
                    names.append(name);
                    items.append(item);
                }
            }
        }
        QNPerson::setCustomItems(items);
    }

    // Written as read, after reading every value, and with every record edited: all golden.
    static void expectBothWaysGolden(const QString &name, const ContactTable &rows,
                                     const ContainerDictPtr &container)
    {
        if (qEnvironmentVariableIsSet("CT_WRITE_GOLDEN")) {
            touchAll(rows);
            expectGolden(name, exported(rows, container));
            return;
        }
        expectGolden(name, exported(rows, container));
        for (const ContactRowPtr &row : rows)
            EXPECT_TRUE(listsUnread(*row->person))
                << name.toStdString() << ": " << row->uniqueId.toStdString();
        // Values read by a view are still the contact's.
        for (const ContactRowPtr &row : rows)
            row->person->readEveryValue();
        expectGolden(name, exported(rows, container));
        touchAll(rows);
        expectGolden(name, exported(rows, container));
    }

    // The generator's contacts 0..n-1 as the store keeps them, with their custom values and groups
    // (in name order, as a file's categories are read).
    ContainerDictPtr generatorContainer()
    {
        QStringList categories = BenchContacts::allCategories();
        categories.sort();
        auto container = std::make_shared<ContainerDict>();
        auto top = std::make_shared<GroupDict>();
        top->top = true;
        top->contactTable = std::make_shared<ContactTable>();
        container->groups.append(top);
        QHash<QString, GroupDictPtr> groups;
        for (const QString &category : std::as_const(categories)) {
            auto group = std::make_shared<GroupDict>();
            group->name = category;
            group->contactTable = std::make_shared<ContactTable>();
            groups.insert(category, group);
            container->groups.append(group);
        }
        for (int i = 0; i < GeneratorContacts; ++i) {
            auto row = std::make_shared<ContactRow>();
            row->person = std::make_shared<QNPerson>(storedAndFetchedWithout(BenchContacts::contact(i), {}));
            row->uniqueId = row->person->uniqueId();
            restoreCustomValues(*row->person, BenchContacts::customValues(i));
            top->contactTable->append(row);
            for (const QString &category : BenchContacts::categories(i))
                groups.value(category)->contactTable->append(row);
        }
        return container;
    }

    // As the load restores them from the cloud store.
    static void restoreCustomValues(QNPerson &person, const QVariantMap &values)
    {
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const bool list = it->typeId() == QMetaType::QVariantList;
            person.addCustomItem(list ? PersonValueType::Labeled : PersonValueType::String, it.key(), {},
                                 std::nullopt);
            person.setValue(*it, it.key());
        }
        person.setChanged(false);
    }
};

TEST_F(ExportGoldenTest, GeneratorContactsFromTheStoreAndReadBackExportAlikeBothWays)
{
    QNPerson::setCustomItems(BenchContacts::customItems());
    const ContainerDictPtr stored = generatorContainer();
    const ContactTable storedRows = *stored->topGroup()->contactTable;
    const QByteArray written = exported(storedRows, stored);
    expectBothWaysGolden(QStringLiteral("generator.vcf"), storedRows, stored);

    // What the export wrote reads back into records that write it again.
    const ContainerDictPtr back = read(QString::fromUtf8(written));
    const ContactTable backRows = *back->topGroup()->contactTable;
    ASSERT_EQ(backRows.size(), GeneratorContacts);
    expectBothWaysGolden(QStringLiteral("generator.vcf"), backRows, back);
}

// Labels that reading and writing back change (a bare word, an unknown wrapped word, the "No label"
// text), a social profile known by its service's older name or by its user identifier alone,
// entries that the write-back leaves out (a blank number, an empty name or account) and partial
// dates.
StoreContact unusualContact()
{
    StoreContact c;
    c.namePrefix = QStringLiteral("Dr.");
    c.givenName = QStringLiteral("Ada");
    c.familyName = QStringLiteral("Byrne");
    c.nameSuffix = QStringLiteral("Jr.");
    c.previousFamilyName = QStringLiteral("Old");
    c.nickname = QStringLiteral("Ad; a");
    c.note = QStringLiteral("one\r\ntwo, three\\four");
    c.phoneNumbers = {{{}, QString(), QStringLiteral("+1 1")},
                      {{}, QStringLiteral("home"), QStringLiteral("+1 2")},
                      {{}, QStringLiteral("_$!<Unknown>!$_"), QStringLiteral("+1 3")},
                      {{}, QStringLiteral("No label"), QStringLiteral("+1 4")},
                      {{}, QStringLiteral("_$!<>!$_"), QStringLiteral("+1 5")},
                      {{}, QStringLiteral("_$!<Mobile>!$_"), QStringLiteral("   ")},
                      {{}, QStringLiteral("Boat; or ship"), QStringLiteral("+1 6")}};
    c.emailAddresses = {{{}, QString(), QStringLiteral("a@example.com")},
                        {{}, QStringLiteral("work"), QStringLiteral("b@example.com")},
                        {{}, QStringLiteral("_$!<Home>!$_"), QString()}};
    c.urlAddresses = {{{}, QStringLiteral("blog"), QStringLiteral("https://example.com/a,b;c")}};
    c.postalAddresses = {{{}, QString(), {QStringLiteral("1 Main St"), {}, {}, {}, {}, {}}},
                         {{},
                          QStringLiteral("_$!<Cabin>!$_"),
                          {{}, QStringLiteral("Paris"), {}, {}, {}, QStringLiteral("fr")}},
                         {{}, QStringLiteral("home"), {}}};
    c.contactRelations = {{{}, QString(), QStringLiteral("Ann")},
                          {{}, QStringLiteral("_$!<Friend>!$_"), QString()},
                          {{}, QStringLiteral("mother"), QStringLiteral("Mum")}};
    c.dates = {{{}, QString(), {2001, 2, 3}},
               {{}, QStringLiteral("_$!<Other>!$_"), {std::nullopt, 4, 5}},
               {{}, QStringLiteral("party"), {2002, std::nullopt, std::nullopt}},
               {{}, QStringLiteral("x"), {}}};
    c.birthday = DateComponents{std::nullopt, 12, 24};
    c.socialProfiles = {
        {{},
         QString(),
         {QStringLiteral("https://facebook.example/x"), QStringLiteral("x"), {}, QStringLiteral("facebook")}},
        {{}, QStringLiteral("Twitter"), {{}, {}, QStringLiteral("id123"), QStringLiteral("Twitter")}},
        {{}, QStringLiteral("Foo"), {QStringLiteral("https://foo.example/y"), QStringLiteral("y"), {}, {}}},
        {{}, QStringLiteral("_$!<Other>!$_"), {{}, QStringLiteral("z"), {}, QStringLiteral("MySpace")}}};
    c.instantMessageAddresses = {
        {{}, QString(), {QString(), QStringLiteral("Skype")}},
        {{}, QStringLiteral("_$!<Home>!$_"), {QStringLiteral("me"), QString()}},
        {{}, QStringLiteral("chat"), {QStringLiteral("you"), QStringLiteral("Jabber")}}};
    return c;
}

StoreContact nameless()
{
    StoreContact c;
    c.setContactType(StoreContactType::Organization);
    c.birthday = DateComponents{1999, std::nullopt, std::nullopt};
    return c;
}

TEST_F(ExportGoldenTest, UnusualValuesExportAlikeBothWays)
{
    const auto rowOf = [](const QNPersonPtr &person) {
        auto row = std::make_shared<ContactRow>();
        row->person = person;
        row->uniqueId = person->uniqueId();
        return row;
    };
    const ContactTable stored{
        rowOf(std::make_shared<QNPerson>(storedAndFetchedWithout(unusualContact(), {}))),
        rowOf(std::make_shared<QNPerson>(storedAndFetchedWithout(nameless(), {})))};
    const QByteArray written = exported(stored, nullptr);
    expectBothWaysGolden(QStringLiteral("unusual-values.vcf"), stored, nullptr);

    const ContainerDictPtr back = read(QString::fromUtf8(written));
    expectBothWaysGolden(QStringLiteral("unusual-values-read-back.vcf"), *back->topGroup()->contactTable,
                         back);
}

struct Sample
{
    const char *file;
    const char *encoding;
    const char *fallbackCharset;
};

class SampleExportTest : public ExportGoldenTest, public ::testing::WithParamInterface<Sample>
{
};

TEST_P(SampleExportTest, ExportsAlikeBothWays)
{
    const Sample sample = GetParam();
    const QString text = VCardTest::sample(QString::fromLatin1(sample.file), sample.encoding);
    const std::optional<ContainerTable> containers =
        QNvCard().containersFromVCards(text, {}, QByteArray(sample.fallbackCharset));
    ASSERT_TRUE(containers && containers->size() == 1);
    const ContainerDictPtr container = containers->first();
    const ContactTable rows = *container->topGroup()->contactTable;
    ASSERT_FALSE(rows.isEmpty());
    takeCustomItemsOf(rows);
    expectBothWaysGolden(QFileInfo(QString::fromLatin1(sample.file)).fileName(), rows, container);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SampleExportTest,
    ::testing::Values(
        Sample{"vcard-21-qp-utf8.vcf", "UTF-8", ""}, Sample{"vcard-21-sjis.vcf", "Shift_JIS", ""},
        Sample{"vcard-broken.vcf", "UTF-8", ""}, Sample{"vcard-desktop-30.vcf", "UTF-8", ""},
        Sample{"vcards/android-21-lf.vcf", "UTF-8", ""}, Sample{"vcards/broken-mixed.vcf", "UTF-8", ""},
        Sample{"vcards/classic-cr.vcf", "UTF-8", ""},
        Sample{"vcards/feature-phone-sjis.vcf", "Shift_JIS", ""},
        Sample{"vcards/mail-client-lower-case.vcf", "UTF-8", ""},
        Sample{"vcards/mail-program-21-crlf.vcf", "UTF-8", ""},
        Sample{"vcards/own-custom-items.vcf", "UTF-8", ""}, Sample{"vcards/phone-30-crlf.vcf", "UTF-8", ""},
        Sample{"vcards/web-export-30-bom.vcf", "UTF-8", ""},
        Sample{"vcards/real-world/begin-end-in-values.vcf", "UTF-8", ""},
        Sample{"vcards/real-world/cr-cr-lf.vcf", "UTF-8", ""},
        Sample{"vcards/real-world/custom-item-parameters.vcf", "UTF-8", ""},
        Sample{"vcards/real-world/nul-bytes.vcf", "UTF-8", ""},
        Sample{"vcards/real-world/organization-only.vcf", "UTF-8", ""},
        Sample{"vcards/real-world/qp-8bit-without-charset.vcf", "UTF-8", "ISO-8859-1"},
        Sample{"vcards/real-world/qp-shift-jis-without-charset.vcf", "UTF-8", "Shift_JIS"},
        Sample{"vcards/real-world/quoted-type-list.vcf", "UTF-8", ""},
        Sample{"vcards/real-world/repeated-note-org-title.vcf", "UTF-8", ""},
        Sample{"vcards/real-world/uid.vcf", "UTF-8", ""},
        Sample{"vcards/real-world/utf16be-no-bom.vcf", "UTF-16BE", ""},
        Sample{"vcards/real-world/utf16le-no-bom.vcf", "UTF-16LE", ""},
        Sample{"vcards/real-world/utf8-folded-by-octets.vcf", "UTF-8", ""},
        Sample{"vcards/real-world/without-end-lines.vcf", "UTF-8", ""},
        Sample{"other-programs/abdate-type-anniversary.vcf", "UTF-8", ""},
        Sample{"other-programs/impp-services.vcf", "UTF-8", ""},
        Sample{"other-programs/utf16le-japanese-note.vcf", "UTF-16LE", ""},
        Sample{"other-programs/vcard40-data-uri-photos.vcf", "UTF-8", ""}),
    [](const ::testing::TestParamInfo<Sample> &info) {
        QString name = QFileInfo(QString::fromLatin1(info.param.file)).completeBaseName();
        name.replace(QLatin1Char('-'), QLatin1Char('_'));
        return name.toStdString();
    });

} // namespace
