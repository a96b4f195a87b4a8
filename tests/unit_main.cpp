// Test main for the runtime's plain logic: no application object exists.
#include <gtest/gtest.h>

#include "support/runtime_reset.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    installruntimereset();
    return RUN_ALL_TESTS();
}
