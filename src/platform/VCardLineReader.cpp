#include "platform/VCardLineReader.h"

namespace {

bool equalsTrimmedIgnoringCase(QByteArrayView line, QByteArrayView word)
{
    return line.trimmed().compare(word, Qt::CaseInsensitive) == 0;
}

// The part before the value colon, where the parameters stand.
QByteArrayView head(const QByteArray &line)
{
    const qsizetype colon = line.indexOf(':');
    return colon < 0 ? QByteArrayView(line) : QByteArrayView(line).first(colon);
}

bool headContains(const QByteArray &line, QByteArrayView word)
{
    const QByteArrayView text = head(line);
    for (qsizetype i = 0; i + word.size() <= text.size(); ++i)
        if (text.sliced(i, word.size()).compare(word, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isBase64Text(QByteArrayView line)
{
    for (const char c : line) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                        c == '+' || c == '/' || c == '=';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

VCardLineReader::VCardLineReader(const QByteArray &data) : m_data(data)
{
    if (m_data.startsWith("\xEF\xBB\xBF"))
        m_position = 3;
}

bool VCardLineReader::isBegin(QByteArrayView line)
{
    return equalsTrimmedIgnoringCase(line, "BEGIN:VCARD");
}

bool VCardLineReader::isEnd(QByteArrayView line)
{
    return equalsTrimmedIgnoringCase(line, "END:VCARD");
}

QByteArrayView VCardLineReader::peekPhysicalLine(qsizetype &next) const
{
    qsizetype end = m_position;
    while (end < m_data.size() && m_data.at(end) != '\n' && m_data.at(end) != '\r')
        ++end;
    next = end;
    if (next < m_data.size() && m_data.at(next) == '\r')
        ++next;
    if (next < m_data.size() && m_data.at(next) == '\n' && (next == end || m_data.at(next - 1) == '\r'))
        ++next;
    return QByteArrayView(m_data).sliced(m_position, end - m_position);
}

bool VCardLineReader::readLine(QByteArray &line)
{
    qsizetype next = 0;
    line.clear();
    while (m_position < m_data.size() && line.isEmpty()) {
        line = peekPhysicalLine(next).toByteArray();
        m_position = next;
    }
    if (line.isEmpty())
        return false;
    while (m_position < m_data.size()) {
        const QByteArrayView following = peekPhysicalLine(next);
        if (continuesQuotedPrintable(line, following)) {
            line.chop(1);
            line.append(following);
        } else if (!following.isEmpty() && (following.front() == ' ' || following.front() == '\t')) {
            line.append(following.sliced(1));
        } else if (continuesBase64(line, following)) {
            line.append(following);
        } else {
            break;
        }
        m_position = next;
    }
    return true;
}

bool VCardLineReader::continuesQuotedPrintable(const QByteArray &line, QByteArrayView next) const
{
    return line.endsWith('=') && !isBegin(next) && !isEnd(next) && headContains(line, "QUOTED-PRINTABLE");
}

bool VCardLineReader::continuesBase64(const QByteArray &line, QByteArrayView next) const
{
    return !next.isEmpty() && isBase64Text(next) && headContains(line, "BASE64");
}
