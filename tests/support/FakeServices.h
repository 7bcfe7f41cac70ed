#pragma once
// Every platform service as a test double, owned in one place. The program folder is a fresh
// temporary folder, so the destination folder (which starts there) is empty.

#include "controls/Window.h"
#include "platform/Services.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "platform/linux/LibraryVersions.h"
#include "platform/linux/LibDiscId.h"
#include "platform/linux/Mpg123Player.h"
#include "platform/linux/TagLibTags.h"
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

// Services a test puts in place of the fakes; those left null stay the fakes.
struct Replaced {
  EventLoop* loop = nullptr;
  CdExtractionLibrary* cdLibrary = nullptr;
  SettingsStore* store = nullptr;
  MediaControl* media = nullptr;
  Dialogs* dialogs = nullptr;
  HttpClient* http = nullptr;
};

struct FakeServices {
  FakeServices() = default;
  // A virtual clock that starts at another time of day or advances otherwise at each yield.
  FakeServices(double startOfDay, double secondsPerYield) : loop(startOfDay, secondsPerYield) {}
  FakeServices(const FakeServices&) = delete;
  FakeServices& operator=(const FakeServices&) = delete;

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
  TagLibTags tags;    // the real library: tests read back what it writes
  Services services = With(Replaced{});

  // The same services with some of them replaced, by name: With({.store = &refusing}).
  Services With(Replaced r) {
    return Services{
        .loop = r.loop ? *r.loop : loop,
        .dialogs = r.dialogs ? *r.dialogs : dialogs,
        .screen = screen,
        .cdLibrary = r.cdLibrary ? *r.cdLibrary : cd,
        .encoder = encoder,
        .store = r.store ? *r.store : store,
        .media = r.media ? *r.media : media,
        .exceptionFilter = exceptionFilter,
        .help = help,
        // The real MP3 player: conversions are real; playback goes to an output that does not exist.
        .makeMp3Player = [] { return std::make_unique<Mpg123Player>("hw:99,99"); },
        .programFolder = programFolder.Path(),
        .mixer = mixer,
        .notificationArea = tray,
        .libraries = LibraryVersions(),
        .discIds = discIds,
        // No network unless a test hands in a client (a real one pointed at a loopback server).
        .http = r.http ? *r.http : NoHttpClient::Instance(),
        .tags = tags,
    };
  }
  // With another CD extraction library (a real one over disc images, say).
  Services With(CdExtractionLibrary& library) { return With(Replaced{.cdLibrary = &library}); }
};

}  // namespace korvalin::test
