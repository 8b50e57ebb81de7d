#pragma once

#include "app/AppFixture.h"

#include "addressbook/AddressBookLoader.h"
#include "addressbook/AddressBook.h"
#include "addressbook/EditFunnel.h"
#include "detail/ContactInfoController.h"
#include "detail/DetailTableController.h"
#include "find/FindBarController.h"
#include "find/FindController.h"
#include "grid/ContactsViewController.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/ContactsUserDefaults.h"
#include "platform/UndoManager.h"
#include "ui/contracts/ContactInfoControllerDelegate.h"
#include "ui/contracts/ContactsViewControllerDelegate.h"
#include "ui/contracts/FindHost.h"
#include "addressbook/DefaultsKey.h"

inline ItemAndRange::TextRange R(qsizetype location, qsizetype length)
{
    return {location, length};
}

inline void PrintTo(const ItemAndRange::TextRange &range, std::ostream *os)
{
    *os << '{' << range.location << ", " << range.length << '}';
}

// A contact as the store hands it over.
inline StoreContact storeContact(const QString &first, const QString &last)
{
    StoreContact contact;
    contact.givenName = first;
    contact.familyName = last;
    return contact;
}

inline StoreLabeledString labeled(const QString &label, const QString &value)
{
    return {{}, label, value};
}

inline ContactRowPtr rowOf(const StoreContact &contact)
{
    return AddressBookLoader::createContactFromCNContact(contact);
}

// Grid rows of a contact: one per position, as the grid builds them.
inline QList<SubContactRowPtr> gridRows(const ContactRowPtr &contact, int count)
{
    QList<SubContactRowPtr> rows;
    for (int position = 0; position < count; ++position) {
        auto row = std::make_shared<SubContactRow>();
        row->person = contact->person;
        row->uniqueId = contact->uniqueId;
        row->labelIndex = position;
        row->notFirstRow = position > 0;
        rows.append(row);
    }
    return rows;
}

// Fresh defaults, a pinned country and name order.
class FindFixture : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ContactsUserDefaults::setCountryCodeForTesting(QStringLiteral("us"));
        ContactsUserDefaults::setSortOrderForTesting(ContactsUserDefaults::SortOrderGivenName);
    }
    void TearDown() override
    {
        ContactsUserDefaults::setCountryCodeForTesting(std::nullopt);
        ContactsUserDefaults::setSortOrderForTesting(std::nullopt);
        AppFixture::TearDown();
    }
};

class RecordingGridDelegate : public ContactsViewControllerDelegate
{
public:
    void rowSelectionDidChange(const SubContactRowPtr &row) override { selections.append(row); }
    void sortDescriptorsDidChange(const QList<SortDescriptor> &) override {}
    void addContactByVCardString(const QString &) override {}
    const GroupDictPtr &selectedGroupDict() const override { return group; }

    GroupDictPtr group;
    QList<SubContactRowPtr> selections;
};

class RecordingDetailDelegate : public ContactInfoControllerDelegate
{
public:
    void contactDidUpdate(const ContactRowPtr &, QObject *) override { ++updates; }
    int updates = 0;
};

// The window as find sees it: the real grid, detail pane and find bar, a real undo manager and
// edit funnel, over one group's contacts.
class FindHostFixture : public FindFixture, public FindHost
{
protected:
    void SetUp() override
    {
        FindFixture::SetUp();
        m_book = std::make_unique<AddressBook>();
        QObject::connect(m_book.get(), &AddressBook::contactDidUpdate, [this] { ++broadcasts; });
        QObject::connect(m_book.get(), &AddressBook::tableChanged, [this] { m_grid->updateTable(); });
        QObject::connect(m_book.get(), &AddressBook::editedChanged, [this](bool value) { edited = value; });
        m_grid = std::make_unique<ContactsViewController>(defaults());
        m_detail = std::make_unique<ContactInfoController>(defaults());
        m_bar = std::make_unique<FindBarController>();
        m_table = std::make_shared<ContactTable>();
        m_grid->setDelegate(&gridDelegate);
        m_detail->setDelegate(&detailDelegate);
        m_grid->setContactTable(m_table);
        find = std::make_unique<FindController>(*this);
        m_bar->setDelegate(find.get());
    }

    void TearDown() override
    {
        m_bar->setDelegate(nullptr);
        find.reset();
        m_bar.reset();
        m_detail.reset();
        m_grid.reset();
        m_book.reset();
        FindFixture::TearDown();
    }

    // FindHost
    ContactsGridInterface *contactsViewController() const override { return m_grid.get(); }
    ContactInfoInterface *contactInfoController() const override { return m_detail.get(); }
    FindBarInterface *findBarController() const override { return m_bar.get(); }
    ContactsViewControllerDelegate *contactsViewControllerDelegate() override { return &gridDelegate; }
    ContactInfoControllerDelegate *contactInfoControllerDelegate() override { return &detailDelegate; }
    bool contactInfoVisible() const override { return detailShown; }
    const ContactTablePtr &contactTable() const override { return m_table; }
    QVariantList customItems() const override { return m_book->customItems(); }
    EditFunnel &editFunnel() override { return m_book->funnel(); }
    UndoManager *undoManager() const override { return m_book->undoManager(); }
    void setDocumentEdited(bool value) override { m_book->setEdited(value); }
    void setFindBarButtonTitle(const QString &title) override { buttonTitle = title; }
    void setFindBarButtonEnabled(bool enabled) override { buttonEnabled = enabled; }
    void findBarButtonClicked() override { ++buttonClicks; }

    // Shows these columns in the grid, as the View menu does.
    void showColumns(const QStringList &columns)
    {
        QVariantMap viewTypes = defaults().dictionaryForKey(DefaultsKey::ViewTypeDict);
        viewTypes.insert(QStringLiteral("Test"), columns);
        defaults().setObject(viewTypes, DefaultsKey::ViewTypeDict);
        defaults().setObject(QStringLiteral("Test"), DefaultsKey::SelectedViewType);
        m_grid->setSelectedViewType(QStringLiteral("Test"));
    }

    ContactRowPtr add(const StoreContact &contact)
    {
        const ContactRowPtr row = rowOf(contact);
        m_table->append(row);
        m_grid->updateTable();
        return row;
    }

    // What one user event makes: the steps before it are closed.
    void nextEvent() { m_book->undoManager()->closeAutomaticGroup(); }

    std::unique_ptr<FindController> find;
    RecordingGridDelegate gridDelegate;
    RecordingDetailDelegate detailDelegate;
    bool detailShown = false;
    bool edited = false;
    int broadcasts = 0;
    QString buttonTitle;
    bool buttonEnabled = false;
    int buttonClicks = 0;

    std::unique_ptr<AddressBook> m_book;
    std::unique_ptr<ContactsViewController> m_grid;
    std::unique_ptr<ContactInfoController> m_detail;
    std::unique_ptr<FindBarController> m_bar;
    ContactTablePtr m_table;
};
