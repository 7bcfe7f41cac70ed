#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collection/BackingLists.h"
#include "collection/CollectionTree.h"

namespace korvalin {
namespace {

using Texts = std::vector<std::string>;

TEST(NodeKind, ItemsByTheirTextGroupsByTheirItems) {
  struct Case {
    std::string text;
    EntryKind item;
    EntryKind node;
  };
  const std::vector<Case> cases{
      {"Track  3 - 01:05", EntryKind::Track, EntryKind::Track},
      {"Track.mp3", EntryKind::Track, EntryKind::Track},  // the track line wins over the name
      {"track  3 - 01:05", EntryKind::None, EntryKind::None},
      {"/music/Song.WAV", EntryKind::Wav, EntryKind::Wav},
      {"song.wav", EntryKind::Wav, EntryKind::Wav},
      {"/music/a.Mp3", EntryKind::Mp3, EntryKind::Mp3},
      {"notes.txt", EntryKind::None, EntryKind::None},
      {"songwav", EntryKind::None, EntryKind::None},  // no dot: no WAV file
      {"", EntryKind::None, EntryKind::None},
      {group::SelectedTracks, EntryKind::None, EntryKind::Track},
      {group::AvailableTracks, EntryKind::None, EntryKind::Track},
      {group::SelectedWav, EntryKind::None, EntryKind::Wav},
      {group::Wav, EntryKind::None, EntryKind::Wav},
      {group::SelectedMp3, EntryKind::None, EntryKind::Mp3},
      {group::Mp3, EntryKind::None, EntryKind::Mp3},
      {kRootText, EntryKind::None, EntryKind::None},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KindOfItem(c.text), c.item) << c.text;
    EXPECT_EQ(KindOfNode(c.text), c.node) << c.text;
  }
}

TEST(BackingLists, EntriesAreFoundRemovedAndPutInFrontExactly) {
  controls::ListBox list{"list"};
  controls::ListBox scratch{"scratch"};
  for (const char* e : {"a", "[a]", "b", "a", "c", "a"}) list.AddItem(e);

  EXPECT_EQ(IndexOf(list, "b"), 2);
  EXPECT_FALSE(Holds(list, "?"));  // compared as text, never as a pattern

  RemoveFirst(list, "a");
  EXPECT_EQ(list.Items(), (Texts{"[a]", "b", "a", "c", "a"}));

  int steps = 0;
  RemoveEvery(list, "a", [&] { ++steps; });
  EXPECT_EQ(list.Items(), (Texts{"[a]", "b", "c"}));
  EXPECT_EQ(steps, 5);  // one step for every entry looked at, removed or kept

  PutInFront(list, "z", scratch);
  EXPECT_EQ(list.Items(), (Texts{"z", "[a]", "b", "c"}));
  RemoveFirst(list, "missing");
  EXPECT_EQ(list.ListCount(), 4);
}

}  // namespace
}  // namespace korvalin
