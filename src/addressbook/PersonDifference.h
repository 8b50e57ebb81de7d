#pragma once

#include <QStringList>
#include <QVariantList>

class QNPerson;

// What a merge writes back: the fields in which an edited record differs from the address book's.
// The merge sheet asks it whether its copies hold changes, and the edit funnel writes exactly
// these fields, so that a change the sheet shows is never dropped on the way.
//
// Fields come in writing order: "Photo", "Name", "Phonetic Name", "Birthday", the labelled and
// text fields, then the custom items (of either record or of the window's definitions). Values
// never read and empty ones compare equal; photos compare by their pictures.
namespace PersonDifference {

// customItems: the window's CustomItemDict definitions, which name items neither record holds yet.
QStringList differingFields(QNPerson &edited, QNPerson &original, const QVariantList &customItems);

inline bool differ(QNPerson &edited, QNPerson &original, const QVariantList &customItems)
{
    return !differingFields(edited, original, customItems).isEmpty();
}

// The custom items compared, in order: the edited record's, the original's, then the window's.
QStringList customNames(const QNPerson &edited, const QNPerson &original, const QVariantList &customItems);

// The type of a custom item: either record's own, else its window definition's; "String Value"
// when none knows it.
QString customType(const QNPerson &edited, const QNPerson &original, const QString &name,
                   const QVariantList &customItems);

} // namespace PersonDifference
