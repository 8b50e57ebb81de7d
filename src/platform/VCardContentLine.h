#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <optional>

// One unfolded vCard content line, "[group.]NAME[;param...]:value", with its value still as the
// bytes of the file. The decoding helpers undo the transfer encoding (QUOTED-PRINTABLE, BASE64),
// the charset and the backslash escapes, in that order. A ";" that a backslash escapes separates
// no parameters: it belongs to the parameter's value, backslash and all.
//
// A parsed line is views into the line's bytes (and the fallback charset's): it is valid while
// those live. The parameters are cut once, when the line is parsed.
//
// Encoded bytes without a CHARSET are UTF-8 when they are valid UTF-8, else in the fallback
// charset (the encoding of the file the card came from), else Windows-1252, as a CHARSET parameter
// naming them would have said. Unencoded text is UTF-8 (the import has turned the file into UTF-8).
class VCardContentLine
{
public:
    // Nothing for a line without a colon or without a name.
    static std::optional<VCardContentLine> parse(QByteArrayView line, QByteArrayView fallbackCharset = {});

    // The whole line as parsed.
    QByteArrayView line() const { return m_line; }
    // The group without its dot ("item1"), empty when the line has none.
    QByteArrayView group() const { return m_group; }
    // The property name as written ("TEL", "x-ablabel"); compare it with isNamed.
    QByteArrayView name() const { return m_name; }
    // Whether the property name is that upper-case name, letter case ignored.
    bool isNamed(QByteArrayView upperName) const;
    QByteArrayView rawValue() const { return m_value; }
    void setFallbackCharset(QByteArrayView charset) { m_fallbackCharset = charset; }

    // The first value of a parameter (name compared case-insensitively), quotes removed (also
    // those of a quoted item in a list: TYPE="HOME,VOICE",PREF).
    QString parameter(QByteArrayView name) const;
    bool hasParameter(QByteArrayView name) const;
    // Every value of a parameter, quotes removed, lists not split.
    QStringList parameterValues(QByteArrayView name) const;
    // Every TYPE word, from TYPE=A,B, repeated TYPE= and bare 2.1 parameters alike.
    QStringList types() const;
    // The TYPE values as written, each with its length: lines with the same key have the same types.
    QByteArray typeKey() const;

    // The value bytes after the transfer encoding is undone.
    QByteArray decodedBytes() const;
    // The value as text, not yet unescaped; NUL characters dropped (no field may hold one).
    QString rawText() const;
    // The value as text with the escapes \n \, \; \: \\ undone.
    QString text() const;
    // The components of a structured value (N, ADR, ORG), each unescaped.
    QStringList components() const;

    static QString unescape(QStringView text);
    // The caret escapes of a parameter value undone: ^n a line break, ^' a double quote, ^^ a
    // caret; a caret before anything else stays as written.
    static QString unescapeParameter(QStringView text);
    // A text as a parameter value can hold it: line breaks, double quotes and carets escaped with
    // carets, so that unescapeParameter gives it back.
    static QString escapeParameter(QStringView text);
    // Splits at a separator that stands outside double quotes and that no backslash escapes.
    static QList<QByteArray> splitOutsideQuotes(QByteArrayView text, char separator);

private:
    struct Parameter
    {
        // Upper case for the bare 2.1 words, else as written; compared ignoring case.
        QByteArrayView name;
        // Trimmed, quotes still in.
        QByteArrayView value;
    };

    void addParameter(QByteArrayView text);
    const Parameter *findParameter(QByteArrayView name) const;
    QString decodeCharset(QByteArrayView bytes) const;
    QString decodeWithoutCharset(QByteArrayView bytes) const;

    QByteArrayView m_line;
    QByteArrayView m_group;
    QByteArrayView m_name;
    QVarLengthArray<Parameter, 4> m_parameters;
    QByteArrayView m_value;
    QByteArrayView m_fallbackCharset;
    bool m_hasEncoding = false;
};
