#pragma once

#include "ui/contracts/ItemAndRange.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

// Every match of a search string in a text, left to right and never overlapping, under one of the
// find window's three compare options. Made once per search (the pattern is compiled once) and
// read from any thread.
//
// The literal modes treat canonically equivalent texts as equal (a precomposed é finds e + U+0301
// and the other way round) and never start or end a match inside a character as a reader sees one
// (a flag, an emoji sequence, a base with its marks). Patterns are ICU's regular expressions: their
// word, digit and space classes and \b follow every script, and a hit never halves a code point.
// Ranges are in the UTF-16 units of the text as given.
class MatchScan
{
public:
    using TextRange = ItemAndRange::TextRange;

    // The compare options as the window keeps them.
    static constexpr unsigned CaseSensitive = 0;
    static constexpr unsigned CaseInsensitive = 1;
    static constexpr unsigned RegularExpression = 1024;

    MatchScan(const QString &searchString, unsigned compareOptions);
    ~MatchScan();

    // False for an empty search string and for a pattern that does not compile; such a scan finds
    // nothing.
    bool isValid() const { return m_valid; }
    bool isRegularExpression() const { return m_options == RegularExpression; }

    // The matches of a text searched to its end; none when a pattern ran out of its time (or of
    // room to backtrack) in the text, which is then given up whole: the hits found before that may
    // not be all of them.
    std::optional<QList<TextRange>> completeRanges(const QString &text) const;
    // The same, with a text given up as one without matches.
    QList<TextRange> ranges(const QString &text) const
    {
        return completeRanges(text).value_or(QList<TextRange>());
    }

private:
    class Expression;

    QList<TextRange> literalRanges(const QString &text) const;

    // The search string in canonical decomposition (NFD), as the literal modes compare it.
    QString m_decomposedString;
    unsigned m_options;
    std::shared_ptr<const Expression> m_expression;
    bool m_valid = false;
};
