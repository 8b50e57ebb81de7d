#pragma once

#include <QFont>

class UserDefaults;

// The detail views' font and the row height it gives.
namespace DetailFont {

inline constexpr double MinimumRowHeight = 20.0;

// "QN1DdefaultFontName" and "QN1DdefaultFontSize": the 12-point system font when the name is
// absent, the system font's or not installed; otherwise that font at the saved size, at least 7.
QFont fontFromDefaults(const UserDefaults &defaults);

// The height of a one-line row: the font's line height plus 9, or 1.42 times its point size when
// that is more, never below 20.
double rowHeightForFont(const QFont &font);

} // namespace DetailFont
