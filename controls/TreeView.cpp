#include "controls/TreeView.h"

#include <algorithm>
#include <unordered_set>

#include "common/RaisedError.h"

namespace korvalin::controls {
namespace {

// The tree control's own error numbers.
constexpr int32_t kIndexOutOfBounds = 35600;
constexpr int32_t kKeyNotUnique = 35602;
constexpr int32_t kCycle = 35614;

void CollectSubtree(TreeNode* node, std::unordered_set<const TreeNode*>& out) {
  out.insert(node);
  for (TreeNode* child : node->Children()) CollectSubtree(child, out);
}

}  // namespace

TreeNode& TreeView::Add(TreeNode* parent, std::string key, std::string text, int16_t image, int16_t selectedImage) {
  if (!key.empty() && keys_.count(key) != 0) throw RaisedError(kKeyNotUnique, "Key is not unique in collection");
  auto node = std::make_unique<TreeNode>();
  node->key_ = std::move(key);
  node->text_ = std::move(text);
  node->image_ = image;
  node->selectedImage_ = selectedImage;
  node->parent_ = parent;
  node->index_ = Count() + 1;
  TreeNode& added = *node;
  if (!added.key_.empty()) keys_.emplace(added.key_, &added);
  if (parent != nullptr) parent->children_.push_back(&added);
  nodes_.push_back(std::move(node));
  Notify(Property::ItemInserted, added.index_);
  return added;
}

TreeNode& TreeView::Nodes(int32_t position) const {
  if (position < 1 || position > Count()) throw RaisedError(kIndexOutOfBounds, "Index out of bounds");
  return *nodes_[static_cast<std::size_t>(position - 1)];
}

TreeNode* TreeView::Find(const std::string& key) const {
  auto it = keys_.find(key);
  return it == keys_.end() ? nullptr : it->second;
}

std::vector<TreeNode*> TreeView::All() const {
  std::vector<TreeNode*> all;
  all.reserve(nodes_.size());
  for (const auto& n : nodes_) all.push_back(n.get());
  return all;
}

void TreeView::Remove(TreeNode& node) {
  const int32_t position = node.index_;
  std::unordered_set<const TreeNode*> doomed;
  CollectSubtree(&node, doomed);
  if (node.parent_ != nullptr) {
    auto& siblings = node.parent_->children_;
    siblings.erase(std::find(siblings.begin(), siblings.end(), &node));
  }
  if (selected_ != nullptr && doomed.count(selected_) != 0) selected_ = nullptr;
  if (dropHighlight_ != nullptr && doomed.count(dropHighlight_) != 0) dropHighlight_ = nullptr;
  int32_t first = position;  // a node moved under a later one sits before it
  for (const TreeNode* n : doomed) {
    if (!n->key_.empty()) keys_.erase(n->key_);
    first = std::min(first, n->index_);
  }
  nodes_.erase(std::remove_if(nodes_.begin(), nodes_.end(), [&](const auto& n) { return doomed.count(n.get()) != 0; }),
               nodes_.end());
  Renumber(static_cast<std::size_t>(first - 1));
  Notify(Property::ItemRemoved, position);
}

void TreeView::Clear() {
  if (nodes_.empty()) return;
  nodes_.clear();
  keys_.clear();
  selected_ = nullptr;
  dropHighlight_ = nullptr;
  Notify(Property::Items);
}

void TreeView::SetText(TreeNode& node, std::string text) {
  if (node.text_ == text) return;
  node.text_ = std::move(text);
  Notify(Property::ItemChanged, node.index_);
}

void TreeView::SetExpanded(TreeNode& node, bool on) {
  if (node.expanded_ == on) return;
  node.expanded_ = on;
  Notify(Property::ItemChanged, node.index_);
}

void TreeView::EnsureVisible(TreeNode& node) {
  for (TreeNode* p = node.parent_; p != nullptr; p = p->parent_) SetExpanded(*p, true);
}

void TreeView::SetParent(TreeNode& node, TreeNode& parent) {
  for (const TreeNode* p = &parent; p != nullptr; p = p->parent_) {
    if (p == &node) throw RaisedError(kCycle, "This would introduce a cycle");
  }
  if (node.parent_ != nullptr) {
    auto& siblings = node.parent_->children_;
    siblings.erase(std::find(siblings.begin(), siblings.end(), &node));
  }
  node.parent_ = &parent;
  parent.children_.push_back(&node);
  Notify(Property::ItemChanged, node.index_);
}

void TreeView::SetSelectedItem(TreeNode* node) {
  if (node == selected_) return;
  selected_ = node;
  Notify(Property::ListIndex, node != nullptr ? node->index_ : -1);
}

void TreeView::SetDropHighlight(TreeNode* node) {
  if (node == dropHighlight_) return;
  TreeNode* was = dropHighlight_;
  dropHighlight_ = node;
  if (was != nullptr) Notify(Property::ItemChanged, was->index_);
  if (node != nullptr) Notify(Property::ItemChanged, node->index_);
}

bool TreeView::Contains(const TreeNode* node) const {
  // Compared by address only: a removed node's memory is gone.
  return node != nullptr && std::any_of(nodes_.begin(), nodes_.end(), [node](const auto& n) { return n.get() == node; });
}

bool TreeView::StartLabelEdit() {
  TreeNode* node = selected_;
  if (node == nullptr) return false;
  bool cancel = false;
  if (OnBeforeLabelEdit) OnBeforeLabelEdit(cancel);
  if (cancel || !Contains(node)) return false;
  LabelEditRequested.Emit(node);
  return true;
}

void TreeView::EndLabelEdit(TreeNode& node, std::string newText) {
  bool cancel = false;
  if (OnAfterLabelEdit) OnAfterLabelEdit(cancel, newText);
  if (!cancel && Contains(&node)) SetText(node, std::move(newText));
}

void TreeView::SetImageList(std::vector<std::string> pictures) {
  images_ = std::move(pictures);
  Notify(Property::Items);
}

void TreeView::Renumber(std::size_t from) {
  for (std::size_t i = from; i < nodes_.size(); ++i) nodes_[i]->index_ = static_cast<int32_t>(i + 1);
}

}  // namespace korvalin::controls
