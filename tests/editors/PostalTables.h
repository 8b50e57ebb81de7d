#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringEncoder>

#include <zlib.h>

// Postal-code tables made in the test: Shift-JIS CSV text, gzip-compressed as the shipped ones.
namespace PostalTables {

inline QByteArray compress(const QByteArray &data, int windowBits)
{
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&stream, static_cast<uLong>(data.size()))) + 32,
                   Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.truncate(static_cast<qsizetype>(stream.total_out));
    deflateEnd(&stream);
    return out;
}

inline QByteArray gzip(const QByteArray &data)
{
    return compress(data, 15 + 16);
}

inline QByteArray shiftJis(const QString &text)
{
    QStringEncoder encoder("Shift_JIS");
    return encoder.encode(text);
}

inline void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

// Residential lines: 100-0000 (no listed street), 100-0001 and 100-0002.
inline QString residentialCsv()
{
    return QStringLiteral(
        "13101,\"100  \",\"1000000\",\"トウキョウト\",\"チヨダク\",\"イカニケイサイガナイバアイ\",\"東京都\",\"千代田区\",\"以下に掲載がない場合\",0,0,0,0,0,0\n"
        "13101,\"100  \",\"1000001\",\"トウキョウト\",\"チヨダク\",\"チヨダ\",\"東京都\",\"千代田区\",\"千代田\",0,0,0,0,0,0\n"
        "13101,\"100  \",\"1000002\",\"トウキョウト\",\"チヨダク\",\"コウキョガイエン\",\"東京都\",\"千代田区\",\"皇居外苑\",0,0,0,0,0,0\n");
}

// Business lines: one that shares 100-0001 with the residential list, and 100-8799 of its own.
inline QString businessCsv()
{
    return QStringLiteral(
        "13101,\"ｼﾞﾖｳｶﾝ\",\"株式会社　上書き\",\"東京都\",\"千代田区\",\"千代田\",\"１－１\",\"1000001\",\"100  \",\"銀座\",0,0,0\n"
        "13101,\"ﾃｽﾄ\",\"株式会社　テスト\",\"東京都\",\"千代田区\",\"丸の内\",\"２－３\",\"1008799\",\"100  \",\"銀座\",0,0,0\n");
}

} // namespace PostalTables
