#include "PersonTestSupport.h"

#include <QDate>

namespace {

using Kind = QNPerson::LabeledKind;

const QList<Kind> AllKinds = {Kind::Phone,         Kind::Email,          Kind::Address,  Kind::URL,
                              Kind::SocialProfile, Kind::InstantMessage, Kind::Relation, Kind::Dates};

QVariantList numbered(const QList<int> &labelIndexes)
{
    QVariantList list;
    for (const int number : labelIndexes)
        list.append(QVariantMap{{PersonKey::Label, QStringLiteral("home")},
                                {PersonKey::Value, QStringLiteral("v%1").arg(number)},
                                {PersonKey::LabelIndex, number}});
    return list;
}

TEST_F(PersonTest, PhonesReadWithNumbersAndNoLabel)
{
    StoreContact contact;
    contact.phoneNumbers = {{QString(), StoreLabel::Home, QStringLiteral("1")},
                            {QString(), QString(), QStringLiteral("2")},
                            {QString(), StoreLabel::PhoneNumberMobile, QStringLiteral("3")}};
    QNPerson record(contact);
    const QVariantList phones = record.phoneValues();
    EXPECT_EQ(labelIndexes(phones), (QList<qsizetype>{0, 1, 2}));
    const QVariantMap unlabelled = phones[1].toMap();
    EXPECT_EQ(unlabelled.value(PersonKey::Label), "No label");
    EXPECT_EQ(unlabelled.value(PersonKey::CNLabel), "");
    EXPECT_EQ(unlabelled.value(PersonKey::StringValue), "2");
    EXPECT_EQ(phones[2].toMap().value(PersonKey::Label), "mobile");
    EXPECT_FALSE(
        QNPerson::labelsForIdentifier(QStringLiteral("Phone"))->contains(QStringLiteral("No label")));
    EXPECT_FALSE(record.isChanged());
}

TEST_F(PersonTest, ReadingRegistersNewLabels)
{
    StoreContact contact;
    contact.urlAddresses = {{QString(), QStringLiteral("blog of mine"), QStringLiteral("https://x")}};
    QNPerson(contact).urlValues();
    EXPECT_TRUE(
        QNPerson::labelsForIdentifier(QStringLiteral("URL"))->contains(QStringLiteral("blog of mine")));
}

struct NumberingRow
{
    QList<int> existing;
    int next;
};

class Numbering : public PersonTest, public ::testing::WithParamInterface<NumberingRow>
{
};

TEST_P(Numbering, AddedEntryTakesTheNextNumber)
{
    QNPerson record;
    record.replacePhoneValue(numbered(GetParam().existing));
    record.addPhoneValue(entry(QStringLiteral("work"), QStringLiteral("new"), 0));
    EXPECT_EQ(labelIndexes(record.phoneValues()).last(), GetParam().next);
}

INSTANTIATE_TEST_SUITE_P(Lists, Numbering,
                         ::testing::Values(NumberingRow{{0, 1, 5}, 6}, NumberingRow{{0, 1, 2}, 3},
                                           NumberingRow{{}, 0}, NumberingRow{{7}, 8},
                                           NumberingRow{{4, 0}, 5}));

TEST_F(PersonTest, ReplaceFindsEntriesByNumberOrByPosition)
{
    QNPerson record;
    record.replacePhoneValue(numbered({0, 5, 2}));
    record.setChanged(false);

    record.replacePhoneValue(entry(QStringLiteral("work"), QStringLiteral("by number"), 2));
    EXPECT_EQ(record.phoneValues()[2].toMap().value(PersonKey::StringValue), "by number");

    record.replacePhoneValue(entry(QStringLiteral("work"), QStringLiteral("by position"), 2), 1);
    const QVariantList phones = record.phoneValues();
    EXPECT_EQ(phones[1].toMap().value(PersonKey::StringValue), "by position");
    EXPECT_EQ(labelIndexes(phones), (QList<qsizetype>{0, 5, 2}));
    EXPECT_EQ(QNPerson::findLabeledValue(phones, 5), 1);
    EXPECT_TRUE(record.isChanged());

    record.setChanged(false);
    record.replacePhoneValue(entry(QStringLiteral("work"), QStringLiteral("lost"), 9));
    record.replacePhoneValue(entry(QStringLiteral("work"), QStringLiteral("lost"), 0), 3);
    EXPECT_EQ(record.phoneValues(), phones);
    EXPECT_FALSE(record.isChanged());
}

TEST_F(PersonTest, WholeListReplacementNumbersUnnumberedEntries)
{
    QNPerson record;
    record.replacePhoneValue(QVariantList{entry(QStringLiteral("home"), QStringLiteral("a"), 3),
                                          entry(QStringLiteral("home"), QStringLiteral("b"))});
    EXPECT_EQ(labelIndexes(record.phoneValues()), (QList<qsizetype>{3, 4}));
}

class EveryKind : public PersonTest, public ::testing::WithParamInterface<Kind>
{
};

TEST_P(EveryKind, NilEmptiesTheListWithoutAskingTheStore)
{
    StoreContact stored;
    stored.phoneNumbers = {{QString(), StoreLabel::Home, QStringLiteral("1")}};
    stored.emailAddresses = {{QString(), StoreLabel::Home, QStringLiteral("a@b")}};
    stored.postalAddresses = {
        {QString(), StoreLabel::Home, {QStringLiteral("1 Main St"), {}, {}, {}, {}, {}}}};
    stored.urlAddresses = {{QString(), StoreLabel::Home, QStringLiteral("https://a")}};
    stored.socialProfiles = {
        {QString(), QString(), {QString(), QStringLiteral("ann"), QString(), QString()}}};
    stored.instantMessageAddresses = {
        {QString(), StoreLabel::Home, {QStringLiteral("ann"), StoreIMService::AIM}}};
    stored.contactRelations = {{QString(), QString(), QStringLiteral("Bo")}};
    stored.dates = {{QString(), QString(), DateComponents{2000, 1, 1}}};
    // In the order of the kinds.
    const QStringList listKeys = {StoreKey::PhoneNumbers,     StoreKey::EmailAddresses,
                                  StoreKey::PostalAddresses,  StoreKey::UrlAddresses,
                                  StoreKey::SocialProfiles,   StoreKey::InstantMessageAddresses,
                                  StoreKey::ContactRelations, StoreKey::Dates};
    QNPerson record(storedAndFetchedWithout(stored, listKeys));
    record.replaceLabeledEntries(GetParam(), QVariant());
    EXPECT_EQ(record.heldLabeledValues(GetParam()), QVariantList());
    EXPECT_TRUE(record.labeledValues(GetParam()).isEmpty());
    EXPECT_TRUE(record.isChanged());
    // A fetch would have added the key.
    EXPECT_FALSE(record.cnContact()->isKeyAvailable(listKeys[static_cast<int>(GetParam())]));
}

TEST_P(EveryKind, AddingToANewRecordStartsTheList)
{
    QNPerson record;
    record.addLabeledEntry(GetParam(), entry(QStringLiteral("home"), QStringLiteral("x")));
    const QVariantList list = record.labeledValues(GetParam());
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].toMap().value(PersonKey::LabelIndex), 0);
    EXPECT_TRUE(record.isChanged());
}

INSTANTIATE_TEST_SUITE_P(Kinds, EveryKind, ::testing::ValuesIn(AllKinds));

// --- Normalisers ---------------------------------------------------------------------------------

struct NormaliserRow
{
    const char *name;
    Kind kind;
    QVariantMap input;
    // Expected values; an invalid QVariant means the key must be absent.
    QVariantMap expected;
};

class Normaliser : public PersonTest, public ::testing::WithParamInterface<NormaliserRow>
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

INSTANTIATE_TEST_SUITE_P(
    Kinds, Normaliser,
    ::testing::Values(
        NormaliserRow{"PhoneEmptyLabel", Kind::Phone, {{L, ""}, {V, "1"}}, {{L, "No label"}, {S, "1"}}},
        NormaliserRow{"UrlWithoutValue", Kind::URL, {{L, "home"}}, {{S, ""}, {V, QVariant()}}},
        NormaliserRow{
            "RelationEmptyLabel", Kind::Relation, {{L, ""}, {V, "Bo"}}, {{L, "No label"}, {S, "Bo"}}},
        NormaliserRow{"Email",
                      Kind::Email,
                      {{L, "home"}, {V, "ann@example.org"}},
                      {{User, "ann"}, {Domain, "example.org"}, {S, "ann@example.org"}}},
        NormaliserRow{
            "EmailAtTheEnd", Kind::Email, {{L, "home"}, {V, "ann@"}}, {{User, "ann@"}, {Domain, QVariant()}}},
        NormaliserRow{"EmailAtTheStart",
                      Kind::Email,
                      {{L, "home"}, {V, "@host"}},
                      {{User, QVariant()}, {Domain, "host"}}},
        NormaliserRow{"EmailDropsStaleParts",
                      Kind::Email,
                      {{L, "home"}, {V, "@host"}, {User, "old"}, {Domain, "old.org"}},
                      {{User, QVariant()}, {Domain, "host"}}},
        NormaliserRow{"EmailDropsStaleDomain",
                      Kind::Email,
                      {{L, "home"}, {V, "plain"}, {Domain, "old.org"}},
                      {{User, "plain"}, {Domain, QVariant()}}},
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
                      {{L, ""}, {V, QDate(2000, 1, 2)}},
                      {{L, "No label"},
                       {V, QVariantMap{{PersonKey::Year, 2000}, {PersonKey::Month, 1}, {PersonKey::Day, 2}}},
                       {S, "2000.01.02(Sun)"}}},
        NormaliserRow{"DateAsText", Kind::Dates, {{L, "x"}, {V, "someday"}}, {{V, "someday"}, {S, ""}}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
