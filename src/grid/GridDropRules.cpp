#include "grid/GridDropRules.h"

#include "platform/widgets/PasteboardTypes.h"

#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUrl>

namespace {

const QStringList VCardMimeTypes{QStringLiteral("text/vcard"), QStringLiteral("text/x-vcard"),
                                 QStringLiteral("text/directory")};
const QStringList VCardSuffixes{QStringLiteral("vcf"), QStringLiteral("vcard")};

// The format of the data's CSV text, which may name its charset ("text/csv;charset=utf-16").
QString csvFormat(const QMimeData *data)
{
    const QString csv = PasteboardTypes::mimeType(PasteboardTypes::CommaSeparatedText);
    for (const QString &format : data->formats()) {
        if (format.section(QLatin1Char(';'), 0, 0).trimmed().compare(csv, Qt::CaseInsensitive) == 0)
            return format;
    }
    return {};
}

// CSV data is UTF-8 unless its format names another charset; one the decoder does not know is
// read as UTF-8 too.
QString csvText(const QMimeData *data)
{
    const QString format = csvFormat(data);
    if (format.isEmpty())
        return {};
    static const QRegularExpression charsetParameter(QStringLiteral(R"(;\s*charset\s*=\s*"?([^";\s]+))"),
                                                     QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch charset = charsetParameter.match(format);
    QStringDecoder decoder(charset.hasMatch() ? charset.captured(1).toLatin1().constData() : "UTF-8");
    if (!decoder.isValid())
        decoder = QStringDecoder(QStringConverter::Utf8);
    return decoder.decode(data->data(format));
}

bool hasUsableType(const QMimeData *data)
{
    return PasteboardTypes::hasType(data, PasteboardTypes::VCard) || data->hasUrls() ||
           PasteboardTypes::hasType(data, PasteboardTypes::String) || !csvFormat(data).isEmpty();
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
    const QString csv = csvText(data);
    if (!csv.isEmpty())
        return {Drop::Kind::Text, csv};
    return {};
}
