#pragma once
// The real adapters of the desktop program, each made once, and the services over them. Made after
// the QApplication (the dialogs, the screen, the help window and the tray need it) and kept until
// the main window and the jobs are gone.

#include <string>
#include <vector>

#include "controls/Window.h"
#include "platform/Services.h"
#include "platform/linux/AlsaMixer.h"
#include "platform/linux/CdioLibrary.h"
#include "platform/linux/CurlHttpClient.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "platform/linux/LibDiscId.h"
#include "platform/linux/MediaCommandInterpreter.h"
#include "platform/linux/SignalExceptionFilter.h"
#include "platform/linux/TagLibTags.h"
#include "platform/qt/HelpWindow.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtNotificationArea.h"
#include "platform/qtcore/QtSettingsStore.h"

namespace korvalin {

class DesktopServices {
 public:
  // Finds the drives (CD drives, then the disc images), sizes the screen from the primary screen
  // and gives the program's windows their icon.
  DesktopServices();
  DesktopServices(const DesktopServices&) = delete;
  DesktopServices& operator=(const DesktopServices&) = delete;

  // The dialogs, for the window they belong to and for ending with nobody to answer them.
  QtDialogs& Dialogs() { return dialogs_; }
  // The paths of the drives found, in the drive list's order.
  std::vector<std::string> DrivePaths() const;
  // Why an application's settings file cannot be used, as a sentence; "" when it can.
  std::string SettingsProblem(const std::string& application) { return store_.Problem(application); }

 private:
  // Declared in the order they are made; the services, made over them, come last.
  QtEventLoop loop_;
  QtDialogs dialogs_;
  controls::Screen screen_;
  std::string programFolder_;
  CdioLibrary cdLibrary_;
  LameEncoderLibrary encoder_;
  QtSettingsStore store_;
  MediaCommandInterpreter media_;
  SignalExceptionFilter exceptionFilter_;
  QtHelpViewer help_;
  AlsaMixer mixer_;
  LibDiscId discIds_;
  CurlHttpClient http_;
  TagLibTags tags_;
  QtNotificationArea tray_;

 public:
  Services services;
};

}  // namespace korvalin
