#include "WindowFixture.h"
#include "addressbook/AddressBookFixture.h"
#include "print/PrintWindow.h"

#include <QPrintPreviewWidget>

#include "addressbook/DefaultsKey.h"
#include "app/MainMenu.h"
#include "platform/LogCapture.h"
#include "platform/PrintInfo.h"
#include "platform/widgets/Alert.h"

#include <QPushButton>
#include <QSplitter>

namespace {

const QString SetUpMethod = QStringLiteral("WindowController::windowDidLoad");

TEST_F(WindowFixture, AFirstStartStoresTheFilterLogsNothingAndShowsTheViewTypesColumns)
{
    LogCapture log;
    defaults().removePersistentDomain();
    makeWindow();
    EXPECT_TRUE(log.lines().isEmpty());
    EXPECT_EQ(defaults().arrayForKey(DefaultsKey::SelectedLabels), QVariantList{"All"});
    // The menu was built after the stored table was read, and stored it for the next start.
    EXPECT_TRUE(defaults().objectForKey(DefaultsKey::SortOptionsDict).isValid());
    // The grid learns the view type at the start, not only when one is chosen.
    EXPECT_EQ(m_grid->viewTypes, QStringList{"Email"});
    EXPECT_EQ(m_grid->view()->property("columnCount").toInt(), 2);

    LogCapture again;
    makeWindow();
    EXPECT_TRUE(again.lines().isEmpty());
}

TEST_F(WindowFixture, MissingViewTypesAreOnlyLoggedAndTheFirstItemChoiceRebuildsThem)
{
    defaults().removeObjectForKey(DefaultsKey::ViewTypeDict);
    LogCapture log;
    m_window->windowDidLoad();
    EXPECT_TRUE(log.contains(SetUpMethod + ": Error viewTypeDict is nil"));
    EXPECT_TRUE(m_window->viewTypeDict().isEmpty());

    m_window->itemsPopupSelected(
        itemFor(m_window->itemsPopup()->menu(), "Phone", MenuCommand::ItemsPopupSelected));
    EXPECT_EQ(m_window->viewTypeDict().value("Email").toStringList(), QStringList({"Name", "Phone"}));
    EXPECT_EQ(defaults().dictionaryForKey(DefaultsKey::ViewTypeDict), m_window->viewTypeDict());
}

TEST_F(WindowFixture, TheMenuBarAndTheToolbarMenusAreTitledFromTheLocalisationTables)
{
    Localizer::shared().setPreferredLanguages({QStringLiteral("ja")});
    makeWindow();
    MainMenu *menu = m_window->mainMenu();
    EXPECT_EQ(menu->menu("File")->title(), "ファイル");
    EXPECT_EQ(m_window->menuItem(MenuCommand::PrintDocument)->text(), "プリント…");
    EXPECT_EQ(m_window->menuItem(MenuCommand::SelectViewTypeMenu)->text(), "表示タイプを選択");
    EXPECT_EQ(menu->menu("Font")->actions().first()->text(), "フォントを表示");
    EXPECT_EQ(m_window->viewTypePopup()->menu()->actions().first()->text(), "表示タイプ");
    EXPECT_EQ(m_window->findBarButton()->text(), "検索");

    // A change of language reaches the titles at the next translation.
    Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
    menu->translate();
    EXPECT_EQ(menu->menu("File")->title(), "File");
    EXPECT_EQ(m_window->menuItem(MenuCommand::PrintDocument)->text(), "Print…");
}

TEST_F(WindowFixture, ExportAndPrintNeedASelectionAndTheCsvExportIsNeverOffered)
{
    QAction *csv = m_window->menuItem(MenuCommand::ExportToCSV);
    QAction *vCard = m_window->menuItem(MenuCommand::ExportToVCard);
    QAction *print = m_window->menuItem(MenuCommand::PrintDocument);
    QAction *import = m_window->menuItem(MenuCommand::ImportFromVCard);
    EXPECT_FALSE(validated(csv));
    EXPECT_FALSE(validated(vCard));
    EXPECT_FALSE(validated(print));
    EXPECT_TRUE(validated(import));

    m_grid->selectedRows = {std::make_shared<SubContactRow>()};
    EXPECT_FALSE(validated(csv));
    EXPECT_TRUE(validated(vCard));
    EXPECT_TRUE(validated(print));
    EXPECT_TRUE(validated(import));
}

// The edit state, the grid's columns and the side panes' widths are kept for the next start; a
// pane hidden at the time keeps the width it was last shown at.
TEST_F(WindowFixture, ClosingStoresTheWindowsStateForTheNextStart)
{
    m_window->resize(1200, 600);
    m_window->show();
    view()->setEditState(true);
    m_window->showGroupView(true);
    m_window->showContactInfo(true);
    view()->splitView()->setSizes({230, 520, 420});
    m_window->showContactInfo(false);
    m_window->close();
    EXPECT_TRUE(defaults().boolForKey(DefaultsKey::LastEditState));
    EXPECT_EQ(m_grid->columnSaves, 1);

    makeWindow();
    m_window->resize(1200, 600);
    m_window->show();
    m_window->showGroupView(true);
    m_window->showContactInfo(true);
    QCoreApplication::processEvents();
    const QList<int> sizes = view()->splitView()->sizes();
    EXPECT_EQ(sizes.at(0), 230);
    EXPECT_EQ(sizes.at(2), 420);
}

// --- printing -------------------------------------------------------------------------------

struct PrintRecord
{
    PrintOptionsPtr options = std::make_shared<QVariantMap>();
    QString style;
    QStringList columns;
    QList<SubContactRowPtr> receivers;
    bool printing = false;
    bool viewGivenToAccessory = false;
    PrintServices::PanelOptions panelOptions;
    int runs = 0;
};

// Stands in for the accessory and for the view, noting what the print command hands them.
struct PrintStandIn : PrintAccessoryInterface, PrintViewInterface
{
    explicit PrintStandIn(PrintRecord &record) : r(record) {}
    PrintOptionsPtr printOptions() override { return r.options; }
    void setPrintView(PrintViewInterface *view) override { r.viewGivenToAccessory = view; }
    void setColumns(const QStringList &columns) override { r.columns = columns; }
    QWidget *view() override { return nullptr; }
    void setPrinting(bool printing) override { r.printing = printing; }
    void setPrintInfo(PrintInfo *) override {}
    void setOptions(const PrintOptionsPtr &) override {}
    void setSelectedStyle(const QString &style) override { r.style = style; }
    void setReceiverPersons(const QList<SubContactRowPtr> &rows) override { r.receivers = rows; }
    void setSenderPerson(const QNPersonPtr &) override {}
    PrintRecord &r;
};

// The panel "prints" at once.
struct RecordingPrintServices : PrintServices
{
    explicit RecordingPrintServices(PrintRecord &record) : r(record) {}
    std::unique_ptr<PrintAccessoryInterface> makeAccessory() override
    {
        return std::make_unique<PrintStandIn>(r);
    }
    std::unique_ptr<PrintViewInterface> makePrintView(const QList<SubContactRowPtr> &, PrintInfo &,
                                                      const PrintOptionsPtr &) override
    {
        return std::make_unique<PrintStandIn>(r);
    }
    void runOperation(const Operation &operation) override
    {
        ++r.runs;
        r.panelOptions = operation.panelOptions;
        operation.completion(true);
    }
    PrintRecord &r;
};

TEST_F(WindowFixture, PrintingGivesTheViewAndTheOptionsTheLastStyleAndTheAccessoryTheShownColumns)
{
    PrintRecord record;
    m_window->setPrintServices(std::make_unique<RecordingPrintServices>(record));
    m_window->printDocument();
    EXPECT_EQ(record.runs, 0);

    defaults().setObject(QStringLiteral("Mailing Labels"), DefaultsKey::LastPrintStyle);
    m_grid->selectedRows = {std::make_shared<SubContactRow>(), std::make_shared<SubContactRow>()};
    m_window->printDocument();
    ASSERT_EQ(record.runs, 1);
    EXPECT_EQ(record.style, "Mailing Labels");
    EXPECT_EQ(record.options->value("printStyle").toString(), "Mailing Labels");
    EXPECT_EQ(PrintInfo::shared().value("FenwardePrintType").toString(), "Mailing Labels");
    EXPECT_EQ(PrintInfo::shared().margins(), QMarginsF());
    EXPECT_FALSE(PrintInfo::shared().isHorizontallyCentered());
    EXPECT_TRUE(record.printing);
    EXPECT_TRUE(record.viewGivenToAccessory);
    EXPECT_EQ(record.receivers, m_grid->selectedRows);
    EXPECT_EQ(record.columns, QStringList({"Name", "Email"}));
    EXPECT_EQ(record.panelOptions, PrintServices::ShowsPaperSize | PrintServices::ShowsOrientation);

    // Without a stored style the address list is printed.
    defaults().removeObjectForKey(DefaultsKey::LastPrintStyle);
    m_window->printDocument();
    EXPECT_EQ(record.style, "Address List");
}

TEST_F(WindowFixture, PrintOpensThePrintWindowWithAPreviewAndClosingItLeavesTheWindowReady)
{
    m_window->show();
    for (const char *name : {"Ann", "Bo", "Cy"}) {
        auto row = std::make_shared<SubContactRow>();
        static_cast<ContactRow &>(*row) = *rowOf(sampleContact(name));
        m_grid->selectedRows.append(row);
    }
    for (int round = 0; round < 2; ++round) {
        m_window->printDocument();
        QCoreApplication::processEvents();
        PrintWindow *printWindow = m_window->findChild<PrintWindow *>();
        ASSERT_NE(printWindow, nullptr);
        EXPECT_GE(printWindow->preview()->pageCount(), 1);
        printWindow->cancel();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(m_window->findChild<PrintWindow *>(), nullptr);
    }
    EXPECT_TRUE(Alert::shownAlerts().isEmpty());
}

} // namespace
