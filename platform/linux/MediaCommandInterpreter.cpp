#include "platform/linux/MediaCommandInterpreter.h"

#include <discid/discid.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/linux/AlsaCaptureSource.h"

namespace korvalin {
namespace {

using namespace mcierror;

std::vector<std::string> Words(std::string_view command) {
  std::istringstream in{std::string(command)};
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

bool ParseNumber(const std::string& text, int64_t& value) {
  if (text.empty() || text.size() > 12 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  value = std::stoll(text);
  return true;
}

bool Is(const std::vector<std::string>& w, std::initializer_list<const char*> expected) {
  if (w.size() != expected.size()) return false;
  std::size_t i = 0;
  for (const char* e : expected) {
    if (e != nullptr && w[i] != e) return false;
    ++i;
  }
  return true;
}

// What a failure code stands for, where the command that failed gave no reason of its own.
std::string CodeText(int32_t code) {
  switch (code) {
    case kUnknownCommand: return "the command is not known";
    case kNoSuchAlias: return "the device is not open";
    case kBadNumber: return "a number is out of range";
    case kNoDisc: return "there is no disc";
    case kAliasInUse: return "the device is open already";
    case kNoAudioOutput: return "the sound output cannot play";
    case kReplyTooSmall: return "the reply does not fit";
    case kNoRecorder: return "there is no recording input";
    case kBadParameters: return "the recorder does not take this format";
    case kRecordFailed: return "the recording did not start";
    case kSaveFailed: return "the file could not be written";
    case kFileExists: return "File exists";
    default: return "error " + std::to_string(code);
  }
}

constexpr int64_t FramesToMs(int64_t frames) { return frames * 1000 / 75; }
constexpr int64_t MsToFrames(int64_t ms) { return (ms * 75 + 500) / 1000; }

}  // namespace

std::string HmsText(int64_t ms) {
  const int64_t seconds = ms / 1000;
  char buf[32];
  if (seconds >= 3600) {
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  } else {
    std::snprintf(buf, sizeof buf, "%02lld:%02lld", static_cast<long long>(seconds / 60), static_cast<long long>(seconds % 60));
  }
  return buf;
}

struct MediaCommandInterpreter::Disc {
  std::unique_ptr<DiscReader> reader;
  std::vector<int32_t> starts;  // first frame of each track, then the lead-out
  std::vector<bool> data;       // whether each track is a data track
  bool hms = false;             // the time format: "hms" or milliseconds
  uint32_t cddbId = 0;

  int Tracks() const { return static_cast<int>(starts.size()) - 1; }
  int32_t LeadOut() const { return starts.back(); }
};

MediaCommandInterpreter::MediaCommandInterpreter(std::vector<CdDriveSource> drives, std::string audioOutput,
                                                 std::string captureSource)
    : drives_(std::move(drives)), audioOutput_(std::move(audioOutput)), captureSource_(std::move(captureSource)) {
  if (captureSource_ == kLoopbackCapture) loopback_ = std::make_unique<LoopbackPlayer>();
}

MediaCommandInterpreter::~MediaCommandInterpreter() {
  CloseCapture();
  Close();
}

int32_t MediaCommandInterpreter::SendCommand(std::string_view command, char* reply, std::size_t replyLength) {
  std::string text;
  int32_t result = kUnknownCommand;
  lastError_.clear();
  try {
    const std::vector<std::string> words = Words(command);
    result = words.size() >= 2 && words[1] == "capture" ? CaptureCommand(words, command) : Run(words, text);
  } catch (...) {  // the interface answers with codes, never with exceptions
    result = kUnknownCommand;
  }
  if (reply && replyLength > 0) {
    const std::size_t n = std::min(text.size(), replyLength - 1);
    std::memcpy(reply, text.data(), n);
    reply[n] = '\0';
    if (result == 0 && text.size() > n) result = kReplyTooSmall;
  }
  if (result == 0) {
    lastError_.clear();
  } else if (lastError_.empty()) {
    lastError_ = CodeText(result);
  }
  return result;
}

int32_t MediaCommandInterpreter::Run(const std::vector<std::string>& w, std::string& reply) {
  if (w.size() < 2) return kUnknownCommand;
  if (Is(w, {"open", "cdaudio", "alias", "cd"})) return Open();
  if (w[1] == "cd") return CdCommand(w, reply);
  if (Is(w, {"open", "new", "type", "waveaudio", "alias", "capture"})) return OpenCapture();
  return kUnknownCommand;
}

int32_t MediaCommandInterpreter::Open() {
  if (disc_) return kAliasInUse;
  if (chosen_ < 0 || chosen_ >= static_cast<int32_t>(drives_.size())) return kNoDisc;
  OpenedDisc opened = OpenDisc(drives_[static_cast<std::size_t>(chosen_)]);
  if (!opened.reader) return kNoDisc;
  auto disc = std::make_unique<Disc>();
  disc->reader = std::move(opened.reader);
  const std::vector<DiscTrack>& tracks = disc->reader->Tracks();
  const int first = tracks.front().number, last = tracks.back().number;
  for (const DiscTrack& t : tracks) {
    disc->starts.push_back(t.start);
    disc->data.push_back(t.data);
  }
  disc->starts.push_back(disc->reader->LeadOut());
  // The identity is the disc's CDDB id: computed from the table, with addresses that count the
  // 150-frame lead-in.
  if (DiscId* id = discid_new()) {
    // libdiscid reads a table of 100 entries: the lead-out, then each track at its own number.
    std::vector<int> offsets(100, 0);
    offsets[0] = disc->LeadOut() + 150;
    for (int i = 0; i < disc->Tracks(); ++i) {
      offsets[static_cast<std::size_t>(first + i)] = disc->starts[static_cast<std::size_t>(i)] + 150;
    }
    if (discid_put(id, first, last, offsets.data())) disc->cddbId = static_cast<uint32_t>(std::strtoul(discid_get_freedb_id(id), nullptr, 16));
    discid_free(id);
  }
  playback_.SetPosition(0);
  if (loopback_) loopback_->SetPosition(0);
  disc_ = std::move(disc);
  return 0;
}

void MediaCommandInterpreter::SelectDrive(int32_t index) {
  if (index == chosen_) return;
  Close();
  chosen_ = index;
}

void MediaCommandInterpreter::Close() {
  StopPlaying();
  disc_.reset();
}

bool MediaCommandInterpreter::Play(int32_t from, int32_t end) {
  if (loopback_) return loopback_->Start(disc_->reader.get(), from, end);
  return playback_.Start(disc_->reader.get(), from, end, audioOutput_);
}

void MediaCommandInterpreter::StopPlaying() {
  if (loopback_) loopback_->Stop();
  playback_.Stop();
}

int32_t MediaCommandInterpreter::PlayPosition() const {
  return loopback_ ? loopback_->Position() : playback_.Position();
}

int32_t MediaCommandInterpreter::CdCommand(const std::vector<std::string>& w, std::string& reply) {
  if (!disc_) return kNoSuchAlias;
  Disc& d = *disc_;
  if (Is(w, {"close", "cd"})) {
    Close();
    return 0;
  }
  if (Is(w, {"stop", "cd"})) {
    StopPlaying();
    return 0;
  }
  if (Is(w, {"info", "cd", "identity"})) {
    reply = std::to_string(d.cddbId);
    return 0;
  }
  if (Is(w, {"status", "cd", "number", "of", "tracks"})) {
    reply = std::to_string(d.Tracks());
    return 0;
  }
  if (Is(w, {"set", "cd", "time", "format", nullptr})) {
    if (w[4] == "hms") {
      d.hms = true;
    } else if (w[4] == "milliseconds" || w[4] == "ms") {
      d.hms = false;
    } else {
      return kUnknownCommand;
    }
    return 0;
  }
  if (Is(w, {"status", "cd", "length", "track", nullptr})) {
    int64_t track = 0;
    if (!ParseNumber(w[4], track)) return kBadNumber;
    // Tracks are counted from the disc's first one, as the window lists them and the rip reads them.
    const int64_t index = track - 1;
    if (index < 0 || index >= d.Tracks()) return kBadNumber;
    const int64_t ms = FramesToMs(d.starts[static_cast<std::size_t>(index) + 1] - d.starts[static_cast<std::size_t>(index)]);
    reply = d.hms ? HmsText(ms) : std::to_string(ms);
    return 0;
  }
  if (Is(w, {"status", "cd", "type", "track", nullptr})) {
    int64_t track = 0;
    if (!ParseNumber(w[4], track)) return kBadNumber;
    if (track < 1 || track > d.Tracks()) return kBadNumber;
    reply = d.data[static_cast<std::size_t>(track - 1)] ? "other" : "audio";
    return 0;
  }
  if (Is(w, {"play", "cd"}) || Is(w, {"play", "cd", "from", nullptr})) {
    int64_t fromMs = 0;
    if (w.size() == 4 && !ParseNumber(w[3], fromMs)) return kBadNumber;
    const int64_t from = w.size() == 4 ? MsToFrames(fromMs) : PlayPosition();
    if (from < 0 || from >= d.LeadOut()) return kBadNumber;
    return Play(static_cast<int32_t>(from), d.LeadOut()) ? 0 : kNoAudioOutput;
  }
  if (Is(w, {"status", "cd", "position"})) {
    reply = std::to_string(FramesToMs(PlayPosition()));
    return 0;
  }
  if (Is(w, {"status", "cd", "current", "track"})) {
    const int32_t at = PlayPosition();
    int track = 1;
    for (int i = 0; i < d.Tracks(); ++i) {
      if (at >= d.starts[static_cast<std::size_t>(i)]) track = i + 1;
    }
    reply = std::to_string(track);
    return 0;
  }
  return kUnknownCommand;
}

// --- the "capture" device -------------------------------------------------------------------------

int32_t MediaCommandInterpreter::OpenCapture() {
  if (capture_) return kAliasInUse;
  std::unique_ptr<CaptureSource> source;
  if (loopback_) {
    source = std::make_unique<LoopbackCaptureSource>(*loopback_);
  } else {
    source = std::make_unique<AlsaCaptureSource>(captureSource_);
  }
  if (!source->Open()) return kNoRecorder;
  capture_ = std::move(source);
  captureFormat_ = WaveFormat{};
  recording_.Discard();
  return 0;
}

void MediaCommandInterpreter::CloseCapture() {
  if (capture_) capture_->Stop();
  capture_.reset();
  recording_.Discard();
}

int32_t MediaCommandInterpreter::CaptureCommand(const std::vector<std::string>& w, std::string_view command) {
  if (!capture_) return kNoSuchAlias;
  if (Is(w, {"close", "capture"})) {
    CloseCapture();
    return 0;
  }
  if (Is(w, {"stop", "capture"})) {
    capture_->Stop();
    // A spool that stopped taking samples cut the recording short: what it kept can still be saved.
    if (recording_.Broken()) {
      lastError_ = recording_.ErrorText();
      return kRecordingBroken;
    }
    return 0;
  }
  if (Is(w, {"record", "capture"}) || Is(w, {"record", "capture", "overwrite"})) {
    capture_->Stop();
    if (!recording_.Begin(captureFormat_)) {
      lastError_ = recording_.ErrorText();
      recording_.Discard();
      return kRecordFailed;
    }
    if (!capture_->Start([this](const char* bytes, std::size_t length) { recording_.Append(bytes, length); })) {
      recording_.Discard();  // nothing was recorded: there is nothing to save either
      return kRecordFailed;
    }
    return 0;
  }
  if (w[0] == "save") {
    // The rest of the line is the path, blanks and all.
    const std::string_view prefix = "save capture ";
    if (command.substr(0, prefix.size()) != prefix || command.size() == prefix.size()) return kSaveFailed;
    const int saved = recording_.Save(std::string(command.substr(prefix.size())));
    lastError_ = recording_.ErrorText();
    switch (saved) {
      case WaveRecording::kSaved: return 0;
      case WaveRecording::kPathTaken: return kFileExists;
      case WaveRecording::kSavedInPart: return kSavedInPart;
      default: return kSaveFailed;
    }
  }
  if (w[0] == "set" && w.size() == 12) {
    WaveFormat format;
    const std::pair<const char*, int32_t*> fields[] = {{"samplespersec", &format.samplesPerSecond},
                                                       {"channels", &format.channels},
                                                       {"bitspersample", &format.bitsPerSample},
                                                       {"alignment", &format.alignment},
                                                       {"bytespersec", &format.bytesPerSecond}};
    for (std::size_t i = 0; i < 5; ++i) {
      int64_t value = 0;
      if (w[2 + 2 * i] != fields[i].first || !ParseNumber(w[3 + 2 * i], value) || value > 0x7FFFFFFF) return kBadParameters;
      *fields[i].second = static_cast<int32_t>(value);
    }
    if (!IsRecordableFormat(format) || !capture_->Accept(format)) return kBadParameters;
    captureFormat_ = format;
    return 0;
  }
  return kUnknownCommand;
}

}  // namespace korvalin
