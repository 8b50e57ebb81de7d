#include "editors/ListEditorColumns.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/StoreContact.h"

namespace ListEditorColumns {

namespace {

constexpr int LabelWidth = 80;
constexpr int AddressPartWidth = 100;
constexpr int ValueWidth = 130;
constexpr int ProfileWidth = 160;

Column titled(const QString &identifier, int width, Cell cell, const QString &valueKey, const QString &sortKey)
{
    return {identifier, QNPerson::localizedIdentifierForKey(identifier), width, cell, valueKey, sortKey};
}

Column labelColumn()
{
    return {QStringLiteral("label"), L(QStringLiteral("Label")), LabelWidth, Cell::LabelPopup, PersonKey::Label,
            PersonKey::Label};
}

QList<Column> addressColumns()
{
    QList<Column> columns{{QStringLiteral("Edit"), QString(), 26, Cell::EditCheckbox, {}, {}}, labelColumn()};
    for (const QString &part : QNPerson::addressIdentifiers())
        columns.append(titled(part, AddressPartWidth, Cell::Text, part, part));
    columns.append(titled(QStringLiteral("CountryCode"), 155, Cell::CountryMenu, StoreValueKey::ISOCountryCode, {}));
    return columns;
}

QList<Column> instantMessageColumns()
{
    return {labelColumn(),
            {QStringLiteral("serviceType"), L(QStringLiteral("Service Type")), ValueWidth, Cell::ServicePopup,
             StoreValueKey::Service, StoreValueKey::Service},
            // The username is the entry's "value"; the normaliser copies it to the username key.
            titled(QStringLiteral("Username"), ProfileWidth, Cell::Text, PersonKey::Value, StoreValueKey::Username)};
}

QList<Column> socialProfileColumns()
{
    return {labelColumn(),
            titled(QStringLiteral("Username"), ProfileWidth, Cell::Text, StoreValueKey::Username,
                   StoreValueKey::Username),
            titled(QStringLiteral("User Identifier"), ProfileWidth, Cell::Text, StoreValueKey::UserIdentifier,
                   StoreValueKey::UserIdentifier),
            titled(QStringLiteral("URL String"), ProfileWidth, Cell::Text, StoreValueKey::UrlString,
                   StoreValueKey::UrlString)};
}

} // namespace

QList<Column> columnsForType(const QString &type)
{
    if (type == QStringLiteral("Address"))
        return addressColumns();
    if (type == QStringLiteral("Instant Message"))
        return instantMessageColumns();
    if (type == QStringLiteral("Social Network"))
        return socialProfileColumns();
    return {labelColumn(), titled(type, ValueWidth, Cell::Text, PersonKey::Value, PersonKey::Value)};
}

} // namespace ListEditorColumns
