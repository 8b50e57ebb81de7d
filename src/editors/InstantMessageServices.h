#pragma once

#include <QString>
#include <QStringList>

// The instant-message services that the editors offer, and the older service identifiers that
// entries written by earlier versions of the store still carry, position by position.
namespace InstantMessageServices {

QStringList services();
QStringList olderIdentifiers();
// The service a stored text stands for: an older identifier becomes the service at its position;
// anything else is returned unchanged.
QString currentService(const QString &stored);
// The services an editor offers for an entry of the given service: one they do not list (one
// another program wrote, such as "Matrix") comes after them, so that it shows and can be kept.
QStringList servicesOffering(const QString &service);

} // namespace InstantMessageServices
