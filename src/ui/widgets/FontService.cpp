#include "ui/widgets/FontService.h"

#include "addressbook/DefaultsKey.h"

#include <QFontDatabase>

#include <algorithm>

QString FontService::systemFontName()
{
    return QStringLiteral(".AppleSystemUIFont");
}

QFont FontService::systemFont(double pointSize)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(pointSize);
    return font;
}

bool FontService::isSystemFont(const QFont &font)
{
    return font.family() == QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

std::optional<QFont> FontService::fontWithName(const QString &name, double pointSize)
{
    if (name == systemFontName())
        return systemFont(pointSize);
    if (name.isEmpty() || !QFontDatabase::families().contains(name, Qt::CaseInsensitive))
        return std::nullopt;
    QFont font(name);
    font.setPointSizeF(pointSize);
    return font;
}

QString FontService::fontName(const QFont &font)
{
    return isSystemFont(font) ? systemFontName() : font.family();
}

std::optional<QFont> FontService::fontFromDefaults(const QString &name, std::optional<double> pointSize)
{
    if (name.isEmpty())
        return systemFont(DefaultsKey::DefaultFontSize);
    // Bigger and Smaller keep the family, so the system font is stored with a size of its own.
    if (name == systemFontName())
        return systemFont(
            std::max(pointSize.value_or(DefaultsKey::DefaultFontSize), DefaultsKey::MinimumFontSize));
    return fontWithName(name, std::max(pointSize.value_or(0.0), DefaultsKey::MinimumFontSize));
}
