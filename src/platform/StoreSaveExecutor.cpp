#include "platform/StoreSaveExecutor.h"

#include "platform/StoreConnection.h"
#include "platform/StoreContactWriter.h"

#include <QVariant>

namespace {

QString describeStep(const StoreSaveRequest::Step &step)
{
    using Operation = StoreSaveRequest::Operation;
    switch (step.operation) {
    case Operation::AddContact:
        return QStringLiteral("adding contact %1").arg(step.contactIdentifier);
    case Operation::UpdateContact:
        return QStringLiteral("updating contact %1").arg(step.contactIdentifier);
    case Operation::DeleteContact:
        return QStringLiteral("deleting contact %1").arg(step.contactIdentifier);
    case Operation::AddGroup:
        return QStringLiteral("adding group \"%1\"").arg(step.group.name);
    case Operation::UpdateGroup:
        return QStringLiteral("renaming group %1").arg(step.groupIdentifier);
    case Operation::DeleteGroup:
        return QStringLiteral("deleting group %1").arg(step.groupIdentifier);
    case Operation::AddMember:
        return QStringLiteral("adding contact %1 to group %2")
            .arg(step.contactIdentifier, step.groupIdentifier);
    case Operation::RemoveMember:
        return QStringLiteral("removing contact %1 from group %2")
            .arg(step.contactIdentifier, step.groupIdentifier);
    }
    return QString();
}

QString thingName(const QString &table)
{
    if (table == QLatin1String("contact"))
        return QStringLiteral("contact");
    if (table == QLatin1String("grp"))
        return QStringLiteral("group");
    return QStringLiteral("container");
}

} // namespace

StoreSaveExecutor::StoreSaveExecutor(StoreConnection &connection) : m_connection(connection) {}

StoreStatus StoreSaveExecutor::apply(const StoreSaveRequest &request)
{
    const QList<StoreSaveRequest::Step> &steps = request.steps();
    for (int i = 0; i < steps.size(); ++i) {
        StoreStatus status = applyStep(steps[i]);
        if (!status.ok())
            return StoreStatus::failure(QStringLiteral("The save was refused at step %1 of %2 (%3): %4")
                                            .arg(i + 1)
                                            .arg(steps.size())
                                            .arg(describeStep(steps[i]), status.error));
    }
    return storeSuccess();
}

StoreStatus StoreSaveExecutor::applyStep(const StoreSaveRequest::Step &step)
{
    using Operation = StoreSaveRequest::Operation;
    switch (step.operation) {
    case Operation::AddContact:
        return addContact(step);
    case Operation::UpdateContact:
        return updateContact(step);
    case Operation::DeleteContact:
        return deleteContact(step);
    case Operation::AddGroup:
        return addGroup(step);
    case Operation::UpdateGroup:
        return updateGroup(step);
    case Operation::DeleteGroup:
        return deleteGroup(step);
    case Operation::AddMember:
        return addMember(step);
    case Operation::RemoveMember:
        return removeMember(step);
    }
    return StoreStatus::failure(QStringLiteral("Unknown save operation."));
}

StoreResult<qint64> StoreSaveExecutor::rowOf(const QString &table, const QString &identifier)
{
    StoreStatement select =
        m_connection.prepare(QStringLiteral("SELECT id FROM %1 WHERE identifier = ?1").arg(table));
    if (!select.isValid())
        return StoreResult<qint64>::failure(m_connection.lastError());
    select.bind(1, identifier);
    switch (select.step()) {
    case StoreStatement::Step::Row:
        return StoreResult<qint64>::success(select.integer(0));
    case StoreStatement::Step::Done:
        break;
    case StoreStatement::Step::Failed:
        return StoreResult<qint64>::failure(m_connection.errorFor(select.resultCode()));
    }
    return StoreResult<qint64>::failure(
        QStringLiteral("There is no %1 with the identifier \"%2\" in the store.")
            .arg(thingName(table), identifier));
}

StoreResult<qint64> StoreSaveExecutor::containerOfRow(const QString &table, qint64 row)
{
    StoreStatement select =
        m_connection.prepare(QStringLiteral("SELECT container FROM %1 WHERE id = ?1").arg(table));
    if (!select.isValid())
        return StoreResult<qint64>::failure(m_connection.lastError());
    select.bindInteger(1, row);
    if (select.step() != StoreStatement::Step::Row)
        return StoreResult<qint64>::failure(m_connection.errorFor(select.resultCode()));
    return StoreResult<qint64>::success(select.integer(0));
}

StoreStatus StoreSaveExecutor::run(const QString &sql, const QList<QVariant> &values)
{
    StoreStatement statement = m_connection.prepare(sql);
    if (!statement.isValid())
        return StoreStatus::failure(m_connection.lastError());
    for (int i = 0; i < values.size(); ++i) {
        if (values[i].typeId() == QMetaType::LongLong)
            statement.bindInteger(i + 1, values[i].toLongLong());
        else
            statement.bind(i + 1, values[i].toString());
    }
    if (!statement.run())
        return StoreStatus::failure(m_connection.errorFor(statement.resultCode()));
    return storeSuccess();
}

StoreResult<qint64> StoreSaveExecutor::containerForNewRow(const QString &table, const QString &identifier,
                                                          const QString &containerIdentifier,
                                                          QSet<QString> &deleted)
{
    StoreResult<qint64> container = rowOf(QStringLiteral("container"), containerIdentifier);
    if (!container.ok())
        return container;
    if (rowOf(table, identifier).ok())
        return StoreResult<qint64>::failure(
            QStringLiteral("A %1 with the identifier \"%2\" is already in the store.")
                .arg(thingName(table), identifier));
    deleted.remove(identifier);
    return container;
}

StoreStatus StoreSaveExecutor::deleteRow(const QString &table, const QString &identifier,
                                         QSet<QString> &deleted)
{
    StoreResult<qint64> row = rowOf(table, identifier);
    if (!row.ok())
        // Deleting twice in one request asks for the same end state; it is no fault.
        return deleted.contains(identifier) ? storeSuccess() : StoreStatus::failure(row.error);
    deleted.insert(identifier);
    return run(QStringLiteral("DELETE FROM %1 WHERE id = ?1").arg(table), {QVariant(row.value)});
}

StoreResult<StoreSaveExecutor::MemberRows> StoreSaveExecutor::memberRows(const StoreSaveRequest::Step &step)
{
    StoreResult<qint64> contact = rowOf(QStringLiteral("contact"), step.contactIdentifier);
    if (!contact.ok())
        return StoreResult<MemberRows>::failure(contact.error);
    StoreResult<qint64> group = rowOf(QStringLiteral("grp"), step.groupIdentifier);
    if (!group.ok())
        return StoreResult<MemberRows>::failure(group.error);
    return StoreResult<MemberRows>::success({contact.value, group.value});
}

StoreStatus StoreSaveExecutor::addContact(const StoreSaveRequest::Step &step)
{
    if (step.contactIdentifier.isEmpty())
        return StoreStatus::failure(QStringLiteral("The contact has no identifier."));
    StoreResult<qint64> container = containerForNewRow(QStringLiteral("contact"), step.contactIdentifier,
                                                       step.containerIdentifier, m_deletedContacts);
    if (!container.ok())
        return StoreStatus::failure(container.error);
    return StoreContactWriter(m_connection).add(*step.contact, container.value);
}

StoreStatus StoreSaveExecutor::updateContact(const StoreSaveRequest::Step &step)
{
    StoreResult<qint64> row = rowOf(QStringLiteral("contact"), step.contactIdentifier);
    if (!row.ok())
        return StoreStatus::failure(row.error);
    return StoreContactWriter(m_connection).update(*step.contact, row.value);
}

StoreStatus StoreSaveExecutor::deleteContact(const StoreSaveRequest::Step &step)
{
    return deleteRow(QStringLiteral("contact"), step.contactIdentifier, m_deletedContacts);
}

StoreStatus StoreSaveExecutor::addGroup(const StoreSaveRequest::Step &step)
{
    StoreResult<qint64> container = containerForNewRow(QStringLiteral("grp"), step.groupIdentifier,
                                                       step.containerIdentifier, m_deletedGroups);
    if (!container.ok())
        return StoreStatus::failure(container.error);
    return run(QStringLiteral("INSERT INTO grp (identifier, container, name) VALUES (?1, ?2, ?3)"),
               {step.groupIdentifier, QVariant(container.value), step.group.name});
}

StoreStatus StoreSaveExecutor::updateGroup(const StoreSaveRequest::Step &step)
{
    StoreResult<qint64> row = rowOf(QStringLiteral("grp"), step.groupIdentifier);
    if (!row.ok())
        return StoreStatus::failure(row.error);
    return run(QStringLiteral("UPDATE grp SET name = ?2 WHERE id = ?1"),
               {QVariant(row.value), step.group.name});
}

StoreStatus StoreSaveExecutor::deleteGroup(const StoreSaveRequest::Step &step)
{
    return deleteRow(QStringLiteral("grp"), step.groupIdentifier, m_deletedGroups);
}

StoreStatus StoreSaveExecutor::addMember(const StoreSaveRequest::Step &step)
{
    StoreResult<MemberRows> rows = memberRows(step);
    if (!rows.ok())
        return StoreStatus::failure(rows.error);
    StoreResult<qint64> contactContainer = containerOfRow(QStringLiteral("contact"), rows.value.contact);
    StoreResult<qint64> groupContainer = containerOfRow(QStringLiteral("grp"), rows.value.group);
    if (!contactContainer.ok() || !groupContainer.ok())
        return StoreStatus::failure(!contactContainer.ok() ? contactContainer.error : groupContainer.error);
    if (contactContainer.value != groupContainer.value)
        return StoreStatus::failure(
            QStringLiteral("The contact and the group belong to different containers."));
    return run(QStringLiteral("INSERT OR IGNORE INTO member (grp, contact) VALUES (?1, ?2)"),
               {QVariant(rows.value.group), QVariant(rows.value.contact)});
}

StoreStatus StoreSaveExecutor::removeMember(const StoreSaveRequest::Step &step)
{
    // Deleting a contact or a group ends its memberships; removing one of them again is no fault.
    if (m_deletedContacts.contains(step.contactIdentifier) || m_deletedGroups.contains(step.groupIdentifier))
        return storeSuccess();
    StoreResult<MemberRows> rows = memberRows(step);
    if (!rows.ok())
        return StoreStatus::failure(rows.error);
    return run(QStringLiteral("DELETE FROM member WHERE grp = ?1 AND contact = ?2"),
               {QVariant(rows.value.group), QVariant(rows.value.contact)});
}
