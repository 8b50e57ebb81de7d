#include "app/FileExporter.h"

#include "addressbook/TextFormat.h"
#include "app/ViewController.h"
#include "app/WindowController.h"
#include "importexport/BackgroundRun.h"
#include "model/QNPerson.h"
#include "model/QNvCard.h"
#include "platform/FileWriter.h"
#include "platform/Localizer.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/FilePanel.h"
#include "ui/contracts/ContactsGridInterface.h"

#include <QFileInfo>
#include <QSet>

FileExporter::FileExporter(WindowController &window) : m_window(window) {}

void FileExporter::exportToVCard(QObject *sender)
{
    chooseFile(Format::VCard, sender != nullptr);
}

void FileExporter::exportToCSV(QObject *sender)
{
    chooseFile(Format::CSV, sender != nullptr);
}

void FileExporter::chooseFile(Format format, bool hasSender)
{
    if (m_window.isExporting())
        return;
    m_window.setIsExporting(true);
    ContactsGridInterface *grid = m_window.mainViewController()->contactsViewController();
    const QList<ContactRowPtr> selected =
        grid->selectedContactsWithClickedRowIndex(-1).value_or(QList<ContactRowPtr>());
    if (selected.isEmpty() || !selected.first() || !selected.first()->person) {
        finish();
        return;
    }
    const QString name = FilePanel::safeFileName(selected.first()->person->compositeName());
    FilePanel panel(FilePanel::Kind::Save);
    if (format == Format::VCard) {
        panel.setNameFieldLabel(L(QStringLiteral("Export As:")));
        panel.setAllowedFileTypes({QStringLiteral("public.vCard"), QStringLiteral("public.plain-text")});
        panel.setNameFieldStringValue(name + QStringLiteral(".vcf"));
    } else {
        panel.setNameFieldLabel(L(QStringLiteral("Export As CSV:")));
        panel.setAllowedFileTypes(
            {QStringLiteral("public.comma-separated-values-text"), QStringLiteral("public.plain-text")});
        panel.setNameFieldStringValue(name + QStringLiteral(".csv"));
    }
    panel.beginSheetModalForWindow(&m_window, [this, format, selected, hasSender](const QString &path) {
        fileChosen(format, path, selected, hasSender);
    });
}

void FileExporter::fileChosen(Format format, const QString &path, const QList<ContactRowPtr> &selected,
                              bool hasSender)
{
    if (path.isEmpty()) {
        finish();
        return;
    }
    if (format == Format::VCard) {
        const ContactTable rows = rowsToWrite(selected, hasSender);
        if (const std::optional<QByteArray> data = buildVCards(rows, QFileInfo(path).fileName()))
            write(path, *data);
    } else {
        write(path, QNvCard().csvFromSubContacts(rowsToWrite(selected, true)).toUtf8());
    }
    finish();
}

ContactTable FileExporter::rowsToWrite(const QList<ContactRowPtr> &selected, bool bySelection) const
{
    const ContactTablePtr table = m_window.mainViewController()->contactTable();
    if (!table)
        return {};
    if (!bySelection) {
        // Contacts the group lost until the next save are gone for the user already.
        ContactTable rows = *table;
        rows.removeIf([](const ContactRowPtr &row) { return !row || row->deleted; });
        return rows;
    }
    ContactTable rows;
    QSet<const ContactRow *> taken;
    for (const ContactRowPtr &contact : selected) {
        if (!contact)
            continue;
        for (const ContactRowPtr &row : std::as_const(*table)) {
            if (row && row->uniqueId == contact->uniqueId) {
                if (!taken.contains(row.get())) {
                    taken.insert(row.get());
                    rows.append(row);
                }
                break;
            }
        }
    }
    return rows;
}

std::optional<QByteArray> FileExporter::buildVCards(const ContactTable &rows, const QString &fileName)
{
    // The writer reads the class-level definitions; set here, before the job starts reading them.
    QNPerson::setCustomItems(m_window.customItems());
    const std::optional<std::optional<QByteArray>> data = runInBackgroundWithProgress(
        *m_window.progressAlert(), TextFormat::fill(L(QStringLiteral("Writing the file: %@")), {fileName}),
        [rows](BackgroundProgress &progress) {
            const double count = qMax<qsizetype>(1, rows.size());
            const QStringList options{QNvCardOption::Photo, QNvCardOption::Note, QNvCardOption::Custom,
                                      QNvCardOption::Categories};
            return QNvCard().vCardDataFromContacts(rows, options, nullptr, [&](bool *stop, quint64 index) {
                *stop = progress.isCancelled();
                progress.setProgress(double(index) / count * 100.0);
            });
        });
    return data.value_or(std::nullopt);
}

void FileExporter::write(const QString &path, const QByteArray &data)
{
    if (writeFile(path, data))
        return;
    Alert alert;
    alert.setMessageText(L(QStringLiteral("Can't save the file")));
    alert.setInformativeText(L(QStringLiteral("Something error happened in saving operation.")));
    alert.addButton(L(QStringLiteral("OK")));
    alert.beginSheetModalForWindow(&m_window);
}

// Whole or not at all: a full disk leaves no cut file behind.
bool FileExporter::writeFile(const QString &path, const QByteArray &data)
{
    return FileWriter::write(path, data).ok();
}

void FileExporter::finish()
{
    m_window.setIsExporting(false);
}
