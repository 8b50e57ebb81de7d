#include "find/FindText.h"

#include "platform/CharacterBounds.h"
#include "ui/widgets/FindHighlight.h"

#include <algorithm>

namespace FindText {

namespace {

// The last hit of whole characters that starts at lastStart or before.
qsizetype previousHit(const QString &findString, const QString &text, qsizetype lastStart,
                      Qt::CaseSensitivity cs, CharacterBounds &characters)
{
    // lastIndexOf reads a negative start as counted from the end.
    for (qsizetype start = lastStart; start >= 0;) {
        const qsizetype hit = text.lastIndexOf(findString, start, cs);
        if (hit < 0 || characters.holdsWhole(hit, findString.size()))
            return hit;
        start = hit - 1;
    }
    return -1;
}

} // namespace

TextRange lookForString(const QString &findString, const QString &text, TextRange cursor,
                        FindDirection direction, Qt::CaseSensitivity cs)
{
    if (text.isEmpty() || findString.isEmpty())
        return {};
    const bool whole = cursor.location < 0;
    CharacterBounds characters(text);
    qsizetype found = -1;
    if (direction == FindDirection::Backward) {
        const qsizetype end = whole ? text.size() : std::min(cursor.location, text.size());
        found = previousHit(findString, text, end - findString.size(), cs, characters);
    } else {
        const qsizetype start = whole ? 0 : cursor.location + std::max<qsizetype>(cursor.length, 0);
        if (start < text.size())
            found = FindHighlight::nextOccurrence(text, findString, start, cs, characters);
    }
    if (found < 0)
        return {};
    return {found, findString.size()};
}

bool holdsMatch(const QString &text, TextRange range, const QString &findString, Qt::CaseSensitivity cs)
{
    if (findString.isEmpty() || range.location < 0 || range.length <= 0 ||
        range.location + range.length > text.size())
        return false;
    return text.mid(range.location, range.length).compare(findString, cs) == 0 &&
           CharacterBounds(text).holdsWhole(range.location, range.length);
}

QString replacingOccurrences(const QString &text, const QString &findString, const QString &replacement,
                             Qt::CaseSensitivity cs)
{
    const QList<FindHighlight::Range> hits = FindHighlight::occurrences(text, findString, cs);
    if (hits.isEmpty())
        return text;
    QString result;
    qsizetype copied = 0;
    for (const FindHighlight::Range &hit : hits) {
        result.append(QStringView(text).sliced(copied, hit.location - copied)).append(replacement);
        copied = hit.end();
    }
    return result.append(QStringView(text).sliced(copied));
}

} // namespace FindText
