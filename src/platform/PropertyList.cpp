#include "platform/PropertyList.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include <cmath>
#include <limits>

namespace PropertyList {

namespace {

const QString DataMarker = QStringLiteral("$data");
const QString MapMarker = QStringLiteral("$map");

std::optional<QJsonValue> arrayToJson(const QVariantList &list)
{
    QJsonArray array;
    for (const QVariant &item : list) {
        const std::optional<QJsonValue> json = toJson(item);
        if (!json)
            return std::nullopt;
        array.append(*json);
    }
    return array;
}

bool looksLikeMarker(const QJsonObject &object)
{
    return object.size() == 1 && (object.contains(DataMarker) || object.contains(MapMarker));
}

std::optional<QJsonValue> mapToJson(const QVariantMap &map)
{
    QJsonObject object;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const std::optional<QJsonValue> json = toJson(it.value());
        if (!json)
            return std::nullopt;
        object.insert(it.key(), *json);
    }
    if (looksLikeMarker(object))
        return QJsonObject{{MapMarker, object}};
    return object;
}

std::optional<QJsonValue> realToJson(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    return QJsonValue(value);
}

std::optional<QJsonValue> unsignedToJson(qulonglong value)
{
    if (value > qulonglong(std::numeric_limits<qint64>::max()))
        return QJsonValue(double(value));
    return QJsonValue(qint64(value));
}

QVariant arrayFromJson(const QJsonArray &array)
{
    QVariantList list;
    list.reserve(array.size());
    for (const QJsonValue &item : array) {
        QVariant value = fromJson(item);
        if (value.isValid())
            list.append(std::move(value));
    }
    return list;
}

QVariantMap membersFromJson(const QJsonObject &object)
{
    QVariantMap map;
    for (auto it = object.begin(); it != object.end(); ++it) {
        QVariant value = fromJson(it.value());
        if (value.isValid())
            map.insert(it.key(), std::move(value));
    }
    return map;
}

QVariant objectFromJson(const QJsonObject &object)
{
    if (object.size() == 1 && object.value(DataMarker).isString()) {
        const auto decoded = QByteArray::fromBase64Encoding(object.value(DataMarker).toString().toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (decoded)
            return *decoded;
    }
    if (object.size() == 1 && object.value(MapMarker).isObject())
        return membersFromJson(object.value(MapMarker).toObject());
    return membersFromJson(object);
}

} // namespace

std::optional<QJsonValue> toJson(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return QJsonValue(value.toBool());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
        return QJsonValue(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
        return unsignedToJson(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return realToJson(value.toDouble());
    case QMetaType::QString:
        return QJsonValue(value.toString());
    case QMetaType::QByteArray:
        return QJsonObject{{DataMarker, QString::fromLatin1(value.toByteArray().toBase64())}};
    case QMetaType::QStringList:
    case QMetaType::QVariantList:
        return arrayToJson(value.toList());
    case QMetaType::QVariantMap:
    case QMetaType::QVariantHash:
        return mapToJson(value.toMap());
    default:
        return std::nullopt;
    }
}

QVariant fromJson(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
    case QJsonValue::Double:
    case QJsonValue::String:
        return value.toVariant();
    case QJsonValue::Array:
        return arrayFromJson(value.toArray());
    case QJsonValue::Object:
        return objectFromJson(value.toObject());
    default:
        return QVariant();
    }
}

} // namespace PropertyList
