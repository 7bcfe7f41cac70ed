#include "rip/AnalogCapture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>

#include "collection/DeleteWavRule.h"
#include "common/Numeric.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "common/TrackLine.h"
#include "encode/EncodeWavToMp3.h"
#include "encode/WavFileEncoding.h"
#include "rip/ExtractionJob.h"
#include "settings/PathHelpers.h"

namespace korvalin {
namespace {

constexpr const char* kExtracting = "Extracting Track ";
constexpr std::size_t kReplySize = 64;

struct CaptureFormat {
  int32_t rate = 0;
  int32_t channels = 0;
  int32_t bits = 0;
};

// "Audio format" 0 is mono, 1 stereo, both 44100 Hz 16-bit; any other value leaves all at 0,
// which the recorder refuses.
CaptureFormat FormatFor(int16_t audioFormat) {
  if (audioFormat == 0) return {44100, 1, 16};
  if (audioFormat == 1) return {44100, 2, 16};
  return {};
}

void ShowMessage(Services& services, const std::string& text) {
  services.dialogs.MsgBox(text, MsgBoxButtons::OK, MsgBoxIcon::Critical);
}

}  // namespace

AnalogCapture::AnalogCapture(JobHost& host, Services& services, PrefixRandom::SeedSource seed)
    : w_(host), services_(services), random_(std::move(seed)) {
  tmrRecord.OnTimer = [this] { tmrRecord_Timer(); };
  timer_ = services_.loop.Attach(tmrRecord);
}

void AnalogCapture::MoveTo(int32_t index) {
  cursor_ = index;
  options_.selection.trackIndex = index;  // the next track's start goes on from here
  w_.TrackInHand(index);
}

std::string AnalogCapture::Ask(const char* command) {
  std::array<char, kReplySize> reply;
  reply.fill(' ');
  services_.media.SendCommand(command, reply.data(), reply.size());
  const auto nul = std::find(reply.begin(), reply.end(), '\0');
  return nul == reply.end() ? std::string() : std::string(reply.begin(), nul);
}

void AnalogCapture::Send(const std::string& command) {
  IgnoreErrors([&] { services_.media.SendCommand(command); });
}

void AnalogCapture::Fail(const std::string& text) {
  if (failureSaid_) return;
  failureSaid_ = true;
  IgnoreErrors([&] { ShowMessage(services_, text); });
}

std::string AnalogCapture::Cause() const {
  const std::string cause = services_.media.LastErrorText();
  return cause.empty() ? "the sound card gave no reason" : cause;
}

int32_t AnalogCapture::TrackLength(int32_t track) const {
  // Without a refresh there are no lengths: the sum leaves them out.
  if (track < 1 || static_cast<std::size_t>(track) >= w_.State().TrackLengths.size()) return 0;
  return w_.State().TrackLengths[static_cast<std::size_t>(track)];
}

void AnalogCapture::StartTrackRecording2(int32_t track) { StartTrackRecording2(track, w_.ReadJobOptions()); }

void AnalogCapture::StartTrackRecording2(int32_t track, const JobOptions& options) {
  options_ = options;
  cursor_ = options.selection.trackIndex;
  failureSaid_ = false;
  JobHost& w = w_;
  MediaControl& mci = services_.media;
  IgnoreErrors([&] { w.Flags().CaptureStopRequested = kFalse; },
               [&] {
                 w.ShowCaption(kExtracting + std::to_string(track));
                 w.ShowNextAction(kExtracting + std::to_string(track));
               },
               [&] {
                 w.State().CurrentOutputPath =
                     FreeOutputName(options_.destination, track, ".wav", options_.discIdentity, random_);
               },
               [&] { w.ShowDestination("Destination: " + w.State().CurrentOutputPath); },
               [&] { services_.loop.Yield(); });

  int64_t start = 0;
  IgnoreErrors([&] {
    const int32_t tracks = CInt32(options_.trackCount);
    for (int32_t i = 1; i <= tracks && i != track; ++i) start += TrackLength(i);
  });
  w.State().CaptureStart = static_cast<int32_t>(start);
  w.State().CaptureEnd = static_cast<int32_t>(start + TrackLength(track));
  if (w.State().CaptureEnd < 1) {
    tmrRecord.SetEnabled(false);
    return;
  }

  tmrRecord.SetEnabled(true);
  const CaptureFormat f = FormatFor(options_.audioFormat);
  const int32_t alignment = f.channels * f.bits / 8;
  const int32_t bytesPerSecond = alignment * f.rate;

  if (mci.SendCommand("open new type waveaudio alias capture") != 0) {
    Fail("Error opening waveaudio");
    cmdCancel_Click();
  }
  if (w.State().CaptureEnd != 0) {
    const std::string set = "set capture samplespersec " + std::to_string(f.rate) + " channels " +
                            std::to_string(f.channels) + " bitspersample " + std::to_string(f.bits) + " alignment " +
                            std::to_string(alignment) + " bytespersec " + std::to_string(bytesPerSecond);
    if (mci.SendCommand(set) != 0) {
      Fail("Error setting capture recording paramaters");
      Send("close capture");
      cmdCancel_Click();
    }
  }
  if (w.State().CaptureEnd != 0) {
    if (mci.SendCommand("open cdaudio alias cd") != 0) {
      Fail("Error opening cd!");
      cmdCancel_Click();
    } else {
      Send("set cd time format milliseconds");
      const std::string play = w.State().CaptureStart != 0 ? "play cd from " + std::to_string(w.State().CaptureStart) : "play cd";
      if (mci.SendCommand("record capture overwrite") != 0) {
        // Playing a track nobody records would only pass the time: the capture ends here.
        Fail("The recording " + w.State().CurrentOutputPath + " could not start: " + Cause() + ".");
        cmdCancel_Click();
      } else if (mci.SendCommand(play) != 0) {
        Fail("Error playing cd!");
        cmdCancel_Click();
      }
    }
    IgnoreErrors([&] { w.Disablem(); });
  }
}

void AnalogCapture::cmdCancel_Click() {
  w_.State().CaptureEnd = 0;
  MoveTo(TrackCount() - 1);
  w_.StopSpaceWatch();
  StopSaveAndClose();
}

bool AnalogCapture::StopSaveAndClose() {
  MediaControl& mci = services_.media;
  const std::string path = w_.State().CurrentOutputPath;
  std::string stopFailure, saveFailure;
  IgnoreErrors([&] {
    if (mci.SendCommand("stop capture") != 0) stopFailure = Cause();
  });
  Send("stop cd");
  IgnoreErrors([&] {
    if (mci.SendCommand("save capture " + path) != 0) saveFailure = Cause();
  });
  Send("close capture");
  Send("close cd");
  if (!saveFailure.empty()) {
    Fail("The recording " + path + " could not be saved: " + saveFailure + ".");
  } else if (!stopFailure.empty()) {
    Fail("The recording " + path + " stopped early: " + stopFailure + ". What was recorded until then is saved.");
  }
  return saveFailure.empty() && stopFailure.empty();
}

void AnalogCapture::EndAfterFailure() {
  JobHost& w = w_;
  IgnoreErrors([&] { w.State().StopMarked = false; },
               [&] { tmrRecord.SetEnabled(false); },
               [&] { w.StopSpaceWatch(); },
               [&] { w.State().CaptureEnd = 0; },
               [&] { w.Enablem(); },
               [&] {
                 // What could be kept is the user's recording: listed, never encoded or deleted.
                 std::error_code missing;
                 if (std::filesystem::exists(w.State().CurrentOutputPath, missing)) w.FileWritten(w.State().CurrentOutputPath);
               },
               [&] { services_.loop.Yield(); },
               [&] { w.ResetStatus(); });
}

void AnalogCapture::KeepOrDeleteWav(bool encoded) {
  const std::string& wav = w_.State().CurrentOutputPath;
  // Only the program's own intermediate file goes, and only once its audio is safe in the MP3:
  // a stop, a failed encoding or a WAV outside the destination keeps it, in the collection.
  if (DeleteWavApplies(wav, options_.deleteWav, options_.destination, encoded)) {
    IgnoreErrors([&] { w_.DeleteFile(wav); });
  } else {
    IgnoreErrors([&] { w_.FileWritten(wav); });
  }
}

void AnalogCapture::AbortSteps() {
  JobHost& w = w_;
  IgnoreErrors([&] { w.State().StopMarked = false; },
               [&] { tmrRecord.SetEnabled(false); },
               [&] { w.StopSpaceWatch(); },
               [&] {
                 if (cursor_ >= 0) MoveTo(cursor_);
               },
               [&] { StopSaveAndClose(); },
               [&] { w.Enablem(); },
               [&] { w.FileWritten(w.State().CurrentOutputPath); },
               [&] { services_.loop.Yield(); },
               [&] { w.ResetStatus(); });
}

void AnalogCapture::tmrRecord_Timer() {
  JobHost& w = w_;
  double pos = 0;
  IgnoreErrors([&] { pos = Val(Ask("status cd position")); });

  if (w.State().CaptureEnd != 0) {
    if (w.Flags().CaptureStopRequested != kFalse) {
      AbortSteps();
      return;
    }
    IgnoreErrors([&] { Ask("status cd current track"); },
                 [&] {
                   const double span = static_cast<double>(w.State().CaptureEnd) - w.State().CaptureStart;
                   if (span == 0) throw RaisedError::Of(errnum::DivisionByZero);
                   // Before the disc has reached the track (or with no disc playing at all, as
                   // while an error about the sound card is on screen) there is no share to show.
                   if (pos < w.State().CaptureStart) return;
                   const int32_t p = CInt32(std::floor((pos - w.State().CaptureStart) / span * 100));
                   w.ShowPercent(std::to_string(p) + "%", p);
                 },
                 [&] { services_.loop.Yield(); });
  }

  if (pos < w.State().CaptureEnd && !w.State().StopMarked) return;

  // The track has been played, or the capture was stopped: keep what was recorded.
  bool saved = true;
  IgnoreErrors([&] { w.State().StopMarked = false; },
               [&] { tmrRecord.SetEnabled(false); },
               [&] { w.StopSpaceWatch(); },
               [&] { saved = StopSaveAndClose(); },
               [&] { services_.loop.Yield(); });
  // Later tracks would go to the same folder and fail the same way.
  if (!saved) {
    EndAfterFailure();
    return;
  }

  std::string mp3;
  bool encoded = false;
  const bool toMp3 = options_.toMp3;
  // A recording to WAV is the job's product: it is listed as soon as it is saved, stopped or not.
  if (!toMp3) IgnoreErrors([&] { w.FileWritten(w.State().CurrentOutputPath); });
  if (toMp3) {
    IgnoreErrors([&] {
      const std::string title = FileTitleNoExt(w.State().CurrentOutputPath);
      w.ShowCaption("Encoding " + title + ".wav");
      w.ShowNextAction("Encoding " + w.State().CurrentOutputPath);
      w.ShowDestination("Destination:  " + options_.destination + "/" + title + ".mp3");
    },
                 [&] { w.ShowStatus(""); });
    if (w.Flags().CaptureStopRequested != kFalse) {
      AbortSteps();
      return;
    }
    // A capture abandoned before anything was saved has said why already: there is nothing to
    // encode, and no second message about a missing file.
    std::error_code missing;
    if (std::filesystem::exists(w.State().CurrentOutputPath, missing)) {
      IgnoreErrors([&] { services_.loop.Yield(); },
                 [&] { encoded = EncodeWavToMp3(w, services_, w.State().CurrentOutputPath, options_).Succeeded(); },
                 [&] { mp3 = Mp3PathFor(options_.destination, w.State().CurrentOutputPath); },
                 [&] { w.FileWritten(mp3); },
                 [&] { w.ResetStatus(); },
                 [&] { KeepOrDeleteWav(encoded); });
    }
  }

  // The next selected track, if any.
  const int32_t k = cursor_;
  const int32_t c = TrackCount();
  if (k + 1 >= c || c <= 1) {
    if (w.State().CaptureEnd != 0) {
      IgnoreErrors([&] { w.Enablem(); }, [&] { w.ResetStatus(); });
    } else if (w.Flags().CaptureStopRequested != kFalse) {
      IgnoreErrors([&] { w.Enablem(); },
                   [&] {
                     if (!mp3.empty()) w.FileWritten(mp3);
                   },
                   [&] { w.ResetStatus(); });
    } else {
      IgnoreErrors([&] { w.ResetStatus(); });
    }
    return;
  }
  if (w.Flags().CaptureStopRequested != kFalse || w.Flags().CancelRequested != kFalse) {
    AbortSteps();
    return;
  }
  IgnoreErrors([&] { MoveTo(k + 1); },
               [&] { w.State().CurrentTrack = TrackNumberOf(options_.selection.tracks.at(static_cast<std::size_t>(k + 1))); },
               [&] {
                 w.ShowNextAction(kExtracting + std::to_string(w.State().CurrentTrack));
                 w.ShowCaption(kExtracting + std::to_string(w.State().CurrentTrack));
               },
               [&] { w.ShowDestination("Destination:  " + w.State().CurrentOutputPath); },
               [&] { w.ShowStopCommand(); },
               [&] { StartTrackRecording2(w.State().CurrentTrack, options_); });
}

}  // namespace korvalin
