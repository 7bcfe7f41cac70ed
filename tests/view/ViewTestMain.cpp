// The main of the view tests: an isolated home, the offscreen platform and one QApplication
// that lives until the last test is done.

#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/TempDir.h"

int main(int argc, char** argv) {
  korvalin::test::IsolateEnvironment();
  // The web-browser control shares its drawing contexts with the application's.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
