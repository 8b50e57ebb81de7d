#include "app/SaveFixture.h"

#include "addressbook/AddressBookLoader.h"
#include "app/ImportPanelController.h"
#include "app/MenuCommand.h"
#include "editors/DateControls.h"
#include "editors/DateEditorAdapter.h"
#include "editors/DateViewController.h"
#include "platform/widgets/FilePanel.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
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

    // Imports every card of the text through File > Import vCard.
    void importCards(const QByteArray &cards)
    {
        const QString file = m_folder.filePath(QStringLiteral("cards.vcf"));
        QFile in(file);
        ASSERT_TRUE(in.open(QIODevice::WriteOnly));
        in.write(cards);
        in.close();
        importThrough(MenuCommand::ImportFromVCard, file);
    }

    // What File > Export vCard writes of every contact.
    QByteArray exportedCards()
    {
        const QString exported = m_folder.filePath(QStringLiteral("all.vcf"));
        FilePanel::setNextPath(exported);
        window->exportToVCard(nullptr);
        QFile written(exported);
        if (!spinUntil([&] { return written.size() > 0 && !window->isExporting(); }) ||
            !written.open(QIODevice::ReadOnly))
            return {};
        return written.readAll();
    }

    // Imports every contact of the file through the menu item and the chooser.
    void importThrough(MenuCommand command, const QString &file)
    {
        FilePanel::setNextPath(file);
        window->menuItem(command)->trigger();
        ImportPanelController *chooser = window->importPanelController();
        ASSERT_TRUE(spinUntil([chooser] { return chooser->isSheetOpen(); }));
        chooser->nameTableView()->selectAll();
        chooser->selectButton()->click();
    }

    QNPerson::LabelTable m_labelsBefore;
    QTemporaryDir m_folder;
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
    importCards("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Berg;Karin;;;\r\nX-MEMBERNO:4711\r\nEND:VCARD\r\n");

    QStringList listed;
    for (const QAction *item : window->itemsPopup()->menu()->actions())
        listed.append(item->text());
    EXPECT_TRUE(listed.contains(QStringLiteral("MEMBERNO (String Value)"))) << listed.join(',').toStdString();
    EXPECT_TRUE(exportedCards().contains("X-MEMBERNO:4711"));
}

// 29 February without a year goes the whole way: imported, edited in the birthday editor (a leap
// year typed and taken out again), saved, read by a fresh load and exported as it came in.
TEST_F(ImportRoundTripTest, TwentyNinthOfFebruaryWithoutAYearSurvivesEditSaveAndExport)
{
    importCards("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lind;Ada;;;\r\nBDAY:--02-29\r\nEND:VCARD\r\n");
    const ContactRowPtr ada = row(top(), QStringLiteral("Ada"));
    ASSERT_TRUE(ada);

    DateEditorAdapter adapter;
    adapter.setContextInfo(ada, PersonIdentifier::Birthday, QVariant(), true);
    DateViewController *editor = adapter.editor();
    EXPECT_EQ(editor->dateField()->text(), "02.29");
    QLineEdit *year = editor->dateControls()->yearField();
    year->selectAll();
    QTest::keyClicks(year, "1984");
    EXPECT_EQ(editor->dateField()->text(), "1984.02.29(Wed)");
    year->selectAll();
    QTest::keyClick(year, Qt::Key_Backspace);
    QTest::mouseClick(editor->doneButton(), Qt::LeftButton);
    const std::optional<QVariant> edited = adapter.dirtyValue();
    ASSERT_TRUE(edited);
    // The year taken out again leaves the date as it came: no change to write.
    EXPECT_FALSE(view()->undoReplaceBirthday(*edited, ada));
    ASSERT_TRUE(delegate->saveDocument());
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());

    AddressBookLoader fresh;
    fresh.loadAddressBook();
    QVariantMap birthday;
    for (const ContactRowPtr &loaded : *fresh.containerTable().first()->topGroup()->contactTable)
        if (loaded->person->nameValue().value(PersonKey::FirstName) == QStringLiteral("Ada"))
            birthday = loaded->person->birthdayValue().value_or(QVariantMap());
    EXPECT_EQ(birthday.value(PersonKey::Value).toMap(), QVariantMap({{"month", 2}, {"day", 29}}));
    EXPECT_EQ(birthday.value(PersonKey::StringValue), "02.29");
    EXPECT_TRUE(exportedCards().contains("\r\nBDAY:--02-29\r\n"));
}

// Our own CSV export escapes a cell's backslashes, line breaks and tabs; reading the file back
// undoes that, so the copy of a note or a two-line street is the original, character for character.
TEST_F(ImportRoundTripTest, OwnCsvExportReadsBackWithItsLineBreaksAndTabs)
{
    importCards("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lind;Ada;;;\r\nNOTE:first line\\nsecond\tcolumn\r\n"
                "ADR;TYPE=HOME:;;12 Long Road\\nApt 4;Springfield;;;\r\nEND:VCARD\r\n");
    const ContactRowPtr ada = row(top(), QStringLiteral("Ada"));
    ASSERT_TRUE(ada);
    const QString note =
        QStringLiteral("first line\nsecond\tcolumn, see C:\\new\\table \\textbf{x}\r\nCR\rends \\");
    ASSERT_TRUE(view()->undoReplaceValue(note, QStringLiteral("Note"), ada, nullptr));
    view()->contactsViewController()->selectRowIndexesWithContacts({ada});
    QAction *exportItem = nullptr;
    for (QAction *item : window->contactPopup()->menu()->actions())
        if (menuCommand(item) == MenuCommand::ExportContactsAsCSV)
            exportItem = item;
    ASSERT_TRUE(exportItem);
    // As the menu does when it opens.
    exportItem->setEnabled(window->validateMenuItem(exportItem));
    const QString csv = m_folder.filePath(QStringLiteral("ada.csv"));
    FilePanel::setNextPath(csv);
    exportItem->trigger();
    ASSERT_TRUE(spinUntil([&] { return QFileInfo(csv).size() > 0 && !window->isExporting(); }));
    importThrough(MenuCommand::ImportFromCSV, csv);
    ASSERT_TRUE(delegate->saveDocument());

    AddressBookLoader fresh;
    fresh.loadAddressBook();
    int copies = 0;
    for (const ContactRowPtr &loaded : *fresh.containerTable().first()->topGroup()->contactTable) {
        QNPerson &person = *loaded->person;
        if (person.nameValue().value(PersonKey::FirstName) != QStringLiteral("Ada"))
            continue;
        ++copies;
        EXPECT_EQ(person.stringValueForIdentifier(QStringLiteral("Note")), note);
        EXPECT_EQ(person.labeledValueForIdentifierAtIndex(QStringLiteral("Address"), 0)->value("Street"),
                  "12 Long Road\nApt 4");
    }
    EXPECT_EQ(copies, 2);
}
