#pragma once

#include <QDateTime>
#include <QString>

// Small services of the platform that the contact record uses.
class QImage;

namespace PlatformUtil {

// A new identifier such as "1B4E28BA-2FA1-11D2-883F-0016D3CCA427".
QString newUUIDString();

// A date as the platform describes it in the log and in archives: "2024-03-01 09:05:00 +0000", in
// UTC. An invalid date gives a null string.
QString dateDescription(const QDateTime &date);
QString dateDescription();

// The name of a country (ISO 3166 code, "JP") in a language ("ja", "ja-JP", "en_US"). An unknown
// code comes back as it is; an unknown language falls back to the default locale of ICU.
QString localizedCountryName(const QString &countryCode, const QString &languageCode);

// The image as PNG bytes; empty when it cannot be encoded.
QByteArray pngData(const QImage &image);

} // namespace PlatformUtil
