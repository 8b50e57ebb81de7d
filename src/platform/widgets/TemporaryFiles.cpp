#include "platform/widgets/TemporaryFiles.h"

#include "platform/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

namespace {

QString folderTemplate()
{
    const QString name = QCoreApplication::applicationName();
    return QDir::tempPath() + QLatin1Char('/') + (name.isEmpty() ? QStringLiteral("ct") : name) +
           QStringLiteral("-XXXXXX");
}

QTemporaryDir &folder()
{
    static QTemporaryDir dir(folderTemplate());
    static const bool checked = [] {
        if (!dir.isValid())
            Log::write(QStringLiteral("TemporaryFiles: ERROR can't make a temporary folder: ") +
                       dir.errorString());
        return true;
    }();
    Q_UNUSED(checked);
    return dir;
}

} // namespace

QString TemporaryFiles::path()
{
    return folder().isValid() ? folder().path() : QString();
}

QString TemporaryFiles::filePath(const QString &name)
{
    return folder().isValid() ? folder().filePath(name) : QString();
}
