// What the sheets, popovers and windows show in the Japanese program: the value editors, the
// custom-label and custom-item sheets, the QR-code sheet, the find-and-replace window, the print
// window, the import chooser with its encoding chooser and progress window, the About window and
// the alerts of the main commands are built under the Japanese tables as the user opens them, and
// every text they show is searched for English words.

#include "JapaneseWindowFixture.h"

#include "app/AboutPanelController.h"
#include "app/AppDelegate.h"
#include "app/AppFixture.h"
#include "app/ImportPanelController.h"
#include "app/MenuCommand.h"
#include "editors/AddItemViewController.h"
#include "editors/CustomItemPanel.h"
#include "editors/CustomLabelPanelController.h"
#include "editors/HelpViewController.h"
#include "editors/MultiValueViewController.h"
#include "editors/ValueEditor.h"
#include "find/FindPanel.h"
#include "grid/GridEditorPresenter.h"
#include "importexport/EncodingChooser.h"
#include "importexport/ProgressAlert.h"
#include "panels/QRCodePanelController.h"
#include "platform/widgets/FilePanel.h"
#include "platform/widgets/Popover.h"
#include "print/PrintWindow.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QList<GridCommand> EditorCommands{GridCommand::OpenNamePanel,     GridCommand::OpenEditPanel,
                                        GridCommand::OpenAddressPanel,  GridCommand::OpenIMSPanel,
                                        GridCommand::OpenSNSPanel,      GridCommand::OpenDatesPanel,
                                        GridCommand::OpenBirthdayPanel, GridCommand::OpenPhoneticNamePanel};

class JapaneseSheetTextsTest : public JapaneseWindowFixture
{
protected:
    void SetUp() override
    {
        JapaneseWindowFixture::SetUp();
        view()->setEditState(true);
        showEveryColumn();
    }

    void TearDown() override
    {
        FilePanel::resetTestState();
        Sheet::resetTestState();
        JapaneseWindowFixture::TearDown();
    }

    // The editors that the cell menus open on every cell of the contact, unlocked and locked.
    void addValueEditors(const ContactRowPtr &contact)
    {
        for (int column = 0; column < grid()->tableIdentifiers().size(); ++column) {
            for (const GridCommand command : EditorCommands) {
                if (!choose(rowOf(contact), column, command))
                    continue;
                Popover *popover = grid()->editorPresenter()->popover();
                auto *editor = popover ? qobject_cast<ValueEditor *>(popover->contentWidget()) : nullptr;
                if (!editor)
                    continue;
                addEditor(QStringLiteral("editor of ") + cellPlace(rowOf(contact), column), editor);
                popover->close();
                QCoreApplication::processEvents();
            }
        }
    }

    void addEditor(const QString &place, ValueEditor *editor)
    {
        m_texts.addWidget(place, editor);
        if (auto *list = qobject_cast<MultiValueViewController *>(editor)) {
            if (list->openAddressRow(0)) {
                m_texts.addWidget(place + QStringLiteral(" > address"),
                                  list->nestedPopover()->contentWidget());
                list->nestedPopover()->close();
                QCoreApplication::processEvents();
            }
        }
        editor->editButton()->click();
        m_texts.addWidget(place + QStringLiteral(" (locked)"), editor);
    }

    void addCustomLabelSheet()
    {
        ASSERT_TRUE(trigger(MenuCommand::ShowCustomLabelPanel));
        CustomLabelPanelController *sheet = m_window->customLabelPanelController();
        ASSERT_TRUE(sheet && sheet->isSheetOpen());
        for (int kind = 0; kind < sheet->itemNamePopup()->count(); ++kind) {
            sheet->itemNamePopup()->setCurrentIndex(kind);
            emit sheet->itemNamePopup()->activated(kind);
            m_texts.addWidget(
                QStringLiteral("custom-label sheet of ") + sheet->itemNamePopup()->itemText(kind), sheet);
        }
        sheet->cancelButton()->click();
    }

    void addCustomItemSheet()
    {
        m_window->showCustomItems();
        CustomItemPanel *sheet = m_window->customItemPanel();
        ASSERT_TRUE(sheet && sheet->isSheetOpen());
        m_texts.addWidget(QStringLiteral("custom-item sheet"), sheet);

        sheet->helpButton()->click();
        ASSERT_TRUE(sheet->popover());
        m_texts.addWidget(QStringLiteral("custom-item help"), sheet->popover()->contentWidget());
        sheet->helpViewController()->doneButton()->click();
        QCoreApplication::processEvents();

        sheet->addButton()->click();
        addItemPopover(QStringLiteral("new custom item"), sheet);
        int labelled = 0;
        while (labelled < sheet->customItems().size() &&
               sheet->customItems().at(labelled).toMap().value(PersonKey::ItemName) != Membership)
            ++labelled;
        sheet->tableViewDoubleAction(labelled, 0);
        addItemPopover(QStringLiteral("custom item ") + Membership, sheet);

        sheet->tableView()->selectRow(labelled);
        const qsizetype alerts = Alert::shownAlerts().size();
        Alert::setNextAnswer(Alert::SecondButton);
        sheet->delButton()->click();
        QCoreApplication::processEvents();
        EXPECT_EQ(Alert::shownAlerts().size(), alerts + 1) << "no deletion alert";
        sheet->cancelButton()->click();
    }

    void addItemPopover(const QString &place, CustomItemPanel *sheet)
    {
        AddItemViewController *item = sheet->addItemViewController();
        ASSERT_TRUE(sheet->popover() && sheet->popover()->contentWidget() == item);
        m_texts.addWidget(place, item);
        for (int type = 0; type < item->typePopup()->count(); ++type) {
            if (!item->typePopup()->isEnabled())
                break;
            item->typePopup()->setCurrentIndex(type);
            emit item->typePopup()->activated(type);
            // The Japanese title stands for the type as stored.
            EXPECT_TRUE(QStringList({PersonValueType::String, PersonValueType::Labeled})
                            .contains(item->contextInfo().value(PersonKey::ItemType).toString()));
            m_texts.addWidget(place + QStringLiteral(" as ") + item->typePopup()->itemText(type), item);
        }
        for (const bool withImage : {false, true}) {
            if (withImage) {
                QImage icon(16, 16, QImage::Format_ARGB32);
                icon.fill(Qt::red);
                item->imageDidChanged(icon);
            }
            QMenu menu;
            item->menuNeedsUpdate(&menu);
            m_texts.addMenu(place + QStringLiteral(" image menu"), &menu);
        }
        item->cancelButton()->click();
        QCoreApplication::processEvents();
    }

    void addQRCodeSheet()
    {
        table()->selectRow(rowOf(m_full));
        ASSERT_TRUE(choose(rowOf(m_full), columnOf(PersonIdentifier::Name), GridCommand::ShowQRCode));
        auto *sheet = m_window->findChild<QRCodePanelController *>();
        ASSERT_TRUE(sheet && sheet->isSheetOpen());
        m_texts.addWidget(QStringLiteral("QR-code sheet"), sheet);
        sheet->closeButton()->click();
    }

    // The window runs application-modal: it is read from inside its run.
    void addFindPanel()
    {
        bool opened = false;
        QTimer::singleShot(0, [this, &opened] {
            FindPanel *panel = nullptr;
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                if (auto *found = qobject_cast<FindPanel *>(widget); found && found->isVisible())
                    panel = found;
            }
            if (!panel)
                return;
            opened = true;
            QSignalSpy searched(panel, &FindPanel::searchFinished);
            panel->searchField()->setText(QStringLiteral("値"));
            emit panel->searchField()->returnPressed();
            EXPECT_TRUE(searched.wait(5000));
            m_texts.addWidget(QStringLiteral("find-and-replace window"), panel);
            panel->editButton()->click();
            m_texts.addWidget(QStringLiteral("find-and-replace window (locked)"), panel);
            panel->closeButton()->click();
        });
        EXPECT_TRUE(trigger(MenuCommand::ShowFindPanel));
        EXPECT_TRUE(opened);
    }

    void addPrintWindow()
    {
        table()->selectAll();
        ASSERT_TRUE(trigger(MenuCommand::PrintDocument));
        auto *window = m_window->findChild<PrintWindow *>();
        ASSERT_TRUE(window);
        auto *tabs = window->findChild<QTabWidget *>();
        ASSERT_TRUE(tabs);
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            m_texts.addWidget(QStringLiteral("print window, ") + tabs->tabText(tab), window);
        }
        window->cancel();
        QCoreApplication::processEvents();
    }

    void addImport()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("連絡先")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\nN:鈴木;一郎;;;\r\nFN:鈴木 一郎\r\n"
                                  "TEL;TYPE=CELL:090-0000-0000\r\nEND:VCARD\r\n")
                       .toUtf8());
        file.close();
        FilePanel::setNextPath(file.fileName());
        ASSERT_TRUE(trigger(MenuCommand::ImportFromVCard));
        ImportPanelController *chooser = m_window->importPanelController();
        ASSERT_TRUE(spinUntil([chooser] { return chooser->isSheetOpen(); }));
        m_texts.addWidget(QStringLiteral("import chooser"), chooser);
        m_texts.addWidget(QStringLiteral("progress window"), m_window->progressAlert());
        chooser->cancelButton()->click();
        QCoreApplication::processEvents();
    }

    // The accessory of the import's open panel, made as the import makes it.
    void addEncodingChooser()
    {
        EncodingChooser chooser(defaults());
        chooser.setEncodingOnly();
        m_texts.addWidget(QStringLiteral("encoding chooser"), chooser.view());
        chooser.showEncodingList();
        m_texts.addWidget(QStringLiteral("encoding list"), chooser.encodingListPanel());
        chooser.encodingListPanel()->close();
    }

    // The alerts are read with every other alert of the test.
    void addAlerts()
    {
        // Delete Group on a group of the sidebar, and Delete Contacts on the chosen rows.
        m_window->showGroupView(true);
        view()->setSelectedGroupDict(m_friends);
        const qsizetype before = Alert::shownAlerts().size();
        Alert::setNextAnswer(Alert::SecondButton);
        EXPECT_TRUE(trigger(MenuCommand::DeleteGroup));
        EXPECT_EQ(Alert::shownAlerts().size(), before + 1);
        view()->setSelectedGroupDict(m_top);
        view()->setContactTable(m_top->contactTable);
        table()->selectAll();
        EXPECT_TRUE(trigger(MenuCommand::DeleteContacts));
        QCoreApplication::processEvents();

        // Revert, another program's change of the store, a group the store cannot read.
        AppDelegate delegate;
        Alert::setNextAnswer(Alert::SecondButton);
        delegate.revertAddressBookToSaved();
        QCoreApplication::processEvents();
        Alert::setNextAnswer(Alert::SecondButton);
        delegate.handleContactStoreChanged({{QStringLiteral("CNNotificationOriginationExternally"), 1}});
        delegate.showGroupFetchAlert(QStringLiteral("このコンピュータ内"));

        view()->setDocumentEdited(true);
        Alert::setNextAnswer(Alert::ThirdButton);
        EXPECT_FALSE(m_window->windowShouldClose());
        EXPECT_EQ(Alert::shownAlerts().size(), before + 5);
        addShownAlerts();
    }

    // Chooses the menu item as the user does, once its menu has enabled it.
    bool trigger(MenuCommand command)
    {
        QAction *item = m_window->menuItem(command);
        if (!item)
            return false;
        item->setEnabled(m_window->validateMenuItem(item));
        if (!item->isEnabled())
            return false;
        item->trigger();
        QCoreApplication::processEvents();
        return true;
    }

    // Every alert raised so far.
    void addShownAlerts()
    {
        for (const Alert::Record &alert : Alert::shownAlerts())
            m_texts.addAlert(QStringLiteral("alert"), alert);
    }
};

} // namespace

TEST_F(JapaneseSheetTextsTest, ValueEditorsShowNoEnglishWord)
{
    seen("the editors of a full contact", [this] { addValueEditors(m_full); });
    seen("the editors of an empty contact", [this] { addValueEditors(m_empty); });
    addShownAlerts();
    expectNoEnglish();
}

TEST_F(JapaneseSheetTextsTest, SheetsAndWindowsShowNoEnglishWord)
{
    seen("the custom-label sheet", [this] { addCustomLabelSheet(); });
    seen("the custom-item sheet", [this] { addCustomItemSheet(); });
    seen("the QR-code sheet", [this] { addQRCodeSheet(); });
    seen("the find-and-replace window", [this] { addFindPanel(); });
    seen("the print window", [this] { addPrintWindow(); });
    seen("the import", [this] { addImport(); });
    seen("the encoding chooser", [this] { addEncodingChooser(); });
    seen("the About window", [this] {
        AboutPanelController about;
        m_texts.addWidget(QStringLiteral("About window"), &about);
    });
    seen("the alerts", [this] { addAlerts(); });
    expectNoEnglish();
}
