// A save killed at any moment leaves the store and the custom values of the old state or of the
// new one, whole: the test saves 1,000 changed contacts in a child process (this test program,
// run with one test selected) and kills it with SIGKILL at random moments during the save.

#include "addressbook/AddressBookLoader.h"
#include "addressbook/AddressBookSaver.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/CloudKeyValueStore.h"
#include "platform/LogCapture.h"
#include "platform/ContactStore.h"
#include "platform/StoreBuilder.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/TestMode.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

constexpr int ContactCount = 1000;
const char *const ChildFolderVariable = "CT_KILL_CHILD_FOLDER";

QString storePath(const QString &folder) { return folder + QStringLiteral("/store.sqlite"); }
QString cloudPath(const QString &folder) { return folder + QStringLiteral("/cloud.json"); }

ContainerTable loadFrom(const QString &folder, CloudKeyValueStore &cloud)
{
    UserDefaults defaults(folder + QStringLiteral("/defaults.json"));
    AddressBookLoader loader(storePath(folder), defaults, cloud);
    loader.loadAddressBook();
    return loader.containerTable();
}

// What the child saves: every contact renamed, with a note and a custom value.
void changeEveryContact(const ContainerTable &table)
{
    for (const ContactRowPtr &row : std::as_const(*table.first()->topGroup()->contactTable)) {
        QNPerson &person = *row->person;
        person.setValue(QStringLiteral("New"), PersonKey::FirstName);
        person.setValue(QStringLiteral("new"), QStringLiteral("Note"));
        person.addCustomItem(PersonValueType::String, QStringLiteral("Hobby"), {}, std::nullopt);
        person.setValue(QStringLiteral("new"), QStringLiteral("Hobby"));
    }
}

class KillDuringSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TestMode::setEnabled(true);
        m_pristine = m_folder.filePath(QStringLiteral("pristine"));
        m_work = m_folder.filePath(QStringLiteral("work"));
        ASSERT_TRUE(QDir().mkpath(m_pristine) && QDir().mkpath(m_work));
        QStringList identifiers;
        {
            StoreBuilder builder(storePath(m_pristine));
            for (int i = 0; i < ContactCount; ++i)
                identifiers.append(builder.addPerson(builder.localContainer(), QStringLiteral("Old"),
                                                     QString::number(i)));
            ASSERT_TRUE(builder.ok());
        }
        CloudKeyValueStore cloud(cloudPath(m_pristine));
        for (const QString &identifier : std::as_const(identifiers))
            cloud.setObject(QVariantMap{{QStringLiteral("Hobby"), QStringLiteral("old")}}, identifier);
        ASSERT_TRUE(cloud.synchronize());
    }
    void TearDown() override { TestMode::setEnabled(false); }

    // The work folder as the pristine one: the store and the custom values before the save.
    void restore() const
    {
        QDir(m_work).removeRecursively();
        QDir().mkpath(m_work);
        for (const QString &name : QDir(m_pristine).entryList(QDir::Files))
            QFile::copy(m_pristine + QLatin1Char('/') + name, m_work + QLatin1Char('/') + name);
    }

    // Starts the child and waits until it has loaded and is about to save.
    void startChild(QProcess &child) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(ChildFolderVariable), m_work);
        environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=KillDuringSave.ChildSaves")});
        ASSERT_TRUE(child.waitForStarted());
        while (!child.readAllStandardOutput().contains("saving") && child.state() == QProcess::Running)
            child.waitForReadyRead(100);
    }

    // "old" or "new" when the store and the custom values hold one state whole; what was mixed
    // otherwise.
    QString stateOfWorkFolder() const
    {
        const StoreResult<bool> integrity = ContactStore(storePath(m_work)).checkIntegrity();
        if (!integrity.ok() || !integrity.value)
            return QStringLiteral("integrity check failed");
        LogCapture log; // the journal of a killed save is finished or dropped, and says so
        CloudKeyValueStore cloud(cloudPath(m_work));
        const ContainerTable table = loadFrom(m_work, cloud); // finishes a pending journal
        QSet<QString> states;
        for (const ContactRowPtr &row : std::as_const(*table.first()->topGroup()->contactTable)) {
            const QString name = row->person->nameValue().value(PersonKey::FirstName).toString();
            const QString note = row->person->stringValueForIdentifier(QStringLiteral("Note"));
            const QString hobby = cloud.dictionaryForKey(row->person->uniqueId())
                                      .value_or(QVariantMap())
                                      .value(QStringLiteral("Hobby"))
                                      .toString();
            states.insert(name + QLatin1Char('/') + note + QLatin1Char('/') + hobby);
        }
        if (table.first()->topGroup()->contactTable->size() != ContactCount)
            return QStringLiteral("contacts missing");
        if (states == QSet<QString>{QStringLiteral("Old//old")})
            return QStringLiteral("old");
        if (states == QSet<QString>{QStringLiteral("New/new/new")})
            return QStringLiteral("new");
        return QStringList(states.values()).join(QStringLiteral(", "));
    }

    QTemporaryDir m_folder;
    QString m_pristine, m_work;
};

} // namespace

// The child's part; does nothing unless started by the test below.
TEST_F(KillDuringSave, ChildSaves)
{
    const QString folder = qEnvironmentVariable(ChildFolderVariable);
    if (folder.isEmpty())
        GTEST_SKIP() << "run by KillDuringSave.StoreAndCustomValuesStayWhole";
    CloudKeyValueStore cloud(cloudPath(folder));
    QNPerson::setCloudKeyValueStore(&cloud);
    const ContainerTable table = loadFrom(folder, cloud);
    changeEveryContact(table);
    std::fputs("saving\n", stdout);
    std::fflush(stdout);
    ContactStore store(storePath(folder));
    ASSERT_TRUE(AddressBookSaver(store, cloud).saveAddressBook(table).ok());
    ASSERT_TRUE(cloud.synchronize());
    QNPerson::setCloudKeyValueStore(nullptr);
}

TEST_F(KillDuringSave, StoreAndCustomValuesStayWhole)
{
    if (!qEnvironmentVariableIsEmpty(ChildFolderVariable))
        GTEST_SKIP();
    const int kills = qEnvironmentVariableIntValue("CT_KILL_ROUNDS") > 0
                          ? qEnvironmentVariableIntValue("CT_KILL_ROUNDS")
                          : 10;
    // One save left to finish gives the span the kills are spread over.
    restore();
    QProcess child;
    startChild(child);
    QElapsedTimer saving;
    saving.start();
    ASSERT_TRUE(child.waitForFinished(120000));
    const qint64 span = qMax<qint64>(saving.elapsed(), 20);
    ASSERT_EQ(stateOfWorkFolder(), "new");

    QMap<QString, int> outcomes;
    for (int round = 0; round < kills; ++round) {
        restore();
        QProcess killed;
        startChild(killed);
        QThread::msleep(QRandomGenerator::global()->bounded(span + span / 10));
        killed.kill();
        ASSERT_TRUE(killed.waitForFinished(10000));
        const QString state = stateOfWorkFolder();
        ASSERT_TRUE(state == "old" || state == "new") << "round " << round << ": " << qPrintable(state);
        ++outcomes[state];
    }
    std::printf("kills: %d, save span %lld ms, old %d, new %d\n", kills, static_cast<long long>(span),
                outcomes.value(QStringLiteral("old")), outcomes.value(QStringLiteral("new")));
}
