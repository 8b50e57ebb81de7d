#include "platform/VCardContentLine.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace {

qsizetype indexOfValueColon(QByteArrayView line)
{
    // Most heads hold no quote: the first colon is the value's.
    const char *colon = static_cast<const char *>(std::memchr(line.data(), ':', size_t(line.size())));
    if (!colon)
        return -1;
    const qsizetype first = colon - line.data();
    if (!std::memchr(line.data(), '"', size_t(first)))
        return first;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == '"')
            quoted = !quoted;
        else if (line.at(i) == ':' && !quoted)
            return i;
    }
    return -1;
}

// NUL characters and byte-order marks inside a text (from damaged or concatenated files): a decoder
// drops a mark only at the start of its bytes, so a text that kept one would lose it after a write.
void removeStrayCharacters(QString &text)
{
    if (text.contains(QChar(0)))
        text.remove(QChar(0));
    if (text.contains(QChar(0xFEFF)))
        text.remove(QChar(0xFEFF));
}

bool containsByte(QByteArrayView bytes, char byte)
{
    return !bytes.isEmpty() && std::memchr(bytes.data(), byte, size_t(bytes.size())) != nullptr;
}

// A parameter value is a list of items, each plain or quoted; no item can hold a double quote, so
// dropping them all unquotes every item.
QString unquotedText(QByteArrayView value)
{
    if (!containsByte(value, '"'))
        return QString::fromUtf8(value);
    QByteArray copy = value.toByteArray();
    copy.removeIf([](char c) { return c == '"'; });
    return QString::fromUtf8(copy);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray decodeQuotedPrintable(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '=' && i + 2 < text.size() && hexDigit(text.at(i + 1)) >= 0 &&
            hexDigit(text.at(i + 2)) >= 0) {
            out.append(char(hexDigit(text.at(i + 1)) * 16 + hexDigit(text.at(i + 2))));
            i += 2;
        } else if (c == '=' && i + 1 == text.size()) {
            // A soft line break left at the very end of the data.
        } else {
            out.append(c);
        }
    }
    return out;
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isValidUtf8(QByteArrayView bytes)
{
    return bytes.isValidUtf8();
}

// The text of bytes in that charset; nothing when the charset is unknown or does not take them.
std::optional<QString> decodedStrictly(QByteArrayView bytes, QByteArrayView charset)
{
    QStringDecoder decoder(charset.toByteArray().constData());
    if (!decoder.isValid())
        return std::nullopt;
    const QString text = decoder.decode(bytes);
    // The legacy converters mark undecodable bytes with SUB instead of reporting them.
    if (decoder.hasError() || text.contains(QChar(0x1A)))
        return std::nullopt;
    return text;
}

QString normalizedLineBreaks(QString text)
{
    if (text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return text;
}

bool isEncodingWord(QByteArrayView word)
{
    for (const QByteArrayView known : {"QUOTED-PRINTABLE", "BASE64", "B", "8BIT", "7BIT"})
        if (word.compare(known, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Whether the character at i follows an odd run of backslashes: a\;b escapes its ";", a\\;b not.
bool isEscaped(QByteArrayView text, qsizetype i)
{
    qsizetype backslashes = 0;
    while (i - backslashes > 0 && text.at(i - backslashes - 1) == '\\')
        ++backslashes;
    return backslashes % 2 == 1;
}

// The character that a caret before this one stands for in a parameter value; none when the
// caret escapes nothing.
QChar caretEscaped(QChar next)
{
    if (next == u'n' || next == u'N')
        return u'\n';
    if (next == u'\'')
        return u'"';
    return next == u'^' ? next : QChar();
}

constexpr QByteArrayView EncodingName = "ENCODING";
constexpr QByteArrayView TypeName = "TYPE";

} // namespace

std::optional<VCardContentLine> VCardContentLine::parse(QByteArrayView line, QByteArrayView fallbackCharset)
{
    const qsizetype colon = indexOfValueColon(line);
    if (colon <= 0)
        return std::nullopt;
    VCardContentLine result;
    const QByteArrayView head = line.first(colon);
    // The name runs to the first ";" outside quotes; parameters follow, each cut once.
    qsizetype start = 0;
    bool quoted = false;
    bool first = true;
    for (qsizetype i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head.at(i) == '"') {
            quoted = !quoted;
            continue;
        }
        if (i < head.size() && (head.at(i) != ';' || quoted || isEscaped(head, i)))
            continue;
        const QByteArrayView part = head.sliced(start, i - start);
        start = i + 1;
        if (!first) {
            result.addParameter(part);
            continue;
        }
        first = false;
        QByteArrayView name = part.trimmed();
        const qsizetype dot = name.lastIndexOf('.');
        if (dot >= 0) {
            result.m_group = name.first(dot);
            name = name.sliced(dot + 1);
        }
        if (name.isEmpty())
            return std::nullopt;
        result.m_name = name;
    }
    result.m_line = line;
    result.m_value = line.sliced(colon + 1);
    result.m_fallbackCharset = fallbackCharset;
    return result;
}

bool VCardContentLine::isNamed(QByteArrayView upperName) const
{
    return m_name.compare(upperName, Qt::CaseInsensitive) == 0;
}

void VCardContentLine::addParameter(QByteArrayView text)
{
    const QByteArrayView trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    const qsizetype equals = trimmed.indexOf('=');
    if (equals >= 0) {
        const QByteArrayView name = trimmed.first(equals).trimmed();
        m_hasEncoding = m_hasEncoding || name.compare(EncodingName, Qt::CaseInsensitive) == 0;
        m_parameters.append({name, trimmed.sliced(equals + 1).trimmed()});
        return;
    }
    // vCard 2.1 allows the bare value: TEL;WORK;VOICE, N;QUOTED-PRINTABLE.
    const bool encoding = isEncodingWord(trimmed);
    m_hasEncoding = m_hasEncoding || encoding;
    m_parameters.append({encoding ? EncodingName : TypeName, trimmed});
}

const VCardContentLine::Parameter *VCardContentLine::findParameter(QByteArrayView name) const
{
    for (const Parameter &parameter : m_parameters)
        if (parameter.name.compare(name, Qt::CaseInsensitive) == 0)
            return &parameter;
    return nullptr;
}

QString VCardContentLine::parameter(QByteArrayView name) const
{
    const Parameter *found = findParameter(name);
    return found ? unquotedText(found->value) : QString();
}

bool VCardContentLine::hasParameter(QByteArrayView name) const
{
    return findParameter(name) != nullptr;
}

QStringList VCardContentLine::parameterValues(QByteArrayView name) const
{
    QStringList values;
    for (const Parameter &parameter : m_parameters) {
        if (parameter.name.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        // Stray characters go as in values, so a label reads the same after it is written.
        QString value = unquotedText(parameter.value);
        removeStrayCharacters(value);
        values.append(value);
    }
    return values;
}

QStringList VCardContentLine::types() const
{
    QStringList words;
    for (const QString &value : parameterValues(TypeName))
        for (const QString &word : value.split(QLatin1Char(',')))
            if (!word.trimmed().isEmpty())
                words.append(word.trimmed());
    return words;
}

QByteArray VCardContentLine::decodedBytes() const
{
    if (!m_hasEncoding)
        return m_value.toByteArray();
    const QByteArray encoding = parameter(EncodingName).toLatin1().toUpper();
    if (encoding == "QUOTED-PRINTABLE")
        return decodeQuotedPrintable(m_value);
    if (encoding == "BASE64" || encoding == "B")
        return QByteArray::fromBase64(m_value.toByteArray());
    return m_value.toByteArray();
}

QString VCardContentLine::decodeCharset(QByteArrayView bytes) const
{
    const QString charset = parameter("CHARSET");
    if (charset.isEmpty())
        return decodeWithoutCharset(bytes);
    if (charset.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0)
        return QString::fromUtf8(bytes);
    // Unencoded 8-bit text that is valid UTF-8 was already converted by whoever handed us the card
    // (the import turns the file into UTF-8 text first), leaving a stale CHARSET behind.
    if (!m_hasEncoding && !isAscii(bytes) && isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(charset.toLatin1().constData());
    if (!decoder.isValid())
        return QString::fromUtf8(bytes);
    QString text = decoder.decode(bytes);
    // The legacy converters mark undecodable bytes with SUB; show them as replacement characters.
    text.replace(QChar(0x1A), QChar(QChar::ReplacementCharacter));
    return text;
}

QString VCardContentLine::decodeWithoutCharset(QByteArrayView bytes) const
{
    // Unencoded 8-bit text was turned into UTF-8 with the rest of the file; encoded bytes kept the
    // file's own encoding.
    if (!m_hasEncoding || isAscii(bytes) || isValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    if (!m_fallbackCharset.isEmpty())
        if (std::optional<QString> text = decodedStrictly(bytes, m_fallbackCharset))
            return *text;
    if (std::optional<QString> text = decodedStrictly(bytes, "windows-1252"))
        return *text;
    // Windows-1252 leaves five bytes undefined; Latin-1 takes every byte.
    return QString::fromLatin1(bytes);
}

QString VCardContentLine::rawText() const
{
    // Most values are plain UTF-8 text: no copy of their bytes on the way.
    QString text = !m_hasEncoding && !hasParameter("CHARSET") ? QString::fromUtf8(m_value)
                                                              : decodeCharset(decodedBytes());
    text = normalizedLineBreaks(std::move(text));
    removeStrayCharacters(text);
    return text;
}

QString VCardContentLine::text() const
{
    QString raw = rawText();
    return raw.contains(QLatin1Char('\\')) ? unescape(raw) : raw;
}

QByteArray VCardContentLine::typeKey() const
{
    QByteArray key;
    for (const Parameter &parameter : m_parameters) {
        if (parameter.name.compare(TypeName, Qt::CaseInsensitive) != 0)
            continue;
        const auto size = static_cast<quint32>(parameter.value.size());
        key.append(reinterpret_cast<const char *>(&size), sizeof size);
        key.append(parameter.value);
    }
    return key;
}

QStringList VCardContentLine::components() const
{
    const QString raw = rawText();
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw.at(i) == QLatin1Char('\\'))
            ++i;
        else if (raw.at(i) == QLatin1Char(';')) {
            parts.append(unescape(QStringView(raw).mid(start, i - start)));
            start = i + 1;
        }
    }
    parts.append(unescape(QStringView(raw).mid(start)));
    return parts;
}

QString VCardContentLine::unescape(QStringView text)
{
    qsizetype escape = text.indexOf(QLatin1Char('\\'));
    if (escape < 0)
        return text.toString();
    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    // The text between escapes goes in whole.
    for (; escape >= 0 && escape + 1 < text.size(); escape = text.indexOf(QLatin1Char('\\'), copied)) {
        out.append(text.sliced(copied, escape - copied));
        const QChar next = text.at(escape + 1);
        if (next == QLatin1Char('n') || next == QLatin1Char('N'))
            out.append(QLatin1Char('\n'));
        else if (next == QLatin1Char(',') || next == QLatin1Char(';') || next == QLatin1Char(':') ||
                 next == QLatin1Char('\\'))
            out.append(next);
        else
            out.append(text.sliced(escape, 2));
        copied = escape + 2;
    }
    out.append(text.sliced(copied));
    return out;
}

QString VCardContentLine::unescapeParameter(QStringView text)
{
    if (!text.contains(QLatin1Char('^')))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar escaped =
            text.at(i) == u'^' && i + 1 < text.size() ? caretEscaped(text.at(i + 1)) : QChar();
        if (escaped.isNull()) {
            out.append(text.at(i));
        } else {
            out.append(escaped);
            ++i;
        }
    }
    return out;
}

QString VCardContentLine::escapeParameter(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // CR LF is one line break, which its LF writes.
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            continue;
        if (c == u'^')
            out.append(QLatin1String("^^"));
        else if (c == u'"')
            out.append(QLatin1String("^'"));
        else if (c == u'\n' || c == u'\r')
            out.append(QLatin1String("^n"));
        else
            out.append(c);
    }
    return out;
}

QList<QByteArray> VCardContentLine::splitOutsideQuotes(QByteArrayView text, char separator)
{
    QList<QByteArray> parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == '"')
            quoted = !quoted;
        else if (text.at(i) == separator && !quoted && !isEscaped(text, i)) {
            parts.append(text.sliced(start, i - start).toByteArray());
            start = i + 1;
        }
    }
    parts.append(text.sliced(start).toByteArray());
    return parts;
}
