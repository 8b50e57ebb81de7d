#include "app/AppDelegate.h"
#include "app/ApplicationInfo.h"
#include "ui/widgets/EditionIcon.h"
#include "app/WindowController.h"
#include "platform/Edition.h"
#include "platform/Localizer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QTranslator>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(Edition::fromProgramPath(QString::fromLocal8Bit(argv[0])));
    QApplication::setOrganizationName(QStringLiteral("ContactsTable"));
    QApplication::setApplicationVersion(ApplicationInfo::ShortVersionString);
    QApplication::setWindowIcon(EditionIcon::icon(QApplication::applicationName()));
    // Ties the windows to the edition's desktop file (its icon and name in docks and task bars).
    QGuiApplication::setDesktopFileName(QApplication::applicationName());
    // Closing the main window ends the program; unsaved changes go without a question.
    QApplication::setQuitOnLastWindowClosed(true);

    // Qt's own dialogs and buttons in the language of the program's texts.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_") + Localizer::shared().localization(),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QCommandLineParser arguments;
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(QStringLiteral("files"),
                                    QStringLiteral("vCard or CSV files to import (.csv is read as CSV)"),
                                    QStringLiteral("[files...]"));
    arguments.process(app);

    WindowController window;
    window.show();
    // Declared after the window, so it goes first and waits for a load still running.
    AppDelegate delegate;
    delegate.setFilesToOpen(arguments.positionalArguments());
    QTimer::singleShot(0, &delegate, &AppDelegate::applicationDidFinishLaunching);
    return app.exec();
}
