#include "common/TestEnvironment.h"

#include <QDir>

namespace TestEnvironment {

QString homePath()
{
    return qEnvironmentVariable("HOME");
}

QString dataPath(const QString &name)
{
    return QStringLiteral(CT_TEST_DATA_DIR) + QLatin1Char('/') + name;
}

void resetUserFolders()
{
    for (const char *variable : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        QDir dir(qEnvironmentVariable(variable));
        dir.removeRecursively();
        dir.mkpath(QStringLiteral("."));
    }
}

} // namespace TestEnvironment
