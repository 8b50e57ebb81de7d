#include "addressbook/TextEncodings.h"

#include "platform/Localizer.h"
#include "addressbook/TextFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace {

struct Candidate
{
    quint32 encoding;
    const char *name;
    const char *codec;
};

// The platform's list, in its order; rows the decoder does not know are left out when the table
// is built.
constexpr Candidate Candidates[] = {
    {TextEncodings::UTF8, "Unicode (UTF-8)", "UTF-8"},
    {TextEncodings::UTF16BigEndian, "Unicode (UTF-16BE)", "UTF-16BE"},
    {TextEncodings::UTF16LittleEndian, "Unicode (UTF-16LE)", "UTF-16LE"},
    {TextEncodings::UTF32BigEndian, "Unicode (UTF-32BE)", "UTF-32BE"},
    {TextEncodings::UTF32LittleEndian, "Unicode (UTF-32LE)", "UTF-32LE"},
    {30, "Western (Mac OS Roman)", "macintosh"},
    {TextEncodings::IsoLatin1, "Western (ISO Latin 1)", "ISO-8859-1"},
    {TextEncodings::WindowsLatin1, "Western (Windows Latin 1)", "windows-1252"},
    {0x80000201, "Western (ISO Latin 9)", "ISO-8859-15"},
    {0x80000410, "Western (DOS Latin 1)", "ibm-850"},
    {1, "Western (ASCII)", "US-ASCII"},
    {0x80000c02, "Western (EBCDIC Latin 1)", "ibm-037"},
    {0x80000a02, "Western (EBCDIC Latin Core)", "ibm-1047"},
    {TextEncodings::ShiftJIS, "Japanese (Shift JIS)", "Shift_JIS"},
    {TextEncodings::EUCJP, "Japanese (EUC)", "EUC-JP"},
    {TextEncodings::ISO2022JP, "Japanese (ISO 2022-JP)", "ISO-2022-JP"},
    {0x80000a01, "Japanese (Windows, DOS)", "windows-31j"},
    {0x80000001, "Japanese (Mac OS)", "x-mac-japanese"},
    {0x80000930, "Chinese (GB 18030)", "GB18030"},
    {0x80000a03, "Traditional Chinese (Big 5)", "Big5"},
    {0x80000940, "Korean (EUC)", "EUC-KR"},
    {0x80000202, "Central European (ISO Latin 2)", "ISO-8859-2"},
    {15, "Central European (Windows Latin 2)", "windows-1250"},
    {0x80000205, "Cyrillic (ISO 8859-5)", "ISO-8859-5"},
    {11, "Cyrillic (Windows)", "windows-1251"},
    {0x80000a50, "Cyrillic (KOI8-R)", "KOI8-R"},
    {0x80000207, "Greek (ISO 8859-7)", "ISO-8859-7"},
    {13, "Greek (Windows)", "windows-1253"},
    {0x80000209, "Turkish (ISO Latin 5)", "ISO-8859-9"},
    {14, "Turkish (Windows Latin 5)", "windows-1254"},
    {0x80000206, "Arabic (ISO 8859-6)", "ISO-8859-6"},
    {0x80000506, "Arabic (Windows)", "windows-1256"},
    {0x80000208, "Hebrew (ISO 8859-8)", "ISO-8859-8"},
    {0x80000505, "Hebrew (Windows)", "windows-1255"},
    {0x8000020b, "Thai (ISO 8859-11)", "TIS-620"},
};

QList<TextEncodings::Encoding> buildTable()
{
    QList<TextEncodings::Encoding> table;
    for (const Candidate &candidate : Candidates) {
        if (QStringDecoder(candidate.codec).isValid())
            table.append({candidate.encoding, QString::fromLatin1(candidate.name), candidate.codec});
    }
    return table;
}

bool hasPrefix(const QByteArray &data, std::initializer_list<unsigned char> bytes)
{
    if (data.size() < qsizetype(bytes.size()))
        return false;
    qsizetype i = 0;
    for (unsigned char byte : bytes) {
        if (static_cast<unsigned char>(data.at(i++)) != byte)
            return false;
    }
    return true;
}

std::optional<quint32> encodingOfByteOrderMark(const QByteArray &data)
{
    if (hasPrefix(data, {0xEF, 0xBB, 0xBF}))
        return TextEncodings::UTF8;
    if (hasPrefix(data, {0x00, 0x00, 0xFE, 0xFF}))
        return TextEncodings::UTF32BigEndian;
    if (hasPrefix(data, {0xFF, 0xFE, 0x00, 0x00}))
        return TextEncodings::UTF32LittleEndian;
    if (hasPrefix(data, {0xFE, 0xFF}))
        return TextEncodings::UTF16BigEndian;
    if (hasPrefix(data, {0xFF, 0xFE}))
        return TextEncodings::UTF16LittleEndian;
    return std::nullopt;
}

// Whether the decoder takes the bytes without an error. Valid UTF-8 is told by validation alone,
// without making a text; the decoder itself is asked only about the rest, for it also takes bytes
// that end in the middle of a character (it leaves those out).
bool isValidUtf8(const QByteArray &data)
{
    if (QByteArrayView(data).isValidUtf8())
        return true;
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString text = decoder(data);
    return !decoder.hasError();
}

// UTF-16 text without a byte-order mark: its ASCII characters (every property name of a card) put
// a NUL into every other byte, which 8-bit text never has.
std::optional<quint32> utf16ByNulBytes(const QByteArray &data)
{
    if (data.size() < 4 || !data.contains('\0'))
        return std::nullopt;
    const qsizetype units = data.size() / 2;
    qsizetype evenNuls = 0;
    qsizetype oddNuls = 0;
    for (qsizetype i = 0; i < units; ++i) {
        evenNuls += data.at(2 * i) == '\0';
        oddNuls += data.at(2 * i + 1) == '\0';
    }
    if (oddNuls * 4 >= units && evenNuls * 8 <= oddNuls)
        return TextEncodings::UTF16LittleEndian;
    if (evenNuls * 4 >= units && oddNuls * 8 <= evenNuls)
        return TextEncodings::UTF16BigEndian;
    return std::nullopt;
}

char16_t unitAt(const QByteArray &data, qsizetype unit, bool littleEndian)
{
    const auto low = static_cast<unsigned char>(data.at(2 * unit + (littleEndian ? 0 : 1)));
    const auto high = static_cast<unsigned char>(data.at(2 * unit + (littleEndian ? 1 : 0)));
    return static_cast<char16_t>(high << 8 | low);
}

// The first line read as UTF-16 starts a card or is a table's header line (it holds a
// separator); 8-bit text never puts a NUL byte beside those ASCII characters.
bool startsAsUtf16Text(const QByteArray &data, bool littleEndian)
{
    const qsizetype units = std::min<qsizetype>(data.size() / 2, 4096);
    QString line;
    bool separator = false;
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = unitAt(data, i, littleEndian);
        if (unit == u'\n' || unit == u'\r')
            return separator ||
                   line.trimmed().compare(QLatin1String("BEGIN:VCARD"), Qt::CaseInsensitive) == 0;
        separator = separator || unit == u',' || unit == u';' || unit == u'\t';
        line.append(QChar(unit));
    }
    return false;
}

// Text in UTF-16 has no unpaired surrogate and few units that no text holds (controls other than
// line breaks and tabs, the noncharacters U+FFFE and U+FFFF).
bool readsAsUtf16Text(const QByteArray &data, bool littleEndian)
{
    const qsizetype units = data.size() / 2;
    qsizetype invalid = 0;
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t unit = unitAt(data, i, littleEndian);
        if (QChar::isHighSurrogate(unit)) {
            if (i + 1 == units || !QChar::isLowSurrogate(unitAt(data, i + 1, littleEndian)))
                return false;
            ++i;
        } else if (QChar::isLowSurrogate(unit)) {
            return false;
        } else if ((unit < 0x20 && unit != u'\n' && unit != u'\r' && unit != u'\t') || unit >= 0xFFFE) {
            ++invalid;
        }
    }
    return invalid * 100 <= units;
}

// UTF-16 without a byte-order mark whose text is mostly not ASCII (a card with a long Japanese
// note) has too few NUL bytes to be found by them; its structure tells it.
std::optional<quint32> utf16ByStructure(const QByteArray &data)
{
    if (data.size() < 4 || data.size() % 2 != 0 || !data.contains('\0'))
        return std::nullopt;
    for (const bool littleEndian : {true, false}) {
        if (startsAsUtf16Text(data, littleEndian) && readsAsUtf16Text(data, littleEndian))
            return littleEndian ? TextEncodings::UTF16LittleEndian : TextEncodings::UTF16BigEndian;
    }
    return std::nullopt;
}

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Bytes of the UTF-8 character that the lead byte starts; 0 for a byte that starts none.
int utf8SequenceLength(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80)
        return 1;
    if (byte >= 0xC2 && byte <= 0xDF)
        return 2;
    if (byte >= 0xE0 && byte <= 0xEF)
        return 3;
    if (byte >= 0xF0 && byte <= 0xF4)
        return 4;
    return 0;
}

// The end of a fold (a line break and one blank) that starts at `at`; -1 when none starts there.
qsizetype foldEnd(const QByteArray &data, qsizetype at)
{
    qsizetype i = at;
    while (i < data.size() && data.at(i) == '\r')
        ++i;
    if (i < data.size() && data.at(i) == '\n')
        ++i;
    if (i == at || i - at > 3 || i >= data.size())
        return -1;
    return data.at(i) == ' ' || data.at(i) == '\t' ? i + 1 : -1;
}

// Moves each fold that splits a UTF-8 character to just after the character, so that the bytes
// read as UTF-8 and the fold still unfolds.
QByteArray joinCharactersSplitByFolds(const QByteArray &data)
{
    QByteArray out;
    out.reserve(data.size());
    qsizetype i = 0;
    while (i < data.size()) {
        const int length = utf8SequenceLength(data.at(i));
        if (length <= 1) {
            out.append(data.at(i++));
            continue;
        }
        qsizetype j = i + 1;
        int taken = 1;
        qsizetype foldStart = -1;
        qsizetype foldStop = -1;
        while (taken < length && j < data.size()) {
            if (isContinuationByte(data.at(j))) {
                ++taken;
                ++j;
                continue;
            }
            const qsizetype end = foldStart < 0 ? foldEnd(data, j) : -1;
            if (end < 0 || end >= data.size() || !isContinuationByte(data.at(end)))
                break;
            foldStart = j;
            foldStop = end;
            j = end;
        }
        if (foldStart < 0) {
            out.append(data.mid(i, j - i));
        } else {
            out.append(data.mid(i, foldStart - i));
            out.append(data.mid(foldStop, j - foldStop));
            out.append(data.mid(foldStart, foldStop - foldStart));
        }
        i = j;
    }
    return out;
}

bool isValidUtf8AcrossFolds(const QByteArray &data)
{
    return isValidUtf8(data) || isValidUtf8(joinCharactersSplitByFolds(data));
}

// One pass: each escape byte found with memchr, the sequence after it compared in place.
bool hasIso2022Escapes(QByteArrayView data)
{
    const char *const end = data.data() + data.size();
    for (const char *p = data.data(); p < end; ++p) {
        p = static_cast<const char *>(std::memchr(p, '\x1b', size_t(end - p)));
        if (!p)
            return false;
        const QByteArrayView rest(p + 1, end - p - 1);
        for (const char *sequence : {"$B", "$@", "(J", "$(D"})
            if (rest.startsWith(sequence))
                return true;
    }
    return false;
}

// How well a Japanese multi-byte encoding reads the bytes.
struct JapaneseReading
{
    quint32 encoding = 0;
    int bad = 0;
    int kana = 0;
    int ideographs = 0;
    int halfWidthKana = 0;

    int score() const { return kana * 2 + ideographs - halfWidthKana * 2 - bad * 10; }
    bool plausible() const
    {
        // Latin text happens to form valid pairs too, but never kana; a few kanji without any kana
        // are still taken as Japanese (names written in kanji only).
        const int multiByte = kana + ideographs;
        return bad * 50 <= multiByte && (kana > 0 || ideographs >= 4);
    }
};

JapaneseReading readJapanese(const QByteArray &data, quint32 encoding, const char *codec)
{
    JapaneseReading reading;
    reading.encoding = encoding;
    QStringDecoder decoder(codec);
    const QString text = decoder(data);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == 0xFFFD || u == 0x1A)
            ++reading.bad;
        else if (u >= 0x3041 && u <= 0x30FF)
            ++reading.kana;
        else if ((u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF01 && u <= 0xFF5E))
            ++reading.ideographs;
        else if (u >= 0xFF61 && u <= 0xFF9F)
            ++reading.halfWidthKana;
        else if (u >= 0xE000 && u <= 0xF8FF)
            ++reading.bad;
    }
    return reading;
}

} // namespace

namespace TextEncodings {

const QList<Encoding> &all()
{
    static const QList<Encoding> table = buildTable();
    return table;
}

std::optional<Encoding> find(quint32 encoding)
{
    for (const Encoding &entry : all()) {
        if (entry.encoding == encoding)
            return entry;
    }
    return std::nullopt;
}

std::optional<QString> decode(const QByteArray &data, quint32 encoding)
{
    const std::optional<Encoding> entry = find(encoding);
    if (!entry)
        return std::nullopt;
    QStringDecoder decoder(entry->codec.constData());
    QString text = decoder(data);
    if (decoder.hasError() && encoding == UTF8) {
        QStringDecoder joined(QStringConverter::Utf8);
        text = joined(joinCharactersSplitByFolds(data));
        if (joined.hasError())
            return std::nullopt;
    } else if (decoder.hasError()) {
        return std::nullopt;
    }
    // ICU keeps a byte-order mark that Qt's own decoders drop; after Qt's, a mark is the text's.
    if (!QStringConverter::encodingForName(entry->codec.constData()) && text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

quint32 detect(const QByteArray &data)
{
    if (const std::optional<quint32> marked = encodingOfByteOrderMark(data))
        return *marked;
    // NUL bytes are valid UTF-8 too: UTF-16 must be told apart first.
    if (const std::optional<quint32> utf16 = utf16ByNulBytes(data))
        return *utf16;
    if (const std::optional<quint32> utf16 = utf16ByStructure(data))
        return *utf16;
    // ISO-2022-JP is seven-bit and so valid UTF-8 too; its escapes never occur in UTF-8 text.
    if (hasIso2022Escapes(data))
        return ISO2022JP;
    if (isValidUtf8AcrossFolds(data))
        return UTF8;
    const JapaneseReading shiftJis = readJapanese(data, ShiftJIS, "windows-31j");
    const JapaneseReading eucJp = readJapanese(data, EUCJP, "EUC-JP");
    const JapaneseReading &better = eucJp.score() > shiftJis.score() ? eucJp : shiftJis;
    if (better.plausible())
        return better.encoding;
    return WindowsLatin1;
}

QByteArray eightBitCharset(quint32 encoding)
{
    if (encoding == UTF16BigEndian || encoding == UTF16LittleEndian || encoding == UTF32BigEndian ||
        encoding == UTF32LittleEndian)
        return {};
    const std::optional<Encoding> entry = find(encoding);
    return entry ? entry->codec : QByteArray();
}

namespace {

QString wrongEncodingError(const QString &fileName, quint32 encoding)
{
    const std::optional<Encoding> entry = find(encoding);
    return TextFormat::fill(L(QStringLiteral("The file “%@” couldn’t be opened using text encoding %@.")),
                            {fileName, entry ? L(entry->name) : QString::number(encoding)});
}

// The text of the data in that encoding as UTF-8; the data is taken only when it is that text.
std::optional<QByteArray> utf8Text(QByteArray &data, quint32 encoding)
{
    const std::optional<Encoding> entry = find(encoding);
    if (!entry)
        return std::nullopt;
    if (encoding == UTF8 && QByteArrayView(data).isValidUtf8()) {
        // Valid UTF-8 stays as it is; the decoder would drop a leading byte-order mark.
        QByteArray text = std::move(data);
        if (text.startsWith("\xEF\xBB\xBF"))
            text.remove(0, 3);
        return text;
    }
    if (encoding == UTF8) {
        // Characters split by folds or cut at the end: the decoder's text, made the way it is read.
        std::optional<QString> text = decode(data, UTF8);
        return text ? std::optional<QByteArray>(text->toUtf8()) : std::nullopt;
    }
    // Decoded a slice at a time (the decoder keeps a character cut between slices), so that the
    // whole text is never held in UTF-16.
    constexpr qsizetype Slice = 1 << 20;
    QStringDecoder decoder(entry->codec.constData());
    QByteArray text;
    text.reserve(data.size() + data.size() / 2);
    for (qsizetype at = 0; at < data.size(); at += Slice) {
        QString part = decoder(QByteArrayView(data).sliced(at, qMin(Slice, data.size() - at)));
        // ICU keeps a byte-order mark that Qt's own decoders drop; after Qt's, a mark is the text's.
        if (at == 0 && !QStringConverter::encodingForName(entry->codec.constData()) &&
            part.startsWith(QChar(0xFEFF)))
            part.remove(0, 1);
        text.append(part.toUtf8());
        if (decoder.hasError())
            return std::nullopt;
    }
    return text;
}

} // namespace

FileBytes readBytes(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, TextFormat::fill(L(QStringLiteral("The file “%@” couldn’t be opened.")), {name})};
    if (file.size() > MaximumFileSize)
        return {std::nullopt,
                TextFormat::fill(L(QStringLiteral("The file “%@” is too large to be a contacts file.")), {name})};
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, TextFormat::fill(L(QStringLiteral("The file “%@” couldn’t be opened.")), {name})};
    return {std::move(data), {}};
}

ReadResult readFile(const QString &path, quint32 encoding)
{
    FileBytes bytes = readBytes(path);
    if (!bytes.data)
        return {std::nullopt, Automatic, bytes.error};
    const QByteArray data = std::move(*bytes.data);
    if (encoding == Automatic) {
        auto [text, chosen] = decodeDetected(data);
        return {std::move(text), chosen, {}};
    }
    const std::optional<QString> text = decode(data, encoding);
    if (!text) {
        return {std::nullopt, Automatic, wrongEncodingError(QFileInfo(path).fileName(), encoding)};
    }
    return {text, encoding, {}};
}

Utf8Result decodeToUtf8(QByteArray data, quint32 encoding, const QString &fileName)
{
    if (encoding == Automatic) {
        const quint32 detected = detect(data);
        if (std::optional<QByteArray> text = utf8Text(data, detected))
            return {std::move(text), detected, {}};
        // The last guess must take every byte; Windows Latin 1 leaves five of them undefined.
        return {utf8Text(data, IsoLatin1).value_or(QByteArray()), IsoLatin1, {}};
    }
    if (std::optional<QByteArray> text = utf8Text(data, encoding))
        return {std::move(text), encoding, {}};
    return {std::nullopt, Automatic, wrongEncodingError(fileName, encoding)};
}

std::pair<QString, quint32> decodeDetected(const QByteArray &data)
{
    const quint32 detected = detect(data);
    if (std::optional<QString> text = decode(data, detected))
        return {std::move(*text), detected};
    // The last guess must take every byte; Windows Latin 1 leaves five of them undefined.
    return {decode(data, IsoLatin1).value_or(QString()), IsoLatin1};
}

} // namespace TextEncodings
