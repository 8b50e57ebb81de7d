#include "PersonTestSupport.h"

#include "model/CustomItemCloudValues.h"
#include "platform/CloudKeyValueStore.h"

#include <QBuffer>
#include <QTemporaryDir>

namespace {

const QString Labeled = PersonValueType::Labeled;
const QString String = PersonValueType::String;
const QString Pets = QStringLiteral("Pets");
const QString Colour = QStringLiteral("Colour");

// Records read custom values from a cloud store of their own.
class CloudPersonTest : public PersonTest
{
protected:
    void SetUp() override
    {
        PersonTest::SetUp();
        QNPerson::setCloudKeyValueStore(&m_cloud);
    }
    void TearDown() override
    {
        QNPerson::setCloudKeyValueStore(nullptr);
        PersonTest::TearDown();
    }

    CloudKeyValueStore &cloud() { return m_cloud; }

private:
    QTemporaryDir m_dir;
    CloudKeyValueStore m_cloud{m_dir.filePath(QStringLiteral("cloud.json"))};
};

QByteArray pngOf(const QSize &size, Qt::GlobalColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

TEST_F(CloudPersonTest, CustomValuesFallBackOnTheCloud)
{
    QNPerson record;
    const QVariantList cloudPets{entry(QStringLiteral("cat"), QStringLiteral("Tom"), 3)};
    cloud().setObject(
        QVariantMap{{Colour, QStringLiteral("blue")}, {Pets, cloudPets}, {QStringLiteral("Other"), 1}},
        record.uniqueId());
    EXPECT_FALSE(record.customValueForIdentifier(QStringLiteral("Other")).isValid());

    record.addCustomItem(String, Colour, {}, std::nullopt);
    record.addCustomItem(Labeled, Pets, {QStringLiteral("cat")}, std::nullopt);
    for (int read = 0; read < 2; ++read)
        EXPECT_EQ(record.stringValueForIdentifier(Colour), "blue");
    EXPECT_FALSE(record.item(Colour).isValid());

    const QVariantList pets = record.labeledValueForIdentifier(Pets);
    EXPECT_EQ(labelIndexes(pets), QList<qsizetype>{3});
    EXPECT_EQ(record.item(Pets).toList(), pets);
    // Adding keeps the entries that so far lived only in the cloud.
    record.addLabeledValue(entry(QStringLiteral("dog"), QStringLiteral("Rex")), Pets);
    EXPECT_EQ(labelIndexes(record.labeledValueForIdentifier(Pets)), (QList<qsizetype>{3, 4}));
    // Emptied stays empty: the cloud's list does not come back.
    record.replaceLabeledValue(QVariant(), Pets);
    EXPECT_TRUE(record.labeledValueForIdentifier(Pets).isEmpty());
    EXPECT_TRUE(record.isChanged());
}

TEST_F(CloudPersonTest, LabeledItemWithoutValueCachesAnEmptyList)
{
    QNPerson record;
    record.addCustomItem(Labeled, Pets, {}, std::nullopt);
    EXPECT_EQ(record.customValueForIdentifier(Pets), QVariantList());
    EXPECT_EQ(record.item(Pets).typeId(), QMetaType::QVariantList);

    record.addLabeledValue(entry(QStringLiteral("cat"), QStringLiteral("Tom")), Pets);
    QVariantList copy = record.labeledValueForIdentifier(Pets);
    copy[0] = entry(QStringLiteral("cat"), QStringLiteral("changed"), 0);
    EXPECT_EQ(record.labeledValueForIdentifierAtIndex(Pets, 0)->value(PersonKey::Value), "Tom");
}

TEST_F(CloudPersonTest, LastDefinitionOfANameWins)
{
    QNPerson record;
    record.setOwnCustomItems({QVariantMap{{PersonKey::ItemName, Pets}, {PersonKey::ItemType, String}},
                              QVariantMap{{PersonKey::ItemName, Pets}, {PersonKey::ItemType, Labeled}}});
    record.setItem(Pets, QStringLiteral("text"));
    EXPECT_EQ(record.typeForIdentifier(Pets), Labeled);
    EXPECT_EQ(record.customValueForIdentifier(Pets), QVariantList());

    record.deleteCustomItemForName(Pets);
    EXPECT_EQ(record.ownCustomItems().size(), 1);
    EXPECT_EQ(record.customItemForIdentifier(Pets)->value(PersonKey::ItemType), Labeled);
    EXPECT_FALSE(record.item(Pets).isValid());
}

TEST_F(CloudPersonTest, AddingADefinitionTwiceKeepsOne)
{
    QNPerson record;
    record.addCustomItem(Labeled, Pets, {QStringLiteral("feline")}, QByteArray("icon"));
    record.addCustomItem(Labeled, Pets, {}, std::nullopt);
    ASSERT_EQ(record.ownCustomItems().size(), 1);
    const QVariantMap definition = *record.customItemForIdentifier(Pets);
    EXPECT_TRUE(definition.value(PersonKey::ItemLabels).toStringList().isEmpty());
    EXPECT_EQ(definition.value(PersonKey::ItemImageData), QByteArray("icon"));
    EXPECT_TRUE(QNPerson::labelsForIdentifier(Pets)->contains(QStringLiteral("feline")));
    EXPECT_FALSE(record.isChanged());
}

TEST_F(CloudPersonTest, SavingWritesTheItemsValues)
{
    QNPerson none;
    CustomItemCloudValues::iCloudSavePerson(none, cloud());
    EXPECT_FALSE(cloud().objectForKey(none.uniqueId()).isValid());

    QNPerson empty;
    empty.setValue(QStringLiteral(""), Colour);
    CustomItemCloudValues::iCloudSavePerson(empty, cloud());
    EXPECT_EQ(cloud().dictionaryForKey(empty.uniqueId()), QVariantMap());

    QNPerson record;
    record.setValue(QStringLiteral("blue"), Colour);
    record.addLabeledValue(entry(QStringLiteral("cat"), QStringLiteral("Tom")), Pets);
    CustomItemCloudValues::iCloudSavePerson(record, cloud());
    cloud().synchronize();
    CloudKeyValueStore reread(cloud().filePath());
    const std::optional<QVariantMap> saved =
        CustomItemCloudValues::iCloudRestoreValueForKey(record.uniqueId(), reread);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->value(Colour), "blue");
    EXPECT_EQ(saved->value(Pets).toList().first().toMap().value(PersonKey::Value), "Tom");

    CustomItemCloudValues::iCloudRemovePerson(record, cloud());
    EXPECT_FALSE(CustomItemCloudValues::iCloudRestoreValueForKey(record.uniqueId(), cloud()));
}

TEST_F(CloudPersonTest, DefinitionsSurviveWithoutEditingFlags)
{
    const QVariantList definitions{QVariantMap{{PersonKey::ItemName, Pets},
                                               {PersonKey::ItemType, Labeled},
                                               {PersonKey::ItemLabels, QStringList{"cat"}},
                                               {PersonKey::ItemImageData, QByteArray("\x89PNG\0", 5)},
                                               {PersonKey::ItemNew, true}},
                                   QVariantMap{{PersonKey::ItemName, Colour},
                                               {PersonKey::ItemType, String},
                                               {PersonKey::ItemDeleted, true}}};
    CustomItemCloudValues::saveCustomItemDefinitions(definitions, cloud());
    cloud().synchronize();
    CloudKeyValueStore reread(cloud().filePath());
    const QVariantList loaded = CustomItemCloudValues::loadCustomItemDefinitions(reread);
    ASSERT_EQ(loaded.size(), 1);
    const QVariantMap pets = loaded.first().toMap();
    EXPECT_EQ(pets.value(PersonKey::ItemLabels).toStringList(), QStringList{"cat"});
    EXPECT_EQ(pets.value(PersonKey::ItemImageData).toByteArray(), QByteArray("\x89PNG\0", 5));
    EXPECT_FALSE(pets.contains(PersonKey::ItemNew));
}

TEST_F(CloudPersonTest, PhotoIsReadFromTheStoreWithoutReplacingTheContact)
{
    StoreContact stored;
    stored.imageData = pngOf({40, 20}, Qt::red);
    const StoreContact loaded =
        storedAndFetchedWithout(stored, {StoreKey::ImageData, StoreKey::ThumbnailImageData});
    QNPerson record(loaded);
    EXPECT_EQ(record.photo().size(), QSize(40, 20));
    EXPECT_EQ(record.imageData(), stored.imageData);
    EXPECT_EQ(record.cnContact()->availableKeys(), loaded.availableKeys());
    EXPECT_FALSE(record.isChanged());
}

TEST_F(CloudPersonTest, PlaceholdersAndChosenPhotos)
{
    QNPerson company;
    company.setValue(QVariantMap{{PersonKey::ShowAsPerson, false}}, QStringLiteral("Name"));
    EXPECT_TRUE(company.photo().isNull());
    EXPECT_FALSE(company.valueForIdentifier(QStringLiteral("Photo")).isValid());
    EXPECT_EQ(company.thumbnail(), QImage(QStringLiteral(":/icons/icon_company.png")));
    EXPECT_FALSE(company.thumbnail().isNull());
    QNPerson person;
    EXPECT_EQ(person.thumbnail(), QImage(QStringLiteral(":/icons/icon_person.png")));

    QImage big(1024, 256, QImage::Format_RGB32);
    big.fill(Qt::blue);
    person.setPhoto(big);
    EXPECT_TRUE(person.imageData()->startsWith("\x89PNG"));
    EXPECT_EQ(person.photo().size(), QSize(512, 128));
    EXPECT_EQ(person.thumbnail().size(), QSize(320, 80));
    EXPECT_TRUE(person.isChanged());

    person.setValue(QVariant(), QStringLiteral("Photo"));
    EXPECT_EQ(person.imageData(), QByteArray());
    EXPECT_EQ(person.thumbnail(), QImage(QStringLiteral(":/icons/icon_person.png")));
}

TEST_F(CloudPersonTest, CopyHoldsEveryValueEvenNeverRead)
{
    StoreContact stored;
    stored.givenName = QStringLiteral("Ann");
    stored.note = QStringLiteral("note");
    stored.phoneticFamilyName = QStringLiteral("Lee");
    stored.birthday = DateComponents{1990, 3, 5};
    stored.phoneNumbers = {{QString(), StoreLabel::Home, QStringLiteral("0123")}};
    stored.imageData = pngOf({8, 8}, Qt::green);
    QNPerson source(storedAndFetchedWithout(
        stored, {StoreKey::Note, StoreKey::PhoneNumbers, StoreKey::Birthday, StoreKey::ImageData}));
    source.addCustomItem(PersonValueType::Dictionary, QStringLiteral("Extra"), {}, QByteArray("icon"));
    source.setItem(QStringLiteral("Extra"), QVariantMap{{QStringLiteral("k"), 1}});
    cloud().setObject(QVariantMap{{Colour, QStringLiteral("blue")}}, source.uniqueId());
    source.addCustomItem(String, Colour, {}, std::nullopt);

    const QNPersonPtr copy = source.copy();
    EXPECT_NE(copy->uniqueId(), source.uniqueId());
    EXPECT_TRUE(copy->isCreated());
    EXPECT_TRUE(copy->isChanged());
    EXPECT_FALSE(copy->cnContact());
    EXPECT_EQ(copy->compositeName(), "Ann");
    EXPECT_EQ(copy->stringValueForIdentifier(QStringLiteral("Note")), "note");
    EXPECT_EQ(copy->labeledValues(QNPerson::LabeledKind::Phone).first().toMap().value(PersonKey::Value),
              "0123");
    EXPECT_EQ(copy->stringValueForIdentifier(QStringLiteral("Birthday")), "1990.03.05(Mon)");
    EXPECT_EQ(copy->phoneticNameValue()->value(PersonKey::LastName), "Lee");
    EXPECT_EQ(copy->imageData(), stored.imageData);
    EXPECT_EQ(copy->customValueForIdentifier(QStringLiteral("Extra")),
              (QVariantMap{{QStringLiteral("k"), 1}}));
    EXPECT_EQ(copy->customItemForIdentifier(QStringLiteral("Extra"))->value(PersonKey::ItemImageData),
              QByteArray("icon"));
    // The copy's cloud entry is its own, so the value must be held.
    EXPECT_EQ(copy->item(Colour), "blue");
}

} // namespace
