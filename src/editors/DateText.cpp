#include "editors/DateText.h"

#include "model/CsvDateText.h"
#include "model/QNPerson.h"

#include <QLocale>

namespace {

// The components of year, month and day, the day moved back into the month where it has fewer.
DateComponents clamped(std::optional<int> year, int month, int day)
{
    const QDate first(year.value_or(DateComponents::StandInYear), month, 1);
    if (!first.isValid())
        return {};
    return {year, month, qMin(day, first.daysInMonth())};
}

} // namespace

namespace DateText {

std::optional<DateComponents> parse(const QString &text)
{
    // The grid reads typed dates the same way, so a text pasted from a cell reads here too.
    const std::optional<DateComponents> read = QNPerson::dateComponentsFromVariant(
        CsvDateText::read(text, CsvDateText::Order::MonthFirst).components);
    if (!read || !read->month || !read->day || !calendarDate(*read).isValid())
        return std::nullopt;
    return read;
}

QString text(const DateComponents &components)
{
    return QNPerson::dateStringFromDateComponents(components);
}

QDate calendarDate(const DateComponents &components)
{
    if (components.isEmpty())
        return QDate();
    return QDate(components.year.value_or(DateComponents::StandInYear), components.month.value_or(1),
                 components.day.value_or(1));
}

DateComponents components(const QDate &day, bool withYear)
{
    if (!day.isValid())
        return {};
    return {withYear ? std::optional(day.year()) : std::nullopt, day.month(), day.day()};
}

QStringList monthTitles()
{
    QStringList titles;
    const QLocale locale;
    for (int month = 1; month <= 12; ++month)
        titles.append(locale.toString(QDate(2016, month, 1), QStringLiteral("MMM")));
    return titles;
}

DateComponents withMonth(const DateComponents &date, int month)
{
    return clamped(date.year, month, date.day.value_or(1));
}

DateComponents withYear(const DateComponents &date, int year)
{
    return clamped(year > 0 ? std::optional(year) : std::nullopt, date.month.value_or(1),
                   date.day.value_or(1));
}

} // namespace DateText
