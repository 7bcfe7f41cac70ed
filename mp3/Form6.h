#pragma once
// The decoder host: a window that is never shown and holds the MP3 player control for one
// conversion. Loading it starts converting DecodeSource into its WAV file in the destination
// folder (DecodeFolder); its Timer2 follows the conversion in the host's percent label and progress bar
// and unloads the host when the conversion has ended or a stop was asked for. Unloading stops the
// control and clears DecodeBusy, which is what the waiting batch watches.
//
// The host's owner must not destroy it while one of its timers ticks: unloading only disables the
// timers; the owner releases the host once DecodeBusy is clear.

#include <memory>
#include <vector>

#include "controls/Timer.h"
#include "controls/Window.h"
#include "mp3/DecodeState.h"
#include "platform/EventLoop.h"
#include "platform/Mp3Player.h"
#include "platform/Services.h"
#include "window/JobHost.h"

namespace korvalin {

class Form6 {
 public:
  // Makes the host with its own player control; it is not loaded yet.
  Form6(JobHost& main, Services& services, DecodeState& state);
  ~Form6();
  Form6(const Form6&) = delete;
  Form6& operator=(const Form6&) = delete;

  controls::Window window{"Form6"};
  controls::Timer Timer1{"Timer1", 500, false};  // one shot: the second start sequence
  controls::Timer Timer2{"Timer2", 500, false};  // follows the running conversion
  std::unique_ptr<ActiveMP3> ActiveMP31;

  // With a stop requested the host unloads at once; otherwise it starts the conversion. A host
  // that could not start one unloads itself too, so nothing waits for it.
  void Form_Load();
  // Stops the control and clears DecodeBusy. Does nothing when the host is not loaded.
  void Form_Unload();
  // Starts converting DecodeSource when the file holds more than 99 bytes. Errors end it silently.
  void StartMP3();
  void Timer1_Timer();
  void Timer2_Timer();

  bool Loaded() const { return window.Loaded(); }
  // Whether a conversion was handed to the control, so that a WAV file was (or is being) written.
  bool ConversionStarted() const { return started_; }

 private:
  // A conversion has ended (or stops now): the displays show it whole, the host unloads.
  void Finish();
  void StopControl();

  JobHost& main_;
  Services& services_;
  DecodeState& state_;
  bool started_ = false;
  std::vector<std::unique_ptr<EventLoop::TimerHandle>> timers_;
};

// The percentage `position` is of `length`, halves rounded to even. A length of 0 raises the
// division-by-zero error.
int16_t DecodePercent(int64_t position, int64_t length);

}  // namespace korvalin
