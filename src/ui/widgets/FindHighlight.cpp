#include "ui/widgets/FindHighlight.h"

#include "platform/CharacterBounds.h"

namespace {

const QString LocationKey = QStringLiteral("location");
const QString LengthKey = QStringLiteral("length");

} // namespace

QList<FindHighlight::Range> FindHighlight::occurrences(const QString &text, const QString &findString,
                                                       Qt::CaseSensitivity cs)
{
    QList<Range> ranges;
    if (findString.isEmpty())
        return ranges;
    CharacterBounds characters(text);
    for (qsizetype found = text.indexOf(findString, 0, cs); found >= 0;) {
        // Part of a character (one flag of two, an e that carries an accent) is no occurrence.
        if (!characters.holdsWhole(found, findString.size())) {
            found = text.indexOf(findString, found + 1, cs);
            continue;
        }
        ranges.append({found, findString.size()});
        found = text.indexOf(findString, found + findString.size(), cs);
    }
    return ranges;
}

QVariantMap FindHighlight::variantFromRange(const Range &range)
{
    return {{LocationKey, range.location}, {LengthKey, range.length}};
}

bool FindHighlight::fits(const Range &range, const QString &text)
{
    return range.location >= 0 && range.length >= 0 && range.end() <= text.size();
}
