#pragma once

#include <QString>
#include <QVariantMap>

#include <optional>

// Dates as CSV files write them: ours ("2001.02.03(Sat)", "02.03" without a year), ISO
// ("2001-02-03", "--02-03"), the mail programs' "2/3/2001" and the day-first "03/02/2001" and
// "03.02.2001", in ASCII or full-width characters. Where day and month could be swapped the caller
// gives the order; "0/0/00" and the like are no date.
namespace CsvDateText {

enum class Order
{
    MonthFirst,
    DayFirst,
};

struct Reading
{
    // "month", "day" and "year" (absent when the date has none); empty when the text is no date.
    QVariantMap components;
    // The order the text shows by a day above 12, for texts that could be written either way.
    std::optional<Order> shows;
    // Day and month could be swapped: both are 12 or less and the text's form leaves it open.
    bool ambiguous = false;
    // Written as no date at all ("0/0/00").
    bool blank = false;
};

Reading read(const QString &text, Order order);

} // namespace CsvDateText
