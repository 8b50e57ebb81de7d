#pragma once

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

// A deterministic vCard 3.0 file of 20,000 cards as address books write them: Latin and Japanese
// names, one to four phones, e-mail, postal addresses, notes, birthdays, categories, the program's
// custom-item lines and, on every tenth card, a photo of about 2 KB.
namespace BenchContacts {

constexpr int CardCount = 20000;

inline const QStringList givenNames{"Elise", "Jonas", "Maria", "Pat", "Ingrid",
                                    "Kofi",  "Ana",   "Liam",  "Zoë", "Émile"};
inline const QStringList familyNames{"Hartmann", "O'Brien", "García", "Nakamura",
                                     "Olsen",    "Mensah",  "Silva",  "Novak"};
inline const QStringList japaneseGiven{"太郎", "花子", "健一", "さくら", "翔太"};
inline const QStringList japaneseFamily{"山田", "佐藤", "鈴木", "高橋", "田中"};
inline const QStringList phoneTypes{"type=CELL", "type=HOME", "type=WORK", "type=WORK;type=FAX",
                                    "type=IPHONE"};

inline QString foldedPhoto(int i)
{
    QByteArray jpeg("\xFF\xD8\xFF\xE0");
    for (int b = 0; jpeg.size() < 2048; ++b)
        jpeg.append(char((i * 31 + b * 7) & 0xFF));
    const QString line = QStringLiteral("PHOTO;ENCODING=b;TYPE=JPEG:") + QString::fromLatin1(jpeg.toBase64());
    QString folded = line.left(75) + QStringLiteral("\r\n");
    for (qsizetype at = 75; at < line.size(); at += 74)
        folded += QLatin1Char(' ') + line.mid(at, 74) + QStringLiteral("\r\n");
    return folded;
}

inline QString card(int i)
{
    const bool japanese = i % 5 == 0;
    const QString given = japanese ? japaneseGiven.at(i % 5) : givenNames.at(i % givenNames.size());
    const QString family =
        japanese ? japaneseFamily.at((i / 5) % 5) : familyNames.at((i / 3) % familyNames.size());
    QString c = QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\n");
    c += QStringLiteral("N:%1;%2;;;\r\nFN:%2 %1\r\n").arg(family, given);
    if (japanese)
        c += QStringLiteral("X-PHONETIC-FIRST-NAME:たろう\r\nX-PHONETIC-LAST-NAME:やまだ\r\n");
    c += QStringLiteral("ORG:Company %1\\, Ltd.;Sales\r\n").arg(i % 500);
    if (i % 2 == 0)
        c += QStringLiteral("TITLE:Manager\r\n");
    for (int p = 0; p <= i % 4; ++p)
        c += QStringLiteral("TEL;%1:+1 555 %2\r\n")
                 .arg(phoneTypes.at((i + p) % phoneTypes.size()))
                 .arg(i * 4 + p, 7, 10, QLatin1Char('0'));
    c += QStringLiteral("EMAIL;type=INTERNET;type=HOME:person%1@example.com\r\n").arg(i);
    if (i % 2 == 0)
        c += QStringLiteral(
                 "ADR;type=HOME:;;%1 Long Street Name Avenue\\nApartment %2;Springfield;IL;62701;USA\r\n")
                 .arg(i)
                 .arg(i % 40);
    if (i % 6 == 0)
        c += QStringLiteral(
            "item1.ADR;type=WORK:;;千代田1-1;千代田区;東京都;100-0001;日本\r\nitem1.X-ABADR:jp\r\n");
    if (i % 3 != 0)
        c += QStringLiteral("BDAY:%1-%2-%3\r\n")
                 .arg(1950 + i % 50)
                 .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                 .arg(1 + i % 28, 2, 10, QLatin1Char('0'));
    if (i % 3 == 0)
        c += QStringLiteral("NOTE:Met at the %1 conference.\\nPrefers e-mail\\, not phone.\r\n")
                 .arg(2000 + i % 24);
    if (i % 4 == 0)
        c += i % 8 == 0 ? QStringLiteral("CATEGORIES:Friends,Work\r\n")
                        : QStringLiteral("CATEGORIES:Family\r\n");
    if (i % 5 == 1)
        c += QStringLiteral("X-Pets;type=cat:Tom %1\r\n").arg(i);
    if (i % 7 == 0)
        c += QStringLiteral("X-Renmei:%1\r\n").arg(given);
    if (i % 10 == 3)
        c += foldedPhoto(i);
    c += QStringLiteral("END:VCARD\r\n");
    return c;
}

inline QString vCardText()
{
    QString text;
    for (int i = 0; i < CardCount; ++i)
        text += card(i);
    return text;
}

inline void declareCustomItems()
{
    QNPerson::setCustomItems(
        {QVariantMap{{PersonKey::ItemName, "Pets"}, {PersonKey::ItemType, PersonValueType::Labeled}},
         QVariantMap{{PersonKey::ItemName, "Renmei"}, {PersonKey::ItemType, PersonValueType::String}}});
}

// Records read custom values from a cloud store and the user's defaults: keep both in a folder of
// the run's own.
inline int run(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
    QCoreApplication application(argc, argv);
    declareCustomItems();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace BenchContacts
