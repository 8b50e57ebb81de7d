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

QString CsvTokenizer::nextField(bool &more)
{
    QString value;
    field(&value, more);
    return value;
}

void CsvTokenizer::skipField(bool &more)
{
    field(nullptr, more);
}

void CsvTokenizer::skipRecord()
{
    bool more = !atEnd();
    while (more)
        skipField(more);
}

bool CsvTokenizer::isLineBreak(qsizetype i) const
{
    return m_text.at(i) == QLatin1Char('\n') || m_text.at(i) == QLatin1Char('\r');
}

// Ends the record at a line break (CR LF as one) or the end of the text.
void CsvTokenizer::endRecord()
{
    const qsizetype recordEnd = m_position;
    m_recordLength = recordEnd - m_recordStart;
    if (m_position < m_text.size() && m_text.at(m_position) == QLatin1Char('\r'))
        ++m_position;
    if (m_position < m_text.size() && m_text.at(m_position) == QLatin1Char('\n') &&
        (m_position == recordEnd || m_text.at(m_position - 1) == QLatin1Char('\r')))
        ++m_position;
    m_recordStart = m_position;
}

void CsvTokenizer::field(QString *value, bool &more)
{
    if (m_position < m_text.size() && m_text.at(m_position) == QLatin1Char('"'))
        quotedPart(value);
    const qsizetype start = m_position;
    while (m_position < m_text.size() && m_text.at(m_position) != m_separator && !isLineBreak(m_position))
        ++m_position;
    if (value && m_position > start)
        *value += QStringView(m_text).sliced(start, m_position - start);
    more = m_position < m_text.size() && m_text.at(m_position) == m_separator;
    if (more)
        ++m_position;
    else
        endRecord();
}

void CsvTokenizer::quotedPart(QString *value)
{
    const qsizetype open = m_position;
    QString text;
    qsizetype from = open + 1;
    for (;;) {
        const qsizetype close = m_text.indexOf(QLatin1Char('"'), from);
        if (close < 0) {
            unclosedPart(open, value);
            return;
        }
        if (value)
            text += QStringView(m_text).sliced(from, close - from);
        if (close + 1 < m_text.size() && m_text.at(close + 1) == QLatin1Char('"')) {
            if (value)
                text += QLatin1Char('"');
            from = close + 2;
            continue;
        }
        m_position = close + 1;
        if (value)
            *value = withLineFeeds(text);
        return;
    }
}

void CsvTokenizer::unclosedPart(qsizetype open, QString *value)
{
    qsizetype end = open + 1;
    while (end < m_text.size() && !isLineBreak(end))
        ++end;
    m_position = end;
    if (value)
        *value = m_text.sliced(open + 1, end - open - 1);
}
