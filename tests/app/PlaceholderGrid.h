#pragma once

#include "ui/contracts/ContactsGridInterface.h"
#include "platform/widgets/Popover.h"
#include "ui/widgets/OwnedView.h"

#include <QObject>
#include <QPointer>
#include <QTableWidget>

class UserDefaults;

// Stands in for the contacts grid: one row per contact with its name under the columns of the
// selected view type; selecting a row tells the delegate.
class PlaceholderGrid : public QObject, public ContactsGridInterface
{
    Q_OBJECT

public:
    explicit PlaceholderGrid(UserDefaults &defaults);
    // Deletes the widget unless a layout took it.

    QWidget *view() override;
    QWidget *takeView() override { return m_table.take(); }
    QAbstractItemView *tableView() override;
    void setContactTable(const ContactTablePtr &contactTable) override { m_contactTable = contactTable; }
    void updateTable() override;
    void setSelectedViewType(const QString &viewType) override;
    void setSelectedLabels(const QStringList &labels) override { m_selectedLabels = labels; }
    void setEditState(bool editState) override { m_editState = editState; }
    void setSelectedFont(const QFont &font) override;
    void setCustomItems(const QVariantList &customItems) override { m_customItems = customItems; }
    void setDelegate(ContactsViewControllerDelegate *delegate) override { m_delegate = delegate; }

    void selectRowIndexesWithContacts(const QList<ContactRowPtr> &contacts) override;
    QList<ContactRowPtr> selectedContacts() override;
    QList<SubContactRowPtr> selectedSubContacts() override;
    std::optional<QList<ContactRowPtr>> selectedContactsWithClickedRowIndex(int clickedRow) override;
    QList<SubContactRowPtr> subContactTable() override { return m_subContactTable; }

    Popover *popover() override { return m_popover; }
    void setPopover(Popover *popover) override { m_popover = popover; }
    void detachedWindowDidClose(const ClosedWindow &) override {}
    void showContactInfoPopoverWithOption(bool) override {}
    void saveColumnWithDictionary() override {}
    void sortOptionsChanged(const QVariantMap &, const QString &) override {}
    void showQRCode() override {}
    void toggleShowCompany() override {}

private:
    void selectionChanged();
    QList<int> selectedRows() const;

    UserDefaults &m_defaults;
    OwnedView<QTableWidget> m_table;
    ContactsViewControllerDelegate *m_delegate = nullptr;
    ContactTablePtr m_contactTable;
    QList<SubContactRowPtr> m_subContactTable;
    QStringList m_selectedLabels;
    QVariantList m_customItems;
    QPointer<Popover> m_popover;
    bool m_editState = false;
    bool m_reloading = false;
};
