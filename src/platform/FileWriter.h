#pragma once

#include "platform/StoreResult.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <optional>

// Writes a file whole or not at all. The bytes go to a temporary file beside it; every write, the
// flush and the sync to disk are checked, and only then does the temporary file take the old one's
// place. A full disk or a failing device leaves the old file as it was.
//
// In two steps where the replacement must wait for something else (a store's commit): prepare
// writes and syncs the new file beside the old one, commit puts it in place. A writer destroyed
// before commit leaves the old file.
class FileWriter
{
public:
    explicit FileWriter(const QString &path);
    ~FileWriter();
    FileWriter(const FileWriter &) = delete;
    FileWriter &operator=(const FileWriter &) = delete;

    // prepare, then commit. The error is the reason alone ("the disk is full").
    static StoreStatus write(const QString &path, const QByteArray &data);

    StoreStatus prepare(const QByteArray &data);
    StoreStatus commit();

    // Test hook: the disk fills up once every writer of the process has written this many more
    // bytes, cutting the write under way short (nullopt: as much room as the disk has).
    static void setSpaceLeftForTesting(std::optional<qint64> bytes);
    // Test hook: commits of the file at that path fail, leaving the old file, as when the program
    // ends before it (nullopt: none fail).
    static void setFailingCommitForTesting(const std::optional<QString> &path);

private:
    StoreStatus writeAll(const QByteArray &data);
    StoreStatus failure(const QString &reason);

    QSaveFile m_file;
    bool m_prepared = false;
};
