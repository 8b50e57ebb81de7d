#include "grid/GridDragPayload.h"

#include "model/QNPerson.h"
#include "model/QNvCard.h"
#include "platform/widgets/PasteboardTypes.h"
#include "platform/widgets/TemporaryFiles.h"

#include <QFile>
#include <QMimeData>
#include <QSet>
#include <QUrl>

#include <algorithm>

const QString GridDragPayload::DraggingContactsFileName = QStringLiteral("draggingContacts.vcf");

namespace {

QList<int> gridRows(const QList<int> &rows, qsizetype gridRowCount)
{
    QList<int> kept;
    for (int row : rows) {
        if (row >= 0 && row < gridRowCount && !kept.contains(row))
            kept.append(row);
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

void writeFile(const QString &path, const QString &text)
{
    QFile::remove(path);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
}

} // namespace

QString GridDragPayload::stringIndexes(const QList<int> &rows, qsizetype gridRowCount)
{
    QStringList pieces;
    for (int row : gridRows(rows, gridRowCount))
        pieces.append(QString::number(row));
    return pieces.join(QLatin1Char(','));
}

QList<ContactRowPtr> GridDragPayload::draggedContacts(const QList<int> &rows,
                                                      const QList<SubContactRowPtr> &subContactTable,
                                                      const ContactTable &contactTable)
{
    QList<ContactRowPtr> contacts;
    QSet<QString> taken;
    for (int row : gridRows(rows, subContactTable.size())) {
        const SubContactRowPtr &subContact = subContactTable.at(row);
        if (!subContact || taken.contains(subContact->uniqueId))
            continue;
        const auto found =
            std::find_if(contactTable.cbegin(), contactTable.cend(), [&](const ContactRowPtr &contact) {
                return contact && contact->uniqueId == subContact->uniqueId;
            });
        if (found == contactTable.cend())
            continue;
        taken.insert(subContact->uniqueId);
        contacts.append(*found);
    }
    return contacts;
}

QStringList GridDragPayload::dragTextIdentifiers(QNPerson &person)
{
    QStringList identifiers{
        QStringLiteral("Name"),      QStringLiteral("Email"),           QStringLiteral("Phone"),
        QStringLiteral("Address"),   QStringLiteral("Instant Message"), QStringLiteral("Social Network"),
        QStringLiteral("URL"),       QStringLiteral("Phonetic Name"),   QStringLiteral("Nickname"),
        QStringLiteral("Birthday"),  QStringLiteral("Relationship"),    QStringLiteral("Suffix"),
        QStringLiteral("Title"),     QStringLiteral("Company"),         QStringLiteral("Department"),
        QStringLiteral("Job Title"), QStringLiteral("Dates"),           QStringLiteral("Note")};
    identifiers.append(person.customIdentifiers());
    return identifiers;
}

QString GridDragPayload::dragText(const QList<ContactRowPtr> &contacts)
{
    const QNvCard writer;
    QStringList lines;
    for (const ContactRowPtr &contact : contacts) {
        if (contact && contact->person)
            lines.append(writer.csvStringFromContact({contact->person, contact->labelIndex},
                                                     dragTextIdentifiers(*contact->person),
                                                     QStringLiteral("\t"), false));
    }
    return lines.join(QLatin1Char('\n'));
}

QString GridDragPayload::dragVCards(const QList<ContactRowPtr> &contacts)
{
    const QNvCard writer;
    QString text;
    for (const ContactRowPtr &contact : contacts) {
        if (contact)
            text += writer.vCardFromContact(
                        *contact, {QNvCardOption::Note, QNvCardOption::Photo, QNvCardOption::Custom}) +
                    QStringLiteral("\r\n");
    }
    return text;
}

std::unique_ptr<QMimeData> GridDragPayload::mimeData(const QList<int> &rows,
                                                     const QList<SubContactRowPtr> &subContactTable,
                                                     const ContactTable &contactTable)
{
    const QList<int> dragged = gridRows(rows, subContactTable.size());
    if (dragged.isEmpty())
        return nullptr;
    const QList<ContactRowPtr> contacts = draggedContacts(dragged, subContactTable, contactTable);
    const QString text = dragText(contacts);
    const QString vCards = dragVCards(contacts);

    auto data = std::make_unique<QMimeData>();
    PasteboardTypes::setString(data.get(), PasteboardTypes::String, text);
    PasteboardTypes::setString(data.get(), PasteboardTypes::VCard, vCards);
    const QString path = TemporaryFiles::filePath(DraggingContactsFileName);
    if (!path.isEmpty()) {
        writeFile(path, vCards);
        data->setUrls({QUrl::fromLocalFile(path)});
    }
    PasteboardTypes::setString(data.get(), PasteboardTypes::TabSeparatedText, text);
    // Rows of the grid are positions of their values, never entries' label indexes.
    if (const SubContactRowPtr &first = subContactTable.at(dragged.first()))
        PasteboardTypes::setString(data.get(), PasteboardTypes::ValuePosition,
                                   QString::number(first->labelIndex));
    PasteboardTypes::setString(data.get(), PasteboardTypes::StringIndexes,
                               stringIndexes(dragged, subContactTable.size()));
    return data;
}
