#include "model/CsvDateText.h"

#include "model/QNPersonKeys.h"

#include <QDate>
#include <QRegularExpression>

namespace CsvDateText {
namespace {

// A weekday may follow after a blank or in parentheses.
const QString Weekday = QStringLiteral(R"((?:\s*\([^)]*\)|\s+\S+)?\s*$)");

QRegularExpression pattern(const QString &date)
{
    return QRegularExpression(QStringLiteral(R"(^\s*)") + date + Weekday);
}

// The components of a valid date; the years 0 and 1 stand for none (we wrote 0001 for none).
QVariantMap components(int year, int month, int day)
{
    if (!QDate(year > 1 ? year : 2000, month, day).isValid())
        return {};
    QVariantMap date{{PersonKey::Month, month}, {PersonKey::Day, day}};
    if (year > 1)
        date.insert(PersonKey::Year, year);
    return date;
}

// Two numbers that are day and month in either order.
Reading either(int year, int first, int second, Order order)
{
    Reading reading;
    if (first > 12 && second <= 12)
        reading.shows = Order::DayFirst;
    else if (second > 12 && first <= 12)
        reading.shows = Order::MonthFirst;
    else
        reading.ambiguous = first != second;
    const bool dayFirst = reading.shows.value_or(order) == Order::DayFirst;
    reading.components = dayFirst ? components(year, second, first) : components(year, first, second);
    return reading;
}

Reading readForm(const QString &text, Order order)
{
    static const QRegularExpression yearFirst =
        pattern(QStringLiteral(R"((\d{4})[./-](\d{1,2})[./-](\d{1,2}))"));
    static const QRegularExpression isoWithoutYear = pattern(QStringLiteral(R"(--(\d{2})-?(\d{2}))"));
    static const QRegularExpression dayDotMonth = pattern(QStringLiteral(R"((\d{1,2})\.(\d{1,2})\.(\d{4}))"));
    static const QRegularExpression yearLast =
        pattern(QStringLiteral(R"((\d{1,2})[/-](\d{1,2})[/-](\d{4}))"));
    static const QRegularExpression withoutYear = pattern(QStringLiteral(R"((\d{1,2})[./-](\d{1,2}))"));
    QRegularExpressionMatch match = yearFirst.match(text);
    const auto number = [&match](int group) { return match.captured(group).toInt(); };
    if (match.hasMatch())
        return {components(number(1), number(2), number(3)), {}, false};
    if ((match = isoWithoutYear.match(text)).hasMatch())
        return {components(0, number(1), number(2)), {}, false};
    // Nobody writes the month first between points.
    if ((match = dayDotMonth.match(text)).hasMatch())
        return {components(number(3), number(2), number(1)), {}, false};
    if ((match = yearLast.match(text)).hasMatch())
        return either(number(3), number(1), number(2), order);
    if ((match = withoutYear.match(text)).hasMatch())
        return either(0, number(1), number(2), order);
    return {};
}

} // namespace

Reading read(const QString &text, Order order)
{
    Reading reading = readForm(text, order);
    // Only a text that is no date can be the empty date, so most texts are matched once.
    static const QRegularExpression zero(QStringLiteral(R"(^\s*0+\D0+\D0+\s*$)"));
    if (reading.components.isEmpty())
        reading.blank = zero.match(text).hasMatch();
    return reading;
}

} // namespace CsvDateText
