#include "model/QNPerson.h"

#include <QJsonArray>

namespace {

const QString ImageDataKey = QStringLiteral("ImageData");

QJsonValue jsonString(const QString &value)
{
    return value.isNull() ? QJsonValue() : QJsonValue(value);
}

QString stringFromJson(const QJsonValue &value)
{
    return value.isString() ? value.toString() : QString();
}

QJsonValue jsonMap(const std::optional<QVariantMap> &value)
{
    return value ? QJsonValue(QJsonObject::fromVariantMap(*value)) : QJsonValue();
}

std::optional<QVariantMap> mapFromJson(const QJsonValue &value)
{
    return value.isObject() ? std::optional(value.toObject().toVariantMap()) : std::nullopt;
}

QJsonValue jsonList(const std::optional<QVariantList> &value)
{
    return value ? QJsonValue(QJsonArray::fromVariantList(*value)) : QJsonValue();
}

std::optional<QVariantList> listFromJson(const QJsonValue &value)
{
    return value.isArray() ? std::optional(value.toArray().toVariantList()) : std::nullopt;
}

QJsonValue jsonData(const std::optional<QByteArray> &data)
{
    return data ? QJsonValue(QString::fromLatin1(data->toBase64())) : QJsonValue();
}

std::optional<QByteArray> dataFromJson(const QJsonValue &value)
{
    if (!value.isString())
        return std::nullopt;
    return QByteArray::fromBase64(value.toString().toLatin1());
}

// Custom-item icons are bytes, which JSON carries as base64.
QJsonValue jsonCustomItems(const QVariantList &items)
{
    QJsonArray array;
    for (const QVariant &item : items) {
        QVariantMap definition = item.toMap();
        if (definition.contains(ImageDataKey))
            definition.insert(ImageDataKey,
                              QString::fromLatin1(definition.value(ImageDataKey).toByteArray().toBase64()));
        array.append(QJsonObject::fromVariantMap(definition));
    }
    return array;
}

QVariantList customItemsFromJson(const QJsonValue &value)
{
    QVariantList items;
    for (const QJsonValue &item : value.toArray()) {
        QVariantMap definition = item.toObject().toVariantMap();
        if (definition.contains(ImageDataKey))
            definition.insert(ImageDataKey,
                              QByteArray::fromBase64(definition.value(ImageDataKey).toString().toLatin1()));
        items.append(definition);
    }
    return items;
}

using Kind = QNPerson::LabeledKind;

const QList<std::pair<QString, Kind>> &listKeys()
{
    static const QList<std::pair<QString, Kind>> keys = {
        {QStringLiteral("phoneValues"), Kind::Phone},
        {QStringLiteral("emailValues"), Kind::Email},
        {QStringLiteral("addressValues"), Kind::Address},
        {QStringLiteral("urlValues"), Kind::URL},
        {QStringLiteral("relationshipValues"), Kind::Relation},
        {QStringLiteral("snsValues"), Kind::SocialProfile},
        {QStringLiteral("imsValues"), Kind::InstantMessage},
        {QStringLiteral("datesValues"), Kind::Dates},
    };
    return keys;
}

} // namespace

QJsonObject QNPerson::encodeWithCoder()
{
    QJsonObject archive;
    archive.insert(QStringLiteral("defaultNameOrdering"), m_defaultNameOrdering);
    archive.insert(QStringLiteral("defaultCountryCode"), jsonString(m_defaultCountryCode));
    archive.insert(QStringLiteral("showAsPerson"), m_showAsPerson);
    archive.insert(QStringLiteral("compositeName"), jsonString(m_compositeName));
    // An unedited record keeps no copy of its names; the archive holds them as read.
    archive.insert(QStringLiteral("nameValue"), jsonMap(m_nameValue ? m_nameValue : readNameValue()));
    archive.insert(QStringLiteral("phoneticNameValue"), jsonMap(phoneticNameValue()));
    for (const auto &[key, kind] : listKeys()) {
        // The e-mail list goes through its reader, so an unread one is read first.
        const std::optional<QVariantList> list =
            kind == Kind::Email ? std::optional(labeledValues(kind)) : heldLabeledValues(kind);
        archive.insert(key, jsonList(list));
    }
    archive.insert(QStringLiteral("birthdayValue"), jsonMap(m_birthdayValue));
    archive.insert(QStringLiteral("stringValues"), QJsonValue());
    archive.insert(QStringLiteral("imageData"), jsonData(m_imageData));
    archive.insert(QStringLiteral("thumbnailImageData"), jsonData(m_thumbnailImageData));
    archive.insert(QStringLiteral("created"), m_created ? 1 : 0);
    archive.insert(QStringLiteral("changed"), m_changed ? 1 : 0);
    archive.insert(QStringLiteral("uniqueId"), jsonString(m_uniqueId));
    archive.insert(QStringLiteral("uniqueId2"), jsonString(m_uniqueId2));
    archive.insert(QStringLiteral("items"), QJsonObject::fromVariantMap(items()));
    archive.insert(QStringLiteral("customItems"), jsonCustomItems(m_customItems));
    return archive;
}

QNPersonPtr QNPerson::initWithCoder(const QJsonObject &archive)
{
    QNPersonPtr person(new QNPerson(ArchiveTag{}));
    person->m_defaultNameOrdering = archive.value(QStringLiteral("defaultNameOrdering")).toInt();
    person->m_defaultCountryCode = stringFromJson(archive.value(QStringLiteral("defaultCountryCode")));
    person->m_showAsPerson = archive.value(QStringLiteral("showAsPerson")).toBool();
    person->m_compositeName = stringFromJson(archive.value(QStringLiteral("compositeName")));
    person->m_nameValue = mapFromJson(archive.value(QStringLiteral("nameValue")));
    person->m_phoneticNameValue = mapFromJson(archive.value(QStringLiteral("phoneticNameValue")));
    for (const auto &[key, kind] : listKeys())
        person->setHeldLabeledValues(kind, listFromJson(archive.value(key)));
    // Normalises it; a missing birthday becomes an empty one. The "changed" key follows.
    person->setBirthdayValue(mapFromJson(archive.value(QStringLiteral("birthdayValue"))));
    person->m_imageData = dataFromJson(archive.value(QStringLiteral("imageData")));
    person->m_thumbnailImageData = dataFromJson(archive.value(QStringLiteral("thumbnailImageData")));
    person->m_created = archive.value(QStringLiteral("created")).toInt() != 0;
    person->m_changed = archive.value(QStringLiteral("changed")).toInt() != 0;
    person->m_uniqueId = stringFromJson(archive.value(QStringLiteral("uniqueId")));
    person->m_uniqueId2 = stringFromJson(archive.value(QStringLiteral("uniqueId2")));
    person->setItems(archive.value(QStringLiteral("items")).toObject().toVariantMap());
    person->m_customItems = customItemsFromJson(archive.value(QStringLiteral("customItems")));
    return person;
}
