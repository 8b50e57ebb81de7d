#pragma once

#include "ui/contracts/EditorContext.h"
#include "model/AddressBookRecords.h"
#include "platform/widgets/Sheet.h"

#include <QFont>
#include <QMap>
#include <QStringList>
#include <QVariantList>

class QComboBox;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class UserDefaults;

// The sheet in which the user manages the labels they added to a kind of labelled value (phone,
// e-mail, ... and every custom item of labelled values): add, rename, delete.
//
// Every change takes effect at once in the label tables of QNPerson. A rename or a deletion also
// relabels every value that carries the label in the contacts read so far (the top group of each
// container), marking those contacts changed, without undo. The sheet ends with 1 when a rename
// or deletion took effect in this run, else 0; contactsChanged() tells the window that contacts
// changed even when the sheet was cancelled.
class CustomLabelPanelController : public Sheet
{
    Q_OBJECT

public:
    explicit CustomLabelPanelController(UserDefaults &defaults, QWidget *parent = nullptr);

    // Set by the window before the sheet starts, in this order.
    void setCustomItems(const QVariantList &customItems);
    QVariantList customItems() const { return m_customItems; }
    void setSelectedFont(const QFont &font);
    QFont selectedFont() const { return m_selectedFont; }
    void setContainerTable(const ContainerTable &containerTable) { m_containerTable = containerTable; }
    // Starts a run from the class tables; the context's content is not used.
    void setContextInfo(const EditorContext &contextInfo);

    // Adds (empty from), renames or, with an empty to, deletes a label of the identifier, in the
    // class tables and then in the contacts. False, touching nothing, when the tables refuse it or
    // a rename would give the identifier a label it already offers.
    bool setLabel(const QString &from, const QString &to, const QString &identifier);

    // Actions.
    void popupDidSelect(int index);
    void textFieldCellChanged(int row, const QString &text);
    void tableViewDoubleClick(int row);
    void explainRefusedName(const QString &text);
    void sortDescriptorsDidChange(bool ascending);

    void initItemPopup(const QStringList &identifiers);
    void updateUI();

    // The identifier of the kind chosen in the popup.
    QString selectedIdentifier() const { return m_selectedIdentifier; }
    // The labels listed for that kind, in the order shown.
    QStringList table() const { return m_customLabelTableDict.value(m_selectedIdentifier); }
    QMap<QString, QStringList> customLabelTableDict() const { return m_customLabelTableDict; }
    bool dirtyFlag() const { return m_dirtyFlag; }
    bool contactsChanged() const { return m_contactsChanged; }
    int rowHeight() const { return m_rowHeight; }
    // Rows are 9 points taller than the font's line, and at least 20.
    static int rowHeightForLineHeight(qreal lineHeight);
    // The label that takes the place of a deleted one in the values that carried it.
    static QString replacementForDeletedLabel(const QString &identifier);

    QComboBox *itemNamePopup() const { return m_itemNamePopup; }
    QTableWidget *tableView() const { return m_tableView; }
    QPushButton *doneButton() const { return m_doneButton; }
    QPushButton *addButton() const { return m_addButton; }
    QPushButton *deleteButton() const { return m_deleteButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }

private:
    void windowDidLoad();
    QStringList &currentList() { return m_customLabelTableDict[m_selectedIdentifier]; }
    bool offersLabel(const QString &label, const QString &identifier) const;
    bool relabelContacts(const QString &from, const QString &to, const QString &identifier);
    int selectedRow() const;
    void reloadData(int selectRow);
    void itemChanged(QTableWidgetItem *item);
    void addLabel();
    void deleteLabel();
    void donePressed();
    void cancelPressed();

    UserDefaults &m_defaults;
    QComboBox *m_itemNamePopup;
    QTableWidget *m_tableView;
    QPushButton *m_doneButton;
    QPushButton *m_addButton;
    QPushButton *m_deleteButton;
    QPushButton *m_cancelButton;

    QVariantList m_customItems;
    ContainerTable m_containerTable;
    QFont m_selectedFont;
    int m_rowHeight = 20;
    QMap<QString, QStringList> m_customLabelTableDict;
    QString m_selectedIdentifier;
    bool m_dirtyFlag = false;
    bool m_contactsChanged = false;
    bool m_ascending = false;
};
