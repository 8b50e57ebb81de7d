#include "addressbook/PersonDifference.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

#include <QImage>

namespace PersonDifference {

namespace {

// The fields compared after the photo and the three dictionaries, in this order.
const QStringList ComparedIdentifiers = {
    QStringLiteral("Email"),           QStringLiteral("Phone"),          QStringLiteral("Address"),
    QStringLiteral("Instant Message"), QStringLiteral("Social Network"), QStringLiteral("URL"),
    QStringLiteral("Nickname"),        QStringLiteral("Relationship"),   QStringLiteral("Suffix"),
    QStringLiteral("Title"),           QStringLiteral("Company"),        QStringLiteral("Department"),
    QStringLiteral("Job Title"),       QStringLiteral("Dates"),          QStringLiteral("Note")};

bool photosDiffer(QNPerson &edited, QNPerson &original)
{
    const QImage left = edited.photo();
    const QImage right = original.photo();
    if (left.isNull() || right.isNull())
        return left.isNull() != right.isNull();
    return left != right;
}

// A record without a phonetic name or birthday and one holding an empty one are the same.
bool phoneticNamesDiffer(QNPerson &edited, QNPerson &original)
{
    const QVariantMap left = edited.phoneticNameValue().value_or(QVariantMap());
    const QVariantMap right = original.phoneticNameValue().value_or(QVariantMap());
    for (const QString &part : {PersonKey::FirstName, PersonKey::MiddleName, PersonKey::LastName}) {
        if (left.value(part).toString() != right.value(part).toString())
            return true;
    }
    return false;
}

bool birthdaysDiffer(QNPerson &edited, QNPerson &original)
{
    return edited.birthdayValue().value_or(QVariantMap()).value(PersonKey::Value) !=
           original.birthdayValue().value_or(QVariantMap()).value(PersonKey::Value);
}

// Text compares as shown: a field never read and an empty one are the same.
bool valuesDiffer(QNPerson &edited, QNPerson &original, const QString &identifier, const QString &type)
{
    if (type == PersonValueType::Labeled)
        return edited.labeledValueForIdentifier(identifier) != original.labeledValueForIdentifier(identifier);
    return edited.stringValueForIdentifier(identifier) != original.stringValueForIdentifier(identifier);
}

} // namespace

QStringList customNames(const QNPerson &edited, const QNPerson &original, const QVariantList &customItems)
{
    QStringList names = edited.customIdentifiers();
    for (const QString &name : original.customIdentifiers()) {
        if (!names.contains(name))
            names.append(name);
    }
    for (const QVariant &item : customItems) {
        const QString name = item.toMap().value(PersonKey::ItemName).toString();
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names;
}

QString customType(const QNPerson &edited, const QNPerson &original, const QString &name,
                   const QVariantList &customItems)
{
    for (const QNPerson *person : {&edited, &original}) {
        const QString type = person->typeForIdentifier(name);
        if (!type.isEmpty())
            return type;
    }
    for (const QVariant &item : customItems) {
        const QVariantMap definition = item.toMap();
        if (definition.value(PersonKey::ItemName).toString() == name)
            return definition.value(PersonKey::ItemType).toString();
    }
    return PersonValueType::String;
}

QStringList differingFields(QNPerson &edited, QNPerson &original, const QVariantList &customItems)
{
    QStringList fields;
    if (photosDiffer(edited, original))
        fields.append(PersonIdentifier::Photo);
    if (edited.nameValue() != original.nameValue())
        fields.append(PersonIdentifier::Name);
    if (phoneticNamesDiffer(edited, original))
        fields.append(PersonIdentifier::PhoneticName);
    if (birthdaysDiffer(edited, original))
        fields.append(PersonIdentifier::Birthday);
    for (const QString &identifier : ComparedIdentifiers) {
        if (valuesDiffer(edited, original, identifier, edited.typeForIdentifier(identifier)))
            fields.append(identifier);
    }
    for (const QString &name : customNames(edited, original, customItems)) {
        // A custom item under a built-in field's name was compared above.
        if (fields.contains(name) || ComparedIdentifiers.contains(name) ||
            QNPerson::allIdentifiers().contains(name))
            continue;
        if (valuesDiffer(edited, original, name, customType(edited, original, name, customItems)))
            fields.append(name);
    }
    return fields;
}

} // namespace PersonDifference
