#include "platform/linux/CueSheetText.h"

#include <cctype>
#include <sstream>

#include "platform/linux/CueSheetScan.h"

namespace korvalin {
namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

DiscText SheetDiscText(const std::string& sheetText) {
  DiscText text;
  const bool marked = sheetText.rfind("\xEF\xBB\xBF", 0) == 0;
  std::istringstream in(marked ? sheetText.substr(3) : sheetText);
  std::vector<DiscTextTrack> tracks;
  for (std::string line; std::getline(in, line);) {
    const std::vector<std::string> w = SheetLineWords(line);
    if (w.size() < 2) continue;
    const std::string keyword = Upper(w[0]);
    if (keyword == "TRACK") {
      const std::string& number = w[1];
      const bool digits = number.size() <= 2 && std::isdigit(static_cast<unsigned char>(number[0])) &&
                          (number.size() == 1 || std::isdigit(static_cast<unsigned char>(number[1])));
      tracks.push_back({digits ? std::stoi(number) : 0, {}, {}, {}});
      continue;
    }
    if (keyword == "REM" && tracks.empty() && w.size() >= 3 && Upper(w[1]) == "DATE") {
      text.year = DiscTextField(w[2]);
      continue;
    }
    std::string* field = nullptr;
    if (keyword == "TITLE") field = tracks.empty() ? &text.title : &tracks.back().title;
    if (keyword == "PERFORMER") field = tracks.empty() ? &text.performer : &tracks.back().performer;
    if (keyword == "SONGWRITER") field = tracks.empty() ? &text.songwriter : &tracks.back().songwriter;
    if (field && field->empty()) *field = DiscTextField(w[1]);
  }
  for (DiscTextTrack& t : tracks) {
    if (!t.Empty() && t.number > 0) text.tracks.push_back(std::move(t));
  }
  return text;
}

}  // namespace korvalin
