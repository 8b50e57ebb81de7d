#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The icon of each edition, drawn from the SVG in the resources.
class EditionIcon
{
public:
    // ":/icons/<edition>.svg"; empty for a name that is no edition.
    static QString resourcePath(const QString &edition);
    // A square picture of that side; null for a name that is no edition.
    static QPixmap pixmap(const QString &edition, int side);
    // The window icon in the usual sizes; null for a name that is no edition.
    static QIcon icon(const QString &edition);
};
