#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Reads vCard data one logical line at a time, without splitting the whole text up front. Lines
// end with CR LF, LF or CR. A logical line joins
// - folded lines: a line that begins with a blank or a tab continues the previous one (the one
//   blank is dropped);
// - QUOTED-PRINTABLE soft breaks: a quoted-printable line ending in "=" continues on the next
//   line, whatever that begins with (vCard 2.1 writers do not indent these);
// - vCard 2.1 BASE64 blocks whose continuation lines are not indented.
// Empty lines are skipped. A continuation never swallows a BEGIN:VCARD or END:VCARD line.
class VCardLineReader
{
public:
    explicit VCardLineReader(const QByteArray &data);

    // The next logical line; false at the end of the data.
    bool readLine(QByteArray &line);

    // True for a line that is BEGIN:VCARD or END:VCARD, whatever its letter case and blanks.
    static bool isBegin(QByteArrayView line);
    static bool isEnd(QByteArrayView line);

private:
    QByteArrayView peekPhysicalLine(qsizetype &next) const;
    bool continuesQuotedPrintable(const QByteArray &line, QByteArrayView next) const;
    bool continuesBase64(const QByteArray &line, QByteArrayView next) const;

    const QByteArray m_data;
    qsizetype m_position = 0;
};
