#include "grid/GridPasteboard.h"

#include "model/QNPerson.h"
#include "model/QNvCard.h"
#include "platform/widgets/PasteboardTypes.h"
#include "platform/widgets/TemporaryFiles.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMimeData>
#include <QUrl>

const QString GridPasteboard::TabSeparator = QStringLiteral("\t");
const QString GridPasteboard::CommaSeparator = QStringLiteral(", ");
const QString GridPasteboard::SelectedContactsFileName = QStringLiteral("SelectedContacts.vcf");
const QString GridPasteboard::CopiedIdentifiersType = QStringLiteral("QN1PcopiedIdentifiers");

QStringList GridPasteboard::copyIdentifiers(const QStringList &tableIdentifiers)
{
    return tableIdentifiers.size() < 2 ? QNPerson::allIdentifiers() : tableIdentifiers;
}

QString GridPasteboard::textForRows(const QList<SubContactRowPtr> &rows, const QStringList &identifiers,
                                    const QString &separator)
{
    const QNvCard writer;
    QString text;
    for (const SubContactRowPtr &row : rows) {
        if (!row)
            continue;
        text += writer.csvStringFromContact({row->person, row->labelIndex}, identifiers, separator, true);
        text += QLatin1Char('\n');
    }
    if (text.size() < 2)
        return {};
    text.chop(1);
    return text;
}

std::unique_ptr<QMimeData> GridPasteboard::textData(const QList<SubContactRowPtr> &rows,
                                                    const QStringList &identifiers, GridCopyFormat format)
{
    const bool csv = format == GridCopyFormat::CSV;
    const QString text = textForRows(rows, identifiers, csv ? CommaSeparator : TabSeparator);
    if (text.isEmpty())
        return nullptr;
    auto data = std::make_unique<QMimeData>();
    PasteboardTypes::setString(data.get(), PasteboardTypes::String, text);
    PasteboardTypes::setString(
        data.get(), csv ? PasteboardTypes::CommaSeparatedText : PasteboardTypes::TabSeparatedText, text);
    const QByteArray copied =
        QJsonDocument(QJsonArray::fromStringList(identifiers)).toJson(QJsonDocument::Compact);
    PasteboardTypes::setString(data.get(), CopiedIdentifiersType, QString::fromUtf8(copied));
    return data;
}

std::optional<QStringList> GridPasteboard::copiedIdentifiers(const QMimeData *data)
{
    if (!data || !PasteboardTypes::hasType(data, CopiedIdentifiersType))
        return std::nullopt;
    const QJsonDocument copied =
        QJsonDocument::fromJson(PasteboardTypes::string(data, CopiedIdentifiersType).toUtf8());
    if (!copied.isArray())
        return std::nullopt;
    QStringList identifiers;
    for (const QJsonValue &identifier : copied.array())
        identifiers.append(identifier.toString());
    return identifiers;
}

std::unique_ptr<QMimeData> GridPasteboard::vCardData(const QList<ContactRowPtr> &contacts)
{
    const QNvCard writer;
    QString text;
    for (const ContactRowPtr &contact : contacts) {
        if (contact)
            text += writer.vCardFromContact(*contact, {QNvCardOption::Note, QNvCardOption::Custom}) +
                    QLatin1Char('\n');
    }
    if (text.trimmed().isEmpty())
        return nullptr;
    const QString path = TemporaryFiles::filePath(SelectedContactsFileName);
    if (path.isEmpty())
        return nullptr;
    QFile::remove(path);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl::fromLocalFile(path)});
    return data;
}
