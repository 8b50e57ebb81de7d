#include "app/SaveFixture.h"

#include "addressbook/AddressBookLoader.h"
#include "app/ImportPanelController.h"
#include "editors/DateControls.h"
#include "editors/DateEditorAdapter.h"
#include "editors/DateViewController.h"
#include "platform/widgets/FilePanel.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

class DateRoundTripTest : public SaveFixture
{
protected:
    void TearDown() override
    {
        FilePanel::resetTestState();
        SaveFixture::TearDown();
    }
};

// 29 February without a year goes the whole way: imported, edited in the birthday editor (a leap
// year typed and taken out again), saved, read by a fresh load and exported as it came in.
TEST_F(DateRoundTripTest, TwentyNinthOfFebruaryWithoutAYearSurvivesEditSaveAndExport)
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("leap.vcf"));
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lind;Ada;;;\r\nBDAY:--02-29\r\nEND:VCARD\r\n");
    in.close();
    FilePanel::setNextPath(file);
    window->importFromVCard();
    ImportPanelController *chooser = window->importPanelController();
    ASSERT_TRUE(spinUntil([chooser] { return chooser->isSheetOpen(); }));
    chooser->nameTableView()->selectAll();
    chooser->selectButton()->click();
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

    const QString exported = folder.filePath(QStringLiteral("all.vcf"));
    FilePanel::setNextPath(exported);
    window->exportToVCard(nullptr);
    QFile written(exported);
    ASSERT_TRUE(spinUntil([&] { return written.size() > 0 && !window->isExporting(); }));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("\r\nBDAY:--02-29\r\n"));
}
