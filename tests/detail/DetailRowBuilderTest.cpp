#include "DetailFixture.h"

#include "addressbook/DefaultsKey.h"
#include "detail/DetailRowBuilder.h"

namespace {

StoreContact contactWithEmails()
{
    StoreContact contact = DetailTest::person(QStringLiteral("Jane"), QStringLiteral("Bennet"));
    contact.emailAddresses = {{QString(), StoreLabel::Home, QStringLiteral("a@example.org")},
                              {QString(), StoreLabel::Work, QStringLiteral("b@example.org")},
                              {QString(), StoreLabel::Other, QStringLiteral("c@example.org")}};
    contact.note = QStringLiteral("one\ntwo\nthree");
    return contact;
}

QVariantList customItem(const QString &name, const QString &type)
{
    return {QVariantMap{{PersonKey::ItemName, name}, {PersonKey::ItemType, type}}};
}

} // namespace

class DetailRowBuilderTest : public DetailTest
{
protected:
    DetailRowBuilder builder{defaults()};
};

TEST_F(DetailRowBuilderTest, DefaultOrderGivesNamePartsAndOneRowPerValue)
{
    const DetailRowTable rows =
        builder.tableFromContact(rowFor(contactWithEmails()), {QStringLiteral("home")});
    const QStringList shown = types(rows);
    EXPECT_EQ(shown.mid(0, 8), QStringList({"Name", "Name", "Name", "Name", "Photo", "Groups",
                                            "Name Ordering", "Name Display"}));
    EXPECT_EQ(shown.count(QStringLiteral("Phonetic Name")), 3);
    EXPECT_EQ(shown.last(), QStringLiteral("Note"));

    QList<std::optional<QString>> nameLabels;
    for (int i = 0; i < 4; ++i) {
        nameLabels.append(rows.at(i)->label);
        EXPECT_EQ(rows.at(i)->labelIndex, i);
    }
    EXPECT_EQ(nameLabels, (QList<std::optional<QString>>{
                              QStringLiteral("FirstName"), QStringLiteral("MiddleName"),
                              QStringLiteral("LastName"), QStringLiteral("PreviousFamilyName")}));

    // The label filter does not apply: all three e-mails, numbered by position.
    const int email = firstRowOf(rows, QStringLiteral("Email"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rows.at(email + i)->type, QStringLiteral("Email"));
        EXPECT_EQ(rows.at(email + i)->index, i);
        EXPECT_EQ(rows.at(email + i)->rowOrderIndex, 7);
    }
    EXPECT_EQ(rows.at(email)->label, QStringLiteral("home"));

    // A field without values still has its row.
    const DetailRow &phone = *rows.at(firstRowOf(rows, QStringLiteral("Phone")));
    EXPECT_EQ(phone.label, QStringLiteral(""));
    EXPECT_FALSE(phone.index);
    EXPECT_EQ(shown.count(QStringLiteral("Phone")), 1);
    // A string field's row has no label.
    EXPECT_FALSE(rows.at(firstRowOf(rows, QStringLiteral("Note")))->label);
}

TEST_F(DetailRowBuilderTest, RowWithoutPersonShowsEveryFieldOnce)
{
    const DetailRowTable rows = builder.tableFromContact(std::make_shared<ContactRow>(), {});
    EXPECT_EQ(types(rows).count(QStringLiteral("Name")), 4);
    EXPECT_EQ(types(rows).count(QStringLiteral("Phonetic Name")), 3);
    EXPECT_EQ(rows.size(), 4 + 3 + 20);
    EXPECT_TRUE(builder.tableFromContact(nullptr, {}).isEmpty());
}

TEST_F(DetailRowBuilderTest, SavedOrderOrdersTheRowsAndTakesMissingCustomItemsFromTheSecondBuild)
{
    defaults().setObject(QStringList{QStringLiteral("Email"), QStringLiteral("Name")},
                         DefaultsKey::LastRowOrder);
    builder.setCustomItems(customItem(QStringLiteral("Pets"), QStringLiteral("String Value")));
    const SubContactRowPtr row = rowFor(contactWithEmails());

    EXPECT_EQ(types(builder.tableFromContact(row, {})),
              QStringList({"Email", "Email", "Email", "Name", "Name", "Name", "Name"}));
    EXPECT_EQ(types(builder.tableFromContact(row, {})).last(), QStringLiteral("Pets"));
}

TEST_F(DetailRowBuilderTest, CustomItemNamedLikeAFieldRemovesBothFromTheSecondBuild)
{
    builder.setCustomItems(customItem(QStringLiteral("Note"), QStringLiteral("String Value")));
    const SubContactRowPtr row = rowFor(contactWithEmails());
    EXPECT_TRUE(types(builder.tableFromContact(row, {})).contains(QStringLiteral("Note")));
    EXPECT_FALSE(types(builder.tableFromContact(row, {})).contains(QStringLiteral("Note")));
    EXPECT_FALSE(builder.rowOrderTable()->contains(QStringLiteral("Note")));
}

// Showing a contact is no reason to offer its labels, least of all the "No label" of an empty one.
TEST_F(DetailRowBuilderTest, ShowingAContactOffersNoLabels)
{
    const SubContactRowPtr row = rowFor(person(QStringLiteral("Kitty"), QStringLiteral("Bennet")));
    row->person->setValue(QVariantList{QVariantMap{{PersonKey::Label, QString()}, {PersonKey::Value, "k@x.org"}},
                                       QVariantMap{{PersonKey::Label, "Quilting"}, {PersonKey::Value, "q@x.org"}}},
                          QStringLiteral("Email"));
    const DetailRowTable rows = builder.tableFromContact(row, {});

    EXPECT_EQ(types(rows).count(QStringLiteral("Email")), 2);
    const QStringList offered = QNPerson::customLabelsForIdentifier(QStringLiteral("Email")).value_or(QStringList());
    EXPECT_FALSE(offered.contains(QStringLiteral("Quilting")));
    EXPECT_FALSE(offered.contains(PersonKey::NoLabel));
}

TEST_F(DetailRowBuilderTest, NameOrderingAndNameDisplayTitles)
{
    // A record of its own has no name order: the system's is shown.
    auto row = std::make_shared<ContactRow>();
    row->person = std::make_shared<QNPerson>();
    row->person->setDefaultNameOrdering(1);
    DetailRowTable rows = builder.tableFromContact(row, {});
    EXPECT_EQ(rows.at(firstRowOf(rows, QStringLiteral("Name Ordering")))->label,
              QStringLiteral("System Default (First Name First)"));
    EXPECT_EQ(builder.nameOrderingLabels(),
              QStringList({"System Default (First Name First)", "First Name First", "Last Name First"}));
    EXPECT_EQ(rows.at(firstRowOf(rows, QStringLiteral("Name Display")))->label, QStringLiteral("Person"));

    StoreContact company = person(QString::fromUtf8("太郎"), QString::fromUtf8("山田"));
    company.setContactType(StoreContactType::Organization);
    rows = builder.tableFromContact(rowFor(company), {});
    EXPECT_EQ(rows.at(firstRowOf(rows, QStringLiteral("Name Ordering")))->label,
              QStringLiteral("Last Name First"));
    EXPECT_EQ(rows.at(firstRowOf(rows, QStringLiteral("Name Display")))->label, QStringLiteral("Company"));
}

TEST_F(DetailRowBuilderTest, RowHeightsFollowTheLinesAndThePhotoRowCount)
{
    const SubContactRowPtr row = rowFor(contactWithEmails());
    const DetailRowTable rows = builder.tableFromContact(row, {});
    QNPerson *person = row->person.get();

    DetailRow &note = *rows.at(firstRowOf(rows, QStringLiteral("Note")));
    EXPECT_EQ(builder.numberOfLines(note, person, 3), 3);
    EXPECT_EQ(note.numLines, 3);
    EXPECT_EQ(DetailRowBuilder::heightForLines(3, 20.0), 62.0);

    DetailRow &photo = *rows.at(firstRowOf(rows, QStringLiteral("Photo")));
    EXPECT_EQ(builder.numberOfLines(photo, person, 3), 3);
    EXPECT_EQ(builder.numberOfLines(photo, person, 1), 1);
    EXPECT_EQ(DetailRowBuilder::heightForLines(1, 24.0), 24.0);

    DetailRow &email = *rows.at(firstRowOf(rows, QStringLiteral("Email")));
    EXPECT_EQ(builder.numberOfLines(email, person, 3), 1);
}
