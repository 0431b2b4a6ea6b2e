// Tree model: nodes of text in pre-order with absolute indexes, built for scans of hundreds of
// thousands of folders: adding a child and reaching a node by absolute index cost O(1)
// amortised, and a node's ancestors are a parent walk away.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/core/control.h"
#include "toolkit/core/item_data.h"

namespace toolkit {

using NodeId = int32_t;
constexpr NodeId kNoNode = -1;

class TreeViewPeer : public ControlPeer {
 public:
  virtual void Cleared() {}
  // A node was added (the root, or a child of a node that may be shown).
  virtual void NodeAdded(NodeId) {}
  virtual void SelectionChanged() {}
  // Held back redraw while many nodes go in.
  virtual void UpdatingChanged(bool) {}
};

// How the native tree is made; the system control takes these at creation and not after.
struct TreeViewCreateArgs {
  int indent = 19;
  bool showLines = true;
  bool showButtons = true;
  bool showRoot = true;
  bool readOnly = true;
  bool hideSelection = true;
  bool toolTips = true;
  int imageId = 0;  // resource id of the one image every node shows
};

class TreeView : public Control {
 public:
  TreeView(std::string name, Control* parent, const TreeViewCreateArgs& args = {});
  const TreeViewCreateArgs& CreateArgs() const { return args_; }

  void Clear();
  // A top-level node after the existing ones.
  NodeId AddRoot(const std::string& text);
  // A child after the parent's existing children.
  NodeId AddChild(NodeId parent, const std::string& text);

  int Count() const { return static_cast<int>(nodes_.size()); }
  // The node at a pre-order position over all nodes (root 0), or kNoNode when out of range.
  NodeId NodeAt(int absoluteIndex);
  int AbsoluteIndex(NodeId node);

  const std::string& Text(NodeId node) const { return nodes_[node].text; }
  // A node's data: text the program keeps with the node, out of sight (as a tree item's lParam
  // does); empty where none was set. Nodes without data cost nothing.
  void SetData(NodeId node, std::string data);
  const std::string& Data(NodeId node) const { return data_.Get(node); }
  NodeId Parent(NodeId node) const { return nodes_[node].parent; }
  NodeId FirstChild(NodeId node) const { return nodes_[node].firstChild; }
  NodeId NextSibling(NodeId node) const { return nodes_[node].nextSibling; }
  bool HasChildren(NodeId node) const { return nodes_[node].firstChild != kNoNode; }
  NodeId FirstRoot() const { return nodes_.empty() ? kNoNode : 0; }

  NodeId Selected() const { return selected_; }
  // Selects a node (kNoNode clears the selection) and tells the peer.
  void Select(NodeId node);
  // From the peer: the user moved the selection.
  void SelectionChangedByUser(NodeId node) { selected_ = node; }

  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return updateDepth_ > 0; }

  // Bytes held per node, for the benchmarks.
  static constexpr size_t NodeFootprint() { return sizeof(Node); }
  // Node steps taken so far to keep the pre-order (links followed, positions assigned), for the
  // tests and benchmarks that hold the scan to linear work.
  uint64_t OrderWork() const { return orderWork_; }

 private:
  struct Node {
    std::string text;
    NodeId parent = kNoNode;
    NodeId firstChild = kNoNode;
    NodeId lastChild = kNoNode;
    NodeId nextSibling = kNoNode;
    int32_t absoluteIndex = -1;  // set once the pre-order prefix reaches the node
  };
  TreeViewPeer* TreePeer() const;
  // Extends the known pre-order prefix until it holds index, or the tree ends.
  void ExtendOrder(int index);
  // The pre-order successor of a node, or kNoNode.
  NodeId NextInOrder(NodeId node) const;
  // Drops the known order from position p on (a node went in inside the known prefix).
  void TruncateOrder(int p);
  // The last node of a subtree in pre-order: where a new child of its root goes after.
  NodeId LastInSubtree(NodeId node) const;
  // Keeps the known prefix true before a node is inserted directly after `last`.
  void BeforeAppendAfter(NodeId last);

  const TreeViewCreateArgs args_;
  std::vector<Node> nodes_;
  ItemData<NodeId> data_;
  std::vector<NodeId> order_;  // the known pre-order prefix
  NodeId lastRoot_ = kNoNode;
  NodeId selected_ = kNoNode;
  int updateDepth_ = 0;
  mutable uint64_t orderWork_ = 0;
};

}  // namespace toolkit
