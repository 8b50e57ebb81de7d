#pragma once

#include "model/QNPerson.h"

#include <QStringList>

#include <optional>

// What the state pull-down of an address editor offers for a country: its state codes, or its
// state names in the user's language, as the show-codes checkbox asks.
struct AddressStateList
{
    // The states to list, without the pull-down's title item.
    QStringList states;
    // The country has an entry in the address-format table.
    bool known = false;
    bool checkBoxEnabled = false;
    // Set when the checkbox must be turned off; its state is kept otherwise.
    std::optional<bool> checkBoxState;

    static AddressStateList forCountry(const QNPerson::AddressFormatEntry *entry, const QString &languageCode,
                                       bool showCodes);
};
