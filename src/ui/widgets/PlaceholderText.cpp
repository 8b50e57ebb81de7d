#include "ui/widgets/PlaceholderText.h"

#include "model/QNPerson.h"

namespace PlaceholderText {

QString contactTitle(const ContactRow &row)
{
    if (row.person) {
        const QString name = row.person->compositeName();
        if (!name.isEmpty())
            return name;
    }
    return row.uniqueId;
}

} // namespace PlaceholderText
