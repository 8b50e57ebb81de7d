#pragma once

// The main window under the Japanese tables, over a contact with a value in every field (custom
// items too) and one with none. The contacts are Japanese, so that any Latin word found is the
// program's.

#include "ShownTexts.h"

#include "addressbook/DefaultsKey.h"
#include "addressbook/ViewTypes.h"
#include "app/SplitPanes.h"
#include "app/ViewController.h"
#include "app/WindowController.h"
#include "detail/ContactInfoController.h"
#include "grid/ContactsViewController.h"
#include "grid/GridCommands.h"
#include "grid/GridMenus.h"
#include "grid/GridModel.h"
#include "grid/GridTableView.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/TestMode.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTest>
#include <QTranslator>

#include <gtest/gtest.h>

#include <functional>

inline const QString Hobby = QStringLiteral("趣味");
inline const QString Membership = QStringLiteral("会員");

class JapaneseWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().removePersistentDomain();
        TestMode::setEnabled(true);
        Localizer::shared().setPreferredLanguages({QStringLiteral("ja")});
        // Started with LANG=ja_JP.UTF-8, the program formats dates and numbers in Japanese and
        // shows Qt's own texts (paper sizes, standard buttons) from Qt's Japanese table.
        m_locale = QLocale();
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        ASSERT_TRUE(
            m_qtTexts.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
        QCoreApplication::installTranslator(&m_qtTexts);
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
        QLocale::setDefault(m_locale);
        QCoreApplication::removeTranslator(&m_qtTexts);
    }

    static UserDefaults &defaults() { return UserDefaults::standard(); }
    ViewController *view() const { return m_window->mainViewController(); }
    ContactsViewController *grid() const
    {
        return static_cast<ContactsViewController *>(view()->contactsViewController());
    }
    GridTableView *table() const { return grid()->gridTableView(); }

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

        m_top = std::make_shared<GroupDict>();
        m_top->top = true;
        m_top->name = QStringLiteral("すべての連絡先");
        m_top->containerIdentifier = QStringLiteral("c1");
        m_top->contactTable = std::make_shared<ContactTable>(ContactTable{m_full, m_empty});
        m_friends = std::make_shared<GroupDict>();
        m_friends->name = QStringLiteral("友人");
        m_friends->containerIdentifier = QStringLiteral("c1");
        m_friends->contactTable = std::make_shared<ContactTable>(ContactTable{m_full});
        auto container = std::make_shared<ContainerDict>();
        container->identifier = QStringLiteral("c1");
        container->name = QStringLiteral("このコンピュータ内");
        container->groups = {m_top, m_friends};
        view()->setContainerTable({container});
        view()->setSelectedGroupDict(m_top);
        view()->setContactTable(m_top->contactTable);
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

    // Every field and custom item.
    static QStringList everyColumn()
    {
        QStringList all = QNPerson::allIdentifiers() + QNPerson::addressIdentifiers();
        all << Hobby << Membership;
        return all;
    }
    void showEveryColumn() { showColumns(QStringLiteral("every column"), everyColumn()); }

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

    // The first grid row of the contact.
    int rowOf(const ContactRowPtr &contact) const
    {
        const QList<SubContactRowPtr> rows = grid()->subContactTable();
        for (int row = 0; row < rows.size(); ++row) {
            if (rows.at(row)->person == contact->person)
                return row;
        }
        return -1;
    }

    int columnOf(const QString &identifier) const
    {
        return int(grid()->tableIdentifiers().indexOf(identifier));
    }

    // Builds a part of the program, which must show some text.
    void seen(const char *part, const std::function<void()> &build)
    {
        const int before = m_texts.count();
        build();
        EXPECT_GT(m_texts.count(), before) << part << " showed no text";
    }

    void expectNoEnglish() const
    {
        const QStringList english = m_texts.english();
        EXPECT_TRUE(english.isEmpty()) << english.size() << " shown texts hold English words:\n"
                                       << english.join(u'\n').toStdString();
    }

    QLocale m_locale;
    QTranslator m_qtTexts;
    std::unique_ptr<WindowController> m_window;
    ContactRowPtr m_full;
    ContactRowPtr m_empty;
    GroupDictPtr m_top;
    GroupDictPtr m_friends;
    ShownTexts m_texts;
};
