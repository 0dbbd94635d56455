// Test runner of the VCM tests. Some behaviours can only be seen in a process
// where the driver has never been opened: those tests run in a child process
// of this same program (see RunInFreshProcess).
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
