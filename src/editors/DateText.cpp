#include "editors/DateText.h"

#include "model/CsvDateText.h"
#include "model/QNPerson.h"

#include <QLocale>

namespace {

QDate clampedDate(int year, int month, int day)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return QDate();
    return QDate(year, month, qMin(day, first.daysInMonth()));
}

} // namespace

namespace DateText {

std::optional<QDate> parse(const QString &text)
{
    // The grid reads typed dates the same way, so a text pasted from a cell reads here too.
    const std::optional<DateComponents> components = QNPerson::dateComponentsFromVariant(
        CsvDateText::read(text, CsvDateText::Order::MonthFirst).components);
    const QDate read = components ? date(*components) : QDate();
    return read.isValid() ? std::optional(read) : std::nullopt;
}

QString text(const DateComponents &components)
{
    return QNPerson::dateStringFromDateComponents(components);
}

QDate date(const DateComponents &components)
{
    if (components.isEmpty())
        return QDate();
    return QDate(components.year.value_or(NoYear), components.month.value_or(1), components.day.value_or(1));
}

DateComponents components(const QDate &date)
{
    if (!date.isValid())
        return {};
    DateComponents parts{std::nullopt, date.month(), date.day()};
    if (date.year() > NoYear)
        parts.year = date.year();
    return parts;
}

QStringList monthTitles()
{
    QStringList titles;
    const QLocale locale;
    for (int month = 1; month <= 12; ++month)
        titles.append(locale.toString(QDate(2016, month, 1), QStringLiteral("MMM")));
    return titles;
}

QDate withMonth(const QDate &date, int month)
{
    return clampedDate(date.year(), month, date.day());
}

QDate withYear(const QDate &date, int year)
{
    return clampedDate(qMax(year, NoYear), date.month(), date.day());
}

} // namespace DateText
