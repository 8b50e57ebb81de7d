#pragma once

#include "platform/CharacterBounds.h"

#include <QList>
#include <QString>
#include <QVariant>

// The find marks of a cell's text: every occurrence of the find string, and the current hit.
// Ranges are in UTF-16 units of the value's text.
class FindHighlight
{
public:
    struct Range
    {
        qsizetype location = 0;
        qsizetype length = 0;

        bool operator==(const Range &) const = default;
        qsizetype end() const { return location + length; }
    };

    // Occurrences of findString in text, literal, each searched after the end of the one before, and
    // each made of whole characters as a reader sees them.
    static QList<Range> occurrences(const QString &text, const QString &findString, Qt::CaseSensitivity cs);
    // The first such occurrence that starts at from or after; -1 when there is none. The bounds are
    // the text's.
    static qsizetype nextOccurrence(const QString &text, const QString &findString, qsizetype from,
                                    Qt::CaseSensitivity cs, CharacterBounds &characters);
    static QVariantMap variantFromRange(const Range &range);
    // The range lies inside the text.
    static bool fits(const Range &range, const QString &text);
};
