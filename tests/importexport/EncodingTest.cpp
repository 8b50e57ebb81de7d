#include "app/AppFixture.h"

#include "addressbook/DefaultsKey.h"
#include "importexport/EncodingChooser.h"
#include "addressbook/TextEncodings.h"

#include <QComboBox>
#include <QStringEncoder>
#include <QTemporaryDir>

namespace {

QByteArray encoded(const char *codec, const QString &text)
{
    QStringEncoder encoder(codec);
    return encoder(text);
}

QByteArray fixture(const char *name)
{
    QFile file(TestEnvironment::dataPath(QString::fromLatin1(name)));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

const QString Japanese = QStringLiteral("BEGIN:VCARD\nN:山田;花子;;;\nSOUND:やまだ はなこ\nEND:VCARD\n");
// Mostly not ASCII: a fifth of the UTF-16 units hold a NUL byte, too few to tell UTF-16 by them.
const QString JapaneseNote =
    QStringLiteral("BEGIN:VCARD\r\nN:山田;花子;;;\r\nNOTE:") +
    QStringLiteral("来週の打ち合わせは品川の会議室で行います。資料は前日までに共有してください。")
        .repeated(4) +
    QStringLiteral("\r\nEND:VCARD\r\n");
const QString JapaneseTable = QStringLiteral(
    "姓,名,会社名,部署,役職\r\n山口,恵子,株式会社サンプル商事東京本社,営業企画部第二グループ,課長代理\r\n");

const QByteArray StrayNul("N:a\0b\nNOTE:\xC3\xA9\n", 14);
// A writer that folds by bytes splits a character across the fold.
const QByteArray SplitByFold("NOTE:\xE6\x97\r\n \xA5\xE6\x9C\xAC\n");

struct Detection
{
    const char *name;
    QByteArray data;
    quint32 encoding;
};

class DetectionTest : public ::testing::TestWithParam<Detection>
{
};

} // namespace

TEST_P(DetectionTest, FindsTheEncoding)
{
    EXPECT_EQ(TextEncodings::detect(GetParam().data), GetParam().encoding) << GetParam().name;
    // The import's UTF-8 text is the decoded text, whichever way the bytes were taken.
    const auto [text, encoding] = TextEncodings::decodeDetected(GetParam().data);
    const TextEncodings::Utf8Result utf8 =
        TextEncodings::decodeToUtf8(GetParam().data, TextEncodings::Automatic, QString());
    EXPECT_EQ(utf8.text, text.toUtf8()) << GetParam().name;
    EXPECT_EQ(utf8.encoding, encoding) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DetectionTest,
    ::testing::Values(
        Detection{"utf8", Japanese.toUtf8(), TextEncodings::UTF8},
        Detection{"ascii", "BEGIN:VCARD\nEND:VCARD\n", TextEncodings::UTF8},
        Detection{"utf8 bom", "\xEF\xBB\xBF" + Japanese.toUtf8(), TextEncodings::UTF8},
        Detection{"utf16le bom", encoded("UTF-16LE", QChar(0xFEFF) + Japanese),
                  TextEncodings::UTF16LittleEndian},
        Detection{"utf16be bom", encoded("UTF-16BE", QChar(0xFEFF) + Japanese),
                  TextEncodings::UTF16BigEndian},
        Detection{"utf16le", encoded("UTF-16LE", Japanese), TextEncodings::UTF16LittleEndian},
        Detection{"utf16be", encoded("UTF-16BE", Japanese), TextEncodings::UTF16BigEndian},
        Detection{"utf16le mostly japanese", encoded("UTF-16LE", JapaneseNote),
                  TextEncodings::UTF16LittleEndian},
        Detection{"utf16be mostly japanese", encoded("UTF-16BE", JapaneseNote),
                  TextEncodings::UTF16BigEndian},
        Detection{"utf16le japanese table", encoded("UTF-16LE", JapaneseTable),
                  TextEncodings::UTF16LittleEndian},
        Detection{"utf16be japanese table", encoded("UTF-16BE", JapaneseTable),
                  TextEncodings::UTF16BigEndian},
        Detection{"utf8 with a stray nul", StrayNul, TextEncodings::UTF8},
        Detection{"ascii table with stray nuls", QByteArray("Name,Phone\n\0Ann,555\0\nBo,1\n", 26),
                  TextEncodings::UTF8},
        Detection{"utf8 split by a fold", SplitByFold, TextEncodings::UTF8},
        // The decoder leaves out a character cut at the end.
        Detection{"utf8 cut in a character", "N:\xE6\x97\xA5\xE6\x97", TextEncodings::UTF8},
        Detection{"utf8 bom and cut", "\xEF\xBB\xBFN:a\xEF\xBB", TextEncodings::UTF8},
        Detection{"iso-2022-jp", encoded("ISO-2022-JP", Japanese), TextEncodings::ISO2022JP},
        Detection{"shift-jis", encoded("Shift_JIS", Japanese), TextEncodings::ShiftJIS},
        Detection{"euc-jp", encoded("EUC-JP", Japanese), TextEncodings::EUCJP},
        Detection{"phone file", fixture("vcards/feature-phone-sjis.vcf"), TextEncodings::ShiftJIS},
        Detection{"latin", encoded("windows-1252", QStringLiteral("N:Müller;Zoë;;;\nORG:Café élan\n")),
                  TextEncodings::WindowsLatin1}),
    [](const auto &info) {
        QString name = QString::fromLatin1(info.param.name);
        name.replace(QRegularExpression("[^A-Za-z0-9]"), "_");
        return name.toStdString();
    });

class EncodingFileTest : public AppFixture
{
protected:
    QString write(const QByteArray &data)
    {
        QFile file(m_dir.filePath("card.vcf"));
        file.open(QIODevice::WriteOnly);
        file.write(data);
        return file.fileName();
    }
    QTemporaryDir m_dir;
};

TEST_F(EncodingFileTest, ReadsWithTheChosenOrTheDetectedEncoding)
{
    const QString path = write(encoded("Shift_JIS", Japanese));
    EXPECT_EQ(TextEncodings::readFile(path, TextEncodings::Automatic).text, Japanese);
    EXPECT_EQ(TextEncodings::readFile(path, TextEncodings::ShiftJIS).text, Japanese);
    const TextEncodings::ReadResult wrong = TextEncodings::readFile(path, TextEncodings::UTF8);
    EXPECT_FALSE(wrong.text);
    EXPECT_TRUE(wrong.error.contains("card.vcf"));
    // Bytes that Windows Latin 1 leaves undefined are still read.
    EXPECT_EQ(TextEncodings::readFile(write("N:\x81\xE9\n"), TextEncodings::Automatic).text->size(), 5);
    EXPECT_EQ(TextEncodings::readFile(write("\xEF\xBB\xBFN:a\n"), TextEncodings::Automatic).text, "N:a\n");
    // The split character is read whole before the fold, which still unfolds.
    const TextEncodings::ReadResult split =
        TextEncodings::readFile(write("NOTE:\xE6\x97\r\n \xA5!\n"), TextEncodings::UTF8);
    EXPECT_EQ(split.text, QStringLiteral("NOTE:日\r\n !\n"));
    EXPECT_EQ(split.encoding, TextEncodings::UTF8);
    EXPECT_EQ(TextEncodings::eightBitCharset(TextEncodings::ShiftJIS), "Shift_JIS");
    EXPECT_TRUE(TextEncodings::eightBitCharset(TextEncodings::UTF16LittleEndian).isEmpty());
}

// Long texts are decoded a slice at a time; a character cut by a slice's end is read whole, and a
// wrong encoding still says so.
TEST_F(EncodingFileTest, LongTextsDecodeToTheSameUtf8)
{
    for (const char *codec : {"Shift_JIS", "UTF-16LE", "ISO-2022-JP"}) {
        // An odd number of ASCII bytes first moves every two-byte character across 1 MiB.
        const QString text = QStringLiteral("X") + Japanese.repeated(40000);
        const QByteArray data = encoded(codec, text);
        ASSERT_GT(data.size(), 1 << 20);
        const TextEncodings::Utf8Result utf8 = TextEncodings::decodeToUtf8(data, TextEncodings::Automatic, {});
        EXPECT_TRUE(utf8.text == text.toUtf8()) << codec;
    }
    const TextEncodings::Utf8Result wrong =
        TextEncodings::decodeToUtf8(encoded("Shift_JIS", Japanese), TextEncodings::UTF8, "card.vcf");
    EXPECT_FALSE(wrong.text);
    EXPECT_TRUE(wrong.error.contains("card.vcf"));
    EXPECT_EQ(TextEncodings::decodeToUtf8("\xEF\xBB\xBFN:a\n", TextEncodings::UTF8, {}).text, "N:a\n");
}

// Only the byte-order mark goes: a second mark after it is the text's own character.
TEST(TextEncodingsDecode, OnlyTheByteOrderMarkIsDropped)
{
    const QString markAndA = QString(QChar(0xFEFF)) + QLatin1Char('A');
    EXPECT_EQ(TextEncodings::decode(QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "A"), TextEncodings::UTF8), markAndA);
    EXPECT_EQ(TextEncodings::decodeDetected(QByteArray("\xFF\xFE\0\0\xFF\xFE\0\0" "A\0\0\0", 12)).first,
              markAndA);
}

// A file far bigger than any contacts file is refused before it is read (a sparse file: nothing
// is written to the disk).
TEST_F(EncodingFileTest, AFileOverTheLimitIsRefusedUnread)
{
    const QString path = write("N:a\n");
    QFile file(path);
    ASSERT_TRUE(file.resize(TextEncodings::MaximumFileSize + 1));
    const TextEncodings::ReadResult read = TextEncodings::readFile(path, TextEncodings::Automatic);
    EXPECT_FALSE(read.text);
    EXPECT_EQ(read.error, "The file “card.vcf” is too large to be a contacts file.");
}

TEST(TextEncodingsTable, NumbersAndNamesAreUnique)
{
    QSet<quint32> numbers;
    QSet<QString> names;
    for (const TextEncodings::Encoding &encoding : TextEncodings::all()) {
        numbers.insert(encoding.encoding);
        names.insert(encoding.name);
    }
    EXPECT_EQ(numbers.size(), TextEncodings::all().size());
    EXPECT_EQ(names.size(), TextEncodings::all().size());
    EXPECT_TRUE(TextEncodings::find(TextEncodings::ShiftJIS));
}

class EncodingChooserTest : public AppFixture
{
protected:
    static QStringList ticked(const EncodingChooser &chooser)
    {
        QStringList names;
        for (const EncodingChooser::Row &row : chooser.encodingTable())
            if (row.checkBox)
                names.append(row.encodingName);
        return names;
    }
};

TEST_F(EncodingChooserTest, FirstUseOnAnEnglishSystem)
{
    EncodingChooser chooser(defaults());
    chooser.setEncodingOnly();
    const QStringList names = ticked(chooser);
    EXPECT_TRUE(names.contains("Unicode (UTF-8)"));
    EXPECT_TRUE(names.contains("Unicode (UTF-16BE)"));
    EXPECT_TRUE(names.contains("Western (Windows Latin 1)"));
    EXPECT_TRUE(names.contains("Western (Mac OS Roman)"));
    EXPECT_FALSE(names.contains("Western (ASCII)"));
    EXPECT_FALSE(names.contains("Western (EBCDIC Latin 1)"));
    EXPECT_FALSE(names.contains("Japanese (Shift JIS)"));
    const QStringList titles = chooser.popupTitles();
    EXPECT_EQ(titles.first(), "Automatic");
    EXPECT_EQ(titles.at(titles.size() - 2), "");
    EXPECT_EQ(titles.last(), "Customize Encoding List…");
    EXPECT_EQ(titles.size(), names.size() + 3);
    EXPECT_EQ(chooser.encodingType(), TextEncodings::Automatic);

    chooser.encodingTypePopup()->setCurrentIndex(1);
    EXPECT_EQ(chooser.encodingType(), TextEncodings::UTF8);
}

TEST_F(EncodingChooserTest, FirstUseOnAJapaneseSystemAndTheKeptList)
{
    Localizer::shared().setPreferredLanguages({QStringLiteral("ja")});
    {
        EncodingChooser chooser(defaults());
        chooser.setEncodingOnly();
        const QStringList names = ticked(chooser);
        for (const char *name : {"Japanese (Shift JIS)", "Japanese (EUC)", "Japanese (ISO 2022-JP)",
                                 "Unicode (UTF-8)", "Unicode (UTF-16BE)"})
            EXPECT_TRUE(names.contains(name)) << name;
        EXPECT_FALSE(names.contains("Western (Windows Latin 1)"));

        // Unticking moves the popup to its first item; the panel's closing keeps the list.
        const qsizetype shiftJis = names.indexOf("Japanese (Shift JIS)");
        int row = 0;
        while (chooser.encodingTable().at(row).encodingName != "Japanese (Shift JIS)")
            ++row;
        chooser.setChecked(row, false);
        EXPECT_EQ(chooser.popupTitles().size(), names.size() + 2);
        EXPECT_GE(shiftJis, 0);
        chooser.saveEncodingList();
    }
    EncodingChooser again(defaults());
    again.view();
    EXPECT_FALSE(ticked(again).contains("Japanese (Shift JIS)"));
    EXPECT_TRUE(ticked(again).contains("Japanese (EUC)"));

    defaults().setObject(QVariantList(), DefaultsKey::Encodings);
    EncodingChooser empty(defaults());
    empty.view();
    EXPECT_TRUE(ticked(empty).contains("Japanese (Shift JIS)"));
}
