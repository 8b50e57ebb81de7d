#include "platform/StoreFlatJson.h"

namespace {

// Nine digits always fit an int; longer numbers are left to QJsonDocument.
constexpr int MaximumDigits = 9;

class Cursor
{
public:
    explicit Cursor(QByteArrayView text) : m_at(text.data()), m_end(text.data() + text.size()) {}

    bool atEnd() const { return m_at == m_end; }
    char peek() const { return atEnd() ? '\0' : *m_at; }

    void skipSpace()
    {
        while (!atEnd() && (*m_at == ' ' || *m_at == '\t' || *m_at == '\n' || *m_at == '\r'))
            ++m_at;
    }

    bool take(char expected)
    {
        skipSpace();
        if (peek() != expected)
            return false;
        ++m_at;
        return true;
    }

    // A member name: plain characters only, as every name this store writes.
    std::optional<QByteArrayView> name()
    {
        if (!take('"'))
            return std::nullopt;
        const char *start = m_at;
        while (!atEnd() && *m_at != '"') {
            if (*m_at == '\\' || static_cast<unsigned char>(*m_at) < 0x20)
                return std::nullopt;
            ++m_at;
        }
        if (atEnd())
            return std::nullopt;
        return QByteArrayView(start, m_at++ - start);
    }

    // A string value after its opening quote, with its escapes resolved.
    std::optional<QString> string()
    {
        QString text;
        const char *segment = m_at;
        while (!atEnd()) {
            const char c = *m_at;
            if (c == '"') {
                appendSegment(text, segment);
                ++m_at;
                return text;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return std::nullopt;
            if (c != '\\') {
                ++m_at;
                continue;
            }
            appendSegment(text, segment);
            ++m_at;
            if (!escape(text))
                return std::nullopt;
            segment = m_at;
        }
        return std::nullopt;
    }

    std::optional<int> number()
    {
        const bool negative = peek() == '-';
        if (negative)
            ++m_at;
        const char *start = m_at;
        int value = 0;
        while (!atEnd() && *m_at >= '0' && *m_at <= '9')
            value = value * 10 + (*m_at++ - '0');
        const auto digits = m_at - start;
        if (digits == 0 || digits > MaximumDigits || (digits > 1 && *start == '0'))
            return std::nullopt;
        // A fraction or an exponent follows: not a whole number of ours.
        if (peek() == '.' || peek() == 'e' || peek() == 'E')
            return std::nullopt;
        return negative ? -value : value;
    }

private:
    void appendSegment(QString &text, const char *segment) const
    {
        const QByteArrayView bytes(segment, m_at - segment);
        if (text.isEmpty())
            text = QString::fromUtf8(bytes);
        else
            text += QString::fromUtf8(bytes);
    }

    bool escape(QString &text)
    {
        if (atEnd())
            return false;
        switch (*m_at++) {
        case '"':
            text += QLatin1Char('"');
            return true;
        case '\\':
            text += QLatin1Char('\\');
            return true;
        case '/':
            text += QLatin1Char('/');
            return true;
        case 'b':
            text += QLatin1Char('\b');
            return true;
        case 'f':
            text += QLatin1Char('\f');
            return true;
        case 'n':
            text += QLatin1Char('\n');
            return true;
        case 'r':
            text += QLatin1Char('\r');
            return true;
        case 't':
            text += QLatin1Char('\t');
            return true;
        case 'u':
            return unicodeEscape(text);
        default:
            return false;
        }
    }

    // Four hex digits; halves of a surrogate pair are left to QJsonDocument.
    bool unicodeEscape(QString &text)
    {
        if (m_end - m_at < 4)
            return false;
        char16_t unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = *m_at++;
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            if (digit < 0)
                return false;
            unit = char16_t(unit * 16 + digit);
        }
        if (QChar::isSurrogate(unit))
            return false;
        text += QChar(unit);
        return true;
    }

    const char *m_at;
    const char *m_end;
};

} // namespace

std::optional<StoreFlatJson> StoreFlatJson::parse(QByteArrayView utf8)
{
    Cursor cursor(utf8);
    StoreFlatJson object;
    if (!cursor.take('{'))
        return std::nullopt;
    if (!cursor.take('}')) {
        do {
            Member member;
            const std::optional<QByteArrayView> name = cursor.name();
            if (!name || object.hasMember(*name) || !cursor.take(':'))
                return std::nullopt;
            member.name = *name;
            cursor.skipSpace();
            if (cursor.peek() == '"') {
                cursor.take('"');
                std::optional<QString> text = cursor.string();
                if (!text)
                    return std::nullopt;
                member.text = std::move(*text);
            } else {
                const std::optional<int> number = cursor.number();
                if (!number)
                    return std::nullopt;
                member.isNumber = true;
                member.number = *number;
            }
            object.m_members.append(std::move(member));
        } while (cursor.take(','));
        if (!cursor.take('}'))
            return std::nullopt;
    }
    cursor.skipSpace();
    if (!cursor.atEnd())
        return std::nullopt;
    return object;
}

bool StoreFlatJson::hasMember(QByteArrayView name) const
{
    for (const Member &member : m_members) {
        if (member.name == name)
            return true;
    }
    return false;
}

// Names are plain ASCII, so their bytes read as Latin-1 compare exactly.
const StoreFlatJson::Member *StoreFlatJson::member(QStringView name) const
{
    for (const Member &member : m_members) {
        if (name == QLatin1StringView(member.name.data(), member.name.size()))
            return &member;
    }
    return nullptr;
}

QString StoreFlatJson::text(QStringView name) const
{
    const Member *found = member(name);
    return found && !found->isNumber ? found->text : QString();
}

std::optional<int> StoreFlatJson::number(QStringView name) const
{
    const Member *found = member(name);
    return found && found->isNumber ? std::optional<int>(found->number) : std::nullopt;
}
