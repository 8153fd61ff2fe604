// Each test process works in a scratch directory of its own (linked in from
// tools/common/ScratchDirectory.cpp), so parallel tests never share a log.
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
