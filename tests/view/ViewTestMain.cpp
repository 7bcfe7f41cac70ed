// The main of the view tests: an isolated home, the offscreen platform and one QApplication
// that lives until the last test is done.

#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/TempDir.h"

// Chromium's own code inside Qt WebEngine frees some objects through a type of another size; the
// address sanitizer's check for that would stop the view tests at the first page the browser
// loads. Every other check stays on (settings in ASAN_OPTIONS still win).
extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options() {
  return "new_delete_type_mismatch=0";
}

int main(int argc, char** argv) {
  korvalin::test::IsolateEnvironment();
  // The web-browser control shares its drawing contexts with the application's.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
