#pragma once
// Every platform service as a test double, owned in one place. The program folder is a fresh
// temporary folder, so the destination folder (which starts there) is empty.

#include "controls/Window.h"
#include "platform/Services.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "platform/linux/LibDiscId.h"
#include "platform/linux/Mpg123Player.h"
#include "tests/support/FakeCdLibrary.h"
#include "tests/support/FakeMediaControl.h"
#include "tests/support/FakeMixer.h"
#include "tests/support/FakeNotificationArea.h"
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

// Records the help files the program asked to show; answers as told.
class RecordingHelpViewer : public HelpViewer {
 public:
  bool ShowHelp(const std::string& helpFile) override {
    shown.push_back(helpFile);
    return canShow;
  }
  bool canShow = true;
  std::vector<std::string> shown;
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
  RecordingHelpViewer help;
  FakeMixer mixer;
  FakeNotificationArea tray;
  LibDiscId discIds;  // the real library: it only computes
  // The real MP3 player: conversions are real; playback goes to an output that does not exist.
  Services services{loop,  dialogs, screen, cd, encoder, store, media, exceptionFilter, help,
                    [] { return std::make_unique<Mpg123Player>("hw:99,99"); }, programFolder.Path(), mixer, tray,
                    discIds};

  // The same services with another CD extraction library (a real one over disc images, say).
  Services With(CdExtractionLibrary& library) {
    Services s = services;
    return Services{s.loop, s.dialogs, s.screen, library, s.encoder, s.store, s.media, s.exceptionFilter, s.help,
                    s.makeMp3Player, s.programFolder, s.mixer, s.notificationArea, s.discIds};
  }
};

}  // namespace korvalin::test
