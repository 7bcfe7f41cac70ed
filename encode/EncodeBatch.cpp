#include "encode/EncodeBatch.h"

#include <sys/stat.h>

#include <optional>
#include <vector>

#include "collection/CollectionTree.h"
#include "common/FileKind.h"
#include "common/RaisedError.h"
#include "common/Text.h"
#include "encode/EncodeWavToMp3.h"
#include "encode/WavFileEncoding.h"
#include "settings/PathHelpers.h"

namespace korvalin {
namespace {

// MP3 files this small hold next to no audio; the whole-collection batch leaves them out of it.
constexpr int64_t kSmallestListedMp3 = 1001;

std::optional<int64_t> FileLength(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  return static_cast<int64_t>(st.st_size);
}

// The source goes only when its encoding took every sample and it is the program's own
// intermediate file, lying directly in the destination folder; a WAV the user brought from
// elsewhere is never deleted, nor is a name ending in ".WAV" (or any case but lower). A deletion
// that fails leaves the file and the batch goes on.
// The batch in hand: its host, the services and the options it started with.
struct Batch {
  JobHost& form;
  Services& services;
  const JobOptions options;
};

void DeleteSourceIfWanted(Batch& batch, bool encoded) {
  JobHost& form = batch.form;
  if (!DeleteWavApplies(form.State().CurrentOutputPath, batch.options.deleteWav, batch.options.destination, encoded)) return;
  IgnoreErrors([&] { form.DeleteFile(form.State().CurrentOutputPath); });
}

void EncodeList(Batch& batch, bool listEveryResult) {
  JobHost& form = batch.form;
  const std::string& folder = batch.options.destination;
  // The files as they stood at the start: a deleted source leaves the list on the way.
  const std::vector<std::string>& files = batch.options.selection.files;
  const int32_t count = static_cast<int32_t>(files.size());
  for (int32_t i = 0; i < count && form.Flags().CaptureStopRequested == kFalse; ++i) {
    form.State().CurrentOutputPath = files[static_cast<std::size_t>(i)];
    const std::string title = FileTitleNoExt(LCase(form.State().CurrentOutputPath));
    form.ShowCaption("Encoding " + title + ".wav");
    form.ShowNextAction("Encoding #" + std::to_string(i + 1) + " of " + std::to_string(count) + " files");
    form.ShowDestination("Destination:  " + folder + "/" + title + ".mp3");
    batch.services.loop.Yield();
    // A stop during that yield must not wait for a whole file to be encoded.
    if (form.Flags().CaptureStopRequested != kFalse) break;
    form.Disablem();
    const WavEncodingOutcome outcome = EncodeWavToMp3(form, batch.services, form.State().CurrentOutputPath, batch.options);
    DeleteSourceIfWanted(batch, outcome.Succeeded());
    // The name the MP3 really took (another file may have taken the usual one meanwhile).
    form.State().CurrentOutputPath = outcome.mp3Path.empty() ? Mp3PathFor(folder, form.State().CurrentOutputPath) : outcome.mp3Path;
    // An MP3 that was never made is simply not listed; the batch goes on with the next file.
    const std::optional<int64_t> length = FileLength(form.State().CurrentOutputPath);
    if (listEveryResult || (length && *length >= kSmallestListedMp3)) form.FileWritten(form.State().CurrentOutputPath);
    // A destination that cannot be written to fails every later file the same way: its one
    // message has been shown.
    if (outcome.destinationFailed) break;
  }
}

void EncodeItem(Batch& batch, const std::string& itemText) {
  JobHost& form = batch.form;
  const std::string& folder = batch.options.destination;
  const std::vector<std::string>& listed = batch.options.selection.files;
  if (listed.empty()) {
    // Encoding whatever file the last job left behind would be worse than doing nothing.
    batch.services.dialogs.MsgBox(NotListedText(itemText), MsgBoxButtons::OK, MsgBoxIcon::Exclamation);
    return;
  }
  form.State().CurrentOutputPath = listed.front();
  const std::string title = FileTitleNoExt(form.State().CurrentOutputPath);
  form.ShowCaption("Encoding " + title + ".wav");
  form.ShowNextAction("Encoding " + form.State().CurrentOutputPath);
  form.ShowDestination("Destination:  " + folder + "/" + title + ".mp3");
  form.Disablem();
  const WavEncodingOutcome outcome = EncodeWavToMp3(form, batch.services, form.State().CurrentOutputPath, batch.options);
  DeleteSourceIfWanted(batch, outcome.Succeeded());
  form.State().CurrentOutputPath = outcome.mp3Path.empty() ? Mp3PathFor(folder, form.State().CurrentOutputPath) : outcome.mp3Path;
  form.FileWritten(form.State().CurrentOutputPath);
}

}  // namespace

std::string NotListedText(const std::string& itemText) {
  return "\"" + itemText + "\" is no longer in the collection's WAV lists, so it was not encoded. "
         "Refresh the list and try again.";
}

void cmdEncFile_Click(JobHost& host, Services& services) {
  Batch batch{host, services, host.ReadJobOptions()};
  const std::string& text = batch.options.selection.node;
  if (text == group::Wav) {
    EncodeList(batch, false);
  } else if (text == group::SelectedWav) {
    EncodeList(batch, true);
  } else if (IsWavFile(text)) {
    EncodeItem(batch, text);
  } else {
    return;
  }
  host.ResetStatusSoon();
}

}  // namespace korvalin
