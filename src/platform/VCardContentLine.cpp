#include "platform/VCardContentLine.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace {


qsizetype indexOfValueColon(const QByteArray &line)
{
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
QByteArray unquoted(const QByteArray &text)
{
    QByteArray value = text.trimmed();
    if (containsByte(value, '"'))
        value.removeIf([](char c) { return c == '"'; });
    return value;
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

QByteArray decodeQuotedPrintable(const QByteArray &text)
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

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes); // the conversion runs only when taken as a string
    Q_UNUSED(text);
    return !decoder.hasError();
}

// The text of bytes in that charset; nothing when the charset is unknown or does not take them.
std::optional<QString> decodedStrictly(const QByteArray &bytes, const QByteArray &charset)
{
    QStringDecoder decoder(charset.constData());
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

const QList<QByteArray> &encodingWords()
{
    static const QList<QByteArray> words{"QUOTED-PRINTABLE", "BASE64", "B", "8BIT", "7BIT"};
    return words;
}

} // namespace

std::optional<VCardContentLine> VCardContentLine::parse(const QByteArray &line,
                                                        const QByteArray &fallbackCharset)
{
    const qsizetype colon = indexOfValueColon(line);
    if (colon <= 0)
        return std::nullopt;
    const QList<QByteArray> head = VCardContentLine::splitOutsideQuotes(line.left(colon), ';');
    VCardContentLine result;
    QByteArray name = head.first().trimmed();
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0) {
        result.m_group = name.left(dot);
        name = name.mid(dot + 1);
    }
    if (name.isEmpty())
        return std::nullopt;
    result.m_name = name.toUpper();
    for (qsizetype i = 1; i < head.size(); ++i)
        result.addParameter(head.at(i));
    result.m_value = line.mid(colon + 1);
    if (!fallbackCharset.isEmpty())
        result.m_fallbackCharset = fallbackCharset;
    return result;
}

void VCardContentLine::addParameter(const QByteArray &text)
{
    const QByteArray trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    const qsizetype equals = trimmed.indexOf('=');
    if (equals >= 0) {
        const QByteArray name = trimmed.left(equals).trimmed().toUpper();
        m_hasEncoding = m_hasEncoding || name == "ENCODING";
        m_parameters.append({name, unquoted(trimmed.mid(equals + 1))});
        return;
    }
    // vCard 2.1 allows the bare value: TEL;WORK;VOICE, N;QUOTED-PRINTABLE.
    const bool encoding = encodingWords().contains(trimmed.toUpper());
    m_hasEncoding = m_hasEncoding || encoding;
    m_parameters.append({encoding ? QByteArray("ENCODING") : QByteArray("TYPE"), trimmed});
}

QString VCardContentLine::parameter(const QByteArray &name) const
{
    const QByteArray upper = name.toUpper();
    for (const Parameter &parameter : m_parameters)
        if (parameter.name == upper)
            return QString::fromUtf8(parameter.value);
    return {};
}

bool VCardContentLine::hasParameter(const QByteArray &name) const
{
    const QByteArray upper = name.toUpper();
    return std::any_of(m_parameters.begin(), m_parameters.end(),
                       [&](const Parameter &parameter) { return parameter.name == upper; });
}

QStringList VCardContentLine::parameterValues(const QByteArray &name) const
{
    const QByteArray upper = name.toUpper();
    QStringList values;
    for (const Parameter &parameter : m_parameters) {
        if (parameter.name != upper)
            continue;
        // Stray characters go as in values, so a label reads the same after it is written.
        QString value = QString::fromUtf8(parameter.value);
        removeStrayCharacters(value);
        values.append(value);
    }
    return values;
}

QStringList VCardContentLine::types() const
{
    QStringList words;
    for (const QString &value : parameterValues("TYPE"))
        for (const QString &word : value.split(QLatin1Char(',')))
            if (!word.trimmed().isEmpty())
                words.append(word.trimmed());
    return words;
}

QByteArray VCardContentLine::decodedBytes() const
{
    const QByteArray encoding = parameter("ENCODING").toLatin1().toUpper();
    if (encoding == "QUOTED-PRINTABLE")
        return decodeQuotedPrintable(m_value);
    if (encoding == "BASE64" || encoding == "B")
        return QByteArray::fromBase64(m_value);
    return m_value;
}

QString VCardContentLine::decodeCharset(const QByteArray &bytes) const
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

QString VCardContentLine::decodeWithoutCharset(const QByteArray &bytes) const
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
    const QByteArray bytes = decodedBytes();
    QString text = normalizedLineBreaks(decodeCharset(bytes));
    removeStrayCharacters(text);
    return text;
}

QString VCardContentLine::text() const
{
    return unescape(rawText());
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
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out.append(c);
            continue;
        }
        const QChar next = text.at(++i);
        if (next == QLatin1Char('n') || next == QLatin1Char('N'))
            out.append(QLatin1Char('\n'));
        else if (next == QLatin1Char(',') || next == QLatin1Char(';') || next == QLatin1Char(':') ||
                 next == QLatin1Char('\\'))
            out.append(next);
        else {
            out.append(c);
            out.append(next);
        }
    }
    return out;
}

QList<QByteArray> VCardContentLine::splitOutsideQuotes(const QByteArray &text, char separator)
{
    QList<QByteArray> parts;
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == '"')
            quoted = !quoted;
        else if (text.at(i) == separator && !quoted) {
            parts.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    parts.append(text.mid(start));
    return parts;
}
