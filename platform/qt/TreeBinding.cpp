#include "platform/qt/TreeBinding.h"

#include <QApplication>
#include <QCursor>
#include <QHeaderView>
#include <QIcon>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <functional>
#include <unordered_set>

#include "platform/qt/Safely.h"

namespace korvalin {
namespace {

using controls::Property;
using controls::TreeNode;

constexpr int kNodeRole = Qt::UserRole + 1;
constexpr int kDragPointerSize = 32;  // pixels


int16_t ButtonsOf(Qt::MouseButtons buttons) {
  return static_cast<int16_t>((buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
                              (buttons & Qt::MiddleButton ? 4 : 0));
}

int16_t ShiftOf(Qt::KeyboardModifiers modifiers) {
  return static_cast<int16_t>((modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
                              (modifiers & Qt::AltModifier ? 4 : 0));
}

// Hands an editor's text to the control instead of writing it into the item: the control
// decides what the node's text becomes, and the binding shows that.
class LabelDelegate : public QStyledItemDelegate {
 public:
  LabelDelegate(TreeBinding* binding, QObject* parent) : QStyledItemDelegate(parent), binding_(binding) {}

  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    const auto* line = qobject_cast<QLineEdit*>(editor);
    if (line == nullptr) return;
    binding_->CommitLabel(static_cast<TreeNode*>(index.data(kNodeRole).value<void*>()), line->text().toStdString());
  }

 private:
  TreeBinding* binding_;
};

}  // namespace

TreeBinding::TreeBinding(QTreeWidget* widget, controls::TreeView& tree, std::string pictureFolder)
    : QObject(widget), widget_(widget), tree_(tree), pictureFolder_(std::move(pictureFolder)) {
  widget_->setColumnCount(1);
  widget_->setHeaderHidden(true);
  widget_->setSelectionMode(QAbstractItemView::SingleSelection);
  Rebuild();
  connection_ = tree_.Changed.Connect([this](controls::Change c) { OnChange(c); });
  QObject::connect(widget_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (!syncing_) tree_.SetSelectedItem(NodeOf(item));
  });
  auto fold = [this](QTreeWidgetItem* item, bool on) {
    if (syncing_) return;
    if (TreeNode* node = NodeOf(item)) {
      syncing_ = true;
      tree_.SetExpanded(*node, on);
      syncing_ = false;
    }
  };
  QObject::connect(widget_, &QTreeWidget::itemExpanded, this, [fold](QTreeWidgetItem* item) { fold(item, true); });
  QObject::connect(widget_, &QTreeWidget::itemCollapsed, this, [fold](QTreeWidgetItem* item) { fold(item, false); });

  // Mouse work and label editing go to the control.
  widget_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  widget_->setItemDelegate(new LabelDelegate(this, widget_));
  viewport_ = widget_->viewport();
  viewport_->installEventFilter(this);
  editTimer_.setSingleShot(true);
  QObject::connect(&editTimer_, &QTimer::timeout, this, [this] { OpenPendingEditor(); });
  editConnection_ = tree_.LabelEditRequested.Connect([this](TreeNode* node) { RequestLabelEdit(node); });
  dragConnection_ = tree_.DragRequested.Connect([this] { BeginDrag(); });
}

TreeBinding::~TreeBinding() {
  if (dragging_) EndDrag();
}

TreeNode* TreeBinding::NodeAt(const QPoint& viewportPos) const { return NodeOf(widget_->itemAt(viewportPos)); }

bool TreeBinding::eventFilter(QObject* watched, QEvent* event) {
  // Compared with the viewport met at the start: while the widget is being destroyed it is no
  // longer a tree widget to ask.
  if (watched != viewport_) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: return MousePressed(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove: return MouseMoved(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease: return MouseReleased(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonDblClick:
      if (OnBranch(static_cast<QMouseEvent*>(event)->position().toPoint())) return false;  // folding twice
      // The second press of a double-click: the control's double-click alone, and no editor
      // from the first press. Qt's own handling would select whatever the move left under the
      // pointer.
      editTimer_.stop();
      editNode_ = nullptr;
      Safely([&] { controls::Fire(tree_.OnDblClick); });
      return true;
    default: return false;
  }
}

bool TreeBinding::MousePressed(QMouseEvent* event) {
  if (dragging_) EndDrag();  // a drag whose release never arrived
  editTimer_.stop();
  editNode_ = nullptr;
  pressAt_ = event->position().toPoint();
  pressMoved_ = false;
  // The branch sign and the indentation left of a node are the widget's own: a press there
  // folds or unfolds and is no press on a node.
  folding_ = OnBranch(pressAt_);
  if (folding_) return false;
  if (tree_.OnMouseDown) {
    inPress_ = true;
    Safely([&] { tree_.OnMouseDown(ButtonsOf(event->button()), ShiftOf(event->modifiers()), NodeAt(pressAt_)); });
    inPress_ = false;
  }
  return false;  // Qt goes on: its current item follows
}

bool TreeBinding::OnBranch(const QPoint& viewportPos) const {
  QTreeWidgetItem* item = widget_->itemAt(viewportPos);
  return item != nullptr && viewportPos.x() < widget_->visualItemRect(item).left();
}

bool TreeBinding::MouseMoved(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (dragging_) {
    TreeNode* target = widget_->viewport()->rect().contains(at) ? NodeAt(at) : nullptr;
    if (tree_.OnDragOver) Safely([&] { tree_.OnDragOver(target); });
    return true;
  }
  const int16_t buttons = ButtonsOf(event->buttons());
  if (buttons != 0 && folding_) return true;
  if (buttons == 0) {
    if (tree_.OnMouseMove) Safely([&] { tree_.OnMouseMove(0, ShiftOf(event->modifiers()), NodeAt(at)); });
    return false;
  }
  // With a button held, the pointer must leave the platform's drag distance before a move
  // counts, so that a shaky click stays a click. Qt's own selecting by dragging stays off: the
  // control decides the selection.
  if (!pressMoved_) {
    if ((at - pressAt_).manhattanLength() < QApplication::startDragDistance()) return true;
    pressMoved_ = true;
  }
  if (tree_.OnMouseMove) Safely([&] { tree_.OnMouseMove(buttons, ShiftOf(event->modifiers()), NodeAt(at)); });
  if (dragging_ && tree_.OnDragOver) {
    TreeNode* target = NodeAt(at);
    Safely([&] { tree_.OnDragOver(target); });
  }
  return true;
}

bool TreeBinding::MouseReleased(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (dragging_) {
    const bool overTree = widget_->viewport()->rect().contains(at);
    TreeNode* target = overTree ? NodeAt(at) : nullptr;
    EndDrag();
    if (overTree && tree_.OnDragDrop) Safely([&] { tree_.OnDragDrop(target); });
    return false;  // Qt ends its own press
  }
  if (folding_) return false;
  if (tree_.OnMouseUp) {
    Safely([&] { tree_.OnMouseUp(ButtonsOf(event->button()), ShiftOf(event->modifiers()), NodeAt(at)); });
  }
  return false;
}

void TreeBinding::BeginDrag() {
  if (dragging_) return;
  dragging_ = true;
  editTimer_.stop();
  editNode_ = nullptr;
  const QIcon picture(QString::fromStdString(pictureFolder_ + "/" + tree_.DragIcon()));
  const QPixmap pixmap = tree_.DragIcon().empty() ? QPixmap() : picture.pixmap(kDragPointerSize, kDragPointerSize);
  // The picture's arrow points at its top left corner.
  QApplication::setOverrideCursor(pixmap.isNull() ? QCursor(Qt::DragMoveCursor) : QCursor(pixmap, 1, 1));
}

void TreeBinding::EndDrag() {
  dragging_ = false;
  QApplication::restoreOverrideCursor();
}

void TreeBinding::RequestLabelEdit(TreeNode* node) {
  editNode_ = node;
  // Asked from a press: wait until a double-click can no longer come, so that a double-click
  // still reaches the tree and not the editor.
  editTimer_.start(inPress_ ? QApplication::doubleClickInterval() : 0);
}

void TreeBinding::OpenPendingEditor() {
  QTreeWidgetItem* item = ItemOf(editNode_);
  editNode_ = nullptr;
  if (item == nullptr || dragging_) return;
  widget_->editItem(item, 0);
}

void TreeBinding::CommitLabel(TreeNode* node, const std::string& text) {
  if (ItemOf(node) == nullptr) return;  // the node went while its label was edited
  Safely([&] { tree_.EndLabelEdit(*node, text); });
}

TreeNode* TreeBinding::NodeOf(QTreeWidgetItem* item) const {
  if (item == nullptr) return nullptr;
  auto* node = static_cast<TreeNode*>(item->data(0, kNodeRole).value<void*>());
  // The item may outlive its node for a moment: trust only nodes still in the map.
  auto it = items_.find(node);
  return it != items_.end() && it->second == item ? node : nullptr;
}

QTreeWidgetItem* TreeBinding::ItemOf(const TreeNode* node) const {
  auto it = items_.find(node);
  return it == items_.end() ? nullptr : it->second;
}

void TreeBinding::OnChange(controls::Change change) {
  if (syncing_) return;
  syncing_ = true;
  switch (change.what) {
    case Property::ItemInserted: AddItem(tree_.Nodes(change.index)); break;
    case Property::ItemChanged: Update(tree_.Nodes(change.index)); break;
    case Property::ItemRemoved:
      if (ItemOf(shownSelected_) == nullptr || tree_.SelectedItem() != shownSelected_) shownSelected_ = nullptr;
      DropRemovedItems();
      if (!tree_.Contains(editNode_)) editNode_ = nullptr;
      break;
    case Property::Items:
      editNode_ = nullptr;
      Rebuild();
      break;
    case Property::ListIndex: ShowSelection(); break;
    case Property::Geometry:
    case Property::Visible:
    case Property::Enabled:
    default: break;
  }
  // Taking an item out of the widget (a move, a removal) makes Qt choose another current item:
  // the control's selection stays what it was.
  QTreeWidgetItem* selected = ItemOf(tree_.SelectedItem());
  if (widget_->currentItem() != selected) widget_->setCurrentItem(selected);
  syncing_ = false;
}

QTreeWidgetItem* TreeBinding::AddItem(TreeNode& node) {
  QTreeWidgetItem* parent = node.Parent() ? ItemOf(node.Parent()) : nullptr;
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(widget_);
  item->setData(0, kNodeRole, QVariant::fromValue(static_cast<void*>(&node)));
  item->setFlags(item->flags() | Qt::ItemIsEditable);  // only the control opens an editor
  items_[&node] = item;
  Update(node);
  return item;
}

void TreeBinding::Update(TreeNode& node) {
  QTreeWidgetItem* item = ItemOf(&node);
  if (!item) return;
  item->setText(0, QString::fromStdString(node.Text()));
  const bool selected = tree_.SelectedItem() == &node;
  const int16_t image = selected && node.SelectedImage() > 0 ? node.SelectedImage() : node.Image();
  if (image >= 1 && static_cast<std::size_t>(image) <= icons_.size()) item->setIcon(0, icons_[static_cast<std::size_t>(image - 1)]);
  // A node moved to another parent goes to the end of its new parent's children.
  QTreeWidgetItem* wanted = node.Parent() ? ItemOf(node.Parent()) : nullptr;
  if (item->parent() != wanted) {
    QTreeWidgetItem* from = item->parent();
    if (from) {
      from->removeChild(item);
    } else {
      widget_->takeTopLevelItem(widget_->indexOfTopLevelItem(item));
    }
    if (wanted) {
      wanted->addChild(item);
    } else {
      widget_->addTopLevelItem(item);
    }
  }
  item->setExpanded(node.Expanded());
  if (tree_.DropHighlight() == &node) {
    QColor tint = widget_->palette().color(QPalette::Highlight);
    tint.setAlpha(96);
    item->setBackground(0, tint);
  } else {
    item->setBackground(0, QBrush());
  }
}

void TreeBinding::DropRemovedItems() {
  std::unordered_set<const TreeNode*> alive;
  for (TreeNode* n : tree_.All()) alive.insert(n);
  for (auto it = items_.begin(); it != items_.end();) {
    if (alive.count(it->first) == 0) {
      it = items_.erase(it);
    } else {
      ++it;
    }
  }
  // Delete the items whose node is gone, top-most first (children go with their parent).
  std::vector<QTreeWidgetItem*> doomed;
  std::function<void(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* item) {
    auto* node = static_cast<TreeNode*>(item->data(0, kNodeRole).value<void*>());
    if (alive.count(node) == 0 || ItemOf(node) != item) {
      doomed.push_back(item);
      return;
    }
    for (int i = 0; i < item->childCount(); ++i) walk(item->child(i));
  };
  for (int i = 0; i < widget_->topLevelItemCount(); ++i) walk(widget_->topLevelItem(i));
  for (QTreeWidgetItem* item : doomed) delete item;
}

void TreeBinding::Rebuild() {
  widget_->clear();
  items_.clear();
  icons_.clear();
  for (const auto& picture : tree_.ImageList()) icons_.emplace_back(QString::fromStdString(pictureFolder_ + "/" + picture));
  // Top-level nodes in position order, each followed by its children in their own order.
  std::function<void(TreeNode&)> add = [&](TreeNode& node) {
    AddItem(node);
    for (TreeNode* child : node.Children()) add(*child);
  };
  for (TreeNode* node : tree_.All()) {
    if (node->Parent() == nullptr) add(*node);
  }
  for (TreeNode* node : tree_.All()) Update(*node);  // unfold once every child is in place
  ShowSelection();
}

void TreeBinding::ShowSelection() {
  TreeNode* selected = tree_.SelectedItem();
  widget_->setCurrentItem(ItemOf(selected));
  // The selected picture follows the selection.
  if (shownSelected_ != nullptr && ItemOf(shownSelected_) != nullptr) Update(*shownSelected_);
  if (selected != nullptr) Update(*selected);
  shownSelected_ = selected;
}

}  // namespace korvalin
