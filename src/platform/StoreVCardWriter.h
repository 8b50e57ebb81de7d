#pragma once

#include "platform/StoreContact.h"
#include "platform/VCardLineWriter.h"

#include <QByteArray>
#include <QList>

// Writes store contacts as vCard 3.0: UTF-8, CR LF line ends, lines folded at 75 octets without
// splitting a character.
//
// What it writes, in this order: N, FN, the X-PHONETIC-* names, X-MAIDENNAME, NICKNAME, ORG,
// X-ABShowAs:COMPANY for an organisation, TITLE, TEL, EMAIL, ADR, URL, the X-ABDATE dates, the
// X-ABRELATEDNAMES relations, BDAY (--MM-DD without a year), X-SOCIALPROFILE and IMPP. Known labels
// become TYPE words; other labels go into "itemN." groups with an X-ABLabel line, as do every date
// and relation and an address with an ISO country code (X-ABADR). An IMPP line's X-SERVICE-TYPE
// names a known service in the store's spelling and any other whole. That parameter and a social
// profile's TYPE, X-USER and X-USERID are written whole, their quotes, line breaks and carets
// caret-escaped.
//
// It writes no NOTE, PHOTO, CATEGORIES or UID line and no ungrouped X- line other than X-ABShowAs,
// X-SOCIALPROFILE, X-PHONETIC-* and X-MAIDENNAME: the program's own vCard writer adds NOTE, PHOTO,
// its custom items, CATEGORIES and UID before END:VCARD without looking for lines of the same
// name, and its reader takes any other ungrouped X- line for a custom item.
class StoreVCardWriter
{
public:
    static QByteArray write(const QList<StoreContact> &contacts);
    static QByteArray writeContact(const StoreContact &contact);
    // The card's lines from BEGIN:VCARD through its last property; a caller adds lines of its own
    // and then the END line.
    static void beginCard(VCardLineWriter &lines, const StoreContact &contact);
    static void endCard(VCardLineWriter &lines);

    // One content line with its CR LF, folded to lines of at most 75 octets.
    static QByteArray foldedLine(const QByteArray &line);
};
