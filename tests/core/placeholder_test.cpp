#include <gtest/gtest.h>
int qv_placeholder();
TEST(Placeholder, Links) { EXPECT_EQ(qv_placeholder(), 1); }
