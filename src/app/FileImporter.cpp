#include "app/FileImporter.h"

#include "addressbook/TextEncodings.h"
#include "addressbook/TextFormat.h"
#include "app/ImportPanelController.h"
#include "app/ViewController.h"
#include "app/WindowController.h"
#include "importexport/BackgroundRun.h"
#include "importexport/CsvImportRun.h"
#include "importexport/EncodingChooser.h"
#include "model/QNvCard.h"
#include "platform/Dispatch.h"
#include "platform/Localizer.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/FilePanel.h"

#include <QFileInfo>

namespace {

ContactTable topGroupRows(const QNvCard &reader, const std::optional<ContainerTable> &containers)
{
    if (!containers || containers->isEmpty())
        return {};
    const ContainerDictPtr container = containers->first();
    const ContactTablePtr rows = reader.contactsForGroup(container->topGroup(), container);
    return rows ? *rows : ContactTable();
}

} // namespace

FileImporter::FileImporter(WindowController &window) : m_window(window) {}

void FileImporter::importFromVCard()
{
    chooseFile(Format::VCard);
}

void FileImporter::importFromCSV()
{
    chooseFile(Format::CSV);
}

void FileImporter::importFiles(const QStringList &paths)
{
    m_pendingFiles += paths;
    importNextFile();
}

void FileImporter::importNextFile()
{
    if (m_pendingFiles.isEmpty() || m_window.isExporting())
        return;
    const QString path = m_pendingFiles.takeFirst();
    const Format format =
        path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? Format::CSV : Format::VCard;
    m_window.setIsExporting(true);
    fileChosen(format, path, TextEncodings::Automatic);
}

void FileImporter::chooseFile(Format format)
{
    if (m_window.isExporting())
        return;
    m_window.setIsExporting(true);
    auto chooser = std::make_shared<EncodingChooser>(m_window.defaults());
    chooser->setEncodingOnly();
    FilePanel panel(FilePanel::Kind::Open);
    if (format == Format::VCard) {
        panel.setAllowedFileTypes({QStringLiteral("public.vcard"), QStringLiteral("public.plain-text")});
    } else {
        panel.setTitle(L(QStringLiteral("Import from CSV")));
        panel.setAllowedFileTypes(
            {QStringLiteral("public.plain-text"), QStringLiteral("public.comma-separated-values-text")});
    }
    panel.setAccessoryView(chooser->view());
    panel.beginSheetModalForWindow(&m_window, [this, format, chooser](const QString &path) {
        fileChosen(format, path, chooser->encodingType());
    });
}

void FileImporter::fileChosen(Format format, const QString &path, quint32 encoding)
{
    if (path.isEmpty()) {
        finish();
        return;
    }
    const QString fileName = QFileInfo(path).fileName();
    if (format == Format::VCard) {
        importVCards(path, encoding, fileName);
        return;
    }
    const QString csvHint = L(QStringLiteral("Please make sure the file is a valid CSV file."));
    const TextEncodings::ReadResult read = TextEncodings::readFile(path, encoding);
    if (!read.text) {
        showReadAlert(fileName, csvHint);
        return;
    }
    const std::optional<QNvCard::CsvImport> csv =
        contactsFromCSVWithProgress(*m_window.progressAlert(), std::move(*read.text), fileName);
    if (!csv) {
        finish();
        return;
    }
    if (!csv->error.isEmpty()) {
        showReadAlert(fileName, csv->error);
        return;
    }
    if (csv->rows.isEmpty()) {
        showReadAlert(fileName, csvHint);
        return;
    }
    chooseContacts(fileName, csv->rows);
}

void FileImporter::importVCards(const QString &path, quint32 encoding, const QString &fileName)
{
    TextEncodings::FileBytes bytes = TextEncodings::readBytes(path);
    if (!bytes.data) {
        showReadAlert(fileName, bytes.error);
        return;
    }
    const std::optional<VCardImport> parsed = parseVCards(std::move(*bytes.data), encoding, fileName);
    if (!parsed) {
        finish();
        return;
    }
    if (!parsed->error.isEmpty()) {
        showReadAlert(fileName, parsed->error);
        return;
    }
    if (parsed->rows.isEmpty()) {
        showReadAlert(fileName, L(QStringLiteral("Please make sure the file is vCard 2.1/3.0 file.")));
        return;
    }
    chooseContacts(fileName, parsed->rows);
}

std::optional<FileImporter::VCardImport> FileImporter::parseVCards(QByteArray data, quint32 encoding,
                                                                   const QString &fileName)
{
    // The encoding is found and the text decoded on the pool with the parse; each stage is let go
    // as the next one is made (the file's bytes, then the text once the records are made).
    return runInBackgroundWithProgress(
        *m_window.progressAlert(), TextFormat::fill(L(QStringLiteral("Reading the file: %@")), {fileName}),
        [data = std::move(data), encoding, fileName](BackgroundProgress &progress) mutable {
            TextEncodings::Utf8Result text = TextEncodings::decodeToUtf8(std::move(data), encoding, fileName);
            if (!text.text)
                return VCardImport{{}, text.error};
            const QByteArray utf8 = std::move(*text.text);
            const double length = qMax<qsizetype>(1, utf8.size());
            const QNvCard reader;
            // A cancelled parse stops at the next card; its rows would only be dropped.
            const std::optional<ContainerTable> containers = reader.containersFromVCards(
                QByteArrayView(utf8),
                [&](bool *stop, quint64 offset) {
                    *stop = progress.isCancelled();
                    progress.setProgress(double(offset) / length * 100.0);
                },
                TextEncodings::eightBitCharset(text.encoding));
            return VCardImport{topGroupRows(reader, containers), {}};
        });
}

void FileImporter::chooseContacts(const QString &fileName, const ContactTable &rows)
{
    ImportPanelController *chooser = m_window.importPanelController();
    chooser->setFilename(fileName);
    chooser->setNameTable(rows);
    chooser->beginSheetModalForWindow(&m_window, [this](int returnCode) { chooserDidEnd(returnCode); });
}

void FileImporter::chooserDidEnd(int returnCode)
{
    ImportPanelController *chooser = m_window.importPanelController();
    const QList<int> selected = chooser->selectedIndexes();
    ViewController *view = m_window.mainViewController();
    const GroupDictPtr group = view->selectedGroupDict();
    if (returnCode == 1 && !selected.isEmpty() && group) {
        QList<ContactRowPtr> rows;
        for (int index : selected)
            rows.append(chooser->nameTable().at(index));
        view->undoAddContacts(rows, group);
        view->setDocumentEdited(true);
    }
    finish();
}

// Several files handed over at once: each alert names its own, and the next file waits for it.
void FileImporter::showReadAlert(const QString &fileName, const QString &informativeText)
{
    Alert alert;
    alert.setMessageText(TextFormat::fill(L(QStringLiteral("Couldn't read the file “%@”.")), {fileName}));
    alert.setInformativeText(informativeText);
    alert.addButton(L(QStringLiteral("OK")));
    alert.beginSheetModalForWindow(&m_window, [this](int) { finish(); });
}

void FileImporter::finish()
{
    m_window.setIsExporting(false);
    if (!m_pendingFiles.isEmpty())
        Dispatch::postToMain(&m_window, [this] { importNextFile(); });
}
