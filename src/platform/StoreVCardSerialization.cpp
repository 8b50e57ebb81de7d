#include "platform/StoreVCardSerialization.h"

#include "platform/StoreVCardReader.h"
#include "platform/StoreVCardWriter.h"

StoreVCardReadResult StoreVCardSerialization::contactsWithData(const QByteArray &data,
                                                               const QByteArray &fallbackCharset)
{
    StoreVCardReadResult result;
    if (std::optional<QList<StoreContact>> contacts = StoreVCardReader::read(data, fallbackCharset))
        result.contacts = std::move(*contacts);
    else
        result.error = QStringLiteral("The data is not vCard text.");
    return result;
}

QByteArray StoreVCardSerialization::dataWithContacts(const QList<StoreContact> &contacts)
{
    return StoreVCardWriter::write(contacts);
}
