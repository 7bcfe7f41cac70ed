#include "encode/EncodeBatch.h"

#include <sys/stat.h>

#include <optional>
#include <vector>

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
  if (!DeleteWavApplies(form.CurrentOutputPath, batch.options.deleteWav, batch.options.destination, encoded)) return;
  IgnoreErrors([&] { form.DeleteAndUnlist(form.CurrentOutputPath); });
}

void EncodeList(Batch& batch, controls::ListBox& list, bool listEveryResult) {
  JobHost& form = batch.form;
  const std::string& folder = batch.options.destination;
  // The files as they stood at the start: a deleted source leaves the list on the way.
  const std::vector<std::string> files = list.Items();
  const int32_t count = static_cast<int32_t>(files.size());
  for (int32_t i = 0; i < count && form.flags.CaptureStopRequested == kFalse; ++i) {
    form.CurrentOutputPath = files[static_cast<std::size_t>(i)];
    const std::string title = FileTitleNoExt(LCase(form.CurrentOutputPath));
    form.ShowCaption("Encoding " + title + ".wav");
    form.ShowNextAction("Encoding #" + std::to_string(i + 1) + " of " + std::to_string(count) + " files");
    form.ShowDestination("Destination:  " + folder + "/" + title + ".mp3");
    batch.services.loop.Yield();
    // A stop during that yield must not wait for a whole file to be encoded.
    if (form.flags.CaptureStopRequested != kFalse) break;
    form.Disablem();
    const WavEncodingOutcome outcome = EncodeWavToMp3(form, batch.services, form.CurrentOutputPath, batch.options);
    DeleteSourceIfWanted(batch, outcome.Succeeded());
    // The name the MP3 really took (another file may have taken the usual one meanwhile).
    form.CurrentOutputPath = outcome.mp3Path.empty() ? Mp3PathFor(folder, form.CurrentOutputPath) : outcome.mp3Path;
    // An MP3 that was never made is simply not listed; the batch goes on with the next file.
    const std::optional<int64_t> length = FileLength(form.CurrentOutputPath);
    if (listEveryResult || (length && *length >= kSmallestListedMp3)) form.Cmaddfile2(form.CurrentOutputPath);
    // A destination that cannot be written to fails every later file the same way: its one
    // message has been shown.
    if (outcome.destinationFailed) break;
  }
}

// The first line of `list` whose file name is `name`.
std::optional<std::string> FindByName(const controls::ListBox& list, const std::string& name) {
  for (const std::string& line : list.Items()) {
    if (SplitPathName(line) == name) return line;
  }
  return std::nullopt;
}

void EncodeItem(Batch& batch, const std::string& itemText) {
  JobHost& form = batch.form;
  const std::string& folder = batch.options.destination;
  const std::string name = SplitPathName(itemText);
  std::optional<std::string> path = FindByName(form.Collection().List1, name);
  if (!path) path = FindByName(form.Collection().List5, name);
  if (!path) {
    // Encoding whatever file the last job left behind would be worse than doing nothing.
    batch.services.dialogs.MsgBox(NotListedText(itemText), MsgBoxButtons::OK, MsgBoxIcon::Exclamation);
    return;
  }
  form.CurrentOutputPath = *path;
  const std::string title = FileTitleNoExt(form.CurrentOutputPath);
  form.ShowCaption("Encoding " + title + ".wav");
  form.ShowNextAction("Encoding " + form.CurrentOutputPath);
  form.ShowDestination("Destination:  " + folder + "/" + title + ".mp3");
  form.Disablem();
  const WavEncodingOutcome outcome = EncodeWavToMp3(form, batch.services, form.CurrentOutputPath, batch.options);
  DeleteSourceIfWanted(batch, outcome.Succeeded());
  form.CurrentOutputPath = outcome.mp3Path.empty() ? Mp3PathFor(folder, form.CurrentOutputPath) : outcome.mp3Path;
  form.Cmaddfile2(form.CurrentOutputPath);
}

}  // namespace

std::string NotListedText(const std::string& itemText) {
  return "\"" + itemText + "\" is no longer in the collection's WAV lists, so it was not encoded. "
         "Refresh the list and try again.";
}

void cmdEncFile_Click(JobHost& host, Services& services) {
  CollectionTree& collection = host.Collection();
  const controls::TreeNode* node = collection.TreeView1.SelectedItem();
  if (!node) return;
  Batch batch{host, services, host.ReadJobOptions()};
  const std::string text = node->Text();
  if (text == group::Wav) {
    EncodeList(batch, collection.List1, false);
  } else if (text == group::SelectedWav) {
    EncodeList(batch, collection.List5, true);
  } else if (IsWavFile(text)) {
    EncodeItem(batch, text);
  } else {
    return;
  }
  host.ResetStatusSoon();
}

}  // namespace korvalin
