#include "print/PrintUnit.h"

namespace PrintUnit {

QStringList all()
{
    return {Points, Inches, Millimetres};
}

float changeValue(float value, const QString &from, const QString &to)
{
    if (from == Points && to == Inches)
        return value / 72.0f;
    if (from == Points && to == Millimetres)
        return float(double(value) * 25.4 / 72.0);
    if (from == Inches && to == Points)
        return value * 72.0f;
    if (from == Inches && to == Millimetres)
        return float(double(value) * 25.4);
    if (from == Millimetres && to == Points)
        return float(double(value * 72.0f) / 25.4);
    if (from == Millimetres && to == Inches)
        return float(double(value) / 25.4);
    return value;
}

double step(const QString &unit)
{
    return unit == Inches ? 0.1 : 1.0;
}

} // namespace PrintUnit
