#pragma once

#include <QJsonValue>
#include <QVariant>

#include <optional>

// Property-list values (string, bool, integer, real, array, dictionary, data) as JSON.
//
// JSON has no binary type: data is written as {"$data": "<base64>"}. A dictionary that itself has
// that shape, or the shape {"$map": {...}}, is wrapped as {"$map": {...}} so that it reads back as
// a dictionary.
namespace PropertyList {

// Nothing when the value, or anything inside it, is not a property list (or a real is not finite).
std::optional<QJsonValue> toJson(const QVariant &value);
// JSON null and the null members of arrays and objects read as nothing.
QVariant fromJson(const QJsonValue &value);

} // namespace PropertyList
