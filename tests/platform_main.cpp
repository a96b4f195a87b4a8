// Test main for tests that need the desktop: the application and its whole
// interface exist, offscreen, and the tests run on its main thread.
#include <gtest/gtest.h>

#include "platform/qt/application.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    startapplicationfortests(argc, argv);
    return RUN_ALL_TESTS();
}
