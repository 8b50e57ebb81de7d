#include "platform/StoreContactWriter.h"

#include "platform/PlatformUtil.h"

#include "platform/StoreConnection.h"
#include "platform/StoreEntryCodec.h"

#include <QBuffer>
#include <QImage>
#include <QSet>
#include <QUuid>
#include <functional>
#include <memory>

namespace {

constexpr int ThumbnailSide = 320;

struct Column
{
    QString name;
    std::function<void(StoreStatement &, int)> bind;
};

// The contact's columns that its available keys allow to write, after identifier and container.
QList<Column> writableColumns(const StoreContact &contact)
{
    QList<Column> columns{{QStringLiteral("contactType"), [&contact](StoreStatement &statement, int index) {
                               statement.bindInteger(index, int(contact.contactType()));
                           }}};
    for (const QString &key : StoreKey::stringKeys())
        if (contact.isKeyAvailable(key))
            columns.append({key, [&contact, key](StoreStatement &statement, int index) {
                                statement.bind(index, contact.stringForKey(key));
                            }});
    if (contact.isKeyAvailable(StoreKey::Birthday))
        columns.append({QStringLiteral("birthday"), [&contact](StoreStatement &statement, int index) {
                            if (contact.birthday)
                                statement.bind(index, StoreEntryCodec::encodeDate(*contact.birthday));
                            else
                                statement.bindNull(index);
                        }});
    if (contact.isKeyAvailable(StoreKey::ImageData)) {
        const auto thumbnail =
            std::make_shared<QByteArray>(StoreContactWriter::thumbnailFor(contact.imageData));
        columns.append({QStringLiteral("imageData"), [&contact](StoreStatement &statement, int index) {
                            statement.bindBlob(index, contact.imageData);
                        }});
        columns.append(
            {QStringLiteral("thumbnailImageData"),
             [thumbnail](StoreStatement &statement, int index) { statement.bindBlob(index, *thumbnail); }});
    }
    return columns;
}

QString newEntryIdentifier()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

} // namespace

StoreContactWriter::StoreContactWriter(StoreConnection &connection) : m_connection(connection) {}

QByteArray StoreContactWriter::thumbnailFor(const QByteArray &imageData)
{
    if (imageData.isEmpty())
        return {};
    QImage image = QImage::fromData(imageData);
    if (image.isNull())
        return {};
    if (image.width() > ThumbnailSide || image.height() > ThumbnailSide)
        image = image.scaled(ThumbnailSide, ThumbnailSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return PlatformUtil::pngData(image);
}

StoreStatus StoreContactWriter::add(const StoreContact &contact, qint64 containerRow)
{
    const QList<Column> columns = writableColumns(contact);
    QStringList names{QStringLiteral("identifier"), QStringLiteral("container")};
    QStringList placeholders{QStringLiteral("?1"), QStringLiteral("?2")};
    for (const Column &column : columns) {
        names.append(column.name);
        placeholders.append(QStringLiteral("?%1").arg(placeholders.size() + 1));
    }
    StoreStatement insert = m_connection.prepare(
        QStringLiteral("INSERT INTO contact (%1) VALUES (%2)")
            .arg(names.join(QStringLiteral(", ")), placeholders.join(QStringLiteral(", "))));
    if (!insert.isValid())
        return StoreStatus::failure(m_connection.lastError());
    insert.bind(1, contact.identifier());
    insert.bindInteger(2, containerRow);
    for (int i = 0; i < columns.size(); ++i)
        columns[i].bind(insert, i + 3);
    if (!insert.run())
        return StoreStatus::failure(m_connection.errorFor(insert.resultCode()));
    return writeEntries(contact, m_connection.lastInsertRowId(), false);
}

StoreStatus StoreContactWriter::update(const StoreContact &contact, qint64 contactRow)
{
    const QList<Column> columns = writableColumns(contact);
    QStringList assignments;
    for (int i = 0; i < columns.size(); ++i)
        assignments.append(QStringLiteral("%1 = ?%2").arg(columns[i].name).arg(i + 2));
    StoreStatement update = m_connection.prepare(
        QStringLiteral("UPDATE contact SET %1 WHERE id = ?1").arg(assignments.join(QStringLiteral(", "))));
    if (!update.isValid())
        return StoreStatus::failure(m_connection.lastError());
    update.bindInteger(1, contactRow);
    for (int i = 0; i < columns.size(); ++i)
        columns[i].bind(update, i + 2);
    if (!update.run())
        return StoreStatus::failure(m_connection.errorFor(update.resultCode()));
    return writeEntries(contact, contactRow, true);
}

StoreStatus StoreContactWriter::writeEntries(const StoreContact &contact, qint64 contactRow, bool replace)
{
    StoreStatement remove =
        m_connection.prepare(QStringLiteral("DELETE FROM entry WHERE contact = ?1 AND kind = ?2"));
    StoreStatement insert = m_connection.prepare(
        QStringLiteral("INSERT INTO entry (contact, kind, position, identifier, label, value)"
                       " VALUES (?1, ?2, ?3, ?4, ?5, ?6)"));
    if (!remove.isValid() || !insert.isValid())
        return StoreStatus::failure(m_connection.lastError());
    // Entry identifiers name an entry within its contact: a new entry, or a copy that repeats an
    // identifier, gets a fresh one.
    QSet<QString> used;
    for (const StoreEntryCodec::Kind &kind : StoreEntryCodec::kinds()) {
        if (!contact.isKeyAvailable(*kind.key))
            continue;
        if (replace) {
            remove.bindInteger(1, contactRow);
            remove.bindInteger(2, kind.number);
            const bool removed = remove.run();
            remove.reset();
            if (!removed)
                return StoreStatus::failure(m_connection.errorFor(remove.resultCode()));
        }
        const QList<StoreEntryCodec::Row> rows = kind.rowsOf(contact);
        for (int position = 0; position < rows.size(); ++position) {
            QString identifier = rows[position].identifier;
            if (identifier.isEmpty() || used.contains(identifier))
                identifier = newEntryIdentifier();
            used.insert(identifier);
            insert.bindInteger(1, contactRow);
            insert.bindInteger(2, kind.number);
            insert.bindInteger(3, position);
            insert.bind(4, identifier);
            insert.bind(5, rows[position].label);
            insert.bind(6, rows[position].value);
            const bool inserted = insert.run();
            insert.reset();
            if (!inserted)
                return StoreStatus::failure(m_connection.errorFor(insert.resultCode()));
        }
    }
    return storeSuccess();
}
