#include "model/LabelTables.h"
#include "model/QNPerson.h"
#include "platform/Localizer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unicode/locid.h>

namespace {

const QString Bundled = QStringLiteral(":/AddressFormat.json");

// Each test picks the user's languages and table it needs; the bundled table and the languages
// are put back afterwards for the other tests of the program.
class AddressFormatTable : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_languages = Localizer::shared().preferredLanguages();
        UErrorCode status = U_ZERO_ERROR;
        // An unknown display language falls back to ICU's default locale.
        icu::Locale::setDefault(icu::Locale("en_US"), status);
    }
    void TearDown() override
    {
        Localizer::shared().setPreferredLanguages(m_languages);
        LabelTables::shared().reset();
    }

    void loadWithLanguages(const QStringList &languages)
    {
        Localizer::shared().setPreferredLanguages(languages);
        QNPerson::loadAddressFormatTable(Bundled);
    }

    QString writeTable(const QByteArray &rows)
    {
        const QString path = m_dir.filePath(QStringLiteral("table.json"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("{\"AddressFormat\": [" + rows + "]}");
        return path;
    }

    static qsizetype rowOf(const QString &code)
    {
        const QNPerson::AddressFormatTable table = QNPerson::addressFormatTable();
        for (qsizetype i = 0; i < table.size(); ++i) {
            if (table[i].value("CountryCode") == code)
                return i;
        }
        return -1;
    }

private:
    QStringList m_languages;
    QTemporaryDir m_dir;
};

TEST_F(AddressFormatTable, BundledTableIsOneEntryPerCountry)
{
    loadWithLanguages({"en"});
    const QNPerson::AddressFormatTable table = QNPerson::addressFormatTable();
    const QNPerson::AddressFormatDict dict = QNPerson::addressFormatDict();
    ASSERT_EQ(table.size(), 249);
    EXPECT_EQ(dict.size(), 249);
    for (const QNPerson::AddressFormatEntry &entry : table)
        EXPECT_EQ(dict.value(entry.value("CountryCode").toString()), entry);
    EXPECT_EQ(dict.value("JP").value("Order").toStringList(),
              QStringList({"Country", "ZIP", "State", "City", "Street"}));
    EXPECT_EQ(dict.value("DE").value("Alpha3"), "DEU");
    EXPECT_EQ(dict.value("DE").value("Country"), "GERMANY");
}

TEST_F(AddressFormatTable, OrderDropsLeftToRightMarksAndKeepsEmptyTokens)
{
    loadWithLanguages({"en"});
    QNPerson::loadAddressFormatTable(
        writeTable("{\"CountryCode\": \"AA\", \"formatString\": \"Street City State \u200eZIP\"},"
                   "{\"CountryCode\": \"BB\", \"formatString\": \"Street  City\\nZIP\"}"));
    const QNPerson::AddressFormatDict dict = QNPerson::addressFormatDict();
    EXPECT_EQ(dict.value("AA").value("Order").toStringList(),
              QStringList({"Street", "City", "State", "ZIP"}));
    EXPECT_EQ(dict.value("BB").value("Order").toStringList(), QStringList({"Street", "", "City", "ZIP"}));
}

TEST_F(AddressFormatTable, LaterRowOfACodeWinsInTheDictionaryOnly)
{
    loadWithLanguages({"en"});
    QNPerson::loadAddressFormatTable(writeTable("{\"CountryCode\": \"AA\", \"formatString\": \"City\"},"
                                                "{\"formatString\": \"Street\"},"
                                                "{\"CountryCode\": \"AA\", \"formatString\": \"ZIP\"}"));
    EXPECT_EQ(QNPerson::addressFormatTable().size(), 3);
    EXPECT_EQ(QNPerson::addressFormatDict().size(), 1);
    EXPECT_EQ(QNPerson::addressFormatDict().value("AA").value("formatString"), "ZIP");
}

TEST_F(AddressFormatTable, MissingOrBrokenTableLeavesItEmpty)
{
    QNPerson::loadAddressFormatTable(QStringLiteral("/nonexistent/AddressFormat.json"));
    EXPECT_TRUE(QNPerson::addressFormatTable().isEmpty());
    EXPECT_TRUE(QNPerson::addressFormatDict().isEmpty());
    QNPerson::loadAddressFormatTable(writeTable("{\"CountryCode\": "));
    EXPECT_TRUE(QNPerson::addressFormatTable().isEmpty());
}

TEST_F(AddressFormatTable, NoCountryNamesForEnglish)
{
    loadWithLanguages({"en-GB", "ja"});
    for (const QNPerson::AddressFormatEntry &entry : QNPerson::addressFormatTable())
        EXPECT_FALSE(entry.contains("LocalizedCountry")) << qPrintable(entry.value("CountryCode").toString());
}

TEST_F(AddressFormatTable, JapaneseCountryNames)
{
    loadWithLanguages({"ja-JP", "en"});
    const QNPerson::AddressFormatDict dict = QNPerson::addressFormatDict();
    EXPECT_EQ(dict.value("JP").value("LocalizedCountry"), QString::fromUtf8("日本"));
    EXPECT_EQ(dict.value("DE").value("LocalizedCountry"), QString::fromUtf8("ドイツ"));
    for (const QNPerson::AddressFormatEntry &entry : QNPerson::addressFormatTable())
        EXPECT_FALSE(entry.value("LocalizedCountry").toString().isEmpty());
}

// No preferred language counts as the language "US", which is not English.
TEST_F(AddressFormatTable, EmptyLanguageListStillNamesCountries)
{
    loadWithLanguages({});
    const QNPerson::AddressFormatDict dict = QNPerson::addressFormatDict();
    EXPECT_EQ(dict.value("JP").value("LocalizedCountry"), "Japan");
    EXPECT_FALSE(dict.value("FR").value("LocalizedCountry").toString().isEmpty());
}

TEST_F(AddressFormatTable, OverlayReplacesKnownCodeInPlaceAndAddsNewCodeToDictionaryOnly)
{
    loadWithLanguages({"ja"});
    const qsizetype deRow = rowOf("DE");
    ASSERT_GE(deRow, 0);
    const qsizetype rows = QNPerson::addressFormatTable().size();

    QNPerson::setAddressFormatTable({
        QVariantMap{{"CountryCode", "DE"}, {"formatString", "ZIP City Street"}, {"Note", "cloud"}},
        QVariantMap{{"CountryCode", "XK"}, {"formatString", "Street City ZIP Country"}},
        QVariant(QStringLiteral("not an object")),
    });

    const QNPerson::AddressFormatTable table = QNPerson::addressFormatTable();
    const QNPerson::AddressFormatDict dict = QNPerson::addressFormatDict();
    ASSERT_EQ(table.size(), rows);
    EXPECT_EQ(rowOf("DE"), deRow);
    EXPECT_EQ(table[deRow].value("Note"), "cloud");
    EXPECT_FALSE(table[deRow].contains("Alpha3"));
    EXPECT_EQ(table[deRow].value("Order").toStringList(), QStringList({"ZIP", "City", "Street"}));
    EXPECT_EQ(table[deRow].value("LocalizedCountry"), QString::fromUtf8("ドイツ"));
    EXPECT_EQ(dict.value("DE"), table[deRow]);

    EXPECT_EQ(rowOf("XK"), -1);
    EXPECT_EQ(dict.value("XK").value("Order").toStringList(),
              QStringList({"Street", "City", "ZIP", "Country"}));
}

} // namespace
