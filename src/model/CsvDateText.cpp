#include "model/CsvDateText.h"

#include "model/QNPersonKeys.h"

#include <QDate>
#include <QRegularExpression>

namespace CsvDateText {
namespace {

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

// Every form in one pattern, so that a cell is matched once; a weekday may follow after a blank or
// in parentheses. The groups of each form, in this order: "2001.02.03" and "2001-02-03" (1-3),
// "--02-03" (4-5), "03.02.2001" (6-8), "2/3/2001" (9-11), "02.03" (12-13).
const QRegularExpression &datePattern()
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*(?:(\d{4})[./-](\d{1,2})[./-](\d{1,2}))"
                                                           R"(|--(\d{2})-?(\d{2}))"
                                                           R"(|(\d{1,2})\.(\d{1,2})\.(\d{4}))"
                                                           R"(|(\d{1,2})[/-](\d{1,2})[/-](\d{4}))"
                                                           R"(|(\d{1,2})[./-](\d{1,2})))"
                                                           R"((?:\s*\([^)]*\)|\s+\S+)?\s*$)"));
    return pattern;
}

Reading readForm(const QString &text, Order order)
{
    const QRegularExpressionMatch match = datePattern().match(text);
    if (!match.hasMatch())
        return {};
    const auto number = [&match](int group) { return match.captured(group).toInt(); };
    const auto matched = [&match](int group) { return match.capturedLength(group) > 0; };
    if (matched(1))
        return {components(number(1), number(2), number(3)), {}, false};
    if (matched(4))
        return {components(0, number(4), number(5)), {}, false};
    // Nobody writes the month first between points.
    if (matched(6))
        return {components(number(8), number(7), number(6)), {}, false};
    if (matched(9))
        return either(number(11), number(9), number(10), order);
    return either(0, number(12), number(13), order);
}

} // namespace

Reading read(const QString &typed, Order order)
{
    // Full-width digits and marks, as a Japanese input method types them, read as their ASCII forms.
    const QString text = typed.normalized(QString::NormalizationForm_KC);
    Reading reading = readForm(text, order);
    // Only a text that is no date can be the empty date, so most texts are matched once.
    static const QRegularExpression zero(QStringLiteral(R"(^\s*0+\D0+\D0+\s*$)"));
    if (reading.components.isEmpty())
        reading.blank = zero.match(text).hasMatch();
    return reading;
}

} // namespace CsvDateText
