#include "platform/Log.h"

#include <gtest/gtest.h>

TEST(Log, FormatsLikeTheCFormats)
{
    EXPECT_EQ(Log::format("%s ERROR %@", {"save", "disk full"}), "save ERROR disk full");
    EXPECT_EQ(Log::format(" Error %s: %@, %@", {"undoAddGroup", "Work", "x"}),
              " Error undoAddGroup: Work, x");
    EXPECT_EQ(Log::format("100%% of %d", {"3"}), "100% of 3");
    EXPECT_EQ(Log::format("Error on %s %@", {"setLabel"}), "Error on setLabel (null)");
    EXPECT_EQ(Log::format("ends with %", {}), "ends with %");
}
