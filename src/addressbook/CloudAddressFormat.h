#pragma once

#include <QString>

// The optional address-format table in the cloud container's "Documents" folder, laid over the
// table the program ships with.
class CloudAddressFormat
{
public:
    enum class Result
    {
        // No such file: nothing to do.
        Absent,
        Applied,
        // Not JSON, no dictionary, or no non-empty "AddressFormat" array: the table stays.
        Invalid
    };

    // "Documents/AddressFormat.json" in the cloud container.
    static QString filePath();
    static Result apply(const QString &path = filePath());
};
