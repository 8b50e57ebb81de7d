#include "addressbook/DefaultsKey.h"

#include "addressbook/SortOptions.h"
#include "addressbook/ViewTypes.h"

namespace DefaultsKey {

QList<KeyInfo> allKeys()
{
    using T = ValueType;
    return {
        {ViewTypeDict, T::Dictionary, ViewTypes::defaultViewTypeDict()},
        {SelectedViewType, T::String, QStringLiteral("Email")},
        {SelectedLabels, T::Array, QVariantList{QStringLiteral("All")}},
        {SortOptionsDict, T::Dictionary, SortOptions::makeDict(SortOptions::builtInChoices(), {})},
        {SortOptionsDefault, T::Dictionary, SortOptions::builtInChoices()},
        {ColumnWidthDictionary, T::Dictionary, QVariantMap()},
        {LastSortDesc, T::Dictionary,
         QVariantMap{{QStringLiteral("key"), QStringLiteral("compositeName")},
                     {QStringLiteral("ascending"), true}}},
        {LastRowOrder, T::Array, {}},
        {ShowCompanyInNameCell, T::Boolean, false},
        {ShowGroupView, T::Boolean, true},
        {PaneWidths, T::Dictionary,
         QVariantMap{{QStringLiteral("sidebar"), 200}, {QStringLiteral("detail"), 300}}},
        {LastEditState, T::Boolean, false},
        {LastContainerIdentifier, T::String, {}},
        {DefaultFontName, T::String, {}},
        {DefaultFontSizeKey, T::Real, DefaultFontSize},
        {FontName, T::String, {}},
        {FontSize, T::Real, DefaultFontSize},
        {IconRowCount, T::Integer, DefaultIconRowCount},
        {PrintOptions, T::Dictionary, {}},
        {LastPrintStyle, T::String, DefaultPrintStyle},
        {LastSelectedItemInCustomPanel, T::String, {}},
        {Encodings, T::Array, {}},
    };
}

QVariant defaultValue(const QString &key)
{
    for (const KeyInfo &info : allKeys()) {
        if (info.key == key)
            return info.defaultValue;
    }
    return {};
}

QString documentKey(const QString &key, const QString &documentName)
{
    if (documentName.isEmpty() || documentName == QStringLiteral("AddressBook"))
        return key;
    return key + QLatin1Char(' ') + documentName;
}

} // namespace DefaultsKey
