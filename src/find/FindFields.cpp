#include "find/FindFields.h"

#include "model/LabeledEntry.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

QString FindFields::valueType(QNPerson &person, const QString &identifier) const
{
    const QString type = person.typeForIdentifier(identifier);
    if (!type.isEmpty())
        return type;
    for (const QVariant &item : m_customItems) {
        const QVariantMap definition = item.toMap();
        if (definition.value(PersonKey::ItemName).toString() == identifier)
            return definition.value(PersonKey::ItemType).toString();
    }
    return {};
}

bool FindFields::isAddressPart(const QString &identifier)
{
    return QNPerson::addressIdentifiers().contains(identifier);
}

QString FindFields::listIdentifier(QNPerson &person, const QString &identifier) const
{
    if (isAddressPart(identifier))
        return QStringLiteral("Address");
    return valueType(person, identifier) == PersonValueType::Labeled ? identifier : QString();
}

qsizetype FindFields::entryPosition(QNPerson &person, const QString &listIdentifier, qsizetype labelIndex)
{
    return QNPerson::findLabeledValue(person.labeledValueForIdentifier(listIdentifier), labelIndex);
}

std::optional<int> FindFields::entryLabelIndex(QNPerson &person, const QString &listIdentifier,
                                               qsizetype position)
{
    const auto entry = person.labeledValueForIdentifierAtIndex(listIdentifier, position);
    if (!entry)
        return std::nullopt;
    const std::optional<qint64> labelIndex = LabeledEntry(*entry).labelIndex();
    return labelIndex ? std::optional<int>(int(*labelIndex)) : std::nullopt;
}

QList<int> FindFields::entryLabelIndexes(QNPerson &person, const QString &listIdentifier)
{
    QList<int> labelIndexes;
    for (const QVariant &entry : person.labeledValueForIdentifier(listIdentifier)) {
        if (const auto labelIndex = LabeledEntry(entry.toMap()).labelIndex())
            labelIndexes.append(int(*labelIndex));
    }
    return labelIndexes;
}

int FindFields::gridPosition(QNPerson &person, const ItemAndRange &position) const
{
    const QString list = listIdentifier(person, position.identifier);
    if (list.isEmpty())
        return position.labelIndex;
    return int(entryPosition(person, list, position.labelIndex));
}

ItemAndRange FindFields::forGrid(const ItemAndRange &position) const
{
    if (!position.contact || !position.contact->person)
        return position;
    ItemAndRange converted = position;
    converted.labelIndex = gridPosition(*position.contact->person, position);
    return converted;
}
