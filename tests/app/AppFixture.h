#pragma once

#include "app/ViewController.h"
#include "common/TestEnvironment.h"
#include "platform/ContactStore.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/Sheet.h"
#include "platform/widgets/TestMode.h"
#include "platform/widgets/Workspace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <functional>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Every test starts with no store, empty defaults, no keys held and nobody at the screen.
class AppFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ContactStore::releaseThreadConnections();
        TestEnvironment::resetUserFolders();
        UserDefaults::standard().removePersistentDomain();
        TestMode::reset();
        TestMode::setEnabled(true);
        Localizer::shared().setPreferredLanguages({QStringLiteral("en")});
        ViewController::setModifierQuery([] { return Qt::KeyboardModifiers(Qt::NoModifier); });
    }

    void TearDown() override
    {
        QCoreApplication::processEvents();
        ViewController::setModifierQuery({});
        ContactStore::setAuthorizationStatusForTesting(std::nullopt);
        ContactStore::setAccessAnswerForTesting(std::nullopt);
        Workspace::setOpener({});
        TestMode::reset();
        TestMode::setEnabled(false);
        ContactStore::releaseThreadConnections();
    }

    static UserDefaults &defaults() { return UserDefaults::standard(); }
};

// Runs the event loop until the condition holds or the bound has passed; answers the condition.
inline bool spinUntil(const std::function<bool()> &condition, int milliseconds = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}
