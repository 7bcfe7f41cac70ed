#pragma once
// The main window's decode action: by the text of the collection tree's selected node it converts
// every MP3 file of the collection ("MP3 Files"), every selected one ("Selected MP3 Files") or the
// one MP3 file whose item is selected into WAV files in the destination folder, one at a time
// through the decoder host, and adds each WAV file written to the collection.
//
// The batch runs on the program's one thread: while a file converts it yields until the host has
// unloaded, so the host's timers, the stop and cancel commands and repaints run meanwhile. A
// stop, and a job that locks the commands, unload the decoder window (the runner's signals); a
// stop request ends the batch between files. One batch serves the whole run.

#include <memory>
#include <string>

#include <vector>

#include "joblife/JobEvents.h"
#include "mp3/DecodeState.h"
#include "mp3/Form6.h"
#include "platform/Services.h"
#include "window/JobHost.h"

namespace korvalin {

class DecodeBatch : public DecodeState {
 public:
  DecodeBatch(JobHost& host, JobEvents& events, Services& services);
  ~DecodeBatch();
  DecodeBatch(const DecodeBatch&) = delete;
  DecodeBatch& operator=(const DecodeBatch&) = delete;

  // Runs the decode action for the tree's selected node. An empty group list is answered with a
  // message and nothing else changes; a source that is missing or 99 bytes or shorter is skipped;
  // an MP3 item that neither list holds is refused with a message. Otherwise, at the end, the
  // status displays return to idle a second later (Timer1) and CaptureStopRequested is set. A
  // click while a batch runs does nothing. The destination is read once, as the batch starts.
  void CmdDecoder_Click();

  // Starts converting `Efile` (which must be DecodeSource) by loading the decoder host, with the
  // cancel button shown. Returns false, loading nothing, when there is no file at `Efile` or it
  // holds 99 bytes or fewer. Not while a host is loaded. Outside a batch the destination is read
  // as it starts.
  bool StartDecoding(const std::string& Efile);

  // Unloads the decoder host, which stops its conversion and clears DecodeBusy; the waiting batch
  // then goes on. Does nothing when no host is loaded. Safe inside the host's own ticks.
  void UnloadHost();

  // The decoder host while one exists (loaded, or unloaded and not yet released), else nullptr.
  Form6* Host() const { return host_.get(); }
  bool Running() const { return running_; }

 private:
  // Decodes each entry of `list`; `wholeCollection` for "MP3 Files".
  void DecodeList(const std::vector<std::string>& files, bool wholeCollection);
  // `listed`: the listed file the item names (none when no list holds it any more).
  void DecodeItem(const std::string& itemText, const std::vector<std::string>& listed);
  // Converts DecodeSource and waits for the host to unload. True when a WAV file was written.
  // A WAV file that could not be made or written is reported (once: the batch stops with it).
  bool ConvertOne();
  void EndBatch();

  JobHost& w_;
  Services& services_;
  std::unique_ptr<Form6> host_;
  std::string written_;  // the file the last conversion wrote, when the control tells it
  bool running_ = false;
  std::vector<controls::Connection> connections_;
};

// The message for an MP3 item whose file neither MP3 list holds any more.
std::string Mp3NotListedText(const std::string& itemText);

}  // namespace korvalin
