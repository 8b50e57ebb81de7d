#include "model/LabelTables.h"
#include "model/QNPerson.h"
#include "platform/StoreContact.h"
#include "platform/StoreLabels.h"

#include <QMutex>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

// Collects the log lines written while it lives.
class LogCapture
{
public:
    LogCapture() { m_previous = qInstallMessageHandler(&LogCapture::handler); }
    ~LogCapture() { qInstallMessageHandler(m_previous); }
    static QStringList lines()
    {
        QMutexLocker lock(&s_mutex);
        return s_lines;
    }

private:
    static void handler(QtMsgType, const QMessageLogContext &, const QString &message)
    {
        QMutexLocker lock(&s_mutex);
        s_lines.append(message);
    }
    QtMessageHandler m_previous;
    static inline QMutex s_mutex;
    static inline QStringList s_lines;
};

// Tests change the process's tables through the record's class operations, as the program does,
// and put them back into their start state afterwards.
class QNPersonLabels : public ::testing::Test
{
protected:
    void TearDown() override { LabelTables::shared().reset(); }
};
using QNPersonThreads = QNPersonLabels;

QStringList labels(const QString &identifier)
{
    return QNPerson::labelsForIdentifier(identifier).value_or(QStringList());
}

QStringList localizedLabels(const QString &identifier)
{
    return QNPerson::localizedLabelsForIdentifier(identifier).value_or(QStringList());
}

QStringList customLabels(const QString &identifier)
{
    return QNPerson::customLabelsForIdentifier(identifier).value_or(QStringList());
}

struct ConversionCase
{
    QString input;
    QString expected;
};

class LabelFromCNLabel : public ::testing::TestWithParam<ConversionCase>
{
};

TEST_P(LabelFromCNLabel, Converts)
{
    EXPECT_EQ(QNPerson::labelFromCNLabel(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LabelFromCNLabel,
    ::testing::Values(ConversionCase{StoreLabel::Home, "home"},
                      ConversionCase{StoreLabel::PhoneNumberHomeFax, "home fax"},
                      ConversionCase{StoreLabel::PhoneNumberiPhone, "iPhone"},
                      ConversionCase{"_$!<Son>!$_", "son"}, ConversionCase{"_$!<School>!$_", "School"},
                      ConversionCase{"my own label", "my own label"}, ConversionCase{"", "No label"},
                      ConversionCase{QString(), "No label"}, ConversionCase{"All", "All"},
                      ConversionCase{"_$!<ab", "_$!<ab"}, ConversionCase{"_$!<>!$_", "No label"},
                      // Holding the marks is not being wrapped: nothing is cut off.
                      ConversionCase{"_$!<Spouse: 0009", "_$!<Spouse: 0009"},
                      ConversionCase{"x_$!<Son>!$_", "x_$!<Son>!$_"}));

class CNLabelFromLabel : public ::testing::TestWithParam<ConversionCase>
{
};

TEST_P(CNLabelFromLabel, Converts)
{
    EXPECT_EQ(QNPerson::CNLabelFromLabel(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CNLabelFromLabel,
                         ::testing::Values(ConversionCase{"partner", StoreLabel::ContactRelationPartner},
                                           ConversionCase{"assistant", StoreLabel::ContactRelationAssistant},
                                           ConversionCase{"son", "_$!<Son>!$_"},
                                           ConversionCase{"daughter", "_$!<Daughter>!$_"},
                                           ConversionCase{"home page", StoreLabel::URLAddressHomePage},
                                           ConversionCase{"All", "All"}, ConversionCase{"Home", "Home"},
                                           ConversionCase{"my own label", "my own label"}));

TEST_F(QNPersonLabels, NullLabelHasNoStoreLabel)
{
    EXPECT_TRUE(QNPerson::CNLabelFromLabel(QString()).isNull());
    EXPECT_FALSE(QNPerson::CNLabelFromLabel(QStringLiteral("")).isNull());
}

TEST_F(QNPersonLabels, StartLabelsRoundTripThroughStoreLabels)
{
    const QStringList keys = {"Email",        "Phone", "Address",        "URL",
                              "Relationship", "Dates", "Social Network", "Instant Message"};
    for (const QString &key : keys) {
        const QStringList list = labels(key);
        ASSERT_FALSE(list.isEmpty()) << qPrintable(key);
        for (const QString &label : list)
            EXPECT_EQ(QNPerson::labelFromCNLabel(QNPerson::CNLabelFromLabel(label)), label)
                << qPrintable(label);
    }
}

TEST_F(QNPersonLabels, StartTablesHoldTheMenusInOrder)
{
    EXPECT_EQ(labels("Phone"), QStringList({"home", "work", "other", "main", "mobile", "iPhone", "pager",
                                            "home fax", "work fax", "other fax"}));
    EXPECT_EQ(labels("URL"), QStringList({"home page", "home", "work", "other"}));
    EXPECT_EQ(labels("Relationship").mid(11), QStringList({"son", "daughter"}));
    EXPECT_EQ(labels("Social Network"), QNPerson::socialServiceLabels());
    EXPECT_EQ(labels("Social Network").size(), 16);
    EXPECT_EQ(labels("Name Ordering").first(), "System Default (LastName)");
    EXPECT_EQ(localizedLabels("Phone"), labels("Phone"));
    EXPECT_EQ(localizedLabels("Show as Person"), QStringList({"Person", "Company"}));
}

TEST_F(QNPersonLabels, IdentifiersWithoutLabelsAnswerNothing)
{
    EXPECT_FALSE(QNPerson::labelsForIdentifier("ZIP"));
    EXPECT_FALSE(QNPerson::localizedLabelsForIdentifier("Never Seen"));
    EXPECT_FALSE(QNPerson::customLabelsForIdentifier("Never Seen"));
}

TEST_F(QNPersonLabels, AddingAKnownLabelChangesNothing)
{
    const QStringList before = labels("Email");
    const QStringList localizedBefore = localizedLabels("Email");
    EXPECT_FALSE(QNPerson::setLabel("", "home", "Email"));
    EXPECT_EQ(labels("Email"), before);
    EXPECT_EQ(localizedLabels("Email"), localizedBefore);
}

// The words shown for a missing label or service are no labels for every unlabelled value to draw.
TEST_F(QNPersonLabels, PlaceholderWordsAreNoLabels)
{
    const QNPerson::LabelTable before = QNPerson::labelTableDict();
    for (const QString word : {"No label", "No service"}) {
        EXPECT_FALSE(QNPerson::setLabel("", word, "Email") || QNPerson::setLabel("home", word, "Email"));
        QNPerson::addCustomLabel(word, "Phone");
        LabelTables::shared().offerLabels({{"Social Network", {word}}, {"New Identifier", {word}}});
    }
    EXPECT_EQ(QNPerson::labelTableDict(), before);
    EXPECT_TRUE(QNPerson::customLabelTableDict().isEmpty());
}

TEST_F(QNPersonLabels, AddedLabelIsRenamedInPlace)
{
    const QString added = "private";
    const QString renamed = "school";
    ASSERT_TRUE(QNPerson::setLabel("", added, "Email"));
    const qsizetype index = labels("Email").indexOf(added);
    ASSERT_EQ(index, 3);
    EXPECT_EQ(localizedLabels("Email").value(index), added);
    EXPECT_TRUE(customLabels("Email").contains(added));
    EXPECT_FALSE(QNPerson::setLabel("", added, "Email"));

    ASSERT_TRUE(QNPerson::setLabel(added, renamed, "Email"));
    EXPECT_EQ(labels("Email").value(index), renamed);
    EXPECT_EQ(localizedLabels("Email").value(index), renamed);
    EXPECT_FALSE(labels("Email").contains(added));
    EXPECT_TRUE(customLabels("Email").contains(renamed));
    EXPECT_FALSE(customLabels("Email").contains(added));
}

TEST_F(QNPersonLabels, RenamingAnUnknownLabelAppendsTheNewOne)
{
    const QString id = "Test Unknown Rename";
    ASSERT_TRUE(QNPerson::setLabel("nowhere", "fresh", id));
    EXPECT_EQ(labels(id), QStringList({"fresh"}));
    EXPECT_EQ(localizedLabels(id), QStringList({"fresh"}));
    EXPECT_EQ(customLabels(id), QStringList({"fresh"}));
}

TEST_F(QNPersonLabels, LabelTableDictKeepsAppendedCustomLabels)
{
    const QString id = "Test Misaligned";
    ASSERT_TRUE(QNPerson::setLabel("", "first", id));
    QNPerson::addCustomLabel("only-custom", id);
    const QNPerson::LabelTable table = QNPerson::labelTableDict();
    EXPECT_EQ(table.value(id), QStringList({"first", "only-custom"}));
    EXPECT_EQ(labels(id), QStringList({"first", "only-custom"}));
    EXPECT_EQ(localizedLabels(id), QStringList({"first"}));

    // The renamed label lies beyond the display texts: logged, and only the display texts stay.
    LogCapture log;
    EXPECT_TRUE(QNPerson::setLabel("only-custom", "renamed", id));
    EXPECT_TRUE(LogCapture::lines().contains("ERROR +[QNPerson setLabel:to:forIdentifier:]"));
    EXPECT_EQ(labels(id), QStringList({"first", "renamed"}));
    EXPECT_EQ(localizedLabels(id), QStringList({"first"}));
    EXPECT_EQ(customLabels(id), QStringList({"first", "renamed"}));
}

TEST_F(QNPersonLabels, AccessorsHandOutCopies)
{
    QNPerson::LabelTable table = QNPerson::labelTableDict();
    table["Email"].append("not-in-the-table");
    EXPECT_FALSE(labels("Email").contains("not-in-the-table"));

    QNPerson::setCustomItems({QVariantMap{{"Name", "Hobby"}, {"Type", "String Value"}}});
    std::optional<QVariantList> items = QNPerson::customItems();
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 1);
    (*items)[0] = QVariantMap{{"Name", "Changed"}};
    EXPECT_EQ(QNPerson::customItems()->first().toMap().value("Name"), "Hobby");
}

TEST_F(QNPersonLabels, ResetGoesBackToTheStartTables)
{
    const QStringList phones = labels("Phone");
    const QNPerson::AddressFormatDict formats = QNPerson::addressFormatDict();
    ASSERT_TRUE(QNPerson::setLabel("home", "house", "Phone"));
    QNPerson::addCustomLabel("extra", "Email");
    ASSERT_TRUE(QNPerson::removeLabel("work", "URL"));
    QNPerson::setCustomItems({QVariantMap{{"Name", "Hobby"}}});
    QNPerson::loadAddressFormatTable("/nonexistent/AddressFormat.json");

    LabelTables::shared().reset();
    EXPECT_EQ(labels("Phone"), phones);
    EXPECT_EQ(localizedLabels("Phone"), phones);
    EXPECT_EQ(labels("URL"), QStringList({"home page", "home", "work", "other"}));
    EXPECT_TRUE(QNPerson::customLabelTableDict().isEmpty());
    EXPECT_FALSE(QNPerson::customItems());
    EXPECT_EQ(QNPerson::addressFormatDict(), formats);
}

TEST(QNPersonIdentifiers, ListsAndStoreKeys)
{
    const QStringList all = QNPerson::allIdentifiers();
    ASSERT_EQ(all.size(), 19);
    EXPECT_EQ(all.first(), "Name");
    EXPECT_EQ(all.last(), "Photo");
    EXPECT_EQ(QNPerson::labeledIdentifiers().size(), 8);
    EXPECT_EQ(QNPerson::stringIdentifiers().size(), 7);
    EXPECT_EQ(QNPerson::addressIdentifiers(), QStringList({"ZIP", "State", "City", "Street", "Country"}));

    const QHash<QString, QString> keys = QNPerson::CNIdentifiers();
    EXPECT_EQ(keys.size(), 20);
    EXPECT_FALSE(keys.contains("Name"));
    EXPECT_EQ(keys.value("Title"), StoreKey::NamePrefix);
    EXPECT_EQ(keys.value("Phonetic MiddleName"), StoreKey::PhoneticMiddleName);
    for (const QString &id : QNPerson::stringIdentifiers())
        EXPECT_TRUE(keys.contains(id)) << qPrintable(id);
}

TEST(QNPersonIdentifiers, DisplayNames)
{
    EXPECT_EQ(QNPerson::localizedIdentifierForKey("ZIP"),
              StoreValueKey::localizedString(StoreValueKey::PostalCode));
    EXPECT_EQ(QNPerson::localizedIdentifierForKey("ZIP"), "ZIP");
    EXPECT_EQ(QNPerson::localizedIdentifierForKey("Title"), "Prefix");
    EXPECT_EQ(QNPerson::localizedIdentifierForKey("Phone"), "Phone");
    EXPECT_EQ(QNPerson::localizedIdentifierForKey("Name"), "Name");
    EXPECT_EQ(QNPerson::localizedIdentifierForKey("CountryCode"), "CountryCode");
}

// Several threads add labels while others read the tables; every label arrives once, and the
// display texts keep step with the labels.
TEST_F(QNPersonThreads, ConcurrentLabelChangesAndReads)
{
    const QString id = "Test Threads";
    constexpr int writers = 4;
    constexpr int perWriter = 150;
    std::vector<std::thread> threads;
    for (int w = 0; w < writers; ++w) {
        threads.emplace_back([w, id] {
            for (int n = 0; n < perWriter; ++n) {
                QNPerson::setLabel("", QStringLiteral("t%1-%2").arg(w).arg(n), id);
                if (n % 10 == 0)
                    QNPerson::setLabel(QStringLiteral("t%1-%2").arg(w).arg(n),
                                       QStringLiteral("r%1-%2").arg(w).arg(n), id);
            }
        });
        threads.emplace_back([id] {
            for (int n = 0; n < perWriter; ++n) {
                const QNPerson::LabelTable table = QNPerson::labelTableDict();
                (void)table.value(id).size();
                (void)QNPerson::localizedLabelsForIdentifier(id);
                (void)QNPerson::addressFormatDict().value("JP");
                (void)QNPerson::customItems();
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(labels(id).size(), writers * perWriter);
    EXPECT_EQ(localizedLabels(id), labels(id));
    EXPECT_EQ(customLabels(id), labels(id));
    EXPECT_TRUE(labels(id).contains("r3-140"));
    EXPECT_FALSE(labels(id).contains("t3-140"));
}

} // namespace
