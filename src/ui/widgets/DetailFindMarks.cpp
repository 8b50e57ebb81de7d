#include "ui/widgets/DetailFindMarks.h"

#include "ui/widgets/FindHighlight.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

namespace DetailFindMarks {

QColor occurrenceColor()
{
    return QColor(Qt::lightGray);
}

QColor currentHitColor()
{
    return QColor(255, 128, 0);
}

QList<Mark> marks(const QString &text, const QString &findString, Qt::CaseSensitivity findOptions,
                  const std::optional<ItemAndRange> &currentHit)
{
    QList<Mark> result;
    if (text.isEmpty() || findString.isEmpty())
        return result;
    for (const FindHighlight::Range &range :
         FindHighlight::occurrences(text, findString, findOptions))
        result.append({range.location, range.length, occurrenceColor()});
    // A range left from an earlier search, or from before a Replace All, may now point at other text.
    if (currentHit && currentHit->location != ItemAndRange::NotFound && currentHit->location >= 0 &&
        currentHit->length >= 0 && currentHit->location + currentHit->length <= text.size() &&
        text.mid(currentHit->location, currentHit->length).compare(findString, findOptions) == 0)
        result.append({currentHit->location, currentHit->length, currentHitColor()});
    return result;
}

bool rowHoldsHit(const DetailRow &row, const ItemAndRange &hit, const QString &uniqueId)
{
    if (hit.identifier != row.type || row.type == PersonIdentifier::Groups)
        return false;
    if (!hit.uniqueId.isEmpty() && hit.uniqueId != uniqueId)
        return false;
    const QString label = row.label.value_or(QString());
    if (row.type == PersonIdentifier::Name)
        return hit.subIdentifier == label;
    if (row.type == PersonIdentifier::PhoneticName)
        return hit.subIdentifier == label || hit.subIdentifier == QStringLiteral("Phonetic") + label;
    if (QNPerson::labeledIdentifiers().contains(row.type))
        return row.labelIndex && hit.labelIndex == *row.labelIndex;
    return true;
}

} // namespace DetailFindMarks
