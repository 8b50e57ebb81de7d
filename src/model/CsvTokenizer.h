#pragma once

#include <QString>
#include <QStringList>

// Splits CSV text into records. A field that starts with a double quote runs to its closing
// quote: "" inside stands for one quote, and separators and line breaks (as LF) belong to the
// field. A quote left open takes the rest of its line. Records end at CR, LF or CR LF.
class CsvTokenizer
{
public:
    CsvTokenizer(const QString &text, QChar separator) : m_text(text), m_separator(separator) {}

    // The separator of the text's first line: the one of comma, semicolon and tab that it holds
    // most often outside quotes; a comma when it holds none of them.
    static QChar separatorOf(const QString &text);

    // The next record's fields and the length of its text; false at the end.
    bool next(QStringList &fields, qsizetype &length);

private:
    bool isLineBreak(qsizetype i) const;
    void endRecord();
    QString field(bool &more);
    QString quotedPart();
    QString unclosedPart(qsizetype open);

    const QString &m_text;
    const QChar m_separator;
    qsizetype m_position = 0;
    qsizetype m_recordEnd = 0;
};
