#pragma once

#include "model/AddressBookRecords.h"

#include <QString>
#include <QVariant>
#include <QVariantMap>

class QObject;

// The undoable value edits a pane asks of the main view controller; the pane never writes a
// record itself. `sender` is the view that made the change (the broadcast that follows does not
// refresh it). A nil value is an invalid QVariant.
class ValueEditDelegate
{
public:
    virtual ~ValueEditDelegate() = default;

    virtual bool undoReplaceValue(const QVariant &value, const QString &identifier,
                                  const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoReplaceLabeledValue(const QVariant &value, const QString &identifier,
                                         const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoAddLabeledValue(const QVariantMap &value, const QString &identifier,
                                     const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64 labelIndex,
                                                     const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoReplacePhoneticNameValue(const QVariant &phoneticName, const ContactRowPtr &contact) = 0;
    virtual bool undoReplaceBirthday(const QVariant &birthday, const ContactRowPtr &contact) = 0;
};
