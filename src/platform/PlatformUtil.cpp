#include "platform/PlatformUtil.h"

#include <QBuffer>
#include <QImage>
#include <QLocale>
#include <QUuid>

#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace PlatformUtil {

QString newUUIDString()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

QString dateDescription(const QDateTime &date)
{
    if (!date.isValid())
        return QString();
    return QLocale::c().toString(date.toUTC(), QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
           QStringLiteral(" +0000");
}

QString dateDescription()
{
    return dateDescription(QDateTime::currentDateTimeUtc());
}

QString localizedCountryName(const QString &countryCode, const QString &languageCode)
{
    // ICU's locale names take underscores where language tags have hyphens.
    QString language = languageCode;
    language.replace(u'-', u'_');
    const icu::Locale country("", countryCode.toLatin1().constData());
    const icu::Locale display(language.toLatin1().constData());
    icu::UnicodeString name;
    country.getDisplayCountry(display, name);
    if (name.isBogus() || name.isEmpty())
        return countryCode;
    return QString(reinterpret_cast<const QChar *>(name.getBuffer()), name.length());
}

QByteArray pngData(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? png : QByteArray();
}

} // namespace PlatformUtil
