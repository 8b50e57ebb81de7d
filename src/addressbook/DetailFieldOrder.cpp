#include "addressbook/DetailFieldOrder.h"

#include "addressbook/DefaultsKey.h"
#include "platform/UserDefaults.h"

namespace DetailFieldOrder {

QStringList defaultOrder()
{
    return {QStringLiteral("Name"),           QStringLiteral("Photo"),
            QStringLiteral("Groups"),         QStringLiteral("Name Ordering"),
            QStringLiteral("Name Display"),   QStringLiteral("Company"),
            QStringLiteral("Phonetic Name"),  QStringLiteral("Email"),
            QStringLiteral("Phone"),          QStringLiteral("Instant Message"),
            QStringLiteral("Social Network"), QStringLiteral("URL"),
            QStringLiteral("Address"),        QStringLiteral("Nickname"),
            QStringLiteral("Birthday"),       QStringLiteral("Relationship"),
            QStringLiteral("Suffix"),         QStringLiteral("Title"),
            QStringLiteral("Department"),     QStringLiteral("Job Title"),
            QStringLiteral("Dates"),          QStringLiteral("Note")};
}

std::optional<QStringList> saved(UserDefaults &defaults)
{
    const QVariant value = defaults.objectForKey(DefaultsKey::LastRowOrder);
    if (value.typeId() == QMetaType::QVariantList || value.typeId() == QMetaType::QStringList)
        return value.toStringList();
    return std::nullopt;
}

void save(const QStringList &order, UserDefaults &defaults)
{
    defaults.setObject(order, DefaultsKey::LastRowOrder);
}

} // namespace DetailFieldOrder
