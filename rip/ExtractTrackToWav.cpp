#include "rip/ExtractTrackToWav.h"

#include <algorithm>
#include <cerrno>

#include "common/SameFile.h"
#include "fileout/OutputFailure.h"
#include "fileout/StagedOutput.h"
#include "fileout/WavHeader.h"
#include "fileout/WavTagChunks.h"
#include "fileout/clsFileIo.h"
#include "rip/TrackBuffer.h"
#include "rip/TrackOutputEnd.h"
#include "rip/TrackReader.h"

namespace korvalin {

std::string OutputIsDiscSourceText(const std::string& path) {
  return "Cannot write \"" + path + "\": it is a file of the disc being read. Choose another name or folder.";
}

std::string DataTrackText(int32_t track) {
  return "Track " + std::to_string(track) + " is a data track and holds no audio; it was not copied.";
}

bool OutputMayBeWritten(ExtractionContext& ctx, const std::string& path) {
  if (!SameAsAny(path, ctx.cd.Library().SourceFiles(ctx.cd.CurrentDriveHandle))) return true;
  ctx.dialogs.MsgBox(OutputIsDiscSourceText(path), MsgBoxButtons::OK, MsgBoxIcon::Exclamation, {});
  return false;
}

ExtractionOutcome ExtractTrackToWav(ExtractionContext& ctx, const std::string& path, int32_t firstFrame,
                                    int32_t endFrame, const std::vector<uint8_t>& tagChunks) {
  constexpr auto kFrameBytes = static_cast<int64_t>(cdrecord::kFrameSize);
  ctx.flags.CancelRequested = kFalse;
  TrackReader reader(ctx.cd, ctx.secureReading);
  // A table whose next entry lies before this one gives an empty track, not an endless loop.
  const int32_t total = std::max(0, endFrame - firstFrame);
  BuildCdWavHeader(total * kFrameBytes);  // a track too long for a WAV raises before any file is made

  ExtractionOutcome outcome;
  if (!OutputMayBeWritten(ctx, path)) {
    outcome.writeFailed = true;
    return outcome;
  }
  StagedOutput output(path);
  clsFileIo file;
  if (!output.Create() || !file.OpenFile(output.WritePath())) {
    outcome.cause = output.Cause().empty() ? SystemReason(errno) : output.Cause();
    ctx.dialogs.MsgBox(CannotCreateText(path, outcome.cause), MsgBoxButtons::OK, MsgBoxIcon::Exclamation, {});
    outcome.writeFailed = true;
    return outcome;
  }
  auto writeFailure = [&] {
    outcome.cause = SystemReason(file.LastError());
    ctx.dialogs.MsgBox(WriteFailureText(path, outcome.cause), MsgBoxButtons::OK, MsgBoxIcon::Exclamation, {});
  };
  bool writeFailed = !file.writeWavHeader(total * kFrameBytes);
  if (writeFailed) writeFailure();

  int32_t address = firstFrame;
  int32_t remaining = total;
  int32_t n = TrackBuffer::kFramesPerBlock;
  int64_t bytesWritten = 0;
  while (remaining != 0 && !writeFailed) {
    if (remaining < n) n = remaining;
    const int32_t read = reader.Read(address, n);
    if (read > 0) {
      const bool wrote = file.WriteBytes(reader.Data(), static_cast<int32_t>(read * kFrameBytes));
      bytesWritten += file.TransferCount();
      if (ctx.checksums) ctx.checksums->Add(reader.Data(), static_cast<std::size_t>(file.TransferCount()));
      if (!wrote) {
        writeFailed = true;
        writeFailure();
        break;
      }
    }
    if (read < n) {
      ctx.dialogs.MsgBox(ctx.cd.LibraryErrorText(), MsgBoxButtons::OK, MsgBoxIcon::None, {});
      break;
    }
    address += n;
    remaining -= n;
    ctx.window.ChangeProgress("Extracting track " + path + reader.ProgressNote(), static_cast<float>(total - remaining),
                              static_cast<float>(total));
    if (ctx.flags.CancelRequested != kFalse) break;
    ctx.loop.Yield();
  }

  outcome.framesWritten = static_cast<int32_t>(bytesWritten / kFrameBytes);
  outcome.complete = remaining == 0 && !writeFailed;
  outcome.writeFailed = writeFailed;
  const bool headerRight = bytesWritten == total * kFrameBytes || file.RewriteWavHeader(bytesWritten);
  // The tags follow the audio once its length is final. A disk that fills while they are written
  // gets them cut off again: the audio stays whole, and the failure is reported as one.
  int tagError = 0;
  if (headerRight && !writeFailed &&
      !AppendWavChunks(file.Handle(), static_cast<int64_t>(kWavHeaderSize) + bytesWritten, tagChunks, tagError)) {
    writeFailed = true;
    outcome.writeFailed = true;
    outcome.cause = SystemReason(tagError);
    ctx.dialogs.MsgBox(WriteFailureText(path, outcome.cause), MsgBoxButtons::OK, MsgBoxIcon::Exclamation, {});
  }
  file.CloseFile();
  outcome.read = reader.Report();
  // The file takes its name only with audio in it (or as the whole of an empty track) and a header
  // that tells its length; otherwise an existing file of that name stays as it was.
  const bool keep = (bytesWritten > 0 || outcome.complete) && headerRight && !(writeFailed && output.ReplacesAFile());
  EndTrackOutput(ctx, output, path, keep, outcome);
  return outcome;
}

}  // namespace korvalin
