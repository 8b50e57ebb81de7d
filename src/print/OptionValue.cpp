#include "print/OptionValue.h"

#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>

namespace OptionValue {

namespace {

std::optional<double> numberIn(const QVariant &value)
{
    if (isNumber(value))
        return value.toDouble();
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

bool isWord(const QVariant &value, std::initializer_list<const char16_t *> words)
{
    const QString text = value.toString().trimmed();
    for (const char16_t *word : words) {
        if (text.compare(QStringView(word), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

bool isNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return std::isfinite(value.toDouble());
    default:
        return false;
    }
}

bool isNumeric(const QVariant &value)
{
    return numberIn(value).has_value();
}

bool isBoolean(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        return isNumeric(value) || isWord(value, {u"yes", u"no", u"true", u"false"});
    return isNumber(value);
}

double toDouble(const QVariant &value)
{
    return numberIn(value).value_or(0.0);
}

qint64 toInteger(const QVariant &value)
{
    const double number = std::trunc(toDouble(value));
    // Beyond the range of qint64 a plain cast is undefined.
    constexpr double limit = 9.2e18;
    if (std::abs(number) > limit)
        return number > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return qint64(number);
}

bool toBool(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString && isWord(value, {u"yes", u"true"}))
        return true;
    return toDouble(value) != 0.0;
}

} // namespace OptionValue
