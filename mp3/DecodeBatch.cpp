#include "mp3/DecodeBatch.h"

#include <optional>

#include "collection/CollectionTree.h"
#include "common/FileKind.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "fileout/OutputFailure.h"
#include "settings/PathHelpers.h"

namespace korvalin {
std::string Mp3NotListedText(const std::string& itemText) {
  return "\"" + itemText + "\" is no longer in the collection's MP3 lists, so it was not decoded. "
         "Refresh the list and try again.";
}

DecodeBatch::DecodeBatch(JobHost& host, JobEvents& events, Services& services) : w_(host), services_(services) {
  // A stop, and a job that locks the commands, unload the decoder window.
  for (controls::Signal<>* signal : {&events.stopping, &events.locked}) {
    connections_.push_back(signal->Connect([this] { UnloadHost(); }));
  }
}

DecodeBatch::~DecodeBatch() = default;

void DecodeBatch::CmdDecoder_Click() {
  // A second batch inside the first one's yields would replace the host under its running timers.
  if (running_) return;
  running_ = true;
  struct Done {
    bool& running;
    ~Done() { running = false; }
  } done{running_};
  const JobOptions options = w_.ReadJobOptions();
  DecodeFolder = options.destination;
  DecodeTagVersion = options.tagVersion;
  const JobSelection& selection = options.selection;
  const std::string& text = selection.node;
  if (text == group::Mp3) {
    if (selection.files.empty()) {
      services_.dialogs.MsgBox("No files in list.", MsgBoxButtons::OK, MsgBoxIcon::Information);
      return;
    }
    DecodeList(selection.files, true);
  } else if (text == group::SelectedMp3) {
    if (selection.files.empty()) {
      services_.dialogs.MsgBox("No files selected", MsgBoxButtons::OK, MsgBoxIcon::Information);
      return;
    }
    DecodeList(selection.files, false);
  } else if (IsMp3File(text)) {
    DecodeItem(text, selection.files);
  } else {
    w_.Flags().CaptureStopRequested = kTrue;
  }
}

void DecodeBatch::DecodeList(const std::vector<std::string>& files, bool wholeCollection) {
  bool converted = false;
  const int32_t count = static_cast<int32_t>(files.size());
  for (int32_t i = 0; i < count; ++i) {
    if (w_.Flags().CaptureStopRequested != kFalse) break;
    DecodeSource = files[static_cast<std::size_t>(i)];
    // The whole collection is shown in lower case, as it always was; the file keeps its name.
    const std::string shown = wholeCollection ? LCase(DecodeSource) : DecodeSource;
    const auto caption = [&] { w_.ShowCaption("Decoding " + FileTitleNoExt(shown) + ".mp3"); };
    const auto lines = [&] {
      w_.ShowNextAction("Decoding #" + std::to_string(i + 1) + " of " + std::to_string(count) + " files");
      w_.ShowDestination("Destination:  " + DecodeFolder + "/" + FileTitleNoExt(shown) + ".wav");
    };
    if (wholeCollection) {
      IgnoreErrors(caption, lines, [&] { services_.loop.Yield(); });
    } else {
      IgnoreErrors(lines, caption);
    }
    // A skipped file wrote no WAV: there is nothing to list, and DecodeTarget keeps the last one.
    if (!ConvertOne()) continue;
    converted = true;
    IgnoreErrors([&] { DecodeTarget = written_.empty() ? WavPathFor(DecodeFolder, DecodeSource) : written_; },
                 [&] { w_.FileWritten(DecodeTarget); });
  }
  if (!wholeCollection && converted) {
    IgnoreErrors([&] {
      const int64_t length = RegularFileLength(DecodeTarget);
      if (length >= 0) w_.ShowStatus(std::to_string(length) + " bytes");
    });
  }
  EndBatch();
}

void DecodeBatch::DecodeItem(const std::string& itemText, const std::vector<std::string>& listed) {
  if (listed.empty()) {
    // Converting whatever file the last batch left in DecodeSource would be worse than nothing.
    services_.dialogs.MsgBox(Mp3NotListedText(itemText), MsgBoxButtons::OK, MsgBoxIcon::Exclamation);
    EndBatch();
    return;
  }
  DecodeSource = listed.front();
  std::string target;
  IgnoreErrors([&] { target = WavPathFor(DecodeFolder, itemText); },
               [&] { w_.ShowNextAction("Decoding  " + itemText); },
               [&] { w_.ShowDestination("Destination:  " + target); },
               [&] { w_.ShowCaption("Decoding " + FileTitleNoExt(LCase(DecodeSource)) + ".mp3"); });
  if (ConvertOne()) {
    DecodeTarget = written_.empty() ? target : written_;
    IgnoreErrors([&] { w_.FileWritten(DecodeTarget); });
  }
  EndBatch();
}

bool DecodeBatch::ConvertOne() {
  written_.clear();
  DecodeBusy = true;
  IgnoreErrors([&] { w_.Disablem(); });
  bool loaded = false;
  IgnoreErrors([&] { loaded = StartDecoding(DecodeSource); });
  if (!loaded) {
    // Nothing was started, so nothing would ever clear the flag.
    DecodeBusy = false;
    return false;
  }
  while (DecodeBusy) IgnoreErrors([&] { services_.loop.YieldWhileWaiting(); });
  const bool written = host_ && host_->ConversionStarted();
  const ActiveMP3::TargetFault fault =
      host_ && host_->ActiveMP31 ? host_->ActiveMP31->LastTargetFault() : ActiveMP3::TargetFault::None;
  // The name the WAV really took (another file may have taken the usual one meanwhile).
  written_ = host_ && host_->ActiveMP31 ? host_->ActiveMP31->LastOutputPath() : std::string();
  const std::string cause = host_ && host_->ActiveMP31 ? host_->ActiveMP31->LastTargetCause() : std::string();
  host_.reset();
  if (fault != ActiveMP3::TargetFault::None) {
    // The destination fails every later file the same way: say it once and end the batch.
    const std::string target = WavPathFor(DecodeFolder, DecodeSource);
    IgnoreErrors([&] {
      services_.dialogs.MsgBox(fault == ActiveMP3::TargetFault::CannotCreate ? CannotCreateText(target, cause)
                                                                               : WriteFailureText(target, cause),
                                 MsgBoxButtons::OK, MsgBoxIcon::Exclamation);
    });
    w_.Flags().CaptureStopRequested = kTrue;
  }
  return written;
}

bool DecodeBatch::StartDecoding(const std::string& Efile) {
  if (host_) return false;
  if (RegularFileLength(Efile) < kSmallestDecodableMp3) return false;
  if (!running_) {
    const JobOptions options = w_.ReadJobOptions();
    DecodeFolder = options.destination;
    DecodeTagVersion = options.tagVersion;
  }
  IgnoreErrors([&] { w_.ShowCancelCommand(); });
  DecodeBusy = true;
  host_ = std::make_unique<Form6>(w_, services_, *this);
  host_->Form_Load();
  return true;
}

void DecodeBatch::UnloadHost() {
  if (host_) host_->Form_Unload();
}

void DecodeBatch::EndBatch() {
  w_.ResetStatusSoon();
  w_.Flags().CaptureStopRequested = kTrue;
}

}  // namespace korvalin
