#pragma once

#include <QString>

// Splits CSV text into records, read field by field. A field that starts with a double quote runs
// to its closing quote: "" inside stands for one quote, and separators and line breaks (as LF)
// belong to the field. A quote left open takes the rest of its line. Records end at CR, LF or
// CR LF.
class CsvTokenizer
{
public:
    CsvTokenizer(const QString &text, QChar separator) : m_text(text), m_separator(separator) {}

    // The separator of the text's first line: the one of comma, semicolon and tab that it holds
    // most often outside quotes; a comma when it holds none of them.
    static QChar separatorOf(const QString &text);

    // No record is left.
    bool atEnd() const { return m_position >= m_text.size(); }
    // Where the next field starts, in UTF-16 units.
    qsizetype position() const { return m_position; }

    // The next field of the record; more is false when the field ends its record.
    QString nextField(bool &more);
    // Passes over the next field without making its text.
    void skipField(bool &more);
    // Passes over the rest of the record.
    void skipRecord();
    // The length of the text of the record that the last field ended.
    qsizetype recordLength() const { return m_recordLength; }

private:
    bool isLineBreak(qsizetype i) const;
    void endRecord();
    // Reads a field into value, or passes over it when value is null.
    void field(QString *value, bool &more);
    void quotedPart(QString *value);
    void unclosedPart(qsizetype open, QString *value);

    const QString &m_text;
    const QChar m_separator;
    qsizetype m_position = 0;
    qsizetype m_recordStart = 0;
    qsizetype m_recordLength = 0;
};
