// Makes the benchmark data: bench_data [folder] (default: the folder the benchmarks look in).

#include "BenchContacts.h"
#include "BenchData.h"

#include "model/QNPerson.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    // Declaring the custom items writes the user's defaults: never the real ones.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString folder = arguments.size() > 1 ? arguments.at(1) : BenchData::folder();
    QNPerson::setCustomItems(BenchContacts::customItems());
    QElapsedTimer timer;
    timer.start();
    std::printf("Making %d contacts in %s\n", BenchContacts::contactCount(), qPrintable(folder));
    std::fflush(stdout);
    if (const QString error = BenchData::generate(folder); !error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("Done in %.1f s\n", double(timer.elapsed()) / 1000);
    return 0;
}
