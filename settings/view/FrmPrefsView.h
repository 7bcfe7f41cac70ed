#pragma once
// The Preferences window on screen: six tab pages, each widget bound to its control of
// FrmPrefs and named after it.

#include <QWidget>
#include <string>

#include "platform/qt/Binder.h"
#include "settings/FrmPrefs.h"

namespace korvalin {

class FrmPrefsView : public QWidget {
 public:
  // `pictureFolder`: where the tray check box finds its picture.
  FrmPrefsView(FrmPrefs& form, const std::string& pictureFolder, QWidget* parent = nullptr);

 private:
  QWidget* BuildDiskSpacePage();
  QWidget* BuildAudioPage();
  QWidget* BuildDestinationPage();
  QWidget* BuildAccuracyPage();
  QWidget* BuildDiscInfoPage();
  QWidget* BuildTagsAndNamesPage();

  FrmPrefs& form_;
  Binder binder_;
  std::string pictureFolder_;
};

}  // namespace korvalin
