// korvalin-cli verify: reads a track of a drive or disc image again and compares it with the audio
// of a WAV file ripped from it: "match", or the first frame where they differ; then judges the
// file by the AccurateRip database. A file is good when it is identical to the track or accurate.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

#include "common/RaisedError.h"
#include "fileout/WavInput.h"
#include "rip/DiscIds.h"
#include "rip/TrackBuffer.h"
#include "rip/TrackChecksums.h"
#include "platform/linux/HeadlessEventLoop.h"
#include "tools/AccurateRipCli.h"
#include "tools/CliCommand.h"
#include "tools/DriveOptions.h"
#include "tools/TrackFigures.h"

namespace korvalin::cli {
namespace {

constexpr const char* kUsage = "[--drive N | --image FILE.cue] [--read-offset N] [--accuraterip-url URL] TRACK FILE.wav";
constexpr int kDiffer = 1;
constexpr int kCannotCompare = 2;
constexpr int64_t kFrameBytes = cdrecord::kFrameSize;

int CannotCompare(const std::string& reason) {
  std::fprintf(stderr, "korvalin-cli: %s\n", reason.c_str());
  return kCannotCompare;
}

// The reason WavInput gives for a file it refuses, without its words about encoding.
std::string WavFault(const std::string& path, const RaisedError& e) {
  const std::string& text = e.Description();
  if (e.Number() != kInvalidFileFormat) return text;
  const std::string head = "Cannot encode \"" + path + "\": ";
  std::string why = text.rfind(head, 0) == 0 ? text.substr(head.size()) : text;
  why = why.substr(0, why.find(" Only 16-bit"));
  return "\"" + path + "\" cannot be compared: " + why;
}

int Verify(const std::vector<std::string>& given) {
  std::vector<std::string> args = given;
  DriveChoice choice;
  int32_t readOffset = 0;
  try {
    choice = TakeDriveOptions(args);
    readOffset = TakeReadOffset(args);
  } catch (const std::exception& e) {
    return CannotCompare(e.what());
  }
  const std::string databaseUrl = TakeAccurateRipUrl(args);
  if (args.size() != 2) return CannotCompare(std::string("usage: verify ") + kUsage);
  const std::string& wavPath = args[1];
  try {
    WavInput wav(wavPath);
    const WavAudioFormat& format = wav.Format();
    if (format.channels != 2 || format.sampleRate != 44100) {
      return CannotCompare("\"" + wavPath + "\" is not CD audio (44,100 Hz stereo): it cannot be a rip of a track");
    }
    // A header that does not describe the file (a rip cut short, a header never rewritten) would
    // let part of the file decide the result: it is refused rather than compared.
    if (!format.lengthAgrees) {
      return CannotCompare("\"" + wavPath + "\" cannot be compared: its header gives " +
                           std::to_string(format.declaredLength) + " bytes of audio, but the file holds " +
                           std::to_string(format.bytesAfterData) + " bytes after the header");
    }
    modAKRip32 cd(*choice.library);
    cd.SetReadOffset(readOffset);  // the disc read as the rip read it
    const TrackSpan span = OpenAudioTrack(choice, cd, args[0]);
    const int32_t frames = span.end - span.first;
    const int32_t position = ParseCount(args[0], "TRACK");
    HeadlessEventLoop loop;
    CliAccurateRip database(databaseUrl, loop);
    database.Start(cd);

    TrackBuffer buffer;
    std::vector<uint8_t> fileBlock(cdrecord::kTrackDataSize);
    // The file's checksums are placed as the track is on the disc, for the database's figures.
    TrackChecksums disc(0, {}), file = ChecksumsForTrack(cd, position);
    int64_t firstDifference = -1;  // a byte offset into the track
    int64_t fileBytes = 0;
    for (int32_t done = 0; done < frames;) {
      const int32_t n = std::min<int32_t>(TrackBuffer::kFramesPerBlock, frames - done);
      const int32_t read = buffer.ReadReadableFrames(cd, span.first + done, n);
      if (read < n) {
        const std::string fault = cd.LibraryErrorText();
        cd.CloseDrive();
        return CannotCompare("track " + args[0] + " could not be read at frame " + std::to_string(done + read) +
                             (fault.empty() ? std::string() : ": " + fault));
      }
      const auto bytes = static_cast<int32_t>(n * kFrameBytes);
      const int32_t got = wav.Read(fileBlock.data(), bytes);
      disc.Add(buffer.Data(), static_cast<std::size_t>(bytes));
      file.Add(fileBlock.data(), static_cast<std::size_t>(got));
      if (firstDifference < 0) {
        const int32_t same = static_cast<int32_t>(
            std::mismatch(buffer.Data(), buffer.Data() + got, fileBlock.data()).first - buffer.Data());
        if (same < bytes) firstDifference = fileBytes + same;
      }
      fileBytes += got;
      done += n;
    }
    // Audio the file holds beyond the track also makes it differ.
    std::vector<uint8_t> extra(cdrecord::kFrameSize);
    for (int32_t got; (got = wav.Read(extra.data(), static_cast<int32_t>(extra.size()))) > 0;) {
      if (firstDifference < 0) firstDifference = fileBytes;
      file.Add(extra.data(), static_cast<std::size_t>(got));
      fileBytes += got;
    }
    cd.CloseDrive();

    const int64_t trackBytes = frames * kFrameBytes;
    const TrackVerdict verdict =
        database.Judge(position, {file.AccurateRipV1(), file.AccurateRipV2(), fileBytes, fileBytes == trackBytes, false});
    const bool identical = firstDifference < 0 && disc.Crc32() == file.Crc32();
    if (identical) {
      std::printf("match: CRC32 %s, %d frames\n", Hex8(disc.Crc32()).c_str(), static_cast<int>(frames));
    } else {
      const int64_t frame = firstDifference / kFrameBytes;
      std::printf("differ: first differing frame %lld (disc frame %lld); CRC32 of the track %s, of the file %s\n",
                  static_cast<long long>(frame), static_cast<long long>(span.first + frame), Hex8(disc.Crc32()).c_str(),
                  Hex8(file.Crc32()).c_str());
      if (fileBytes != trackBytes) {
        std::printf("the file holds %lld bytes of audio, the track %lld\n", static_cast<long long>(fileBytes),
                    static_cast<long long>(trackBytes));
      }
    }
    PrintVerdict(verdict, database.Line());
    return identical || verdict.Accurate() ? 0 : kDiffer;
  } catch (const RaisedError& e) {
    return CannotCompare(WavFault(wavPath, e));
  } catch (const std::exception& e) {
    return CannotCompare(e.what());
  }
}

const CliRegistration registration({"verify", kUsage,
                                    "Read a track again and compare it with a WAV file ripped from it, and with "
                                    "the AccurateRip database: prints \"match\" or the first differing frame, then "
                                    "the database's verdict; exit 0 when identical or accurate, 1 otherwise, 2 when "
                                    "they cannot be compared.",
                                    Verify});

}  // namespace
}  // namespace korvalin::cli
