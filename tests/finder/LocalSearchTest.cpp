#include "finder/LocalSearch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "tests/support/FileTree.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using test::MakeTree;
using test::TempDir;
using Paths = std::vector<std::string>;

Paths Walk(LocalSearch& search) {
  search.Run();
  return search.Results();
}

Paths Search(const std::string& folder, const std::string& type, const std::string& name = {}) {
  LocalSearch search(folder, NormalizeTypeFilter(type), name);
  return Walk(search);
}

TEST(LocalSearchFilters, TypeAndNameFiltersCompareLowerCasedFormsExactly) {
  EXPECT_EQ(NormalizeTypeFilter("wav"), ".wav");
  EXPECT_EQ(NormalizeTypeFilter(".MP3"), ".mp3");
  EXPECT_EQ(NormalizeTypeFilter("*.*"), "*.*");
  EXPECT_EQ(ExtensionOf("song.part1.wav"), ".part1.wav");
  EXPECT_EQ(ExtensionOf("README"), "");
  EXPECT_EQ(BaseNameOf("Track01.WAV"), "track01");

  EXPECT_TRUE(PassesFilters("README", "*.*", "nothing like it"));  // "*.*" ignores the name filter
  EXPECT_FALSE(PassesFilters("README", ".wav", ""));
  EXPECT_FALSE(PassesFilters("song.part1.wav", ".wav", ""));
  EXPECT_TRUE(PassesFilters("Song.WAV", ".wav", ""));
  EXPECT_TRUE(PassesFilters("track01.wav", ".wav", "Track01"));
  EXPECT_FALSE(PassesFilters("track01a.wav", ".wav", "Track01"));
  EXPECT_FALSE(PassesFilters("track01.mp3", ".wav", "Track01"));
  EXPECT_FALSE(PassesFilters("track01.wav", ".wav", "track*"));  // no wildcards
  EXPECT_EQ(SearchSummary(3, 12), "Directories: 3   Files:  12");
}

TEST(LocalSearch, TheRootIsQueuedUnchangedAndOtherStartsGetASlash) {
  EXPECT_EQ(LocalSearch::Seed("/"), "/");
  EXPECT_EQ(LocalSearch::Seed("/home/me/My Music"), "/home/me/My Music/");
  EXPECT_EQ(LocalSearch::Seed("/home/me/"), "/home/me/");
  TempDir dir;
  MakeTree(dir.Path(), {"a.wav"});
  LocalSearch search(dir.Path(), ".wav");
  EXPECT_EQ(Walk(search), Paths{dir / "a.wav"});
  EXPECT_EQ(search.Log(), std::deque<std::string>{dir.Path() + "/"});

  // No start folder is no search, never one of the whole file system.
  LocalSearch none("", "*.*");
  int yields = 0;
  none.yield = [&] { ++yields; };
  none.Run();
  EXPECT_TRUE(none.Results().empty());
  EXPECT_TRUE(none.Log().empty());
  EXPECT_EQ(yields, 0);
  EXPECT_TRUE(FindFiles("", "wav").empty());
}

TEST(LocalSearch, WalksDepthFirstLastSubfolderFirstAndKeepsNamesAsOnDisk) {
  TempDir dir;
  const std::string r = dir.Path() + "/";
  MakeTree(dir.Path(), {"b.WAV", "A.wav", "c.mp3", "notes", "song.part1.wav", "A/x.wav", "A/A2/y.wav", "B/z.wav",
                        "B/B1/w.wav", "my.music/m.wav", ".hidden/h.wav", ".wav", ".dot.wav"});
  LocalSearch search(dir.Path(), ".wav");
  // Files of a folder in name order (case aside); then B (met last) with its subtree, then A.
  EXPECT_EQ(Walk(search), (Paths{r + ".wav", r + "A.wav", r + "b.WAV", r + "my.music/m.wav", r + "B/z.wav",
                                r + "B/B1/w.wav", r + "A/x.wav", r + "A/A2/y.wav"}));
  EXPECT_EQ(search.Directories(), 6);  // the start, A, B, my.music, B1, A2, and never .hidden
  EXPECT_EQ(search.Directories(), static_cast<int16_t>(search.Log().size()));  // what is counted is listed
  EXPECT_EQ(search.Log().front(), r);
  EXPECT_TRUE(search.Queue().empty());
  for (const auto& folder : search.Log()) EXPECT_EQ(folder.find(".hidden"), std::string::npos);

  EXPECT_EQ(Search(dir.Path(), "*.*", "ignored").size(), 12u);  // every file outside .hidden
  EXPECT_EQ(Search(dir.Path(), "MP3"), Paths{r + "c.mp3"});
  EXPECT_EQ(Search(dir.Path(), ".wav", "B"), Paths{r + "b.WAV"});
}

TEST(LocalSearch, YieldsBeforeEveryEntryAfterTheFirstOfEachFolder) {
  TempDir dir;
  MakeTree(dir.Path(), {"1.wav", "2.wav", "3.wav", "sub/4.wav", "empty/"});
  LocalSearch search(dir.Path(), ".wav");
  int yields = 0;
  search.yield = [&] { ++yields; };
  search.Run();
  EXPECT_EQ(yields, 4 + 0 + 0);  // five entries at the top, one in sub, none in empty
  EXPECT_EQ(search.Results().size(), 4u);
}

TEST(LocalSearch, AStopEndsTheWalkAfterTheFolderBeingRead) {
  TempDir dir;
  const std::string r = dir.Path() + "/";
  // Top level in order: a.wav, B/, C/, d.wav, E/, f.wav: the stop comes before C.
  MakeTree(dir.Path(), {"a.wav", "B/b.wav", "C/c.wav", "d.wav", "E/e.wav", "f.wav"});
  LocalSearch search(dir.Path(), ".wav");
  bool stop = false;
  int yields = 0;
  search.yield = [&] { stop = ++yields == 2; };
  search.stopRequested = [&] { return stop; };
  std::vector<std::pair<std::string, bool>> met;
  search.events.subfolder = [&](const std::string& f, bool queued) { met.emplace_back(f, queued); };
  EXPECT_EQ(Walk(search), (Paths{r + "a.wav", r + "d.wav", r + "f.wav"}));  // the files of the folder being read
  EXPECT_EQ(met, (std::vector<std::pair<std::string, bool>>{{r + "B/", true}, {r + "C/", false}, {r + "E/", false}}));
  EXPECT_EQ(search.Directories(), 4);  // the start and B, and those met after the stop
  EXPECT_EQ(search.Log(), (std::deque<std::string>{r, r + "E/", r + "C/", r + "B/"}));
  EXPECT_TRUE(search.Queue().empty());
}

TEST(LocalSearch, AFolderThatCannotBeListedAddsNothingAndTheWalkGoesOn) {
  TempDir dir;
  const std::string r = dir.Path() + "/";
  MakeTree(dir.Path(), {"A/a.wav", "B/b.wav", "C/c.wav"});
  LocalSearch search(dir.Path(), ".wav");
  // While the top folder is read, B disappears: it is queued, but cannot be listed.
  search.yield = [&] { std::filesystem::remove_all(dir / "B"); };
  EXPECT_EQ(Walk(search), (Paths{r + "C/c.wav", r + "A/a.wav"}));
  EXPECT_EQ(search.Directories(), 4);

  LocalSearch missing(dir / "no such folder", ".wav");
  EXPECT_TRUE(Walk(missing).empty());
  EXPECT_EQ(missing.Log().size(), 1u);
  EXPECT_EQ(missing.Directories(), 1);
}

TEST(LocalSearch, LinksToFilesAreListedButLinksToFoldersAreNotEntered) {
  TempDir dir;
  const std::string r = dir.Path() + "/";
  MakeTree(dir.Path(), {"real/a.wav"});
  ASSERT_EQ(::symlink((dir / "real/a.wav").c_str(), (dir / "real/link.wav").c_str()), 0);
  ASSERT_EQ(::symlink(dir.Path().c_str(), (dir / "real/up").c_str()), 0);  // would loop forever
  ASSERT_EQ(::symlink((dir / "gone.wav").c_str(), (dir / "real/dangling.wav").c_str()), 0);
  LocalSearch search(dir.Path(), ".wav");
  EXPECT_EQ(Walk(search), (Paths{r + "real/a.wav", r + "real/link.wav"}));
  EXPECT_EQ(search.Directories(), 2);
}

// A folder in memory where the system has one: 32,768 folders on a disk take seconds to make and
// remove.
class MemoryTempDir {
 public:
  MemoryTempDir() {
    const char* old = std::getenv("TMPDIR");
    if (old) saved_ = old;
    if (::access("/dev/shm", W_OK) == 0) ::setenv("TMPDIR", "/dev/shm", 1);
    dir_ = std::make_unique<TempDir>();
    if (old) {
      ::setenv("TMPDIR", saved_.c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }
  const TempDir& operator*() const { return *dir_; }

 private:
  std::string saved_;
  std::unique_ptr<TempDir> dir_;
};

TEST(LocalSearch, TheDirectoryCounterStopsAt32767) {
  MemoryTempDir memory;
  const TempDir& dir = *memory;
  for (int i = 0; i < 32770; ++i) std::filesystem::create_directory(dir / std::to_string(i));
  LocalSearch search(dir.Path(), ".wav");
  search.Run();
  EXPECT_EQ(search.Directories(), 32767);
  EXPECT_EQ(search.Log().size(), 32771u);  // every folder is still logged and read
}

TEST(LocalSearch, ANameOrderThatIgnoresCaseAndBreaksTiesByteByByte) {
  TempDir dir;
  MakeTree(dir.Path(), {"b", "B", "a", "\xC3\x84rger", "\xC3\xA4pfel", "C"});
  std::vector<FolderEntry> entries;
  ASSERT_TRUE(ListFolder(dir.Path(), entries));
  Paths names;
  for (const auto& e : entries) names.push_back(e.name);
  EXPECT_EQ(names, (Paths{"a", "B", "b", "C", "\xC3\xA4pfel", "\xC3\x84rger"}));
  EXPECT_FALSE(ListFolder(dir / "missing", entries));
}

}  // namespace
}  // namespace korvalin
