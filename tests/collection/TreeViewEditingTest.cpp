#include <gtest/gtest.h>

#include "collection/FileRename.h"
#include "common/RaisedError.h"
#include "controls/TreeView.h"
#include "tests/support/TempDir.h"

namespace korvalin {
namespace {

using controls::Change;
using controls::Property;
using controls::TreeNode;
using controls::TreeView;

TEST(TreeView, TheDropHighlightIsDrawnOnItsNodesAndGoesWithThem) {
  TreeView tree("TreeView1");
  TreeNode& root = tree.Add(nullptr, "r", "root");
  TreeNode& a = tree.Add(&root, "a", "A");
  TreeNode& b = tree.Add(&a, "b", "B");
  std::vector<std::pair<Property, int>> changes;
  auto c = tree.Changed.Connect([&](Change ch) { changes.emplace_back(ch.what, ch.index); });
  tree.SetDropHighlight(&b);
  tree.SetDropHighlight(&b);
  tree.SetDropHighlight(&root);
  tree.SetDropHighlight(&b);
  EXPECT_EQ(changes, (std::vector<std::pair<Property, int>>{
                         {Property::ItemChanged, 3}, {Property::ItemChanged, 3}, {Property::ItemChanged, 1},
                         {Property::ItemChanged, 1}, {Property::ItemChanged, 3}}));
  EXPECT_TRUE(tree.Contains(&b));
  tree.Remove(a);
  EXPECT_EQ(tree.DropHighlight(), nullptr);
  EXPECT_FALSE(tree.Contains(&b));
  EXPECT_FALSE(tree.Contains(nullptr));
  tree.SetDropHighlight(&root);
  tree.Clear();
  EXPECT_EQ(tree.DropHighlight(), nullptr);
}

TEST(TreeView, LabelEditingAsksBeforeAndAfter) {
  TreeView tree("TreeView1");
  TreeNode& root = tree.Add(nullptr, "r", "root");
  TreeNode& item = tree.Add(&root, "i", "a.wav");
  std::vector<TreeNode*> asked;
  auto c = tree.LabelEditRequested.Connect([&](TreeNode* n) { asked.push_back(n); });
  EXPECT_FALSE(tree.StartLabelEdit());  // nothing selected
  tree.SetSelectedItem(&item);
  EXPECT_TRUE(tree.StartLabelEdit());  // no handler: anything goes
  tree.OnBeforeLabelEdit = [&](bool& cancel) { cancel = tree.SelectedItem() == &root; };
  tree.SetSelectedItem(&root);
  EXPECT_FALSE(tree.StartLabelEdit());
  EXPECT_EQ(asked, std::vector<TreeNode*>{&item});

  // The after-edit handler may refuse the text, or change it.
  tree.OnAfterLabelEdit = [](bool& cancel, std::string& text) {
    if (text == "refused") cancel = true;
    if (text == "short") text = "short.wav";
  };
  tree.EndLabelEdit(item, "refused");
  EXPECT_EQ(item.Text(), "a.wav");
  tree.EndLabelEdit(item, "short");
  EXPECT_EQ(item.Text(), "short.wav");
  // A handler that removes the node leaves nothing to rename.
  tree.OnAfterLabelEdit = [&](bool&, std::string&) { tree.Remove(item); };
  tree.EndLabelEdit(item, "gone");
  EXPECT_EQ(tree.Count(), 1);
}

TEST(RenameFile, RenamesButNeverReplacesAnotherFile) {
  test::TempDir dir;
  test::WriteFile(dir / "a.wav", "aaa");
  test::WriteFile(dir / "b.wav", "bbbb");
  try {
    RenameFile(dir / "a.wav", dir / "b.wav");
    FAIL() << "a name in use was taken";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), errnum::FileAlreadyExists);
  }
  EXPECT_EQ(test::ReadFile(dir / "a.wav"), "aaa");
  EXPECT_EQ(test::ReadFile(dir / "b.wav"), "bbbb");
  RenameFile(dir / "a.wav", dir / "A.WAV");
  EXPECT_EQ(test::ReadFile(dir / "A.WAV"), "aaa");
  EXPECT_FALSE(test::Exists(dir / "a.wav"));
  try {
    RenameFile(dir / "a.wav", dir / "c.wav");
    FAIL() << "a missing file was renamed";
  } catch (const RaisedError& e) {
    EXPECT_EQ(e.Number(), errnum::FileNotFound);
  }
}

}  // namespace
}  // namespace korvalin
