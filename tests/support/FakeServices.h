#pragma once
// Every platform service as a test double, owned in one place. The program folder is a fresh
// temporary folder, so the destination folder (which starts there) is empty.

#include "controls/Window.h"
#include "platform/Services.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "tests/support/FakeCdLibrary.h"
#include "tests/support/FakeMediaControl.h"
#include "tests/support/MemorySettingsStore.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/ScriptedEventLoop.h"
#include "tests/support/TempDir.h"

namespace korvalin::test {

// Records the filter the program installs.
class RecordingExceptionFilter : public ExceptionFilterService {
 public:
  void SetUnhandledExceptionFilter(UnhandledExceptionFilter filter) override {
    installed = filter;
    calls.push_back(filter);
  }
  UnhandledExceptionFilter installed = nullptr;
  std::vector<UnhandledExceptionFilter> calls;
};

// A program folder with the program's pictures in it, as the build lays it out.
struct ProgramFolder : TempDir {
  ProgramFolder();
};

struct FakeServices {
  ProgramFolder programFolder;
  ScriptedEventLoop loop;
  ScriptedDialogs dialogs;
  controls::Screen screen;
  FakeCdLibrary cd;
  LameEncoderLibrary encoder;  // the real encoder: its output is cheap to check
  MemorySettingsStore store;
  FakeMediaControl media;
  RecordingExceptionFilter exceptionFilter;
  Services services{loop, dialogs, screen, cd, encoder, store, media, exceptionFilter, programFolder.Path()};
};

}  // namespace korvalin::test
