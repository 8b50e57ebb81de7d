#pragma once

#include "model/AddressBookRecords.h"

#include <QString>
#include <QVariant>
#include <QVariantMap>

class QObject;

// The detail popover's calls to the main view controller: its edits go through the same undoable
// methods as every other view's, with the popover as sender.
class ContactInfoPopoverDelegate
{
public:
    virtual ~ContactInfoPopoverDelegate() = default;

    virtual void contactDidUpdate(const ContactRowPtr &contact, QObject *sender) = 0;
    // The detail table's selected row moved: detailRow holds "Type", and "labelIndex" and "Label"
    // where the row has them.
    virtual void rowSelectionDidChange(QObject *sender, const QVariantMap &detailRow) = 0;
    // {"uniqueId"} or {"uniqueId", "Window"} of a torn-off window that closed.
    virtual void detachedWindowDidClose(const QVariantMap &info) = 0;

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
    virtual bool undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact) = 0;
};
