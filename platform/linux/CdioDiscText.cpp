#include "platform/linux/CdioDiscText.h"

#include <cdio/cdio.h>
#include <cdio/cdtext.h>

namespace korvalin {
namespace {

// Fills the fields still empty from the language block selected in `cdtext`.
void TakeBlock(const cdtext_t* cdtext, int track, std::string& title, std::string& performer, std::string& songwriter) {
  auto take = [&](std::string& field, cdtext_field_t which) {
    if (!field.empty()) return;
    if (const char* text = cdtext_get_const(cdtext, which, static_cast<track_t>(track))) field = DiscTextField(text);
  };
  take(title, CDTEXT_FIELD_TITLE);
  take(performer, CDTEXT_FIELD_PERFORMER);
  take(songwriter, CDTEXT_FIELD_SONGWRITER);
}

}  // namespace

DiscText DiscTextOf(cdtext_t* cdtext, const std::vector<int>& trackNumbers) {
  DiscText text;
  if (!cdtext) return text;
  std::vector<DiscTextTrack> tracks;
  for (const int number : trackNumbers) tracks.push_back({number, {}, {}, {}});

  // The blocks that were read; text set without any block information stands in the selected one.
  std::vector<int> blocks;
  if (const cdtext_lang_t* languages = cdtext_list_languages_v2(cdtext)) {
    for (int i = 0; i < 8; ++i) {
      if (languages[i] != CDTEXT_LANGUAGE_BLOCK_UNUSED) blocks.push_back(i);
    }
  }
  if (blocks.empty()) blocks.push_back(-1);
  for (const int block : blocks) {
    if (block >= 0 && !cdtext_set_language_index(cdtext, block)) continue;
    TakeBlock(cdtext, 0, text.title, text.performer, text.songwriter);
    for (DiscTextTrack& t : tracks) {
      if (t.number >= 1 && t.number <= 99) TakeBlock(cdtext, t.number, t.title, t.performer, t.songwriter);
    }
  }
  if (blocks.front() >= 0) cdtext_set_language_index(cdtext, blocks.front());
  for (DiscTextTrack& t : tracks) {
    if (!t.Empty()) text.tracks.push_back(std::move(t));
  }
  return text;
}

}  // namespace korvalin
