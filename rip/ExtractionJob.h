#pragma once
// The Start action for CD tracks: takes the tracks to extract from the collection's selection,
// names each output file, keeps the window's caption and status lines up to date, copies each
// track to WAV or MP3 and hands every file written to the collection. It reports to its host (the
// main window, or a stand-in) and runs with the options read when it starts; Form1 owns one and
// passes its handlers on to it.

#include <cstdint>
#include <string>

#include "encode/EncoderConfig.h"
#include "platform/Services.h"
#include "rip/AnalogCapture.h"
#include "rip/OutputName.h"
#include "rip/RipJournal.h"
#include "rip/RipLog.h"
#include "rip/modAKRip32.h"
#include "window/JobHost.h"

namespace korvalin {

class ExtractionJob {
 public:
  // `capture`: the way through the sound card, taken when "1 Step Extraction" is cleared (none:
  // nothing starts then).
  ExtractionJob(JobHost& host, Services& services, modAKRip32& cd,
                PrefixRandom::SeedSource seed = PrefixRandom::ClockSeed, AnalogCapture* capture = nullptr);

  // Start for the tree's selection: "Available Tracks" makes the tracks that group shows the
  // selected list (they stay available); a track node only names the first track in the caption. With no
  // selected track after that, a message says so and nothing starts. With "1 Step Extraction" ticked the selected list is
  // copied digitally; cleared, it is captured through the sound card, and Start returns once the
  // last capture has been handled; greyed, nothing starts. Errors are passed over step by step.
  // The options are read from the host once, here, and every later step runs with them; the
  // other entries, called without options, read them as they start.
  void cmdStart_Click();
  // Digital extraction of the selected tracks, `track` first in the caption: locks the job
  // commands and walks the list.
  void StartTrackRecording3(int32_t track);
  void StartTrackRecording3(int32_t track, const JobOptions& options);
  // The walk: each line of the selected list in turn, to WAV or MP3 as the output option says,
  // with the bitrate, quality and four frame flags of the options; every file goes to the
  // collection. A cancel is seen before each track; an encoder that will not start ends the
  // walk after its one message. Errors (a line that names no track) end the walk and reach the
  // caller.
  void Command6_Click();
  void Command6_Click(const JobOptions& options);
  // A walk to MP3 only, with the stored bitrate and quality: selects each line as it goes and
  // leaves the files out of the collection. Does nothing when "WAV" is chosen.
  void Command3_Click();

 private:
  // The free output name for a track in the destination folder: from the template and the track's
  // tags when the options ask for it and know the track, else from the disc's identity.
  // `makeFolders`: the template's sub-folders are made (the name is about to be written).
  std::string NameOutput(int32_t track, const std::string& extension, const JobOptions& options,
                         bool makeFolders = true);
  void ShowExtracting(const std::string& prefix, int32_t track);
  // The AccurateRip verdict of the track the journal saw end, on the status line.
  void ShowVerdict(const RipJournal& journal);
  // A data track holds no audio: it is passed over with a message. True when it was.
  bool SkipDataTrack(int32_t track);
  // The track at `index` of the selection is the one in hand.
  void InHand(JobSelection& selection, int32_t index);
  static EncoderConfig ConfigWith(int32_t bitrateKbps, int32_t qualityIndex, const JobOptions& options);
  // The settings the rip log shows for a job with these options and this configuration.
  static RipSettings LogSettings(bool mp3, const EncoderConfig& config, int32_t qualityIndex, const JobOptions& options);

  JobHost& host_;
  Services& services_;
  modAKRip32& cd_;
  PrefixRandom random_;
  AnalogCapture* capture_;
};

}  // namespace korvalin
