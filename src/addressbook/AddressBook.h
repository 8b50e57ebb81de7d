#pragma once

#include "addressbook/GroupLoader.h"
#include "model/AddressBookRecords.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantList>

#include <atomic>
#include <memory>
#include <optional>

class ContactGroupEdits;
class ContactTableSorting;
class EditFunnel;
class UndoManager;

// The document of the main window without its widgets: the address-book tree the loader built
// (shared with every pane, never copied), the selected group and its contact table, the custom-item
// definitions, the undo history, the edited mark, and the undoable edits of it all.
//
// Every change goes through funnel() (values of a contact), groupEdits() (the tree's shape) or
// sorting() (the order of a contact's values), and is told with the signals below; the window
// listens to them and redraws its panes.
class AddressBook : public QObject
{
    Q_OBJECT

public:
    explicit AddressBook(QObject *parent = nullptr);
    ~AddressBook() override;

    UndoManager *undoManager() const { return m_undoManager; }
    EditFunnel &funnel() const { return *m_funnel; }
    ContactGroupEdits &groupEdits() const { return *m_groupEdits; }
    ContactTableSorting &sorting() const { return *m_sorting; }

    // Empty or null while nothing is loaded.
    const ContainerTable &containerTable() const { return m_containerTable; }
    void setContainerTable(const ContainerTable &containerTable) { m_containerTable = containerTable; }
    const ContactTablePtr &contactTable() const { return m_contactTable; }
    void setContactTable(const ContactTablePtr &contactTable) { m_contactTable = contactTable; }
    const GroupDictPtr &selectedGroupDict() const { return m_selectedGroupDict; }
    void setSelectedGroupDict(const GroupDictPtr &group) { m_selectedGroupDict = group; }
    // Written by the loading thread, read by the main thread.
    bool isLoading() const { return m_loading.load(); }
    void setLoading(bool loading) { m_loading.store(loading); }

    // The custom-item definitions (CustomItemDict maps).
    const QVariantList &customItems() const { return m_customItems; }
    void setCustomItems(const QVariantList &customItems) { m_customItems = customItems; }
    // Appends the items the contacts bring that no definition stands for yet (an import's X-
    // lines), and tells of them with customItemsAdded.
    void addCustomItemsOfContacts(const ContactTable &contacts);

    // Something is not saved yet.
    bool isEdited() const { return m_edited; }
    void setEdited(bool edited);
    // Marks the document edited unless the change is an undo or redo, which set the mark themselves.
    void markEditedOutsideUndo();
    void undo();
    void redo();

    // The first container of the table holding the group, by its "containerIdentifier".
    ContainerDictPtr containerOfGroup(const GroupDict &group) const;
    // The names of the groups of the selected group's container that hold the contact, deleted
    // groups and rows included.
    QStringList groupNamesOfContact(const ContactRowPtr &contact) const;
    // The store's contacts of a group, or of the whole container without one.
    QList<StoreContact> cnContactsForGroup(const std::optional<StoreGroup> &group,
                                           const QString &containerIdentifier) const;
    // Test hook: where cnContactsForGroup reads from (the store when empty).
    void setGroupFetch(GroupLoader::Fetch fetch) { m_groupFetch = std::move(fetch); }
    // Makes the group the selected one and its table the shown one, reading its container from
    // the store the first time one of its groups is shown.
    void selectGroup(const GroupDictPtr &group);

signals:
    // A contact's values changed; sender is the view that made the change (or null).
    void contactDidUpdate(const ContactRowPtr &contact, QObject *sender);
    // The shown table's rows or their values changed: the grid rebuilds its rows. contact is the
    // one whose list was written whole, or null when only the rows' order changed.
    void tableChanged(const ContactRowPtr &contact);
    // Contacts joined or left the shown table (deleted says which); the grid selects them.
    void contactRowsChanged(const QList<ContactRowPtr> &rows, bool deleted);
    // Groups were added or removed.
    void groupsChanged();
    // A group was added, removed or renamed, or contacts joined or left one: the names of a
    // contact's groups may read otherwise.
    void membershipsChanged();
    // A group edit made this group the selected one.
    void groupShown(const GroupDictPtr &group);
    void editedChanged(bool edited);
    // Definitions joined customItems(), at the end in this order: the menus and exports must
    // know them before the contacts that brought them are shown.
    void customItemsAdded(const QVariantList &added);

private:
    UndoManager *m_undoManager;
    std::unique_ptr<EditFunnel> m_funnel;
    std::unique_ptr<ContactGroupEdits> m_groupEdits;
    std::unique_ptr<ContactTableSorting> m_sorting;
    GroupLoader::Fetch m_groupFetch;

    ContainerTable m_containerTable;
    ContactTablePtr m_contactTable;
    GroupDictPtr m_selectedGroupDict;
    std::atomic<bool> m_loading{false};
    QVariantList m_customItems;
    bool m_edited = false;
};
