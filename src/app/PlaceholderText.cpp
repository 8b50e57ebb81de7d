#include "app/PlaceholderText.h"

namespace PlaceholderText {

QString contactTitle(const ContactRow &row)
{
    if (row.cnContact) {
        const StoreContact &contact = *row.cnContact;
        const QString name = QStringList{contact.givenName, contact.familyName}.join(QLatin1Char(' ')).trimmed();
        if (!name.isEmpty())
            return name;
        if (!contact.organizationName.isEmpty())
            return contact.organizationName;
    }
    return row.uniqueId;
}

} // namespace PlaceholderText
