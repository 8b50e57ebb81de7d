#include "importexport/CsvImportRun.h"
#include "importexport/ProgressAlert.h"
#include "platform/widgets/Sheet.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A table of that many contacts in our own layout.
QString csvOf(int contacts)
{
    QString text = QStringLiteral("Name,Home Phone\n");
    for (int i = 0; i < contacts; ++i)
        text += QStringLiteral("Person %1,555-%1\n").arg(i);
    return text;
}

class CsvImportRunTest : public ::testing::Test
{
protected:
    void TearDown() override { Sheet::resetTestState(); }

    ProgressAlert m_alert;
};

// The read runs under the progress window, which names the file and ends at 100.
TEST_F(CsvImportRunTest, ReadsUnderTheProgressWindow)
{
    const std::optional<QNvCard::CsvImport> read =
        contactsFromCSVWithProgress(m_alert, csvOf(3), "people.csv");
    ASSERT_TRUE(read);
    ASSERT_EQ(read->rows.size(), 3);
    EXPECT_EQ(read->rows.at(2)->person->compositeName(), "Person 2");
    EXPECT_EQ(m_alert.alertMessage()->text(), "Reading the file: people.csv");
    EXPECT_EQ(m_alert.progress(), 100);

    const std::optional<QNvCard::CsvImport> unknown =
        contactsFromCSVWithProgress(m_alert, QStringLiteral("a,b\n1,2\n"), "other.csv");
    ASSERT_TRUE(unknown);
    EXPECT_FALSE(unknown->error.isEmpty());
}

// Cancel in the window gives nothing, however far the read got; the next read runs as before.
TEST_F(CsvImportRunTest, CancelGivesNothing)
{
    QTimer::singleShot(0, &m_alert, [this] { m_alert.cancelButton()->click(); });
    EXPECT_FALSE(contactsFromCSVWithProgress(m_alert, csvOf(100'000), "large.csv"));
    Sheet::setNextModalResponse(ProgressAlert::Abort);
    EXPECT_FALSE(contactsFromCSVWithProgress(m_alert, csvOf(1), "one.csv"));
    EXPECT_TRUE(contactsFromCSVWithProgress(m_alert, csvOf(1), "one.csv"));
}

} // namespace
