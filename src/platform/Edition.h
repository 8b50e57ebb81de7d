#pragma once

#include <QString>
#include <QStringList>

// The program is built once and installed under each edition's name; the edition is the name the
// executable was started as.
namespace Edition {

QString defaultName();
QStringList allNames();

// The edition for a program started as argv0 (a path or a bare name); unknown names fall back to
// the default edition.
QString fromProgramPath(const QString &argv0);

} // namespace Edition
