#pragma once
// The main window's toolbar: the picture buttons of its commands, the stop and cancel buttons a
// running job shows, and the red label that warns while the destination runs low. It places its
// controls inside the toolbar region and follows the job's signals that show them; the window
// wires the clicks (they open its other windows).

#include <vector>

#include "controls/CommandButton.h"
#include "controls/Label.h"
#include "joblife/JobEvents.h"

namespace korvalin {

class MainToolbar {
 public:
  explicit MainToolbar(JobEvents& events);
  MainToolbar(const MainToolbar&) = delete;
  MainToolbar& operator=(const MainToolbar&) = delete;

  controls::CommandButton CmdSelectAction{"CmdSelectAction"};  // Start
  controls::CommandButton C777{"C777"};                        // the File Finder
  controls::CommandButton C5555555{"C5555555"};                // the Playlist Editor
  controls::CommandButton Copt{"Copt"};                        // Preferences
  controls::CommandButton Cmdhelp{"Cmdhelp"};
  controls::CommandButton Command4{"Command4"};                // the sound mixer
  controls::CommandButton Command1{"Command1"};                // stop: shown once a job offers it
  controls::CommandButton Command2{"Command2"};                // cancel: hidden until a job offers it
  controls::CommandButton Command5{"Command5"};                // exit
  controls::CommandButton Command7{"Command7"};                // never shown
  controls::Label Label5{"Label5", "Low Drive space"};         // red; shown while the destination runs low

  // The commands a running job must not run beside.
  std::vector<controls::Control*> JobLockedButtons() { return {&C777, &CmdSelectAction, &Copt, &C5555555, &Cmdhelp, &Command4}; }

 private:
  void Place();
  std::vector<controls::Connection> connections_;
};

}  // namespace korvalin
