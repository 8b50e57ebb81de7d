#include "find/MatchScan.h"

#include "find/WordClassPattern.h"

#include <QTextBoundaryFinder>

namespace {

using TextRange = MatchScan::TextRange;

constexpr qsizetype InsideCharacter = -1;

// A text in canonical decomposition (NFD) and where its offsets lie in the value it was made from.
struct DecomposedText
{
    QString text;
    // Per offset of text and its end, the value's offset, or InsideCharacter where the offset falls
    // inside a character as a reader sees one (a grapheme cluster: a base with its marks, a flag,
    // an emoji sequence, a Hangul syllable).
    QList<qsizetype> origins;
};

// Each character is decomposed on its own, so that its offsets map back; a value that is its own
// decomposition is taken as it stands.
DecomposedText decomposedText(const QString &value, const QString &wholeDecomposed)
{
    const bool asItStands = wholeDecomposed == value;
    DecomposedText decomposed;
    decomposed.text = asItStands ? value : QString();
    decomposed.origins.reserve(value.size() + 1);
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, value);
    for (qsizetype start = 0; start < value.size();) {
        const qsizetype end = characters.toNextBoundary();
        if (!asItStands)
            decomposed.text.append(value.sliced(start, end - start).normalized(QString::NormalizationForm_D));
        decomposed.origins.append(start);
        decomposed.origins.resize(asItStands ? end : decomposed.text.size(), InsideCharacter);
        start = end;
    }
    decomposed.origins.append(value.size());
    return decomposed;
}

bool insideCodePoint(QStringView text, qsizetype position)
{
    return position > 0 && position < text.size() && text.at(position).isLowSurrogate() &&
           text.at(position - 1).isHighSurrogate();
}

// The matches of a decomposed search string; hits that begin or end inside a character are passed
// over.
QList<TextRange> matches(const DecomposedText &text, const QString &searchString, Qt::CaseSensitivity cs)
{
    QList<TextRange> found;
    qsizetype from = 0;
    while (from < text.text.size()) {
        const qsizetype hit = text.text.indexOf(searchString, from, cs);
        if (hit < 0)
            break;
        const qsizetype start = text.origins.at(hit);
        const qsizetype end = text.origins.at(hit + searchString.size());
        // Part of a character (an e that carries an accent, one flag of two) is no match; a later
        // one may be.
        if (start == InsideCharacter || end == InsideCharacter) {
            from = hit + 1;
            continue;
        }
        found.append({start, end - start});
        from = hit + searchString.size();
    }
    return found;
}

} // namespace

MatchScan::MatchScan(QString searchString, unsigned compareOptions)
    : m_searchString(std::move(searchString)), m_options(compareOptions)
{
    if (m_options == RegularExpression) {
        m_expression.setPattern(withUnicodeWordClasses(m_searchString));
        m_expression.setPatternOptions(QRegularExpression::UseUnicodePropertiesOption);
        // Should the spelling ever misread a pattern, the pattern as typed still works.
        if (!m_expression.isValid())
            m_expression.setPattern(m_searchString);
        m_expression.optimize();
        m_valid = !m_searchString.isEmpty() && m_expression.isValid();
    } else {
        m_decomposedString = m_searchString.normalized(QString::NormalizationForm_D);
        m_valid = !m_searchString.isEmpty();
    }
}

QList<MatchScan::TextRange> MatchScan::ranges(const QString &text) const
{
    if (!m_valid || text.isEmpty())
        return {};
    return m_options == RegularExpression ? expressionRanges(text) : literalRanges(text);
}

QList<MatchScan::TextRange> MatchScan::literalRanges(const QString &text) const
{
    const Qt::CaseSensitivity cs = m_options == CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    // Most texts hold no match: only one that may pays for its characters' bounds.
    if (!decomposed.contains(m_decomposedString, cs))
        return {};
    return matches(decomposedText(text, decomposed), m_decomposedString, cs);
}

QList<MatchScan::TextRange> MatchScan::expressionRanges(const QString &text) const
{
    QList<TextRange> found;
    qsizetype position = 0;
    while (position < text.size()) {
        // Searched in the whole text from the position: ^, \b and lookbehinds see what lies before.
        const QRegularExpressionMatch match = m_expression.match(text, position);
        // A pattern that matches the empty string ends the scan there.
        if (!match.hasMatch() || match.capturedLength() == 0)
            break;
        // \C matches one UTF-16 unit: a hit that halves a character is passed over, or replacing
        // it would leave a lone surrogate.
        if (insideCodePoint(text, match.capturedStart()) || insideCodePoint(text, match.capturedEnd())) {
            position = match.capturedStart() + 1;
            position += insideCodePoint(text, position) ? 1 : 0;
            continue;
        }
        found.append({match.capturedStart(), match.capturedLength()});
        position = match.capturedEnd();
    }
    return found;
}
