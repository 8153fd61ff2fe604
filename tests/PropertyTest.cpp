// Map-object properties: numbers typed by level designers.
#include <gtest/gtest.h>

#include "objects/PropertyMap.h"

TEST(ObjectProperties, IntegersReadLikeAStream) {
  PropertyMap p{{"a", "12"}, {"b", "0.5"}, {"c", " -3px"},       {"d", "x1"},
                {"e", ""},   {"f", "+7"},  {"g", "99999999999"}, {"h", "inf"}};
  EXPECT_EQ(GetIntProperty(p, "a"), 12);
  EXPECT_EQ(GetIntProperty(p, "b"), 0);
  EXPECT_EQ(GetIntProperty(p, "c"), -3);
  EXPECT_EQ(GetIntProperty(p, "d"), 0);
  EXPECT_EQ(GetIntProperty(p, "e"), 0);
  EXPECT_EQ(GetIntProperty(p, "f"), 7);
  EXPECT_EQ(GetIntProperty(p, "g"), 2147483647) << "clamped, not wrapped";
  EXPECT_EQ(GetIntProperty(p, "h"), 0);
  EXPECT_EQ(GetIntProperty(p, "missing"), 0);
}

TEST(ObjectProperties, NumbersThatAreNotFiniteCountAsMissing) {
  PropertyMap p{{"speed", "2.5e2"}, {"nan", "nan"},     {"inf", "-inf"}, {"huge", "1e999"},
                {"word", "fast"},   {"lead", "3.5 px"}, {"zero", "0"}};
  EXPECT_DOUBLE_EQ(GetDoubleProperty(p, "speed"), 250.0);
  EXPECT_DOUBLE_EQ(GetDoubleProperty(p, "lead"), 3.5);
  for (const char* key : {"nan", "inf", "huge", "word", "zero", "missing"}) {
    EXPECT_EQ(GetDoubleProperty(p, key), 0.0) << key;
    EXPECT_EQ(GetDoubleProperty(p, key, 125.0), 125.0) << key << " takes the default";
  }
  EXPECT_DOUBLE_EQ(GetDoubleProperty(p, "speed", 125.0), 250.0);

  // Tested as an integer: below 1 is the default too.
  PropertyMap q{{"half", "0.5"}, {"one", "1.75"}, {"huge", "1e999"}};
  EXPECT_EQ(GetDoublePropertyIntTested(q, "half", 125.0), 125.0);
  EXPECT_EQ(GetDoublePropertyIntTested(q, "one", 125.0), 1.75);
  EXPECT_EQ(GetDoublePropertyIntTested(q, "huge", 125.0), 125.0);

  SetProperty(q, "half", "3");
  EXPECT_EQ(GetIntProperty(q, "half"), 3);
}
