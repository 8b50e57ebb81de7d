#pragma once

#include <QString>

namespace TestEnvironment {

// The temporary folder that stands for HOME in this test program.
QString homePath();

// Path of a fixture under tests/data.
QString dataPath(const QString &name);

// Empties the data and config folders so that a test starts with no store and no defaults.
void resetUserFolders();

} // namespace TestEnvironment
