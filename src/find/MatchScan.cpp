#include "find/MatchScan.h"

namespace {

using TextRange = MatchScan::TextRange;

constexpr qsizetype InsideCharacter = -1;

char32_t codePointAt(QStringView text, qsizetype position)
{
    const QChar unit = text.at(position);
    if (unit.isHighSurrogate() && position + 1 < text.size() && text.at(position + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(unit, text.at(position + 1));
    return unit.unicode();
}

qsizetype codePointEnd(QStringView text, qsizetype position)
{
    return position + (QChar::requiresSurrogates(codePointAt(text, position)) ? 2 : 1);
}

// Hangul vowel and final jamo compose with the syllable before them, as marks do with their base.
bool isTrailingJamo(char32_t codePoint)
{
    return (codePoint >= 0x1160 && codePoint <= 0x11FF) || (codePoint >= 0xD7B0 && codePoint <= 0xD7FF);
}

// The unit at the position belongs to the character before it: no match starts or ends in front
// of it.
bool continuesCharacter(QStringView text, qsizetype position)
{
    if (position <= 0 || position >= text.size())
        return false;
    if (text.at(position).isLowSurrogate() && text.at(position - 1).isHighSurrogate())
        return true;
    const char32_t codePoint = codePointAt(text, position);
    return QChar::isMark(codePoint) || isTrailingJamo(codePoint);
}

qsizetype characterEnd(QStringView text, qsizetype start)
{
    qsizetype end = codePointEnd(text, start);
    while (continuesCharacter(text, end))
        end = codePointEnd(text, end);
    return end;
}

// A text in canonical decomposition (NFD) and where its offsets lie in the text it was made from.
struct DecomposedText
{
    QString text;
    // Per offset of text and its end, the original offset, or InsideCharacter; empty when text is
    // the original itself.
    QList<qsizetype> origins;

    qsizetype origin(qsizetype position) const
    {
        if (!origins.isEmpty())
            return origins.at(position);
        return continuesCharacter(text, position) ? InsideCharacter : position;
    }
};

// Each character (a base with its marks) is decomposed on its own, so that its offsets map back.
DecomposedText decomposedText(const QString &original)
{
    DecomposedText decomposed;
    decomposed.text.reserve(original.size());
    decomposed.origins.reserve(original.size() + 1);
    for (qsizetype start = 0; start < original.size();) {
        const qsizetype end = characterEnd(original, start);
        decomposed.origins.append(start);
        decomposed.text.append(original.sliced(start, end - start).normalized(QString::NormalizationForm_D));
        decomposed.origins.resize(decomposed.text.size(), InsideCharacter);
        start = end;
    }
    decomposed.origins.append(original.size());
    return decomposed;
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
        const qsizetype start = text.origin(hit);
        const qsizetype end = text.origin(hit + searchString.size());
        // Part of a character (an e that carries an accent) is no match; a later one may be.
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
    if (decomposed == text)
        return matches({text, {}}, m_decomposedString, cs);
    // Most texts hold no match: only one that may pays for the map of its offsets.
    if (!decomposed.contains(m_decomposedString, cs))
        return {};
    return matches(decomposedText(text), m_decomposedString, cs);
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
        found.append({match.capturedStart(), match.capturedLength()});
        position = match.capturedEnd();
    }
    return found;
}
