#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One unfolded vCard content line, "[group.]NAME[;param...]:value", with its value still as the
// bytes of the file. The decoding helpers undo the transfer encoding (QUOTED-PRINTABLE, BASE64),
// the charset and the backslash escapes, in that order.
//
// Encoded bytes without a CHARSET are UTF-8 when they are valid UTF-8, else in the fallback
// charset (the encoding of the file the card came from), else Windows-1252, as a CHARSET parameter
// naming them would have said. Unencoded text is UTF-8 (the import has turned the file into UTF-8).
class VCardContentLine
{
public:
    // Nothing for a line without a colon or without a name.
    static std::optional<VCardContentLine> parse(const QByteArray &line,
                                                 const QByteArray &fallbackCharset = {});

    // The group without its dot ("item1"), empty when the line has none.
    const QByteArray &group() const { return m_group; }
    // The property name in upper case ("TEL", "X-ABLABEL").
    const QByteArray &name() const { return m_name; }
    const QByteArray &rawValue() const { return m_value; }

    // The first value of a parameter (name compared case-insensitively), quotes removed (also
    // those of a quoted item in a list: TYPE="HOME,VOICE",PREF).
    QString parameter(const QByteArray &name) const;
    bool hasParameter(const QByteArray &name) const;
    // Every value of a parameter, quotes removed, lists not split.
    QStringList parameterValues(const QByteArray &name) const;
    // Every TYPE word, from TYPE=A,B, repeated TYPE= and bare 2.1 parameters alike.
    QStringList types() const;

    // The value bytes after the transfer encoding is undone.
    QByteArray decodedBytes() const;
    // The value as text, not yet unescaped; NUL characters dropped (no field may hold one).
    QString rawText() const;
    // The value as text with the escapes \n \, \; \: \\ undone.
    QString text() const;
    // The components of a structured value (N, ADR, ORG), each unescaped.
    QStringList components() const;

    static QString unescape(QStringView text);
    // Splits at a separator that stands outside double quotes.
    static QList<QByteArray> splitOutsideQuotes(const QByteArray &text, char separator);

private:
    struct Parameter
    {
        QByteArray name;
        QByteArray value;
    };

    void addParameter(const QByteArray &text);
    QString decodeCharset(const QByteArray &bytes) const;
    QString decodeWithoutCharset(const QByteArray &bytes) const;

    QByteArray m_group;
    QByteArray m_name;
    QList<Parameter> m_parameters;
    QByteArray m_value;
    QByteArray m_fallbackCharset;
    bool m_hasEncoding = false;
};
