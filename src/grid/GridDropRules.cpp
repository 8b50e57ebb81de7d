#include "grid/GridDropRules.h"

#include "platform/widgets/PasteboardTypes.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
#include <QUrl>

namespace {

const QStringList VCardMimeTypes{QStringLiteral("text/vcard"), QStringLiteral("text/x-vcard"),
                                 QStringLiteral("text/directory")};
const QStringList VCardSuffixes{QStringLiteral("vcf"), QStringLiteral("vcard")};

bool hasUsableType(const QMimeData *data)
{
    return PasteboardTypes::hasType(data, PasteboardTypes::VCard) || data->hasUrls() ||
           PasteboardTypes::hasType(data, PasteboardTypes::String);
}

} // namespace

bool GridDropRules::mayDrop(const QMimeData *data, Source source, bool editState)
{
    if (!data || !editState)
        return false;
    switch (source) {
    case Source::Grid:
        return false;
    case Source::Application:
        return true;
    case Source::OtherApplication:
        return hasUsableType(data);
    }
    return false;
}

bool GridDropRules::validateDrop(const QMimeData *data, Source source, const Target &target, int gridRowCount,
                                 bool editState)
{
    if (target.onRow || (gridRowCount > 0 && target.row >= gridRowCount))
        return false;
    return mayDrop(data, source, editState);
}

bool GridDropRules::isVCardFile(const QString &path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    for (const QString &name : VCardMimeTypes) {
        if (type.inherits(name))
            return true;
    }
    return VCardSuffixes.contains(QFileInfo(path).suffix().toLower());
}

QString GridDropRules::vCardFilesText(const QMimeData *data)
{
    QString text;
    for (const QUrl &url : data->urls()) {
        const QString path = url.toLocalFile();
        if (path.isEmpty() || !isVCardFile(path))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString card = QString::fromUtf8(file.readAll());
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
            text += QStringLiteral("\r\n");
        text += card;
    }
    return text;
}

GridDropRules::Drop GridDropRules::acceptDrop(const QMimeData *data, Source source)
{
    if (!data || source == Source::Grid)
        return {};
    const QString vCard = PasteboardTypes::string(data, PasteboardTypes::VCard);
    if (!vCard.isEmpty())
        return {Drop::Kind::VCardText, vCard};
    if (source == Source::Application)
        return {};
    const QString files = vCardFilesText(data);
    if (!files.isEmpty())
        return {Drop::Kind::VCardText, files};
    const QString text = PasteboardTypes::string(data, PasteboardTypes::String);
    if (!text.isEmpty())
        return {Drop::Kind::Text, text};
    return {};
}
