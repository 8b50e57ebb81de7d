#pragma once

#include "platform/StoreContact.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// Dates as the date editors show, read and store them. A date's text is "yyyy.MM.dd(EEE)"; a
// stored date is a set of components in which the year may be absent (a birthday without a year),
// and the year 1 of the calendar stands for that absent year.
namespace DateText {

// Typed text read with "yyyy.MM.dd(EEE)", "yyyy.MM.dd EEE" and "yyyy.MM.dd", first match wins.
std::optional<QDate> parse(const QString &text);
// The text shown for a date's components; empty when they make no date.
QString text(const DateComponents &components);
// The calendar date of components (the year 1 for an absent year); invalid when there is none.
QDate date(const DateComponents &components);
DateComponents components(const QDate &date);
// The locale's abbreviated month names, January first.
QStringList monthTitles();
// The date moved to another month or year, its day kept where that month has it, else the month's
// last day (31 January in February is the 28th or 29th, never a day of March). The year 0 is no
// year.
QDate withMonth(const QDate &date, int month);
QDate withYear(const QDate &date, int year);

} // namespace DateText
