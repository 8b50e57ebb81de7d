#include "addressbook/GridSortKey.h"

#include "model/QNPersonKeys.h"
#include "platform/StoreContact.h"

#include <QHash>

namespace {

QHash<QString, GridSortKey> makeTable()
{
    const QString text = PersonKey::StringValue;
    const QString label = PersonKey::Label;
    const QString address = QStringLiteral("Address");
    const QString phonetic = PersonIdentifier::PhoneticName;
    const QString name = PersonIdentifier::Name;
    QHash<QString, GridSortKey> table{
        {QStringLiteral("Phone"), {QStringLiteral("Phone"), text}},
        {QStringLiteral("Phone label"), {QStringLiteral("Phone"), label}},
        {QStringLiteral("Email"), {QStringLiteral("Email"), text}},
        {QStringLiteral("Email label"), {QStringLiteral("Email"), label}},
        {QStringLiteral("Email domain"), {QStringLiteral("Email"), PersonKey::Domain}},
        {QStringLiteral("Email username"), {QStringLiteral("Email"), PersonKey::Username}},
        {address, {address, text}},
        {QStringLiteral("Address label"), {address, label}},
        {QStringLiteral("URL"), {QStringLiteral("URL"), text}},
        {QStringLiteral("URL label"), {QStringLiteral("URL"), label}},
        {QStringLiteral("Instant Message"), {QStringLiteral("Instant Message"), text}},
        {QStringLiteral("Instant Message label"), {QStringLiteral("Instant Message"), label}},
        {QStringLiteral("Instant Message service name"),
         {QStringLiteral("Instant Message"), StoreValueKey::Service}},
        {QStringLiteral("Instant Message username"),
         {QStringLiteral("Instant Message"), StoreValueKey::Username}},
        {QStringLiteral("Social Network"), {QStringLiteral("Social Network"), text}},
        {QStringLiteral("Social Network label"), {QStringLiteral("Social Network"), label}},
        {QStringLiteral("Social Network service name"),
         {QStringLiteral("Social Network"), StoreValueKey::Service}},
        {QStringLiteral("Social Network username"),
         {QStringLiteral("Social Network"), StoreValueKey::Username}},
        {QStringLiteral("Relationship"), {QStringLiteral("Relationship"), text}},
        {QStringLiteral("Relationship label"), {QStringLiteral("Relationship"), label}},
        {QStringLiteral("Dates"), {QStringLiteral("Dates"), text}},
        {QStringLiteral("Dates label"), {QStringLiteral("Dates"), label}},
        {phonetic, {phonetic, text}},
        {PersonIdentifier::PhoneticFirstName, {phonetic, PersonIdentifier::PhoneticFirstName}},
        {QStringLiteral("Phonetic Name FirstName"), {phonetic, PersonIdentifier::PhoneticFirstName}},
        {PersonIdentifier::PhoneticLastName, {phonetic, PersonIdentifier::PhoneticLastName}},
        {QStringLiteral("Phonetic Name LastName"), {phonetic, PersonIdentifier::PhoneticLastName}},
        {QStringLiteral("compositeName"), {name, QStringLiteral("compositeName")}},
        {PersonKey::FirstName, {name, PersonKey::FirstName}},
        {PersonKey::LastName, {name, PersonKey::LastName}},
    };
    // Each address part sorts alone and as "Address <part>".
    for (const QString &part :
         {PersonKey::ZIP, PersonKey::State, PersonKey::City, PersonKey::Street, PersonKey::Country}) {
        table.insert(part, {address, part});
        table.insert(address + QLatin1Char(' ') + part, {address, part});
    }
    return table;
}

} // namespace

std::optional<GridSortKey> GridSortKey::separateSortKeyIntoIdentifierAndKey(const QString &key)
{
    if (key.isNull())
        return std::nullopt;
    static const QHash<QString, GridSortKey> table = makeTable();
    const auto found = table.constFind(key);
    if (found != table.cend())
        return *found;
    static const QString labelSuffix = QStringLiteral(" label");
    const qsizetype at = key.indexOf(labelSuffix);
    if (at >= 0)
        return GridSortKey{key.left(at), PersonKey::Label};
    return GridSortKey{key, PersonKey::StringValue};
}
