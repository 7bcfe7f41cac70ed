#include "tests/support/FakeMediaControl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <sstream>
#include <string>


namespace korvalin::test {

int32_t FakeMediaControl::SendCommand(std::string_view command, char* reply, std::size_t replyLength) {
  const std::string c(command);
  commands.push_back(c);
  std::string answer;
  int32_t result = 0;
  lastError_.clear();
  if (const auto f = failing.find(c); f != failing.end()) {
    lastError_ = failureText;
    return f->second;
  }
  const std::string lengthPrefix = "status cd length track ";
  const std::string typePrefix = "status cd type track ";
  if (c == "open cdaudio alias cd") {
    result = discPresent && !open_ ? 0 : 5;
    if (discPresent) open_ = true;
  } else if (!open_ && c.find(" cd") != std::string::npos) {
    result = 2;
  } else if (c == "close cd") {
    open_ = false;
  } else if (c == "info cd identity") {
    answer = identity;
  } else if (c == "status cd number of tracks") {
    answer = std::to_string(trackMs.size());
  } else if (c == "set cd time format hms") {
    hms_ = true;
  } else if (c == "set cd time format milliseconds") {
    hms_ = false;
  } else if (c.rfind(lengthPrefix, 0) == 0) {
    const std::size_t n = std::stoul(c.substr(lengthPrefix.size()));
    if (n < 1 || n > trackMs.size()) return 3;
    const int32_t ms = trackMs[n - 1];
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d", ms / 60000, ms / 1000 % 60);
    answer = hms_ ? buf : std::to_string(ms);
  } else if (c.rfind(typePrefix, 0) == 0) {
    const int n = std::stoi(c.substr(typePrefix.size()));
    if (n < 1 || n > static_cast<int>(trackMs.size())) return 3;
    answer = std::find(dataTracks.begin(), dataTracks.end(), n) != dataTracks.end() ? "other" : "audio";
  } else if (c == "stop cd") {
    stoppedAt_ = Position();
    playing_ = false;
  } else if (c == "play cd" || c.rfind("play cd from ", 0) == 0) {
    playFrom_ = c == "play cd" ? Position() : std::stoi(c.substr(13));
    playSince_ = clock();
    playing_ = true;
  } else if (c == "status cd position") {
    answer = std::to_string(position ? *position : Position());
  } else if (c == "status cd current track") {
    answer = std::to_string(1);  // the reply is not read
  } else if (c.find("capture") != std::string::npos) {
    result = CaptureCommand(c);
  } else {
    result = 1;
  }
  if (reply && replyLength > 0) {
    const std::size_t n = std::min(answer.size(), replyLength - 1);
    std::memcpy(reply, answer.data(), n);
    reply[n] = '\0';
  }
  return result;
}

int32_t FakeMediaControl::Position() const {
  if (!playing_) return stoppedAt_;
  const int32_t end = std::accumulate(trackMs.begin(), trackMs.end(), 0);
  return std::min(end, playFrom_ + static_cast<int32_t>((clock() - playSince_) * 1000));
}

int32_t FakeMediaControl::CaptureCommand(const std::string& c) {
  if (c == "open new type waveaudio alias capture") {
    if (captureOpen_) return 5;
    captureOpen_ = true;
    recordedMs_ = 0;
    recorded_ = false;
    return 0;
  }
  if (!captureOpen_) return 2;
  if (c.rfind("set capture ", 0) == 0) {
    std::istringstream in(c.substr(12));
    std::string key;
    int32_t value = 0;
    int32_t channels = 0;
    while (in >> key >> value) {
      if (value <= 0) return 9;  // the recorder takes no format without a rate, size or channel
      if (key == "channels") channels = value;
    }
    channels_ = channels;
    return 0;
  }
  if (c == "record capture overwrite") {
    recording_ = recorded_ = true;
    recordSince_ = clock();
    return 0;
  }
  if (c == "stop capture") {
    if (recording_) recordedMs_ = static_cast<int32_t>((clock() - recordSince_) * 1000);
    recording_ = false;
    return 0;
  }
  if (c.rfind("save capture ", 0) == 0) {
    if (!recorded_) {
      lastError_ = "nothing was recorded";
      return 11;
    }
    const std::string path = c.substr(13);
    const int64_t pairs = int64_t{recordedMs_} * 44100 / 1000;
    std::string pcm(static_cast<std::size_t>(pairs * channels_) * 2, '\0');
    for (std::size_t i = 0; i + 1 < pcm.size(); i += 2) {
      const auto sample = static_cast<int16_t>((i / 2 % 200) * 150 - 15000);
      pcm[i] = static_cast<char>(sample & 0xFF);
      pcm[i + 1] = static_cast<char>((sample >> 8) & 0xFF);
    }
    const WaveFormat format{44100, channels_, 16, channels_ * 2, channels_ * 2 * 44100};
    if (!recorder_.Begin(format)) {
      lastError_ = recorder_.ErrorText();
      return 10;
    }
    recorder_.Append(pcm.data(), pcm.size());
    const int saved = recorder_.Save(path);
    lastError_ = recorder_.ErrorText();
    if (saved == WaveRecording::kSaved || saved == WaveRecording::kSavedInPart) savedFiles.push_back(path);
    return saved == WaveRecording::kSaved ? 0 : saved == WaveRecording::kSavedInPart ? 13 : saved == WaveRecording::kPathTaken ? 12 : 11;
  }
  if (c == "close capture") {
    captureOpen_ = recording_ = false;
    return 0;
  }
  return 1;
}

std::vector<std::string> FakeMediaControl::DeviceCommands() const {
  std::vector<std::string> out;
  for (const auto& c : commands) {
    if (c != "status cd position" && c != "status cd current track") out.push_back(c);
  }
  return out;
}

}  // namespace korvalin::test
