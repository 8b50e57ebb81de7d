#pragma once

#include "model/AddressBookRecords.h"

#include <QString>

#include <optional>

// A vCard file read as the import reads it: its bytes, the detected encoding, the text as UTF-8,
// the records with their category groups; each stage let go once the next is made.
namespace BenchImport {

std::optional<ContainerTable> readVCardFile(const QString &path);
// The rows of the first container's top group: every card of the file.
ContactTablePtr topRows(const std::optional<ContainerTable> &containers);

} // namespace BenchImport
