#include "model/WorkspaceURL.h"

namespace WorkspaceURL {
namespace {

// Only letters and digits stay as they are; everything else, '@' and '.' included, is encoded.
QString encodedAlphanumerics(const QString &text)
{
    QByteArray out;
    const QByteArray utf8 = text.toUtf8();
    out.reserve(utf8.size() * 3);
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        const bool alnum = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        if (alnum) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        }
    }
    return QString::fromLatin1(out);
}

// "tel:" without slashes: with them the number would be parsed as a host, and a leading '+' makes
// that invalid.
QString phoneLink(QString text)
{
    text.remove(QLatin1Char('(')).remove(QLatin1Char(')')).remove(QLatin1Char(' '));
    return QStringLiteral("tel:") + text;
}

QString webLink(const QString &text)
{
    // A scheme is taken as given when it starts at the first or second character (a stray leading
    // character is common in pasted links); schemes know no case, and blanks around a pasted link
    // are no part of it.
    const QString link = text.trimmed();
    const auto schemeAt = [&link](qsizetype position) {
        const QStringView rest = QStringView(link).mid(position);
        return rest.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
            || rest.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
    };
    if (schemeAt(0) || schemeAt(1))
        return link;
    return QStringLiteral("http://") + link;
}

QString mapLink(const QString &text, MapService map)
{
    if (map == MapService::WebSearch)
        return QStringLiteral("https://www.google.com/maps/search/") + encodedAlphanumerics(text);
    return QStringLiteral("geo:0,0?q=") + encodedAlphanumerics(text);
}

} // namespace

QString linkText(const QString &fieldIdentifier, const QString &text, MapService map)
{
    if (fieldIdentifier == QLatin1String("Dates") || fieldIdentifier == QLatin1String("Birthday"))
        return QStringLiteral("ical://");
    if (text.isEmpty())
        return {};
    if (fieldIdentifier == QLatin1String("Phone"))
        return phoneLink(text);
    if (fieldIdentifier == QLatin1String("Email"))
        return QStringLiteral("mailto:") + encodedAlphanumerics(text);
    if (fieldIdentifier == QLatin1String("URL"))
        return webLink(text);
    if (fieldIdentifier == QLatin1String("Address"))
        return mapLink(text, map);
    return {};
}

QUrl forValue(const QString &fieldIdentifier, const QString &text, MapService map)
{
    const QString link = linkText(fieldIdentifier, text, map);
    if (link.isEmpty())
        return {};
    const QUrl url(link, QUrl::StrictMode);
    return url.isValid() ? url : QUrl();
}

} // namespace WorkspaceURL
