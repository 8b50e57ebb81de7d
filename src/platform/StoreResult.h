#pragma once

#include <QString>
#include <variant>

// The answer of a store operation: a value, or an error text that says what went wrong. A failed
// result always carries a non-empty error text.
template <typename T> struct StoreResult
{
    T value{};
    QString error;

    bool ok() const { return error.isEmpty(); }

    static StoreResult success(T value) { return StoreResult{std::move(value), QString()}; }
    static StoreResult failure(const QString &error)
    {
        return StoreResult{T{}, error.isEmpty() ? QStringLiteral("Unknown store error.") : error};
    }
};

// The answer of an operation that has no value.
using StoreStatus = StoreResult<std::monostate>;

inline StoreStatus storeSuccess()
{
    return StoreStatus{};
}
