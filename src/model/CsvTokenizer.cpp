#include "model/CsvTokenizer.h"

#include <iterator>

namespace {

// Line breaks inside a field as the records keep them.
QString withLineFeeds(QString value)
{
    if (value.contains(QLatin1Char('\r'))) {
        value.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        value.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return value;
}

} // namespace

QChar CsvTokenizer::separatorOf(const QString &text)
{
    const QChar separators[] = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};
    int counts[std::size(separators)] = {};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            break;
        for (std::size_t i = 0; i < std::size(separators); ++i)
            counts[i] += c == separators[i] ? 1 : 0;
    }
    std::size_t most = 0;
    for (std::size_t i = 1; i < std::size(separators); ++i) {
        if (counts[i] > counts[most])
            most = i;
    }
    return separators[most];
}

bool CsvTokenizer::next(QStringList &fields, qsizetype &length)
{
    fields.clear();
    if (m_position >= m_text.size())
        return false;
    const qsizetype start = m_position;
    bool more = true;
    while (more)
        fields.append(field(more));
    length = m_recordEnd - start;
    return true;
}

bool CsvTokenizer::isLineBreak(qsizetype i) const
{
    return m_text.at(i) == QLatin1Char('\n') || m_text.at(i) == QLatin1Char('\r');
}

// Ends the record at a line break (CR LF as one) or the end of the text.
void CsvTokenizer::endRecord()
{
    m_recordEnd = m_position;
    if (m_position < m_text.size() && m_text.at(m_position) == QLatin1Char('\r'))
        ++m_position;
    if (m_position < m_text.size() && m_text.at(m_position) == QLatin1Char('\n') &&
        (m_position == m_recordEnd || m_text.at(m_position - 1) == QLatin1Char('\r')))
        ++m_position;
}

// The field at the current position; more is false when it ends the record.
QString CsvTokenizer::field(bool &more)
{
    QString value;
    if (m_position < m_text.size() && m_text.at(m_position) == QLatin1Char('"'))
        value = quotedPart();
    const qsizetype start = m_position;
    while (m_position < m_text.size() && m_text.at(m_position) != m_separator && !isLineBreak(m_position))
        ++m_position;
    if (m_position > start)
        value += QStringView(m_text).sliced(start, m_position - start);
    more = m_position < m_text.size() && m_text.at(m_position) == m_separator;
    if (more)
        ++m_position;
    else
        endRecord();
    return value;
}

QString CsvTokenizer::quotedPart()
{
    const qsizetype open = m_position;
    QString value;
    qsizetype from = open + 1;
    for (;;) {
        const qsizetype close = m_text.indexOf(QLatin1Char('"'), from);
        if (close < 0)
            return unclosedPart(open);
        value += QStringView(m_text).sliced(from, close - from);
        if (close + 1 < m_text.size() && m_text.at(close + 1) == QLatin1Char('"')) {
            value += QLatin1Char('"');
            from = close + 2;
            continue;
        }
        m_position = close + 1;
        return withLineFeeds(value);
    }
}

QString CsvTokenizer::unclosedPart(qsizetype open)
{
    qsizetype end = open + 1;
    while (end < m_text.size() && !isLineBreak(end))
        ++end;
    m_position = end;
    return m_text.sliced(open + 1, end - open - 1);
}
