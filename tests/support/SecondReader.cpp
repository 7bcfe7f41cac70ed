#include "tests/support/SecondReader.h"

#include <sys/wait.h>

#include <cstdio>
#include <sstream>

namespace korvalin::test {
namespace {

// Quotes `text` for the shell: the paths tests make may hold blanks and quotes.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

SecondReading ReadWithMutagen(const std::string& path) {
  SecondReading reading;
  // Debian's interpreter, where python3-mutagen is installed (another python3 may come first on PATH).
  const std::string command =
      "/usr/bin/python3 " + Quoted(std::string(KORVALIN_SOURCE_DIR) + "/tests/support/id3_frames.py") + " " + Quoted(path);
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return reading;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) reading.output.append(buffer, got);
  const int status = ::pclose(pipe);
  reading.ran = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  std::istringstream lines(reading.output);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("v2 ", 0) == 0) {
      reading.v2 = line.substr(3);
    } else if (line.rfind("v1 ", 0) == 0) {
      reading.v1 = line.substr(3);
    } else {
      reading.frames.push_back(line);
    }
  }
  return reading;
}

std::string FrameLine(const SecondReading& reading, const std::string& id) {
  for (const std::string& line : reading.frames) {
    if (line.substr(0, line.find('\t')) == id) return line;
  }
  return "";
}

std::string FrameText(const SecondReading& reading, const std::string& id) {
  const std::string line = FrameLine(reading, id);
  const auto first = line.find('\t');
  const auto second = first == std::string::npos ? first : line.find('\t', first + 1);
  return second == std::string::npos ? "" : line.substr(second + 1);
}

}  // namespace korvalin::test
