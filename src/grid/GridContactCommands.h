#pragma once

#include "grid/GridCommandHost.h"
#include "model/WorkspaceURL.h"
#include "ui/contracts/PhoneLayout.h"

#include <QObject>

class NormalizePhoneNumber;

// The grid's commands on whole contacts and on the shown phone numbers: duplicate, delete and
// export the selected and clicked contacts, lay the selected rows' numbers out anew, and open the
// clicked value in another application.
class GridContactCommands : public QObject
{
    Q_OBJECT

public:
    explicit GridContactCommands(GridCommandHost &host, QObject *parent = nullptr);

    // The number at each selected row's position, in one undo step; numbers already in the layout,
    // and rows without a number, are left alone.
    void normalizePhoneNumber(PhoneLayout layout);
    // The grid shows a "Phone" column.
    bool canNormalizePhoneNumber() const;

    // With a clicked cell; duplicate and delete only while the grid is editable.
    void duplicateContact();
    void deleteContact();
    // One vCard file of the contacts, named after the first, written whole or not at all.
    void exportContact();

    // Calls, mails, opens or maps the clicked row's value; the address parts have no link.
    void doWorkspaceAction(WorkspaceURL::MapService map = WorkspaceURL::MapService::Desktop);

    static QString layoutNumber(const NormalizePhoneNumber &normalizer, PhoneLayout layout);

private:
    // The contacts of the selected rows and the clicked row, in group order; empty without a
    // clicked cell.
    QList<ContactRowPtr> clickedContacts() const;
    void writeExport(const QString &path, const QList<ContactRowPtr> &contacts);

    GridCommandHost &m_host;
};
