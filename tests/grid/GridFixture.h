#pragma once

#include "ui/contracts/ContactsViewControllerDelegate.h"
#include "common/ModelTesterLog.h"
#include "addressbook/DefaultsKey.h"
#include "app/ViewController.h"
#include "grid/ContactsViewController.h"
#include "grid/GridModel.h"
#include "grid/GridTableView.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QHeaderView>

#include <gtest/gtest.h>

// A row of the table for the person, as the load makes it.
inline ContactRowPtr appendContactRow(ContactTable &table, const QNPersonPtr &person)
{
    auto row = std::make_shared<ContactRow>();
    row->person = person;
    row->uniqueId = person->uniqueId();
    table.append(row);
    return row;
}

// Shows the table in the view as the top group "All Contacts" of the one container "c1".
inline GroupDictPtr showAsTopGroup(ViewController &view, const ContactTablePtr &table)
{
    auto group = std::make_shared<GroupDict>();
    group->top = true;
    group->name = QStringLiteral("All Contacts");
    group->containerIdentifier = QStringLiteral("c1");
    group->contactTable = table;
    auto container = std::make_shared<ContainerDict>();
    container->identifier = QStringLiteral("c1");
    container->groups = {group};
    view.setContainerTable({container});
    view.setSelectedGroupDict(group);
    view.setContactTable(table);
    return group;
}

#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// The grid's calls to its parent, as they came.
class RecordingDelegate : public ContactsViewControllerDelegate
{
public:
    void rowSelectionDidChange(const SubContactRowPtr &row) override { selections.append(row); }
    void sortDescriptorsDidChange(const QList<SortDescriptor> &descriptors) override
    {
        sorts.append(descriptors);
    }
    void addContactByVCardString(const QString &) override {}
    const GroupDictPtr &selectedGroupDict() const override { return group; }
    void beginMergeSheet(const QList<ContactRowPtr> &contacts) override { merges.append(contacts); }
    void showQRCodeForContact(const SubContactRowPtr &row) override { qrCodeRows.append(row); }

    GroupDictPtr group;
    QList<QList<ContactRowPtr>> merges;
    QList<SubContactRowPtr> qrCodeRows;
    QList<SubContactRowPtr> selections;
    QList<QList<SortDescriptor>> sorts;
};

// A labelled value as a contact holds it.
struct Value
{
    QString label;
    QString text;
};

// A grid inside a real main view controller, with fresh defaults, an empty contact table and a
// recording delegate.
class GridFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().removePersistentDomain();
        Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
        ContactsUserDefaults::setCountryCodeForTesting(QStringLiteral("us"));
        ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderGivenName);
        m_view = std::make_unique<ViewController>(defaults(), SplitPanes::makeDefault(defaults()));
        m_table = std::make_shared<ContactTable>();
        grid()->setDelegate(&m_delegate);
        grid()->setContactTable(m_table);
    }

    void TearDown() override
    {
        m_view.reset();
        QCoreApplication::processEvents();
        ContactsUserDefaults::setCountryCodeForTesting(std::nullopt);
        ContactsUserDefaults::setSortOrderForTesting(std::nullopt);
    }

    static UserDefaults &defaults() { return UserDefaults::standard(); }
    ContactsViewController *grid() const
    {
        return static_cast<ContactsViewController *>(m_view->contactsViewController());
    }
    GridModel *model() const { return grid()->model(); }
    GridTableView *table() const { return grid()->gridTableView(); }

    // Shows the view type with these columns, as the View menu does.
    void showColumns(const QStringList &columns, const QString &viewType = QStringLiteral("Test"))
    {
        QVariantMap viewTypes = defaults().dictionaryForKey(DefaultsKey::ViewTypeDict);
        viewTypes.insert(viewType, columns);
        defaults().setObject(viewTypes, DefaultsKey::ViewTypeDict);
        defaults().setObject(viewType, DefaultsKey::SelectedViewType);
        grid()->setSelectedViewType(viewType);
    }

    static QNPersonPtr person(const QString &first, const QString &last = QString())
    {
        auto person = std::make_shared<QNPerson>();
        person->setValue(QVariantMap{{PersonKey::FirstName, first},
                                     {PersonKey::LastName, last},
                                     {PersonKey::ShowAsPerson, true},
                                     {PersonKey::NameOrdering, 0}},
                         PersonIdentifier::Name);
        return person;
    }

    static void setValues(const QNPersonPtr &person, const QString &identifier, const QList<Value> &values)
    {
        QVariantList list;
        for (const Value &value : values)
            list.append(QVariantMap{{PersonKey::Label, value.label}, {PersonKey::Value, value.text}});
        person->setValue(list, identifier);
    }

    ContactRowPtr add(const QNPersonPtr &person) { return appendContactRow(*m_table, person); }

    ContactRowPtr addWithPhones(const QString &name, const QList<Value> &phones)
    {
        const QNPersonPtr contact = person(name);
        setValues(contact, QStringLiteral("Phone"), phones);
        return add(contact);
    }

    QList<int> labelIndexes() const
    {
        QList<int> indexes;
        for (const SubContactRowPtr &row : grid()->subContactTable())
            indexes.append(row->labelIndex);
        return indexes;
    }

    // The names of the rows' contacts, one per row.
    QStringList rowNames() const
    {
        QStringList names;
        for (const SubContactRowPtr &row : grid()->subContactTable())
            names.append(row->person->compositeName());
        return names;
    }

    QVariant cellData(int row, const QString &identifier, int role = Qt::DisplayRole) const
    {
        const int column = int(grid()->tableIdentifiers().indexOf(identifier));
        return model()->data(model()->index(row, column), role);
    }

    void sortBy(const QString &key, bool ascending = true) { grid()->setSortDescriptors({{key, ascending}}); }

    std::unique_ptr<ViewController> m_view;
    ContactTablePtr m_table;
    RecordingDelegate m_delegate;
};
