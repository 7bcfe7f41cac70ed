#pragma once
// The CD bar: the drive list, Reset (the disc's information read again and its tracks listed),
// play and stop. It shows the disc's identity and track count in labels of its window and keeps
// the track lengths in the job state, where a capture through the sound card finds them.

#include <cstdint>
#include <functional>

#include "collection/CollectionTree.h"
#include "controls/CheckBox.h"
#include "controls/ComboBox.h"
#include "controls/CommandButton.h"
#include "controls/Label.h"
#include "joblife/JobControl.h"
#include "platform/Services.h"
#include "rip/AnalogCapture.h"
#include "rip/modAKRip32.h"
#include "window/JobOptions.h"
#include "window/JobState.h"

namespace korvalin {

// The parts of its window and of the jobs the CD bar works with.
struct CdBarParts {
  CollectionTree& collection;  // "Available Tracks" lists the disc's tracks
  modAKRip32& cd;
  JobState& state;
  AnalogCapture& capture;
  JobControl& jobs;
};

class CdBar {
 public:
  CdBar(Services& services, CdBarParts parts);
  CdBar(const CdBar&) = delete;
  CdBar& operator=(const CdBar&) = delete;
  virtual ~CdBar() = default;

  controls::ComboBox cmbDrives{"cmbDrives"};  // the drive list
  controls::CommandButton Command11{"Command11"};  // play
  controls::CommandButton Command12{"Command12"};  // stop
  controls::CommandButton cmdRefresh{"cmdRefresh", "Reset"};
  controls::CheckBox Check3{"Check3", "All"};    // all tracks
  controls::Label lblCDID{"lblCDID"};            // the disc's identity (a decimal number)
  controls::Label lblNumTracks{"lblNumTracks"};  // its track count

  // Places the bar's controls in its region (twips from its corner), with their pictures and tips.
  void PlaceControls();

  // Runs first whenever a disc is read: its information is looked up (Disc Information).
  controls::Event OnDiscRead;

  // Reads the disc's identity, track count and track lengths and lists the tracks.
  void cmdRefresh_Click();
  // Plays the disc from the start of CurrentTrack.
  void Command11_Click();
  // Stops playback; during a recording, stops as "Stop Everything" does, so the recording is saved.
  void Command12_Click();
  // Fills the drive list, one line per host adapter and a blank one, and selects the first line,
  // which opens that drive.
  void FillDriveList();
  // A line of the drive list chosen: close the open drive, open the chosen one (the blank line
  // opens none). Another drive than before is also the "cd" device's from now on, and the CD
  // information and the collection are read again.
  void cmbDrives_Click();
  // The disc's information and the collection's files read again.
  void RefreshList();
  // The disc's identity and track count, as a starting job takes them.
  void FillJobOptions(JobOptions& job) const;
  // "All Tracks" chooses every available track; "Select Tracks" lists the disc again, none chosen.
  void Check3_Click();

 private:
  Services& services_;
  CollectionTree& collection_;
  modAKRip32& cd_;
  JobState& state_;
  AnalogCapture& capture_;
  JobControl& jobs_;
  // The drive of the "cd" device: the first until another line of the drive list is chosen.
  int32_t chosenDrive_ = 0;
};

}  // namespace korvalin
