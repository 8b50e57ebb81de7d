#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Reads vCard data one logical line at a time, without splitting the whole text up front. Lines
// end with CR LF, LF or CR; a run of CRs before an LF (CR CR LF, as text-mode copies of CR LF files
// have it) ends one line, not several. A logical line joins
// - folded lines: a line that begins with a blank or a tab continues the previous one (the one
//   blank is dropped);
// - QUOTED-PRINTABLE soft breaks: a quoted-printable line ending in "=" continues on the next
//   line, whatever that begins with (vCard 2.1 writers do not indent these);
// - vCard 2.1 BASE64 blocks whose continuation lines are not indented.
// Empty lines are skipped. A continuation never swallows a BEGIN:VCARD or END:VCARD line.
//
// A line is a view into the data, or for a joined line into a copy the reader keeps: every line
// read stays valid while the reader and the data live.
class VCardLineReader
{
public:
    explicit VCardLineReader(QByteArrayView data);

    // The next logical line; false at the end of the data.
    bool readLine(QByteArrayView &line);

    // True for a line that is BEGIN:VCARD or END:VCARD, whatever its letter case and blanks.
    static bool isBegin(QByteArrayView line);
    static bool isEnd(QByteArrayView line);

private:
    // What the head of the logical line being read (the text before its value colon) says about
    // its continuation lines: its ENCODING as the content line's parser reads it, so that a
    // parameter value that only names an encoding ("X-SERVICE-TYPE=QUOTED-PRINTABLE") joins no
    // lines. Nothing until the colon has come. Asked only when a continuation could depend on it,
    // and scanned for the colon as the line grows, each byte once, so that a long line without a
    // colon is not searched again for every line it takes in.
    class Head
    {
    public:
        bool quotedPrintable(QByteArrayView line);
        bool base64(QByteArrayView line);

    private:
        void update(QByteArrayView line);

        qsizetype m_scanned = 0;
        bool m_quoted = false;
        bool m_complete = false;
        bool m_quotedPrintable = false;
        bool m_base64 = false;
    };

    // The physical line at the position, and where the one after it starts.
    QByteArrayView peekPhysicalLine(qsizetype &next) const;
    static bool continuesQuotedPrintable(QByteArrayView line, Head &head, QByteArrayView next);
    static bool continuesBase64(QByteArrayView line, Head &head, QByteArrayView next);

    const QByteArrayView m_data;
    qsizetype m_position = 0;
    // The joined lines handed out, kept for the views into them.
    QList<QByteArray> m_joined;
};
