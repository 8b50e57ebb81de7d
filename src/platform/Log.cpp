#include "platform/Log.h"

#include <QDebug>

namespace Log {

void write(const QString &message)
{
    qWarning().noquote() << message;
}

} // namespace Log
