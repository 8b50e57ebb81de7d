#pragma once

#include "platform/StoreContact.h"

#include <QString>
#include <QStringList>

// Names of store contacts: the order of their parts and the full name as one text.
//
// Name order rule: a contact whose given, middle or family name holds a CJK character (Han,
// Hiragana, Katakana or Hangul script) is written family name first; every other contact follows
// the user's sort order (family name first when it sorts by family name, else given name first).
class ContactFormatter
{
public:
    enum Style
    {
        FullName = 0,
        PhoneticFullName = 1
    };
    enum NameOrder
    {
        NameOrderUserDefault = 0,
        NameOrderGivenNameFirst = 1,
        NameOrderFamilyNameFirst = 2
    };

    static NameOrder nameOrderForContact(const StoreContact &contact);
    // The same rule for name parts that no store contact holds yet (a row of a CSV file).
    static NameOrder nameOrderForParts(const QString &given, const QString &middle, const QString &family);

    // The name parts in the contact's order, joined by blanks: prefix, given, middle, family and
    // suffix, or prefix, family, middle, given and suffix. An organisation with an organisation
    // name, or a contact without name parts, is named by its organisation name. The phonetic style joins the
    // phonetic parts.
    static QString stringFromContact(const StoreContact &contact, Style style = FullName);

    // The store keys that stringFromContact reads for a style; fetches add them to their keys.
    static QStringList descriptorForRequiredKeysForStyle(Style style);

    // True when the text holds a character of the Han, Hiragana, Katakana or Hangul script.
    static bool containsCjk(const QString &text);
};
