// The user-defaults and cloud JSON loaders: any file loads without a crash; a write keeps every
// key that was read; an unreadable file is kept aside byte for byte.
#include "FuzzSupport.h"

#include "platform/CloudKeyValueStore.h"
#include "platform/PropertyList.h"
#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

const QString AddedKey = QStringLiteral("fuzz.added");

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    require(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), "the input is written");
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString json(QVariantMap values)
{
    values.remove(AddedKey);
    const std::optional<QJsonValue> value = PropertyList::toJson(values);
    return value ? QString::fromUtf8(QJsonDocument(value->toObject()).toJson(QJsonDocument::Compact))
                 : QStringLiteral("(not JSON)");
}

// The kept-aside copy, when the loader kept one, holds the input as it was.
void requireKeptAsideWhole(const QDir &folder, const QByteArray &input)
{
    for (const QString &name : folder.entryList(QDir::Files)) {
        if (name.contains(QLatin1String(".unreadable")) || name.contains(QLatin1String(".corrupt")))
            require(readFile(folder.filePath(name)) == input, "the unreadable file is kept byte for byte");
    }
}

void checkUserDefaults(const QDir &folder, const QByteArray &input)
{
    const QString path = folder.filePath(QStringLiteral("defaults.json"));
    writeFile(path, input);
    QVariantMap read;
    {
        UserDefaults defaults(path);
        read = defaults.dictionaryRepresentation();
        defaults.setObject(QStringLiteral("value"), AddedKey);
    }
    UserDefaults again(path);
    require(again.stringForKey(AddedKey) == QLatin1String("value"), "the added key is written");
    requireEqual(json(read), json(again.dictionaryRepresentation()), "user defaults");
    requireKeptAsideWhole(folder, input);
}

void checkCloud(const QDir &folder, const QByteArray &input)
{
    const QString path = folder.filePath(QStringLiteral("cloud.json"));
    writeFile(path, input);
    QVariantMap read;
    {
        CloudKeyValueStore cloud(path);
        read = cloud.dictionaryRepresentation();
        cloud.setObject(QStringLiteral("value"), AddedKey);
        require(cloud.synchronize(), "the cloud file is written");
    }
    CloudKeyValueStore again(path);
    require(again.stringForKey(AddedKey) == QLatin1String("value"), "the added key is written");
    requireEqual(json(read), json(again.dictionaryRepresentation()), "cloud values");
    requireKeptAsideWhole(folder, input);
    (void)CloudKeyValueStore::takeKeptAsideFiles();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = fuzzBytes(data, size);
    QTemporaryDir folder;
    checkUserDefaults(QDir(folder.path()), input);
    QTemporaryDir cloudFolder;
    checkCloud(QDir(cloudFolder.path()), input);
    return 0;
}
