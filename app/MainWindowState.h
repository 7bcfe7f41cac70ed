#pragma once
// The main window's displays and options that the jobs report to and start from: the status
// displays, the encoder and extraction options, the CD labels, the collection and the drive.
// It is the jobs' host (JobHost): the jobs in rip/, encode/ and mp3/ see only that interface.
// Form1 (app/) is this state plus its toolbar, menus, layout and handlers.

#include <cstdint>
#include <string>
#include <vector>

#include "common/ProgramTitle.h"
#include "collection/CollectionTree.h"
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
#include "window/JobHost.h"

namespace korvalin {

class MainWindowState : public JobHost, public CollectionHost {
 public:
  explicit MainWindowState(Services& services);
  MainWindowState(const MainWindowState&) = delete;
  MainWindowState& operator=(const MainWindowState&) = delete;
  ~MainWindowState() override = default;

  Services& services;

  controls::Window window{"Form1", kProgramTitle};

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

  // --- the collection and the drive ---
  CollectionTree collection;
  modAKRip32 cd;

  // JobHost: the window operations the jobs call.
  void ChangeProgress(const std::string& status, float done, float total) override;
  void ShowCaption(const std::string& text) override { window.SetCaption(text); }
  void ShowDestination(const std::string& line) override { Label2.SetCaption(line); }
  void ShowPercent(const std::string& text, int32_t bar) override;
  void ShowStatus(const std::string& line) override { lblStatus.SetCaption(line); }
  void ResetStatusSoon() override { Timer1.SetEnabled(true); }
  void ShowCancelCommand() override { Command2.SetVisible(true); }
  void ShowStopCommand() override { Command1.SetVisible(true); }
  void StopSpaceWatch() override { tmrWarning.SetEnabled(false); }
  bool StopMarked() const override { return Check9.Value() == controls::CheckBox::Checked; }
  void ClearStopMark() override { Check9.SetValue(controls::CheckBox::Unchecked); }
  CollectionTree& Collection() override { return collection; }
  void Cmaddfile2(const std::string& path) override { collection.Cmaddfile2(path); }
  void DeleteAndUnlist(const std::string& path) override { collection.DeleteAndUnlist(path); }
  // "Stop Everything": ends a running job; a rip or an encoding stops after the block in hand,
  // a batch before its next file.
  virtual void Command8_Click() = 0;

  // JobHost and CollectionHost: a job's and the tree's mouse work show in the next-action line;
  // the tree's also in the pop-up menu.
  void ShowNextAction(const std::string& line) override { Label3.SetCaption(line); }
  void SetCurrentTrack(int32_t track) override { CurrentTrack = track; }
  void ShowPopupMenu(controls::MenuItem& menu) override { window.PopupMenu(menu); }

  // The destination line for a folder setting: "Destination:  " + folder + "/".
  std::string DestinationLine() const { return "Destination:  " + settings.DecodePath + "/"; }

 protected:
  JobOptions WindowOptions() const override;

 private:
  controls::OptionGroup outputChoice_;
};

}  // namespace korvalin
