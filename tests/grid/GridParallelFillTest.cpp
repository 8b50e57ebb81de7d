#include "GridFixture.h"

#include "grid/GridRowBuilder.h"
#include "platform/StoreContact.h"
#include "platform/StoreLabels.h"

#include <QLocale>

#include <limits>
#include <utility>

namespace {

const QStringList GivenNames = {"Anna", "anna", "Émile",  "Zoë",    "Bob",
                                "太郎", "花子", "けんじ", "Øyvind", ""};
const QStringList FamilyNames = {"Smith",  "smith",  "Ångström", "山田",  "佐藤",
                                 "たなか", "O'Neil", "",         "Müller"};
const QStringList PhoneLabels = {StoreLabel::Home, StoreLabel::Work, StoreLabel::PhoneNumberMobile, "Boat",
                                 ""};
const QVariantList CustomItems = {
    QVariantMap{{PersonKey::ItemName, "Hobby"}, {PersonKey::ItemType, "String"}}};
constexpr int ContactCount = 3000;

// Contact i of a varied book as the store gives it: Latin and Japanese names (some equal but for
// case, some empty, some companies), zero to three phone numbers with stock, custom and empty
// labels and repeated or empty numbers, e-mail, six-line notes, addresses.
StoreContact storeContact(int i)
{
    StoreContact contact;
    contact.givenName = GivenNames[i % GivenNames.size()];
    contact.familyName = FamilyNames[(i / 3) % FamilyNames.size()];
    if (i % 11 == 0) {
        contact.setContactType(StoreContactType::Organization);
        contact.organizationName = QStringLiteral("株式会社 %1").arg(i % 17);
    } else if (i % 4 == 0) {
        contact.organizationName = QStringLiteral("Acme %1").arg(i % 5);
    }
    for (int p = 0; p < i % 4; ++p) {
        const QString number =
            (i + p) % 13 == 0 ? QString() : QStringLiteral("+81 3 %1").arg((i * 7 + p) % 500);
        contact.phoneNumbers.append({QString(), PhoneLabels[(i + p) % PhoneLabels.size()], number});
    }
    if (i % 3 == 0)
        contact.emailAddresses.append(
            {QString(), StoreLabel::Work, QStringLiteral("p%1@example.com").arg(i % 97)});
    if (i % 7 == 0)
        contact.note = QStringLiteral("one\ntwo\nthree\nfour\nfive\nsix");
    if (i % 5 == 0)
        contact.postalAddresses.append(
            {QString(),
             StoreLabel::Home,
             {"1-2-3 Ginza", i % 2 ? "東京" : "Osaka", "", "100-0001", "Japan", "jp"}});
    return contact;
}

// The grid's first update reads many contacts at once; on the pool it must build exactly the rows
// that reading them one by one builds.
class GridParallelFillTest : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
        showColumns({"Name", "Phone", "Email", "City", "Note", "Hobby"});
        for (int i = 0; i < ContactCount; ++i) {
            auto record = std::make_shared<QNPerson>(storeContact(i));
            // Some with a custom value of their own, some with phone numbers read and replaced.
            if (i % 9 == 0) {
                record->addCustomItem("String", "Hobby", {}, std::nullopt);
                record->setValue(QStringLiteral("chess %1").arg(i % 4), "Hobby");
            }
            if (i % 10 == 0)
                setValues(record, "Phone", {{"home", QStringLiteral("+1 555 %1").arg(i % 40)}, {"work", ""}});
            add(record);
        }
    }

    void TearDown() override
    {
        GridRowBuilder::setParallelFillThresholdForTesting(std::nullopt);
        QLocale::setDefault(m_locale);
        GridFixture::TearDown();
    }

    // Every row after an update: the contact, position, lines and sort value, then every cell's text.
    QStringList shownRows()
    {
        grid()->updateTable();
        const QList<SubContactRowPtr> rows = grid()->subContactTable();
        const qsizetype columns = grid()->tableIdentifiers().size();
        QStringList shown;
        for (int r = 0; r < rows.size(); ++r) {
            const SubContactRow &row = *rows[r];
            QStringList cells{row.uniqueId, QString::number(row.labelIndex), QString::number(row.numLines),
                              row.notFirstRow ? "+" : "-", row.sortValue.toString()};
            for (int c = 0; c < columns; ++c)
                cells.append(model()->data(model()->index(r, c)).toString());
            shown.append(cells.join(QLatin1Char('|')));
        }
        return shown;
    }

    // The rows with nothing kept from earlier updates.
    QStringList freshRows(bool parallel)
    {
        GridRowBuilder::setParallelFillThresholdForTesting(parallel ? 1
                                                                    : std::numeric_limits<qsizetype>::max());
        grid()->setCustomItems(CustomItems);
        return shownRows();
    }

    const QLocale m_locale;
};

TEST_F(GridParallelFillTest, RowsFilledOnThePoolAreTheRowsFilledInTurn)
{
    const std::pair<QString, bool> sorts[] = {{"compositeName", true}, {"Phone", true}, {"Phone", false}};
    for (const auto &[key, ascending] : sorts) {
        SCOPED_TRACE(key.toStdString() + (ascending ? " ascending" : " descending"));
        sortBy(key, ascending);
        const QStringList serial = freshRows(false);
        ASSERT_GT(serial.size(), ContactCount);
        EXPECT_EQ(freshRows(true), serial);
    }

    // With the company under the name, after a third of the records changed: their entries are
    // filled again on the pool, the others kept.
    sortBy("compositeName");
    grid()->toggleShowCompany();
    const QStringList before = freshRows(true);
    for (int i = 0; i < ContactCount; i += 3) {
        const QNPersonPtr &record = m_table->at(i)->person;
        if (i % 2)
            setValues(record, "Phone", {{"home", QStringLiteral("%1\n%2").arg(i).arg(i % 7)}});
        else
            record->setValue(QVariantMap{{PersonKey::FirstName, QStringLiteral("ゆき %1").arg(i % 50)},
                                         {PersonKey::ShowAsPerson, true}},
                             PersonIdentifier::Name);
    }
    const QStringList updated = shownRows();
    EXPECT_NE(updated, before);
    EXPECT_EQ(updated, freshRows(false));
}

} // namespace
