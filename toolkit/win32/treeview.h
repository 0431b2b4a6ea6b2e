// The tree view peer: a system tree view filled lazily from the model. Only the roots and the
// children of nodes the user has opened exist natively; texts and child buttons are supplied on
// request, so a scan of hundreds of thousands of folders costs the control nothing.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "toolkit/core/treeview.h"
#include "toolkit/win32/child_peer.h"

namespace toolkit::win32 {

class TreeViewWindow : public ChildPeer<TreeViewPeer> {
 public:
  TreeViewWindow(TreeView& model, HWND parent, HFONT font);
  ~TreeViewWindow() override;

  void Cleared() override;
  void NodeAdded(NodeId node) override;
  void SelectionChanged() override;
  void UpdatingChanged(bool updating) override;

  // The native item of a node, or null while it is not inserted (for tests).
  HTREEITEM ItemOf(NodeId node) const;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
  bool HandleReflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  struct Native {
    HTREEITEM item = nullptr;
    bool populated = false;  // its children are inserted
  };
  HTREEITEM Insert(NodeId node, HTREEITEM parentItem);
  // Inserts the children of a node that is itself inserted.
  void Populate(NodeId node);
  // Inserts the chain of ancestors down to the node; returns its item.
  HTREEITEM Materialise(NodeId node);
  void FillDisplayInfo(TVITEMA& item) const;
  void FireClickOnce();

  TreeView& tree_;
  std::vector<Native> native_;  // by NodeId
  HIMAGELIST images_ = nullptr;
  bool selectingFromModel_ = false;
  bool clearing_ = false;
  bool clickPending_ = false;
};

}  // namespace toolkit::win32
