#pragma once

#include "editors/ValueEditor.h"
#include "platform/StoreContact.h"

#include <QList>
#include <QVariantList>

class DateControls;
class DatesCellDelegate;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

// The popover that edits a contact's whole list of dated entries as a table of labels and dates.
// Done hands the working list back as "value". An entry whose date was emptied leaves the list;
// a typed text that reads as no date changes nothing.
class DatesViewController : public ValueEditor
{
    Q_OBJECT

public:
    enum Column
    {
        LabelColumn,
        DateColumn
    };

    explicit DatesViewController(QWidget *parent = nullptr);

    // The working list of dated entries.
    QVariantList table() const { return m_table; }

    // What the table's cells set: a stored label, a date by its text.
    void setLabel(int row, const QString &label);
    void setDateText(int row, const QString &text);
    void addPressed();
    void deletePressed();

    QTableWidget *tableView() const { return m_tableView; }
    QPushButton *addButton() const { return m_addButton; }
    QPushButton *delButton() const { return m_delButton; }
    DateControls *dateControls() const { return m_dateControls; }

protected:
    bool honoursEditEnabled() const override { return true; }
    void loadContext() override;
    void updateUI() override;
    void finishEditing() override;

private:
    void reloadData();
    void fillRow(int row);
    QTableWidgetItem *labelItem(const QVariantMap &entry) const;
    void selectRowAlone(int row);
    void takeFocusKeepingSelection();
    // The row the date controls edit: the current row when selected, else none (-1).
    int selectedRow() const;
    QList<int> selectedRows() const;
    void selectionChanged();
    void itemChanged(QTableWidgetItem *item);
    // The controls' date goes into the selected row while unlocked.
    void takeControlsDate(const DateComponents &date);
    void setRowDate(int row, const DateComponents &date);
    void monthChosen(int month);

    QTableWidget *m_tableView;
    DatesCellDelegate *m_cellDelegate;
    QPushButton *m_addButton;
    QPushButton *m_delButton;
    DateControls *m_dateControls;
    QVariantList m_table;
    bool m_addOnOpening = false;
    bool m_reloading = false;
};
