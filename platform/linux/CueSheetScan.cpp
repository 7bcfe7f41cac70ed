#include "platform/linux/CueSheetScan.h"

#include <cctype>
#include <sstream>

namespace korvalin {
namespace {

// The words of a line; a quoted word keeps its blanks.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i == line.size()) break;
    std::string word;
    if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      const std::size_t end = close == std::string::npos ? line.size() : close;
      word = line.substr(i + 1, end - i - 1);
      i = close == std::string::npos ? line.size() : close + 1;
    } else {
      while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool AllDigits(const std::string& s) {
  if (s.empty() || s.size() > 4) return false;
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// "mm:ss:ff" with seconds under 60 and frames under 75.
bool IsCdTime(const std::string& text) {
  const std::size_t a = text.find(':');
  const std::size_t b = a == std::string::npos ? std::string::npos : text.find(':', a + 1);
  if (b == std::string::npos) return false;
  const std::string mm = text.substr(0, a), ss = text.substr(a + 1, b - a - 1), ff = text.substr(b + 1);
  return AllDigits(mm) && AllDigits(ss) && AllDigits(ff) && std::stoi(ss) < 60 && std::stoi(ff) < 75;
}

}  // namespace

CueSheetScan ScanCueSheet(const std::string& text) {
  CueSheetScan scan;
  std::istringstream in(text);
  int fileOrdinal = -1;
  std::string fileType;
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> w = Words(line);
    if (w.empty()) continue;
    const std::string keyword = Upper(w[0]);
    if (keyword == "FILE") {
      ++fileOrdinal;
      fileType = w.size() >= 3 ? Upper(w.back()) : std::string();
    } else if (keyword == "TRACK") {
      ScannedTrack t;
      t.number = w.size() >= 2 && AllDigits(w[1]) ? std::stoi(w[1]) : 0;
      t.fileOrdinal = fileOrdinal;
      t.fileType = fileType;
      scan.tracks.push_back(t);
    } else if (keyword == "INDEX" && scan.fault.empty() && (w.size() < 3 || !AllDigits(w[1]) || std::stoi(w[1]) > 99)) {
      scan.fault = "the index number \"" + (w.size() < 2 ? std::string() : w[1]) + "\" is not between 0 and 99.";
    } else if (keyword == "INDEX" || keyword == "PREGAP" || keyword == "POSTGAP") {
      const std::string& time = w.back();
      if (scan.fault.empty() && (w.size() < 2 || !IsCdTime(time))) {
        scan.fault = "the " + keyword + " time \"" + (w.size() < 2 ? std::string() : time) +
                     "\" is not a CD time (minutes:seconds:frames, seconds under 60, frames under 75).";
      }
    }
  }
  return scan;
}

}  // namespace korvalin
