#include "controls/TreeView.h"

#include <gtest/gtest.h>

#include "common/RaisedError.h"

namespace korvalin {
namespace {

using controls::Change;
using controls::Property;
using controls::TreeNode;
using controls::TreeView;

int32_t ErrorNumber(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const RaisedError& e) {
    return e.Number();
  }
  return 0;
}

std::vector<std::string> Keys(const TreeView& tree) {
  std::vector<std::string> keys;
  for (const TreeNode* n : tree.All()) keys.push_back(n->Key() + "@" + std::to_string(n->Index()));
  return keys;
}

TEST(TreeView, PositionsFollowAdditionAndCloseUpWhenASubtreeGoes) {
  TreeView tree("TreeView1");
  std::vector<std::pair<Property, int>> changes;
  auto c = tree.Changed.Connect([&](Change ch) { changes.emplace_back(ch.what, ch.index); });
  TreeNode& root = tree.Add(nullptr, "r", "root", 1, 4);
  TreeNode& a = tree.Add(&root, "a", "A");
  tree.Add(&a, "a1", "A1");
  TreeNode& b = tree.Add(&root, "b", "B");
  tree.Add(&a, "a2", "A2");
  EXPECT_EQ(Keys(tree), (std::vector<std::string>{"r@1", "a@2", "a1@3", "b@4", "a2@5"}));
  EXPECT_EQ(root.Children(), (std::vector<TreeNode*>{&a, &b}));
  EXPECT_EQ(root.Image(), 1);
  EXPECT_EQ(root.SelectedImage(), 4);

  changes.clear();
  tree.SetSelectedItem(&tree.Nodes(5));
  tree.Remove(2);  // A with A1 and A2
  EXPECT_EQ(Keys(tree), (std::vector<std::string>{"r@1", "b@2"}));
  EXPECT_EQ(tree.Find("a1"), nullptr);
  EXPECT_EQ(tree.SelectedItem(), nullptr);  // the selected node went with its subtree
  EXPECT_EQ(root.Children(), std::vector<TreeNode*>{&b});
  EXPECT_EQ(changes, (std::vector<std::pair<Property, int>>{{Property::ListIndex, 5}, {Property::ItemRemoved, 2}}));
  tree.Add(&root, "a", "A again");  // its key is free again
  EXPECT_EQ(tree.Nodes(3).Text(), "A again");
}

TEST(TreeView, KeysAreUniqueAndPositionsChecked) {
  TreeView tree("TreeView1");
  TreeNode& root = tree.Add(nullptr, "r", "root");
  EXPECT_EQ(ErrorNumber([&] { tree.Add(&root, "r", "again"); }), 35602);
  EXPECT_EQ(tree.Count(), 1);
  tree.Add(&root, "", "no key");
  tree.Add(&root, "", "no key either");
  EXPECT_EQ(tree.Count(), 3);
  EXPECT_EQ(ErrorNumber([&] { tree.Nodes(0); }), 35600);
  EXPECT_EQ(ErrorNumber([&] { tree.Nodes(4); }), 35600);
  EXPECT_EQ(ErrorNumber([&] { tree.Remove(4); }), 35600);
}

TEST(TreeView, MovesAndVisibility) {
  TreeView tree("TreeView1");
  TreeNode& root = tree.Add(nullptr, "r", "root");
  TreeNode& g1 = tree.Add(&root, "g1", "G1");
  TreeNode& g2 = tree.Add(&root, "g2", "G2");
  TreeNode& item = tree.Add(&g1, "p", "item");
  TreeNode& deep = tree.Add(&item, "d", "deep");
  tree.EnsureVisible(deep);
  EXPECT_TRUE(root.Expanded());
  EXPECT_TRUE(g1.Expanded());
  EXPECT_TRUE(item.Expanded());
  EXPECT_FALSE(deep.Expanded());
  EXPECT_FALSE(g2.Expanded());

  tree.SetParent(item, g2);
  EXPECT_TRUE(g1.Children().empty());
  EXPECT_EQ(g2.Children(), std::vector<TreeNode*>{&item});
  EXPECT_EQ(item.Parent(), &g2);
  EXPECT_EQ(ErrorNumber([&] { tree.SetParent(g2, deep); }), 35614);  // under its own subtree
  EXPECT_EQ(g2.Parent(), &root);

  // A node moved under a later one: removing the later one takes it along and renumbers all.
  tree.SetParent(g1, deep);
  tree.Remove(g2);
  EXPECT_EQ(Keys(tree), std::vector<std::string>{"r@1"});
  tree.Clear();
  EXPECT_EQ(tree.Count(), 0);
}

}  // namespace
}  // namespace korvalin
