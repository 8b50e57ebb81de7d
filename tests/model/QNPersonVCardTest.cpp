#include "QNvCardTestSupport.h"

#include <QBuffer>

namespace {

TEST_F(VCardTest, VCardDataGivesTheFirstCardOrNothing)
{
    const QByteArray two =
        card("N:Lee;Ann;;;\r\nNOTE:first\r\n").toUtf8() + card("N:Stone;Bob;;;\r\n").toUtf8();
    const QNPersonPtr person = QNPerson::initWithVCardData(two);
    ASSERT_TRUE(person);
    EXPECT_EQ(person->compositeName(), "Ann Lee");
    EXPECT_EQ(person->stringValueForIdentifier("Note"), "first");
    EXPECT_TRUE(person->isCreated());
    EXPECT_FALSE(person->isChanged());
    // It reads its values from the parsed card, never from the store.
    EXPECT_EQ(person->cnContact()->identifier(), person->uniqueId());

    for (const QByteArray &data : {QByteArray(), QByteArray("hello"), QByteArray("END:VCARD\r\n")})
        EXPECT_FALSE(QNPerson::initWithVCardData(data)) << data.toStdString();
}

TEST_F(VCardTest, ImportingTwiceGivesDistinctRecords)
{
    const QString text = sample("vcards/web-export-30-bom.vcf");
    const ContactTablePtr first = read(text)->topGroup()->contactTable;
    const ContactTablePtr second = read(text)->topGroup()->contactTable;
    ASSERT_EQ(first->size(), 2);
    EXPECT_NE(first->at(0)->uniqueId, second->at(0)->uniqueId);
    EXPECT_NE(first->at(0)->uniqueId, first->at(1)->uniqueId);
}

// What a contact shows of every field: its texts, each entry as label and text, the name parts
// and the photo's bytes.
QStringList shown(QNPerson &person)
{
    QStringList texts;
    for (const QString &identifier : QNPerson::allIdentifiers() + QStringList{"Colour", "Pets"}) {
        for (int position = 0; position < 3; ++position)
            texts << QNvCard().stringForIdentifier(identifier, "", position, person, false);
    }
    for (const char *part : {"FirstName", "MiddleName", "LastName", "PreviousFamilyName",
                             "Phonetic FirstName", "Phonetic LastName"})
        texts << person.valueForIdentifier(part).toString();
    return texts << QString::fromLatin1(person.photoData().toBase64());
}

TEST_F(VCardTest, RoundTripKeepsEveryField)
{
    QNPerson::setCustomItems(
        {definition(PersonValueType::String, "Colour"), definition(PersonValueType::Labeled, "Pets")});
    auto person = std::make_shared<QNPerson>();
    person->setValue(QVariantMap{{"FirstName", "Ann"},
                                 {"MiddleName", "Q."},
                                 {"LastName", "Lee"},
                                 {"PreviousFamilyName", "Stone"},
                                 {"showAsPerson", true}},
                     "Name");
    person->setValue(QVariantMap{{"FirstName", "An"}, {"LastName", "Rii"}}, "Phonetic Name");
    const QStringList texts{"Company", "Department", "Job Title", "Nickname", "Title", "Suffix", "Note"};
    for (const QString &identifier : texts)
        person->setValue(identifier + QStringLiteral(", text; with \\ and\nbreak"), identifier);
    person->setValue(QVariantList{entry("mobile", "+1 555 0100"), entry("Boat", "555 0101")}, "Phone");
    person->setValue(QVariantList{entry("work", "ann@example.com")}, "Email");
    person->setValue(QVariantList{entry("home page", "https://ann.example")}, "URL");
    person->setValue(QVariantList{QVariantMap{{"label", "home"},
                                              {"Street", "1 Main St\nFlat 2"},
                                              {"City", "Springfield"},
                                              {"State", "IL"},
                                              {"ZIP", "62701"},
                                              {"Country", "USA"}}},
                     "Address");
    person->setValue(QVariantList{entry("spouse", "Bob")}, "Relationship");
    person->setValue(QVariantList{entry("Twitter", "annlee")}, "Social Network");
    person->setValue(
        QVariantList{entry("anniversary", QVariantMap{{"year", 2010}, {"month", 6}, {"day", 1}})}, "Dates");
    person->setValue(QVariantMap{{"value", QVariantMap{{"year", 1980}, {"month", 2}, {"day", 29}}}},
                     "Birthday");
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    person->setPhoto(image);
    person->setValue(QStringLiteral("sea\nblue"), "Colour");
    person->addLabeledValue(entry("cat", "Tom"), "Pets");

    auto row = std::make_shared<ContactRow>();
    row->person = person;
    row->uniqueId = person->uniqueId();
    auto container = std::make_shared<ContainerDict>();
    for (const QString &name : {QStringLiteral("All Contacts"), QStringLiteral("Friends")}) {
        auto group = std::make_shared<GroupDict>();
        group->name = name;
        group->top = container->groups.isEmpty();
        group->contactTable = std::make_shared<ContactTable>(ContactTable{row});
        container->groups.append(group);
    }
    const std::optional<QString> text =
        QNvCard().vCardsFromContacts({row}, {"Note", "Photo", "Custom"}, container);
    ASSERT_TRUE(text);
    const ContainerDictPtr back = read(*text);
    EXPECT_EQ(groupNames(back), (QStringList{"All Contacts", "Friends"}));
    EXPECT_EQ(shown(*back->topGroup()->contactTable->first()->person), shown(*person));
}

} // namespace
