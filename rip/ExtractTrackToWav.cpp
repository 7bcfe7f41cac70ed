#include "rip/ExtractTrackToWav.h"

#include <algorithm>

#include "rip/TrackBuffer.h"
#include "rip/WavHeader.h"
#include "rip/clsFileIo.h"

namespace korvalin {

std::string WriteFailureText(const std::string& path) {
  return "Could not write \"" + path + "\". The disk may be full or the folder not writable; the file holds what was written so far.";
}

ExtractionOutcome ExtractTrackToWav(ExtractionContext& ctx, const std::string& path, int32_t firstFrame,
                                    int32_t endFrame) {
  constexpr auto kFrameBytes = static_cast<int64_t>(cdrecord::kFrameSize);
  ctx.flags.CancelRequested = kFalse;
  TrackBuffer buffer;
  // A table whose next entry lies before this one gives an empty track, not an endless loop.
  const int32_t total = std::max(0, endFrame - firstFrame);
  BuildCdWavHeader(total * kFrameBytes);  // a track too long for a WAV raises before any file is made

  clsFileIo file;
  file.OpenFile(path);
  if (!file.writeWavHeader(total * kFrameBytes)) {
    // Not even the header fits (a full disk, a folder gone): no file is better than an empty one.
    ctx.dialogs.MsgBox(WriteFailureText(path), MsgBoxButtons::OK, MsgBoxIcon::Exclamation, {});
    file.CloseFile();
    RemoveIfEmpty(path);
    ExtractionOutcome failed;
    failed.writeFailed = true;
    return failed;
  }

  int32_t address = firstFrame;
  int32_t remaining = total;
  int32_t n = TrackBuffer::kFramesPerBlock;
  int64_t bytesWritten = 0;
  bool writeFailed = false;
  while (remaining != 0) {
    if (remaining < n) n = remaining;
    if (!buffer.ReadBlock(ctx.cd, address, n)) {
      ctx.dialogs.MsgBox(ctx.cd.LibraryErrorText(), MsgBoxButtons::OK, MsgBoxIcon::None, {});
      break;
    }
    const bool wrote = file.WriteBytes(buffer.Data(), static_cast<int32_t>(n * kFrameBytes));
    bytesWritten += file.TransferCount();
    if (!wrote) {
      writeFailed = true;
      ctx.dialogs.MsgBox(WriteFailureText(path), MsgBoxButtons::OK, MsgBoxIcon::Exclamation, {});
      break;
    }
    address += n;
    remaining -= n;
    ctx.window.ChangeProgress("Extracting track " + path, static_cast<float>(total - remaining),
                              static_cast<float>(total));
    if (ctx.flags.CancelRequested != kFalse) break;
    ctx.loop.Yield();
  }

  ExtractionOutcome outcome;
  outcome.framesWritten = static_cast<int32_t>(bytesWritten / kFrameBytes);
  outcome.complete = remaining == 0 && !writeFailed;
  outcome.writeFailed = writeFailed;
  if (bytesWritten != total * kFrameBytes) file.RewriteWavHeader(bytesWritten);
  file.CloseFile();
  return outcome;
}

}  // namespace korvalin
