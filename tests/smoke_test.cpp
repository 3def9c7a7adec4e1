#include <gtest/gtest.h>

#include "orvada.h"

TEST(Smoke, Builds) { EXPECT_EQ(GetCurrentORVAVersionInfo(), 0x0200); }
