#pragma once
// A tree of nodes as a tree control holds it: each node has a key (unique in the tree, or
// empty), a text, an image and a selected image (positions in the tree's picture list, from
// 1), a parent and ordered children. The tree also numbers its nodes from 1 in the order they
// were added, closing the gap when one is removed.
//
// Changes are notified: ItemInserted and ItemChanged carry the node's position, ItemRemoved the
// position the removed node had (its whole subtree went with it), Items a cleared tree or a new
// picture list, ListIndex a new selected node. A node that gains or loses the drop highlight is
// notified as ItemChanged, since only its drawing changes.
//
// The view delivers the user's mouse work and label editing to the event slots below, with the
// node under the pointer already found; the form asks the view, through the signals, to open a
// label editor or to carry a drag.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "controls/Control.h"

namespace korvalin::controls {

class TreeNode {
 public:
  const std::string& Key() const { return key_; }
  const std::string& Text() const { return text_; }
  int16_t Image() const { return image_; }
  int16_t SelectedImage() const { return selectedImage_; }
  TreeNode* Parent() const { return parent_; }
  const std::vector<TreeNode*>& Children() const { return children_; }
  bool Expanded() const { return expanded_; }
  // The node's position in the tree, from 1.
  int32_t Index() const { return index_; }

 private:
  friend class TreeView;
  std::string key_;
  std::string text_;
  int16_t image_ = 0;
  int16_t selectedImage_ = 0;
  TreeNode* parent_ = nullptr;
  std::vector<TreeNode*> children_;
  bool expanded_ = false;
  int32_t index_ = 0;
};

class TreeView : public Control {
 public:
  using Control::Control;

  // Adds a node as the last child of `parent` (nullptr: a top-level node). A key that is in
  // the tree already raises "Key is not unique in collection" and adds nothing.
  TreeNode& Add(TreeNode* parent, std::string key, std::string text, int16_t image = 0, int16_t selectedImage = 0);

  int32_t Count() const { return static_cast<int32_t>(nodes_.size()); }
  // The node at a position from 1; another position raises "Index out of bounds".
  TreeNode& Nodes(int32_t position) const;
  // The node of a key, or nullptr.
  TreeNode* Find(const std::string& key) const;
  // The nodes in position order.
  std::vector<TreeNode*> All() const;

  // Removes the node with everything under it. Pointers to removed nodes are dangling.
  void Remove(TreeNode& node);
  void Remove(int32_t position) { Remove(Nodes(position)); }
  void Clear();

  void SetText(TreeNode& node, std::string text);
  void SetExpanded(TreeNode& node, bool on);
  // Unfolds every node above this one, so that it can be seen.
  void EnsureVisible(TreeNode& node);
  // Makes the node the last child of `parent`; a move under itself or its own subtree raises
  // "This would introduce a cycle".
  void SetParent(TreeNode& node, TreeNode& parent);

  TreeNode* SelectedItem() const { return selected_; }
  void SetSelectedItem(TreeNode* node);

  // The node drawn as the target of a drag, or nullptr.
  TreeNode* DropHighlight() const { return dropHighlight_; }
  void SetDropHighlight(TreeNode* node);

  // Whether the node is in the tree (a pointer kept across a removal may not be).
  bool Contains(const TreeNode* node) const;

  // Label editing of the selected node: the before-edit handler may cancel it; otherwise the view
  // is asked to open an editor. Returns whether it asked.
  bool StartLabelEdit();
  // The view's editor closed with a new text: the after-edit handler may cancel it (the node keeps
  // its text) or change the text that the node then takes.
  void EndLabelEdit(TreeNode& node, std::string newText);
  Signal<TreeNode*> LabelEditRequested;

  // The picture shown as the pointer while a node is dragged (a file of the picture folder).
  const std::string& DragIcon() const { return dragIcon_; }
  void SetDragIcon(std::string picture) { dragIcon_ = std::move(picture); }
  // Asks the view to carry a drag from now until the mouse button is released: pointer moves go
  // to OnDragOver instead of OnMouseMove, and the release over the tree to OnDragDrop.
  void BeginDrag() { DragRequested.Emit(); }
  Signal<> DragRequested;

  // Events the view delivers; the form installs its handlers here. Buttons: 1 left, 2 right,
  // 4 middle (for a move, the buttons held down); shift: 1 Shift, 2 Ctrl, 4 Alt. `node` is the
  // node under the pointer, or nullptr over empty space.
  std::function<void(int16_t button, int16_t shift, TreeNode* node)> OnMouseDown;
  std::function<void(int16_t button, int16_t shift, TreeNode* node)> OnMouseMove;
  std::function<void(int16_t button, int16_t shift, TreeNode* node)> OnMouseUp;
  Event OnDblClick;
  // During a drag: the node under the pointer at every move (nullptr once it leaves the tree),
  // and the node under the pointer when the button is released over the tree.
  std::function<void(TreeNode* target)> OnDragOver;
  std::function<void(TreeNode* target)> OnDragDrop;
  std::function<void(bool& cancel)> OnBeforeLabelEdit;
  std::function<void(bool& cancel, std::string& newString)> OnAfterLabelEdit;

  // The pictures the image numbers refer to: number 1 is the first.
  const std::vector<std::string>& ImageList() const { return images_; }
  void SetImageList(std::vector<std::string> pictures);

 private:
  void Renumber(std::size_t from);

  std::vector<std::unique_ptr<TreeNode>> nodes_;  // in position order
  std::unordered_map<std::string, TreeNode*> keys_;
  TreeNode* selected_ = nullptr;
  TreeNode* dropHighlight_ = nullptr;
  std::vector<std::string> images_;
  std::string dragIcon_;
};

}  // namespace korvalin::controls
