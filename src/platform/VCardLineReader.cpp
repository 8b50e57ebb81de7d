#include "platform/VCardLineReader.h"

namespace {

bool equalsTrimmedIgnoringCase(QByteArrayView line, QByteArrayView word)
{
    return line.trimmed().compare(word, Qt::CaseInsensitive) == 0;
}

// Whether the word stands in text[from, to), letter case ignored.
bool containsIgnoringCase(QByteArrayView text, qsizetype from, qsizetype to, QByteArrayView word)
{
    for (qsizetype i = from; i + word.size() <= to; ++i)
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

const QByteArray QuotedPrintable = "QUOTED-PRINTABLE";
const QByteArray Base64 = "BASE64";

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

bool VCardLineReader::Head::quotedPrintable(const QByteArray &line)
{
    update(line);
    return m_quotedPrintable;
}

bool VCardLineReader::Head::base64(const QByteArray &line)
{
    update(line);
    return m_base64;
}

void VCardLineReader::Head::update(const QByteArray &line)
{
    if (m_complete)
        return;
    const qsizetype colon = line.indexOf(':', m_scanned);
    const qsizetype end = colon < 0 ? line.size() : colon;
    // A word may straddle the part scanned before.
    const qsizetype from = qMax<qsizetype>(0, m_scanned - QuotedPrintable.size() + 1);
    m_quotedPrintable = m_quotedPrintable || containsIgnoringCase(line, from, end, QuotedPrintable);
    m_base64 = m_base64 || containsIgnoringCase(line, from, end, Base64);
    m_scanned = end;
    m_complete = colon >= 0;
}

QByteArrayView VCardLineReader::peekPhysicalLine(qsizetype &next) const
{
    qsizetype end = m_position;
    while (end < m_data.size() && m_data.at(end) != '\n' && m_data.at(end) != '\r')
        ++end;
    next = end;
    if (next < m_data.size() && m_data.at(next) == '\r') {
        qsizetype afterCarriageReturns = next;
        while (afterCarriageReturns < m_data.size() && m_data.at(afterCarriageReturns) == '\r')
            ++afterCarriageReturns;
        const bool endsWithLineFeed =
            afterCarriageReturns < m_data.size() && m_data.at(afterCarriageReturns) == '\n';
        next = endsWithLineFeed ? afterCarriageReturns + 1 : next + 1;
    } else if (next < m_data.size()) {
        ++next;
    }
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
    Head head;
    while (m_position < m_data.size()) {
        const QByteArrayView following = peekPhysicalLine(next);
        if (continuesQuotedPrintable(line, head, following)) {
            line.chop(1);
            head.truncated(line.size());
            line.append(following);
        } else if (!following.isEmpty() && (following.front() == ' ' || following.front() == '\t')) {
            line.append(following.sliced(1));
        } else if (continuesBase64(line, head, following)) {
            line.append(following);
        } else {
            break;
        }
        m_position = next;
    }
    return true;
}

bool VCardLineReader::continuesQuotedPrintable(const QByteArray &line, Head &head, QByteArrayView next)
{
    return line.endsWith('=') && head.quotedPrintable(line) && !isBegin(next) && !isEnd(next);
}

bool VCardLineReader::continuesBase64(const QByteArray &line, Head &head, QByteArrayView next)
{
    return !next.isEmpty() && isBase64Text(next) && head.base64(line);
}
