// Tree model. The pre-order is kept as a lazily extended prefix: a scan that visits nodes by
// increasing absolute index and appends children to the node just visited only ever extends it,
// so both the visit and the append stay O(1) amortised however large the tree grows.
#include "toolkit/core/treeview.h"

#include <cassert>

namespace toolkit {

TreeView::TreeView(std::string name, Control* parent, const TreeViewCreateArgs& args)
    : Control(std::move(name), parent), args_(args) {}

TreeViewPeer* TreeView::TreePeer() const { return dynamic_cast<TreeViewPeer*>(Peer()); }

void TreeView::Clear() {
  nodes_.clear();
  data_.Clear();
  order_.clear();
  lastRoot_ = kNoNode;
  selected_ = kNoNode;
  if (TreeViewPeer* peer = TreePeer()) peer->Cleared();
}

NodeId TreeView::LastInSubtree(NodeId node) const {
  while (nodes_[node].lastChild != kNoNode) {
    node = nodes_[node].lastChild;
    ++orderWork_;
  }
  return node;
}

void TreeView::BeforeAppendAfter(NodeId last) {
  // The new node goes directly after `last` in pre-order. Only when `last` sits inside the
  // known prefix with more known nodes behind it does the prefix stop being the true order.
  const int32_t p = nodes_[last].absoluteIndex;
  if (p >= 0 && p + 1 < static_cast<int32_t>(order_.size()) && order_[p] == last) {
    TruncateOrder(p + 1);
  }
}

NodeId TreeView::AddRoot(const std::string& text) {
  if (lastRoot_ != kNoNode) BeforeAppendAfter(LastInSubtree(lastRoot_));
  const NodeId id = static_cast<NodeId>(nodes_.size());
  nodes_.push_back(Node{text, kNoNode, kNoNode, kNoNode, kNoNode, -1});
  if (lastRoot_ != kNoNode) nodes_[lastRoot_].nextSibling = id;
  lastRoot_ = id;
  if (TreeViewPeer* peer = TreePeer()) peer->NodeAdded(id);
  return id;
}

NodeId TreeView::AddChild(NodeId parent, const std::string& text) {
  assert(parent >= 0 && parent < Count());
  BeforeAppendAfter(LastInSubtree(parent));
  const NodeId id = static_cast<NodeId>(nodes_.size());
  nodes_.push_back(Node{text, parent, kNoNode, kNoNode, kNoNode, -1});
  Node& p = nodes_[parent];
  if (p.lastChild == kNoNode) {
    p.firstChild = id;
  } else {
    nodes_[p.lastChild].nextSibling = id;
  }
  p.lastChild = id;
  if (TreeViewPeer* peer = TreePeer()) peer->NodeAdded(id);
  return id;
}

NodeId TreeView::NextInOrder(NodeId node) const {
  if (nodes_[node].firstChild != kNoNode) return nodes_[node].firstChild;
  for (NodeId n = node; n != kNoNode; n = nodes_[n].parent) {
    ++orderWork_;
    if (nodes_[n].nextSibling != kNoNode) return nodes_[n].nextSibling;
  }
  return kNoNode;
}

void TreeView::ExtendOrder(int index) {
  if (nodes_.empty()) return;
  if (order_.empty()) {
    nodes_[0].absoluteIndex = 0;
    order_.push_back(0);
  }
  while (static_cast<int>(order_.size()) <= index) {
    const NodeId next = NextInOrder(order_.back());
    if (next == kNoNode) return;
    nodes_[next].absoluteIndex = static_cast<int32_t>(order_.size());
    order_.push_back(next);
    ++orderWork_;
  }
}

void TreeView::TruncateOrder(int p) {
  for (size_t i = static_cast<size_t>(p); i < order_.size(); ++i) {
    nodes_[order_[i]].absoluteIndex = -1;
  }
  order_.resize(static_cast<size_t>(p));
}

NodeId TreeView::NodeAt(int absoluteIndex) {
  if (absoluteIndex < 0 || absoluteIndex >= Count()) return kNoNode;
  ExtendOrder(absoluteIndex);
  return absoluteIndex < static_cast<int>(order_.size()) ? order_[absoluteIndex] : kNoNode;
}

int TreeView::AbsoluteIndex(NodeId node) {
  if (node < 0 || node >= Count()) return -1;
  ExtendOrder(0);
  // Every node is in the pre-order, so walking on from the known end reaches it.
  while (nodes_[node].absoluteIndex < 0) {
    const int before = static_cast<int>(order_.size());
    ExtendOrder(before);
    if (static_cast<int>(order_.size()) == before) return -1;
  }
  return nodes_[node].absoluteIndex;
}

void TreeView::Select(NodeId node) {
  selected_ = node;
  if (TreeViewPeer* peer = TreePeer()) peer->SelectionChanged();
}

void TreeView::BeginUpdate() {
  if (updateDepth_++ == 0) {
    if (TreeViewPeer* peer = TreePeer()) peer->UpdatingChanged(true);
  }
}

void TreeView::EndUpdate() {
  assert(updateDepth_ > 0);
  if (updateDepth_ == 0) return;
  if (--updateDepth_ == 0) {
    if (TreeViewPeer* peer = TreePeer()) peer->UpdatingChanged(false);
  }
}

void TreeView::SetData(NodeId node, std::string data) {
  assert(node >= 0 && node < Count());
  if (node >= 0 && node < Count()) data_.Set(node, std::move(data));
}

}  // namespace toolkit
