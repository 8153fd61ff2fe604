#include "graphics/FormatRunTime.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(FormatRunTime, PadsSecondsToThreeDigitsAndTruncatesHundredths) {
  EXPECT_EQ(FormatRunTime(5.25f), "005.25");
  EXPECT_EQ(FormatRunTime(42.5f), "042.50");
  EXPECT_EQ(FormatRunTime(123.75f), "123.75");
  EXPECT_EQ(FormatRunTime(7.0625f), "007.06");
  EXPECT_EQ(FormatRunTime(0.0f), "000.00");
  EXPECT_EQ(FormatRunTime(0.0390625f), "000.03");
  // Either side of each change of padding.
  EXPECT_EQ(FormatRunTime(9.5f), "009.50");
  EXPECT_EQ(FormatRunTime(10.0f), "010.00");
  EXPECT_EQ(FormatRunTime(99.5f), "099.50");
  EXPECT_EQ(FormatRunTime(100.0f), "100.00");
  // Just under a whole second never rounds up into it.
  EXPECT_EQ(FormatRunTime(0.99999994f), "000.99");
  EXPECT_EQ(FormatRunTime(998.99994f), "998.99");
}

TEST(FormatRunTime, StopsAt999_99) {
  EXPECT_EQ(FormatRunTime(999.995f), "999.99");
  EXPECT_EQ(FormatRunTime(1000.0f), "999.99");
  EXPECT_EQ(FormatRunTime(1500.0f), "999.99");
  EXPECT_EQ(FormatRunTime(1e30f), "999.99");
  EXPECT_EQ(FormatRunTime(std::numeric_limits<float>::max()), "999.99");
  EXPECT_EQ(FormatRunTime(std::numeric_limits<float>::infinity()), "999.99");
}

TEST(FormatRunTime, NegativeAndNotANumberShowZero) {
  EXPECT_EQ(FormatRunTime(-0.5f), "000.00");
  EXPECT_EQ(FormatRunTime(-1e30f), "000.00");
  EXPECT_EQ(FormatRunTime(-std::numeric_limits<float>::infinity()), "000.00");
  EXPECT_EQ(FormatRunTime(std::numeric_limits<float>::quiet_NaN()), "000.00");
  EXPECT_EQ(FormatRunTime(std::numeric_limits<float>::denorm_min()), "000.00");
}

}  // namespace
