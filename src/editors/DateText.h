#pragma once

#include "platform/StoreContact.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// Dates as the date editors show, read and hold them. A date's text is "yyyy.MM.dd(EEE)", or
// "MM.dd" without a year. The editors hold a date as components, so a date without a year stays
// without one whatever the calendar shows; the calendar shows such a date in the stand-in year
// (DateComponents::StandInYear), a leap year, so that 29 February has a day to be.
namespace DateText {

// Typed text read as the program writes dates, a weekday in any language or none
// ("1980.02.29(Fri)", "1980.02.29(金)", "1980.02.29", "02.29" without a year), and as other
// programs write them ("1980-02-29", "--02-29", "2/29/1980"); none when it is no date.
std::optional<DateComponents> parse(const QString &text);
// The text shown for a date's components; empty when they make no date.
QString text(const DateComponents &components);
// The calendar day that shows the components (the stand-in year for an absent one); invalid when
// they make no date.
QDate calendarDate(const DateComponents &components);
// A calendar day as components, its year kept only when withYear.
DateComponents components(const QDate &day, bool withYear = true);
// The locale's abbreviated month names, January first.
QStringList monthTitles();
// The date moved to another month or year, its day kept where that month has it, else the month's
// last day (31 January in February is the 28th or 29th, never a day of March). The year 0 is no
// year, and keeps 29 February.
DateComponents withMonth(const DateComponents &date, int month);
DateComponents withYear(const DateComponents &date, int year);

} // namespace DateText
