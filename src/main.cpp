#include "app/AppDelegate.h"
#include "platform/Edition.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(Edition::fromProgramPath(QString::fromLocal8Bit(argv[0])));
    QApplication::setOrganizationName(QStringLiteral("ContactsTable"));
    AppDelegate delegate;
    QTimer::singleShot(0, &delegate, &AppDelegate::applicationDidFinishLaunching);
    return app.exec();
}
