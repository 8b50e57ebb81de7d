#include "WidgetsFixture.h"

#include "platform/UserDefaults.h"
#include "platform/widgets/FilePanel.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QPointer>
#include <QTemporaryDir>

namespace {

class FilePanelTest : public WidgetsFixture
{
protected:
    // Every test starts as on the first run: no folder remembered.
    void SetUp() override
    {
        WidgetsFixture::SetUp();
        UserDefaults::standard().removeObjectForKey(FilePanel::LastDirectoryKey);
    }

    static FilePanel exportPanel()
    {
        FilePanel panel(FilePanel::Kind::Save);
        panel.setNameFieldLabel("Export As:");
        panel.setNameFieldStringValue("Jane Doe.vcf");
        panel.setAllowedFileTypes({"public.vCard", "public.plain-text"});
        return panel;
    }

    QWidget m_window;
};

TEST_F(FilePanelTest, QueuedPathsAndCancelsAnswerInOrder)
{
    FilePanel::setNextPath("/tmp/a.vcf");
    FilePanel::setNextCancel();
    EXPECT_EQ(exportPanel().runModal(), "/tmp/a.vcf");
    EXPECT_EQ(exportPanel().runModal(), "");

    const QList<FilePanel::Record> shown = FilePanel::shownPanels();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown.at(0).kind, FilePanel::Kind::Save);
    EXPECT_EQ(shown.at(0).nameFieldLabel, "Export As:");
    EXPECT_EQ(shown.at(0).nameFieldStringValue, "Jane Doe.vcf");
    EXPECT_EQ(shown.at(0).answer, "/tmp/a.vcf");
}

TEST_F(FilePanelTest, TestModeCancelsAnUnansweredSheet)
{
    TestMode::setEnabled(true);
    QString answer = "unset";
    FilePanel panel(FilePanel::Kind::Open);
    panel.setAllowedFileTypes({"public.image"});
    panel.beginSheetModalForWindow(&m_window, [&answer](const QString &path) { answer = path; });
    EXPECT_EQ(answer, "unset");
    QCoreApplication::processEvents();
    EXPECT_TRUE(answer.isEmpty());
    EXPECT_TRUE(FilePanel::shownPanels().constLast().asSheet);
}

TEST_F(FilePanelTest, NameFiltersFollowTheAllowedTypes)
{
    EXPECT_EQ(FilePanel::nameFilters({"public.vcard", "public.plain-text"}, FilePanel::Kind::Open),
              QStringList({"vCard, Plain Text (*.vcf *.VCF *.vcard *.VCARD *.txt *.TXT *.text *.TEXT)",
                           "vCard (*.vcf *.VCF *.vcard *.VCARD)", "Plain Text (*.txt *.TXT *.text *.TEXT)"}));
    EXPECT_EQ(FilePanel::nameFilters({"public.comma-separated-values-text", "pdf"}, FilePanel::Kind::Save),
              QStringList({"CSV (*.csv *.CSV)", "PDF (*.pdf *.PDF)"}));
    EXPECT_TRUE(
        FilePanel::nameFilters({"public.image"}, FilePanel::Kind::Open).constFirst().contains("*.png"));
}

TEST_F(FilePanelTest, PanelsOpenAtHomeFirstThenInTheLastChosenFolder)
{
    QTemporaryDir exportFolder;
    QTemporaryDir importFolder;
    FilePanel::setNextPath(exportFolder.filePath("Jane Doe.vcf"));
    FilePanel::setNextCancel();
    FilePanel::setNextPath(importFolder.filePath("b.csv"));
    EXPECT_FALSE(exportPanel().runModal().isEmpty());
    EXPECT_TRUE(FilePanel(FilePanel::Kind::Open).runModal().isEmpty());
    FilePanel(FilePanel::Kind::Open).runModal();

    const QList<FilePanel::Record> shown = FilePanel::shownPanels();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown.at(0).directory, QDir::homePath());
    EXPECT_EQ(shown.at(1).directory, exportFolder.path());
    // A cancel remembers nothing.
    EXPECT_EQ(shown.at(2).directory, exportFolder.path());
    // Kept for the next start of this edition.
    EXPECT_EQ(UserDefaults(UserDefaults::defaultPath()).stringForKey(FilePanel::LastDirectoryKey),
              importFolder.path());

    // A remembered folder that is gone falls back to home; a folder set for the panel wins.
    importFolder.remove();
    FilePanel::setNextCancel();
    FilePanel::setNextCancel();
    FilePanel gone(FilePanel::Kind::Open);
    gone.runModal();
    FilePanel chosen(FilePanel::Kind::Open);
    chosen.setDirectory(exportFolder.path());
    chosen.runModal();
    EXPECT_EQ(FilePanel::shownPanels().at(3).directory, QDir::homePath());
    EXPECT_EQ(FilePanel::shownPanels().at(4).directory, exportFolder.path());
}

// The real panel: the accessory is shown in it and handed back to its parent when it ends.
TEST_F(FilePanelTest, AccessoryReturnsToItsOwnerAfterTheSheet)
{
    QWidget owner;
    QPointer<QComboBox> accessory = new QComboBox(&owner);
    FilePanel panel = exportPanel();
    panel.setAccessoryView(accessory);
    QString answer = "unset";
    panel.beginSheetModalForWindow(&m_window, [&answer](const QString &path) { answer = path; });

    auto *dialog = m_window.findChild<QFileDialog *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->directory().absolutePath(), QDir::homePath());
    EXPECT_EQ(accessory->window(), dialog);
    EXPECT_EQ(dialog->defaultSuffix(), "vcf");
    EXPECT_EQ(dialog->labelText(QFileDialog::FileName), "Export As:");
    dialog->reject();
    QCoreApplication::processEvents();
    EXPECT_TRUE(answer.isEmpty());
    ASSERT_FALSE(accessory.isNull());
    EXPECT_EQ(accessory->parentWidget(), &owner);
}

TEST_F(FilePanelTest, TheRealPanelRemembersTheFolderOfTheChosenFile)
{
    QTemporaryDir folder;
    FilePanel panel = exportPanel();
    panel.beginSheetModalForWindow(&m_window, [](const QString &) {});
    auto *dialog = m_window.findChild<QFileDialog *>();
    ASSERT_NE(dialog, nullptr);
    dialog->selectFile(folder.filePath("Jane Doe.vcf"));
    // QFileDialog::accept() is protected; called through QDialog it is still the file dialog's.
    static_cast<QDialog *>(dialog)->accept();
    QCoreApplication::processEvents();
    EXPECT_EQ(UserDefaults::standard().stringForKey(FilePanel::LastDirectoryKey), folder.path());
}

} // namespace

TEST(FilePanelNames, ProposedNamesAreSafe)
{
    EXPECT_EQ(FilePanel::safeFileName("Ann Lee"), "Ann Lee");
    EXPECT_EQ(FilePanel::safeFileName("a/b\\c:d*e?\"<>|"), "a_b_c_d_e_____");
    EXPECT_EQ(FilePanel::safeFileName(".."), "Contact");
    EXPECT_EQ(FilePanel::safeFileName(""), "Contact");
}
