#pragma once
// The main window. It owns the controls the user sees, the job flags and the job state, and
// implements the window's handlers and the operations the jobs call. Qt shows it through
// app/view/Form1View; nothing here touches a widget.

#include <memory>
#include <vector>

#include "common/JobFlags.h"
#include "common/MainWindowOps.h"
#include "controls/ComboBox.h"
#include "controls/Label.h"
#include "controls/PictureBox.h"
#include "controls/ProgressBar.h"
#include "controls/Timer.h"
#include "controls/Window.h"
#include "platform/Services.h"
#include "rip/modAKRip32.h"

namespace korvalin {

class Form1 : public MainWindowOps {
 public:
  explicit Form1(Services& services);
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // --- the window and its regions (twips) ---
  controls::Window window{"Form1", "Korvalin V 2.1"};
  controls::PictureBox Picture3{"Picture3", controls::PictureBox::Align::Top};     // toolbar
  controls::PictureBox Picture4{"Picture4", controls::PictureBox::Align::Top};     // CD bar
  controls::PictureBox Picture5{"Picture5", controls::PictureBox::Align::Top};     // next-action strip
  controls::PictureBox Picture7{"Picture7"};                                       // tree area
  controls::PictureBox Picture8{"Picture8"};                                       // options panel
  controls::PictureBox Picture2{"Picture2", controls::PictureBox::Align::Bottom};  // activity bar
  controls::PictureBox Picture1{"Picture1", controls::PictureBox::Align::Bottom};  // status bar

  // --- status displays ---
  controls::Label Label3{"Label3", "Next Action: Make a selection"};  // next-action line
  controls::Label Label2{"Label2", "Destination:  "};                 // destination line
  controls::Label Label33{"Label33", "OFF"};                          // percent
  controls::Label lblStatus{"lblStatus"};
  controls::ProgressBar ProgressBar1{"ProgressBar1"};

  // --- CD bar ---
  controls::ComboBox cmbDrives{"cmbDrives"};  // the drive list

  // --- timers ---
  controls::Timer Timer1{"Timer1", 1000, false};         // returns the displays to idle
  controls::Timer tmrWarning{"tmrWarning", 2000, false};  // low-disk-space warning

  JobFlags flags;
  modAKRip32 cd;  // the open drive and its table of contents

  // Shows a job's progress in the caption, the percent label and the progress bar.
  void ChangeProgress(const std::string& status, float done, float total) override;

  // Fills the drive list, one line per host adapter and one more, and selects the first line,
  // which opens that drive. Errors end the step they happen in, nothing more.
  void FillDriveList();
  // A line of the drive list chosen: close the open drive, open the chosen one.
  void cmbDrives_Click();

  // A press on the window's own surface: the left button drags the window.
  void Form_MouseDown(int16_t button, int16_t shift, int32_t x, int32_t y);
  // Hands the drag of the window to the window system.
  void N1Drag();

  // Bars aligned to the top edge, in stacking order, then those aligned to the bottom edge,
  // from the bottom up.
  std::vector<controls::PictureBox*> TopBars() { return {&Picture3, &Picture4, &Picture5}; }
  std::vector<controls::PictureBox*> BottomBars() { return {&Picture1, &Picture2}; }

  // Lays the window out for its current inner size: the aligned bars stack along their edges,
  // the tree area fills what is left beside the options panel.
  void Form_Resize();

 private:
  void PlaceDesignGeometry();

  Services& services_;
  std::vector<std::unique_ptr<EventLoop::TimerHandle>> timers_;
};

}  // namespace korvalin
