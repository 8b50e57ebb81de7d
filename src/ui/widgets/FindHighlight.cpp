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
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype found = text.indexOf(findString, from, cs);
        if (found < 0)
            break;
        ranges.append({found, findString.size()});
        from = found + findString.size();
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
