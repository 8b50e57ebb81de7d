#include "FileFixture.h"

#include <QScrollBar>
#include <QTimer>

namespace {

QStringList names(const ContactTable &rows)
{
    QStringList result;
    for (const ContactRowPtr &row : rows)
        result.append(row->deleted ? QStringLiteral("-") + row->person->compositeName()
                                   : row->person->compositeName());
    return result;
}

} // namespace

class FileImportTest : public FileFixture
{
protected:
    ImportPanelController *chooserWhenOpen()
    {
        ImportPanelController *chooser = m_window->importPanelController();
        return spinUntil([chooser] { return chooser->isSheetOpen(); }) ? chooser : nullptr;
    }
    // Makes these rows the chosen ones.
    static void select(ImportPanelController *chooser, const QList<int> &rows)
    {
        chooser->nameTableView()->clearSelection();
        for (int row : rows)
            chooser->nameTableView()->selectionModel()->select(
                chooser->nameTableView()->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
};

TEST_F(FileImportTest, VCardImportAddsTheChosenRowsInOneUndoStep)
{
    FilePanel::setNextPath(writeFile("four.vcf", cards({"Cid", "Dee", "Eve", "Fay"})));
    m_window->importFromVCard();
    EXPECT_TRUE(m_window->isExporting());

    ImportPanelController *chooser = chooserWhenOpen();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(m_window->progressAlert()->progress(), 100);
    EXPECT_EQ(m_window->progressAlert()->alertMessage()->text(), "Reading the file: four.vcf");
    EXPECT_EQ(chooser->importFilename()->text(), "four.vcf");
    ASSERT_EQ(chooser->nameTable().size(), 4);
    EXPECT_EQ(FilePanel::shownPanels().first().allowedFileTypes,
              QStringList({"public.vcard", "public.plain-text"}));
    select(chooser, {3, 0, 2});
    chooser->selectButton()->click();

    EXPECT_FALSE(m_window->isExporting());
    EXPECT_EQ(names(*top->contactTable), QStringList({"Ann", "Bob", "Cid", "Eve", "Fay"}));
    EXPECT_TRUE(view()->isDocumentEdited());
    // No group came from CATEGORIES.
    EXPECT_EQ(view()->containerTable().first()->groups.size(), 1);
    view()->undoManager()->closeAutomaticGroup();
    view()->undo();
    EXPECT_EQ(names(*top->contactTable), QStringList({"Ann", "Bob", "-Cid", "-Eve", "-Fay"}));
    EXPECT_FALSE(view()->undoManager()->canUndo());
}

TEST_F(FileImportTest, EncodedValuesWithoutCharsetAreReadInTheFileEncoding)
{
    FilePanel::setNextPath(TestEnvironment::dataPath("vcards/real-world/qp-shift-jis-without-charset.vcf"));
    m_window->importFromVCard();
    ImportPanelController *chooser = chooserWhenOpen();
    ASSERT_TRUE(chooser);
    ASSERT_EQ(chooser->nameTable().size(), 1);
    EXPECT_EQ(chooser->nameTable().first()->person->stringValueForIdentifier("Note"),
              "携帯は夜つながりにくい");
    chooser->cancelButton()->click();
}

// A quoted-printable value whose last line ends in a soft line break right before END:VCARD
// ends with its card: that card and the next ones keep every value.
TEST_F(FileImportTest, ASoftBreakBeforeTheEndLineKeepsTheCard)
{
    FilePanel::setNextPath(TestEnvironment::dataPath("vcards/real-world/qp-soft-break-before-end.vcf"));
    m_window->importFromVCard();
    ImportPanelController *chooser = chooserWhenOpen();
    ASSERT_TRUE(chooser);
    const ContactTable rows = chooser->nameTable();
    EXPECT_EQ(names(rows), QStringList({"山田 花子", "Ann Lee", "Bob Roe", "Card Last"}));
    ASSERT_EQ(rows.size(), 4);
    QNPerson &hanako = *rows.at(0)->person;
    EXPECT_EQ(hanako.stringValueForIdentifier("Note"), "一行目\n二行目");
    EXPECT_EQ(hanako.labeledValueForIdentifier("Phone").size(), 1);
    QNPerson &ann = *rows.at(1)->person;
    EXPECT_EQ(ann.stringValueForIdentifier("HOBBY"), "chess and go");
    EXPECT_EQ(ann.labeledValueForIdentifier("Phone").size(), 1);
    const std::optional<QVariantMap> address =
        rows.at(2)->person->labeledValueForIdentifierAtIndex("Address", 0);
    ASSERT_TRUE(address);
    EXPECT_EQ(address->value(PersonKey::Street), "1 Main St\nFlat 2");
    EXPECT_EQ(address->value(PersonKey::ZIP), "62701");
    EXPECT_EQ(rows.at(3)->person->labeledValueForIdentifier("Email").size(), 1);
    chooser->cancelButton()->click();
}

// Every row is chosen at first and previewed from the first; Add is offered only while rows are
// chosen, and accepting without any adds nothing.
TEST_F(FileImportTest, TheChooserStartsWithEveryRowChosen)
{
    FilePanel::setNextPath(writeFile("two.vcf", cards({"Cid", "Dee"})));
    m_window->importFromVCard();
    ImportPanelController *chooser = chooserWhenOpen();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(chooser->selectedIndexes(), QList<int>({0, 1}));
    EXPECT_EQ(chooser->contactInfoController()->contact(), chooser->nameTable().at(0));
    EXPECT_TRUE(chooser->selectButton()->isEnabled());
    select(chooser, {});
    EXPECT_FALSE(chooser->selectButton()->isEnabled());
    chooser->selectButton()->click();
    // A disabled Add cannot be clicked; accepting anyway adds nothing.
    EXPECT_TRUE(chooser->isSheetOpen());
    chooser->endSheet(1);
    EXPECT_EQ(top->contactTable->size(), 2);
    EXPECT_FALSE(view()->isDocumentEdited());
    EXPECT_FALSE(m_window->isExporting());

    // The chooser is reused: the next file starts chosen again.
    FilePanel::setNextPath(writeFile("one.vcf", cards({"Eve"})));
    m_window->importFromVCard();
    ASSERT_TRUE(chooserWhenOpen());
    EXPECT_TRUE(chooser->selectButton()->isEnabled());
    chooser->selectButton()->click();
    EXPECT_EQ(names(*top->contactTable), QStringList({"Ann", "Bob", "Eve"}));
}

TEST_F(FileImportTest, CancelInTheProgressWindowChangesNothing)
{
    Sheet::setNextModalResponse(ProgressAlert::Abort);
    FilePanel::setNextPath(writeFile("one.vcf", cards({"Cid"})));
    m_window->importFromVCard();
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_FALSE(m_window->importPanelController()->isSheetOpen());
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());
    EXPECT_EQ(top->contactTable->size(), 2);

    // A CSV file's read is cancelled the same way.
    Sheet::setNextModalResponse(ProgressAlert::Abort);
    FilePanel::setNextPath(writeFile("one.csv", "Name\nCid\n"));
    m_window->importFromCSV();
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_FALSE(m_window->importPanelController()->isSheetOpen());
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());
    EXPECT_EQ(top->contactTable->size(), 2);

    // The command starts again at once, and the cancelled job's late close does not end this run.
    FilePanel::setNextPath(writeFile("two.vcf", cards({"Dee", "Eve"})));
    m_window->importFromVCard();
    ImportPanelController *chooser = chooserWhenOpen();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(chooser->nameTable().size(), 2);
    chooser->cancelButton()->click();
    EXPECT_FALSE(m_window->isExporting());
}

struct ReadFailure
{
    const char *name;
    QByteArray data;
    bool csv;
    const char *informative;
};

class ImportFailureTest : public FileImportTest, public ::testing::WithParamInterface<ReadFailure>
{
};

TEST_P(ImportFailureTest, ShowsTheAlertAndFreesTheCommand)
{
    const ReadFailure failure = GetParam();
    FilePanel::setNextPath(failure.data.isNull() ? path("missing.vcf")
                                                 : writeFile(failure.name, failure.data));
    failure.csv ? m_window->importFromCSV() : m_window->importFromVCard();
    ASSERT_TRUE(spinUntil([] { return !Alert::shownAlerts().isEmpty(); }));
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(Alert::lastShown().messageText, QStringLiteral("Couldn't read the file “%1”.")
                                                  .arg(failure.data.isNull() ? "missing.vcf" : failure.name));
    EXPECT_TRUE(Alert::lastShown().informativeText.contains(failure.informative))
        << Alert::lastShown().informativeText.toStdString();
    EXPECT_TRUE(Alert::lastShown().asSheet);
    EXPECT_EQ(top->contactTable->size(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImportFailureTest,
    ::testing::Values(ReadFailure{"text.vcf", "just some text\nno cards here\n", false,
                                  "Please make sure the file is vCard 2.1/3.0 file."},
                      ReadFailure{"missing.vcf", QByteArray(), false, "missing.vcf"},
                      ReadFailure{"missing.csv", QByteArray(), true,
                                  "Please make sure the file is a valid CSV file."},
                      ReadFailure{"empty.csv", "", true, "Please make sure the file is a valid CSV file."},
                      ReadFailure{"picture.csv", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\0\0\0\0\0IHDR,Name", 25),
                                  true, "The file is not a text file, so it holds no table of contacts."},
                      ReadFailure{"products.csv", "Product,Price\nWidget,3.50\n", true,
                                  "The file's first line names no column that can be read"}));

TEST_F(FileImportTest, CsvImportParsesUnderTheProgressWindow)
{
    FilePanel::setNextPath(writeFile("people.csv", "Name,Home Phone\nCid Poe,123\nDee,456\n"));
    m_window->importFromCSV();
    ImportPanelController *chooser = chooserWhenOpen();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(m_window->progressAlert()->alertMessage()->text(), "Reading the file: people.csv");
    EXPECT_EQ(m_window->progressAlert()->progress(), 100);
    EXPECT_EQ(FilePanel::shownPanels().first().title, "Import from CSV");
    ASSERT_EQ(chooser->nameTable().size(), 2);
    select(chooser, {1});
    EXPECT_EQ(chooser->contactInfoController()->contact(), chooser->nameTable().at(1));
    EXPECT_FALSE(chooser->contactInfoController()->editState());
    chooser->selectButton()->click();
    EXPECT_EQ(names(*top->contactTable), QStringList({"Ann", "Bob", "Dee"}));
}

TEST_F(FileImportTest, TheBusyFlagBlocksEveryFileCommand)
{
    m_window->setIsExporting(true);
    m_grid->exportSelection = {top->contactTable->first()};
    m_window->importFromVCard();
    m_window->importFromCSV();
    m_window->exportToVCard(m_window.get());
    m_window->exportToCSV(m_window.get());
    QCoreApplication::processEvents();
    EXPECT_TRUE(FilePanel::shownPanels().isEmpty());
    EXPECT_TRUE(m_window->isExporting());

    m_window->setIsExporting(false);
    FilePanel::setNextCancel();
    m_window->importFromVCard();
    EXPECT_TRUE(m_window->isExporting());
    ASSERT_TRUE(waitUntilIdle());
}

TEST_F(FileImportTest, ChooserListsNamelessContactsAndPreviewsTheFirstSelected)
{
    ImportPanelController *chooser = m_window->importPanelController();
    ContactTable rows{contact("Cid"), contact(""), contact("Eve")};
    chooser->setFilename("x.vcf");
    chooser->setNameTable(rows);
    // The record names a nameless contact itself; the list never shows an empty line.
    EXPECT_EQ(chooser->nameTableView()->item(1, 0)->text(), rows.at(1)->person->compositeName());
    EXPECT_FALSE(chooser->nameTableView()->item(1, 0)->text().isEmpty());
    select(chooser, {2, 1});
    EXPECT_EQ(chooser->selectedIndexes(), QList<int>({1, 2}));
    EXPECT_EQ(chooser->contactInfoController()->contact(), rows.at(1));
}

// The preview shows each contact from its top, without the row chosen in the one before; adding
// rows to the choice keeps the shown contact where it is.
TEST_F(FileImportTest, EachPreviewedContactStartsAtItsTopUnselected)
{
    ImportPanelController *chooser = m_window->importPanelController();
    ContactTable rows{contact("Cid"), contact("Dee"), contact("Eve")};
    chooser->setFilename("x.vcf");
    chooser->setNameTable(rows);
    chooser->show();
    DetailTableController *preview = chooser->contactInfoController();
    QScrollBar *scroll = preview->tableView()->verticalScrollBar();
    EXPECT_TRUE(preview->selectedRows().isEmpty());

    select(chooser, {1});
    const int last = int(preview->table().size()) - 1;
    preview->selectRow(last);
    QCoreApplication::processEvents();
    ASSERT_GT(scroll->value(), 0);
    chooser->nameTableView()->selectionModel()->select(chooser->nameTableView()->model()->index(2, 0),
                                                       QItemSelectionModel::Select |
                                                           QItemSelectionModel::Rows);
    EXPECT_EQ(preview->contact(), rows.at(1));
    EXPECT_EQ(preview->selectedRows(), QList<int>{last});

    select(chooser, {2});
    EXPECT_EQ(preview->contact(), rows.at(2));
    EXPECT_TRUE(preview->selectedRows().isEmpty());
    EXPECT_EQ(scroll->value(), 0);
    chooser->hide();
}

TEST(ProgressAlertTest, ALateCloseOfACancelledJobDoesNotEndTheNextRun)
{
    ProgressAlert panel;
    ProgressAlert::Reporter first = panel.beginRun("first");
    Sheet::setNextModalResponse(ProgressAlert::Abort);
    EXPECT_EQ(panel.runModal(), ProgressAlert::Abort);

    panel.beginRun("second");
    first.setProgress(50);
    first.requestClose();
    QTimer::singleShot(100, &panel, [&panel] { panel.cancelButton()->click(); });
    EXPECT_EQ(panel.runModal(), ProgressAlert::Abort);
    EXPECT_EQ(panel.progress(), 0);

    ProgressAlert::Reporter third = panel.beginRun("third");
    third.setProgress(40);
    third.requestClose();
    EXPECT_EQ(panel.runModal(), ProgressAlert::Stop);
    EXPECT_EQ(panel.progress(), 100);
    // Escape and the close button cancel.
    panel.beginRun("fourth");
    QTimer::singleShot(0, &panel, [&panel] { panel.reject(); });
    EXPECT_EQ(panel.runModal(), ProgressAlert::Abort);
}

// Each alert names its file, and the next file waits for the alert's answer.
TEST_F(FileImportTest, EachUnreadableFileHandedOverHasAnAlertNamingIt)
{
    const QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    m_window->importFiles({writeFile("empty.vcf", ""), writeFile("picture.csv", png)});
    ASSERT_TRUE(spinUntil([] { return Alert::shownAlerts().size() == 2; }));
    ASSERT_TRUE(waitUntilIdle());
    EXPECT_EQ(Alert::shownAlerts().at(0).messageText, "Couldn't read the file “empty.vcf”.");
    EXPECT_EQ(Alert::shownAlerts().at(1).messageText, "Couldn't read the file “picture.csv”.");
    EXPECT_EQ(top->contactTable->size(), 2);
}

// Files from the desktop's "Open With" are imported one after another, each through the chooser;
// a missing file is reported and the next one still comes.
TEST_F(FileImportTest, FilesHandedOverAreImportedOneAfterAnother)
{
    const QString csv = writeFile("people.CSV", "First name,Last name\nGil,Ode\n");
    m_window->importFiles({writeFile("one.vcf", cards({"Cid"})), path("missing.vcf"), csv});

    ImportPanelController *chooser = chooserWhenOpen();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(chooser->importFilename()->text(), "one.vcf");
    chooser->selectButton()->click();
    EXPECT_TRUE(spinUntil([] { return !Alert::shownAlerts().isEmpty(); }));
    EXPECT_EQ(Alert::shownAlerts().first().messageText, "Couldn't read the file “missing.vcf”.");

    chooser = chooserWhenOpen();
    ASSERT_TRUE(chooser);
    EXPECT_EQ(chooser->importFilename()->text(), "people.CSV");
    chooser->selectButton()->click();
    EXPECT_TRUE(waitUntilIdle());
    EXPECT_EQ(names(*top->contactTable), QStringList({"Ann", "Bob", "Cid", "Gil Ode"}));
}
