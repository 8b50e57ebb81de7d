#include "editors/NameOrderingPopup.h"

#include "platform/ContactsUserDefaults.h"
#include "platform/Localizer.h"

namespace {

const QString SystemDefault = QStringLiteral("Name Ordering System Default");
const QString SystemFirstName = QStringLiteral("Name Ordering System Default (First Name)");
const QString SystemLastName = QStringLiteral("Name Ordering System Default (Last Name)");

} // namespace

NameOrderingPopup::NameOrderingPopup(QWidget *parent) : QComboBox(parent)
{
    addItems({L(SystemDefault), L(QStringLiteral("First Name First")), L(QStringLiteral("Last Name First"))});
    setEnabled(false);
}

void NameOrderingPopup::showOrdering(const QString &systemTitle, int ordering)
{
    setItemText(0, systemTitle);
    setCurrentIndex(ordering == 1 || ordering == 2 ? ordering : 0);
}

QString NameOrderingPopup::systemTitleForSortOrder()
{
    switch (ContactsUserDefaults::sortOrder()) {
    case ContactsUserDefaults::SortOrderGivenName:
        return L(SystemFirstName);
    case ContactsUserDefaults::SortOrderFamilyName:
        return L(SystemLastName);
    default:
        return L(SystemDefault);
    }
}

QString NameOrderingPopup::systemTitleForNameOrdering(int ordering)
{
    return L(ordering == 2 ? SystemLastName : SystemFirstName);
}
