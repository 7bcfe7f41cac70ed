// The main of every test program: each runs in a home and XDG folders of its own.

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

int main(int argc, char** argv) {
  korvalin::test::IsolateEnvironment();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
