#pragma once

#include <QString>

// The one temporary folder of this process (files of drags and copies), made on first use and
// removed with everything in it when the process ends.
class TemporaryFiles
{
public:
    // Empty when the folder cannot be made; the failure is logged.
    static QString path();
    // The path of a file named name in the folder; empty when there is no folder.
    static QString filePath(const QString &name);
};
