#include "platform/qt/TreeBinding.h"

#include <QHeaderView>
#include <QIcon>
#include <QTreeWidget>
#include <functional>
#include <unordered_set>

namespace korvalin {
namespace {

using controls::Property;
using controls::TreeNode;

constexpr int kNodeRole = Qt::UserRole + 1;

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
      break;
    case Property::Items: Rebuild(); break;
    case Property::ListIndex: ShowSelection(); break;
    case Property::Geometry:
    case Property::Visible:
    case Property::Enabled:
    default: break;
  }
  syncing_ = false;
}

QTreeWidgetItem* TreeBinding::AddItem(TreeNode& node) {
  QTreeWidgetItem* parent = node.Parent() ? ItemOf(node.Parent()) : nullptr;
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(widget_);
  item->setData(0, kNodeRole, QVariant::fromValue(static_cast<void*>(&node)));
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
