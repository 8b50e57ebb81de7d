#pragma once

#include "ui/contracts/ContactInfoInterface.h"
#include "detail/DetailTableHost.h"
#include "ui/contracts/ItemAndRange.h"
#include "ui/widgets/OwnedView.h"

#include <QObject>

#include <memory>

class DetailEditDelegate;
class DetailTableController;
class Popover;
class QNPerson;
class QTableView;
class QTextBrowser;
class UserDefaults;

// The main window's detail pane: the contact selected in the grid as the detail table while the
// window is editable, or as the read-only contact card while it is locked.
//
// Its edits go to the edit delegate: the one set with setEditDelegate, else the delegate when it
// also takes edits (the main view controller does).
class ContactInfoController : public QObject, public ContactInfoInterface, public DetailTableHost
{
    Q_OBJECT

public:
    // Reads the detail font and the saved field order from defaults.
    explicit ContactInfoController(UserDefaults &defaults);

    // ContactInfoInterface
    QWidget *view() override;
    QWidget *takeView() override { return m_view.take(); }
    QWidget *webView() override;
    QAbstractScrollArea *scrollView() override;
    QAbstractItemView *tableView() override;
    void setContact(const ContactRowPtr &contact) override;
    ContactRowPtr contact() const override;
    void clearContact() override;
    void contactsDidLeave(const QSet<QString> &uniqueIds) override;
    void updateTable() override;
    void groupsDidChange() override;
    void updateWebView() override;
    // Stores the state and shows the table (editable) or the card (locked); redraws neither.
    void setEditState(bool editState) override;
    void setSelectedLabels(const QStringList &labels) override;
    void setSelectedFont(const QFont &font) override;
    void setCustomItems(const QVariantList &customItems) override;
    void setFindString(const QString &findString) override;
    void setFindOptions(Qt::CaseSensitivity findOptions) override;
    void selectItemAndRange(const std::optional<ItemAndRange> &hit) override;
    QStringList rowOrderTable() const override;
    void setDelegate(ContactInfoControllerDelegate *delegate) override;
    void sendContactDidUpdate() override;

    // DetailTableHost
    DetailEditDelegate *editDelegate() const override;
    QObject *editSender() override;

    void setEditDelegate(DetailEditDelegate *delegate) { m_editDelegate = delegate; }
    ContactInfoControllerDelegate *delegate() const { return m_delegate; }
    bool editState() const;
    void editForIdentifier(const QString &identifier);
    // The pane's own popover for value editors; null while none is open.
    Popover *popover() const;

    // The table component, for the window's commands and for tests.
    DetailTableController *detailTable() const { return m_detail; }
    QTextBrowser *cardView() const { return m_card; }

private:
    // What the card shows, so that a redraw that changes nothing keeps the card where the user
    // scrolled it.
    struct ShownCard
    {
        std::weak_ptr<QNPerson> person;
        quint64 revision = 0;
        QString html;
    };

    void clearCard();

    OwnedView<QWidget> m_view;
    DetailTableController *m_detail;
    QTextBrowser *m_card;
    ShownCard m_shownCard;
    ContactInfoControllerDelegate *m_delegate = nullptr;
    DetailEditDelegate *m_editDelegate = nullptr;
};
