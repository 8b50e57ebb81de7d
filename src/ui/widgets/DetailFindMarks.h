#pragma once

#include "ui/contracts/DetailRow.h"
#include "ui/contracts/ItemAndRange.h"

#include <QColor>
#include <QList>
#include <QString>

#include <optional>

// The find marks of a value's text: every occurrence of the find string in light gray, the current
// hit over them in orange.
namespace DetailFindMarks {

struct Mark
{
    qsizetype start = 0;
    qsizetype length = 0;
    QColor color;

    bool operator==(const Mark &) const = default;
};

QColor occurrenceColor();
QColor currentHitColor();

// Every occurrence, each search going on from the end of the previous match, then the current
// hit when its range is a real position within the text that holds the find string. Nothing for
// an empty text or find string.
QList<Mark> marks(const QString &text, const QString &findString, Qt::CaseSensitivity findOptions,
                  const std::optional<ItemAndRange> &currentHit);

// Whether the hit lies in this row of the contact with that unique identifier. A phonetic part is
// matched by its bare name or by "Phonetic" and the name; the "Groups" row never holds a hit.
bool rowHoldsHit(const DetailRow &row, const ItemAndRange &hit, const QString &uniqueId);

} // namespace DetailFindMarks
