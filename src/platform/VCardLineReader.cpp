#include "platform/VCardLineReader.h"

#include "platform/VCardContentLine.h"

#include <cstring>

namespace {

bool equalsTrimmedIgnoringCase(QByteArrayView line, QByteArrayView word)
{
    if (line.size() < word.size())
        return false;
    // Most lines differ in their first letter; the whole compare is for the few that do not.
    qsizetype first = 0;
    while (first < line.size() && (line[first] == ' ' || (line[first] >= '\t' && line[first] <= '\r')))
        ++first;
    if (first == line.size() || (line[first] | 0x20) != (word[0] | 0x20))
        return false;
    return line.trimmed().compare(word, Qt::CaseInsensitive) == 0;
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

constexpr QLatin1StringView QuotedPrintable("QUOTED-PRINTABLE");
constexpr QLatin1StringView Base64("BASE64");

// The first CR or LF at or after `from`; the size when there is none. Searched with memchr a
// window at a time, so that a text of CR-only line ends is not searched to its end for an LF.
qsizetype lineBreakFrom(QByteArrayView data, qsizetype from)
{
    constexpr qsizetype Window = 256;
    for (qsizetype start = from; start < data.size(); start += Window) {
        const char *window = data.data() + start;
        const size_t length = size_t(qMin(Window, data.size() - start));
        const auto *lineFeed = static_cast<const char *>(std::memchr(window, '\n', length));
        const size_t beforeLineFeed = lineFeed ? size_t(lineFeed - window) : length;
        if (const auto *carriageReturn = static_cast<const char *>(std::memchr(window, '\r', beforeLineFeed)))
            return carriageReturn - data.data();
        if (lineFeed)
            return lineFeed - data.data();
    }
    return data.size();
}

} // namespace

VCardLineReader::VCardLineReader(QByteArrayView data) : m_data(data)
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

bool VCardLineReader::Head::quotedPrintable(QByteArrayView line)
{
    update(line);
    return m_quotedPrintable;
}

bool VCardLineReader::Head::base64(QByteArrayView line)
{
    update(line);
    return m_base64;
}

void VCardLineReader::Head::update(QByteArrayView line)
{
    if (m_complete)
        return;
    // The value colon is the first one outside double quotes, as the content line's parser finds it.
    for (; m_scanned < line.size() && !m_complete; ++m_scanned) {
        if (line.at(m_scanned) == '"')
            m_quoted = !m_quoted;
        else
            m_complete = line.at(m_scanned) == ':' && !m_quoted;
    }
    if (!m_complete)
        return;
    const std::optional<VCardContentLine> head = VCardContentLine::parse(line.first(m_scanned));
    const QString encoding = head ? head->parameter("ENCODING") : QString();
    m_quotedPrintable = encoding.compare(QuotedPrintable, Qt::CaseInsensitive) == 0;
    m_base64 = encoding.compare(Base64, Qt::CaseInsensitive) == 0;
}

QByteArrayView VCardLineReader::peekPhysicalLine(qsizetype &next) const
{
    const qsizetype end = lineBreakFrom(m_data, m_position);
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
    return m_data.sliced(m_position, end - m_position);
}

bool VCardLineReader::readLine(QByteArrayView &line)
{
    qsizetype next = 0;
    line = {};
    while (m_position < m_data.size() && line.isEmpty()) {
        line = peekPhysicalLine(next);
        m_position = next;
    }
    if (line.isEmpty())
        return false;
    // Most lines are one physical line: the view into the data is the line. A continuation
    // copies the line first.
    QByteArray joined;
    bool isJoined = false;
    Head head;
    while (m_position < m_data.size()) {
        const QByteArrayView current = isJoined ? QByteArrayView(joined) : line;
        const QByteArrayView following = peekPhysicalLine(next);
        qsizetype chopped = 0;
        QByteArrayView added;
        if (continuesQuotedPrintable(current, head, following)) {
            chopped = 1;
            added = following;
        } else if (!following.isEmpty() && (following.front() == ' ' || following.front() == '\t')) {
            added = following.sliced(1);
        } else if (continuesBase64(current, head, following)) {
            added = following;
        } else {
            break;
        }
        if (!isJoined) {
            joined = line.toByteArray();
            isJoined = true;
        }
        joined.chop(chopped);
        joined.append(added);
        m_position = next;
    }
    if (isJoined) {
        m_joined.append(std::move(joined));
        line = m_joined.constLast();
    }
    return true;
}

bool VCardLineReader::continuesQuotedPrintable(QByteArrayView line, Head &head, QByteArrayView next)
{
    return line.endsWith('=') && head.quotedPrintable(line) && !isBegin(next) && !isEnd(next);
}

bool VCardLineReader::continuesBase64(QByteArrayView line, Head &head, QByteArrayView next)
{
    return !next.isEmpty() && isBase64Text(next) && head.base64(line);
}
