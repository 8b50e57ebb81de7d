#include "detail/DetailFont.h"

#include "addressbook/DefaultsKey.h"
#include "ui/widgets/FontService.h"
#include "platform/UserDefaults.h"

#include <QFontMetricsF>

#include <cmath>

namespace DetailFont {

QFont fontFromDefaults(const UserDefaults &defaults)
{
    const QString name = defaults.stringForKey(DefaultsKey::DefaultFontName);
    const QVariant size = defaults.objectForKey(DefaultsKey::DefaultFontSizeKey);
    const std::optional<double> pointSize = size.isValid() ? std::optional(size.toDouble()) : std::nullopt;
    return FontService::fontFromDefaults(name, pointSize)
        .value_or(FontService::systemFont(DefaultsKey::DefaultFontSize));
}

double rowHeightForFont(const QFont &font)
{
    const QFontMetricsF metrics(font);
    // Qt's descent is positive, where the formula's descender is negative.
    double height = std::ceil(metrics.ascent() + metrics.descent() + metrics.leading()) + 9.0;
    const double scaled = std::ceil(font.pointSizeF() * 1.42);
    if (scaled > height)
        height = scaled;
    return std::max(height, MinimumRowHeight);
}

} // namespace DetailFont
