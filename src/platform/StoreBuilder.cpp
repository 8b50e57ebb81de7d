#include "platform/StoreBuilder.h"

#include "platform/StoreConnection.h"

#include <QFile>

StoreBuilder::StoreBuilder(const QString &path)
{
    if (!removeStoreFiles(path)) {
        m_error = QStringLiteral("The old store at %1 cannot be removed.").arg(path);
        m_store = std::make_unique<ContactStore>(path);
        return;
    }
    m_store = std::make_unique<ContactStore>(path);
    if (!check(m_store->requestAccess().error))
        return;
    StoreResult<QString> container = m_store->defaultContainerIdentifier();
    if (check(container.error))
        m_localContainer = container.value;
}

bool StoreBuilder::check(const QString &error)
{
    if (m_error.isEmpty())
        m_error = error;
    return m_error.isEmpty();
}

QString StoreBuilder::addContainer(const QString &name, int type)
{
    if (!ok())
        return {};
    StoreResult<QString> added = m_store->addContainer(name, type);
    return check(added.error) ? added.value : QString();
}

QString StoreBuilder::addGroup(const QString &containerIdentifier, const QString &name)
{
    if (!ok())
        return {};
    StoreSaveRequest request;
    const QString identifier = request.addGroup(StoreGroup{QString(), name}, containerIdentifier);
    return check(m_store->execute(request).error) ? identifier : QString();
}

QString StoreBuilder::addContact(const QString &containerIdentifier, const StoreContact &contact)
{
    if (!ok())
        return {};
    StoreSaveRequest request;
    request.addContact(contact, containerIdentifier);
    return check(m_store->execute(request).error) ? contact.identifier() : QString();
}

QString StoreBuilder::addPerson(const QString &containerIdentifier, const QString &givenName,
                                const QString &familyName)
{
    StoreContact contact;
    contact.givenName = givenName;
    contact.familyName = familyName;
    return addContact(containerIdentifier, contact);
}

void StoreBuilder::addMember(const QString &contactIdentifier, const QString &groupIdentifier)
{
    if (!ok())
        return;
    StoreSaveRequest request;
    request.addMember(contactIdentifier, groupIdentifier);
    check(m_store->execute(request).error);
}

std::unique_ptr<ContactStore> StoreBuilder::otherApplication() const
{
    return std::make_unique<ContactStore>(m_store->path(), QStringLiteral("other-application"));
}

bool StoreBuilder::removeStoreFiles(const QString &path)
{
    StoreConnection::releaseThreadConnection(path);
    bool removed = true;
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        QFile file(path + suffix);
        if (file.exists())
            removed = file.remove() && removed;
    }
    return removed;
}
