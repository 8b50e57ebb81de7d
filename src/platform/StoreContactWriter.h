#pragma once

#include "platform/StoreContact.h"
#include "platform/StoreResult.h"

class StoreConnection;

// Writes one contact's row and labelled entries inside the caller's transaction. Only the keys
// available on the contact are written, so a contact fetched with a few keys changes only those.
// The thumbnail is the store's own: derived from the image data whenever that is written.
class StoreContactWriter
{
public:
    explicit StoreContactWriter(StoreConnection &connection);

    StoreStatus add(const StoreContact &contact, qint64 containerRow);
    StoreStatus update(const StoreContact &contact, qint64 contactRow);

    // A PNG fitting in 320 by 320 points, or empty when the data is no image we can read.
    static QByteArray thumbnailFor(const QByteArray &imageData);

private:
    StoreStatus writeEntries(const StoreContact &contact, qint64 contactRow, bool replace);

    StoreConnection &m_connection;
};
