// The look-up over every source: the disc's own text always, a kept choice instead of any
// request, the online sources only when allowed and in the order asked, and a source that fails
// costing only its own answer.

#include "discinfo/DiscLookup.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "discinfo/CdTextSource.h"
#include "tests/support/TempDir.h"
#include "tests/support/VectorDisc.h"

namespace korvalin {
namespace {

// A source that answers as told and counts how often it was asked.
class ToldSource : public DiscInfoSource {
 public:
  enum Answer { kAlbum, kProblem, kThrows };
  ToldSource(std::string name, Answer answer) : name_(std::move(name)), answer_(answer) {}
  std::string Name() const override { return name_; }
  SourceAnswer Look(const DiscQuery&, const std::function<bool()>&) override {
    ++asked;
    if (answer_ == kThrows) throw std::runtime_error("the answer could not be read");
    if (answer_ == kProblem) return {{}, "the server did not answer within 15 seconds"};
    DiscInfoCandidate c;
    c.source = name_;
    c.album = "Album from " + name_;
    return {{c}, {}};
  }
  int asked = 0;

 private:
  std::string name_;
  Answer answer_;
};

TEST(DiscLookup, SourcesAreAskedAsTheOptionsAndTheKeptChoiceSay) {
  using A = ToldSource::Answer;
  struct Case {
    const char* name;
    bool online;
    std::vector<std::string> order;
    bool kept;   // a choice is kept for the disc
    bool again;  // "Look up again"
    A mb, gnudb;
    std::vector<std::string> asked;
    std::vector<std::string> sources;  // of the candidates, best first
    std::vector<std::string> problems;
  };
  const std::string late = "MusicBrainz: the server did not answer within 15 seconds";
  const std::vector<Case> cases = {
      {"online, both answer", true, {"MusicBrainz", "gnudb"}, false, false, A::kAlbum, A::kAlbum,
       {"MusicBrainz", "gnudb"}, {"MusicBrainz", "gnudb", "CD-Text"}, {}},
      {"the order is the user's", true, {"gnudb", "MusicBrainz"}, false, false, A::kAlbum, A::kAlbum,
       {"gnudb", "MusicBrainz"}, {"gnudb", "MusicBrainz", "CD-Text"}, {}},
      {"a source left out of the order is not asked", true, {"gnudb", "gnudb"}, false, false, A::kAlbum, A::kAlbum,
       {"gnudb"}, {"gnudb", "CD-Text"}, {}},
      {"offline: nothing leaves the machine", false, {"MusicBrainz", "gnudb"}, false, false, A::kAlbum, A::kAlbum,
       {}, {"CD-Text"}, {}},
      {"a kept choice needs no request", true, {"MusicBrainz", "gnudb"}, true, false, A::kAlbum, A::kAlbum,
       {}, {"cache", "CD-Text"}, {}},
      {"a kept choice works offline", false, {"MusicBrainz", "gnudb"}, true, false, A::kAlbum, A::kAlbum,
       {}, {"cache", "CD-Text"}, {}},
      {"looking up again passes the kept choice over", true, {"MusicBrainz", "gnudb"}, true, true, A::kAlbum, A::kAlbum,
       {"MusicBrainz", "gnudb"}, {"MusicBrainz", "gnudb", "CD-Text"}, {}},
      {"a failing source leaves the others counting", true, {"MusicBrainz", "gnudb"}, false, false, A::kProblem, A::kAlbum,
       {"MusicBrainz", "gnudb"}, {"gnudb", "CD-Text"}, {late}},
      {"a source that throws has failed, no more", true, {"MusicBrainz", "gnudb"}, false, false, A::kProblem, A::kThrows,
       {"MusicBrainz", "gnudb"}, {"CD-Text"}, {late, "gnudb: the answer could not be read"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const DiscInfoCache cache(dir.Path());
    const DiscQuery disc = test::VectorDisc();
    if (c.kept) {
      DiscInfoCandidate chosen;
      chosen.source = "MusicBrainz";
      chosen.album = "Kept";
      ASSERT_EQ(cache.Save(disc, chosen), "");
    }
    DiscText text;
    text.title = "On the disc";
    CdTextSource cdText(text);
    ToldSource mb("MusicBrainz", c.mb), gnudb("gnudb", c.gnudb);
    LookupRequest request{disc, {}, c.again, {}};
    request.options.online = c.online;
    request.options.order = c.order;
    const DiscLookupResult result = LookUpDisc(request, {&cdText, &cache, {&mb, &gnudb}});
    EXPECT_EQ(result.asked, c.asked);
    std::vector<std::string> sources;
    for (const auto& candidate : result.candidates) sources.push_back(candidate.source);
    EXPECT_EQ(sources, c.sources);
    EXPECT_EQ(result.problems, c.problems);
    EXPECT_EQ(result.fromCache, c.kept && !c.again);
    EXPECT_EQ(mb.asked + gnudb.asked, static_cast<int>(c.asked.size()));
  }
}

TEST(DiscLookup, ADamagedKeptChoiceIsSaidOnceAndTheSourcesAreAsked) {
  test::TempDir dir;
  const DiscInfoCache cache(dir.Path());
  const DiscQuery disc = test::VectorDisc();
  test::WriteFile(cache.FileOf(disc), "{\"format\": 1, \"cddbId\": ");
  ToldSource mb("MusicBrainz", ToldSource::kAlbum);
  const DiscLookupResult result = LookUpDisc({disc, {}, false, {}}, {nullptr, &cache, {&mb}});
  ASSERT_EQ(result.problems.size(), 1u);
  EXPECT_NE(result.problems[0].find("was ignored: it is not JSON."), std::string::npos);
  ASSERT_EQ(result.candidates.size(), 1u);
  EXPECT_EQ(result.candidates[0].source, "MusicBrainz");
}

TEST(DiscLookup, ACancelledLookUpAsksNoFurtherSource) {
  ToldSource mb("MusicBrainz", ToldSource::kAlbum), gnudb("gnudb", ToldSource::kAlbum);
  LookupRequest request{test::VectorDisc(), {}, false, [&] { return mb.asked > 0; }};
  const DiscLookupResult result = LookUpDisc(request, {nullptr, nullptr, {&mb, &gnudb}});
  EXPECT_EQ(result.asked, std::vector<std::string>{"MusicBrainz"});
  EXPECT_EQ(gnudb.asked, 0);
}

}  // namespace
}  // namespace korvalin
