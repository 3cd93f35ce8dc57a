#include <gtest/gtest.h>

#include "TestFiles.h"

// The main of the tests without a display: a state folder of their own first, which the
// programs they start inherit.
int main(int argc, char** argv) {
    const testing_support::StateFolder state;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
