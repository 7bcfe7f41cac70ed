#pragma once
// The Preferences window on screen: four tab pages, each widget bound to its control of
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

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* BuildDiskSpacePage();
  QWidget* BuildAudioPage();
  QWidget* BuildDestinationPage();
  QWidget* BuildAccuracyPage();

  template <typename W, typename C>
  W* Make(QWidget* parent, C& control);

  FrmPrefs& form_;
  Binder binder_;
  std::string pictureFolder_;
};

}  // namespace korvalin
