#include "tests/support/FakeMediaControl.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace korvalin::test {

int32_t FakeMediaControl::SendCommand(std::string_view command, char* reply, std::size_t replyLength) {
  const std::string c(command);
  commands.push_back(c);
  std::string answer;
  int32_t result = 0;
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
  } else if (c == "stop cd" || c.rfind("play cd", 0) == 0) {
  } else {
    result = 1;  // capture and anything unknown
  }
  if (reply && replyLength > 0) {
    const std::size_t n = std::min(answer.size(), replyLength - 1);
    std::memcpy(reply, answer.data(), n);
    reply[n] = '\0';
  }
  return result;
}

}  // namespace korvalin::test
