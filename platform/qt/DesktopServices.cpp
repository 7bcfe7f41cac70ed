#include "platform/qt/DesktopServices.h"

#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <memory>

#include "platform/UserFolders.h"
#include "platform/linux/CaptureSource.h"
#include "platform/linux/DiscFolders.h"
#include "platform/linux/LibraryVersions.h"
#include "platform/linux/Mpg123Player.h"
#include "platform/linux/ProgramFolder.h"
#include "platform/qt/Binder.h"

namespace korvalin {

DesktopServices::DesktopServices()
    : programFolder_(ProgramFolder()),
      cdLibrary_(CdioLibrary::FindDrives(DiscImageFolders(programFolder_))),
      // The recorder's source: the sound card's input, or the loopback when KORVALIN_CAPTURE asks for it.
      media_(cdLibrary_.Drives(), "default", CaptureSourceFromEnvironment()),
      tray_(ProgramDataFolder(programFolder_) + "/pictures"),
      services{
          .loop = loop_,
          .dialogs = dialogs_,
          .screen = screen_,
          .cdLibrary = cdLibrary_,
          .encoder = encoder_,
          .store = store_,
          .media = media_,
          .exceptionFilter = exceptionFilter_,
          .help = help_,
          .makeMp3Player = [] { return std::make_unique<Mpg123Player>(); },
          .programFolder = programFolder_,
          .mixer = mixer_,
          .notificationArea = tray_,
          .libraries = LibraryVersions("Qt " + std::string(qVersion())),
          .discIds = discIds_,
          .http = http_,
          .tags = tags_,
      } {
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    screen_.SetSize(TwipsFromPixels(s->size().width()), TwipsFromPixels(s->size().height()));
  }
  QGuiApplication::setWindowIcon(QIcon::fromTheme(
      "org.korvalin.Korvalin", QIcon(QString::fromStdString(ProgramDataFolder(programFolder_) + "/pictures/korvalin.svg"))));
}

std::vector<std::string> DesktopServices::DrivePaths() const {
  std::vector<std::string> paths;
  for (const auto& drive : cdLibrary_.Drives()) paths.push_back(drive.path);
  return paths;
}

}  // namespace korvalin
