#include "platform/Edition.h"

#include <QFileInfo>

namespace Edition {

QString defaultName()
{
    return QStringLiteral("Pemberlin2");
}

QStringList allNames()
{
    return {QStringLiteral("Pemberlin2"), QStringLiteral("Sorvina"), QStringLiteral("Fenwarde2"),
            QStringLiteral("Ostrany2")};
}

QString fromProgramPath(const QString &argv0)
{
    const QString name = QFileInfo(argv0).fileName();
    return allNames().contains(name) ? name : defaultName();
}

} // namespace Edition
