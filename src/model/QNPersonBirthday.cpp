#include "model/QNPerson.h"

#include "model/QNPersonKeys.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>

namespace {

// A part of a components map; numbers that went through JSON arrive as doubles or text.
std::optional<int> componentPart(const QVariantMap &map, const QString &key)
{
    const QVariant value = map.value(key);
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    bool ok = false;
    const int part = value.toInt(&ok);
    return ok ? std::optional(part) : std::nullopt;
}

} // namespace

QString QNPerson::dateStringFromDateComponents(const DateComponents &components)
{
    if (components.isEmpty())
        return QString();
    // Without a year there is no weekday either; the stand-in year lets 29 February through.
    const bool yearless = !components.year && components.month && components.day;
    const QDate date(components.year.value_or(yearless ? DateComponents::StandInYear : 1),
                     components.month.value_or(1), components.day.value_or(1));
    if (!date.isValid())
        return QString();
    return QLocale().toString(date, yearless ? QStringLiteral("MM.dd") : QStringLiteral("yyyy.MM.dd(ddd)"));
}

QVariantMap QNPerson::variantFromDateComponents(const DateComponents &components)
{
    QVariantMap map;
    if (components.year)
        map.insert(PersonKey::Year, *components.year);
    if (components.month)
        map.insert(PersonKey::Month, *components.month);
    if (components.day)
        map.insert(PersonKey::Day, *components.day);
    return map;
}

std::optional<DateComponents> QNPerson::dateComponentsFromVariant(const QVariant &value)
{
    QDate date;
    switch (value.typeId()) {
    case QMetaType::QVariantMap: {
        const QVariantMap map = value.toMap();
        return DateComponents{componentPart(map, PersonKey::Year), componentPart(map, PersonKey::Month),
                              componentPart(map, PersonKey::Day)};
    }
    case QMetaType::QDate:
        date = value.toDate();
        break;
    case QMetaType::QDateTime:
        date = value.toDateTime().toLocalTime().date();
        break;
    default:
        return std::nullopt;
    }
    if (!date.isValid())
        return std::nullopt;
    return DateComponents{date.year(), date.month(), date.day()};
}

void QNPerson::updateBirthdayValue(BirthdayDict &birthday)
{
    const std::optional<DateComponents> components =
        dateComponentsFromVariant(birthday.value(PersonKey::Value));
    birthday.insert(PersonKey::StringValue,
                    components ? dateStringFromDateComponents(*components) : QString());
}

std::optional<QNPerson::BirthdayDict> QNPerson::birthdayValue()
{
    if (m_birthdayValue)
        return m_birthdayValue;
    if (!m_cnContact)
        return std::nullopt;
    if (!m_cnContact->isKeyAvailable(StoreKey::Birthday) && !refetchKeys({StoreKey::Birthday})) {
        // Unread: kept, it would erase the stored birthday on save.
        return BirthdayDict{{PersonKey::StringValue, QString()}};
    }
    BirthdayDict birthday;
    if (m_cnContact->birthday)
        birthday.insert(PersonKey::Value, variantFromDateComponents(*m_cnContact->birthday));
    updateBirthdayValue(birthday);
    m_birthdayValue = birthday;
    return birthday;
}

void QNPerson::setBirthdayValue(const std::optional<BirthdayDict> &birthday)
{
    if (birthday) {
        m_birthdayValue = *birthday;
        updateBirthdayValue(*m_birthdayValue);
    } else {
        m_birthdayValue = BirthdayDict();
    }
    m_changed = true;
    noteEdit(StoreKey::Birthday);
}
