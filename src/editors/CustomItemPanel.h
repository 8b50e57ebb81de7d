#pragma once

#include "model/AddressBookRecords.h"
#include "platform/widgets/Sheet.h"

#include <QPointer>
#include <QRect>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

class AddItemViewController;
class HelpViewController;
class Popover;
class QPushButton;
class QTableWidget;

// The sheet that lists the custom items (user-defined fields) handed to it and lets the user add
// an item, change a labelled item's labels and mark items deleted. It edits its own copy of the
// list, flagging entries "new", "changed" or "deleted"; the window applies the result when the
// sheet ends with 1, which it does on Done after an item was added, changed or marked deleted.
class CustomItemPanel : public Sheet
{
    Q_OBJECT

public:
    explicit CustomItemPanel(QWidget *parent = nullptr);

    // Resets the list and the return code for a new run.
    void setCustomItems(const QVariantList &customItems);
    QVariantList customItems() const { return m_customItems; }
    // Kept for the item commands; the sheet reads nothing of it.
    void setContainerTable(const ContainerTable &containerTable) { m_containerTable = containerTable; }
    ContainerTable containerTable() const { return m_containerTable; }
    // Chooses the help text.
    void setIsVCard(bool isVCard) { m_isVCard = isVCard; }
    bool isVCard() const { return m_isVCard; }
    bool itemsDirty() const { return m_itemsDirty; }

    // Opens a labelled item in the item popover; other items are not changed there.
    void tableViewDoubleAction(int row, int column);
    // rect in the table's coordinates; no item for a new one.
    void showAddItemPopoverInRect(const QRect &rect, const std::optional<QVariantMap> &item);
    void popoverDidClose(Popover *popover);

    QTableWidget *tableView() const { return m_tableView; }
    QPushButton *helpButton() const { return m_helpButton; }
    QPushButton *addButton() const { return m_addButton; }
    QPushButton *delButton() const { return m_delButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QPushButton *doneButton() const { return m_doneButton; }
    // The popover shown (item or help), or none.
    Popover *popover() const;
    AddItemViewController *addItemViewController() const;
    HelpViewController *helpViewController() const;

private:
    void windowDidLoad();
    void reloadData(int selectRow);
    QList<int> selectedRows() const;
    void selectionDidChange();
    void showHelp();
    void deleteItems();
    void markDeleted(const QList<int> &rows);
    void takeItem(QVariantMap item);
    QStringList liveNames() const;
    Popover *makePopover(bool transient);

    QTableWidget *m_tableView;
    QPushButton *m_helpButton;
    QPushButton *m_addButton;
    QPushButton *m_delButton;
    QPushButton *m_cancelButton;
    QPushButton *m_doneButton;
    QPointer<Popover> m_popover;
    QPointer<AddItemViewController> m_addItemViewController;
    QPointer<HelpViewController> m_helpViewController;

    QVariantList m_customItems;
    ContainerTable m_containerTable;
    bool m_itemsDirty = false;
    bool m_isVCard = false;
};
