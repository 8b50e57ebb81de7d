#include "BenchData.h"

#include "BenchContacts.h"

#include "addressbook/AddressBookLoader.h"
#include "model/QNPerson.h"
#include "model/QNvCard.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/StoreBuilder.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>

#include <memory>

namespace BenchData {

namespace {

// Raised whenever BenchContacts changes, so that an old folder is not taken for the new data.
const QString Version = QStringLiteral("1");
const QString CompleteMark = QStringLiteral("complete");

QString inFolder(const QString &name)
{
    return QDir(folder()).filePath(name);
}

bool isComplete(const QString &path)
{
    QFile mark(QDir(path).filePath(CompleteMark));
    return mark.open(QIODevice::ReadOnly) && mark.readAll() == Version.toUtf8();
}

QString writeFile(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return {};
}

// Everything made from the generator at once, each contact made only once: the store gets the
// contact with the identifier the cloud entry and the group memberships name.
struct Generated
{
    StoreSaveRequest request;
    QVariantMap cloudEntries;
    QString vCards;
    ContactTable rows;
};

Generated generateAll(const QString &containerIdentifier)
{
    Generated made;
    QHash<QString, QString> groups;
    for (const QString &name : BenchContacts::allCategories())
        groups.insert(name, made.request.addGroup({{}, name}, containerIdentifier));
    const QStringList options{QNvCardOption::Note, QNvCardOption::Photo, QNvCardOption::Custom};
    made.rows.reserve(BenchContacts::contactCount());
    for (int i = 0; i < BenchContacts::contactCount(); ++i) {
        const StoreContact contact = BenchContacts::contact(i);
        made.request.addContact(contact, containerIdentifier);
        const QStringList categories = BenchContacts::categories(i);
        for (const QString &name : categories)
            made.request.addMember(contact.identifier(), groups.value(name));
        const QVariantMap values = BenchContacts::customValues(i);
        if (!values.isEmpty())
            made.cloudEntries.insert(contact.identifier(), values);
        auto row = std::make_shared<ContactRow>();
        row->person = std::make_shared<QNPerson>(contact);
        row->uniqueId = row->person->uniqueId();
        AddressBookLoader::restoreCustomValues(*row->person, values);
        made.vCards += QNvCard().vCardFromPerson(*row->person, options, categories);
        made.rows.append(row);
    }
    return made;
}

} // namespace

QString folder()
{
    const QString given = qEnvironmentVariable("CT_BENCH_DATA");
    if (!given.isEmpty())
        return given;
    return QDir::temp().filePath(QStringLiteral("contacts-table-bench-%1-v%2")
                                     .arg(BenchContacts::contactCount())
                                     .arg(Version));
}

QString storePath()
{
    return inFolder(QStringLiteral("Contacts.sqlite"));
}

QString cloudPath()
{
    return inFolder(QStringLiteral("cloud.json"));
}

QString defaultsPath()
{
    return inFolder(QStringLiteral("defaults.json"));
}

QString vCardPath()
{
    return inFolder(QStringLiteral("contacts.vcf"));
}

QString csvPath()
{
    return inFolder(QStringLiteral("contacts.csv"));
}

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString ensure()
{
    const QString path = folder();
    if (isComplete(path))
        return {};
    const QString program = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bench_data"));
    QProcess generator;
    generator.setProcessChannelMode(QProcess::ForwardedChannels);
    generator.start(program, {path});
    if (!generator.waitForFinished(30 * 60 * 1000) || generator.exitCode() != 0 || !isComplete(path))
        return QStringLiteral("%1 could not make the benchmark data in %2").arg(program, path);
    return {};
}

QString generate(const QString &path)
{
    if (!QDir().mkpath(path))
        return QStringLiteral("cannot make %1").arg(path);
    QFile::remove(QDir(path).filePath(CompleteMark));
    qputenv("CT_BENCH_DATA", path.toUtf8());
    QFile::remove(cloudPath());
    QFile::remove(defaultsPath());

    StoreBuilder builder(storePath());
    if (!builder.ok())
        return builder.error();
    Generated made = generateAll(builder.localContainer());
    const StoreStatus saved = builder.store().execute(made.request);
    if (!saved.ok())
        return saved.error;
    {
        CloudKeyValueStore cloud(cloudPath());
        for (auto it = made.cloudEntries.cbegin(); it != made.cloudEntries.cend(); ++it)
            cloud.setObject(it.value(), it.key());
        if (!cloud.synchronize())
            return QStringLiteral("cannot write %1").arg(cloudPath());
    }
    UserDefaults(defaultsPath()).synchronize();
    QString error = writeFile(vCardPath(), made.vCards.toUtf8());
    if (error.isEmpty())
        error = writeFile(csvPath(), QNvCard().csvFromSubContacts(made.rows).toUtf8());
    if (error.isEmpty())
        error = writeFile(QDir(path).filePath(CompleteMark), Version.toUtf8());
    return error;
}

} // namespace BenchData
