#pragma once

#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

#include <optional>

class Popover;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class SeparatorBox;

// The popover of the custom-item sheet in which one item is added or its labels changed. Its
// context is the CustomItemDict being edited: an item of the sheet's list (changed here, with
// "changed" set on Done) or a new one ("new" set). The sheet takes the context only when the
// popover closed through Done, which refuses an item without a name, a labelled item without
// labels and a new item whose name is taken, belongs to a built-in field or names a vCard line
// that the vCard reader reads as something else.
class AddItemViewController : public QWidget
{
    Q_OBJECT

public:
    explicit AddItemViewController(QWidget *parent = nullptr);

    void setPopover(Popover *popover);
    Popover *popover() const;
    // Names a new item may not take (the other items of the sheet).
    void setTakenNames(const QStringList &names) { m_takenNames = names; }
    // An item of the list to change, or none for a new item.
    void setContextInfo(const std::optional<QVariantMap> &item);
    QVariantMap contextInfo() const { return m_contextInfo; }
    // The popover was closed by Done; any other close leaves the sheet's list alone.
    bool didFinishWithDone() const { return m_finishedWithDone; }
    // The working list of labels, in the order shown.
    QStringList table() const { return m_table; }

    void updateUI();
    void popupChanged(int index);
    void textFieldChanged(const QString &text);
    void textFieldCellChanged(int row, const QString &text);
    void tableViewDoubleClick(int row);
    void sortDescriptorsDidChange(bool ascending);
    // The image view's menu, built as it opens.
    void menuNeedsUpdate(QMenu *menu);
    void addImage();
    void deleteImage();
    // An image put into the image view; a null image changes nothing.
    void imageDidChanged(const QImage &image);

    // Names of the fields every contact has, which no custom item may take.
    static bool isBuiltInName(const QString &name);
    // The icon of an item: its own, else the stored image data, else the default cube.
    static QImage iconOfItem(const QVariantMap &item);

    QLabel *imageView() const { return m_imageView; }
    QLineEdit *nameField() const { return m_nameField; }
    SeparatorBox *redSeparator() const { return m_redSeparator; }
    QComboBox *typePopup() const { return m_typePopup; }
    QPushButton *addButton() const { return m_addButton; }
    QPushButton *deleteButton() const { return m_deleteButton; }
    QPushButton *doneButton() const { return m_doneButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QTableWidget *tableView() const { return m_tableView; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Return presses Done wherever it is typed, but in a label being edited, which it ends.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void viewDidLoad();
    int selectedRow() const;
    void reloadData(int selectRow);
    void itemChanged(QTableWidgetItem *item);
    void showImage();
    void takeImage(const QImage &image);
    void addLabel();
    void deleteLabel();
    void donePressed();
    void cancelPressed();
    bool refusesName(const QString &name) const;

    QLabel *m_imageView;
    QLineEdit *m_nameField;
    SeparatorBox *m_redSeparator;
    QComboBox *m_typePopup;
    QPushButton *m_addButton;
    QPushButton *m_deleteButton;
    QPushButton *m_doneButton;
    QPushButton *m_cancelButton;
    QTableWidget *m_tableView;
    QPointer<Popover> m_popover;

    QVariantMap m_contextInfo;
    QStringList m_table;
    QStringList m_takenNames;
    bool m_finishedWithDone = false;
    bool m_ascending = false;
};
