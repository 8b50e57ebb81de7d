#pragma once

#include <QFont>
#include <QString>

#include <optional>

// Fonts by name and size, where one name stands for the desktop's own interface font.
class FontService
{
public:
    // The name under which the system font is stored.
    static QString systemFontName();
    static QFont systemFont(double pointSize);
    static bool isSystemFont(const QFont &font);

    // The system font for systemFontName(); the installed family of that name otherwise; nothing
    // when no installed family has the name.
    static std::optional<QFont> fontWithName(const QString &name, double pointSize);
    // systemFontName() for the system font, else the family.
    static QString fontName(const QFont &font);

    // The window's font from its stored name and size: no name gives the system font of the
    // default size; a name is used at the stored size but never below the minimum (a missing size
    // gives the default size for the system font's name, the minimum for another name).
    static std::optional<QFont> fontFromDefaults(const QString &name, std::optional<double> pointSize);
};
