#pragma once

#include <QString>

// The system log: one line per message on stderr, for store errors and internal inconsistencies.
namespace Log {
void write(const QString &message);
} // namespace Log
