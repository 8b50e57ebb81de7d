#include "PrintFixture.h"

#include "addressbook/DefaultsKey.h"

using namespace PrintKey;

namespace {

using Options = PrintFixture;

QVariantMap sub(const QVariantMap &options, const QString &key)
{
    return options.value(key).toMap();
}

QStringList titles(const QVariantList &table, const QString &key)
{
    QStringList titles;
    for (const QVariant &entry : table)
        titles.append(entry.toMap().value(key).toString());
    return titles;
}

} // namespace

TEST_F(Options, TheDefaultsHoldEveryStyleAndTheItemTableInItsOrder)
{
    const QVariantMap options = PrintOptionsDict::createPrintOptions();
    EXPECT_EQ(options.value(Version).toInt(), 6);
    EXPECT_EQ(options.value(PrintStyle).toString(), "Address List");
    EXPECT_EQ(options.value(UnitType).toString(), "points");
    EXPECT_EQ(options.value(FontSize).toInt(), 8);
    EXPECT_EQ(options.value(FontName).toString(), PrintOptionsDict::defaultFontName());
    for (const QString &margin : {TopMargin, LeftMargin, RightMargin, BottomMargin})
        EXPECT_EQ(options.value(margin), QVariant(0)) << margin.toStdString();

    const QVariantMap list = sub(options, AddressListOptions);
    EXPECT_EQ(list.value(PrintFrame), QVariant(false));
    EXPECT_EQ(list.value(AlternatingRow), QVariant(true));
    EXPECT_EQ(list.value(PrintCountry), QVariant(false));
    EXPECT_EQ(list.value(SelectedLabels).toStringList(), QStringList{"All"});
    const QVariantList table = list.value(ItemTable).toList();
    EXPECT_EQ(titles(table, Title),
              (QStringList{"Name", "Address", "Email", "Social Network", "Instant Message", "Phone", "URL", "Nickname",
                           "Company", "Department", "Job Title", "Suffix", "Relationship", "Phonetic Name", "Birthday",
                           "Dates", "Note"}));
    EXPECT_EQ(titles(table, State).join(""), "10000000000000000");
    EXPECT_EQ(titles(table, Enabled).join(""), "01111111111111111");

    const QVariantMap labels = sub(options, MailingLabelsOptions);
    EXPECT_EQ(labels.value(PrintFormat).toString(), "Home address");
    EXPECT_EQ(labels.value(PrintFormatTitles).toStringList(), (QStringList{"Address", "Address and Phone"}));
    EXPECT_EQ(sub(labels, PrintFormatDictionary).value("Address and Phone").toStringList(),
              (QStringList{"Name", "Address", "Phone"}));
    // Lengths start as decimal strings.
    EXPECT_EQ(labels.value(LabelWidth), QVariant("130"));
    EXPECT_EQ(labels.value(LabelHeight), QVariant("60"));
    EXPECT_EQ(labels.value(HGap), QVariant("5"));
    EXPECT_EQ(labels.value(VGap), QVariant("5"));
    EXPECT_EQ(labels.value(PrintFrame), QVariant(true));
    EXPECT_EQ(labels.value(RepeatCount), QVariant(1));
    EXPECT_EQ(labels.value(VerticalFontName).toString(), PrintOptionsDict::defaultVerticalFontName());
    EXPECT_FALSE(labels.contains(PrintPrefix));
    EXPECT_FALSE(labels.contains(Keishou));
    const QVariantList presets = labels.value(PresetArray).toList();
    EXPECT_EQ(titles(presets, PresetName),
              (QStringList{"130x60 points gap 5 point", "2-5/8x1\" gap 1/8\"", "4x2\" gap 1/8\"", "55.5x29.7mm gap 0",
                           "66x33.9mm gap 0", "70x37mm gap 0"}));
    EXPECT_EQ(titles(presets, LabelWidth), (QStringList{"130", "189", "288", "157.32", "187.1", "198.4"}));
    EXPECT_EQ(titles(presets, LabelHeight), (QStringList{"60", "72", "144", "84.19", "96.1", "104.88"}));
    EXPECT_EQ(titles(presets, HGap), (QStringList{"5", "9", "9", "0", "0", "0"}));
    EXPECT_EQ(titles(presets, VGap), (QStringList{"5", "0", "0", "0", "0", "0"}));

    const QVariantMap envelope = sub(options, EnvelopeOptions);
    EXPECT_EQ(envelope.value(PrintSender), QVariant(true));
    EXPECT_EQ(envelope.value(PrintFrame), QVariant(true));
    EXPECT_EQ(envelope.value(TextDirection).toString(), "Left-Right");
    EXPECT_EQ(envelope.value(SenderLabel).toString(), "home");
    EXPECT_EQ(envelope.value(SenderLabelIndex), QVariant(0));
    EXPECT_FALSE(envelope.contains(TextRectDict));

    const QVariantMap hagaki = sub(options, HagakiOptions);
    EXPECT_EQ(hagaki.value(HagakiType).toString(), "年賀ハガキ");
    EXPECT_EQ(hagaki.value(Keishou).toString(), "様");
    EXPECT_EQ(hagaki.size(), 8);
}

TEST_F(Options, OnlyStoredOptionsOfVersionSixOrLaterAreLoaded)
{
    EXPECT_EQ(PrintOptionsDict::load(defaults()), PrintOptionsDict::createPrintOptions());

    QVariantMap old = PrintOptionsDict::createPrintOptions();
    old.insert(Version, 5);
    old.insert(FontSize, 20);
    defaults().setObject(old, DefaultsKey::PrintOptions);
    EXPECT_EQ(PrintOptionsDict::load(defaults()).value(FontSize), QVariant(8));

    old.remove(Version);
    defaults().setObject(old, DefaultsKey::PrintOptions);
    EXPECT_EQ(PrintOptionsDict::load(defaults()).value(FontSize), QVariant(8));
}

TEST_F(Options, SavedOptionsReadBackEqualThroughTheDefaultsFile)
{
    QVariantMap options = PrintOptionsDict::createPrintOptions();
    options.insert(PrintStyle, PrintStyleName::Envelope);
    options.insert(TopMargin, 12.5);
    options.insert(FontSize, 11);
    QVariantMap labels = sub(options, MailingLabelsOptions);
    labels.insert(LabelWidth, 198.4);
    labels.insert(Keishou, QStringLiteral("様"));
    labels.insert(PrintPrefix, true);
    options.insert(MailingLabelsOptions, labels);
    QVariantMap envelope = sub(options, EnvelopeOptions);
    envelope.insert(TextRectDict, QVariantMap{{"A4", "{{10, 20}, {200, 100}}"}});
    options.insert(EnvelopeOptions, envelope);
    PrintOptionsDict::save(defaults(), options);

    const UserDefaults reread(defaults().path());
    EXPECT_EQ(PrintOptionsDict::load(reread), options);
}

TEST_F(Options, AStoredValueOfTheWrongTypeOrOutOfRangeFallsBackToItsDefault)
{
    QVariantMap stored = PrintOptionsDict::createPrintOptions();
    stored.insert(FontSize, QStringLiteral("large"));
    stored.insert(TopMargin, QVariantList{1, 2});
    stored.insert(UnitType, QStringLiteral("furlongs"));
    stored.insert(QStringLiteral("futureKey"), QStringLiteral("kept"));
    QVariantMap list = sub(stored, AddressListOptions);
    list.insert(AlternatingRow, QStringLiteral("maybe"));
    list.insert(SelectedLabels, QVariantList());
    QVariantList table = list.value(ItemTable).toList();
    table.insert(1, QStringLiteral("not an entry"));
    table.insert(2, QVariantMap{{State, true}});
    list.insert(ItemTable, table);
    stored.insert(AddressListOptions, list);
    QVariantMap labels = sub(stored, MailingLabelsOptions);
    labels.insert(LabelWidth, -5);
    labels.insert(LabelHeight, 0);
    labels.insert(HGap, QStringLiteral("wide"));
    labels.insert(RepeatCount, 1000000);
    labels.insert(Keishou, 3);
    stored.insert(MailingLabelsOptions, labels);
    stored.insert(EnvelopeOptions, QStringLiteral("no dictionary"));
    defaults().setObject(stored, DefaultsKey::PrintOptions);

    const QVariantMap defaultsMap = PrintOptionsDict::createPrintOptions();
    const QVariantMap loaded = PrintOptionsDict::load(defaults());
    EXPECT_EQ(loaded.value(FontSize), QVariant(8));
    EXPECT_EQ(loaded.value(TopMargin), QVariant(0));
    EXPECT_EQ(loaded.value(UnitType).toString(), "points");
    EXPECT_EQ(loaded.value("futureKey").toString(), "kept");
    const QVariantMap loadedList = sub(loaded, AddressListOptions);
    EXPECT_EQ(loadedList.value(AlternatingRow), QVariant(true));
    EXPECT_EQ(loadedList.value(SelectedLabels).toStringList(), QStringList{"All"});
    // Entries that are no entries drop out; the good ones stay in their order.
    EXPECT_EQ(loadedList.value(ItemTable), sub(defaultsMap, AddressListOptions).value(ItemTable));
    const QVariantMap loadedLabels = sub(loaded, MailingLabelsOptions);
    EXPECT_EQ(loadedLabels.value(LabelWidth), QVariant("130"));
    EXPECT_EQ(loadedLabels.value(LabelHeight), QVariant("60"));
    EXPECT_EQ(loadedLabels.value(HGap), QVariant("5"));
    EXPECT_EQ(loadedLabels.value(RepeatCount), QVariant(1));
    EXPECT_FALSE(loadedLabels.contains(Keishou));
    EXPECT_EQ(sub(loaded, EnvelopeOptions), sub(defaultsMap, EnvelopeOptions));
}

TEST_F(Options, NumbersWrittenAsTextAndTicksWrittenAsNumbersAreKept)
{
    QVariantMap stored = PrintOptionsDict::createPrintOptions();
    QVariantMap labels = sub(stored, MailingLabelsOptions);
    labels.insert(LabelWidth, QStringLiteral("72.5"));
    labels.insert(PrintFrame, 0);
    labels.insert(RepeatCount, QStringLiteral("3"));
    stored.insert(MailingLabelsOptions, labels);
    const QVariantMap merged = PrintOptionsDict::merged(stored);
    EXPECT_EQ(sub(merged, MailingLabelsOptions).value(LabelWidth), QVariant("72.5"));
    EXPECT_EQ(sub(merged, MailingLabelsOptions).value(PrintFrame), QVariant(0));
    EXPECT_EQ(sub(merged, MailingLabelsOptions).value(RepeatCount), QVariant("3"));
}
