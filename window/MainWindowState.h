#pragma once
// The part of the main window that the jobs work on: the status displays, the encoder and
// extraction options, the CD labels, the collection, the settings, the job flags and the job
// state, with the window operations a job calls. Form1 (app/) is this state plus its toolbar,
// menus, layout and handlers; the jobs in rip/, encode/ and mp3/ see only this part.

#include <cstdint>
#include <string>
#include <vector>

#include "collection/CollectionTree.h"
#include "common/JobFlags.h"
#include "common/MainWindowOps.h"
#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/CommandButton.h"
#include "controls/Label.h"
#include "controls/OptionButton.h"
#include "controls/ProgressBar.h"
#include "controls/Timer.h"
#include "controls/Window.h"
#include "platform/Services.h"
#include "rip/modAKRip32.h"
#include "settings/Settings.h"

namespace korvalin {

class MainWindowState : public MainWindowOps, public CollectionHost {
 public:
  explicit MainWindowState(Services& services);
  MainWindowState(const MainWindowState&) = delete;
  MainWindowState& operator=(const MainWindowState&) = delete;
  ~MainWindowState() override = default;

  Services& services;

  controls::Window window{"Form1", "Korvalin V 2.1"};

  // --- status displays ---
  controls::Label Label3{"Label3", "Next Action: Make a selection"};  // next-action line
  controls::Label Label2{"Label2", "Destination:  "};                 // destination line
  controls::Label Label33{"Label33", "OFF"};                          // percent
  controls::Label lblStatus{"lblStatus"};
  controls::ProgressBar ProgressBar1{"ProgressBar1"};
  controls::Timer Timer1{"Timer1", 1000, false};          // returns the displays to idle
  controls::Timer tmrWarning{"tmrWarning", 2000, false};  // low-disk-space warning
  controls::Timer tmrRecord{"tmrRecord", 100, false};     // polls a capture's play position

  // --- job buttons ---
  controls::CommandButton Command1{"Command1"};  // stop
  controls::CommandButton Command2{"Command2"};  // cancel
  controls::CommandButton Command8{"Command8", "Cancel"};  // "Stop Everything"

  // --- encoder and extraction options ---
  controls::ComboBox cmbBitrate{"cmbBitrate"};
  controls::ComboBox cmbQuality{"cmbQuality"};
  controls::CheckBox chkCRC{"chkCRC", "CRC"};
  controls::CheckBox chkPrivate{"chkPrivate", "Private"};
  controls::CheckBox chkOriginal{"chkOriginal", "Original"};
  controls::CheckBox chkCopyright{"chkCopyright", "Copyrighted"};
  controls::OptionButton optMP3{"optMP3", "MP3", true};
  controls::OptionButton optWAV{"optWAV", "WAV"};
  controls::CheckBox Chk2Stage{"Chk2Stage", "1 Step Extraction", controls::CheckBox::Checked};
  controls::CheckBox Check9{"Check9"};  // hidden: tells analog capture that the job was stopped
  controls::CheckBox Check3{"Check3", "All"};  // all tracks

  // --- CD information ---
  controls::Label lblCDID{"lblCDID"};            // the disc's identity (a decimal number)
  controls::Label lblNumTracks{"lblNumTracks"};  // its track count

  // --- the collection, the drive, the settings ---
  CollectionTree collection;
  modAKRip32 cd;
  Settings settings;

  // --- job state ---
  JobFlags flags;
  int32_t CurrentTrack = 0;
  std::string CurrentOutputPath;
  int32_t CaptureStart = 0;
  int32_t CaptureEnd = 0;
  // Track lengths in milliseconds, from the last CD information refresh; index 0 unused.
  std::vector<int32_t> TrackLengths;

  // Window operations the jobs call.
  void ChangeProgress(const std::string& status, float done, float total) override;
  virtual void ResetStatus() = 0;
  virtual void Disablem() = 0;
  virtual void Enablem() = 0;
  // "Stop Everything": ends a running job; a rip or an encoding stops after the block in hand,
  // a batch before its next file.
  virtual void Command8_Click() = 0;

  // CollectionHost: the tree's mouse work shows in the next-action line and the pop-up menu.
  void ShowNextAction(const std::string& line) override { Label3.SetCaption(line); }
  void SetCurrentTrack(int32_t track) override { CurrentTrack = track; }
  void ShowPopupMenu(controls::MenuItem& menu) override { window.PopupMenu(menu); }

  // The destination line for a folder setting: "Destination:  " + folder + "/".
  std::string DestinationLine() const { return "Destination:  " + settings.DecodePath + "/"; }

 private:
  controls::OptionGroup outputChoice_;
};

}  // namespace korvalin
