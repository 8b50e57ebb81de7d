#pragma once

#include "model/AddressBookRecords.h"
#include "model/QNPerson.h"

#include <QVariantMap>

#include <optional>

// A row that a load made from a store contact. It keeps the contact's custom values as the cloud
// gave them to the record (as the record would write them back untouched): a save compares the
// record with them and writes only the items edited here, so the items another program changed
// meanwhile keep its changes.
struct LoadedContactRow : ContactRow
{
    QVariantMap loadedCustomValues;
};

// The custom values the load gave the row's contact; nullopt for a row of no load, or one whose
// record stands for another contact since.
inline std::optional<QVariantMap> loadedCustomValues(const ContactRow &row)
{
    const auto *loaded = dynamic_cast<const LoadedContactRow *>(&row);
    if (!loaded || !row.person || loaded->uniqueId != row.person->uniqueId())
        return std::nullopt;
    return loaded->loadedCustomValues;
}
