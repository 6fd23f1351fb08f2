#include "KestuDesign/KestuDesign.h"

#include <gtest/gtest.h>

TEST(Kit, Links)
{
    EXPECT_STREQ(kestu::kitName(), "KestuDesign");
}
