#include "WidgetsFixture.h"

#include "platform/widgets/FilePanel.h"

#include <QComboBox>
#include <QFileDialog>
#include <QPointer>

namespace {

class FilePanelTest : public WidgetsFixture
{
protected:
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
    EXPECT_EQ(accessory->window(), dialog);
    EXPECT_EQ(dialog->defaultSuffix(), "vcf");
    EXPECT_EQ(dialog->labelText(QFileDialog::FileName), "Export As:");
    dialog->reject();
    QCoreApplication::processEvents();
    EXPECT_TRUE(answer.isEmpty());
    ASSERT_FALSE(accessory.isNull());
    EXPECT_EQ(accessory->parentWidget(), &owner);
}

} // namespace
