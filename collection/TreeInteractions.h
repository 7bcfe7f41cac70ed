#pragma once
// The user's mouse work on the collection tree. A press picks the node the next action processes
// (and, for tracks, the tracks the next extraction takes); a double-click, or a drag dropped on
// the partner group, moves an item between its available group and its selected group, and its
// entry between the backing lists; a right press opens the tree's pop-up menu, whose commands take
// an item out of the collection or delete its file; editing a file item's text renames the file.
//
// Dragging moves nothing until the drop: passing over groups only highlights them, and the drop
// moves the item once, into the highlighted group when that group is the item's partner. So the
// backing lists always agree with the group an item ends in.

#include <cstdint>
#include <string>

#include "controls/MenuItem.h"
#include "controls/TreeView.h"
#include "collection/CollectionTree.h"
#include "platform/EventLoop.h"

namespace korvalin {

class TreeInteractions {
 public:
  // The pointer's picture while an item is dragged (a file of the picture folder).
  static constexpr const char* kDragPicture = "tree-drag.svg";

  // Installs the handlers on the tree's events and on the pop-up menu and its two remove
  // commands; "Start!" is the main window's.
  TreeInteractions(CollectionTree& collection, EventLoop& loop, CollectionHost& host, controls::MenuItem& mnupopup,
                   controls::MenuItem& mnuStart2,
                   controls::MenuItem& mnuFileRemove, controls::MenuItem& mnuRemoveDelete);
  ~TreeInteractions();
  TreeInteractions(const TreeInteractions&) = delete;
  TreeInteractions& operator=(const TreeInteractions&) = delete;

  // The node under the pointer at the last press; none after a drop, or once it left the tree.
  controls::TreeNode* PressedNode = nullptr;
  // The kind of PressedNode (as CollectionTree::NodeKind), taken when a drag may start and when
  // the pop-up opens; 0 after a drop.
  int16_t PressedNodeKind = 0;
  // The node under the pointer at the previous drag-over of the current drag.
  controls::TreeNode* LastDropTarget = nullptr;

  // --- events of the tree ---
  // Selects the node; the right button opens the pop-up menu; otherwise the node becomes the
  // next action's, a track or a track group decides lstRecord, and a file item's label opens for
  // editing.
  void TreeView1_MouseDown(int16_t button, int16_t shift, controls::TreeNode* node);
  // With only the left button down, an item starts a drag.
  void TreeView1_MouseMove(int16_t button, int16_t shift, controls::TreeNode* node);
  // The highlighted node becomes the selected one; a track line sets CurrentTrack.
  void TreeView1_MouseUp(int16_t button, int16_t shift, controls::TreeNode* node);
  // Moves the pressed item to its partner group.
  void TreeView1_DblClick();
  // Highlights a group (or, for tracks, a track item) the dragged item may be dropped on.
  void TreeView1_DragOver(controls::TreeNode* target);
  // Moves the dragged item when the highlighted node is in its partner group; ends the drag.
  void TreeView1_DragDrop(controls::TreeNode* target);
  // Only WAV and MP3 items can be renamed.
  void TreeView1_BeforeLabelEdit(bool& cancel);
  // Renames the file in its folder and its list entry; a refused rename reopens the editor and
  // changes nothing.
  void TreeView1_AfterLabelEdit(bool& cancel, std::string& newString);

  // --- the pop-up menu ---
  // Enables "Start!" over a node, and the two remove commands over a WAV or MP3 item.
  void mnupopup_Click();
  // Takes the pressed item's node and its list entry out of the collection; the file stays.
  void mnuFileRemove_Click();
  // Takes the pressed item out of the collection and deletes its file, without asking.
  void mnuRemoveDelete_Click();

 private:
  // The pressed node's text when it names a WAV or MP3 file, after a yield and with its node
  // taken off the tree; "" (nothing done) otherwise.
  std::string TakePressedFileOffTree();
  struct ItemKind;
  static const ItemKind* KindOf(const std::string& text);
  // The group an item moves to, or nullptr when it has none.
  controls::TreeNode* PartnerOf(const controls::TreeNode& item) const;
  // Moves an item to its partner group: lists first, then the tree.
  void Move(controls::TreeNode& item);
  void RebuildAvailableTracks();
  // Renames the file a node names to `name` (a bare file name) in its own folder.
  void RenameFileOf(const std::string& nodeText, const std::string& name);
  void ForgetRemovedNodes();

  CollectionHost& host_;
  EventLoop& loop_;
  CollectionTree& collection_;
  controls::TreeView& tree_;
  controls::MenuItem& mnupopup_;
  controls::MenuItem& mnuStart2_;
  controls::MenuItem& mnuFileRemove_;
  controls::MenuItem& mnuRemoveDelete_;
  controls::Connection treeChanges_;
};

}  // namespace korvalin
