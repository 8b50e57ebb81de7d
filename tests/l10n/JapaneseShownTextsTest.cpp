// What the menus and sheets show in the Japanese program. The main window, the grid's cell menus
// (every view type, cell kind and edit state) and header menus, the item-command sheet and alert,
// the detail pane's and the merge sheet's row menus and the find bar are built under the Japanese
// tables, and every text they show (menu items, labels, buttons, popup items, window titles) is
// searched for English words. Unlike the key scan, this sees texts put together at run time.
//
// The test's contacts are Japanese, so that any Latin word found is the program's.

#include "addressbook/DefaultsKey.h"
#include "addressbook/ViewTypes.h"
#include "app/MenuCommand.h"
#include "app/ViewController.h"
#include "app/WindowController.h"
#include "detail/ContactInfoController.h"
#include "detail/DetailCellFactory.h"
#include "detail/DetailItemCommands.h"
#include "detail/DetailTableController.h"
#include "grid/ContactsViewController.h"
#include "grid/GridCommands.h"
#include "grid/GridItemCommands.h"
#include "grid/GridModel.h"
#include "grid/GridMenus.h"
#include "grid/GridTableView.h"
#include "grid/ReplaceAlertPanel.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "panels/MergeCellFactory.h"
#include "panels/MergePanelController.h"
#include "panels/MergeTable.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/TestMode.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Names of products, services and formats, which the Japanese program writes in Latin letters
// too. Acronyms (all capitals: OK, URL, CSV, QR) stay as well.
const QSet<QString> KeptWords{
    QStringLiteral("vCard"),     QStringLiteral("iPhone"),    QStringLiteral("Apple"),
    QStringLiteral("Google"),    QStringLiteral("App"),       QStringLiteral("Store"),
    QStringLiteral("Mac"),       QStringLiteral("Windows"),   QStringLiteral("Unix"),
    // Social networks and messengers.
    QStringLiteral("Twitter"),   QStringLiteral("Facebook"),  QStringLiteral("Flickr"),
    QStringLiteral("LinkedIn"),  QStringLiteral("Yelp"),      QStringLiteral("MySpace"),
    QStringLiteral("SinaWeibo"), QStringLiteral("TencentWeibo"), QStringLiteral("GameCenter"),
    QStringLiteral("Instagram"), QStringLiteral("Pinterest"), QStringLiteral("Snapchat"),
    QStringLiteral("Tumbler"),   QStringLiteral("WeChat"),    QStringLiteral("WhatsApp"),
    QStringLiteral("GaduGadu"),  QStringLiteral("GoogleTalk"), QStringLiteral("Jabber"),
    QStringLiteral("Skype"),     QStringLiteral("Yahoo"),
};

// The words of the text in Latin letters that Japanese would not keep.
QStringList englishWords(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    static const QSet<QString> programName = [] {
        QSet<QString> words;
        for (const QRegularExpressionMatch &match : word.globalMatch(QCoreApplication::applicationName()))
            words.insert(match.captured());
        return words;
    }();
    QStringList found;
    for (const QRegularExpressionMatch &match : word.globalMatch(text)) {
        const QString candidate = match.captured();
        if (candidate != candidate.toUpper() && !KeptWords.contains(candidate) &&
            !programName.contains(candidate))
            found.append(candidate);
    }
    return found;
}

QString plainText(const QString &text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

// The texts shown, each with where it was shown.
class ShownTexts
{
public:
    void add(const QString &place, const QString &text)
    {
        const QString shown = plainText(text);
        if (shown.isEmpty())
            return;
        if (!englishWords(shown).isEmpty())
            m_english.insert(place + QStringLiteral(": ") + shown.simplified());
        ++m_count;
    }

    void addMenu(const QString &place, QMenu *menu)
    {
        if (!menu)
            return;
        // Menus that fill themselves as they open. A menu's title shows only as the item that
        // opens it.
        emit menu->aboutToShow();
        for (QAction *action : menu->actions())
            addAction(place, action);
    }

    void addWidget(const QString &place, QWidget *root)
    {
        addOne(place, root);
        for (QWidget *widget : root->findChildren<QWidget *>()) {
            // What is hidden inside the window shows nowhere (popup menus are reached through
            // the items that open them).
            if (widget->isVisibleTo(root))
                addOne(place, widget);
        }
    }

    QStringList english() const
    {
        QStringList lines(m_english.begin(), m_english.end());
        lines.sort();
        return lines;
    }
    int count() const { return m_count; }

private:
    void addAction(const QString &place, QAction *action)
    {
        if (action->isSeparator())
            return;
        add(place, action->text());
        addMenu(place + QStringLiteral(" > ") + action->text(), action->menu());
    }

    void addOne(const QString &place, QWidget *widget)
    {
        if (widget->isWindow())
            add(place, widget->windowTitle());
        if (auto *label = qobject_cast<QLabel *>(widget))
            add(place, label->text());
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            add(place, button->text());
        if (auto *box = qobject_cast<QGroupBox *>(widget))
            add(place, box->title());
        if (auto *field = qobject_cast<QLineEdit *>(widget))
            add(place, field->placeholderText());
        if (auto *popup = qobject_cast<QComboBox *>(widget)) {
            for (int i = 0; i < popup->count(); ++i)
                add(place, popup->itemText(i));
        }
        if (auto *tabs = qobject_cast<QTabBar *>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                add(place, tabs->tabText(i));
        }
        if (auto *header = qobject_cast<QHeaderView *>(widget); header && header->model()) {
            for (int i = 0; i < header->count(); ++i)
                add(place, header->model()->headerData(i, header->orientation()).toString());
        }
        for (QAction *action : widget->actions())
            addAction(place, action);
    }

    QSet<QString> m_english;
    int m_count = 0;
};

const QString Hobby = QStringLiteral("趣味");
const QString Membership = QStringLiteral("会員");

class JapaneseShownTextsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().removePersistentDomain();
        TestMode::setEnabled(true);
        Localizer::shared().setPreferredLanguages({QStringLiteral("ja")});
        ContactsUserDefaults::setCountryCodeForTesting(QStringLiteral("jp"));
        defaults().setObject(ViewTypes::defaultViewTypeDict(), DefaultsKey::ViewTypeDict);
        m_window = std::make_unique<WindowController>(defaults(), SplitPanes::makeDefault(defaults()));
        makeBook();
        view()->setRepresentedObject({});
        m_window->resize(1200, 700);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void TearDown() override
    {
        m_window.reset();
        QCoreApplication::processEvents();
        Alert::resetTestState();
        TestMode::setEnabled(false);
        ContactsUserDefaults::setCountryCodeForTesting(std::nullopt);
        Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
    }

    static UserDefaults &defaults() { return UserDefaults::standard(); }
    ViewController *view() const { return m_window->mainViewController(); }
    ContactsViewController *grid() const
    {
        return static_cast<ContactsViewController *>(view()->contactsViewController());
    }
    GridTableView *table() const { return grid()->gridTableView(); }

    // A contact with a value in every field (custom items too) and one with none.
    void makeBook()
    {
        const QVariantList customItems{
            QVariantMap{{PersonKey::ItemName, Hobby}, {PersonKey::ItemType, PersonValueType::String}},
            QVariantMap{{PersonKey::ItemName, Membership},
                        {PersonKey::ItemType, PersonValueType::Labeled},
                        {PersonKey::ItemLabels, QStringList{QStringLiteral("正会員")}}}};
        view()->setCustomItems(customItems);
        grid()->setCustomItems(customItems);
        view()->contactInfoController()->setCustomItems(customItems);

        m_full = contact(QStringLiteral("山田"), QStringLiteral("太郎"));
        QNPerson &full = *m_full->person;
        for (const QString &identifier : QNPerson::stringIdentifiers())
            full.setValue(QStringLiteral("値"), identifier);
        const QList<std::pair<QString, QString>> labeled{
            {QStringLiteral("Phone"), QStringLiteral("mobile")},
            {QStringLiteral("Email"), QStringLiteral("work")},
            {QStringLiteral("URL"), QStringLiteral("home page")},
            {QStringLiteral("Relationship"), QStringLiteral("mother")},
            {QStringLiteral("Social Network"), QStringLiteral("Twitter")},
            {QStringLiteral("Instant Message"), QStringLiteral("home")}};
        for (const auto &[identifier, label] : labeled)
            full.setValue(QVariantList{QVariantMap{{PersonKey::Label, label},
                                                   {PersonKey::Value, QStringLiteral("値")}}},
                          identifier);
        full.setValue(QVariantList{QVariantMap{{PersonKey::Label, QStringLiteral("home")},
                                               {PersonKey::ZIP, QStringLiteral("100-0001")},
                                               {PersonKey::City, QStringLiteral("千代田区")},
                                               {PersonKey::Street, QStringLiteral("千代田1-1")}}},
                      QStringLiteral("Address"));
        const QVariantMap date{
            {QStringLiteral("year"), 2000}, {QStringLiteral("month"), 1}, {QStringLiteral("day"), 2}};
        full.setValue(QVariantList{QVariantMap{{PersonKey::Label, QStringLiteral("anniversary")},
                                               {PersonKey::Value, date}}},
                      QStringLiteral("Dates"));
        full.setValue(QVariantMap{{PersonKey::Value, date}}, PersonIdentifier::Birthday);
        full.setValue(QVariantMap{{PersonKey::LastName, QStringLiteral("やまだ")}},
                      PersonIdentifier::PhoneticName);
        QImage photo(8, 8, QImage::Format_ARGB32);
        photo.fill(Qt::darkCyan);
        full.setPhoto(photo);
        full.setValue(QStringLiteral("囲碁"), Hobby);
        full.setValue(QVariantList{QVariantMap{{PersonKey::Label, QStringLiteral("正会員")},
                                               {PersonKey::Value, QStringLiteral("1")}}},
                      Membership);
        m_empty = contact(QStringLiteral("佐藤"), QStringLiteral("花子"));

        auto group = std::make_shared<GroupDict>();
        group->top = true;
        group->name = QStringLiteral("すべての連絡先");
        group->containerIdentifier = QStringLiteral("c1");
        group->contactTable = std::make_shared<ContactTable>(ContactTable{m_full, m_empty});
        auto container = std::make_shared<ContainerDict>();
        container->identifier = QStringLiteral("c1");
        container->name = QStringLiteral("このコンピュータ内");
        container->groups = {group};
        view()->setContainerTable({container});
        view()->setSelectedGroupDict(group);
        view()->setContactTable(group->contactTable);
    }

    static ContactRowPtr contact(const QString &last, const QString &first)
    {
        auto row = std::make_shared<ContactRow>();
        row->person = std::make_shared<QNPerson>();
        row->person->setValue(QVariantMap{{PersonKey::FirstName, first},
                                          {PersonKey::LastName, last},
                                          {PersonKey::ShowAsPerson, true},
                                          {PersonKey::NameOrdering, 0}},
                              PersonIdentifier::Name);
        row->uniqueId = row->person->uniqueId();
        return row;
    }

    void showColumns(const QString &viewType, const QStringList &columns)
    {
        QVariantMap viewTypes = defaults().dictionaryForKey(DefaultsKey::ViewTypeDict);
        viewTypes.insert(viewType, columns);
        defaults().setObject(viewTypes, DefaultsKey::ViewTypeDict);
        defaults().setObject(viewType, DefaultsKey::SelectedViewType);
        grid()->setSelectedViewType(viewType);
        grid()->updateTable();
        QCoreApplication::processEvents();
    }

    // A right click on the cell, which makes it the clicked cell of the menus and commands.
    bool rightClick(int row, int column)
    {
        const QModelIndex index = grid()->model()->index(row, column);
        table()->scrollTo(index);
        QTest::mouseClick(table()->viewport(), Qt::RightButton, {}, table()->visualRect(index).center());
        if (QMenu *shown = grid()->commands().menus().shownMenu())
            shown->close();
        return table()->clickedRow() == row && table()->clickedColumn() == column;
    }

    QString cellPlace(int row, int column) const
    {
        const SubContactRowPtr subContact = grid()->subContactTable().value(row);
        return QStringLiteral("grid %1 cell of %2%3")
            .arg(grid()->tableIdentifiers().value(column),
                 subContact ? subContact->person->compositeName() : QString(),
                 grid()->editState() ? QStringLiteral(" (editing)") : QString());
    }

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

    // Chooses the cell menu's item of the command, as the user does; false when it has none.
    bool choose(int row, int column, GridCommand command)
    {
        if (!rightClick(row, column))
            return false;
        std::unique_ptr<QMenu> menu(grid()->commands().menus().makeCellMenu());
        for (QAction *item : menu ? menu->actions() : QList<QAction *>()) {
            if (gridCommand(item) == command && item->isEnabled()) {
                item->trigger();
                QCoreApplication::processEvents();
                return true;
            }
        }
        return false;
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
                const Alert::Record alert = Alert::lastShown();
                const QString place = QStringLiteral("delete alert of ") + cellPlace(row, column);
                m_texts.add(place, alert.messageText);
                m_texts.add(place, alert.informativeText);
                for (const QString &button : alert.buttons)
                    m_texts.add(place, button);
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

    // Builds a part of the program, which must show some text.
    void seen(const char *part, const std::function<void()> &build)
    {
        const int before = m_texts.count();
        build();
        EXPECT_GT(m_texts.count(), before) << part << " showed no text";
    }

    std::unique_ptr<WindowController> m_window;
    ContactRowPtr m_full;
    ContactRowPtr m_empty;
    ShownTexts m_texts;
};

} // namespace

TEST_F(JapaneseShownTextsTest, MenusAndSheetsShowNoEnglishWord)
{
    QStringList all = QNPerson::allIdentifiers() + QNPerson::addressIdentifiers();
    all << Hobby << Membership;
    QList<std::pair<QString, QStringList>> viewTypes{{QStringLiteral("every column"), all}};
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

    const QStringList english = m_texts.english();
    EXPECT_TRUE(english.isEmpty()) << english.size() << " shown texts hold English words:\n"
                                   << english.join(u'\n').toStdString();
}
