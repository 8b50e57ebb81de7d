#include "BenchAddressBook.h"

#include "BenchContacts.h"
#include "BenchData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

BenchAddressBook::BenchAddressBook(Files files) : m_folder(BenchData::folder())
{
    if (files == Files::Copy) {
        for (const QString &path : {BenchData::storePath(), BenchData::cloudPath(), BenchData::defaultsPath()}) {
            if (QFile::exists(path) && !QFile::copy(path, m_copy.filePath(QFileInfo(path).fileName())))
                m_error = QStringLiteral("cannot copy %1").arg(path);
        }
        m_folder = m_copy.path();
    }
    m_store = std::make_unique<ContactStore>(storePath());
    m_defaults = std::make_unique<UserDefaults>(QDir(m_folder).filePath(QFileInfo(BenchData::defaultsPath()).fileName()));
    m_cloud = std::make_unique<CloudKeyValueStore>(QDir(m_folder).filePath(QFileInfo(BenchData::cloudPath()).fileName()));
    m_loader = std::make_unique<AddressBookLoader>(storePath(), *m_defaults, *m_cloud);
}

QString BenchAddressBook::storePath() const
{
    return QDir(m_folder).filePath(QFileInfo(BenchData::storePath()).fileName());
}

ContactTablePtr BenchAddressBook::load()
{
    m_loader->loadAddressBook();
    ContactTablePtr rows = m_loader->contactTable();
    return rows && rows->size() == BenchContacts::contactCount() ? rows : nullptr;
}
