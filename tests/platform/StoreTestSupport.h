#pragma once

#include "platform/ContactStore.h"
#include "platform/StoreBuilder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// A fresh store in a temporary folder for every test; the process-wide hooks are cleared after it.
class StoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_builder = std::make_unique<StoreBuilder>(storePath());
        ASSERT_TRUE(m_builder->ok()) << m_builder->error().toStdString();
    }

    void TearDown() override
    {
        ContactStore::setAuthorizationStatusForTesting(std::nullopt);
        ContactStore::setAccessAnswerForTesting(std::nullopt);
        m_builder->store().clearFaults();
        m_builder.reset();
        ContactStore::releaseThreadConnections();
    }

    QString storePath() const { return m_folder.path() + QStringLiteral("/ContactsTable/Contacts.sqlite"); }
    QString folderPath() const { return m_folder.path(); }
    StoreBuilder &builder() { return *m_builder; }
    ContactStore &store() { return m_builder->store(); }
    const QString &local() const { return m_builder->localContainer(); }

private:
    QTemporaryDir m_folder;
    std::unique_ptr<StoreBuilder> m_builder;
};

// Runs the event loop until the condition holds or the time is up; answers the condition.
inline bool spinUntil(const std::function<bool()> &condition, int milliseconds = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

// A contact with every field set, in several scripts, with a photo.
StoreContact contactWithEveryField();
// A PNG of the given size.
QByteArray pngImage(int width, int height);
// Every contact of the store's containers with every key, for comparing whole stores.
QString storeSnapshot(ContactStore &store);
