#include <gtest/gtest.h>

#include "platform/platform.h"

TEST(Application, MainThreadIsTheTestThread)
{
    EXPECT_TRUE(platform::available());
    EXPECT_TRUE(platform::on_main_thread());
}
