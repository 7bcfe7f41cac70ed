#include "jobs/CollectionSelection.h"

#include <optional>

#include "common/FileKind.h"
#include "settings/PathHelpers.h"

namespace korvalin {
namespace {

// The first line of `list` whose file name is `name`.
std::optional<std::string> FindByName(const controls::ListBox& list, const std::string& name) {
  for (const std::string& line : list.Items()) {
    if (SplitPathName(line) == name) return line;
  }
  return std::nullopt;
}

}  // namespace

JobSelection SelectionOf(const CollectionTree& collection) {
  JobSelection s;
  s.tracks = collection.lstRecord.Items();
  s.trackIndex = collection.lstRecord.ListIndex();
  const controls::TreeNode* node = collection.TreeView1.SelectedItem();
  if (!node) return s;
  s.node = node->Text();
  for (const controls::TreeNode* child : node->Children()) s.nodeTracks.push_back(child->Text());
  const std::pair<const char*, const controls::ListBox*> groups[] = {{group::Wav, &collection.List1},
                                                                     {group::SelectedWav, &collection.List5},
                                                                     {group::Mp3, &collection.List2},
                                                                     {group::SelectedMp3, &collection.List4}};
  for (const auto& [text, list] : groups) {
    if (s.node == text) s.files = list->Items();
  }
  // One file's item: the file of that name the collection lists, the full list first.
  const controls::ListBox* lists[2] = {nullptr, nullptr};
  if (IsWavFile(s.node)) {
    lists[0] = &collection.List1;
    lists[1] = &collection.List5;
  } else if (IsMp3File(s.node)) {
    lists[0] = &collection.List2;
    lists[1] = &collection.List4;
  }
  if (lists[0] != nullptr && s.files.empty()) {
    const std::string name = SplitPathName(s.node);
    std::optional<std::string> path = FindByName(*lists[0], name);
    if (!path) path = FindByName(*lists[1], name);
    if (path) s.files.push_back(*path);
  }
  return s;
}

}  // namespace korvalin
