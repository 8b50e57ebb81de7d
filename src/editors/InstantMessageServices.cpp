#include "editors/InstantMessageServices.h"

#include "platform/StoreLabels.h"

namespace InstantMessageServices {

QStringList services()
{
    using namespace StoreIMService;
    return {AIM, Facebook, GaduGadu, GoogleTalk, ICQ, Jabber, MSN, QQ, Skype, Yahoo};
}

QStringList olderIdentifiers()
{
    QStringList older;
    for (const QString &service : services())
        older.append(service + QStringLiteral("Instant"));
    return older;
}

QString currentService(const QString &stored)
{
    const qsizetype position = olderIdentifiers().indexOf(stored);
    return position >= 0 ? services().at(position) : stored;
}

QStringList servicesOffering(const QString &service)
{
    QStringList offered = services();
    if (!service.isEmpty() && !offered.contains(service))
        offered.append(service);
    return offered;
}

} // namespace InstantMessageServices
