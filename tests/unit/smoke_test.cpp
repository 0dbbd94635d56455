#include <gtest/gtest.h>
#include "driver/driver_proc.h"
TEST(Smoke, Loads) { EXPECT_EQ(DriverProc(0, nullptr, DRV_LOAD, 0, 0), 1); }
