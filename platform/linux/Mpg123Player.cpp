#include "platform/linux/Mpg123Player.h"

#include <fcntl.h>
#include <mpg123.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <vector>

#include "common/SameFile.h"
#include "fileout/OutputFailure.h"
#include "fileout/StagedOutput.h"
#include "fileout/WavHeader.h"
#include "fileout/WavTagChunks.h"
#include "platform/linux/AlsaPlayback.h"

namespace korvalin {

static_assert(std::endian::native == std::endian::little, "libmpg123 hands out samples in WAV byte order");

namespace {

constexpr std::size_t kPlayBufferBytes = 16 * 1024;      // small writes: a stop is heard at once
constexpr int kBytesPerSample = 2;
constexpr long kNoAudioRate = 44100;  // the header of a WAV that holds no samples
constexpr int kNoAudioChannels = 2;

// One MP3 stream read with libmpg123, decoded to 16-bit samples at its own rate and channels.
class Decoder {
 public:
  Decoder() {
    static std::once_flag initialised;
    std::call_once(initialised, [] { mpg123_init(); });
    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (!handle_) return;
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET, 0);  // damaged files must not print
    // The tags are never shown from here; skipping them unparsed also spares the memory a damaged
    // ID3v2 header can claim (a 100 MB tag in a 100-byte file).
    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_SKIP_ID3V2, 0);
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i) {
      mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
  }
  ~Decoder() {
    if (open_) mpg123_close(handle_);
    if (handle_) mpg123_delete(handle_);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  bool Open(const std::string& path) {
    open_ = handle_ && mpg123_open(handle_, path.c_str()) == MPG123_OK;
    return open_;
  }
  // The stream's format. Empty and text files give "done" rather than an error: both mean that
  // the file holds no MP3 audio.
  bool Format(long& rate, int& channels) {
    int encoding = 0;
    return mpg123_getformat(handle_, &rate, &channels, &encoding) == MPG123_OK && rate > 0 &&
           (channels == 1 || channels == 2) && encoding == MPG123_ENC_SIGNED_16;
  }
  // Sample frames as the stream announces them (its LAME tag, or an estimate from the file's
  // size); 0 when unknown. A truncated file may hold fewer.
  int64_t Length() {
    const off_t length = mpg123_length(handle_);
    return length > 0 ? static_cast<int64_t>(length) : 0;
  }
  int Read(unsigned char* buffer, std::size_t size, std::size_t& done) {
    return mpg123_read(handle_, buffer, size, &done);
  }

 private:
  mpg123_handle* handle_ = nullptr;
  bool open_ = false;
};

// A PCM WAV file written front to back, under a temporary name beside its target that takes the
// target's name only when the conversion ends with audio in it: a source with no audio, a disk
// that fills before any, or a killed program leaves an existing file of that name as it was. The
// header goes first with zero lengths and is given the real ones on Close; a file that could not
// take all its data is cut back to whole sample frames, so that the header always tells the exact
// data length.
class WavWriter {
 public:
  explicit WavWriter(const std::string& target) : output_(target) {}
  ~WavWriter() {
    if (fd_ >= 0) ::close(fd_);  // an output never committed is removed with `output_`
  }

  bool Create() {
    if (!output_.Create()) {
      cause_ = output_.Cause();
      return false;
    }
    fd_ = ::open(output_.WritePath().c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) cause_ = SystemReason(errno);
    return fd_ >= 0;
  }
  bool Begin(long rate, int channels) {
    rate_ = rate;
    channels_ = channels;
    const auto header = Header();
    return WriteAll(header.data(), header.size()) == static_cast<ssize_t>(header.size());
  }
  int BlockAlign() const { return channels_ * kBytesPerSample; }
  int64_t DataBytes() const { return dataBytes_; }
  const std::string& Cause() const { return cause_; }
  bool TrailerFailed() const { return trailerFailed_; }
  const std::string& FinalPath() const { return output_.FinalPath(); }
  bool ReplacesAFile() const { return output_.ReplacesAFile(); }

  // Appends sample data; false when the file would not take all of it.
  bool Append(const unsigned char* data, std::size_t size) {
    const ssize_t written = WriteAll(data, size);
    if (written > 0) dataBytes_ += written;
    return written == static_cast<ssize_t>(size);
  }

  // Gives the header its lengths, writes `trailer` (whole RIFF chunks) after the audio, closes
  // the file and moves it to its name; false when any of that failed (the temporary file is gone
  // then, and the target is as it was). A trailer that does not fit is cut off again and told by
  // TrailerFailed(): the audio is kept whole, except where it would replace a file.
  bool Finish(const std::vector<uint8_t>& trailer) {
    dataBytes_ -= dataBytes_ % BlockAlign();  // a partly written sample frame is not data
    const auto header = Header();
    bool ok = ::pwrite(fd_, header.data(), header.size(), 0) == static_cast<ssize_t>(header.size());
    if (!ok) cause_ = SystemReason(errno);
    struct stat st {};
    const off_t size = static_cast<off_t>(header.size()) + dataBytes_;
    if (ok && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode) && st.st_size != size && ::ftruncate(fd_, size) != 0) {
      ok = false;
      cause_ = SystemReason(errno);
    }
    int trailerError = 0;
    if (ok && !AppendWavChunks(fd_, size, trailer, trailerError)) {
      trailerFailed_ = true;
      cause_ = SystemReason(trailerError);
      ok = !output_.ReplacesAFile();
    }
    if (::close(fd_) != 0 && ok) {
      ok = false;
      cause_ = SystemReason(errno);
    }
    fd_ = -1;
    if (!ok) {
      output_.Discard();
      return false;
    }
    if (!output_.Commit()) {
      cause_ = output_.Cause();
      return false;
    }
    return true;
  }

 private:
  std::array<uint8_t, kWavHeaderSize> Header() const {
    return BuildPcmWavHeader({.channels = static_cast<uint32_t>(channels_),
                              .samplesPerSecond = static_cast<uint32_t>(rate_),
                              .bitsPerSample = 8 * kBytesPerSample},
                             static_cast<uint32_t>(dataBytes_));
  }
  // Writes until done or the file refuses; returns the bytes written.
  ssize_t WriteAll(const void* data, std::size_t size) {
    const auto* p = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
      const ssize_t n = ::write(fd_, p + done, size - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        cause_ = SystemReason(n < 0 ? errno : ENOSPC);
        break;
      }
      done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
  }

  StagedOutput output_;
  int fd_ = -1;
  std::string cause_;
  long rate_ = kNoAudioRate;
  int channels_ = kNoAudioChannels;
  int64_t dataBytes_ = 0;
  bool trailerFailed_ = false;
};

}  // namespace

Mpg123Player::Mpg123Player(std::string audioDevice, std::size_t convertBufferBytes)
    : audioDevice_(std::move(audioDevice)), convertBufferBytes_(std::max<std::size_t>(convertBufferBytes, 1)) {}

Mpg123Player::~Mpg123Player() { Stop(); }

void Mpg123Player::SetSourceFile(const std::string& path) { source_ = path; }

Mpg123Player::FileStamp Mpg123Player::StampOf(const std::string& path) {
  struct stat st {};
  FileStamp s;
  if (::stat(path.c_str(), &st) != 0) return s;
  s.exists = true;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = st.st_size;
  s.modifiedNs = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
  s.changedNs = st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
  return s;
}

void Mpg123Player::Stop() {
  stop_ = true;
  if (worker_.joinable()) worker_.join();
  busy_ = false;
}

void Mpg123Player::Wait() {
  if (worker_.joinable()) worker_.join();
}

void Mpg123Player::Advance(int64_t frames, int64_t estimatedLength) {
  length_ = std::max(frames, estimatedLength);
  position_ = frames;
}

void Mpg123Player::Launch(std::function<Outcome()> job, bool conversion, const std::string& source,
                          const std::string& target) {
  stop_ = false;
  converting_ = conversion;
  runningSource_ = source;
  runningTarget_ = target;
  if (conversion) finished_.reset();
  outcome_ = Outcome::Running;
  busy_.store(true, std::memory_order_release);
  worker_ = std::thread([this, job = std::move(job), conversion, source, target] {
    const Outcome outcome = job();
    if (outcome != Outcome::Stopped) length_ = position_.load();  // the stream's true length is known now
    // Remember a conversion whose result follows from the source alone: doing it again would write
    // the same file. One that the disk or the folders cut short may succeed when tried again.
    const bool repeatable = outcome == Outcome::Finished || outcome == Outcome::NotMp3 ||
                            outcome == Outcome::DecodeError || outcome == Outcome::FormatChanged ||
                            outcome == Outcome::TooLong;
    if (conversion && repeatable) finished_ = FinishedConversion{source, target, StampOf(source), StampOf(target)};
    outcome_ = outcome;
    busy_.store(false, std::memory_order_release);
  });
}

void Mpg123Player::ConvertToWav(const std::string& wavPath) {
  if (Busy() && converting_ && runningSource_ == source_ && runningTarget_ == wavPath) return;
  // The program starts each conversion twice; the second start must neither redo a finished
  // conversion nor leave it cut short by the stop that follows it.
  if (!Busy() && finished_ && finished_->source == source_ && finished_->target == wavPath &&
      finished_->sourceStamp == StampOf(source_) && finished_->targetStamp == StampOf(wavPath)) {
    return;
  }
  Stop();
  position_ = 0;
  length_ = 0;
  writtenPath_.clear();
  cause_.clear();
  const std::string source = source_;
  Launch([this, source, wavPath, trailer = trailer_] { return Convert(source, wavPath, trailer); }, true, source,
         wavPath);
}

Mpg123Player::Outcome Mpg123Player::Convert(const std::string& source, const std::string& target,
                                             const std::vector<uint8_t>& trailer) {
  Decoder decoder;
  if (!decoder.Open(source)) return Outcome::SourceUnreadable;
  long rate = 0;
  int channels = 0;
  const bool audio = decoder.Format(rate, channels);
  if (SameFile(source, target)) return Outcome::TargetUnwritable;  // it would destroy the source before it is read
  if (!audio) return Outcome::NotMp3;  // nothing to write: an existing target stays as it was
  WavWriter wav(target);
  const auto unwritable = [&](Outcome why) {
    cause_ = wav.Cause();
    return why;
  };
  if (!wav.Create()) return unwritable(Outcome::TargetUnwritable);
  if (!wav.Begin(rate, channels)) return unwritable(Outcome::WriteFailed);  // the temporary file goes, the target stays
  length_ = decoder.Length();

  std::vector<unsigned char> buffer(convertBufferBytes_);
  Outcome outcome = Outcome::Finished;
  for (;;) {
    if (stop_) {
      outcome = Outcome::Stopped;
      break;
    }
    std::size_t done = 0;
    const int result = decoder.Read(buffer.data(), buffer.size(), done);
    if (wav.DataBytes() + static_cast<int64_t>(done) > kMaxWavDataBytes) {
      const int64_t room = kMaxWavDataBytes - wav.DataBytes();
      wav.Append(buffer.data(), static_cast<std::size_t>(room - room % wav.BlockAlign()));
      outcome = Outcome::TooLong;
      break;
    }
    if (done > 0) {
      const bool written = wav.Append(buffer.data(), done);
      Advance(wav.DataBytes() / wav.BlockAlign(), decoder.Length());
      if (!written) {
        outcome = Outcome::WriteFailed;
        cause_ = wav.Cause();
        break;
      }
    }
    if (result == MPG123_OK) continue;
    if (result == MPG123_NEW_FORMAT) {
      long newRate = 0;
      int newChannels = 0;
      if (decoder.Format(newRate, newChannels) && newRate == rate && newChannels == channels) continue;
      outcome = Outcome::FormatChanged;  // one WAV header cannot describe two formats
      break;
    }
    if (result != MPG123_DONE) outcome = Outcome::DecodeError;
    break;
  }
  // A conversion that ends before its first whole sample frame replaces nothing, nor does one cut
  // short by a full disk: the whole file stays rather than a part of the new one.
  if (wav.DataBytes() < wav.BlockAlign()) return outcome == Outcome::Finished ? Outcome::NotMp3 : outcome;
  if (outcome == Outcome::WriteFailed && wav.ReplacesAFile()) return outcome;
  // A disk that refused audio takes no tags either.
  if (!wav.Finish(outcome == Outcome::WriteFailed ? std::vector<uint8_t>{} : trailer)) {
    return unwritable(Outcome::WriteFailed);
  }
  writtenPath_ = wav.FinalPath();
  Advance(wav.DataBytes() / wav.BlockAlign(), length_.load());  // whole sample frames only
  return wav.TrailerFailed() ? unwritable(Outcome::WriteFailed) : outcome;
}

void Mpg123Player::Play() {
  Stop();
  position_ = 0;
  length_ = 0;
  auto decoder = std::make_shared<Decoder>();
  long rate = 0;
  int channels = 0;
  if (!decoder->Open(source_)) {
    outcome_ = Outcome::SourceUnreadable;
    return;
  }
  if (!decoder->Format(rate, channels)) {
    outcome_ = Outcome::NotMp3;
    return;
  }
  // A missing output is answered by the outcome, with Busy staying false.
  snd_pcm_t* pcm = OpenPlayback(audioDevice_, static_cast<unsigned>(channels), static_cast<unsigned>(rate));
  if (pcm == nullptr) {
    outcome_ = Outcome::NoAudioOutput;
    return;
  }
  length_ = decoder->Length();
  const int frameBytes = channels * kBytesPerSample;
  auto play = [this, decoder, pcm, rate, channels, frameBytes] {
    std::vector<unsigned char> buffer(kPlayBufferBytes);
    Outcome outcome = Outcome::Finished;
    int64_t played = 0;
    for (;;) {
      if (stop_) {
        outcome = Outcome::Stopped;
        break;
      }
      std::size_t done = 0;
      const int result = decoder->Read(buffer.data(), buffer.size(), done);
      const auto frames = static_cast<snd_pcm_uframes_t>(done / static_cast<std::size_t>(frameBytes));
      const int64_t written = WriteFrames(pcm, buffer.data(), frames, frameBytes, stop_);
      if (written < 0) {
        outcome = Outcome::NoAudioOutput;  // the output went away while playing
        break;
      }
      played += written;
      Advance(played, decoder->Length());
      if (result == MPG123_OK) continue;
      if (result == MPG123_NEW_FORMAT) {
        long newRate = 0;
        int newChannels = 0;
        if (decoder->Format(newRate, newChannels) && newRate == rate && newChannels == channels) continue;
        outcome = Outcome::FormatChanged;
        break;
      }
      if (result != MPG123_DONE) outcome = Outcome::DecodeError;
      break;
    }
    ClosePlayback(pcm, stop_);
    return stop_ ? Outcome::Stopped : outcome;
  };
  Launch(play, false, source_, {});
}

ActiveMP3::TargetFault Mpg123Player::LastTargetFault() const {
  if (Busy()) return TargetFault::None;
  switch (outcome_.load()) {
    case Outcome::TargetUnwritable:
      return TargetFault::CannotCreate;
    case Outcome::WriteFailed:
      return TargetFault::WriteFailed;
    default:
      return TargetFault::None;
  }
}

}  // namespace korvalin
