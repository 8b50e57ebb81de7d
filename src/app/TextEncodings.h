#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

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
// is dropped.
std::optional<QString> decode(const QByteArray &data, quint32 encoding);

// A byte-order mark decides; then escape sequences make it ISO-2022-JP; text that is valid UTF-8
// is UTF-8; of Shift-JIS and EUC-JP the one that reads the bytes better wins; anything else is
// read as Windows Latin 1, which takes every byte.
quint32 detect(const QByteArray &data);

struct ReadResult
{
    std::optional<QString> text;
    // Localised; set when there is no text.
    QString error;
};

// The whole file as text, in the given encoding or, for Automatic, the detected one.
ReadResult readFile(const QString &path, quint32 encoding);

} // namespace TextEncodings
