#pragma once

#include <QString>

// The control characters that stray into text from damaged files and other programs: NUL, the
// other C0 controls but tab, line feed and carriage return, and DEL. No value keeps them.
namespace StrayControls {

qsizetype count(const QString &text);
// The text without them (the text itself when it holds none).
QString removed(const QString &text);

} // namespace StrayControls
