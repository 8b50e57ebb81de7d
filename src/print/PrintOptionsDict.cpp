#include "print/PrintOptionsDict.h"

#include "addressbook/DefaultsKey.h"
#include "platform/UserDefaults.h"
#include "print/OptionValue.h"
#include "print/PrintKeys.h"

#include <QFontDatabase>
#include <QStringList>

#include <functional>
#include <optional>

using namespace PrintKey;

namespace {

const QString PreferredVerticalFamily = QStringLiteral("Hiragino Maru Gothic ProN");
constexpr int DefaultFontSize = 8;
// More labels per contact than anyone prints would only make a print without end.
constexpr int MaxRepeatCount = 1000;

// --- defaults -----------------------------------------------------------------------------------

QVariantMap itemTableEntry(const QString &title, bool state, bool enabled)
{
    return {{Title, title},
            {State, state ? QStringLiteral("1") : QStringLiteral("0")},
            {Enabled, enabled ? QStringLiteral("1") : QStringLiteral("0")}};
}

QVariantList defaultItemTable()
{
    QVariantList table{itemTableEntry(QStringLiteral("Name"), true, false)};
    for (const char *title : {"Address", "Email", "Social Network", "Instant Message", "Phone", "URL", "Nickname",
                              "Company", "Department", "Job Title", "Suffix", "Relationship", "Phonetic Name",
                              "Birthday", "Dates", "Note"})
        table.append(itemTableEntry(QString::fromLatin1(title), false, true));
    return table;
}

QVariantMap addressListDefaults()
{
    return {{PrintFrame, false},
            {AlternatingRow, true},
            {PrintCountry, false},
            {ItemTable, defaultItemTable()},
            {SelectedLabels, QVariantList{AllLabels}}};
}

QVariantMap preset(const QString &name, const char *width, const char *height, const char *hGap, const char *vGap)
{
    return {{PresetName, name},
            {LabelWidth, QString::fromLatin1(width)},
            {LabelHeight, QString::fromLatin1(height)},
            {HGap, QString::fromLatin1(hGap)},
            {VGap, QString::fromLatin1(vGap)}};
}

QVariantList defaultPresets()
{
    return {preset(QStringLiteral("130x60 points gap 5 point"), "130", "60", "5", "5"),
            preset(QStringLiteral("2-5/8x1\" gap 1/8\""), "189", "72", "9", "0"),
            preset(QStringLiteral("4x2\" gap 1/8\""), "288", "144", "9", "0"),
            preset(QStringLiteral("55.5x29.7mm gap 0"), "157.32", "84.19", "0", "0"),
            preset(QStringLiteral("66x33.9mm gap 0"), "187.1", "96.1", "0", "0"),
            preset(QStringLiteral("70x37mm gap 0"), "198.4", "104.88", "0", "0")};
}

QVariantMap mailingLabelsDefaults()
{
    const QString address = QStringLiteral("Address");
    const QString addressAndPhone = QStringLiteral("Address and Phone");
    const QString name = QStringLiteral("Name");
    return {{PrintFormat, QStringLiteral("Home address")},
            {PrintFormatTitles, QVariantList{address, addressAndPhone}},
            {PrintFormatDictionary,
             QVariantMap{{address, QVariantList{name, address}},
                         {addressAndPhone, QVariantList{name, address, QStringLiteral("Phone")}}}},
            {LabelHeight, QStringLiteral("60")},
            {LabelWidth, QStringLiteral("130")},
            {VGap, QStringLiteral("5")},
            {HGap, QStringLiteral("5")},
            {PrintPhone, false},
            {PrintCompany, false},
            {PrintCountry, false},
            {PrintFrame, true},
            {PrintVertical, false},
            {VerticalFontName, PrintOptionsDict::defaultVerticalFontName()},
            {RepeatCount, 1},
            {PresetArray, defaultPresets()}};
}

QVariantMap envelopeDefaults()
{
    return {{PrintSender, true},
            {PrintPhone, false},
            {PrintCompany, false},
            {PrintCountry, false},
            {PrintDepartment, false},
            {PrintSpouse, false},
            {PrintVertical, false},
            {PrintFrame, true},
            {VerticalFontName, PrintOptionsDict::defaultVerticalFontName()},
            {TextDirection, QStringLiteral("Left-Right")},
            {SenderLabel, QStringLiteral("home")},
            {SenderLabelIndex, 0}};
}

QVariantMap hagakiDefaults()
{
    const QString newYear = QStringLiteral("年賀ハガキ");
    return {{ShowBackground, true},
            {HagakiTypeArray, QVariantList{newYear, QStringLiteral("普通ハガキ")}},
            {HagakiType, newYear},
            {Keishou, QStringLiteral("様")},
            {PrintCompany, false},
            {PrintSender, true},
            {PrintSpouse, false},
            {PrintChildren, false}};
}

// --- what a stored value must be ----------------------------------------------------------------

using Check = std::function<bool(const QVariant &)>;

struct Field
{
    QString key;
    Check check;
    // Items of a list that fail it are dropped (a list left empty keeps the default).
    Check itemCheck = {};
    // A dictionary of known keys, merged key by key.
    const QList<Field> *fields = nullptr;
};

bool isString(const QVariant &value)
{
    return value.typeId() == QMetaType::QString;
}

bool isMap(const QVariant &value)
{
    return value.typeId() == QMetaType::QVariantMap;
}

bool isList(const QVariant &value)
{
    return value.typeId() == QMetaType::QVariantList || value.typeId() == QMetaType::QStringList;
}

bool isStringList(const QVariant &value)
{
    if (!isList(value))
        return false;
    for (const QVariant &item : value.toList()) {
        if (!isString(item))
            return false;
    }
    return true;
}

Check atLeast(double minimum)
{
    return [minimum](const QVariant &value) {
        return OptionValue::isNumeric(value) && OptionValue::toDouble(value) >= minimum;
    };
}

Check above(double minimum)
{
    return [minimum](const QVariant &value) {
        return OptionValue::isNumeric(value) && OptionValue::toDouble(value) > minimum;
    };
}

Check between(double minimum, double maximum)
{
    return [minimum, maximum](const QVariant &value) {
        const double number = OptionValue::toDouble(value);
        return OptionValue::isNumeric(value) && number >= minimum && number <= maximum;
    };
}

Check oneOf(const QStringList &choices)
{
    return [choices](const QVariant &value) { return isString(value) && choices.contains(value.toString()); };
}

const Check Boolean = OptionValue::isBoolean;
const Check Text = isString;
const Check Number = OptionValue::isNumeric;
const Check Length = OptionValue::isNumeric;
const Check Size = above(0);
const Check Gap = atLeast(0);
const Check StringList = isStringList;
const Check Map = isMap;
const Check List = isList;

bool isNonEmptyStringList(const QVariant &value)
{
    return isStringList(value) && !value.toList().isEmpty();
}

bool isItemTableEntry(const QVariant &value)
{
    const QVariantMap entry = value.toMap();
    return isMap(value) && isString(entry.value(Title)) && !entry.value(Title).toString().isEmpty() &&
           Boolean(entry.value(State, false)) && Boolean(entry.value(Enabled, true));
}

bool isPreset(const QVariant &value)
{
    const QVariantMap entry = value.toMap();
    return isMap(value) && isString(entry.value(PresetName)) && Size(entry.value(LabelWidth)) &&
           Size(entry.value(LabelHeight)) && Gap(entry.value(HGap)) && Gap(entry.value(VGap));
}

bool isRectDict(const QVariant &value)
{
    if (!isMap(value))
        return false;
    const QVariantMap rects = value.toMap();
    for (auto it = rects.cbegin(); it != rects.cend(); ++it) {
        if (!isString(it.value()))
            return false;
    }
    return true;
}

const QList<Field> AddressListFields{
    {PrintFrame, Boolean},
    {AlternatingRow, Boolean},
    {PrintCountry, Boolean},
    {ItemTable, List, isItemTableEntry},
    {SelectedLabels, isNonEmptyStringList},
};

const QList<Field> MailingLabelsFields{
    {PrintFormat, Text},       {PrintFormatTitles, StringList}, {PrintFormatDictionary, Map},
    {LabelHeight, Size},       {LabelWidth, Size},              {VGap, Gap},
    {HGap, Gap},               {PrintPhone, Boolean},           {PrintCompany, Boolean},
    {PrintCountry, Boolean},   {PrintFrame, Boolean},           {PrintVertical, Boolean},
    {VerticalFontName, Text},  {RepeatCount, between(0, MaxRepeatCount)},       {PresetArray, List, isPreset},
    {PrintPrefix, Boolean},    {Keishou, Text},
};

const QList<Field> EnvelopeFields{
    {PrintSender, Boolean},     {PrintPhone, Boolean},  {PrintCompany, Boolean},
    {PrintCountry, Boolean},    {PrintDepartment, Boolean}, {PrintSpouse, Boolean},
    {PrintVertical, Boolean},   {PrintFrame, Boolean},  {VerticalFontName, Text},
    {TextDirection, Text},      {SenderLabel, Text},    {SenderLabelIndex, Number},
    {PrintPrefix, Boolean},     {Keishou, Text},        {TextRectDict, isRectDict},
};

const QList<Field> HagakiFields{
    {ShowBackground, Boolean}, {HagakiTypeArray, StringList}, {HagakiType, Text},    {Keishou, Text},
    {PrintCompany, Boolean},   {PrintSender, Boolean},        {PrintSpouse, Boolean}, {PrintChildren, Boolean},
};

const QList<Field> TopFields{
    {Version, Number},
    {PrintStyle, Text},
    {UnitType, oneOf({QStringLiteral("points"), QStringLiteral("inches"), QStringLiteral("mm")})},
    {FontSize, atLeast(1)},
    {FontName, Text},
    {TopMargin, Length},
    {LeftMargin, Length},
    {RightMargin, Length},
    {BottomMargin, Length},
    {AddressListOptions, Map, {}, &AddressListFields},
    {MailingLabelsOptions, Map, {}, &MailingLabelsFields},
    {EnvelopeOptions, Map, {}, &EnvelopeFields},
    {HagakiOptions, Map, {}, &HagakiFields},
};

QVariantMap mergeOver(const QVariantMap &defaults, const QVariantMap &stored, const QList<Field> &fields);

// The stored value as the options keep it, or nothing when it must not replace the default.
std::optional<QVariant> accepted(const Field &field, const QVariant &stored, const QVariant &fallback)
{
    if (!field.check(stored))
        return std::nullopt;
    if (field.fields)
        return mergeOver(fallback.toMap(), stored.toMap(), *field.fields);
    if (!field.itemCheck)
        return stored;
    QVariantList items;
    for (const QVariant &item : stored.toList()) {
        if (field.itemCheck(item))
            items.append(item);
    }
    if (items.isEmpty())
        return std::nullopt;
    return items;
}

QVariantMap mergeOver(const QVariantMap &defaults, const QVariantMap &stored, const QList<Field> &fields)
{
    QVariantMap result = stored;
    for (const Field &field : fields) {
        const auto value = stored.contains(field.key)
                               ? accepted(field, stored.value(field.key), defaults.value(field.key))
                               : std::nullopt;
        if (value)
            result.insert(field.key, *value);
        else if (defaults.contains(field.key))
            result.insert(field.key, defaults.value(field.key));
        else
            result.remove(field.key);
    }
    return result;
}

} // namespace

QString PrintOptionsDict::defaultFontName()
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QString PrintOptionsDict::defaultVerticalFontName()
{
    if (QFontDatabase::families().contains(PreferredVerticalFamily))
        return PreferredVerticalFamily;
    return defaultFontName();
}

QVariantMap PrintOptionsDict::createPrintOptions()
{
    return {{PrintKey::Version, Version},
            {PrintStyle, PrintStyleName::AddressList},
            {UnitType, QStringLiteral("points")},
            {FontSize, DefaultFontSize},
            {FontName, defaultFontName()},
            {TopMargin, 0},
            {LeftMargin, 0},
            {RightMargin, 0},
            {BottomMargin, 0},
            {AddressListOptions, addressListDefaults()},
            {MailingLabelsOptions, mailingLabelsDefaults()},
            {EnvelopeOptions, envelopeDefaults()},
            {HagakiOptions, hagakiDefaults()}};
}

QVariantMap PrintOptionsDict::merged(const QVariantMap &stored)
{
    return mergeOver(createPrintOptions(), stored, TopFields);
}

QVariantMap PrintOptionsDict::load(const UserDefaults &defaults)
{
    const QVariantMap stored = defaults.dictionaryForKey(DefaultsKey::PrintOptions);
    if (OptionValue::toInteger(stored.value(PrintKey::Version)) < Version)
        return createPrintOptions();
    return merged(stored);
}

void PrintOptionsDict::save(UserDefaults &defaults, const QVariantMap &options)
{
    defaults.setObject(options, DefaultsKey::PrintOptions);
}
