#pragma once

#include "platform/ContactStore.h"

#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <gtest/gtest.h>
#include <sqlite3.h>

// Overwrites the middle leaf page of one of the store's indexes with noise after its page header, as
// a failing device scribbles over a page. The log is written into the file first, so that the page
// read is the one overwritten; this thread's connections are closed, as a program that starts
// after the damage has none.
inline void scribbleOverIndexPage(const QString &storePath, const QString &index)
{
    constexpr int PageSize = 4096;
    constexpr int PageHeader = 8;
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(storePath).constData(), &db);
    sqlite3_exec(db, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    sqlite3_stmt *select = nullptr;
    sqlite3_prepare_v2(db, "SELECT pageno FROM dbstat WHERE name = ?1 AND pagetype = 'leaf' ORDER BY pageno",
                       -1, &select, nullptr);
    const QByteArray name = index.toUtf8();
    sqlite3_bind_text(select, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    QList<qint64> pages;
    while (sqlite3_step(select) == SQLITE_ROW)
        pages.append(sqlite3_column_int64(select, 0));
    sqlite3_finalize(select);
    sqlite3_close(db);
    ContactStore::releaseThreadConnections();
    ASSERT_FALSE(pages.isEmpty()) << "no index " << name.constData();

    QByteArray noise(PageSize - PageHeader, '\0');
    QRandomGenerator generator(5);
    for (char &byte : noise)
        byte = char(generator.bounded(256));
    QFile file(storePath);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek((pages.at(pages.size() / 2) - 1) * PageSize + PageHeader));
    ASSERT_EQ(file.write(noise), noise.size());
}
