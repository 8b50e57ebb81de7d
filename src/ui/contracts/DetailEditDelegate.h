#pragma once

#include "model/AddressBookRecords.h"
#include "ui/contracts/DetailRow.h"

#include <QString>
#include <QVariant>
#include <QVariantMap>

class QObject;

// What a detail table asks of the main view controller: the undoable edits of the shown contact
// and the find cursor. Every change the table makes goes through these; the table never writes a
// record itself. `sender` is the view that made the change (the broadcast that follows does not
// refresh it). A nil value is an invalid QVariant.
class DetailEditDelegate
{
public:
    virtual ~DetailEditDelegate() = default;

    virtual bool undoReplaceValue(const QVariant &value, const QString &identifier,
                                  const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoReplaceLabeledValue(const QVariant &value, const QString &identifier,
                                         const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoAddLabeledValue(const QVariantMap &value, const QString &identifier,
                                     const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64 labelIndex,
                                                     const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoReplaceNameValue(const QVariantMap &name, const ContactRowPtr &contact) = 0;
    virtual bool undoReplacePhoneticNameValue(const QVariant &phoneticName, const ContactRowPtr &contact) = 0;
    virtual bool undoReplaceBirthday(const QVariant &birthday, const ContactRowPtr &contact) = 0;
    // A QImage, or nil to remove the photo and its thumbnail.
    virtual bool undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact) = 0;

    // A detail table's selected row moved.
    virtual void rowSelectionDidChange(QObject *sender, const DetailRow &detailRow) = 0;
};
