#pragma once

#include "model/AddressBookRecords.h"
#include "ui/contracts/DetailRow.h"
#include "ui/contracts/ValueEditDelegate.h"

#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class QObject;

// What a detail table asks of the main view controller beside the value edits: the name and photo
// of the shown contact, the groups it belongs to and the find cursor.
class DetailEditDelegate : public ValueEditDelegate
{
public:
    virtual bool undoReplaceNameValue(const QVariantMap &name, const ContactRowPtr &contact) = 0;
    // A QImage, or nil to remove the photo and its thumbnail.
    virtual bool undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact) = 0;

    // The names of the groups that hold the contact, for the "Groups" row. Asked at every redraw:
    // the row a table shows may be a grid row made anew since, which carries no names.
    virtual QStringList groupNamesOfContact(const ContactRowPtr &contact) const = 0;

    // A detail table's selected row moved.
    virtual void rowSelectionDidChange(QObject *sender, const DetailRow &detailRow) = 0;
};
