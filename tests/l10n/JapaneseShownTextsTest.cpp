// What the menus and sheets show in the Japanese program. The main window, the grid's cell menus
// (every view type, cell kind and edit state) and header menus, the item-command sheet and alert,
// the detail pane's and the merge sheet's row menus and the find bar are built under the Japanese
// tables, and every text they show (menu items, labels, buttons, popup items, window titles) is
// searched for English words. Unlike the key scan, this sees texts put together at run time.
//
// The test's contacts are Japanese, so that any Latin word found is the program's.

#include "JapaneseWindowFixture.h"

#include "app/MenuCommand.h"
#include "detail/DetailCellFactory.h"
#include "detail/DetailItemCommands.h"
#include "detail/DetailTableController.h"
#include "grid/GridItemCommands.h"
#include "grid/ReplaceAlertPanel.h"
#include "panels/MergeCellFactory.h"
#include "panels/MergePanelController.h"
#include "panels/MergeTable.h"

namespace {

class JapaneseShownTextsTest : public JapaneseWindowFixture
{
protected:
    void addGridMenus(const QString &viewType)
    {
        const int columns = int(grid()->tableIdentifiers().size());
        for (int column = 0; column < columns; ++column) {
            std::unique_ptr<QMenu> header(grid()->commands().menus().makeHeaderMenu(column));
            m_texts.addMenu(QStringLiteral("header menu of ") + viewType, header.get());
            for (int row = 0; row < grid()->subContactTable().size(); ++row) {
                ASSERT_TRUE(rightClick(row, column));
                std::unique_ptr<QMenu> menu(grid()->commands().menus().makeCellMenu());
                m_texts.addMenu(cellPlace(row, column), menu.get());
            }
        }
    }

    // The sheets and the alert of the item commands on every cell of the full contact, cancelled.
    void addItemCommandTexts()
    {
        int row = 0;
        while (row < grid()->subContactTable().size() &&
               grid()->subContactTable().at(row)->person != m_full->person)
            ++row;
        const int columns = int(grid()->tableIdentifiers().size());
        for (int column = 0; column < columns; ++column) {
            for (const GridCommand command : {GridCommand::ReplaceLabelAndText, GridCommand::ReplaceText,
                                              GridCommand::PrependText, GridCommand::AppendText}) {
                if (!choose(row, column, command))
                    continue;
                ReplaceAlertPanel *panel = grid()->commands().itemCommands().replaceAlertPanel();
                if (!panel)
                    continue;
                m_texts.addWidget(QStringLiteral("item-command sheet of ") + cellPlace(row, column), panel);
                panel->cancelButton()->click();
                QCoreApplication::processEvents();
            }
            for (const GridCommand command : {GridCommand::DeleteItem, GridCommand::ClearText}) {
                Alert::setNextAnswer(Alert::SecondButton);
                if (!choose(row, column, command))
                    continue;
                m_texts.addAlert(QStringLiteral("delete alert of ") + cellPlace(row, column), Alert::lastShown());
            }
        }
        Alert::resetTestState();
    }

    void addDetailMenus()
    {
        auto *pane = static_cast<ContactInfoController *>(view()->contactInfoController());
        for (const ContactRowPtr &contact : {m_full, m_empty}) {
            pane->setContact(contact);
            DetailTableController &detail = *pane->detailTable();
            for (int row = 0; row < detail.table().size(); ++row) {
                QMenu menu;
                detail.itemCommands().menuNeedsUpdate(&menu, row, DetailCellFactory::ValueColumn);
                m_texts.addMenu(QStringLiteral("detail row menu of ") + detail.table().at(row)->type, &menu);
            }
            m_texts.addWidget(QStringLiteral("detail pane"), pane->view());
        }
    }

    void addMergeSheet()
    {
        view()->beginMergeSheet({m_full, m_empty});
        auto *sheet = m_window->findChild<MergePanelController *>();
        ASSERT_TRUE(sheet);
        for (MergeTable *table : {sheet->tableLeft(), sheet->tableRight()}) {
            for (int row = 0; row < table->rows().size(); ++row) {
                table->menuNeedsUpdate(row, MergeCellFactory::ValueColumn);
                m_texts.addMenu(QStringLiteral("merge row menu of ") + table->rows().at(row).type,
                                table->rowMenu());
            }
        }
        m_texts.addWidget(QStringLiteral("merge sheet"), sheet);
        sheet->endSheet(0);
    }
};

} // namespace

TEST_F(JapaneseShownTextsTest, MenusAndSheetsShowNoEnglishWord)
{
    QList<std::pair<QString, QStringList>> viewTypes{{QStringLiteral("every column"), everyColumn()}};
    for (const ViewTypes::ViewType &viewType : ViewTypes::builtIn())
        viewTypes.append({viewType.name, viewType.columns});
    seen("the grid's menus", [&] {
        for (const bool editing : {false, true}) {
            view()->setEditState(editing);
            for (const auto &[name, columns] : viewTypes) {
                SCOPED_TRACE(name.toStdString());
                showColumns(name, columns);
                addGridMenus(name);
            }
        }
    });
    showColumns(viewTypes.first().first, viewTypes.first().second);
    seen("the item commands", [this] { addItemCommandTexts(); });
    seen("the detail pane", [this] { addDetailMenus(); });
    seen("the merge sheet", [this] { addMergeSheet(); });
    seen("the main window", [this] {
        m_window->menuItem(MenuCommand::Find)->trigger();
        QCoreApplication::processEvents();
        m_texts.addWidget(QStringLiteral("main window"), m_window.get());
    });

    expectNoEnglish();
}
