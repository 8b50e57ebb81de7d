#include "find/FindText.h"

#include <algorithm>

namespace FindText {

TextRange lookForString(const QString &findString, const QString &text, TextRange cursor,
                        FindDirection direction, Qt::CaseSensitivity cs)
{
    if (text.isEmpty() || findString.isEmpty())
        return {};
    const bool whole = cursor.location < 0;
    qsizetype found = -1;
    if (direction == FindDirection::Backward) {
        const qsizetype end = whole ? text.size() : std::min(cursor.location, text.size());
        // lastIndexOf reads a negative start as counted from the end.
        const qsizetype lastStart = end - findString.size();
        if (lastStart >= 0)
            found = text.lastIndexOf(findString, lastStart, cs);
    } else {
        const qsizetype start = whole ? 0 : cursor.location + std::max<qsizetype>(cursor.length, 0);
        if (start < text.size())
            found = text.indexOf(findString, start, cs);
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
    return text.mid(range.location, range.length).compare(findString, cs) == 0;
}

QString replacingOccurrences(const QString &text, const QString &findString, const QString &replacement,
                             Qt::CaseSensitivity cs)
{
    if (findString.isEmpty())
        return text;
    QString result = text;
    return result.replace(findString, replacement, cs);
}

} // namespace FindText
