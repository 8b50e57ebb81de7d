#pragma once

#include "app/ContactInfoInterface.h"

#include <QObject>
#include <QPointer>

class QStackedWidget;
class QTableWidget;
class QTextBrowser;

// Stands in for the detail pane: the shown contact's name as a one-row table while editing, or
// as a card while locked.
class PlaceholderDetailPane : public QObject, public ContactInfoInterface
{
    Q_OBJECT

public:
    PlaceholderDetailPane();
    // Deletes the widget unless a layout took it.
    ~PlaceholderDetailPane() override;

    QWidget *view() override;
    QWidget *webView() override;
    QAbstractScrollArea *scrollView() override;
    QAbstractItemView *tableView() override;

    void setContact(const ContactRowPtr &contact) override;
    ContactRowPtr contact() const override { return m_contact; }
    void updateTable() override;
    void updateWebView() override;
    void setEditState(bool editState) override;
    void setSelectedLabels(const QStringList &labels) override { m_selectedLabels = labels; }
    void setSelectedFont(const QFont &font) override;
    void setCustomItems(const QVariantList &customItems) override { m_customItems = customItems; }
    void setFindString(const QString &findString) override { m_findString = findString; }
    void setDelegate(ContactInfoControllerDelegate *delegate) override { m_delegate = delegate; }
    void sendContactDidUpdate() override;

private:
    QPointer<QStackedWidget> m_stack;
    QTableWidget *m_table;
    QTextBrowser *m_card;
    ContactInfoControllerDelegate *m_delegate = nullptr;
    ContactRowPtr m_contact;
    QStringList m_selectedLabels;
    QVariantList m_customItems;
    QString m_findString;
};
