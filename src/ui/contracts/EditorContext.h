#pragma once

#include "model/AddressBookRecords.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <optional>

// What a presenter hands to a value editor and reads back after the editor's popover closed. The
// presenter makes a fresh one for every opening; the editor keeps the very same object and writes
// its result into it, so both hold it through EditorContextPtr.
struct EditorContext
{
    // In: the contact being edited (a ContactRow or a grid row) and the field's identifier.
    ContactRowPtr contact;
    QString type;
    // In: the entry to edit; -1 asks for a new one. Absent for the name, phonetic name, birthday.
    std::optional<int> labelIndex;
    // In: whether the user may unlock the editors that honour it.
    bool editEnabled = false;
    // In: the address a nested address editor edits in place of the contact's stored entry (the
    // list editor's row, not yet written to the contact).
    std::optional<QVariantMap> addressValue;

    // In for some editors, out for all: the edited value.
    QVariant value;
    // Out: the list editor's whole list, the same as value.
    std::optional<QVariantList> values;
    // Out: true only after Done while unlocked; false after Cancel in the editors that say so;
    // absent after any other way of closing.
    std::optional<bool> dirty;
    // Out: the text the custom-label popover took.
    std::optional<QString> customLabel;
};
using EditorContextPtr = std::shared_ptr<EditorContext>;
