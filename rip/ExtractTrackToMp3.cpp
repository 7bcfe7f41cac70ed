#include "rip/ExtractTrackToMp3.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "common/RaisedError.h"
#include "encode/EncoderError.h"
#include "fileout/OutputFailure.h"
#include "fileout/StagedOutput.h"
#include "fileout/clsFileIo.h"
#include "rip/TrackBuffer.h"
#include "rip/TrackOutputEnd.h"
#include "rip/TrackReader.h"

namespace korvalin {
namespace {

constexpr uint32_t kSamplesPerCdFrame = cdrecord::kFrameSize / 2;  // 1176 16-bit samples

// Releases the stream however the extraction ends.
struct StreamGuard {
  EncoderLibrary& encoder;
  uint32_t stream;
  ~StreamGuard() { encoder.beCloseStream(stream); }
};

}  // namespace

Mp3ExtractionOutcome ExtractTrackToMp3(ExtractionContext& ctx, EncoderLibrary& encoder, const std::string& path,
                                       int32_t& firstFrame, int32_t endFrame, const EncoderConfig& config,
                                       const Mp3TagBlocks& tags) {
  Mp3ExtractionOutcome outcome;
  ctx.flags.CancelRequested = kFalse;
  if (!OutputMayBeWritten(ctx, path)) {
    outcome.writeFailed = true;
    return outcome;
  }
  uint32_t samplesPerChunk = 0, outputSize = 0, stream = 0;
  try {
    RaiseIfEncoderFailed(encoder.beInitStream(config.Bytes(), &samplesPerChunk, &outputSize, &stream));
  } catch (const RaisedError& e) {
    // Nothing has been read or written yet.
    ctx.dialogs.MsgBox(e.Description(), MsgBoxButtons::OK, MsgBoxIcon::Critical, kCriticalErrorTitle);
    outcome.encoderFailed = true;
    return outcome;
  }
  StreamGuard guard{encoder, stream};

  StagedOutput staged(path);
  clsFileIo file;
  if (!staged.Create() || !file.OpenFile(staged.WritePath())) {
    outcome.cause = staged.Cause().empty() ? SystemReason(errno) : staged.Cause();
    ctx.dialogs.MsgBox(CannotCreateText(path, outcome.cause), MsgBoxButtons::OK, MsgBoxIcon::Exclamation, {});
    outcome.writeFailed = true;
    return outcome;
  }
  TrackReader reader(ctx.cd, ctx.secureReading);
  const int32_t total = std::max(0, endFrame - firstFrame);
  int32_t remaining = total;
  int32_t n = TrackBuffer::kFramesPerBlock;
  std::vector<uint8_t> output(outputSize, 0);
  bool writeFailed = false;
  int64_t tagBytes = 0;  // what the file holds beside the audio
  auto writeFrom = [&](const uint8_t* data, uint32_t bytes) {
    if (bytes == 0 || writeFailed) return;
    if (!file.WriteBytes(data, static_cast<int32_t>(bytes))) {
      writeFailed = true;
      outcome.cause = SystemReason(file.LastError());
      ctx.dialogs.MsgBox(WriteFailureText(path, outcome.cause), MsgBoxButtons::OK, MsgBoxIcon::Exclamation, {});
    }
  };
  auto write = [&](uint32_t bytes) { writeFrom(output.data(), bytes); };
  if (!tags.id3v2.empty()) {
    writeFrom(tags.id3v2.data(), static_cast<uint32_t>(tags.id3v2.size()));
    tagBytes += static_cast<int64_t>(tags.id3v2.size());
  }

  while (remaining != 0 && !writeFailed) {
    if (remaining < n) n = remaining;
    const int32_t read = reader.Read(firstFrame, n);
    if (ctx.checksums && read > 0) ctx.checksums->Add(reader.Data(), static_cast<std::size_t>(read) * cdrecord::kFrameSize);
    for (int32_t i = 0; i < read && !writeFailed; ++i) {
      uint32_t bytes = 0;
      // A frame the encoder refuses is passed over; the next ones still go in.
      encoder.beEncodeChunk(stream, kSamplesPerCdFrame, reader.Data() + static_cast<std::size_t>(i) * cdrecord::kFrameSize,
                            output.data(), &bytes);
      write(bytes);
    }
    if (writeFailed) break;
    file.FlushBuffers();
    if (read < n) {
      firstFrame += read;
      outcome.framesEncoded += read;
      ctx.dialogs.MsgBox(ctx.cd.LibraryErrorText(), MsgBoxButtons::OK, MsgBoxIcon::None, {});
      break;
    }
    firstFrame += n;
    remaining -= n;
    outcome.framesEncoded += n;
    if (ctx.flags.CancelRequested != kFalse) break;
    ctx.window.ChangeProgress("Extracting track " + path + reader.ProgressNote(), static_cast<float>(total - remaining), static_cast<float>(total));
    ctx.loop.Yield();
  }

  uint32_t last = 0;
  encoder.beDeinitStream(stream, output.data(), &last);
  if (last > 0) write(last);
  // The ID3v1 tag ends a file that holds audio; a file that failed to take the audio gets none.
  const bool endTag = !tags.id3v1.empty() && outcome.framesEncoded > 0 && !writeFailed;
  if (endTag) {
    writeFrom(reinterpret_cast<const uint8_t*>(tags.id3v1.data()), static_cast<uint32_t>(tags.id3v1.size()));
    tagBytes += static_cast<int64_t>(tags.id3v1.size());
  }
  if (last > 0 || endTag) file.FlushBuffers();
  file.CloseFile();
  outcome.read = reader.Report();
  outcome.complete = remaining == 0 && !writeFailed;
  outcome.writeFailed = writeFailed;
  // The file takes its name once a frame went in (or as the whole of an empty track); otherwise
  // an existing file of that name stays as it was.
  struct stat st {};
  const bool holdsAudio = ::stat(staged.WritePath().c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || st.st_size > tagBytes);
  const bool keep = ((outcome.framesEncoded > 0 && holdsAudio) || outcome.complete) && !(writeFailed && staged.ReplacesAFile());
  EndTrackOutput(ctx, staged, path, keep, outcome);
  return outcome;
}

}  // namespace korvalin
