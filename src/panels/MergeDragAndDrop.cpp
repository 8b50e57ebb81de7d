#include "panels/MergeDragAndDrop.h"

#include "panels/MergeRowBuilder.h"
#include "panels/MergeUndoLayer.h"

#include "addressbook/UndoGroup.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "model/VariantKinds.h"
#include "platform/PlatformUtil.h"

#include <QMimeData>

namespace MergeDragAndDrop {

namespace {

bool isNameKind(const QString &kind)
{
    return kind == PersonIdentifier::Name || kind == PersonIdentifier::PhoneticName;
}

QVariantMap nameOf(QNPerson &person, const QString &kind)
{
    return kind == PersonIdentifier::Name ? person.nameValue() : person.phoneticNameValue().value_or(QVariantMap());
}

bool replaceName(MergeUndoLayer &layer, const QString &kind, const QVariantMap &name, const ContactRowPtr &contact)
{
    return kind == PersonIdentifier::Name ? layer.undoReplaceNameValue(name, contact)
                                          : layer.undoReplacePhoneticNameValue(name, contact);
}

bool dropName(const Drop &drop, QNPerson &from, QNPerson &to, const ContactRowPtr &source,
              const ContactRowPtr &destination, MergeUndoLayer &layer)
{
    const QString kind = drop.dragged.type;
    const QString part = drop.dragged.label.value_or(QString());
    QVariantMap sourceName = nameOf(from, kind);
    QVariantMap destinationName = nameOf(to, kind);
    destinationName.insert(part, sourceName.value(part).toString());
    bool changed = false;
    if (!drop.copy) {
        sourceName.insert(part, QString());
        changed = replaceName(layer, kind, sourceName, source);
    }
    return replaceName(layer, kind, destinationName, destination) || changed;
}

// The photo goes over as the source holds it (JPEG stays JPEG, nothing fitted), thumbnail and all.
bool dropPhoto(const Drop &drop, QNPerson &from, const ContactRowPtr &source, const ContactRowPtr &destination,
               MergeUndoLayer &layer)
{
    const bool hasPhoto = !from.photo().isNull();
    const PhotoBytes photo = from.photoBytes();
    if (!drop.copy)
        layer.undoReplacePhoto(QVariant(), source);
    if (hasPhoto)
        layer.undoReplacePhotoBytes(photo, destination);
    else
        layer.undoReplacePhoto(QVariant(), destination);
    return true;
}

bool dropBirthday(const Drop &drop, QNPerson &from, const ContactRowPtr &source, const ContactRowPtr &destination,
                  MergeUndoLayer &layer)
{
    const QVariant birthday = VariantKinds::variantFromOptional(from.birthdayValue());
    bool changed = false;
    if (!drop.copy)
        changed = layer.undoReplaceBirthday(QVariant(), source);
    return layer.undoReplaceBirthday(birthday, destination) || changed;
}

bool dropLabeled(const Drop &drop, QNPerson &from, const ContactRowPtr &source, const ContactRowPtr &destination,
                 MergeUndoLayer &layer)
{
    const QString kind = drop.dragged.type;
    const qint64 labelIndex = drop.dragged.labelIndex.value_or(-1);
    // The dragged entry is found by its label index, which deletes before it do not shift.
    std::optional<QVariantMap> entry = from.labeledValueForIdentifierAtLabelIndex(kind, labelIndex);
    if (labelIndex < 0 || !entry)
        return false;
    const MergeRow &target = drop.destinationRows.at(drop.row);
    const qint64 targetLabelIndex = target.labelIndex.value_or(-1);
    if (!drop.copy)
        layer.undoDeleteLabeledValueForIdentifier(kind, labelIndex, source);
    if (drop.position == DropPosition::Above || targetLabelIndex < 0) {
        // The destination gives the entry a number of its own.
        entry->remove(PersonKey::LabelIndex);
        layer.undoAddLabeledValue(*entry, kind, destination);
        return true;
    }
    entry->insert(PersonKey::LabelIndex, targetLabelIndex);
    return layer.undoReplaceValue(*entry, kind, destination) || !drop.copy;
}

bool dropText(const Drop &drop, QNPerson &from, const ContactRowPtr &source, const ContactRowPtr &destination,
              MergeUndoLayer &layer)
{
    const QString kind = drop.dragged.type;
    const QVariant value = from.valueForIdentifier(kind);
    bool changed = false;
    if (!drop.copy)
        changed = layer.undoReplaceValue(QString(), kind, source);
    return layer.undoReplaceValue(value, kind, destination) || changed;
}

} // namespace

QMimeData *Content::mimeData() const
{
    if (isEmpty())
        return nullptr;
    auto *data = new QMimeData;
    if (!text.isEmpty())
        data->setText(text);
    if (!image.isNull()) {
        data->setImageData(image);
        data->setData(QStringLiteral("image/png"), PlatformUtil::pngData(image));
    }
    if (!origin.isEmpty())
        data->setData(RowOriginType, origin);
    return data;
}

QByteArray originOf(const QMimeData *data)
{
    return data ? data->data(RowOriginType) : QByteArray();
}

Content contentOfRow(const MergeRow &row, QNPerson &person, const MergeRowBuilder &builder)
{
    Content content;
    QString text;
    if (isNameKind(row.type)) {
        text = nameOf(person, row.type).value(row.label.value_or(QString())).toString();
    } else if (row.type == PersonIdentifier::Photo) {
        content.image = person.photo();
    } else if (row.type == PersonIdentifier::Birthday) {
        text = person.stringValueForIdentifier(row.type);
    } else if (builder.valueType(person, row.type) == PersonValueType::Labeled) {
        // A filler row finds no entry and starts no drag.
        if (row.index && !row.isFiller()) {
            if (const std::optional<QVariantMap> entry = person.labeledValueForIdentifierAtIndex(row.type, *row.index))
                text = entry->value(PersonKey::StringValue).toString();
        }
    } else if (row.type != PersonIdentifier::NameOrdering && row.type != PersonIdentifier::NameDisplay) {
        text = person.valueForIdentifier(row.type).toString();
    }
    if (!text.isEmpty())
        content.text = QStringLiteral("%1: %2").arg(row.label.value_or(QString()), text);
    return content;
}

Operation validateDrop(const Drop &drop, QNPerson &destination, const MergeRowBuilder &builder)
{
    if (!drop.editing || !drop.fromOtherTable || drop.row < 0 || drop.row >= drop.destinationRows.size())
        return Operation::None;
    const MergeRow &target = drop.destinationRows.at(drop.row);
    if (target.type != drop.dragged.type)
        return Operation::None;
    if (builder.valueType(destination, target.type) == PersonValueType::Labeled) {
        // A value row or the first filler row, where a value is appended.
        if (target.valueCount.value_or(-1) < 0)
            return Operation::None;
    } else if (drop.position != DropPosition::On) {
        return Operation::None;
    }
    return drop.copy ? Operation::Copy : Operation::Move;
}

bool acceptDrop(const Drop &drop, const ContactRowPtr &source, const ContactRowPtr &destination,
                MergeUndoLayer &layer, UndoManager &undoManager, const MergeRowBuilder &builder)
{
    if (!source || !destination || !source->person || !destination->person || source == destination ||
        drop.row < 0 || drop.row >= drop.destinationRows.size())
        return false;
    QNPerson &from = *source->person;
    QNPerson &to = *destination->person;
    const QString kind = drop.dragged.type;
    // One drop, one undo step, however many writes it takes.
    const UndoGroup group(undoManager);
    if (isNameKind(kind))
        return dropName(drop, from, to, source, destination, layer);
    if (kind == PersonIdentifier::Photo)
        return dropPhoto(drop, from, source, destination, layer);
    if (kind == PersonIdentifier::Birthday)
        return dropBirthday(drop, from, source, destination, layer);
    if (builder.valueType(from, kind) == PersonValueType::Labeled)
        return dropLabeled(drop, from, source, destination, layer);
    return dropText(drop, from, source, destination, layer);
}

} // namespace MergeDragAndDrop
