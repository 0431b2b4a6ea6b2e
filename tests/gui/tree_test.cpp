// The folder tree on the real tree view: lazy insertion, texts and buttons on request, selection
// both ways, the click after the selection moved, and a scan-sized tree.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/gui/gui_fixture.h"
#include "toolkit/win32/treeview.h"

namespace {

using gui::ProgramWindow;
using toolkit::NodeId;

class TreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main.tree.OnClick = [this] { clickSaw.push_back(main.tree.Selected()); };
    main.Create();
    main.Show();
    tree = ProgramWindow::Of(main.tree);
    peer = dynamic_cast<toolkit::win32::TreeViewWindow*>(main.tree.Peer());
  }

  // Root "C:\work\" with a, b, c; a has a1.
  void AddSample() {
    root = main.tree.AddRoot("C:\\work\\");
    a = main.tree.AddChild(root, "a");
    b = main.tree.AddChild(root, "b");
    c = main.tree.AddChild(root, "c");
    a1 = main.tree.AddChild(a, "a1");
  }

  int Count() const { return static_cast<int>(TreeView_GetCount(tree)); }

  std::string ItemText(HTREEITEM item) const {
    char text[300] = {};
    TVITEMA info{};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    return text;
  }

  int ItemChildren(HTREEITEM item) const {
    TVITEMA info{};
    info.mask = TVIF_CHILDREN;
    info.hItem = item;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    return info.cChildren;
  }

  std::vector<std::string> ChildTexts(HTREEITEM parent) const {
    std::vector<std::string> texts;
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item != nullptr;
         item = TreeView_GetNextSibling(tree, item)) {
      texts.push_back(ItemText(item));
    }
    return texts;
  }

  POINT CentreOf(HTREEITEM item) const {
    RECT rect{};
    TreeView_GetItemRect(tree, item, &rect, TRUE);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }

  ProgramWindow main;
  HWND tree = nullptr;
  toolkit::win32::TreeViewWindow* peer = nullptr;
  std::vector<NodeId> clickSaw;
  NodeId root = 0, a = 0, b = 0, c = 0, a1 = 0;
};

TEST_F(TreeTest, HasTheFormResourceStylesIndentAndImage) {
  const LONG style = GetWindowLongA(tree, GWL_STYLE);
  EXPECT_NE(style & TVS_HASLINES, 0);
  EXPECT_NE(style & TVS_HASBUTTONS, 0);
  EXPECT_NE(style & TVS_LINESATROOT, 0);
  EXPECT_EQ(style & TVS_EDITLABELS, 0);
  EXPECT_EQ(style & TVS_SHOWSELALWAYS, 0);
  EXPECT_EQ(style & TVS_NOTOOLTIPS, 0);
  EXPECT_EQ(TreeView_GetIndent(tree), 19u);
  HIMAGELIST images = TreeView_GetImageList(tree, TVSIL_NORMAL);
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(ImageList_GetImageCount(images), 1);
}

TEST_F(TreeTest, OnlyTheRootExistsUntilItIsExpanded) {
  AddSample();
  EXPECT_EQ(Count(), 1);
  HTREEITEM rootItem = TreeView_GetRoot(tree);
  ASSERT_NE(rootItem, nullptr);
  EXPECT_EQ(ItemText(rootItem), "C:\\work\\");
  EXPECT_EQ(ItemChildren(rootItem), 1);

  TreeView_Expand(tree, rootItem, TVE_EXPAND);
  EXPECT_EQ(Count(), 4);
  EXPECT_EQ(ChildTexts(rootItem), (std::vector<std::string>{"a", "b", "c"}));
  HTREEITEM aItem = peer->ItemOf(a);
  ASSERT_NE(aItem, nullptr);
  EXPECT_EQ(ItemChildren(aItem), 1);
  EXPECT_EQ(ItemChildren(peer->ItemOf(b)), 0);
  EXPECT_EQ(peer->ItemOf(a1), nullptr);

  // Collapsing and expanding again inserts nothing twice.
  TreeView_Expand(tree, rootItem, TVE_COLLAPSE);
  TreeView_Expand(tree, rootItem, TVE_EXPAND);
  EXPECT_EQ(Count(), 4);
}

TEST_F(TreeTest, NodesAddedLaterAppearOnlyUnderShownParents) {
  AddSample();
  HTREEITEM rootItem = TreeView_GetRoot(tree);
  TreeView_Expand(tree, rootItem, TVE_EXPAND);
  main.tree.AddChild(root, "d");
  EXPECT_EQ(Count(), 5);
  EXPECT_EQ(ChildTexts(rootItem), (std::vector<std::string>{"a", "b", "c", "d"}));

  // b is shown but never opened: its new child waits, and b gets its button.
  const NodeId b1 = main.tree.AddChild(b, "b1");
  EXPECT_EQ(Count(), 5);
  EXPECT_EQ(ItemChildren(peer->ItemOf(b)), 1);
  TreeView_Expand(tree, peer->ItemOf(b), TVE_EXPAND);
  EXPECT_EQ(ItemText(peer->ItemOf(b1)), "b1");

  // A second root goes after the first.
  main.tree.AddRoot("D:\\");
  EXPECT_EQ(ItemText(TreeView_GetNextSibling(tree, rootItem)), "D:\\");
}

TEST_F(TreeTest, ClearEmptiesTheControlAndANewTreeStartsFresh) {
  AddSample();
  TreeView_Expand(tree, TreeView_GetRoot(tree), TVE_EXPAND);
  main.tree.Select(b);
  main.tree.Clear();
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(main.tree.Selected(), toolkit::kNoNode);
  main.tree.AddRoot("E:\\new\\");
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(ItemText(TreeView_GetRoot(tree)), "E:\\new\\");
  EXPECT_EQ(ItemChildren(TreeView_GetRoot(tree)), 0);
}

TEST_F(TreeTest, ModelSelectionReachesNodesThatWereNeverShown) {
  AddSample();
  main.tree.Select(a1);
  HTREEITEM selected = TreeView_GetSelection(tree);
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(selected, peer->ItemOf(a1));
  EXPECT_EQ(ItemText(selected), "a1");
  EXPECT_EQ(main.tree.Selected(), a1);
  // Its siblings and its parent's siblings came in, in order.
  EXPECT_EQ(ChildTexts(TreeView_GetRoot(tree)), (std::vector<std::string>{"a", "b", "c"}));

  main.tree.Select(root);
  EXPECT_EQ(TreeView_GetSelection(tree), TreeView_GetRoot(tree));
  main.tree.Select(toolkit::kNoNode);
  EXPECT_EQ(TreeView_GetSelection(tree), nullptr);
}

TEST_F(TreeTest, ClickOnAnUnselectedNodeReportsThatNodeSelected) {
  AddSample();
  TreeView_Expand(tree, TreeView_GetRoot(tree), TVE_EXPAND);
  main.tree.Select(a);
  gui::Pump(20);
  const POINT at = CentreOf(peer->ItemOf(c));
  PostMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  ASSERT_TRUE(gui::PumpUntil([&] { return !clickSaw.empty(); }));
  gui::Pump(50);
  EXPECT_EQ(clickSaw, std::vector<NodeId>{c});
  EXPECT_EQ(main.tree.Selected(), c);
}

TEST_F(TreeTest, RealMouseClickReportsTheNewSelectionOnce) {
  AddSample();
  TreeView_Expand(tree, TreeView_GetRoot(tree), TVE_EXPAND);
  main.tree.Select(a);
  SetForegroundWindow(main.FormWindow());
  gui::Pump(50);
  POINT at = CentreOf(peer->ItemOf(b));
  ClientToScreen(tree, &at);
  ASSERT_TRUE(SetCursorPos(at.x, at.y));
  gui::Pump(20);
  INPUT press[2] = {};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(2, press, sizeof(INPUT)), 2u);
  ASSERT_TRUE(gui::PumpUntil([&] { return !clickSaw.empty(); }));
  gui::Pump(100);
  EXPECT_EQ(clickSaw, std::vector<NodeId>{b});

  // A click on empty space below the nodes still clicks, with the selection unchanged.
  RECT client = gui::ClientRectOf(tree);
  POINT empty{client.right / 2, client.bottom - 5};
  ClientToScreen(tree, &empty);
  SetCursorPos(empty.x, empty.y);
  ASSERT_EQ(SendInput(2, press, sizeof(INPUT)), 2u);
  ASSERT_TRUE(gui::PumpUntil([&] { return clickSaw.size() == 2; }));
  gui::Pump(100);
  EXPECT_EQ(clickSaw, (std::vector<NodeId>{b, b}));
}

TEST_F(TreeTest, DisablingTheModelDisablesTheControl) {
  main.tree.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(tree));
  main.tree.SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(tree));
}

TEST_F(TreeTest, AScanSizedTreeCostsTheControlOnlyWhatIsShown) {
  // 100 folders of 1,000 subfolders each, added the way a scan adds them.
  main.tree.BeginUpdate();
  const NodeId top = main.tree.AddRoot("C:\\");
  std::vector<NodeId> level1;
  for (int i = 0; i < 100; ++i) level1.push_back(main.tree.AddChild(top, "d" + std::to_string(i)));
  for (NodeId parent : level1) {
    for (int j = 0; j < 1000; ++j) main.tree.AddChild(parent, "s" + std::to_string(j));
  }
  main.tree.EndUpdate();
  EXPECT_EQ(main.tree.Count(), 100101);
  EXPECT_EQ(Count(), 1);
  TreeView_Expand(tree, TreeView_GetRoot(tree), TVE_EXPAND);
  EXPECT_EQ(Count(), 101);
  TreeView_Expand(tree, peer->ItemOf(level1[99]), TVE_EXPAND);
  EXPECT_EQ(Count(), 1101);
  EXPECT_EQ(ItemText(TreeView_GetChild(tree, peer->ItemOf(level1[99]))), "s0");
}

}  // namespace
