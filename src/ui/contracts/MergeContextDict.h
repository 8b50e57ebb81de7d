#pragma once

#include "model/AddressBookRecords.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

// The merge sheet's context: what the grid hands the sheet and reads back when it ends.
struct MergeContextDict
{
    // The two address-book rows, left then right, in group order.
    QList<ContactRowPtr> contacts;
    // After a change: the sheet's two working rows, left then right. Each holds the merged values
    // in its person, and its "uniqueId" finds the contact's views after the merge.
    std::optional<QList<ContactRowPtr>> newContacts;
    // "vCard" for contacts that are not in the store; the grid sets none.
    std::optional<QString> documentType;
};
using MergeContextDictPtr = std::shared_ptr<MergeContextDict>;
