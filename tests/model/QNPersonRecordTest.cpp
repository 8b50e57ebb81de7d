#include "PersonTestSupport.h"

#include <QJsonDocument>
#include <QRegularExpression>

namespace {

using Kind = QNPerson::LabeledKind;

TEST_F(PersonTest, NewRecordsGetDistinctUpperCaseUuids)
{
    QNPerson first;
    QNPerson second;
    const QRegularExpression uuid(QStringLiteral("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"));
    EXPECT_TRUE(uuid.match(first.uniqueId()).hasMatch()) << first.uniqueId().toStdString();
    EXPECT_NE(first.uniqueId(), second.uniqueId());
    EXPECT_TRUE(first.isCreated());
    EXPECT_FALSE(first.isChanged());
    EXPECT_TRUE(first.showAsPerson());
    EXPECT_FALSE(first.heldLabeledValues(Kind::Phone));
    EXPECT_EQ(first.defaultCountryCode(), "US");
    EXPECT_EQ(first.defaultNameOrdering(), 1);
}

TEST_F(PersonTest, StoreCompanyIsKeyedByItsName)
{
    StoreContact company;
    company.setContactType(StoreContactType::Organization);
    company.organizationName = QStringLiteral("Acme");
    QNPerson record(company);
    EXPECT_EQ(record.uniqueId(), company.identifier());
    EXPECT_EQ(record.uniqueId2(), "Acme");
    EXPECT_EQ(record.compositeName(), "Acme");
    EXPECT_FALSE(record.isCreated());
    EXPECT_TRUE(QNPerson(StoreContact()).uniqueId2().isNull());
}

TEST_F(PersonTest, ArchiveWithoutUniqueIdMakesOneFromNameAndDate)
{
    for (const auto &[name, prefix] : {std::pair{"Ann Lee", "Ann Lee+"}, std::pair{"", "TamriskSoftware+"}}) {
        const QNPersonPtr record = QNPerson::initWithCoder({{QStringLiteral("compositeName"), name}});
        const QString id = record->uniqueId();
        const QRegularExpression form(QRegularExpression::escape(QString::fromUtf8(prefix)) +
                                      QStringLiteral("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\+0000$"));
        EXPECT_TRUE(form.match(id).hasMatch()) << id.toStdString();
        EXPECT_EQ(record->uniqueId(), id);
    }
}

TEST_F(PersonTest, ArchiveSurvivesJson)
{
    QNPerson record;
    record.addLabeledEntry(QNPerson::LabeledKind::Phone,
                           entry(QStringLiteral("home"), QStringLiteral("0123")));
    record.setBirthdayValue(
        QVariantMap{{PersonKey::Value, QNPerson::variantFromDateComponents({1990, 3, 5})}});
    record.setImageData(QByteArray("\x89PNG\0\x01", 6));
    record.setItem(QStringLiteral("Note"), QStringLiteral("hello"));
    record.setChanged(false);

    const QByteArray json = QJsonDocument(record.encodeWithCoder()).toJson();
    const QNPersonPtr decoded = QNPerson::initWithCoder(QJsonDocument::fromJson(json).object());
    EXPECT_EQ(decoded->uniqueId(), record.uniqueId());
    EXPECT_FALSE(decoded->isChanged());
    decoded->addLabeledEntry(QNPerson::LabeledKind::Phone,
                             entry(QStringLiteral("work"), QStringLiteral("0456")));
    EXPECT_EQ(labelIndexes(decoded->labeledValues(QNPerson::LabeledKind::Phone)), (QList<qsizetype>{0, 1}));
    EXPECT_EQ(decoded->birthdayValue()->value(PersonKey::StringValue), "1990.03.05(Mon)");
    EXPECT_EQ(decoded->imageData(), record.imageData());
    EXPECT_EQ(decoded->item(QStringLiteral("Note")), "hello");
    // The e-mail list goes through its reader: a standalone record's reads as empty.
    EXPECT_EQ(decoded->heldLabeledValues(Kind::Email), QVariantList());
    EXPECT_FALSE(decoded->heldLabeledValues(Kind::URL));
}

TEST_F(PersonTest, FailedFetchCachesNothingAndKeepsTheContact)
{
    StoreContact stored;
    stored.note = QStringLiteral("keep me");
    stored.birthday = DateComponents{1990, 3, 5};
    stored.phoneNumbers = {{QString(), StoreLabel::Home, QStringLiteral("0123")}};
    const StoreContact loaded =
        storedAndFetchedWithout(stored, {StoreKey::Note, StoreKey::Birthday, StoreKey::PhoneNumbers}, true);
    QNPerson record(loaded);

    EXPECT_EQ(record.stringFieldForIdentifier(QStringLiteral("Note")), "");
    EXPECT_FALSE(record.item(QStringLiteral("Note")).isValid());
    EXPECT_EQ(record.birthdayValue(), (QVariantMap{{PersonKey::StringValue, QString()}}));
    EXPECT_TRUE(record.labeledValues(QNPerson::LabeledKind::Phone).isEmpty());
    record.addLabeledEntry(QNPerson::LabeledKind::Phone,
                           entry(QStringLiteral("work"), QStringLiteral("0456")));
    EXPECT_FALSE(record.heldLabeledValues(Kind::Phone));
    EXPECT_FALSE(record.isChanged());
    EXPECT_EQ(record.cnContact()->availableKeys(), loaded.availableKeys());

    const StoreContact saved = record.contactFromCache(stored);
    EXPECT_EQ(saved.note, "keep me");
    EXPECT_EQ(saved.birthday, stored.birthday);
    EXPECT_EQ(saved.phoneNumbers, stored.phoneNumbers);
}

TEST_F(PersonTest, FetchedKeysJoinTheRecordsContactAndGoBack)
{
    StoreContact stored;
    stored.givenName = QStringLiteral("Ann");
    stored.note = QStringLiteral("from the store");
    QNPerson record(storedAndFetchedWithout(stored, {StoreKey::Note}));

    EXPECT_EQ(record.stringFieldForIdentifier(QStringLiteral("Note")), "from the store");
    const StoreContact contact = *record.cnContact();
    EXPECT_TRUE(contact.isKeyAvailable(StoreKey::Note));
    EXPECT_EQ(contact.givenName, "Ann");

    record.setItem(QStringLiteral("Note"), QStringLiteral("edited"));
    StoreSaveRequest request;
    request.updateContact(record.contactFromCache(contact));
    ASSERT_TRUE(builder().store().execute(request).ok());
    EXPECT_EQ(builder().store().unifiedContact(stored.identifier(), {StoreKey::Note}).value.note, "edited");
}

} // namespace
