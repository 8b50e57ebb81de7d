#include "platform/ContactsUserDefaults.h"

#include <QLocale>
#include <QMutex>
#include <QMutexLocker>

namespace {

struct Overrides
{
    QMutex mutex;
    std::optional<QString> countryCode;
    std::optional<ContactsUserDefaults::SortOrder> sortOrder;
};

Overrides &overrides()
{
    static Overrides instance;
    return instance;
}

QString systemCountryCode()
{
    const QLocale::Territory territory = QLocale::system().territory();
    const QString code = territory == QLocale::AnyTerritory ? QString() : QLocale::territoryToCode(territory);
    return code.size() == 2 ? code.toLower() : QStringLiteral("us");
}

} // namespace

QString ContactsUserDefaults::countryCode()
{
    Overrides &state = overrides();
    QMutexLocker locker(&state.mutex);
    return state.countryCode ? *state.countryCode : systemCountryCode();
}

ContactsUserDefaults::SortOrder ContactsUserDefaults::sortOrder()
{
    Overrides &state = overrides();
    QMutexLocker locker(&state.mutex);
    return state.sortOrder.value_or(SortOrderGivenName);
}

void ContactsUserDefaults::setCountryCodeForTesting(const std::optional<QString> &code)
{
    Overrides &state = overrides();
    QMutexLocker locker(&state.mutex);
    state.countryCode = code;
}

void ContactsUserDefaults::setSortOrderForTesting(std::optional<SortOrder> order)
{
    Overrides &state = overrides();
    QMutexLocker locker(&state.mutex);
    state.sortOrder = order;
}
