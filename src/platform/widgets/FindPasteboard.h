#pragma once

#include <QString>

// The find string shared with other programs: the clipboard's find buffer where the desktop has
// one, else a buffer of this process.
class FindPasteboard
{
public:
    // Null when nothing was put there.
    static QString string();
    static void setString(const QString &text);
};
