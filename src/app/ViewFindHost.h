#pragma once

#include "ui/contracts/FindHost.h"

class ViewController;

// The main view controller as the find code sees it: its panes, its address book and the
// window's find button.
class ViewFindHost : public FindHost
{
public:
    explicit ViewFindHost(ViewController &view) : m_view(view) {}

    ContactsGridInterface *contactsViewController() const override;
    ContactInfoInterface *contactInfoController() const override;
    FindBarInterface *findBarController() const override;
    ContactsViewControllerDelegate *contactsViewControllerDelegate() override;
    ContactInfoControllerDelegate *contactInfoControllerDelegate() override;
    bool contactInfoVisible() const override;
    const ContactTablePtr &contactTable() const override;
    QVariantList customItems() const override;
    EditFunnel &editFunnel() override;
    UndoManager *undoManager() const override;
    void setDocumentEdited(bool edited) override;
    void setFindBarButtonTitle(const QString &title) override;
    void setFindBarButtonEnabled(bool enabled) override;
    void findBarButtonClicked() override;

private:
    ViewController &m_view;
};
