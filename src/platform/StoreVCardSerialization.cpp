#include "platform/StoreVCardSerialization.h"

#include "platform/StoreVCardReader.h"
#include "platform/StoreVCardWriter.h"

StoreVCardReadResult StoreVCardSerialization::contactsWithData(const QByteArray &data)
{
    StoreVCardReadResult result;
    if (std::optional<QList<StoreContact>> contacts = StoreVCardReader::read(data))
        result.contacts = std::move(*contacts);
    else
        result.error = QStringLiteral("The data is not vCard text.");
    return result;
}

QByteArray StoreVCardSerialization::dataWithContacts(const QList<StoreContact> &contacts)
{
    return StoreVCardWriter::write(contacts);
}
