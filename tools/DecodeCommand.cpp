// korvalin-cli decode: one MP3 file to a WAV file in a folder, through the program's MP3 player
// adapter, named as the decode batch names it. Prints the WAV file's path.

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <thread>

#include "common/RaisedError.h"
#include "common/SameFile.h"
#include "encode/WavFileEncoding.h"
#include "mp3/DecodeTags.h"
#include "platform/WavTags.h"
#include "platform/linux/Mpg123Player.h"
#include "platform/linux/TagLibTags.h"
#include "settings/PathHelpers.h"
#include "tools/CliCommand.h"
#include "tools/CliFiles.h"
#include "tools/CliJob.h"
#include "tools/StopSignals.h"

namespace korvalin::cli {
namespace {

using Outcome = Mpg123Player::Outcome;

// Why a conversion that did not finish ended, in one line; `wav` is the file written, if any.
std::string Reason(Outcome outcome, const std::string& source, const std::string& wav, const std::string& cause) {
  const std::string because = cause.empty() ? "" : ": " + cause;
  switch (outcome) {
    case Outcome::SourceUnreadable: return "cannot read " + source;
    case Outcome::NotMp3: return source + " holds no MP3 audio; nothing was written";
    case Outcome::DecodeError: return source + " is damaged; " + wav + " holds the audio before the damage";
    case Outcome::FormatChanged:
      return source + " changes its sample rate or channels partway; " + wav + " holds the first part";
    case Outcome::TargetUnwritable:
      return "cannot write " + wav + (SameFile(source, wav) ? ": it is the source file itself" : because);
    case Outcome::WriteFailed:
      return "writing " + wav + " failed" + (cause.empty() ? "; the disk may be full" : because);
    case Outcome::TooLong: return source + " is too long for a WAV file; " + wav + " holds as much as fits";
    default: return "the conversion of " + source + " ended early";
  }
}

int Decode(const std::vector<std::string>& args) {
  try {
    if (args.size() != 2) return Fail("usage: decode IN.mp3 DESTDIR");
    const std::string& source = args[0];
    const std::string& folder = args[1];
    if (const std::string why = NotAFile(source); !why.empty()) return Fail(why);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return Fail("no such folder: " + folder);
    std::string wav;
    try {
      wav = folder + "/" + FileTitleNoExt(source) + ".wav";
    } catch (const RaisedError&) {
      return Fail(ShortNameText(source, ".wav"));
    }

    CliJob job;
    Mpg123Player player;
    TagLibTags tags;
    // The MP3's tags go into the WAV, its ID3v2 tag as ID3v2.3 (the window's default choice).
    player.SetWavTrailer(RenderWavTags(tags, ReadMp3Tags(tags, source), 3));
    job.runner.Run([&] {
      player.SetSourceFile(source);
      player.ConvertToWav(wav);
      while (player.Busy()) {
        // A stop signal ends the conversion after the block in hand, its WAV valid and shorter.
        if (StopSignals::Received() != 0) player.Stop();
        const int64_t position = player.Position();
        const int64_t length = player.Length();
        if (length > 0) job.runner.ChangeProgress("", static_cast<float>(position), static_cast<float>(length));
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    });
    job.progress.Finish();
    const std::string written = player.LastOutputPath();
    if (player.LastOutcome() == Outcome::Stopped) {
      if (written.empty()) return ReportStopped("nothing was written");
      return ReportStopped(written + " holds " + std::to_string(player.Position()) + " sample frames of " + source);
    }
    if (written != wav && !written.empty()) NoteRenamed(wav, written);
    if (player.LastOutcome() != Outcome::Finished) {
      return Fail(Reason(player.LastOutcome(), source, written.empty() ? wav : written, player.LastTargetCause()));
    }
    std::printf("%s\n", written.c_str());
    return std::ferror(stdout) ? Fail("cannot print the WAV file's name") : 0;
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
}

const CliRegistration registration({"decode", "IN.mp3 DESTDIR",
                                    "Decode an MP3 file to DESTDIR/<its name less the last four characters>.wav "
                                    "(16-bit PCM at the file's own rate and channels).",
                                    Decode});

}  // namespace
}  // namespace korvalin::cli
