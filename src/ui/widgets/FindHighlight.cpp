#include "ui/widgets/FindHighlight.h"

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
    for (qsizetype found = nextOccurrence(text, findString, 0, cs, characters); found >= 0;
         found = nextOccurrence(text, findString, found + findString.size(), cs, characters))
        ranges.append({found, findString.size()});
    return ranges;
}

qsizetype FindHighlight::nextOccurrence(const QString &text, const QString &findString, qsizetype from,
                                        Qt::CaseSensitivity cs, CharacterBounds &characters)
{
    for (qsizetype found = text.indexOf(findString, from, cs); found >= 0;
         found = text.indexOf(findString, found + 1, cs)) {
        // Part of a character (one flag of two, an e that carries an accent) is no occurrence.
        if (characters.holdsWhole(found, findString.size()))
            return found;
    }
    return -1;
}

QVariantMap FindHighlight::variantFromRange(const Range &range)
{
    return {{LocationKey, range.location}, {LengthKey, range.length}};
}

bool FindHighlight::fits(const Range &range, const QString &text)
{
    return range.location >= 0 && range.length >= 0 && range.end() <= text.size();
}
