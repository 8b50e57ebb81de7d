#pragma once

#include "platform/StoreContact.h"

#include <QByteArray>
#include <QList>

// Writes store contacts as vCard 3.0: UTF-8, CR LF line ends, lines folded at 75 octets without
// splitting a character.
//
// What it writes, in this order: N, FN, the X-PHONETIC-* names, X-MAIDENNAME, NICKNAME, ORG,
// X-ABShowAs:COMPANY for an organisation, TITLE, TEL, EMAIL, ADR, URL, the X-ABDATE dates, the X-ABRELATEDNAMES
// relations, BDAY (--MM-DD without a year), X-SOCIALPROFILE and IMPP. Known labels become TYPE
// words; other labels go into "itemN." groups with an X-ABLabel line, as do every date and relation
// and an address with an ISO country code (X-ABADR).
//
// It writes no NOTE, PHOTO or CATEGORIES line and no ungrouped X- line other than X-ABShowAs,
// X-SOCIALPROFILE, X-PHONETIC-* and X-MAIDENNAME: the program's own vCard writer adds NOTE, PHOTO
// and its custom items before END:VCARD, and its reader takes any other ungrouped X- line for a
// custom item.
class StoreVCardWriter
{
public:
    static QByteArray write(const QList<StoreContact> &contacts);
    static QByteArray writeContact(const StoreContact &contact);

    // One content line with its CR LF, folded to lines of at most 75 octets.
    static QByteArray foldedLine(const QByteArray &line);
    // The 3.0 text escapes: backslash, line break, comma and semicolon.
    static QString escapeText(const QString &text);
};
