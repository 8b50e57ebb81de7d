#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1StringView>
#include <QStringView>

// Appends vCard content lines to UTF-8 bytes in one pass: a line's parts are encoded (and its
// values escaped) straight into the buffer, and the line is folded to 75 octets when it ends,
// never between the bytes of one character.
class VCardLineWriter
{
public:
    // How a value's characters are written.
    enum class Escape
    {
        // As they stand.
        None,
        // The 3.0 text escapes: backslash, comma, semicolon; a line break (CR LF, CR or LF) as \n.
        Text,
        // A URI, whose commas and semicolons stay: backslash escaped, LF as \n, CR left out.
        Uri,
        // Backslash escaped and a line break (CR LF, CR or LF) as \n; commas and semicolons stay.
        LineBreaks,
    };

    explicit VCardLineWriter(QByteArray &out) : m_out(out) {}

    // Starts a line with the given text (its group, name and parameters).
    VCardLineWriter &begin(QLatin1StringView text)
    {
        m_lineStart = m_out.size();
        return add(text);
    }
    VCardLineWriter &begin(const char *text) { return begin(QLatin1StringView(text)); }
    VCardLineWriter &add(QLatin1StringView text)
    {
        m_out.append(text.data(), text.size());
        return *this;
    }
    VCardLineWriter &add(const char *text) { return add(QLatin1StringView(text)); }
    VCardLineWriter &add(char c)
    {
        m_out.append(c);
        return *this;
    }
    VCardLineWriter &add(QStringView text, Escape escape = Escape::None);
    VCardLineWriter &addNumber(int number)
    {
        m_out.append(QByteArray::number(number));
        return *this;
    }
    // Ends the line with CR LF, folding it first when it is longer than 75 octets.
    void end();

    // One content line (without its CR LF) folded to lines of at most 75 octets, appended with
    // its CR LF.
    static void appendFolded(QByteArray &out, QByteArrayView line);

private:
    QByteArray &m_out;
    qsizetype m_lineStart = 0;
};
