#pragma once

#include "detail/DetailTableHost.h"
#include "platform/widgets/Popover.h"
#include "ui/contracts/ContactInfoPopoverInterface.h"
#include "ui/contracts/DetailRow.h"

#include <QPointer>
#include <QWidget>

class ContactInfoPopoverDelegate;
class DetailTableController;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class SeparatorBox;
class UndoManager;
class UserDefaults;

// One contact of the grid as the detail table, in a popover over the grid or in a window of its
// own once torn off. It only adds the popover's own parts to the table: the Edit/Lock toggle, OK,
// the Delete key, and undo and redo on the main window's undo manager, so that edits made here
// and in the main window are one history. It never writes a record: every edit goes to its
// delegate (the main view controller) with the popover as sender.
//
// Its closing (OK, the popover or window closing for any reason) is told to the delegate with
// detachedWindowDidClose, which drops the grid's entry for the contact; OK tells it twice.
class ContactInfoPopover : public QWidget, public ContactInfoPopoverInterface, public DetailTableHost
{
    Q_OBJECT

public:
    explicit ContactInfoPopover(UserDefaults &defaults, QWidget *parent = nullptr);

    // ContactInfoPopoverInterface
    ContactRowPtr contact() const override;
    void setContact(const ContactRowPtr &contact) override;
    void updateTable() override;
    void groupsDidChange() override;
    bool contactsDidLeave(const QSet<QString> &uniqueIds) override;
    void setCustomItems(const QVariantList &customItems) override;
    QVariantList customItems() const override;
    void setSelectedLabels(const QStringList &labels) override;
    void setSelectedFont(const QFont &font) override;
    void setEditState(bool editState) override;
    void setMyUndoManager(UndoManager *undoManager) override { m_undoManager = undoManager; }
    void setParentWindow(QWidget *window) override
    {
        m_parentWindow = window;
        showContactName();
    }
    void setParentPopover(Popover *popover) override;
    void setDelegate(ContactInfoPopoverDelegate *delegate) override { m_delegate = delegate; }
    void editForIdentifier(const QString &identifier) override;
    QWidget *view() override { return this; }

    // DetailTableHost
    DetailEditDelegate *editDelegate() const override;
    QObject *editSender() override { return this; }
    void sendContactDidUpdate() override;
    DetailRowMenu::Variant rowMenuVariant() const override { return DetailRowMenu::Variant::Popover; }

    bool editState() const;
    QWidget *parentWindow() const { return m_parentWindow; }
    Popover *parentPopover() const { return m_parentPopover; }
    UndoManager *myUndoManager() const { return m_undoManager; }
    DetailTableController *detailTable() const { return m_detail; }
    QPushButton *editButton() const { return m_editButton; }
    QPushButton *okButton() const { return m_okButton; }
    QLineEdit *contactNameField() const { return m_contactNameField; }
    SeparatorBox *redSeparator() const { return m_redSeparator; }

public slots:
    void undo();
    void redo();
    // The Delete key: empties or removes the selected row's value, while editing.
    void deleteSelectedValue();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void editButtonToggled(bool on);
    void okButtonPressed();
    void viewWillAppear();
    void viewWillDisappear();
    void reportClose(bool withWindow);
    void closeHost();
    void deleteRowValue(const DetailRow &row);
    int savedIconRowCount() const;
    static bool isHistoryKey(const QKeyEvent &key);
    void setParentWindowEdited(bool edited);
    void showContactName();

    UserDefaults &m_defaults;
    DetailTableController *m_detail;
    QLineEdit *m_contactNameField;
    QPushButton *m_editButton;
    SeparatorBox *m_redSeparator;
    QPushButton *m_okButton;
    ContactInfoPopoverDelegate *m_delegate = nullptr;
    UndoManager *m_undoManager = nullptr;
    QPointer<QWidget> m_parentWindow;
    QPointer<Popover> m_parentPopover;
};
