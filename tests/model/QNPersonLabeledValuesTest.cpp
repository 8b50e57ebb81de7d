#include "PersonTestSupport.h"

#include <QDate>

namespace {

using Kind = QNPerson::LabeledKind;

QVariantList numbered(const QList<int> &labelIndexes)
{
    QVariantList list;
    for (const int number : labelIndexes)
        list.append(entry(QStringLiteral("home"), QStringLiteral("v%1").arg(number), number));
    return list;
}

TEST_F(PersonTest, ListsAreReadWithNumbersAndLabels)
{
    StoreContact contact;
    contact.phoneNumbers = {{QString(), StoreLabel::Home, QStringLiteral("1")},
                            {QString(), QString(), QStringLiteral("2")},
                            {QString(), QStringLiteral("my line"), QStringLiteral("3")}};
    QNPerson record(contact);
    const QVariantList phones = record.labeledValues(QNPerson::LabeledKind::Phone);
    EXPECT_EQ(labelIndexes(phones), (QList<qsizetype>{0, 1, 2}));
    EXPECT_EQ(phones[1].toMap().value(PersonKey::Label), "No label");
    EXPECT_EQ(phones[1].toMap().value(PersonKey::CNLabel), "");
    EXPECT_EQ(phones[1].toMap().value(PersonKey::StringValue), "2");
    EXPECT_FALSE(record.isChanged());
    // Reading is what showing a contact does: it offers none of its labels in the menus.
    EXPECT_FALSE(QNPerson::customLabelsForIdentifier(QStringLiteral("Phone"))
                     .value_or(QStringList())
                     .contains(QStringLiteral("my line")));
}

class Numbering : public PersonTest, public ::testing::WithParamInterface<std::pair<QList<int>, int>>
{
};

TEST_P(Numbering, AddedEntryTakesTheNextNumber)
{
    QNPerson record;
    record.replaceLabeledEntries(QNPerson::LabeledKind::Phone, numbered(GetParam().first));
    record.addLabeledEntry(QNPerson::LabeledKind::Phone,
                           entry(QStringLiteral("work"), QStringLiteral("new"), 0));
    EXPECT_EQ(labelIndexes(record.labeledValues(QNPerson::LabeledKind::Phone)).last(), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Lists, Numbering,
                         ::testing::Values(std::pair{QList<int>{0, 1, 5}, 6},
                                           std::pair{QList<int>{0, 1, 2}, 3}, std::pair{QList<int>{}, 0},
                                           std::pair{QList<int>{7}, 8}));

TEST_F(PersonTest, ReplaceFindsEntriesByNumberOrByPosition)
{
    QNPerson record;
    record.replaceLabeledEntries(
        QNPerson::LabeledKind::Phone,
        QVariantList{numbered({0, 5})[0], numbered({5})[0], entry(QStringLiteral("x"), 1)});
    EXPECT_EQ(labelIndexes(record.labeledValues(QNPerson::LabeledKind::Phone)), (QList<qsizetype>{0, 5, 6}));
    record.setChanged(false);

    record.replaceLabeledEntries(QNPerson::LabeledKind::Phone,
                                 entry(QStringLiteral("work"), QStringLiteral("by number"), 6));
    record.replaceLabeledEntries(QNPerson::LabeledKind::Phone,
                                 entry(QStringLiteral("work"), QStringLiteral("by position"), 6), 1);
    const QVariantList phones = record.labeledValues(QNPerson::LabeledKind::Phone);
    EXPECT_EQ(phones[2].toMap().value(PersonKey::StringValue), "by number");
    EXPECT_EQ(phones[1].toMap().value(PersonKey::StringValue), "by position");
    EXPECT_EQ(labelIndexes(phones), (QList<qsizetype>{0, 5, 6}));
    EXPECT_EQ(QNPerson::findLabeledValue(phones, 5), 1);
    EXPECT_TRUE(record.isChanged());

    record.setChanged(false);
    record.replaceLabeledEntries(QNPerson::LabeledKind::Phone,
                                 entry(QStringLiteral("work"), QStringLiteral("lost"), 9));
    record.replaceLabeledEntries(QNPerson::LabeledKind::Phone,
                                 entry(QStringLiteral("work"), QStringLiteral("lost"), 0), 3);
    EXPECT_EQ(record.labeledValues(QNPerson::LabeledKind::Phone), phones);
    EXPECT_FALSE(record.isChanged());
}

// A number read back from JSON is a double; anything that is no number is no number, never 0.
TEST_F(PersonTest, OnlyRealNumbersIdentifyEntries)
{
    const QVariantList list{QVariantMap{{PersonKey::LabelIndex, QStringLiteral("x")}},
                            QVariantMap{{PersonKey::Value, QStringLiteral("none")}},
                            QVariantMap{{PersonKey::LabelIndex, 4.0}}};
    EXPECT_EQ(QNPerson::findLabeledValue(list, 0), -1);
    EXPECT_EQ(QNPerson::findLabeledValue(list, 4), 2);
    EXPECT_EQ(QNPerson::nextLabelIndex(list), 5);
}

class EveryKind : public PersonTest, public ::testing::WithParamInterface<Kind>
{
};

TEST_P(EveryKind, NilEmptiesTheListWithoutAskingTheStore)
{
    StoreContact stored;
    stored.phoneNumbers = {{QString(), StoreLabel::Home, QStringLiteral("1")}};
    const QString key = QNPerson::CNIdentifiers().value(QNPerson::identifierForLabeledKind(GetParam()));
    QNPerson record(storedAndFetchedWithout(stored, {key}));
    record.replaceLabeledEntries(GetParam(), QVariant());
    EXPECT_EQ(record.heldLabeledValues(GetParam()), QVariantList());
    EXPECT_TRUE(record.labeledValues(GetParam()).isEmpty());
    EXPECT_FALSE(record.cnContact()->isKeyAvailable(key));
    EXPECT_TRUE(record.isChanged());
}

TEST_P(EveryKind, AddingToANewRecordStartsTheList)
{
    QNPerson record;
    record.addLabeledEntry(GetParam(), entry(QStringLiteral("home"), QStringLiteral("x")));
    EXPECT_EQ(labelIndexes(record.labeledValues(GetParam())), QList<qsizetype>{0});
    EXPECT_TRUE(record.isChanged());
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryKind,
                         ::testing::Values(Kind::Phone, Kind::Email, Kind::Address, Kind::URL,
                                           Kind::SocialProfile, Kind::InstantMessage, Kind::Relation,
                                           Kind::Dates));

struct NormaliserRow
{
    const char *name;
    Kind kind;
    QVariantMap input;
    // Expected values; an invalid QVariant means the key must be absent.
    QVariantMap expected;
};

class Normaliser : public ::testing::TestWithParam<NormaliserRow>
{
};

TEST_P(Normaliser, BringsDerivedKeysInLine)
{
    QVariantMap value = GetParam().input;
    QNPerson::updateLabeledValue(GetParam().kind, value, 0);
    for (auto it = GetParam().expected.cbegin(); it != GetParam().expected.cend(); ++it) {
        if (it->isValid())
            EXPECT_EQ(value.value(it.key()), *it) << it.key().toStdString();
        else
            EXPECT_FALSE(value.contains(it.key())) << it.key().toStdString();
    }
}

const QString L = PersonKey::Label;
const QString V = PersonKey::Value;
const QString S = PersonKey::StringValue;
const QString User = PersonKey::Username;
const QString Domain = PersonKey::Domain;
const QString Service = StoreValueKey::Service;
const QVariant Absent;

INSTANTIATE_TEST_SUITE_P(
    Kinds, Normaliser,
    ::testing::Values(
        NormaliserRow{"PhoneEmptyLabel", Kind::Phone, {{L, ""}, {V, "1"}}, {{L, "No label"}, {S, "1"}}},
        NormaliserRow{"UrlWithoutValue", Kind::URL, {{L, "home"}}, {{S, ""}, {V, Absent}}},
        NormaliserRow{
            "Email", Kind::Email, {{V, "ann@example.org"}}, {{User, "ann"}, {Domain, "example.org"}}},
        NormaliserRow{"EmailAtTheEnd", Kind::Email, {{V, "ann@"}}, {{User, "ann@"}, {Domain, Absent}}},
        NormaliserRow{"EmailAtTheStart",
                      Kind::Email,
                      {{V, "@host"}, {User, "old"}},
                      {{User, Absent}, {Domain, "host"}}},
        NormaliserRow{"EmailDropsStaleDomain",
                      Kind::Email,
                      {{V, "plain"}, {Domain, "old.org"}},
                      {{User, "plain"}, {Domain, Absent}}},
        NormaliserRow{"SocialWithoutLabel",
                      Kind::SocialProfile,
                      {{V, "ann"}},
                      {{L, "No service"}, {Service, "No service"}, {User, "ann"}, {S, "ann"}}},
        NormaliserRow{
            "SocialEmptyLabel", Kind::SocialProfile, {{L, ""}, {V, "ann"}}, {{L, ""}, {Service, ""}}},
        NormaliserRow{"MessageEmpty", Kind::InstantMessage, {{L, "home"}}, {{S, ""}}},
        NormaliserRow{"MessageUserOnly",
                      Kind::InstantMessage,
                      {{V, "ann"}},
                      {{L, "No label"}, {S, ":ann"}, {User, "ann"}}},
        NormaliserRow{"MessageWithService",
                      Kind::InstantMessage,
                      {{L, ""}, {V, "ann"}, {Service, "Skype"}},
                      {{L, ""}, {S, "Skype:ann"}}},
        NormaliserRow{"DateFromDate",
                      Kind::Dates,
                      {{V, QDate(2000, 1, 2)}},
                      {{V, QNPerson::variantFromDateComponents({2000, 1, 2})}, {S, "2000.01.02(Sun)"}}},
        NormaliserRow{"DateAsText", Kind::Dates, {{L, "x"}, {V, "someday"}}, {{V, "someday"}, {S, ""}}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
