#pragma once

#include "platform/StoreContact.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <functional>
#include <optional>

class VCardContentLine;

// Builds store contacts from vCard 2.1, 3.0 and (the basics of) 4.0 data. Every contact gets a
// fresh identifier; a UID in the data is ignored, so reading one file twice gives distinct
// contacts. A card without END:VCARD runs to the end of the data. Properties the store has no
// place for (and X- lines of other programs) are skipped.
//
// The store holds one note, organisation and job title: repeated NOTE lines are joined with line
// breaks; of repeated ORG and TITLE lines the first one marked PREF, else the first, is kept and
// the others are added to the note as "ORG: ..." and "TITLE: ..." lines, so that nothing is lost.
// A card with an organisation and no name is an organisation's card.
//
// An instant-message account's service is its X-SERVICE-TYPE (caret escapes undone), else the
// service of its URI scheme, else the scheme; a known service in any spelling takes the store's
// name, any other stays as written. A social profile's service (its TYPE), X-USER and X-USERID
// have their caret escapes undone likewise. What StoreVCardWriter writes reads back the same.
class StoreVCardReader
{
public:
    // The contacts of every card; nothing when the data holds no BEGIN:VCARD line. Encoded
    // values without a CHARSET that are not UTF-8 are taken in the fallback charset (see
    // VCardContentLine).
    static std::optional<QList<StoreContact>> read(QByteArrayView data, QByteArrayView fallbackCharset = {});

    // Called with each line of a card that no property of the contact takes, in card order.
    using OtherLine = std::function<void(const VCardContentLine &)>;
    // The contact of the first card only, each of its lines parsed once; nothing when the data
    // holds no BEGIN:VCARD line. The other lines go to otherLine as the card is finished.
    static std::optional<StoreContact> readFirstCard(QByteArrayView data, QByteArrayView fallbackCharset,
                                                     const OtherLine &otherLine);
    // Whether lines of that property name ("TEL", "X-SKYPE", letter case ignored) are read, as a
    // value of the contact or as the label or country code of their group's other lines.
    static bool readsProperty(QByteArrayView name);
};
