#pragma once

#include "model/AddressBookRecords.h"

#include <QList>
#include <QString>

#include <optional>

class QObject;
class WindowController;

// The File menu's exports: the contacts selected in the grid written to one file that the user
// names, as vCard (built on the background pool under the progress window) or as CSV (built at
// once). Files are UTF-8 and replaced atomically, so a failed write leaves no partial file; the
// address book is never touched. The window's busy flag is held meanwhile and given back on every
// way out.
class FileExporter
{
public:
    explicit FileExporter(WindowController &window);

    void exportToVCard(QObject *sender);
    void exportToCSV(QObject *sender);

    // The text as UTF-8 in place of the file, all or nothing.
    static bool writeFile(const QString &path, const QByteArray &data);

private:
    enum class Format
    {
        VCard,
        CSV
    };

    void chooseFile(Format format, bool hasSender);
    void fileChosen(Format format, const QString &path, const QList<ContactRowPtr> &selected, bool hasSender);
    // Each contact of the shown group once: the selected ones in selection order, or all of them.
    ContactTable rowsToWrite(const QList<ContactRowPtr> &selected, bool bySelection) const;
    // Nothing when the user cancelled.
    std::optional<QByteArray> buildVCards(const ContactTable &rows, const QString &fileName);
    void write(const QString &path, const QByteArray &data);
    void finish();

    WindowController &m_window;
};
