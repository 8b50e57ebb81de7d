#pragma once

#include "model/AddressBookRecords.h"
#include "ui/contracts/DetailRow.h"

#include <QString>

#include <memory>
#include <optional>

class QMimeData;

// What a dragged detail row carries: its field ("identifier"), the whole contact as vCard data,
// the entry's "labelIndex" and its position in the field's list (the one a drop reads, since the
// contact's trip through vCard numbers the entries afresh), and the value itself as text (the
// photo as an image) for other programs.
class DetailDragPayload
{
public:
    // valueType: the row's field's value type ("Labeled Value", "String Value", ...).
    static std::unique_ptr<QMimeData> mimeData(const ContactRow &contact, const DetailRow &row,
                                               const QString &valueType);
    // The row's own value as text; nothing for the photo, the pseudo-fields and a missing value.
    static std::optional<QString> valueText(QNPerson &person, const DetailRow &row, const QString &valueType);
};
