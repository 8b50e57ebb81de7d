#pragma once

#include <QString>
#include <QStringList>

// Fills localized formats written with "%@" placeholders, as the localization tables keep them.
namespace TextFormat {

// Each "%@" takes the next argument (an empty text when there is none left); "%%" is a percent
// sign; every other character stays.
QString fill(const QString &format, const QStringList &arguments);

} // namespace TextFormat
