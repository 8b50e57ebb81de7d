#pragma once

#include "platform/StoreContact.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// Dates as the date editors show, read and store them. A date's text is "yyyy.MM.dd(EEE)", or
// "MM.dd" without a year; a stored date is a set of components in which the year may be absent (a
// birthday without a year). Inside the editors the calendar year NoYear stands for that absent
// year: a leap year, so that 29 February has a date to be.
namespace DateText {

// The years up to NoYear are no year; 1 stood for none in files we wrote before.
constexpr int NoYear = DateComponents::StandInYear;

// Typed text read as the program writes dates, a weekday in any language or none
// ("1980.02.29(Fri)", "1980.02.29(金)", "1980.02.29", "02.29" without a year), and as other
// programs write them ("1980-02-29", "--02-29", "2/29/1980"); none when it is no date. A date
// without a year comes back in the year NoYear.
std::optional<QDate> parse(const QString &text);
// The text shown for a date's components; empty when they make no date.
QString text(const DateComponents &components);
// The calendar date of components (NoYear for an absent year); invalid when there is none.
QDate date(const DateComponents &components);
DateComponents components(const QDate &date);
// The locale's abbreviated month names, January first.
QStringList monthTitles();
// The date moved to another month or year, its day kept where that month has it, else the month's
// last day (31 January in February is the 28th or 29th, never a day of March). The year 0 is no
// year, and keeps 29 February.
QDate withMonth(const QDate &date, int month);
QDate withYear(const QDate &date, int year);

} // namespace DateText
