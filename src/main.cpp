#include "app/AppDelegate.h"
#include "app/ApplicationInfo.h"
#include "ui/widgets/EditionIcon.h"
#include "app/WindowController.h"
#include "platform/Edition.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(Edition::fromProgramPath(QString::fromLocal8Bit(argv[0])));
    QApplication::setOrganizationName(QStringLiteral("ContactsTable"));
    QApplication::setApplicationVersion(ApplicationInfo::ShortVersionString);
    QApplication::setWindowIcon(EditionIcon::icon(QApplication::applicationName()));
    // Closing the main window ends the program; unsaved changes go without a question.
    QApplication::setQuitOnLastWindowClosed(true);

    WindowController window;
    window.show();
    // Declared after the window, so it goes first and waits for a load still running.
    AppDelegate delegate;
    QTimer::singleShot(0, &delegate, &AppDelegate::applicationDidFinishLaunching);
    return app.exec();
}
