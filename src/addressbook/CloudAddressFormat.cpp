#include "addressbook/CloudAddressFormat.h"

#include "model/QNPerson.h"
#include "platform/CloudKeyValueStore.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString CloudAddressFormat::filePath()
{
    return CloudKeyValueStore::documentsPath() + QStringLiteral("/AddressFormat.json");
}

CloudAddressFormat::Result CloudAddressFormat::apply(const QString &path)
{
    if (!QFile::exists(path))
        return Result::Absent;
    QFile file(path);
    // A read error leaves the data empty, which is no valid table.
    const QByteArray data =
        file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ? file.readAll() : QByteArray();
    const QJsonDocument document = QJsonDocument::fromJson(data);
    const QJsonValue formats =
        document.isObject() ? document.object().value(QStringLiteral("AddressFormat")) : QJsonValue();
    if (!formats.isArray() || formats.toArray().isEmpty())
        return Result::Invalid;
    QNPerson::setAddressFormatTable(formats.toArray().toVariantList());
    return Result::Applied;
}
