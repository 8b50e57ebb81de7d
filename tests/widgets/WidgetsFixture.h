#pragma once

#include "platform/widgets/TestMode.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// Every test starts and ends with no queued answers, no records and test mode off.
class WidgetsFixture : public ::testing::Test
{
protected:
    void SetUp() override { TestMode::reset(); }
    void TearDown() override
    {
        QCoreApplication::processEvents();
        TestMode::reset();
        TestMode::setEnabled(false);
    }
};
