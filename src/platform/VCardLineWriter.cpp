#include "platform/VCardLineWriter.h"

namespace {

constexpr qsizetype MaxLineOctets = 75;
// A UTF-16 unit takes at most three octets, an escaped one two, a surrogate pair four for two.
constexpr qsizetype MaxOctetsPerUnit = 3;

char *putEscape(char *out, char c)
{
    *out++ = '\\';
    *out++ = c;
    return out;
}

// The ASCII character as the escape writes it.
char *putAscii(char *out, QStringView text, qsizetype &i, VCardLineWriter::Escape escape)
{
    using Escape = VCardLineWriter::Escape;
    const char c = char(text[i].unicode());
    if (escape != Escape::None) {
        switch (c) {
        case '\\':
            return putEscape(out, '\\');
        case '\n':
            return putEscape(out, 'n');
        case '\r':
            if (escape == Escape::Uri)
                return out;
            // CR LF is one line break.
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            return putEscape(out, 'n');
        case ',':
        case ';':
            if (escape == Escape::Text)
                return putEscape(out, c);
            break;
        default:
            break;
        }
    }
    *out++ = c;
    return out;
}

// UTF-8 of the character at i (both units of a surrogate pair); "?" for a lone surrogate, as
// QString::toUtf8 writes it.
char *putUtf8(char *out, QStringView text, qsizetype &i)
{
    const char16_t unit = text[i].unicode();
    char32_t code = unit;
    if (QChar::isSurrogate(unit)) {
        if (!QChar::isHighSurrogate(unit) || i + 1 >= text.size() || !text[i + 1].isLowSurrogate()) {
            *out++ = '?';
            return out;
        }
        code = QChar::surrogateToUcs4(unit, text[++i].unicode());
    }
    if (code < 0x800) {
        *out++ = char(0xC0 | (code >> 6));
    } else if (code < 0x10000) {
        *out++ = char(0xE0 | (code >> 12));
        *out++ = char(0x80 | ((code >> 6) & 0x3F));
    } else {
        *out++ = char(0xF0 | (code >> 18));
        *out++ = char(0x80 | ((code >> 12) & 0x3F));
        *out++ = char(0x80 | ((code >> 6) & 0x3F));
    }
    *out++ = char(0x80 | (code & 0x3F));
    return out;
}

} // namespace

VCardLineWriter &VCardLineWriter::add(QStringView text, Escape escape)
{
    const qsizetype start = m_out.size();
    m_out.resize(start + text.size() * MaxOctetsPerUnit);
    char *const begin = m_out.data();
    char *out = begin + start;
    for (qsizetype i = 0; i < text.size(); ++i)
        out = text[i].unicode() < 0x80 ? putAscii(out, text, i, escape) : putUtf8(out, text, i);
    m_out.truncate(out - begin);
    return *this;
}

void VCardLineWriter::end()
{
    if (m_out.size() - m_lineStart <= MaxLineOctets) {
        m_out.append("\r\n", 2);
        return;
    }
    const QByteArray line = m_out.sliced(m_lineStart);
    m_out.truncate(m_lineStart);
    appendFolded(m_out, line);
}

void VCardLineWriter::appendFolded(QByteArray &out, QByteArrayView line)
{
    qsizetype position = 0;
    for (bool first = true;; first = false) {
        const qsizetype room = first ? MaxLineOctets : MaxLineOctets - 1;
        if (!first)
            out.append(' ');
        if (line.size() - position <= room) {
            out.append(line.sliced(position));
            break;
        }
        qsizetype cut = position + room;
        // Never between the bytes of one UTF-8 character.
        while (cut > position && (static_cast<unsigned char>(line.at(cut)) & 0xC0) == 0x80)
            --cut;
        if (cut == position)
            cut = position + room;
        out.append(line.sliced(position, cut - position));
        out.append("\r\n", 2);
        position = cut;
    }
    out.append("\r\n", 2);
}
