// Tree pre-order against a naive reference: the folder-scan pattern, interleaved inserts that
// land inside the known order, index round trips, and the scan of 300,000 folders.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <random>
#include <vector>

#include "toolkit/core/treeview.h"

namespace {

using toolkit::kNoNode;
using toolkit::NodeId;
using toolkit::TreeView;

// A plain tree kept beside the model, walked recursively: the reference order.
struct Reference {
  std::vector<std::vector<NodeId>> children;
  std::vector<NodeId> roots;
  NodeId Add(NodeId parent) {
    const NodeId id = static_cast<NodeId>(children.size());
    children.emplace_back();
    (parent == kNoNode ? roots : children[parent]).push_back(id);
    return id;
  }
  std::vector<NodeId> PreOrder() const {
    std::vector<NodeId> order;
    std::function<void(NodeId)> visit = [&](NodeId n) {
      order.push_back(n);
      for (NodeId c : children[n]) visit(c);
    };
    for (NodeId r : roots) visit(r);
    return order;
  }
};

void ExpectSameOrder(TreeView& tree, const Reference& ref) {
  const std::vector<NodeId> order = ref.PreOrder();
  ASSERT_EQ(tree.Count(), static_cast<int>(order.size()));
  for (int i = 0; i < tree.Count(); ++i) {
    ASSERT_EQ(tree.NodeAt(i), order[i]) << "position " << i;
    ASSERT_EQ(tree.AbsoluteIndex(order[i]), i);
  }
}

TEST(TreeOrder, ScanPatternMatchesReference) {
  TreeView tree("TreeView1", nullptr);
  Reference ref;
  std::mt19937 rng(7);
  ref.Add(kNoNode);
  tree.AddRoot("C:\\work\\");
  for (int i = 0; i < tree.Count() && tree.Count() < 3000; ++i) {
    const NodeId node = tree.NodeAt(i);
    if (i % 97 == 0) {
      ASSERT_EQ(node, ref.PreOrder()[i]);
    }
    const int kids = std::uniform_int_distribution<int>(0, 3)(rng);
    for (int k = 0; k < kids; ++k) {
      EXPECT_EQ(tree.AddChild(node, "d" + std::to_string(k)), ref.Add(node));
    }
  }
  ExpectSameOrder(tree, ref);
}

TEST(TreeOrder, RandomInsertsAnywhereKeepTheOrderTrue) {
  std::mt19937 rng(11);
  TreeView tree("TreeView1", nullptr);
  Reference ref;
  for (int step = 0; step < 600; ++step) {
    const int n = tree.Count();
    const int op = std::uniform_int_distribution<int>(0, 9)(rng);
    if (n == 0 || op == 0) {
      EXPECT_EQ(tree.AddRoot("r"), ref.Add(kNoNode));
    } else if (op < 6) {
      const NodeId parent = std::uniform_int_distribution<NodeId>(0, n - 1)(rng);
      EXPECT_EQ(tree.AddChild(parent, "c"), ref.Add(parent));
    } else {
      // Learn part of the order, so later inserts fall inside the known prefix.
      const int i = std::uniform_int_distribution<int>(0, n - 1)(rng);
      ASSERT_EQ(tree.NodeAt(i), ref.PreOrder()[i]) << "step " << step;
    }
  }
  ExpectSameOrder(tree, ref);
}

TEST(TreeOrder, ChildInsertedBeforeKnownNodesShiftsThem) {
  TreeView tree("TreeView1", nullptr);
  const NodeId root = tree.AddRoot("R\\");
  const NodeId a = tree.AddChild(root, "A");
  const NodeId b = tree.AddChild(root, "B");
  ASSERT_EQ(tree.NodeAt(2), b);
  const NodeId a1 = tree.AddChild(a, "A1");
  EXPECT_EQ(tree.NodeAt(2), a1);
  EXPECT_EQ(tree.NodeAt(3), b);
  EXPECT_EQ(tree.AbsoluteIndex(b), 3);
  // A second root goes after the whole first tree.
  const NodeId r2 = tree.AddRoot("S\\");
  EXPECT_EQ(tree.AbsoluteIndex(r2), 4);
  const NodeId b1 = tree.AddChild(b, "B1");
  EXPECT_EQ(tree.AbsoluteIndex(b1), 4);
  EXPECT_EQ(tree.AbsoluteIndex(r2), 5);
}

TEST(TreeOrder, OutOfRangeAndLookupsBeforeTheOrderIsKnown) {
  TreeView tree("TreeView1", nullptr);
  EXPECT_EQ(tree.NodeAt(0), kNoNode);
  EXPECT_EQ(tree.FirstRoot(), kNoNode);
  const NodeId root = tree.AddRoot("R\\");
  const NodeId a = tree.AddChild(root, "A");
  const NodeId a1 = tree.AddChild(a, "A1");
  const NodeId b = tree.AddChild(root, "B");
  // Nothing has been asked by position yet: the deepest-last node is found first.
  EXPECT_EQ(tree.AbsoluteIndex(b), 3);
  EXPECT_EQ(tree.AbsoluteIndex(a1), 2);
  EXPECT_EQ(tree.NodeAt(-1), kNoNode);
  EXPECT_EQ(tree.NodeAt(4), kNoNode);
  EXPECT_EQ(tree.AbsoluteIndex(kNoNode), -1);
  EXPECT_EQ(tree.AbsoluteIndex(99), -1);
  EXPECT_EQ(tree.Parent(a1), a);
  EXPECT_EQ(tree.NextSibling(a), b);
}

struct TreeRecorder : toolkit::TreeViewPeer {
  std::vector<std::string> calls;
  void Cleared() override { calls.push_back("cleared"); }
  void SelectionChanged() override { calls.push_back("selection"); }
  void UpdatingChanged(bool on) override { calls.push_back(on ? "hold" : "release"); }
};

TEST(TreeView, ClearSelectAndNestedUpdates) {
  TreeView tree("TreeView1", nullptr);
  TreeRecorder peer;
  tree.SetPeer(&peer);
  tree.BeginUpdate();
  tree.BeginUpdate();
  const NodeId root = tree.AddRoot("R\\");
  tree.AddChild(root, "A");
  tree.EndUpdate();
  EXPECT_TRUE(tree.Updating());
  tree.EndUpdate();
  EXPECT_FALSE(tree.Updating());
  tree.Select(root);
  ASSERT_EQ(tree.NodeAt(1), 1);
  tree.Clear();
  EXPECT_EQ(tree.Selected(), kNoNode);
  EXPECT_EQ(tree.Count(), 0);
  EXPECT_EQ(tree.NodeAt(0), kNoNode);
  EXPECT_EQ(peer.calls, (std::vector<std::string>{"hold", "release", "selection", "cleared"}));
  // The order known before the clear must not leak into the new tree.
  const NodeId r = tree.AddRoot("S\\");
  const NodeId x = tree.AddChild(r, "X");
  tree.AddChild(x, "Y");
  const NodeId z = tree.AddChild(r, "Z");
  EXPECT_EQ(tree.NodeAt(3), z);
  tree.SetPeer(nullptr);
}

// The folder scan: visit by increasing absolute index, append the visited folder's subfolders.
// Deep chains and wide fans both occur in real disks; the order must stay linear work.
TEST(TreeOrder, ScanOf300000FoldersIsLinear) {
  constexpr int kFolders = 300000;
  TreeView tree("TreeView1", nullptr);
  const auto start = std::chrono::steady_clock::now();
  tree.AddRoot("C:\\");
  for (int i = 0; i < tree.Count(); ++i) {
    const NodeId node = tree.NodeAt(i);
    ASSERT_NE(node, kNoNode);
    int kids = i < 2000 ? 1 : (i % 5 == 0 ? 4 : (i % 3 == 0 ? 1 : 0));
    for (int k = 0; k < kids && tree.Count() < kFolders; ++k) tree.AddChild(node, "folder");
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(tree.Count(), kFolders);
  // Each node is placed once and each link followed a bounded number of times.
  EXPECT_LE(tree.OrderWork(), 4ull * kFolders);
  EXPECT_LT(seconds, 5.0);
  for (int i = 0; i < kFolders; i += 997) EXPECT_EQ(tree.AbsoluteIndex(tree.NodeAt(i)), i);
  EXPECT_EQ(tree.Parent(tree.NodeAt(1999)), tree.NodeAt(1998)) << "the deep chain";
}

}  // namespace
