#include "app/SaveFixture.h"

#include "app/ImportPanelController.h"
#include "platform/widgets/FilePanel.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>

// A real multi-card file with Japanese names goes the whole way: detected as Shift-JIS, parsed
// under the progress window, chosen, added, saved, and read back by a fresh load.
class ImportRoundTripTest : public SaveFixture
{
protected:
    void SetUp() override
    {
        m_labelsBefore = QNPerson::customLabelTableDict();
        SaveFixture::SetUp();
    }
    void TearDown() override
    {
        FilePanel::resetTestState();
        SaveFixture::TearDown();
        // The file's own labels and its X-GN item joined the class-level tables.
        QNPerson::setCustomItems({});
        const auto after = QNPerson::customLabelTableDict();
        for (auto it = after.cbegin(); it != after.cend(); ++it) {
            for (const QString &label : it.value()) {
                if (!m_labelsBefore.value(it.key()).contains(label))
                    QNPerson::removeLabel(label, it.key());
            }
        }
    }

    QNPerson::LabelTable m_labelsBefore;
};

TEST_F(ImportRoundTripTest, ImportedJapaneseContactsAreThereAfterSaveAndReload)
{
    FilePanel::setNextPath(TestEnvironment::dataPath("vcards/feature-phone-sjis.vcf"));
    window->importFromVCard();
    ImportPanelController *chooser = window->importPanelController();
    ASSERT_TRUE(spinUntil([chooser] { return chooser->isSheetOpen(); }));
    ASSERT_EQ(chooser->nameTable().size(), 2);
    chooser->nameTableView()->selectAll();
    chooser->selectButton()->click();
    ASSERT_TRUE(view()->isDocumentEdited());

    delegate->saveDocument();
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());

    AddressBookLoader fresh;
    fresh.loadAddressBook();
    QStringList familyNames;
    QStringList phones;
    for (const ContactRowPtr &row : *fresh.containerTable().first()->topGroup()->contactTable) {
        familyNames.append(row->person->nameValue().value(PersonKey::LastName).toString());
        for (const QVariant &entry : row->person->labeledValueForIdentifier(QStringLiteral("Phone")))
            phones.append(entry.toMap().value(PersonKey::Value).toString());
    }
    // Values nobody looked at before the save (the imported records read them on first use).
    EXPECT_TRUE(phones.contains(QStringLiteral("080-5555-6666"))) << phones.join(',').toStdString();
    EXPECT_TRUE(phones.contains(QStringLiteral("0120-000-000"))) << phones.join(',').toStdString();
    EXPECT_TRUE(familyNames.contains(QStringLiteral("鈴木"))) << familyNames.join(',').toStdString();
    EXPECT_TRUE(familyNames.contains(QStringLiteral("高橋"))) << familyNames.join(',').toStdString();
    EXPECT_EQ(familyNames.size(), 5);
}

// Custom items that a file brings are known as soon as its contacts are added: the Items menu
// lists them, and an export made before any save writes them.
TEST_F(ImportRoundTripTest, ImportedCustomItemsAreListedAndExportedAtOnce)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("members.vcf"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Berg;Karin;;;\r\nX-MEMBERNO:4711\r\nEND:VCARD\r\n");
    out.close();
    FilePanel::setNextPath(file);
    window->importFromVCard();
    ImportPanelController *chooser = window->importPanelController();
    ASSERT_TRUE(spinUntil([chooser] { return chooser->isSheetOpen(); }));
    chooser->nameTableView()->selectAll();
    chooser->selectButton()->click();

    QStringList listed;
    for (const QAction *item : window->itemsPopup()->menu()->actions())
        listed.append(item->text());
    EXPECT_TRUE(listed.contains(QStringLiteral("MEMBERNO (String Value)"))) << listed.join(',').toStdString();
    const QString exported = folder.filePath(QStringLiteral("all.vcf"));
    FilePanel::setNextPath(exported);
    window->exportToVCard(nullptr);
    QFile written(exported);
    ASSERT_TRUE(spinUntil([&] { return written.size() > 0 && !window->isExporting(); }));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("X-MEMBERNO:4711"));
}
