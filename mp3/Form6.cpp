#include "mp3/Form6.h"

#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "mp3/DecodeTags.h"
#include "platform/WavTags.h"

namespace korvalin {

int16_t DecodePercent(int64_t position, int64_t length) {
  if (length == 0) throw RaisedError::Of(errnum::DivisionByZero);
  return CInt16(static_cast<double>(position) / static_cast<double>(length) * 100.0);
}

Form6::Form6(JobHost& main, Services& services, DecodeState& state)
    : main_(main), services_(services), state_(state) {
  window.SetVisible(false);
  Timer1.OnTimer = [this] { Timer1_Timer(); };
  Timer2.OnTimer = [this] { Timer2_Timer(); };
  timers_.push_back(services_.loop.Attach(Timer1));
  timers_.push_back(services_.loop.Attach(Timer2));
  IgnoreErrors([&] {
    if (services_.makeMp3Player) ActiveMP31 = services_.makeMp3Player();
  });
}

Form6::~Form6() {
  // The control stops its worker as it goes; the timer handles go first so no tick can follow.
  timers_.clear();
}

void Form6::Form_Load() {
  window.SetLoaded(true);
  Timer1.SetEnabled(true);
  if (main_.Flags().CaptureStopRequested != kFalse) {
    Form_Unload();
    return;
  }
  state_.DecodeBusy = true;
  StartMP3();
  // Without a running conversion no tick would ever unload the host, and the batch would wait
  // for good.
  if (!Timer2.Enabled()) Form_Unload();
}

void Form6::Form_Unload() {
  if (!window.Loaded()) return;
  Timer1.SetEnabled(false);
  Timer2.SetEnabled(false);
  IgnoreErrors([&] { StopControl(); });
  state_.DecodeBusy = false;
  window.SetLoaded(false);
}

void Form6::StartMP3() {
  try {
    if (!ActiveMP31 || RegularFileLength(state_.DecodeSource) < kSmallestDecodableMp3) return;
    Timer2.SetEnabled(true);
    ActiveMP31->SetSourceFile(state_.DecodeSource);
    // The WAV keeps the MP3's tags; an MP3 without them gives a WAV without them, as before.
    ActiveMP31->SetWavTrailer(
        RenderWavTags(services_.tags, ReadMp3Tags(services_.tags, state_.DecodeSource), state_.DecodeTagVersion));
    ActiveMP31->ConvertToWav(WavPathFor(state_.DecodeFolder, state_.DecodeSource));
    started_ = true;
  } catch (const std::exception&) {
    // The conversion does not start; Timer2 finds the control idle and unloads the host.
  }
}

void Form6::Timer1_Timer() {
  Timer1.SetEnabled(false);
  StartMP3();
}

void Form6::Timer2_Timer() {
  try {
    if (!ActiveMP31 || !ActiveMP31->Busy()) {
      Finish();
    } else if (main_.Flags().CaptureStopRequested == kFalse) {
      const int64_t position = ActiveMP31->Position();  // the position first: the length never trails it
      const int16_t percent = DecodePercent(position, ActiveMP31->Length());
      main_.ShowPercent(std::to_string(percent) + "%", percent);
      services_.loop.Yield();
    } else {
      Timer2.SetEnabled(false);
      IgnoreErrors([&] { StopControl(); });
      Form_Unload();
    }
  } catch (const std::exception&) {
    // Errors in a tick end the tick: a length not known yet shows nothing.
  }
}

void Form6::StopControl() {
  if (ActiveMP31) ActiveMP31->Stop();
}

void Form6::Finish() {
  // Each step is tried on its own: whatever fails, the host unloads, or the batch would wait on.
  Timer2.SetEnabled(false);
  IgnoreErrors([&] { StopControl(); },
               [&] { main_.ShowPercent("100 %", 100); },
               [&] { services_.loop.Yield(); },
               [&] { services_.loop.Yield(); },
               [&] { StopControl(); });
  Form_Unload();
}

}  // namespace korvalin
