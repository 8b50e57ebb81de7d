#pragma once

#include <QImage>
#include <QString>

class QNPerson;

// The field icons of the detail table and the contact card: drawings of this program among its
// resources (":/icons/<name>.svg", else ".png"), made at the size asked for.
namespace DetailIcons {

// The icon's resource name for a field; empty for custom items and pseudo-fields without one.
QString iconNameForType(const QString &type);

// The named icon at that pixel size; a null image when there is no such resource.
QImage image(const QString &name, int side);

// The row icon of a field: its own icon, else the image of the person's custom item of that name;
// a null image when there is neither.
QImage imageForType(const QString &type, QNPerson *person, int side);

} // namespace DetailIcons
