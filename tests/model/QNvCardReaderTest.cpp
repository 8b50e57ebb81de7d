#include "QNvCardTestSupport.h"

#include <QRandomGenerator>

namespace {

TEST_F(VCardTest, ShortTextsGiveAnEmptyTopGroup)
{
    for (const QString &text : {QString(), QStringLiteral("BEGIN:VCAR"), QStringLiteral("0123456789")}) {
        const ContainerDictPtr container = read(text);
        EXPECT_EQ(container->name, "vCard");
        ASSERT_EQ(container->groups.size(), 1);
        EXPECT_TRUE(container->topGroup()->top);
        EXPECT_EQ(container->topGroup()->name, "All Contacts");
        EXPECT_TRUE(container->topGroup()->contactTable->isEmpty());
    }
}

TEST_F(VCardTest, LowerCaseBeginAndEndAreFound)
{
    const ContainerDictPtr container = read("begin:vcard\nversion:3.0\nn:Lee;Ann;;;\nend:vcard\n");
    ASSERT_EQ(container->topGroup()->contactTable->size(), 1);
    const ContactRowPtr row = container->topGroup()->contactTable->first();
    EXPECT_EQ(row->person->compositeName(), "Ann Lee");
    EXPECT_EQ(row->uniqueId, row->person->uniqueId());
    EXPECT_TRUE(row->isNew);
}

TEST_F(VCardTest, CategoriesBecomeGroupsWithCopiesOfTheRows)
{
    const ContainerDictPtr container =
        read(card("N:A;;;;\r\nCATEGORIES:Work,Friends\r\n") + card("N:B;;;;\r\ncategories: Work \r\n") +
             card("N:C;;;;\r\nCATEGORIES:Twice,Twice\r\n") + card("N:D;;;;\r\nCATEGORIES:All Contacts\r\n"));
    // A category named like the top group is a group of its own: no contact is listed twice there.
    EXPECT_EQ(groupNames(container),
              (QStringList{"All Contacts", "All Contacts", "Friends", "Twice", "Work"}));
    const ContactTablePtr top = container->topGroup()->contactTable;
    EXPECT_EQ(top->size(), 4);
    const GroupDictPtr work = container->groups.at(4);
    ASSERT_EQ(work->contactTable->size(), 2);
    EXPECT_EQ(work->contactTable->at(1)->person, top->at(1)->person);
    EXPECT_NE(work->contactTable->at(1), top->at(1));
    EXPECT_EQ(container->groups.at(3)->contactTable->size(), 2);
    EXPECT_EQ(work->containerName, "Local");
    EXPECT_TRUE(work->uniqueId.startsWith("Work-"));
    EXPECT_EQ(QNvCard().contactsForGroup(work, container), work->contactTable);
    EXPECT_EQ(QNvCard().contactsInContainer(container), top);
}

TEST_F(VCardTest, XLinesBecomeCustomItems)
{
    const QString Labeled = PersonValueType::Labeled;
    const QString String = PersonValueType::String;
    struct Case
    {
        const char *line, *name;
        QString type;
        const char *label, *value;
    } const cases[] = {
        {"X-FOO;type=home:a:b", "FOO", Labeled, "home", "a:b"},
        {"X-FOO;TYPE=home:x", "FOO", Labeled, "home", "x"},
        {"X-FOO;TYPE=\" my home\t\":x", "FOO", Labeled, "my home", "x"},
        {"X-FOO;x-param=1:x", "FOO", Labeled, "x-param=1", "x"},
        {"X-BAR:", "BAR", String, "", ""},
        {"X-Memo:one\\ntwo \\\\ three", "Memo", String, "", "one\ntwo \\ three"},
        {"X-Long:folded \r\n line", "Long", String, "", "folded line"},
        {"X-QP;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:caf=C3=A9", "QP", String, "", "café"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        QNPerson person;
        QNvCard().decodeVCardCustomItems(card(QString::fromUtf8(c.line) + "\r\n"), person);
        ASSERT_EQ(person.customIdentifiers(), QStringList{c.name});
        ASSERT_EQ(person.typeForIdentifier(c.name), c.type);
        if (c.type == String) {
            EXPECT_EQ(person.stringValueForIdentifier(c.name), QString::fromUtf8(c.value));
            continue;
        }
        const QVariantList entries = person.labeledValueForIdentifier(c.name);
        ASSERT_EQ(entries.size(), 1);
        EXPECT_EQ(entries.first().toMap().value("label"), c.label);
        EXPECT_EQ(entries.first().toMap().value("stringValue"), QString::fromUtf8(c.value));
    }
}

TEST_F(VCardTest, LinesTheParserReadsAreNoCustomItems)
{
    QNPerson person;
    QNvCard().decodeVCardCustomItems(
        card("X-ABUID:1\r\nX-SOCIALPROFILE;type=twitter:http://t.example/a\r\n"
             "X-ABShowAs:COMPANY\r\nX-PHONETIC-LAST-NAME:Li\r\nitem1.X-Foo:grouped\r\n"
             "x-lower:theirs\r\nX-:nameless\r\nX-NOCOLON\r\n"),
        person);
    EXPECT_TRUE(person.customIdentifiers().isEmpty());
    QNvCard().decodeVCardCustomItems(card("X-Pets;type=cat:Tom\r\nX-Pets;type=dog:Rex\r\n"), person);
    EXPECT_EQ(person.labeledValueForIdentifier("Pets").size(), 2);
    EXPECT_EQ(person.customItemForIdentifier("Pets")->value("Labels").toStringList(),
              (QStringList{"cat", "dog"}));
}

// A custom item of a name the store's parser takes would not come back from a file.
struct ReservedName
{
    const char *name;
    bool reserved;
};

class ReservedCustomItemName : public ::testing::TestWithParam<ReservedName>
{
};

TEST_P(ReservedCustomItemName, FollowsWhatTheStoreReaderReads)
{
    EXPECT_EQ(QNvCard::isReservedCustomItemName(GetParam().name), GetParam().reserved) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Names, ReservedCustomItemName,
                         ::testing::Values(ReservedName{"MAIDENNAME", true}, ReservedName{"skype", true},
                                           ReservedName{" Google-Talk ", true}, ReservedName{"ABLabel", true},
                                           ReservedName{"ABADR", true}, ReservedName{"abuid", true},
                                           ReservedName{"Phonetic-First-Name", true},
                                           ReservedName{"TEL", false}, ReservedName{"IRMC-N", false},
                                           ReservedName{"Pets", false}));

// An X-ABLabel as the reader first gives it and as it reads back once exported.
struct LabelReading
{
    QString text;
    QString label;
};

void PrintTo(const LabelReading &row, std::ostream *out)
{
    *out << '"' << row.text.toStdString() << '"';
}

class LabelRoundTrip : public VCardTest, public ::testing::WithParamInterface<LabelReading>
{
protected:
    static QString phoneLabel(QNPerson &person)
    {
        const QVariantList phones = person.labeledValueForIdentifier("Phone");
        return phones.isEmpty() ? QStringLiteral("<no phone>")
                                : phones.first().toMap().value("label").toString();
    }
};

TEST_P(LabelRoundTrip, FirstReadingIsTheOneThatReadsBack)
{
    const QNPersonPtr first =
        read(card("N:Lee;Ann;;;\r\nitem1.TEL:+1 111\r\nitem1.X-ABLabel:" + GetParam().text + "\r\n"))
            ->topGroup()
            ->contactTable->first()
            ->person;
    EXPECT_EQ(phoneLabel(*first), GetParam().label);
    const auto readBack = [&first] {
        const QString written = QNvCard().vCardFromPerson(*first, {}, {});
        EXPECT_EQ(phoneLabel(*read(written)->topGroup()->contactTable->first()->person), GetParam().label)
            << written.toStdString();
    };
    readBack();
    // An edited record writes its labels from its values, as a save to the store does.
    first->setValue(QStringLiteral("edited"), "Note");
    readBack();
}

INSTANTIATE_TEST_SUITE_P(Rows, LabelRoundTrip,
                         ::testing::Values(LabelReading{"_$!<Other >!$_", "other"},
                                           LabelReading{"_$!< Other>!$_", "other"},
                                           LabelReading{"_$!<Other\t>!$_", "other"},
                                           LabelReading{"Summer house", "Summer house"}));

TEST_F(VCardTest, ProgressGivesTheOffsetPastEachCardAndStops)
{
    const QString first = card("N:😀;;;;\r\n");
    const QString text = first + "junk\r\n" + card("N:B;;;;\r\n");
    QList<quint64> offsets;
    EXPECT_TRUE(QNvCard().containersFromVCards(text, [&](bool *stop, quint64 offset) {
        EXPECT_FALSE(*stop);
        offsets.append(offset);
    }));
    // Through the CR after END:VCARD, in UTF-16 units; the LF starts the next search.
    EXPECT_EQ(offsets, (QList<quint64>{quint64(first.size() - 1), quint64(text.size() - 1)}));

    int calls = 0;
    EXPECT_FALSE(QNvCard().containersFromVCards(text, [&](bool *stop, quint64) {
        ++calls;
        *stop = true;
    }));
    EXPECT_EQ(calls, 1);
}

TEST_F(VCardTest, SampleFilesReadEveryCard)
{
    struct Case
    {
        const char *file, *encoding;
        QStringList names, groups;
    } const cases[] = {
        {"phone-30-crlf.vcf", "UTF-8", {"Johnny Appleseed", "Orchard Supply"}, {}},
        {"android-21-lf.vcf", "UTF-8", {"山田 太郎", "Anna Smith"}, {}},
        {"feature-phone-sjis.vcf", "Shift_JIS", {"鈴木 一郎", "高橋 次郎"}, {}},
        {"mail-program-21-crlf.vcf", "UTF-8", {"Ann Lee"}, {}},
        {"mail-client-lower-case.vcf", "UTF-8", {"Jörg Müller"}, {"Berlin", "Kollegen"}},
        {"web-export-30-bom.vcf", "UTF-8", {"Maria García", "Pat Doe"}, {"Friends", "myContacts"}},
        {"own-custom-items.vcf", "UTF-8", {"Hanako Tanaka"}, {"Family", "Friends"}},
        {"classic-cr.vcf", "UTF-8", {"Mac Old"}, {"Vintage"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        const ContainerDictPtr container = read(sample(QStringLiteral("vcards/") + c.file, c.encoding));
        EXPECT_EQ(namesOf(container->topGroup()->contactTable), c.names);
        EXPECT_EQ(groupNames(container).mid(1), c.groups);
    }
}

TEST_F(VCardTest, BrokenCardsDoNotTakeTheNextOneWithThem)
{
    const QStringList names = namesOf(read(sample("vcards/broken-mixed.vcf"))->topGroup()->contactTable);
    // A card without END ends at the next BEGIN, the last one at the end of the text; the empty
    // card and the one whose quoted-printable name ran on read as they can.
    ASSERT_EQ(names.size(), 5);
    EXPECT_EQ(names.at(0), "Without End Nobody");
    EXPECT_EQ(names.at(1), "First Good");
    EXPECT_EQ(names.at(2), "No Name");
    EXPECT_EQ(names.at(4), "Last Truncated");
    // A BEGIN line with nothing after it is no contact.
    EXPECT_EQ(read(card("N:A;;;;\r\n") + "BEGIN:VCARD\r\nVERSION:3.0\r\n")->topGroup()->contactTable->size(),
              1);
}

TEST_F(VCardTest, SampleValuesSurvive)
{
    const ContactTablePtr phone = read(sample("vcards/phone-30-crlf.vcf"))->topGroup()->contactTable;
    EXPECT_TRUE(phone->at(0)->person->photoData().startsWith("\xFF\xD8\xFF"));
    EXPECT_FALSE(phone->at(0)->person->photo().isNull());
    EXPECT_FALSE(phone->at(1)->person->showAsPerson());
    EXPECT_TRUE(phone->at(0)->person->customIdentifiers().isEmpty());

    const QNPersonPtr taro =
        read(sample("vcards/android-21-lf.vcf"))->topGroup()->contactTable->at(0)->person;
    EXPECT_EQ(taro->stringValueForIdentifier("Note"), "メモ\n2行目はとても長い");
    EXPECT_EQ(taro->customIdentifiers(), QStringList{"ANDROID-CUSTOM"});
    EXPECT_FALSE(taro->photo().isNull());

    const QNPersonPtr ichiro =
        read(sample("vcards/feature-phone-sjis.vcf", "Shift_JIS"))->topGroup()->contactTable->at(0)->person;
    EXPECT_EQ(ichiro->stringValueForIdentifier("GN"), "友人");
    EXPECT_EQ(ichiro->phoneticNameValue()->value("LastName"), "ｽｽﾞｷ");

    const QNPersonPtr hanako =
        read(sample("vcards/own-custom-items.vcf"))->topGroup()->contactTable->at(0)->person;
    EXPECT_EQ(hanako->stringValueForIdentifier("Renmei"), "Taro\nJiro");
    EXPECT_TRUE(hanako->stringValueForIdentifier("Favourite colour").endsWith("seventy-five characters"));
}

// Cut and damaged copies of the samples, and random text made of card pieces.
TEST_F(VCardTest, NothingCrashesOnAnyInput)
{
    QRandomGenerator random(11);
    for (const char *file :
         {"phone-30-crlf.vcf", "android-21-lf.vcf", "own-custom-items.vcf", "broken-mixed.vcf"}) {
        const QString text = sample(QStringLiteral("vcards/") + file);
        for (qsizetype cut = 0; cut < text.size(); cut += 13)
            read(text.left(cut));
        for (int damage = 0; damage < 20; ++damage) {
            QString damaged = text;
            for (int i = 0; i < 8; ++i)
                damaged[random.bounded(int(damaged.size()))] = QChar(u";:=\\\r\n,\"X"[random.bounded(10)]);
            read(damaged);
        }
    }
    const QStringList pieces{"BEGIN:VCARD\n", "END:VCARD\n", "X-", ";type=", ":", "=\n", "CATEGORIES:", ","};
    for (int round = 0; round < 50; ++round) {
        QString text;
        for (int i = 0; i < 40; ++i)
            text += pieces.at(random.bounded(int(pieces.size())));
        read(text);
    }
}

} // namespace
