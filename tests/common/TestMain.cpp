#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every test program runs against its own empty HOME and XDG folders, never the user's files.
int main(int argc, char **argv)
{
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/ct-test-XXXXXX"));
    if (!home.isValid())
        return 2;
    const QByteArray root = home.path().toLocal8Bit();
    qputenv("HOME", root);
    qputenv("XDG_DATA_HOME", root + "/data");
    qputenv("XDG_CONFIG_HOME", root + "/config");
    qputenv("XDG_CACHE_HOME", root + "/cache");
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    for (const char *sub : {"/data", "/config", "/cache", "/runtime"})
        QDir().mkpath(QString::fromLocal8Bit(root + sub));
    QFile::setPermissions(QString::fromLocal8Bit(root + "/runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LANGUAGE", "en");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("ContactsTableTests"));
    QApplication::setApplicationName(QStringLiteral("Pemberlin2"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
