#include "FuzzSupport.h"

#include "model/QNPerson.h"
#include "platform/CloudKeyValueStore.h"

#include <QCoreApplication>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static QTemporaryDir folder;
    static CloudKeyValueStore cloud(folder.filePath(QStringLiteral("cloud.json")));
    QNPerson::setCloudKeyValueStore(&cloud);
    return 0;
}
