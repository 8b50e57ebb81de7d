#include "platform/StoreContactReader.h"

#include "platform/Log.h"
#include "platform/StoreConnection.h"
#include "platform/StoreEntryCodec.h"

#include <QHash>

namespace {

QString conditionFor(StoreContactReader::Scope scope)
{
    switch (scope) {
    case StoreContactReader::Scope::Container:
        return QStringLiteral("c.container = (SELECT id FROM container WHERE identifier = ?1)");
    case StoreContactReader::Scope::Group:
        return QStringLiteral(
            "c.id IN (SELECT contact FROM member WHERE grp = (SELECT id FROM grp WHERE identifier = ?1))");
    case StoreContactReader::Scope::Contact:
        break;
    }
    return QStringLiteral("c.identifier = ?1");
}

// Columns read for the scalar keys asked for, after id, identifier and contactType.
struct ScalarColumns
{
    QStringList strings;
    bool birthday = false;
    bool image = false;
    bool thumbnail = false;
    bool imageAvailable = false;
    // One set for all contacts of the read.
    QSet<QString> keySet;

    explicit ScalarColumns(const QStringList &keys) : keySet(StoreContact::fetchedKeySet(keys))
    {
        for (const QString &key : StoreKey::stringKeys())
            if (keys.contains(key))
                strings.append(key);
        birthday = keys.contains(StoreKey::Birthday);
        image = keys.contains(StoreKey::ImageData);
        thumbnail = keys.contains(StoreKey::ThumbnailImageData);
        imageAvailable = keys.contains(StoreKey::ImageDataAvailable);
    }

    QString selectList() const
    {
        QStringList columns{QStringLiteral("c.id"), QStringLiteral("c.identifier"),
                            QStringLiteral("c.contactType")};
        for (const QString &key : strings)
            columns.append(QStringLiteral("c.") + key);
        if (birthday)
            columns.append(QStringLiteral("c.birthday"));
        if (image)
            columns.append(QStringLiteral("c.imageData"));
        if (thumbnail)
            columns.append(QStringLiteral("c.thumbnailImageData"));
        if (imageAvailable)
            columns.append(QStringLiteral("(c.imageData IS NOT NULL OR c.thumbnailImageData IS NOT NULL)"));
        return columns.join(QStringLiteral(", "));
    }

    StoreContact contactFrom(const StoreStatement &row) const
    {
        StoreContact contact = StoreContact::fetchedSharingKeys(row.text(1), keySet);
        contact.setContactType(row.integer(2) == int(StoreContactType::Organization)
                                   ? StoreContactType::Organization
                                   : StoreContactType::Person);
        int column = 3;
        for (const QString &key : strings)
            contact.setStringForKey(key, row.text(column++));
        if (birthday) {
            if (!row.isNull(column))
                contact.birthday = StoreEntryCodec::decodeDate(row.text(column));
            ++column;
        }
        if (image)
            contact.imageData = row.blob(column++);
        if (thumbnail)
            contact.thumbnailImageData = row.blob(column++);
        if (imageAvailable)
            contact.setImageDataAvailable(row.integer(column++) != 0);
        return contact;
    }
};

} // namespace

namespace {

const QString CancelledError = QStringLiteral("The read was cancelled.");

} // namespace

StoreContactReader::StoreContactReader(StoreConnection &connection, const std::atomic<bool> *cancelled)
    : m_connection(connection), m_cancelled(cancelled)
{
}

StoreStatus StoreContactReader::checkKeys(const QStringList &keys)
{
    for (const QString &key : keys)
        if (!StoreKey::allKeys().contains(key))
            return StoreStatus::failure(QStringLiteral("\"%1\" is not a key of a store contact.").arg(key));
    return storeSuccess();
}

StoreResult<QList<StoreContact>> StoreContactReader::read(Scope scope, const QString &identifier,
                                                          const QStringList &keys)
{
    using Result = StoreResult<QList<StoreContact>>;
    if (StoreStatus status = checkKeys(keys); !status.ok())
        return Result::failure(status.error);
    const QString condition = conditionFor(scope);
    QHash<qint64, int> rowIndex;
    Result contacts = readRows(condition, identifier, keys, rowIndex);
    if (!contacts.ok() || contacts.value.isEmpty())
        return contacts;
    if (StoreStatus status = readEntries(condition, identifier, keys, rowIndex, contacts.value); !status.ok())
        return Result::failure(status.error);
    return contacts;
}

StoreResult<QList<StoreContact>> StoreContactReader::readRows(const QString &condition,
                                                              const QString &identifier,
                                                              const QStringList &keys,
                                                              QHash<qint64, int> &rowIndex)
{
    using Result = StoreResult<QList<StoreContact>>;
    const ScalarColumns columns(keys);
    StoreStatement select =
        m_connection.prepare(QStringLiteral("SELECT %1 FROM contact c WHERE %2 ORDER BY c.id")
                                 .arg(columns.selectList(), condition));
    if (!select.isValid())
        return Result::failure(m_connection.lastError());
    select.bind(1, identifier);
    QList<StoreContact> contacts;
    for (;;) {
        if (isCancelled())
            return Result::failure(CancelledError);
        switch (select.step()) {
        case StoreStatement::Step::Row:
            rowIndex.insert(select.integer(0), int(contacts.size()));
            contacts.append(columns.contactFrom(select));
            continue;
        case StoreStatement::Step::Done:
            return Result::success(std::move(contacts));
        case StoreStatement::Step::Failed:
            return Result::failure(m_connection.errorFor(select.resultCode()));
        }
    }
}

StoreStatus StoreContactReader::readEntries(const QString &condition, const QString &identifier,
                                            const QStringList &keys, const QHash<qint64, int> &rowIndex,
                                            QList<StoreContact> &contacts)
{
    QStringList kindNumbers;
    for (const StoreEntryCodec::Kind &kind : StoreEntryCodec::kinds())
        if (keys.contains(*kind.key))
            kindNumbers.append(QString::number(kind.number));
    if (kindNumbers.isEmpty())
        return storeSuccess();
    StoreStatement select = m_connection.prepare(
        QStringLiteral("SELECT e.contact, e.kind, e.identifier, e.label, e.value FROM entry e"
                       " WHERE e.kind IN (%1) AND e.contact IN (SELECT c.id FROM contact c WHERE %2)"
                       " ORDER BY e.contact, e.kind, e.position")
            .arg(kindNumbers.join(QLatin1Char(',')), condition));
    if (!select.isValid())
        return StoreStatus::failure(m_connection.lastError());
    select.bind(1, identifier);
    for (;;) {
        if (isCancelled())
            return StoreStatus::failure(CancelledError);
        switch (select.step()) {
        case StoreStatement::Step::Row: {
            const int index = rowIndex.value(select.integer(0), -1);
            const StoreEntryCodec::Kind *kind = StoreEntryCodec::kindForNumber(int(select.integer(1)));
            if (index >= 0 && kind)
                kind->append(contacts[index], {select.text(2), select.text(3), select.text(4)});
            else
                Log::write(QStringLiteral("StoreContactReader: ERROR entry of unknown kind %1")
                               .arg(select.integer(1)));
            continue;
        }
        case StoreStatement::Step::Done:
            return storeSuccess();
        case StoreStatement::Step::Failed:
            return StoreStatus::failure(m_connection.errorFor(select.resultCode()));
        }
    }
}
