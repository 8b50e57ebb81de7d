#include "PostalTables.h"

#include "editors/AddressViewController.h"
#include "editors/JapanPostalCodes.h"
#include "editors/PostalCodeCache.h"

#include <QTemporaryDir>
#include <QtConcurrent/QtConcurrentRun>

#include <gtest/gtest.h>

using namespace JapanPostalCodes;

namespace {

QString text(const QVariantMap &record, const char *key)
{
    return record.value(QString::fromLatin1(key)).toString();
}

class PostalCodeLookupTest : public ::testing::Test
{
protected:
    QString table(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_folder.filePath(name + QStringLiteral(".gzip"));
        PostalTables::write(path, bytes);
        return path;
    }

    QStringList load(const QByteArray &residential, const QByteArray &business)
    {
        PostalCodeCache cache({{table(ResidentialTable, residential), ResidentialTable},
                               {table(BusinessTable, business), BusinessTable}});
        return cache.texts();
    }

    QStringList standardTables()
    {
        return load(PostalTables::gzip(PostalTables::shiftJis(PostalTables::residentialCsv())),
                    PostalTables::gzip(PostalTables::shiftJis(PostalTables::businessCsv())));
    }

    QTemporaryDir m_folder;
};

TEST_F(PostalCodeLookupTest, searchesResidentialBeforeBusiness)
{
    const QStringList tables = standardTables();

    const QVariantList prefix = addressesFromZip(tables, QStringLiteral("100"));
    ASSERT_EQ(prefix.size(), 3);
    EXPECT_EQ(text(prefix.first().toMap(), "ZIP"), QStringLiteral("100-0000"));
    for (const QVariant &record : prefix)
        EXPECT_TRUE(text(record.toMap(), "Company").isEmpty());

    // The business that shares the code is hidden by the residential record.
    const QVariantList shared = addressesFromZip(tables, QStringLiteral("1000001"));
    ASSERT_EQ(shared.size(), 1);
    const QVariantMap residential = shared.first().toMap();
    EXPECT_EQ(text(residential, "State"), QStringLiteral("東京都"));
    EXPECT_EQ(text(residential, "City"), QStringLiteral("千代田区"));
    EXPECT_EQ(text(residential, "Street"), QStringLiteral("千代田"));
    EXPECT_EQ(text(residential, "PhoneticCity"), QStringLiteral("チヨダク"));
    EXPECT_EQ(text(residential, "PhoneticStreet"), QStringLiteral("チヨダ"));
    EXPECT_EQ(text(residential, "ZIP"), QStringLiteral("100-0001"));

    const QVariantList business = addressesFromZip(tables, QStringLiteral("1008799"));
    ASSERT_EQ(business.size(), 1);
    const QVariantMap company = business.first().toMap();
    EXPECT_EQ(text(company, "Company"), QStringLiteral("株式会社　テスト"));
    EXPECT_EQ(text(company, "PhoneticCompany"), QStringLiteral("ﾃｽﾄ"));
    EXPECT_EQ(text(company, "Street"), QStringLiteral("丸の内２－３"));
    EXPECT_EQ(text(company, "ZIP"), QStringLiteral("100-8799"));
    EXPECT_TRUE(text(company, "PhoneticCity").isEmpty());
}

TEST_F(PostalCodeLookupTest, readsTheKeyAsTyped)
{
    const QStringList tables = standardTables();
    EXPECT_EQ(addressesFromZip(tables, QStringLiteral("100-8799")), addressesFromZip(tables, QStringLiteral("1008799")));
    EXPECT_EQ(addressesFromZip(tables, QStringLiteral("100-0")).size(), 3);
    // A shorter key takes every code that starts with it.
    EXPECT_EQ(addressesFromZip(tables, QStringLiteral("100000")).size(), 3);
    EXPECT_TRUE(addressesFromZip(tables, QStringLiteral("999")).isEmpty());
    EXPECT_TRUE(addressesFromZip(tables, QStringLiteral("千代田")).isEmpty());
}

TEST_F(PostalCodeLookupTest, missingCorruptAndUnendedTables)
{
    const QByteArray business = PostalTables::gzip(PostalTables::shiftJis(PostalTables::businessCsv()));

    PostalCodeCache missing({{m_folder.filePath(QStringLiteral("none.gzip")), ResidentialTable},
                             {table(BusinessTable, business), BusinessTable}});
    EXPECT_EQ(missing.texts().size(), 1);

    // Cut short: the residential table is searched as empty and the business table answers.
    const QByteArray whole = PostalTables::gzip(PostalTables::shiftJis(PostalTables::residentialCsv()));
    const QStringList corrupt = load(whole.left(whole.size() / 2), business);
    ASSERT_EQ(corrupt.size(), 2);
    EXPECT_TRUE(corrupt.first().isEmpty());
    EXPECT_EQ(text(addressesFromZip(corrupt, QStringLiteral("1000001")).value(0).toMap(), "Company"),
              QStringLiteral("株式会社　上書き"));
    EXPECT_TRUE(load(QByteArray("not gzip at all"), business).first().isEmpty());

    QString unended = PostalTables::residentialCsv();
    unended.chop(1);
    const QStringList tables = load(PostalTables::gzip(PostalTables::shiftJis(unended)), business);
    EXPECT_EQ(text(addressesFromZip(tables, QStringLiteral("1000002")).value(0).toMap(), "Street"),
              QStringLiteral("皇居外苑"));
}

TEST_F(PostalCodeLookupTest, inflatesGzipAndZlib)
{
    const QByteArray data = QByteArray("postal ").repeated(1000);
    EXPECT_EQ(inflateGzipData(PostalTables::gzip(data)), data);
    EXPECT_EQ(inflateGzipData(PostalTables::compress(data, 15)), data);
    EXPECT_EQ(inflateGzipData(QByteArray()), QByteArray());
    EXPECT_FALSE(inflateGzipData(PostalTables::gzip(data).left(20)).has_value());
}

TEST_F(PostalCodeLookupTest, fieldHelpers)
{
    EXPECT_EQ(formatZIP(QStringLiteral("1000001")), QStringLiteral("100-0001"));
    EXPECT_EQ(stripDoublequote(QStringLiteral("\"千代田\"")), QStringLiteral("千代田"));
    EXPECT_EQ(stripDoublequote(QStringLiteral("\"\"")), QStringLiteral("\"\""));
    EXPECT_EQ(stripDoublequote(QStringLiteral("0")), QStringLiteral("0"));
    EXPECT_EQ(repackPostalLines(QStringLiteral("1,2\n"), ResidentialTable), QString());
}

TEST_F(PostalCodeLookupTest, concurrentFirstCallersShareOneLoad)
{
    PostalCodeCache cache({{table(ResidentialTable, PostalTables::gzip(PostalTables::shiftJis(
                                                        PostalTables::residentialCsv().repeated(2000)))),
                            ResidentialTable}});
    auto other = QtConcurrent::run([&cache] { return cache.texts(); });
    const QStringList here = cache.texts();
    EXPECT_EQ(other.result(), here);
    EXPECT_EQ(cache.loadCount(), 1);
    EXPECT_FALSE(here.first().isEmpty());
}

TEST(ShippedPostalTables, knownCodes)
{
    AddressViewController::preload().waitForFinished();
    EXPECT_EQ(AddressViewController::zipdb().size(), 2);

    const QVariantMap chiyoda = AddressViewController::addressesFromZip(QStringLiteral("100-0001")).value(0).toMap();
    EXPECT_EQ(text(chiyoda, "State"), QStringLiteral("東京都"));
    EXPECT_EQ(text(chiyoda, "City"), QStringLiteral("千代田区"));
    EXPECT_EQ(text(chiyoda, "Street"), QStringLiteral("千代田"));

    const QVariantMap business = AddressViewController::addressesFromZip(QStringLiteral("060-8621")).value(0).toMap();
    EXPECT_EQ(text(business, "Company"), QStringLiteral("株式会社　日本経済新聞社　札幌支社"));
    EXPECT_EQ(text(business, "Street"), QStringLiteral("北一条西６丁目１－２アーバンネット札幌ビル２Ｆ"));

    EXPECT_EQ(text(AddressViewController::addressesFromZip(QStringLiteral("060-0000")).value(0).toMap(), "Street"),
              QStringLiteral("以下に掲載がない場合"));
    EXPECT_TRUE(AddressViewController::addressesFromZip(QStringLiteral("000-0000")).isEmpty());
    EXPECT_EQ(PostalCodeCache::shared().loadCount(), 1);
}

} // namespace
