#include "platform/StoreContactReader.h"

#include "platform/Log.h"
#include "platform/StoreConnection.h"
#include "platform/StoreEntryCodec.h"
#include "platform/StoreTextPool.h"

#include <map>
#include <memory>

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

} // namespace

// Columns read for the scalar keys asked for, after id, identifier and contactType.
struct StoreContactReader::ScalarColumns
{
    QList<QString StoreContact::*> strings;
    QStringList stringKeys;
    bool birthday = false;
    bool image = false;
    bool thumbnail = false;
    bool imageAvailable = false;
    // One set for all contacts of the read.
    QSet<QString> keySet;

    explicit ScalarColumns(const QStringList &keys) : keySet(StoreContact::fetchedKeySet(keys))
    {
        for (const QString &key : StoreKey::stringKeys()) {
            if (keys.contains(key)) {
                strings.append(StoreContact::stringMember(key));
                stringKeys.append(key);
            }
        }
        birthday = keys.contains(StoreKey::Birthday);
        image = keys.contains(StoreKey::ImageData);
        thumbnail = keys.contains(StoreKey::ThumbnailImageData);
        imageAvailable = keys.contains(StoreKey::ImageDataAvailable);
    }

    QString selectList() const
    {
        QStringList columns{QStringLiteral("c.id"), QStringLiteral("c.identifier"),
                            QStringLiteral("c.contactType")};
        for (const QString &key : stringKeys)
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
        for (QString StoreContact::*member : strings)
            contact.*member = row.text(column++);
        if (birthday) {
            if (!row.isNull(column))
                contact.birthday = StoreEntryCodec::decodeDate(row.textView(column));
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

namespace {

// The entry rows of the lists asked for, by contact row in the order of the contacts' read, each
// list in its order; empty when no list is asked. With every kind asked no kind is named: SQLite
// then looks each contact up once in the entry index instead of once per kind.
QString entrySelect(const QStringList &keys, const QString &condition)
{
    QStringList kindNumbers;
    for (const StoreEntryCodec::Kind &kind : StoreEntryCodec::kinds())
        if (keys.contains(*kind.key))
            kindNumbers.append(QString::number(kind.number));
    if (kindNumbers.isEmpty())
        return QString();
    const QString kindCondition =
        kindNumbers.size() == StoreEntryCodec::kinds().size()
            ? QString()
            : QStringLiteral("e.kind IN (%1) AND ").arg(kindNumbers.join(QLatin1Char(',')));
    return QStringLiteral("SELECT e.contact, e.kind, e.identifier, e.label, e.value FROM entry e"
                          " WHERE %1e.contact IN (SELECT c.id FROM contact c WHERE %2)"
                          " ORDER BY e.contact, e.kind, e.position")
        .arg(kindCondition, condition);
}

QString keyError(const QStringList &keys)
{
    for (const QString &key : keys)
        if (!StoreKey::allKeys().contains(key))
            return QStringLiteral("\"%1\" is not a key of a store contact.").arg(key);
    return QString();
}

} // namespace

// What a read of one scope and key list needs: its columns and statements. A save re-reads each
// changed contact with the same keys; making this once per thread and key list spares every read
// the key checks, the key set and the statements' text.
struct StoreContactReader::ReadPlan
{
    QString keyError;
    ScalarColumns columns;
    QString contactSelect;
    QString entrySelect;

    ReadPlan(StoreContactReader::Scope scope, const QStringList &keys)
        : keyError(::keyError(keys)), columns(keys),
          contactSelect(QStringLiteral("SELECT %1 FROM contact c WHERE %2 ORDER BY c.id")
                            .arg(columns.selectList(), conditionFor(scope))),
          entrySelect(::entrySelect(keys, conditionFor(scope)))
    {
    }

    static const ReadPlan &of(StoreContactReader::Scope scope, const QStringList &keys)
    {
        // The program reads with a handful of key lists; the bound only guards against a caller
        // that makes new ones without end.
        constexpr qsizetype MaximumPlans = 32;
        thread_local std::map<std::pair<int, QStringList>, std::unique_ptr<ReadPlan>> plans;
        const std::pair<int, QStringList> key{int(scope), keys};
        auto found = plans.find(key);
        if (found == plans.end()) {
            if (qsizetype(plans.size()) >= MaximumPlans)
                plans.clear();
            found = plans.emplace(key, std::make_unique<ReadPlan>(scope, keys)).first;
        }
        return *found->second;
    }
};

namespace {

const QString CancelledError = QStringLiteral("The read was cancelled.");

} // namespace

StoreContactReader::StoreContactReader(StoreConnection &connection, const std::atomic<bool> *cancelled)
    : m_connection(connection), m_cancelled(cancelled)
{
}

StoreStatus StoreContactReader::checkKeys(const QStringList &keys)
{
    const QString error = keyError(keys);
    return error.isEmpty() ? storeSuccess() : StoreStatus::failure(error);
}

StoreResult<QList<StoreContact>> StoreContactReader::read(Scope scope, const QString &identifier,
                                                          const QStringList &keys)
{
    using Result = StoreResult<QList<StoreContact>>;
    const ReadPlan &plan = ReadPlan::of(scope, keys);
    if (!plan.keyError.isEmpty())
        return Result::failure(plan.keyError);
    QList<qint64> rows;
    Result contacts = readRows(plan.columns, plan.contactSelect, identifier, rows);
    if (!contacts.ok() || contacts.value.isEmpty() || plan.entrySelect.isEmpty())
        return contacts;
    if (StoreStatus status = readEntries(plan.entrySelect, identifier, rows, contacts.value); !status.ok())
        return Result::failure(status.error);
    return contacts;
}

StoreResult<QList<StoreContact>> StoreContactReader::readRows(const ScalarColumns &columns,
                                                              const QString &sql, const QString &identifier,
                                                              QList<qint64> &rows)
{
    using Result = StoreResult<QList<StoreContact>>;
    StoreStatement select = m_connection.prepare(sql);
    if (!select.isValid())
        return Result::failure(m_connection.lastError());
    select.bind(1, identifier);
    QList<StoreContact> contacts;
    for (;;) {
        if (isCancelled())
            return Result::failure(CancelledError);
        switch (select.step()) {
        case StoreStatement::Step::Row:
            rows.append(select.integer(0));
            contacts.append(columns.contactFrom(select));
            continue;
        case StoreStatement::Step::Done:
            return Result::success(std::move(contacts));
        case StoreStatement::Step::Failed:
            return Result::failure(m_connection.errorFor(select.resultCode()));
        }
    }
}

// Entries come ordered by contact row, as the contacts do, so one forward walk finds each
// entry's contact.
StoreStatus StoreContactReader::readEntries(const QString &sql, const QString &identifier,
                                            const QList<qint64> &rows, QList<StoreContact> &contacts)
{
    StoreStatement select = m_connection.prepare(sql);
    if (!select.isValid())
        return StoreStatus::failure(m_connection.lastError());
    select.bind(1, identifier);
    StoreTextPool pool;
    qsizetype index = 0;
    for (;;) {
        if (isCancelled())
            return StoreStatus::failure(CancelledError);
        switch (select.step()) {
        case StoreStatement::Step::Row: {
            const qint64 row = select.integer(0);
            while (index < rows.size() && rows[index] < row)
                ++index;
            const StoreEntryCodec::Kind *kind = StoreEntryCodec::kindForNumber(int(select.integer(1)));
            if (index < rows.size() && rows[index] == row && kind)
                kind->append(contacts[index], {select.textView(2), select.textView(3), select.textView(4)},
                             pool);
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
