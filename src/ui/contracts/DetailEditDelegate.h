#pragma once

#include "model/AddressBookRecords.h"
#include "ui/contracts/DetailRow.h"
#include "ui/contracts/ValueEditDelegate.h"

#include <QVariant>
#include <QVariantMap>

class QObject;

// What a detail table asks of the main view controller beside the value edits: the name and photo
// of the shown contact and the find cursor.
class DetailEditDelegate : public ValueEditDelegate
{
public:
    virtual bool undoReplaceNameValue(const QVariantMap &name, const ContactRowPtr &contact) = 0;
    // A QImage, or nil to remove the photo and its thumbnail.
    virtual bool undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact) = 0;

    // A detail table's selected row moved.
    virtual void rowSelectionDidChange(QObject *sender, const DetailRow &detailRow) = 0;
};
