#include "ui/widgets/DetailIcons.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

namespace DetailIcons {

QString iconNameForType(const QString &type)
{
    static const QHash<QString, QString> names = {
        {QStringLiteral("Name"), QStringLiteral("icon_name")},
        {QStringLiteral("Photo"), QStringLiteral("icon_photo")},
        {QStringLiteral("Groups"), QStringLiteral("icon_groups")},
        {QStringLiteral("Address"), QStringLiteral("icon_address")},
        {QStringLiteral("Relationship"), QStringLiteral("icon_relationship")},
        {QStringLiteral("Phone"), QStringLiteral("icon_phone")},
        {QStringLiteral("Email"), QStringLiteral("icon_mail")},
        {QStringLiteral("URL"), QStringLiteral("icon_url")},
        {QStringLiteral("Instant Message"), QStringLiteral("icon_message")},
        {QStringLiteral("Social Network"), QStringLiteral("icon_sns")},
        {QStringLiteral("Company"), QStringLiteral("icon_companysquare")},
        {QStringLiteral("Department"), QStringLiteral("icon_department")},
        {QStringLiteral("Birthday"), QStringLiteral("icon_birthday")},
        {QStringLiteral("Dates"), QStringLiteral("icon_calendar")},
        {QStringLiteral("Phonetic Name"), QStringLiteral("icon_phonetic")},
        {QStringLiteral("Nickname"), QStringLiteral("icon_nickname")},
        {QStringLiteral("Job Title"), QStringLiteral("icon_jobtitle")},
        {QStringLiteral("Title"), QStringLiteral("icon_title")},
        {QStringLiteral("Suffix"), QStringLiteral("icon_suffix")},
        {QStringLiteral("Note"), QStringLiteral("icon_note")},
    };
    return names.value(type);
}

QImage image(const QString &name, int side)
{
    if (name.isEmpty() || side <= 0)
        return QImage();
    const QString svgPath = QStringLiteral(":/icons/%1.svg").arg(name);
    if (QFile::exists(svgPath)) {
        QSvgRenderer renderer(svgPath);
        QImage drawn(side, side, QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        renderer.render(&painter);
        return drawn;
    }
    const QImage png(QStringLiteral(":/icons/%1.png").arg(name));
    return png.isNull() ? png : png.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage imageForType(const QString &type, QNPerson *person, int side)
{
    const QString name = iconNameForType(type);
    if (!name.isEmpty())
        return image(name, side);
    if (!person)
        return QImage();
    const std::optional<QVariantMap> item = person->customItemForIdentifier(type);
    if (!item)
        return QImage();
    const QImage custom = QImage::fromData(item->value(PersonKey::ItemImageData).toByteArray());
    return custom.isNull() ? custom
                           : custom.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace DetailIcons
