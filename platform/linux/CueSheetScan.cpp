#include "platform/linux/CueSheetScan.h"

#include <algorithm>
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
      // As the parser library reads a quoted word: a backslash keeps the character after it
      // inside the word, and both stay as written.
      std::size_t end = i + 1;
      while (end < line.size() && line[end] != '"') end += line[end] == '\\' && end + 1 < line.size() ? 2 : 1;
      word = line.substr(i + 1, std::min(end, line.size()) - i - 1);
      i = std::min(end + 1, line.size());
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
  // Sheets written on some systems begin with a UTF-8 byte order mark, which is no part of the
  // first keyword.
  const bool marked = text.rfind("\xEF\xBB\xBF", 0) == 0;
  std::istringstream in(marked ? text.substr(3) : text);
  int fileOrdinal = -1;
  std::string fileType;
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> w = Words(line);
    if (w.empty()) continue;
    const std::string keyword = Upper(w[0]);
    if (keyword == "FILE") {
      ++fileOrdinal;
      fileType = w.size() >= 3 ? Upper(w.back()) : std::string();
      scan.files.push_back({w.size() >= 2 ? w[1] : std::string(), fileType});
    } else if (keyword == "TRACK") {
      ScannedTrack t;
      t.number = w.size() >= 2 && AllDigits(w[1]) ? std::stoi(w[1]) : 0;
      t.fileOrdinal = fileOrdinal;
      t.fileType = fileType;
      scan.tracks.push_back(t);
    } else if (keyword == "INDEX" && scan.fault.empty() && (w.size() < 3 || !AllDigits(w[1]) || std::stoi(w[1]) > 99)) {
      scan.fault = "the index number \"" + (w.size() < 2 ? std::string() : w[1]) + "\" is not between 0 and 99.";
    } else if (keyword == "INDEX" || keyword == "PREGAP" || keyword == "POSTGAP") {
      if (keyword == "INDEX" && !scan.tracks.empty() && w.size() >= 3 && AllDigits(w[1])) {
        const int number = std::stoi(w[1]);
        if (number == 0) scan.tracks.back().index0File = fileOrdinal;
        if (number == 1) scan.tracks.back().index1File = fileOrdinal;
      }
      const std::string& time = w.back();
      if (scan.fault.empty() && (w.size() < 2 || !IsCdTime(time))) {
        scan.fault = "the " + keyword + " time \"" + (w.size() < 2 ? std::string() : time) +
                     "\" is not a CD time (minutes:seconds:frames, seconds under 60, frames under 75).";
      }
    }
  }
  return scan;
}

std::vector<std::string> SheetLineWords(const std::string& line) { return Words(line); }

}  // namespace korvalin
