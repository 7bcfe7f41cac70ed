#pragma once
// The text a disc carries about itself as a source of disc information: free and offline, read
// before any other source.

#include "discinfo/DiscInfo.h"
#include "platform/DiscText.h"

namespace korvalin {

inline constexpr const char* kCdTextSource = "CD-Text";

// The disc's text as a candidate: album, album artist, year and each track's title and artist
// (a track's artist only when it differs from the album's). None when the text names nothing.
std::vector<DiscInfoCandidate> CandidatesFromDiscText(const DiscText& text);

class CdTextSource : public DiscInfoSource {
 public:
  explicit CdTextSource(DiscText text) : text_(std::move(text)) {}
  std::string Name() const override { return kCdTextSource; }
  // A disc without text has nothing to say, which is no failure: no candidate and no problem.
  SourceAnswer Look(const DiscQuery&, const std::function<bool()>&) override { return {CandidatesFromDiscText(text_), {}}; }

 private:
  DiscText text_;
};

}  // namespace korvalin
