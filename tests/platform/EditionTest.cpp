#include "platform/Edition.h"

#include <gtest/gtest.h>

TEST(Edition, NameComesFromTheProgramFile)
{
    EXPECT_EQ(Edition::fromProgramPath("/opt/x/Sorvina"), "Sorvina");
    EXPECT_EQ(Edition::fromProgramPath("Ostrany2"), "Ostrany2");
    EXPECT_EQ(Edition::fromProgramPath("./build/Fenwarde2"), "Fenwarde2");
    EXPECT_EQ(Edition::fromProgramPath("/usr/bin/something-else"), "Pemberlin2");
}
