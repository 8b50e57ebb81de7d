#include "grid/GridField.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

#include <QHash>

namespace {

// What the record answers for its fixed identifiers when it has no custom items of its own.
QHash<QString, QString> makeBuiltInTypes()
{
    QHash<QString, QString> types;
    for (const QString &identifier : QNPerson::labeledIdentifiers())
        types.insert(identifier, PersonValueType::Labeled);
    for (const QString &identifier : QNPerson::stringIdentifiers())
        types.insert(identifier, PersonValueType::String);
    for (const QString &identifier :
         {PersonIdentifier::Name, PersonIdentifier::PhoneticName, PersonIdentifier::Birthday})
        types.insert(identifier, PersonValueType::Dictionary);
    return types;
}

} // namespace

QString GridField::valueType(const QString &identifier, const QNPerson &person,
                             const QVariantList &customItems)
{
    // Most records carry no custom items, and the record's own lookup walks them every time.
    if (person.ownCustomItems().isEmpty())
        return valueType(identifier, customItems);
    const QString type = person.typeForIdentifier(identifier);
    return type.isEmpty() ? valueType(identifier, customItems) : type;
}

QString GridField::valueType(const QString &identifier, const QVariantList &customItems)
{
    static const QHash<QString, QString> builtIn = makeBuiltInTypes();
    const QString type = builtIn.value(identifier);
    if (!type.isEmpty())
        return type;
    for (const QVariant &item : customItems) {
        const QVariantMap definition = item.toMap();
        if (definition.value(PersonKey::ItemName).toString() == identifier)
            return definition.value(PersonKey::ItemType).toString();
    }
    return QString();
}

bool GridField::isAddressPart(const QString &identifier)
{
    return identifier == PersonKey::ZIP || identifier == PersonKey::State || identifier == PersonKey::City ||
           identifier == PersonKey::Street || identifier == PersonKey::Country;
}

bool GridField::isNoFilter(const QStringList &selectedLabels)
{
    // An empty filter would hide every value of every contact; nothing writes one on purpose.
    return selectedLabels.isEmpty() || selectedLabels.first() == QLatin1String("All");
}

bool GridField::labelPasses(const QStringList &selectedLabels, const QString &label)
{
    return isNoFilter(selectedLabels) || selectedLabels.contains(label);
}

const QVariantMap &GridField::mapOf(const QVariant &value)
{
    static const QVariantMap none;
    if (value.metaType() != QMetaType::fromType<QVariantMap>())
        return none;
    return *static_cast<const QVariantMap *>(value.constData());
}

const QString &GridField::textOf(const QVariantMap &map, const QString &key)
{
    static const QString none;
    const auto found = map.constFind(key);
    if (found == map.cend() || found->metaType() != QMetaType::fromType<QString>())
        return none;
    return *static_cast<const QString *>(found->constData());
}

QString GridField::editableText(const QString &identifier, QNPerson &person, int position,
                                const QVariantList &customItems)
{
    if (isAddressPart(identifier)) {
        const auto address = person.labeledValueForIdentifierAtIndex(QStringLiteral("Address"), position);
        return address ? address->value(identifier).toString() : QString();
    }
    const QString type = valueType(identifier, person, customItems);
    if (type == PersonValueType::Labeled) {
        const auto entry = person.labeledValueForIdentifierAtIndex(identifier, position);
        return entry ? entry->value(PersonKey::Value).toString() : QString();
    }
    if (type == PersonValueType::String)
        return person.stringValueForIdentifier(identifier);
    return QString();
}
