#pragma once

#include "model/AddressBookRecords.h"

#include <QString>
#include <QStringList>

#include <functional>

class WindowController;

// The File menu's imports: a vCard or CSV file that the user picks, read with the chosen or the
// detected encoding, parsed on the background pool under the progress window (a vCard file's
// encoding found and its text decoded there too), then chosen card by card in the import chooser
// and added to the shown group in one undoable step.
//
// The window's busy flag is taken for the whole way and given back on every way out: a dismissed
// panel, a read error, Cancel in the progress window, a file without contacts and the end of the
// chooser whatever its answer. A cancelled parse goes on in the background, but its rows are never
// used.
class FileImporter
{
public:
    explicit FileImporter(WindowController &window);

    void importFromVCard();
    void importFromCSV();
    // Files handed over by the desktop ("Open With"), imported one after another with the
    // detected encoding: a name ending in ".csv" is read as CSV, anything else as vCard.
    void importFiles(const QStringList &paths);

private:
    enum class Format
    {
        VCard,
        CSV
    };

    void chooseFile(Format format);
    // The rows of a vCard file, or why it has none.
    struct VCardImport
    {
        ContactTable rows;
        // Localised; set when the bytes are not text in the chosen encoding.
        QString error;
    };

    void fileChosen(Format format, const QString &path, quint32 encoding);
    void importVCards(const QString &path, quint32 encoding, const QString &fileName);
    // Decodes and parses the file's bytes on the pool under the progress window; nothing when the
    // user cancelled.
    std::optional<VCardImport> parseVCards(QByteArray data, quint32 encoding, const QString &fileName);
    void chooseContacts(const QString &fileName, const ContactTable &rows);
    void chooserDidEnd(int returnCode);
    // Ends the import once answered.
    void showReadAlert(const QString &fileName, const QString &informativeText);
    void finish();
    void importNextFile();

    WindowController &m_window;
    QStringList m_pendingFiles;
};
