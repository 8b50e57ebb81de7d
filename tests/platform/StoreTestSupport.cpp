#include "StoreTestSupport.h"

#include "platform/StoreEntryCodec.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

QByteArray pngImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, Qt::yellow);
    painter.end();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

StoreContact contactWithEveryField()
{
    StoreContact contact;
    contact.setContactType(StoreContactType::Organization);
    int number = 0;
    for (const QString &key : StoreKey::stringKeys())
        contact.setStringForKey(key, QStringLiteral("%1 値 Ü %2").arg(key).arg(++number));
    contact.note = QStringLiteral("line one\nline two, with \"quotes\" and ; semicolons");
    contact.imageData = pngImage(800, 400);
    contact.birthday = DateComponents{std::nullopt, 2, 29};
    contact.dates = {{QString(), QStringLiteral("_$!<Anniversary>!$_"), {2001, 5, 6}},
                     {QString(), QStringLiteral("wedding"), {std::nullopt, 12, 24}}};
    contact.phoneNumbers = {{QString(), QStringLiteral("_$!<Mobile>!$_"), QStringLiteral("+81 90-1234-5678")},
                            {QString(), QString(), QStringLiteral("555 0100")}};
    contact.emailAddresses = {{QString(), QStringLiteral("_$!<Work>!$_"), QStringLiteral("a@example.com")}};
    contact.postalAddresses = {
        {QString(),
         QStringLiteral("_$!<Home>!$_"),
         {QStringLiteral("1-2-3 丸の内\nBuilding 4"), QStringLiteral("千代田区"), QStringLiteral("東京都"),
          QStringLiteral("100-0005"), QStringLiteral("Japan"), QStringLiteral("jp")}}};
    contact.urlAddresses = {
        {QString(), QStringLiteral("_$!<HomePage>!$_"), QStringLiteral("https://example.com/")}};
    contact.contactRelations = {{QString(), QStringLiteral("_$!<Friend>!$_"), QStringLiteral("Aoi")}};
    contact.socialProfiles = {{QString(),
                               QStringLiteral("twitter"),
                               {QStringLiteral("https://x.example/aoi"), QStringLiteral("aoi"),
                                QStringLiteral("12345"), QStringLiteral("Twitter")}}};
    contact.instantMessageAddresses = {
        {QString(), QStringLiteral("_$!<Home>!$_"), {QStringLiteral("aoi.im"), QStringLiteral("Skype")}}};
    return contact;
}

namespace {

QString describe(const StoreContact &contact)
{
    QStringList parts{contact.identifier(), QString::number(int(contact.contactType()))};
    for (const QString &key : StoreKey::stringKeys())
        parts.append(contact.stringForKey(key));
    parts.append(contact.birthday ? StoreEntryCodec::encodeDate(*contact.birthday) : QStringLiteral("-"));
    parts.append(QString::number(qHash(contact.imageData)));
    parts.append(QString::number(qHash(contact.thumbnailImageData)));
    for (const StoreEntryCodec::Kind &kind : StoreEntryCodec::kinds())
        for (const StoreEntryCodec::Row &row : kind.rowsOf(contact))
            parts.append(QStringLiteral("%1|%2|%3|%4").arg(*kind.key, row.identifier, row.label, row.value));
    return parts.join(QLatin1Char('/'));
}

} // namespace

QString storeSnapshot(ContactStore &store)
{
    QStringList lines;
    StoreResult<QList<StoreContainer>> containers = store.containers();
    if (!containers.ok())
        return containers.error;
    for (const StoreContainer &container : containers.value) {
        lines.append(QStringLiteral("container %1 %2 %3")
                         .arg(container.identifier, container.name)
                         .arg(container.type));
        for (const StoreGroup &group : store.groupsInContainer(container.identifier).value) {
            lines.append(QStringLiteral(" group %1 %2").arg(group.identifier, group.name));
            for (const StoreContact &member : store.contactsInGroup(group.identifier, {}).value)
                lines.append(QStringLiteral("  member %1").arg(member.identifier()));
        }
        for (const StoreContact &contact :
             store.contactsInContainer(container.identifier, StoreKey::allKeys()).value)
            lines.append(QStringLiteral(" contact ") + describe(contact));
    }
    return lines.join(QLatin1Char('\n'));
}
