#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

// The text encodings a file can be read with, decoded through ICU, and the guess of a file's
// encoding when the user leaves the choice to the program.
//
// Encodings are numbered as the platform numbers its string encodings (4 UTF-8, 0x90000100
// UTF-16 big-endian, ...), 0 standing for "detect". Names are the English ones; they are the
// keys of the localisation tables and what the "Encodings" default keeps.
namespace TextEncodings {

constexpr quint32 Automatic = 0;
constexpr quint32 UTF8 = 4;
constexpr quint32 ShiftJIS = 8;
constexpr quint32 EUCJP = 3;
constexpr quint32 ISO2022JP = 21;
constexpr quint32 WindowsLatin1 = 12;
constexpr quint32 IsoLatin1 = 5;
constexpr quint32 UTF16BigEndian = 0x90000100;
constexpr quint32 UTF16LittleEndian = 0x94000100;
constexpr quint32 UTF32BigEndian = 0x98000100;
constexpr quint32 UTF32LittleEndian = 0x9c000100;

struct Encoding
{
    quint32 encoding = 0;
    QString name;
    QByteArray codec;
};

// Every encoding the decoder knows, in the order the chooser lists them.
const QList<Encoding> &all();
std::optional<Encoding> find(quint32 encoding);

// The text, or nothing when the bytes are not valid in that encoding. A leading byte-order mark
// is dropped. UTF-8 also takes a character that a folded line (a line break and a blank) splits,
// as writers that fold by bytes leave it: the character is read whole before the fold.
std::optional<QString> decode(const QByteArray &data, quint32 encoding);

// A byte-order mark decides; then the NUL bytes of every other byte make it UTF-16, as does a
// first line that in UTF-16 starts a card or names a table's columns when the rest reads as
// UTF-16 text (mostly Japanese text has few NUL bytes); escape
// sequences make it ISO-2022-JP; text that is valid UTF-8 (also with characters split by folds)
// is UTF-8; of Shift-JIS and EUC-JP the one that reads the bytes better wins; anything else is
// read as Windows Latin 1, which takes every byte.
quint32 detect(const QByteArray &data);

// The charset of the bytes that a file in that encoding carries encoded (quoted-printable or
// base64 values without a CHARSET): the encoding's own for 8-bit encodings, none for UTF-16 and
// UTF-32, whose text cannot be cut into single bytes.
QByteArray eightBitCharset(quint32 encoding);

struct ReadResult
{
    std::optional<QString> text;
    // The encoding the text was read with; set with the text.
    quint32 encoding = Automatic;
    // Localised; set when there is no text.
    QString error;
};

// The text of data in the detected encoding, or in ISO Latin 1, which takes every byte, when the
// detected one does not; the encoding it was read with.
std::pair<QString, quint32> decodeDetected(const QByteArray &data);

// No contacts file comes near this; a bigger one is refused before it is read.
constexpr qint64 MaximumFileSize = qint64(1) << 30;

// The whole file as text, in the given encoding or, for Automatic, the detected one.
ReadResult readFile(const QString &path, quint32 encoding);

// The file's bytes, refused unread over MaximumFileSize; the localised error when there are none.
struct FileBytes
{
    std::optional<QByteArray> data;
    QString error;
};
FileBytes readBytes(const QString &path);

// The same text as decode and decodeDetected give, as UTF-8 bytes: UTF-8 data is kept as it is
// (its leading byte-order mark dropped), other data is decoded a slice at a time. The data is
// taken, so that no second copy of it is made or kept.
struct Utf8Result
{
    std::optional<QByteArray> text;
    quint32 encoding = Automatic;
    // Localised; set when there is no text.
    QString error;
};
Utf8Result decodeToUtf8(QByteArray data, quint32 encoding, const QString &fileName);

} // namespace TextEncodings
