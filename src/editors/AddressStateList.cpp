#include "editors/AddressStateList.h"

namespace {

QStringList stateNames(const QNPerson::AddressFormatEntry &entry, const QString &languageCode)
{
    const QString localized = QStringLiteral("States.") + languageCode;
    if (entry.contains(localized))
        return entry.value(localized).toStringList();
    if (entry.contains(QStringLiteral("States")))
        return entry.value(QStringLiteral("States")).toStringList();
    for (auto it = entry.cbegin(); it != entry.cend(); ++it) {
        if (it.key().contains(QStringLiteral("States.")))
            return it.value().toStringList();
    }
    return {};
}

} // namespace

AddressStateList AddressStateList::forCountry(const QNPerson::AddressFormatEntry *entry,
                                              const QString &languageCode, bool showCodes)
{
    AddressStateList list;
    if (!entry)
        return list;
    list.known = true;
    const QStringList codes = entry->value(QStringLiteral("StateCodes")).toStringList();
    const QStringList names = stateNames(*entry, languageCode);
    list.checkBoxEnabled = !codes.isEmpty() && !names.isEmpty();
    if (codes.isEmpty() && !names.isEmpty()) {
        list.checkBoxState = false;
        showCodes = false;
    }
    list.states = !codes.isEmpty() && showCodes ? codes : names;
    return list;
}
