#pragma once
// Shows a toolkit-free tree control in a QTreeWidget and keeps the two in step: nodes added,
// removed, renamed, moved, folded and unfolded, the selected node, and the pictures. The user's
// choice of a node, and his folding and unfolding, go back to the control.

#include <QIcon>
#include <QObject>
#include <string>
#include <unordered_map>
#include <vector>

#include "controls/TreeView.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace korvalin {

class TreeBinding : public QObject {
 public:
  // `pictureFolder`: where the file names of the tree's picture list are found.
  TreeBinding(QTreeWidget* widget, controls::TreeView& tree, std::string pictureFolder);

  // The node an item shows, or nullptr.
  controls::TreeNode* NodeOf(QTreeWidgetItem* item) const;
  QTreeWidgetItem* ItemOf(const controls::TreeNode* node) const;

 private:
  void OnChange(controls::Change change);
  void Rebuild();
  QTreeWidgetItem* AddItem(controls::TreeNode& node);
  void Update(controls::TreeNode& node);
  void DropRemovedItems();
  void ShowSelection();

  QTreeWidget* widget_;
  controls::TreeView& tree_;
  std::string pictureFolder_;
  std::unordered_map<const controls::TreeNode*, QTreeWidgetItem*> items_;
  std::vector<QIcon> icons_;                        // the picture list, loaded once
  controls::TreeNode* shownSelected_ = nullptr;     // the node shown with its selected picture
  bool syncing_ = false;  // the widget is being changed from the control: no echo back
  controls::Connection connection_;
};

}  // namespace korvalin
