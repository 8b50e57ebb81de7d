#include "QNvCardTestSupport.h"

namespace {

const QStringList AllOptions{"Note", "Photo", "Custom", "Renmei", "HagakiLayout"};

QNPersonPtr named(const QString &first, const QString &last)
{
    auto person = std::make_shared<QNPerson>();
    person->setValue(QVariantMap{{"FirstName", first}, {"LastName", last}, {"showAsPerson", true}}, "Name");
    return person;
}

ContactRowPtr rowOf(const QNPersonPtr &person, bool deleted = false)
{
    auto row = std::make_shared<ContactRow>();
    row->person = person;
    row->uniqueId = person->uniqueId();
    row->deleted = deleted;
    return row;
}

// The lines of a card, unfolded as written (continuation lines keep their blank).
QStringList linesOf(const QString &card)
{
    QStringList lines = card.split(QStringLiteral("\r\n"));
    lines.removeLast();
    return lines;
}

TEST_F(VCardTest, NoteIsEscapedAndInsertedBeforeTheEndLine)
{
    const QNPersonPtr person = named("Ann", "Lee");
    person->setValue(QStringLiteral("a\nb, c; d \\ e"), "Note");
    const QString text = QNvCard().vCardFromPerson(*person, {"Note"}, {});
    EXPECT_TRUE(text.endsWith("\r\nNOTE:a\\nb\\, c\\; d \\\\ e\r\nEND:VCARD\r\n")) << text.toStdString();
    EXPECT_EQ(text.count("NOTE:"), 1);
    EXPECT_FALSE(QNvCard().vCardFromPerson(*person, {}, {}).contains("NOTE:"));
    const ContactTablePtr rows = read(text)->topGroup()->contactTable;
    EXPECT_EQ(rows->first()->person->stringValueForIdentifier("Note"), "a\nb, c; d \\ e");
}

TEST_F(VCardTest, PhotoIsFoldedAt75Characters)
{
    const QNPersonPtr person = named("Ann", "Lee");
    // 99 bytes give 48 + 74 + 10 base64 characters.
    person->setImageData(QByteArray("\xFF\xD8\xFF") + QByteArray(96, 'j'));
    const QStringList lines = linesOf(QNvCard().vCardFromPerson(*person, {"Photo"}, {}));
    const qsizetype photo = lines.indexOf(QRegularExpression("^PHOTO;ENCODING=b;TYPE=JPEG:.*"));
    ASSERT_GE(photo, 0);
    EXPECT_EQ(lines.at(photo).size(), 75);
    EXPECT_EQ(lines.at(photo + 1).size(), 75);
    EXPECT_EQ(lines.at(photo + 2).size(), 11);
    EXPECT_EQ(lines.at(photo + 3), "END:VCARD");

    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    EXPECT_TRUE(QNvCard().encodeVCardPhoto(image).startsWith("PHOTO;ENCODING=b;TYPE=JPEG:/9j/"));
    EXPECT_TRUE(QNvCard().encodeVCardPhoto(QImage()).isEmpty());
    // A PNG stays a PNG.
    person->setPhoto(image);
    EXPECT_TRUE(QNvCard().vCardFromPerson(*person, {"Photo"}, {}).contains("\r\nPHOTO;ENCODING=b;TYPE=PNG:"));
}

TEST_F(VCardTest, GroupNamesBecomeOneCategoriesLine)
{
    const QNPersonPtr person = named("Ann", "Lee");
    const QString text = QNvCard().vCardFromPerson(*person, {}, {"Friends", "Work"});
    EXPECT_TRUE(text.endsWith("\r\nCATEGORIES:Friends,Work\r\nEND:VCARD\r\n"));
    const QString comma = QNvCard().vCardFromPerson(*person, {}, {"Smith, Jones"});
    EXPECT_EQ(groupNames(read(comma)), (QStringList{"All Contacts", "Smith, Jones"}));
}

TEST_F(VCardTest, CustomValuesSurviveTheirCharacters)
{
    QNPerson::setCustomItems({definition(PersonValueType::String, "Memo"),
                              definition(PersonValueType::Labeled, "Pets"),
                              definition(PersonValueType::String, "Unset")});
    const QNPersonPtr person = named("Ann", "Lee");
    person->setValue(QStringLiteral("line 1\nline 2 \\ back\\n slash: a;b,c"), "Memo");
    person->addLabeledValue(entry("ca;t:,", QStringLiteral("Tom\r\nCat")), "Pets");
    person->setValue(QStringLiteral("Hanako"), "Renmei");
    person->setValue(QStringLiteral("Not asked"), "Note");

    const QString text = QNvCard().vCardFromPerson(*person, {"Custom"}, {});
    // A label holding separators is written as one quoted value.
    EXPECT_TRUE(text.contains("\r\nX-Pets;type=\"ca;t:,\":Tom\\nCat\r\n"));
    EXPECT_FALSE(text.contains("X-Unset"));
    EXPECT_FALSE(text.contains("NOTE:"));
    const QNPersonPtr back = read(text)->topGroup()->contactTable->first()->person;
    EXPECT_EQ(back->stringValueForIdentifier("Memo"), person->stringValueForIdentifier("Memo"));
    const QVariantMap pet = back->labeledValueForIdentifier("Pets").first().toMap();
    EXPECT_EQ(pet.value("label"), "ca;t:,");
    EXPECT_EQ(pet.value("stringValue"), "Tom\nCat");

    EXPECT_FALSE(QNvCard().vCardFromPerson(*person, {}, {}).contains("X-Memo"));
    // A row's card has a line for every definition, empty ones too, and the asked extra lines.
    const QString row = QNvCard().vCardFromContact(*rowOf(person), {"Renmei"});
    EXPECT_TRUE(row.contains("\r\nX-Unset:\r\n"));
    EXPECT_TRUE(row.contains("\r\nX-RENMEI:Hanako\r\n"));
    EXPECT_TRUE(row.indexOf("X-RENMEI") < row.indexOf("X-Memo"));
}

TEST_F(VCardTest, ContactsCarryTheirLiveGroupsAndStopOnRequest)
{
    const QNPersonPtr ann = named("Ann", "Lee");
    const QNPersonPtr bob = named("Bob", "Stone");
    const ContactTable rows{rowOf(ann), rowOf(bob)};
    auto container = std::make_shared<ContainerDict>();
    auto group = [&](const QString &name, bool top, bool deleted, ContactTable table) {
        auto made = std::make_shared<GroupDict>();
        made->name = name;
        made->top = top;
        made->deleted = deleted;
        made->contactTable = std::make_shared<ContactTable>(table);
        container->groups.append(made);
    };
    group("All Contacts", true, false, rows);
    group("Friends", false, false, {rowOf(ann), rowOf(bob, true)});
    group("Gone", false, true, {rowOf(ann)});
    group("Work", false, false, {rowOf(ann)});

    QList<quint64> progress;
    const std::optional<QString> text = QNvCard().vCardsFromContacts(
        rows, AllOptions, container, [&](bool *, quint64 index) { progress.append(index); });
    ASSERT_TRUE(text);
    EXPECT_EQ(progress, (QList<quint64>{0, 1}));
    EXPECT_EQ(text->count("BEGIN:VCARD"), 2);
    EXPECT_EQ(text->count("CATEGORIES:"), 1);
    EXPECT_TRUE(text->contains("CATEGORIES:Friends,Work\r\n"));

    EXPECT_FALSE(
        QNvCard().vCardsFromContacts(rows, {}, container, [](bool *stop, quint64) { *stop = true; }));
    EXPECT_EQ(QNvCard().vCardsFromContacts({}, {}, nullptr), QString());
    EXPECT_EQ(QNvCard().vCardsFromContacts(rows, {}).count("END:VCARD"), 2);
    // A contact listed twice is written twice.
    const std::optional<QString> twice = QNvCard().vCardsFromContacts(rows + rows, {}, container);
    EXPECT_EQ(*twice, *QNvCard().vCardsFromContacts(rows, {}, container) +
                          *QNvCard().vCardsFromContacts(rows, {}, container));
}

// Each edit reaches the next export, however the record took it; a record not edited since it was
// read is written without reading its values.
TEST_F(VCardTest, AnExportAfterAnEditWritesTheEdit)
{
    const QNPersonPtr person =
        read(card("N:Lee;Ann;;;\r\nTEL;TYPE=CELL:+1 111\r\nEMAIL:ann@example.com\r\nNOTE:first\r\n"))
            ->topGroup()
            ->contactTable->first()
            ->person;
    const auto exported = [&person] { return QNvCard().vCardFromPerson(*person, {"Note"}, {}); };
    EXPECT_TRUE(exported().contains("\r\nTEL;TYPE=CELL:+1 111\r\n"));
    EXPECT_FALSE(person->heldLabeledValues(QNPerson::LabeledKind::Phone));

    // Undo puts a cached value back by hand.
    person->setItem("Note", "restored");
    EXPECT_TRUE(exported().contains("\r\nNOTE:restored\r\n"));
    person->removeItem("Note");
    EXPECT_TRUE(exported().contains("\r\nNOTE:first\r\n"));

    QVariantMap phone = person->labeledValueForIdentifier("Phone").first().toMap();
    phone.insert("value", "+1 222");
    person->replaceLabeledValue(phone, "Phone");
    EXPECT_TRUE(exported().contains("\r\nTEL;TYPE=CELL:+1 222\r\n")) << exported().toStdString();
    EXPECT_FALSE(exported().contains("+1 111"));

    person->setValue(QVariantMap{{"FirstName", "Anna"}, {"LastName", "Lee"}}, "Name");
    EXPECT_TRUE(exported().contains("\r\nN:Lee;Anna;;;\r\n"));
}

// A store contact fetched without a key that the card needs is fetched again once; when the store
// no longer has it, the card holds what could be read.
TEST_F(VCardTest, AStoreContactLackingKeysIsWrittenWithWhatTheStoreGives)
{
    const auto contact = [] {
        StoreContact made;
        made.givenName = "Ann";
        made.note = "Call back";
        made.phoneNumbers = {{{}, StoreLabel::Home, "+1 111"}};
        return made;
    };
    const QStringList missing{StoreKey::Note, StoreKey::PhoneNumbers};

    QNPerson fetched(storedAndFetchedWithout(contact(), missing));
    const QString text = QNvCard().vCardFromPerson(fetched, {"Note"}, {});
    EXPECT_TRUE(text.contains("\r\nNOTE:Call back\r\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\r\nTEL;TYPE=HOME:+1 111\r\n"));
    EXPECT_FALSE(fetched.heldLabeledValues(QNPerson::LabeledKind::Phone));

    QNPerson gone(storedAndFetchedWithout(contact(), missing, true));
    const QString partial = QNvCard().vCardFromPerson(gone, {"Note"}, {});
    EXPECT_TRUE(partial.contains("\r\nN:;Ann;;;\r\n")) << partial.toStdString();
    EXPECT_FALSE(partial.contains("NOTE:"));
    EXPECT_FALSE(partial.contains("TEL"));
}

} // namespace
