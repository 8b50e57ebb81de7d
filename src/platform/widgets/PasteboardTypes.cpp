#include "platform/widgets/PasteboardTypes.h"

#include <QHash>
#include <QMimeData>
#include <QStringList>
#include <QUrl>

namespace PasteboardTypes {

namespace {

const QString PlainTextMime = QStringLiteral("text/plain");
const QString UriListMime = QStringLiteral("text/uri-list");

// vCard data from other programs arrives under older names too.
const QStringList VCardMimeAliases = {QStringLiteral("text/x-vcard"), QStringLiteral("text/directory")};

QStringList mimeTypesToRead(const QString &pasteboardType)
{
    QStringList types{mimeType(pasteboardType)};
    if (pasteboardType.compare(VCard, Qt::CaseInsensitive) == 0)
        types.append(VCardMimeAliases);
    return types;
}

} // namespace

QString mimeType(const QString &pasteboardType)
{
    static const QHash<QString, QString> known = {
        {String.toLower(), PlainTextMime},
        {QStringLiteral("public.plain-text"), PlainTextMime},
        {VCard.toLower(), QStringLiteral("text/vcard")},
        {FileURL.toLower(), UriListMime},
        {TabSeparatedText.toLower(), QStringLiteral("text/tab-separated-values")},
        {CommaSeparatedText.toLower(), QStringLiteral("text/csv")},
        {PNG.toLower(), QStringLiteral("image/png")},
        {TIFF.toLower(), QStringLiteral("image/tiff")},
    };
    const QString key = pasteboardType.toLower();
    return known.value(key, QStringLiteral("application/x-") + key);
}

bool hasType(const QMimeData *data, const QString &pasteboardType)
{
    if (!data)
        return false;
    for (const QString &type : mimeTypesToRead(pasteboardType)) {
        if (data->hasFormat(type))
            return true;
    }
    return false;
}

void setString(QMimeData *data, const QString &pasteboardType, const QString &text)
{
    const QString type = mimeType(pasteboardType);
    if (type == PlainTextMime)
        data->setText(text);
    else if (type == UriListMime)
        data->setUrls({QUrl(text)});
    else
        data->setData(type, text.toUtf8());
}

QString string(const QMimeData *data, const QString &pasteboardType)
{
    if (!data)
        return {};
    const QString type = mimeType(pasteboardType);
    if (type == PlainTextMime)
        return data->hasText() ? data->text() : QString();
    if (type == UriListMime)
        return data->hasUrls() ? data->urls().constFirst().toString() : QString();
    for (const QString &candidate : mimeTypesToRead(pasteboardType)) {
        if (data->hasFormat(candidate))
            return QString::fromUtf8(data->data(candidate));
    }
    return {};
}

} // namespace PasteboardTypes
