// korvalin-cli encode: one WAV file to an MP3 file in a folder, through the same encoding the
// main window runs, named as it names it. Prints the MP3 file's path.

#include <sys/stat.h>

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <vector>

#include "encode/EncoderChoices.h"
#include "encode/WavFileEncoding.h"
#include "platform/linux/ConsoleDialogs.h"
#include "platform/linux/LameEncoderLibrary.h"
#include "platform/linux/TagLibTags.h"
#include "tools/CliCommand.h"
#include "tools/CliFiles.h"
#include "tools/CliJob.h"
#include "tools/DriveOptions.h"
#include "tools/StopSignals.h"

namespace korvalin::cli {
namespace {

constexpr const char* kUsage = "[--bitrate-index I] [--quality I] IN.wav DESTDIR";
// A fresh installation's choices: index 5 of the bitrate list (80 kbit/s), quality 5 ("Radio").
constexpr int32_t kDefaultBitrateIndex = 5;
constexpr int32_t kDefaultQualityIndex = 5;
constexpr int kDefaultTagVersion = 3;

// The reason of a failure is printed once, by the command, rather than as a message box.
class QuietDialogs : public ConsoleDialogs {
 public:
  MsgBoxResult MsgBox(const std::string&, MsgBoxButtons buttons, MsgBoxIcon, const std::string&) override {
    return CautiousAnswer(buttons);
  }
};

// The bitrate list's entries with their unit.
std::vector<std::string> KbpsEntries() {
  std::vector<std::string> entries = BitrateListEntries();
  for (auto& entry : entries) entry += " kbit/s";
  return entries;
}

// An index into one of the window's lists. One outside the list would quietly become another
// choice (160 kbit/s, or "Normal"), so it is refused with the range the list has.
int32_t ParseListIndex(const std::string& text, const std::string& option, const std::vector<std::string>& list) {
  const int32_t index = ParseCount(text, option);
  if (index >= static_cast<int32_t>(list.size())) {
    throw std::runtime_error(option + " must be from 0 to " + std::to_string(list.size() - 1) + " (" + list.front() +
                             " to " + list.back() + "), not " + text);
  }
  return index;
}

// The encoding's progress goes to the runner, whose subscriber draws the bar.
class ConsoleDisplay : public WavEncodingDisplay {
 public:
  explicit ConsoleDisplay(CliJob& job) : job_(job) {}
  void Started() override {}
  void Progress(float percent) override { job_.runner.ChangeProgress("", percent, 100.0f); }
  void Ended() override { job_.progress.Finish(); }

 private:
  CliJob& job_;
};

int Encode(const std::vector<std::string>& given) {
  try {
    std::vector<std::string> args = given;
    const std::string bitrate = TakeOption(args, "--bitrate-index");
    const std::string quality = TakeOption(args, "--quality");
    if (args.size() != 2) return Fail(std::string("usage: encode ") + kUsage);
    const int32_t bitrateIndex =
        bitrate.empty() ? kDefaultBitrateIndex : ParseListIndex(bitrate, "--bitrate-index", KbpsEntries());
    const int32_t qualityIndex =
        quality.empty() ? kDefaultQualityIndex : ParseListIndex(quality, "--quality", QualityListEntries());
    const std::string& source = args[0];
    const std::string& folder = args[1];
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return Fail("no such folder: " + folder);

    if (const std::string why = NotAFile(source); !why.empty()) return Fail(why);

    CliJob job;
    QuietDialogs dialogs;
    LameEncoderLibrary encoder;
    ConsoleDisplay display(job);
    TagLibTags tags;
    // The WAV's tags go into the MP3 as ID3v2.3 and ID3v1, as the window's default choice does.
    WavEncodingContext ctx{encoder, dialogs, job.loop, job.runner.flags, display, &tags, kDefaultTagVersion};
    const WavEncodingOutcome outcome = job.Run([&] {
      return EncodeWavFile(ctx, source, folder, [&](int32_t sampleRate, int channels) {
        return WavEncodingConfig(bitrateIndex, qualityIndex, sampleRate, channels);
      });
    });
    if (outcome.result == WavEncodingOutcome::Result::Missing) return Fail("no such file: " + source);
    if (outcome.result == WavEncodingOutcome::Result::Cancelled) {
      return ReportStopped(outcome.mp3Path + " holds the audio encoded so far");
    }
    if (outcome.renamed) NoteRenamed(Mp3PathFor(folder, source), outcome.mp3Path);
    if (!outcome.Succeeded()) return Fail(outcome.message);
    std::printf("%s\n", outcome.mp3Path.c_str());
    return std::ferror(stdout) ? Fail("cannot print the MP3 file's name") : 0;
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}

const CliRegistration registration({"encode", kUsage,
                                    "Encode a 16-bit PCM WAV file (mono or stereo, its own rate) to "
                                    "DESTDIR/<its name less the last four characters>.mp3 (defaults: bitrate "
                                    "index 5 = 80 kbit/s, quality 5 \"Radio\"; index 9 is 160 kbit/s).",
                                    Encode});

}  // namespace
}  // namespace korvalin::cli
