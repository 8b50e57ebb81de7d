#pragma once

#include <QVariant>
#include <QVariantMap>

#include <optional>

// What kind of value a contact's QVariant holds, asked the same way everywhere.
namespace VariantKinds {

inline bool isNil(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

inline bool isMap(const QVariant &value)
{
    return value.typeId() == QMetaType::QVariantMap;
}

inline bool isList(const QVariant &value)
{
    return value.typeId() == QMetaType::QVariantList;
}

inline QVariant variantFromOptional(const std::optional<QVariantMap> &map)
{
    return map ? QVariant(*map) : QVariant();
}

} // namespace VariantKinds
