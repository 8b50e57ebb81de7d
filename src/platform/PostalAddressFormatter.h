#pragma once

#include "platform/StoreContact.h"

#include <QString>
#include <QStringList>

// The mailing layout of a postal address, driven by the country's address-format order: a list of
// the tokens "Street", "City", "State", "ZIP" and "Country" (others are skipped; an empty order is
// Street City State ZIP Country).
//
// - An order that ends with the country (the Latin layouts) gives the street on its own line(s),
//   the run of city, state and postal code on one line in the order's sequence, and the country
//   on the last line: "1 Main St\nSpringfield IL 62701\nUSA".
// - An order that begins with the country (the big-endian layouts of East Asia) gives the country
//   first, the postal code on its own line, then state and city on one line and the street:
//   "日本\n100-0001\n東京都千代田区\n千代田1-1".
// Empty parts and empty lines are left out. Within a line the parts are joined by a blank, except
// between two Chinese or Japanese characters, which are written together as those scripts write
// addresses; Korean keeps its blanks.
class PostalAddressFormatter
{
public:
    static QString stringFromPostalAddress(const StorePostalAddress &address, const QStringList &order);

    static const QStringList &defaultOrder();
};
