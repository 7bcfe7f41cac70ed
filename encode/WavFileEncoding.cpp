#include "encode/WavFileEncoding.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>
#include <vector>

#include "common/RaisedError.h"
#include "common/SameFile.h"
#include "encode/EncoderError.h"
#include "fileout/OutputFailure.h"
#include "fileout/StagedOutput.h"
#include "fileout/WavInput.h"
#include "fileout/clsFileIo.h"
#include "mp3/Mp3TagBlocks.h"
#include "platform/WavTags.h"
#include "settings/PathHelpers.h"

namespace korvalin {
namespace {

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// 16-bit samples in a block of `bytes`: half the bytes, a half sample rounded to the even
// neighbour (so an odd block of 2k+1 bytes gives k or k+1 samples, whichever is even).
uint32_t SamplesIn(int32_t bytes) {
  const auto half = static_cast<uint32_t>(bytes / 2);
  return (bytes % 2 != 0 && half % 2 != 0) ? half + 1 : half;
}

[[noreturn]] void RaiseCannotCreate(const std::string& path, const std::string& cause) {
  throw RaisedError(errnum::PathFileAccessError, CannotCreateText(path, cause));
}

// Gives the MP3 its name when it holds audio: what was encoded before a failure or a cancel
// stays, while an output that received none (a tag at most) leaves an existing file of that name
// as it was. Returns the name the file took, or "" when it was not kept.
std::string Keep(StagedOutput& staged, int64_t tagBytes) {
  struct stat st {};
  const bool holdsSomething =
      ::stat(staged.WritePath().c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || st.st_size > tagBytes);
  if (holdsSomething && staged.Commit()) return staged.FinalPath();
  staged.Discard();
  return {};
}

// The WAV's tags as the MP3's blocks; none when the encoding carries no tags or the WAV has none.
Mp3TagBlocks TagBlocksOfWav(const WavEncodingContext& ctx, const std::string& wavPath) {
  if (ctx.tags == nullptr || ctx.tagVersion == 0) return {};
  return RenderMp3TagBlocks(ReadWavTags(*ctx.tags, wavPath), ctx.tagVersion, *ctx.tags);
}

}  // namespace

std::string NoSamplesText(const std::string& wavPath) {
  return "Cannot encode \"" + wavPath + "\": it holds no audio samples. Nothing was written.";
}

std::string ShortNameText(const std::string& path, const std::string& extension) {
  return "Cannot name the " + extension + " file for \"" + path +
         "\": its name has fewer than four characters, so there is no extension to replace.";
}

std::string Mp3PathFor(const std::string& folder, const std::string& wavPath) {
  return folder + "/" + FileTitleNoExt(wavPath) + ".mp3";
}

WavEncodingOutcome EncodeWavFile(WavEncodingContext& ctx, const std::string& wavPath, const std::string& folder,
                                 const WavConfigChooser& chooseConfig) {
  WavEncodingOutcome outcome;
  ctx.loop.Yield();
  if (!IsRegularFile(wavPath)) {
    ctx.dialogs.MsgBox(kFileNotFoundText, MsgBoxButtons::OK, MsgBoxIcon::Critical, kFileNotFoundTitle);
    outcome.result = WavEncodingOutcome::Result::Missing;
    outcome.message = kFileNotFoundText;
    return outcome;
  }
  ctx.flags.CancelRequested = kFalse;
  ctx.display.Started();

  uint32_t stream = 0;
  bool streamOpen = false;  // `stream` must still be closed
  std::unique_ptr<clsFileIo> mp3;
  std::unique_ptr<StagedOutput> staged;
  int64_t tagBytes = 0;  // the ID3v2 tag written before the audio
  try {
    WavInput wav(wavPath);
    const WavAudioFormat& format = wav.Format();
    // An MP3 of no samples would be one undecodable frame, and would replace a good file of that name.
    if (format.dataLength < 2) throw RaisedError(kInvalidFileFormat, NoSamplesText(wavPath));
    RequireMp3SampleRate(wavPath, format);
    try {
      outcome.mp3Path = Mp3PathFor(folder, wavPath);
    } catch (const RaisedError& e) {
      if (e.Number() != errnum::InvalidArgument) throw;
      throw RaisedError(errnum::BadFileName, ShortNameText(wavPath, ".mp3"));
    }
    const EncoderConfig config = chooseConfig(format.sampleRate, format.channels);
    uint32_t samplesPerChunk = 0, outputSize = 0, handle = 0;
    RaiseIfEncoderFailed(ctx.encoder.beInitStream(config.Bytes(), &samplesPerChunk, &outputSize, &handle));
    stream = handle;
    streamOpen = true;

    if (SameFile(outcome.mp3Path, wavPath)) {
      throw RaisedError(errnum::FileAlreadyExists,
                        "Cannot encode \"" + wavPath + "\" into itself. Choose another destination folder.");
    }
    staged = std::make_unique<StagedOutput>(outcome.mp3Path);
    if (!staged->Create()) {
      outcome.destinationFailed = true;
      RaiseCannotCreate(outcome.mp3Path, staged->Cause());
    }
    mp3 = std::make_unique<clsFileIo>();
    if (!mp3->OpenFile(staged->WritePath())) {
      outcome.destinationFailed = true;
      RaiseCannotCreate(outcome.mp3Path, SystemReason(errno));
    }

    const auto blockBytes = static_cast<int32_t>(std::min<uint32_t>(samplesPerChunk, INT32_MAX / 2 - 1) * 2);
    if (blockBytes == 0) RaiseIfEncoderFailed(encerror::kBufferTooSmall);  // a stream that takes no samples
    std::vector<uint8_t> input(static_cast<std::size_t>(blockBytes), 0);
    std::vector<uint8_t> output(outputSize, 0);
    // A write cut short is taken back, so the file always ends after a whole block.
    auto writeBlock = [&](const void* bytes, std::size_t size) {
      if (size > 0 && !mp3->WriteBytes(bytes, static_cast<int32_t>(size))) {
        outcome.destinationFailed = true;
        throw RaisedError(errnum::DiskFull, WriteFailureText(outcome.mp3Path, SystemReason(mp3->LastError())));
      }
    };
    auto write = [&](uint32_t bytes) { writeBlock(output.data(), bytes); };

    // The WAV's tags frame the audio: ID3v2 before the first frame, ID3v1 after the last.
    const Mp3TagBlocks tagBlocks = TagBlocksOfWav(ctx, wavPath);
    writeBlock(tagBlocks.id3v2.data(), tagBlocks.id3v2.size());
    tagBytes = static_cast<int64_t>(tagBlocks.id3v2.size());

    const int64_t data = format.dataLength;
    int64_t consumed = 0;
    while (consumed < data) {
      const auto request = static_cast<int32_t>(std::min<int64_t>(blockBytes, data - consumed));
      if (wav.Read(input.data(), request) != request) {
        throw RaisedError(errnum::DeviceIoError, "Cannot read \"" + wavPath + "\": the file ended early.");
      }
      // An odd last block rounds up to a whole sample; its missing high byte is silence, not a
      // byte left over from the block before.
      if (request % 2 != 0) input[static_cast<std::size_t>(request)] = 0;
      consumed += request;
      uint32_t bytes = 0;
      const int32_t code = ctx.encoder.beEncodeChunk(handle, SamplesIn(request), input.data(), output.data(), &bytes);
      if (code != 0) {
        ctx.encoder.beCloseStream(handle);
        streamOpen = false;
        RaiseIfEncoderFailed(code);
      }
      write(bytes);
      ctx.display.Progress(static_cast<float>(consumed) / static_cast<float>(data) * 100.0f);
      if (ctx.flags.CancelRequested != kFalse) break;
      ctx.loop.Yield();
    }

    uint32_t last = 0;
    ctx.encoder.beDeinitStream(handle, output.data(), &last);
    write(last);
    writeBlock(tagBlocks.id3v1.data(), tagBlocks.id3v1.size());
    mp3->CloseFile();
    mp3.reset();
    ctx.encoder.beCloseStream(handle);
    streamOpen = false;
    const std::string asked = outcome.mp3Path;
    outcome.mp3Path = Keep(*staged, 0);
    if (outcome.mp3Path.empty()) {
      outcome.mp3Path = asked;
      outcome.destinationFailed = true;
      throw RaisedError(errnum::DiskFull, WriteFailureText(asked, staged->Cause()));
    }
    outcome.renamed = staged->Renamed();
    outcome.result = consumed == data ? WavEncodingOutcome::Result::Encoded : WavEncodingOutcome::Result::Cancelled;
  } catch (const std::exception& e) {
    outcome.result = WavEncodingOutcome::Result::Failed;
    outcome.message = e.what();
    ctx.dialogs.MsgBox(outcome.message, MsgBoxButtons::OK, MsgBoxIcon::Critical, kCriticalErrorTitle);
    if (mp3) mp3->CloseFile();
    if (staged) {
      // What was encoded before the failure stays; an output that received nothing goes, and so
      // does one a full disk cut short where it would replace a whole file.
      if (outcome.destinationFailed && staged->ReplacesAFile()) staged->Discard();
      const std::string kept = Keep(*staged, tagBytes);
      if (!kept.empty()) outcome.mp3Path = kept;
      outcome.renamed = staged->Renamed();
    }
    if (streamOpen) ctx.encoder.beCloseStream(stream);
  }
  ctx.display.Ended();
  return outcome;
}

}  // namespace korvalin
