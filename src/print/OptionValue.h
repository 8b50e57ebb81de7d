#pragma once

#include <QVariant>

// How the print options read a value that may be a number or a decimal string (the defaults hold
// lengths and ticks as strings, the panel writes numbers): as the options' readers always have.
namespace OptionValue {

bool isNumber(const QVariant &value);
// A number, or a string that reads as a finite number.
bool isNumeric(const QVariant &value);
// A boolean, a number, or a string of "YES", "NO", "true", "false" or a number.
bool isBoolean(const QVariant &value);

// 0 for anything that is not numeric.
double toDouble(const QVariant &value);
// The integer part; 0 for anything that is not numeric.
qint64 toInteger(const QVariant &value);
// "YES", "true" and non-zero numbers are true; anything else is false.
bool toBool(const QVariant &value);

} // namespace OptionValue
