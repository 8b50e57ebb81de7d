#pragma once

#include "detail/DetailRow.h"
#include "model/AddressBookRecords.h"

#include <QImage>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

class QObject;

// What the detail table asks of the main view controller: the undoable edits of the shown
// contact and the find cursor. Every change the table makes goes through these; the table never
// writes a record itself. `sender` is the view that made the change (it is not refreshed by the
// broadcast that follows).
class DetailEditDelegate
{
public:
    virtual ~DetailEditDelegate() = default;

    // A string field or string custom item; an invalid value stores "". False when it does not fit.
    virtual bool undoReplaceValue(const QVariant &value, const QString &identifier,
                                  const ContactRowPtr &contact, QObject *sender) = 0;
    // A whole list, one entry (matched by its "labelIndex") or nil. Refreshes the tables without
    // marking the window edited.
    virtual bool undoReplaceLabeledValue(const QVariant &value, const QString &identifier,
                                         const ContactRowPtr &contact, QObject *sender) = 0;
    virtual void undoAddLabeledValue(const QVariantMap &value, const QString &identifier,
                                     const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoDeleteLabeledValueForIdentifier(const QString &identifier, int labelIndex,
                                                     const ContactRowPtr &contact, QObject *sender) = 0;
    virtual bool undoReplaceNameValue(const QVariantMap &name, const ContactRowPtr &contact) = 0;
    // nullopt stores an empty phonetic name.
    virtual bool undoReplacePhoneticNameValue(const std::optional<QVariantMap> &phoneticName,
                                              const ContactRowPtr &contact) = 0;
    // nullopt removes the birthday.
    virtual bool undoReplaceBirthday(const std::optional<QVariantMap> &birthday,
                                     const ContactRowPtr &contact) = 0;
    // nullopt removes the photo and its thumbnail.
    virtual bool undoReplacePhoto(const std::optional<QImage> &photo, const ContactRowPtr &contact) = 0;

    // A detail table selected this row; the find cursor moves to it.
    virtual void rowSelectionDidChange(QObject *sender, const DetailRowPtr &row) = 0;
};
