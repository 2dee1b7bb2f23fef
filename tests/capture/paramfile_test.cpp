#include "capture/paramfile.h"
#include <gtest/gtest.h>
TEST(ParamFile, FormatsLikePercentD) {
    EXPECT_EQ(paramfile::FormatValue(0), L"0");
    EXPECT_EQ(paramfile::FormatValue(-10), L"-10");
    EXPECT_EQ(paramfile::FormatValue(2147483647), L"2147483647");
    EXPECT_EQ(paramfile::FormatValue(-2147483647 - 1), L"-2147483648");
}
