#include "find/MatchScan.h"

#include "ui/widgets/FindHighlight.h"

MatchScan::MatchScan(QString searchString, unsigned compareOptions)
    : m_searchString(std::move(searchString)), m_options(compareOptions)
{
    if (m_options == RegularExpression) {
        m_expression.setPattern(m_searchString);
        m_expression.optimize();
        m_valid = !m_searchString.isEmpty() && m_expression.isValid();
    } else {
        m_valid = !m_searchString.isEmpty();
    }
}

QList<MatchScan::TextRange> MatchScan::ranges(const QString &text) const
{
    QList<TextRange> found;
    if (!m_valid || text.isEmpty())
        return found;
    if (m_options != RegularExpression) {
        // The literal scan is the one the views mark their find hits with.
        const Qt::CaseSensitivity cs = m_options == CaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
        for (const FindHighlight::Range &range : FindHighlight::occurrences(text, m_searchString, cs))
            found.append({range.location, range.length});
        return found;
    }
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
