#include "detail/DetailDragPayload.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "model/QNvCard.h"
#include "platform/widgets/PasteboardTypes.h"

#include <QMimeData>

std::optional<QString> DetailDragPayload::valueText(QNPerson &person, const DetailRow &row,
                                                    const QString &valueType)
{
    const QString part = row.label.value_or(QString());
    if (row.type == PersonIdentifier::Name)
        return person.nameValue().value(part).toString();
    if (row.type == PersonIdentifier::PhoneticName)
        return person.phoneticNameValue().value_or(QVariantMap()).value(part).toString();
    if (row.type == PersonIdentifier::Birthday) {
        const auto birthday = person.birthdayValue();
        if (!birthday)
            return std::nullopt;
        return birthday->value(PersonKey::StringValue).toString();
    }
    if (valueType == PersonValueType::Labeled) {
        if (!row.labelIndex)
            return std::nullopt;
        const auto entry = person.labeledValueForIdentifierAtLabelIndex(row.type, *row.labelIndex);
        if (!entry)
            return std::nullopt;
        return entry->value(PersonKey::StringValue).toString();
    }
    if (valueType == PersonValueType::String)
        return person.stringValueForIdentifier(row.type);
    return std::nullopt;
}

std::unique_ptr<QMimeData> DetailDragPayload::mimeData(const ContactRow &contact, const DetailRow &row,
                                                       const QString &valueType)
{
    auto data = std::make_unique<QMimeData>();
    PasteboardTypes::setString(data.get(), PasteboardTypes::Identifier, row.type);
    if (!contact.person)
        return data;
    const QString vCard = QNvCard().vCardFromContact(
        contact, {QNvCardOption::Note, QNvCardOption::Photo, QNvCardOption::Custom});
    if (vCard.isEmpty())
        return data;
    PasteboardTypes::setString(data.get(), PasteboardTypes::VCard, vCard);
    PasteboardTypes::setString(data.get(), PasteboardTypes::LabelIndex,
                               QString::number(row.labelIndex.value_or(0)));
    PasteboardTypes::setString(data.get(), PasteboardTypes::ValuePosition,
                               QString::number(row.index.value_or(0)));
    QNPerson &person = *contact.person;
    if (row.type == PersonIdentifier::Photo) {
        const QImage photo = person.photo();
        if (!photo.isNull())
            data->setImageData(person.thumbnail());
    } else if (const std::optional<QString> text = valueText(person, row, valueType);
               text && !text->isEmpty()) {
        PasteboardTypes::setString(data.get(), PasteboardTypes::String, *text);
    }
    return data;
}
