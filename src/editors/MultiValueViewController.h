#pragma once

#include "editors/ListEditorColumns.h"
#include "editors/ValueEditor.h"
#include "platform/widgets/Popover.h"

#include <QFont>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

class ListEditorTableView;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidgetItem;

// The popover that edits a contact's whole list of one labelled kind (phones, e-mail addresses,
// URLs, relations, postal addresses, instant-message accounts, social profiles, labelled custom
// items) as a table: one row per entry, the kind's columns, Add, Delete, drag to reorder, header
// sorting. Done hands the whole working list back as "value" and "values".
//
// Entries keep their "labelIndex" for life: a new entry gets a number that no entry of the list
// had while the editor was open, deleted ones included. A postal address is edited in a nested
// address editor in its own popover; the program sets which editor that is.
class MultiValueViewController : public ValueEditor
{
    Q_OBJECT

public:
    // Makes the nested editor for a kind, or null when there is none.
    using NestedEditorFactory = std::function<ValueEditor *(const QString &type)>;
    // Program-wide; without a factory address rows cannot be opened and Add adds no address.
    static void setNestedEditorFactory(NestedEditorFactory factory);

    explicit MultiValueViewController(QWidget *parent = nullptr);
    ~MultiValueViewController() override;

    QVariantList table() const { return m_table; }
    QList<ListEditorColumns::Column> columns() const { return m_columns; }
    QStringList labels() const { return m_labels; }

    // The presenter's table font; rows grow to fit it.
    void setSelectedFont(const QFont &font);
    QFont selectedFont() const { return m_selectedFont; }
    double rowHeight() const { return m_rowHeight; }

    // What the buttons and cells do.
    void addPressed();
    void deletePressed();
    void setCellText(int row, int column, const QString &text);
    void setLabel(int row, const QString &label);
    void setService(int row, const QString &service);
    // An empty code takes the row's country code away.
    void setCountryCode(int row, const QString &countryCode);
    // Moves the entry at source so that it stands before the entry that was at target (count:
    // at the end); false, and no change, for a drop that leaves the order as it is.
    bool moveRow(int source, int target);
    void sortByColumn(int column, Qt::SortOrder order);
    // The next cell that takes text after (row, column): Tab goes along the row and on to the
    // next, Return down the column; nullopt when no cell takes text.
    std::optional<QPair<int, int>> nextTextCell(int row, int column, bool byReturn) const;
    // Opens the address editor on the row; false when it cannot open.
    bool openAddressRow(int row);

    ListEditorTableView *tableView() const { return m_tableView; }
    QPushButton *addButton() const { return m_addButton; }
    QPushButton *delButton() const { return m_delButton; }
    QLineEdit *nameField() const { return contactNameField(); }
    QLineEdit *addressField() const { return m_addressField; }
    QComboBox *typePopup() const { return m_typePopup; }
    Popover *nestedPopover() const { return m_nestedPopover; }
    bool isAddressViewShowing() const { return m_nestedPopover != nullptr; }

protected:
    bool honoursEditEnabled() const override { return true; }
    void loadContext() override;
    void updateUI() override;
    void finishEditing() override;
    bool cancelWritesDirty() const override { return true; }

private:
    void setUpColumns();
    void reloadData();
    void fillRow(int row);
    QWidget *cellWidget(int row, const ListEditorColumns::Column &column);
    QWidget *labelPopup(int row);
    QWidget *servicePopup(int row);
    QWidget *countryMenu(int row);
    QWidget *editButtonCell(int row);
    QTableWidgetItem *textItem(int row, const ListEditorColumns::Column &column) const;
    int rowHeightOf(int row) const;
    void itemChanged(QTableWidgetItem *item);
    void editCellAfter(int row, int column, bool byReturn);
    void headerClicked(int column);
    int selectedRow() const;
    void selectRow(int row);
    void showAddress(int row);
    bool isAddress() const;
    qsizetype takeNextLabelIndex();
    void normalise(QVariantMap &entry) const;
    void entryChanged(int row, const QVariantMap &entry);
    bool showAddressPopover(const QVariantMap &address, int labelIndex, const QRect &rect);
    void addressEditorClosed(const EditorContextPtr &context, int sourceLabelIndex);
    void closeEditing();

    ListEditorTableView *m_tableView;
    QComboBox *m_typePopup;
    QLineEdit *m_addressField;
    QPushButton *m_addButton;
    QPushButton *m_delButton;
    QList<ListEditorColumns::Column> m_columns;
    QVariantList m_table;
    QStringList m_labels;
    QString m_defaultCountryCode;
    QMap<QString, QVariantMap> m_addressFormats;
    QFont m_selectedFont;
    double m_rowHeight = 20.0;
    qsizetype m_nextLabelIndex = 0;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QPointer<Popover> m_nestedPopover;
    bool m_reloading = false;
};
