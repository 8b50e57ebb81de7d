#include "FileFixture.h"

#include "platform/FileWriter.h"

class FileExportTest : public FileFixture
{
protected:
    void SetUp() override
    {
        FileFixture::SetUp();
        ann = top->contactTable->at(0);
        ann->person->setValue(QStringLiteral("山田"), PersonKey::LastName);
        // Three grid rows of one contact, as three shown phone numbers give.
        for (int i = 0; i < 3; ++i) {
            auto row = std::make_shared<SubContactRow>();
            row->person = ann->person;
            row->uniqueId = ann->uniqueId;
            row->labelIndex = i;
            m_grid->exportSelection.append(row);
        }
    }

    ContactRowPtr ann;
};

TEST_F(FileExportTest, VCardExportWritesEachContactOnceAsUtf8)
{
    const QString target = path("out.vcf");
    FilePanel::setNextPath(target);
    m_window->exportToVCard(m_window.get());
    ASSERT_TRUE(waitUntilIdle());

    const FilePanel::Record panel = FilePanel::shownPanels().first();
    EXPECT_EQ(panel.kind, FilePanel::Kind::Save);
    EXPECT_EQ(panel.nameFieldLabel, "Export As:");
    EXPECT_EQ(panel.nameFieldStringValue, ann->person->compositeName() + ".vcf");
    const QString text = QString::fromUtf8(readFile(target));
    EXPECT_EQ(text.count("BEGIN:VCARD"), 1);
    EXPECT_TRUE(text.contains(QStringLiteral("山田"))) << text.toStdString();
    EXPECT_EQ(m_window->progressAlert()->alertMessage()->text(), "Writing the file: out.vcf");
    EXPECT_EQ(m_window->progressAlert()->progress(), 100);
    EXPECT_FALSE(view()->isDocumentEdited());
}

TEST_F(FileExportTest, WithoutASenderEveryContactOfTheGroupIsWritten)
{
    const QString target = path("all.vcf");
    FilePanel::setNextPath(target);
    m_window->exportToVCard(nullptr);
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(QString::fromUtf8(readFile(target)).count("BEGIN:VCARD"), 2);
}

TEST_F(FileExportTest, CancelWritesNothing)
{
    Sheet::setNextModalResponse(ProgressAlert::Abort);
    FilePanel::setNextPath(path("cancelled.vcf"));
    m_window->exportToVCard(m_window.get());
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_FALSE(QFile::exists(path("cancelled.vcf")));
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());
}

TEST_F(FileExportTest, CsvExportWritesTheHeaderAndOneLinePerContact)
{
    const QString target = path("out.csv");
    FilePanel::setNextPath(target);
    m_window->exportToCSV(m_window.get());
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(FilePanel::shownPanels().first().nameFieldLabel, "Export As CSV:");
    EXPECT_EQ(m_window->findChildren<ProgressAlert *>().size(), 0);
    const QStringList lines = QString::fromUtf8(readFile(target)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines.first().startsWith("Name,Home Phone"));
    EXPECT_TRUE(lines.at(1).contains(QStringLiteral("山田")));
}

class UnwritableExportTest : public FileExportTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(UnwritableExportTest, AnUnwritableDestinationSaysSoAndLeavesTheFlagFree)
{
    // Under a plain file no folder can be made, whoever runs the test.
    const QString blocker = writeFile("blocker", "x");
    const QString target = blocker + "/out.txt";
    FilePanel::setNextPath(target);
    GetParam() ? m_window->exportToCSV(m_window.get()) : m_window->exportToVCard(m_window.get());
    ASSERT_TRUE(waitUntilIdle());
    ASSERT_TRUE(spinUntil([] { return !Alert::shownAlerts().isEmpty(); }));
    EXPECT_EQ(Alert::lastShown().messageText, "Can't save the file");
    EXPECT_EQ(Alert::lastShown().informativeText, "Something error happened in saving operation.");
    EXPECT_FALSE(view()->isDocumentEdited());
}

INSTANTIATE_TEST_SUITE_P(Formats, UnwritableExportTest, ::testing::Bool());

TEST_F(FileExportTest, NothingSelectedShowsNoPanel)
{
    m_grid->exportSelection.clear();
    m_window->exportToVCard(m_window.get());
    m_window->exportToCSV(m_window.get());
    QCoreApplication::processEvents();
    EXPECT_TRUE(FilePanel::shownPanels().isEmpty());
    EXPECT_FALSE(m_window->isExporting());
}

TEST_F(FileExportTest, AFailedWriteKeepsTheOldFile)
{
    const QString target = writeFile("kept.vcf", "old");
    EXPECT_TRUE(FileExporter::writeFile(target, QStringLiteral("新しい").toUtf8()));
    EXPECT_EQ(QString::fromUtf8(readFile(target)), QStringLiteral("新しい"));
    EXPECT_FALSE(FileExporter::writeFile(path("kept.vcf/sub"), "x"));
    EXPECT_EQ(QString::fromUtf8(readFile(target)), QStringLiteral("新しい"));
    // A disk that fills part way leaves the old file whole.
    FileWriter::setSpaceLeftForTesting(4);
    EXPECT_FALSE(FileExporter::writeFile(target, "much longer than four bytes"));
    FileWriter::setSpaceLeftForTesting(std::nullopt);
    EXPECT_EQ(QString::fromUtf8(readFile(target)), QStringLiteral("新しい"));
}

// The toolbar's contact menu offers the CSV export that the File menu keeps disabled.
TEST_F(FileExportTest, ExportContactsAsCsvWritesTheWholeColumnTable)
{
    QAction *toolbarItem = nullptr;
    for (QAction *item : m_window->contactPopup()->menu()->actions()) {
        if (menuCommand(item) == MenuCommand::ExportContactsAsCSV)
            toolbarItem = item;
    }
    ASSERT_NE(toolbarItem, nullptr);
    m_grid->selectedRows = {std::make_shared<SubContactRow>()};
    toolbarItem->setEnabled(m_window->validateMenuItem(toolbarItem));
    EXPECT_TRUE(toolbarItem->isEnabled());
    EXPECT_FALSE(m_window->validateMenuItem(m_window->menuItem(MenuCommand::ExportToCSV)));

    const QString target = path("toolbar.csv");
    FilePanel::setNextPath(target);
    toolbarItem->trigger();
    ASSERT_TRUE(waitUntilIdle());
    const QStringList lines = QString::fromUtf8(readFile(target)).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines.first().count(',') + 1, 32);
    EXPECT_TRUE(lines.at(1).contains(QStringLiteral("山田")));
}
