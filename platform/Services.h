#pragma once
// The services through which the program reaches the outside world. platform/qt/DesktopServices
// fills them with the real adapters and tests/support/FakeServices with the fakes, each by field
// name, so a new service is one field here and one line in each of those two places. A form takes the services
// as this one object.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/Window.h"
#include "platform/CdExtractionLibrary.h"
#include "platform/Dialogs.h"
#include "platform/DiscIdLibrary.h"
#include "platform/EncoderLibrary.h"
#include "platform/EventLoop.h"
#include "platform/ExceptionFilter.h"
#include "platform/HelpViewer.h"
#include "platform/HttpClient.h"
#include "platform/MediaControl.h"
#include "platform/Mixer.h"
#include "platform/Mp3Player.h"
#include "platform/NotificationArea.h"
#include "platform/SettingsStore.h"
#include "platform/TagLibrary.h"

namespace korvalin {

struct Services {
  EventLoop& loop;
  Dialogs& dialogs;
  controls::Screen& screen;
  CdExtractionLibrary& cdLibrary;
  EncoderLibrary& encoder;
  SettingsStore& store;
  MediaControl& media;
  ExceptionFilterService& exceptionFilter;
  HelpViewer& help;
  // Makes an MP3 player control: each window that plays or converts MP3s has its own.
  std::function<std::unique_ptr<ActiveMP3>()> makeMp3Player;
  // The folder of the running program. Its read-only files (demo disc, pictures, help) and the
  // places it writes when its own folder is no place for that follow from it: platform/UserFolders.h.
  std::string programFolder;
  // The sound card's mixer.
  Mixer& mixer;
  // The desktop's tray; a desktop without one shows no icon.
  NotificationArea& notificationArea = NoNotificationArea::Instance();
  // The outside libraries the program runs on, "name version" each, as the About box lists them.
  std::vector<std::string> libraries;
  // The online music database's disc id, for the rip log.
  DiscIdLibrary& discIds = NoDiscIdLibrary::Instance();
  // HTTP GET for the online disc databases; a program without one never leaves the machine.
  HttpClient& http = NoHttpClient::Instance();
  // Renders and reads ID3v2 tags; a program without it writes no ID3v2 tag.
  TagLibrary& tags = NoTagLibrary::Instance();
};

}  // namespace korvalin
