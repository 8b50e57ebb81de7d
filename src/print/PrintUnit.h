#pragma once

#include <QString>
#include <QStringList>

// The units the print panel shows lengths in. The options always hold points; a unit only governs
// what the length fields show.
namespace PrintUnit {

inline const QString Points = QStringLiteral("points");
inline const QString Inches = QStringLiteral("inches");
inline const QString Millimetres = QStringLiteral("mm");

QStringList all();
// 72 points to the inch, 25.4 mm to the inch, no rounding; an unknown unit on either side leaves
// the value as it is.
float changeValue(float value, const QString &from, const QString &to);
// The step of a length stepper: a tenth in inches, one otherwise.
double step(const QString &unit);

} // namespace PrintUnit
