#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// The system log: one line per message on stderr, for store errors and internal inconsistencies.
namespace Log {
void write(const QString &message);

// Writes a message in the C-style formats of the log lines ("%s ERROR %@"): each %s, %@ or %d takes
// the next argument as text, "%%" is a percent sign.
void write(const char *format, const QStringList &arguments);
QString format(const char *format, const QStringList &arguments);

// Test hook: while a handler is set, messages go to it instead of stderr. Returns the previous one.
using Handler = std::function<void(const QString &message)>;
Handler setHandler(Handler handler);
} // namespace Log
