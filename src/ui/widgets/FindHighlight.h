#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

// The find marks of a cell's text: every occurrence of the find string, and the current hit.
//
// A hit's "range" in an ItemAndRange is {"location", "length"} in UTF-16 units of the value's
// text; a negative or missing location means not found.
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

    // Occurrences of findString in text, literal, each searched after the end of the one before.
    static QList<Range> occurrences(const QString &text, const QString &findString, Qt::CaseSensitivity cs);
    // "caseSensitive" compares case; anything else ignores it.
    static Qt::CaseSensitivity sensitivity(const QString &findOptions);
    // The range of a hit, nullopt when it is not found.
    static std::optional<Range> rangeFromVariant(const QVariant &range);
    static QVariantMap variantFromRange(const Range &range);
    // The range lies inside the text.
    static bool fits(const Range &range, const QString &text);
};
