#include "PersonTestSupport.h"

namespace {

const QString Labeled = PersonValueType::Labeled;
const QString String = PersonValueType::String;

QVariantList numbered(const QList<int> &labelIndexes)
{
    QVariantList list;
    for (const int number : labelIndexes)
        list.append(entry(QStringLiteral("home"), QStringLiteral("v%1").arg(number), number));
    return list;
}

TEST_F(PersonTest, TypesOfIdentifiers)
{
    QNPerson record;
    for (const char *identifier : {"Photo", "ZIP", "FirstName", "Groups", "Unknown"})
        EXPECT_EQ(record.typeForIdentifier(QString::fromUtf8(identifier)), "") << identifier;
    EXPECT_EQ(record.typeForIdentifier(QStringLiteral("Phone")), Labeled);
    EXPECT_EQ(record.typeForIdentifier(QStringLiteral("Note")), String);
    EXPECT_EQ(record.typeForIdentifier(QStringLiteral("Birthday")), PersonValueType::Dictionary);

    // The record's own items are asked first, even under a built-in name.
    record.addCustomItem(String, QStringLiteral("Phone"), {}, std::nullopt);
    record.addCustomItem(Labeled, QStringLiteral("ZIP"), {}, std::nullopt);
    EXPECT_EQ(record.typeForIdentifier(QStringLiteral("Phone")), String);
    EXPECT_EQ(record.typeForIdentifier(QStringLiteral("ZIP")), Labeled);
}

TEST_F(PersonTest, ValuesOfPseudoAndUnknownIdentifiers)
{
    QNPerson record;
    const QVariant groups = record.valueForIdentifier(QStringLiteral("Groups"));
    EXPECT_EQ(groups.typeId(), QMetaType::QString);
    EXPECT_TRUE(groups.toString().isEmpty());
    EXPECT_FALSE(record.valueForIdentifier(QStringLiteral("Unlisted")).isValid());
    EXPECT_FALSE(record.valueForIdentifier(QStringLiteral("Note")).isValid());
    EXPECT_FALSE(record.stringValueForIdentifier(QStringLiteral("Unlisted")).isNull());
    EXPECT_FALSE(record.isChanged());
}

TEST_F(PersonTest, StringFieldIsReadOnceAndAFailedFetchIsNotCached)
{
    StoreContact stored;
    stored.note = QStringLiteral("note");
    stored.jobTitle = QStringLiteral("chef");
    QNPerson record(storedAndFetchedWithout(stored, {StoreKey::Note}));
    EXPECT_EQ(record.valueForIdentifier(QStringLiteral("Note")), "note");
    EXPECT_EQ(record.stringValueForIdentifier(QStringLiteral("Job Title")), "chef");

    StoreContact deleted;
    deleted.note = QStringLiteral("keep");
    QNPerson gone(storedAndFetchedWithout(deleted, {StoreKey::Note}, true));
    EXPECT_EQ(gone.valueForIdentifier(QStringLiteral("Note")), "");
    EXPECT_FALSE(gone.item(QStringLiteral("Note")).isValid());
    EXPECT_EQ(gone.contactFromCache(deleted).note, "keep");
}

TEST_F(PersonTest, StringsUnderUnknownNamesMakeOneStringItem)
{
    QNPerson record;
    record.setValue(QStringLiteral("blue"), QStringLiteral("Colour"));
    record.setValue(QStringLiteral("green"), QStringLiteral("Colour"));
    record.setValue(QStringLiteral("12345"), QStringLiteral("ZIP"));
    EXPECT_EQ(record.customIdentifiers(), (QStringList{"Colour", "ZIP"}));
    EXPECT_EQ(record.typeForIdentifier(QStringLiteral("ZIP")), String);
    EXPECT_EQ(record.stringValueForIdentifier(QStringLiteral("Colour")), "green");
    EXPECT_TRUE(record.isChanged());

    QNPerson untouched;
    untouched.setValue(42, QStringLiteral("Number"));
    EXPECT_TRUE(untouched.customIdentifiers().isEmpty());
    EXPECT_FALSE(untouched.isChanged());
}

class CustomNumbering : public PersonTest, public ::testing::WithParamInterface<std::pair<QList<int>, int>>
{
};

TEST_P(CustomNumbering, AddedEntryTakesTheNextNumber)
{
    QNPerson record;
    record.setValue(numbered(GetParam().first), QStringLiteral("Pets"));
    record.addLabeledValue(entry(QStringLiteral("cat"), QStringLiteral("Tom"), 0), QStringLiteral("Pets"));
    const QVariantList pets = record.labeledValueForIdentifier(QStringLiteral("Pets"));
    EXPECT_EQ(labelIndexes(pets).last(), GetParam().second);
    EXPECT_EQ(pets.last().toMap().value(PersonKey::StringValue), "Tom");
}

INSTANTIATE_TEST_SUITE_P(Lists, CustomNumbering,
                         ::testing::Values(std::pair{QList<int>{0, 1, 5}, 6},
                                           std::pair{QList<int>{0, 1, 2}, 3}));

TEST_F(PersonTest, NewLabeledItemIsNumberedByPositionAndDeletingKeepsNumbers)
{
    QNPerson record;
    record.addLabeledValue(QVariantList{entry(QStringLiteral("a"), QStringLiteral("1"), 7),
                                        entry(QStringLiteral("b"), QStringLiteral("2")),
                                        entry(QStringLiteral("a"), QStringLiteral("3"))},
                           QStringLiteral("Pets"));
    EXPECT_EQ(record.typeForIdentifier(QStringLiteral("Pets")), Labeled);
    EXPECT_EQ(
        record.customItemForIdentifier(QStringLiteral("Pets"))->value(PersonKey::ItemLabels).toStringList(),
        (QStringList{"a", "b"}));
    record.setChanged(false);

    record.deleteLabeledValueForIdentifier(QStringLiteral("Pets"), 1);
    EXPECT_FALSE(record.isChanged());
    EXPECT_EQ(labelIndexes(record.labeledValueForIdentifier(QStringLiteral("Pets"))),
              (QList<qsizetype>{0, 2}));
    EXPECT_EQ(
        record.labeledValueForIdentifierAtLabelIndex(QStringLiteral("Pets"), 2)->value(PersonKey::Value),
        "3");
    EXPECT_EQ(record.labeledValueForIdentifierAtIndex(QStringLiteral("Pets"), 1)->value(PersonKey::Value),
              "3");
    EXPECT_FALSE(record.labeledValueForIdentifierAtLabelIndex(QStringLiteral("Pets"), 1));
    EXPECT_FALSE(record.labeledValueForIdentifierAtIndex(QStringLiteral("Pets"), 2));
    EXPECT_FALSE(record.labeledValueForIdentifierAtIndex(QStringLiteral("Pets"), -1));

    record.replaceLabeledValue(entry(QStringLiteral("a"), QStringLiteral("new"), 2), QStringLiteral("Pets"));
    EXPECT_EQ(record.labeledValueForIdentifierAtLabelIndex(QStringLiteral("Pets"), 2)
                  ->value(PersonKey::StringValue),
              "new");
    EXPECT_TRUE(record.isChanged());
}

TEST_F(PersonTest, BuiltInListsByIdentifier)
{
    QNPerson record;
    record.setValue(QVariantList{entry(QStringLiteral("home"), QStringLiteral("1"), 4)},
                    QStringLiteral("Phone"));
    record.addLabeledValue(entry(QStringLiteral("work"), QStringLiteral("2")), QStringLiteral("Phone"));
    record.deleteLabeledValueForIdentifier(QStringLiteral("Phone"), 4);
    const QVariantList phones = record.labeledValueForIdentifier(QStringLiteral("Phone"));
    EXPECT_EQ(labelIndexes(phones), QList<qsizetype>{5});
    EXPECT_EQ(record.stringValueForIdentifier(QStringLiteral("Phone")), "");
    record.setValue(QVariantMap(), QStringLiteral("Phone"));
    EXPECT_EQ(record.labeledValueForIdentifier(QStringLiteral("Phone")), phones);
}

class EntryWithoutNumber : public PersonTest, public ::testing::WithParamInterface<const char *>
{
};

// An entry that carries no "labelIndex" is in no list yet: it joins the list, entry 0 stays.
TEST_P(EntryWithoutNumber, ReplacingWithItAddsItUnderTheNextNumber)
{
    const QString identifier = QString::fromUtf8(GetParam());
    QNPerson record;
    record.setValue(QVariantList{entry(QStringLiteral("home"), QStringLiteral("111"), 0),
                                 entry(QStringLiteral("work"), QStringLiteral("222"), 1)},
                    identifier);
    record.setChanged(false);

    record.replaceLabeledValue(entry(QStringLiteral("mobile"), QStringLiteral("999")), identifier);
    const QVariantList list = record.labeledValueForIdentifier(identifier);
    EXPECT_EQ(labelIndexes(list), (QList<qsizetype>{0, 1, 2}));
    EXPECT_EQ(list.first().toMap().value(PersonKey::Value), "111");
    EXPECT_EQ(list.last().toMap().value(PersonKey::Label), "mobile");
    EXPECT_EQ(list.last().toMap().value(PersonKey::StringValue), "999");
    EXPECT_TRUE(record.isChanged());
}

INSTANTIATE_TEST_SUITE_P(Lists, EntryWithoutNumber, ::testing::Values("Phone", "Email", "Pets"));

struct SortRow
{
    const char *name;
    const char *identifier;
    const char *key;
    bool accepted;
};

class Sorting : public PersonTest, public ::testing::WithParamInterface<SortRow>
{
};

// Two entries in ascending order of every key, so only a descending sort moves them.
TEST_P(Sorting, AcceptedKeysReorderWithoutRenumbering)
{
    const SortRow &row = GetParam();
    const QString identifier = QString::fromUtf8(row.identifier);
    const QString key = QString::fromUtf8(row.key);
    QVariantList list;
    for (const char *text : {"A", "B"}) {
        const QString value = QString::fromUtf8(text);
        list.append(QVariantMap{{PersonKey::Label, value}, {PersonKey::Value, value}, {key, value}});
    }
    QNPerson record;
    record.setValue(list, identifier);
    EXPECT_FALSE(record.sortForIdentifier(identifier, key, true));
    EXPECT_EQ(record.sortForIdentifier(identifier, key, false), row.accepted);
    EXPECT_FALSE(record.sortForIdentifier(identifier, key, false));
    const QList<qsizetype> expected = row.accepted ? QList<qsizetype>{1, 0} : QList<qsizetype>{0, 1};
    EXPECT_EQ(labelIndexes(record.labeledValueForIdentifier(identifier)), expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, Sorting,
                         ::testing::Values(SortRow{"AddressByStreet", "Address", "Street", true},
                                           SortRow{"AddressByLowerStreet", "Address", "street", false},
                                           SortRow{"MessageByService", "Instant Message", "service", true},
                                           SortRow{"SocialByUsername", "Social Network", "username", true},
                                           SortRow{"PhoneByLabel", "Phone", "label", true},
                                           SortRow{"PhoneByService", "Phone", "service", false},
                                           SortRow{"UrlByZip", "URL", "ZIP", false}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(PersonTest, SortingComparesLiterallyAndNeedsAList)
{
    QNPerson record;
    EXPECT_FALSE(record.sortForIdentifier(QStringLiteral("Phone"), PersonKey::StringValue, true));
    record.setValue(QVariantList{entry(QStringLiteral("x"), QStringLiteral("b")),
                                 entry(QStringLiteral("x"), QStringLiteral("B"))},
                    QStringLiteral("Phone"));
    EXPECT_TRUE(record.sortForIdentifier(QStringLiteral("Phone"), PersonKey::StringValue, true));
    EXPECT_EQ(record.labeledValueForIdentifierAtIndex(QStringLiteral("Phone"), 0)->value(PersonKey::Value),
              "B");
}

} // namespace
