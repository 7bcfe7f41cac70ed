#pragma once
// Shows a toolkit-free tree control in a QTreeWidget and keeps the two in step: nodes added,
// removed, renamed, moved, folded and unfolded, the selected node, the drop highlight and the
// pictures. The user's choice of a node, and his folding and unfolding, go back to the control.
//
// The user's mouse work reaches the control's events with the node under the pointer: presses,
// moves, releases and double-clicks; while a drag that the control began is carried, moves and
// the release become drag-over and drop, under the control's drag pointer. Label editors open
// when the control asks and hand their text to it when they close; nothing else edits a label.

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QTimer>
#include <string>
#include <unordered_map>
#include <vector>

#include "controls/TreeView.h"

class QEvent;
class QMouseEvent;
class QTreeWidget;
class QTreeWidgetItem;

namespace korvalin {

class TreeBinding : public QObject {
 public:
  // `pictureFolder`: where the file names of the tree's picture list are found.
  TreeBinding(QTreeWidget* widget, controls::TreeView& tree, std::string pictureFolder);
  ~TreeBinding() override;

  // The node an item shows, or nullptr.
  controls::TreeNode* NodeOf(QTreeWidgetItem* item) const;
  QTreeWidgetItem* ItemOf(const controls::TreeNode* node) const;
  // Whether a drag begun by the control is being carried.
  bool Dragging() const { return dragging_; }

  // An item editor closed with this text (called by the binding's item delegate).
  void CommitLabel(controls::TreeNode* node, const std::string& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  controls::TreeNode* NodeAt(const QPoint& viewportPos) const;
  // Whether the point lies left of a node, on its branch sign or indentation.
  bool OnBranch(const QPoint& viewportPos) const;
  bool MousePressed(QMouseEvent* event);
  bool MouseMoved(QMouseEvent* event);
  bool MouseReleased(QMouseEvent* event);
  void BeginDrag();
  void EndDrag();
  void RequestLabelEdit(controls::TreeNode* node);
  void OpenPendingEditor();
  void OnChange(controls::Change change);
  void Rebuild();
  QTreeWidgetItem* AddItem(controls::TreeNode& node);
  void Update(controls::TreeNode& node);
  void DropRemovedItems();
  void ShowSelection();

  QTreeWidget* widget_;
  QObject* viewport_ = nullptr;  // where the mouse work arrives
  controls::TreeView& tree_;
  std::string pictureFolder_;
  std::unordered_map<const controls::TreeNode*, QTreeWidgetItem*> items_;
  std::vector<QIcon> icons_;                        // the picture list, loaded once
  controls::TreeNode* shownSelected_ = nullptr;     // the node shown with its selected picture
  bool syncing_ = false;  // the widget is being changed from the control: no echo back
  bool inPress_ = false;  // a press is being delivered to the control
  bool dragging_ = false;
  bool pressMoved_ = false;  // the pointer has left the press's drag distance
  bool folding_ = false;     // the last press was on a branch sign: the widget's, not the control's
  QPoint pressAt_;
  QTimer editTimer_;  // opens the requested editor, once a double-click can no longer come
  controls::TreeNode* editNode_ = nullptr;
  controls::Connection connection_;
  controls::Connection editConnection_;
  controls::Connection dragConnection_;
};

}  // namespace korvalin
