#pragma once

#include "platform/StoreContact.h"

#include <QByteArray>
#include <QList>
#include <optional>

// Builds store contacts from vCard 2.1, 3.0 and (the basics of) 4.0 data. Every contact gets a
// fresh identifier; a UID in the data is ignored, so reading one file twice gives distinct
// contacts. A card without END:VCARD runs to the end of the data. Properties the store has no
// place for (and X- lines of other programs) are skipped.
class StoreVCardReader
{
public:
    // The contacts of every card; nothing when the data holds no BEGIN:VCARD line.
    static std::optional<QList<StoreContact>> read(const QByteArray &data);
};
