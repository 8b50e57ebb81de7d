#pragma once

#include "platform/StoreContact.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct StoreVCardReadResult
{
    QList<StoreContact> contacts;
    // Empty when the data was read; the contacts are then those of its cards (possibly none).
    QString error;

    bool isOk() const { return error.isEmpty(); }
};

// vCard serialisation of store contacts: reads vCard 2.1 and 3.0 (and the basics of 4.0), writes
// vCard 3.0. Both are safe to run on a background thread. See StoreVCardReader and
// StoreVCardWriter for what is read and written.
class StoreVCardSerialization
{
public:
    // Every parsed contact has a fresh identifier. Data without a vCard is an error. Encoded values
    // without a CHARSET that are not UTF-8 are read in the fallback charset (the file's encoding).
    static StoreVCardReadResult contactsWithData(const QByteArray &data,
                                                 const QByteArray &fallbackCharset = {});
    static QByteArray dataWithContacts(const QList<StoreContact> &contacts);
};
