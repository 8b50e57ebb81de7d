#include "ui/widgets/EditionIcon.h"

#include "platform/Edition.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

QString EditionIcon::resourcePath(const QString &edition)
{
    if (!Edition::allNames().contains(edition))
        return {};
    return QStringLiteral(":/icons/%1.svg").arg(edition);
}

QPixmap EditionIcon::pixmap(const QString &edition, int side)
{
    const QString path = resourcePath(edition);
    if (path.isEmpty() || !QFile::exists(path))
        return {};
    QSvgRenderer renderer(path);
    if (!renderer.isValid())
        return {};
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    renderer.render(&painter);
    return picture;
}

QIcon EditionIcon::icon(const QString &edition)
{
    QIcon icon;
    for (int side : {16, 32, 64, 128, 256}) {
        const QPixmap picture = pixmap(edition, side);
        if (!picture.isNull())
            icon.addPixmap(picture);
    }
    return icon;
}
