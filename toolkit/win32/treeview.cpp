// The folder tree on a system tree view: lazy insertion, text on request, selection both ways,
// and the click that comes after the control has moved its selection.
#include "toolkit/win32/treeview.h"

#include <algorithm>
#include <cstring>

namespace toolkit::win32 {

TreeViewWindow::TreeViewWindow(TreeView& model, HWND parent, HFONT font)
    : ChildPeer(model), tree_(model) {
  const TreeViewCreateArgs& args = model.CreateArgs();
  DWORD style = ChildStyle() | WS_TABSTOP;
  if (args.showLines) style |= TVS_HASLINES;
  if (args.showButtons) style |= TVS_HASBUTTONS;
  if (args.showRoot) style |= TVS_LINESATROOT;
  if (!args.readOnly) style |= TVS_EDITLABELS;
  if (!args.hideSelection) style |= TVS_SHOWSELALWAYS;
  if (!args.toolTips) style |= TVS_NOTOOLTIPS;
  const Rect& b = model.Bounds();
  CreateSubclassed(WC_TREEVIEWA, WS_EX_CLIENTEDGE, style, "", b.left, b.top, b.width, b.height,
                   parent);
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageA(Handle(), TVM_SETINDENT, args.indent, 0);

  if (args.imageId != 0) {
    HICON icon = static_cast<HICON>(LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(args.imageId),
                                               IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
    // Without the image the tree still works, only without pictures.
    if (icon != nullptr) {
      images_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
      ImageList_AddIcon(images_, icon);
      DestroyIcon(icon);
      SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
    }
  }
  Attach();
  for (NodeId root = model.FirstRoot(); root != kNoNode; root = model.NextSibling(root)) {
    NodeAdded(root);
  }
}

TreeViewWindow::~TreeViewWindow() {
  if (images_ != nullptr) ImageList_Destroy(images_);
}

HTREEITEM TreeViewWindow::ItemOf(NodeId node) const {
  if (node < 0 || static_cast<size_t>(node) >= native_.size()) return nullptr;
  return native_[node].item;
}

HTREEITEM TreeViewWindow::Insert(NodeId node, HTREEITEM parentItem) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parentItem != nullptr ? parentItem : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = LPSTR_TEXTCALLBACKA;
  insert.item.cChildren = I_CHILDRENCALLBACK;
  insert.item.lParam = node;
  HTREEITEM item = reinterpret_cast<HTREEITEM>(
      SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  native_[node].item = item;
  return item;
}

void TreeViewWindow::Populate(NodeId node) {
  if (native_[node].populated || native_[node].item == nullptr) return;
  native_[node].populated = true;
  for (NodeId child = tree_.FirstChild(node); child != kNoNode; child = tree_.NextSibling(child)) {
    if (native_[child].item == nullptr) Insert(child, native_[node].item);
  }
}

HTREEITEM TreeViewWindow::Materialise(NodeId node) {
  if (native_[node].item != nullptr) return native_[node].item;
  std::vector<NodeId> chain;
  NodeId top = node;
  while (native_[top].item == nullptr && tree_.Parent(top) != kNoNode) {
    chain.push_back(top);
    top = tree_.Parent(top);
  }
  if (native_[top].item == nullptr) Insert(top, nullptr);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) Populate(tree_.Parent(*it));
  return native_[node].item;
}

void TreeViewWindow::Cleared() {
  clearing_ = true;
  SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  clearing_ = false;
  native_.clear();
}

void TreeViewWindow::NodeAdded(NodeId node) {
  if (Handle() == nullptr) return;
  if (native_.size() < static_cast<size_t>(tree_.Count())) native_.resize(tree_.Count());
  const NodeId parent = tree_.Parent(node);
  if (parent == kNoNode) {
    Insert(node, nullptr);
    return;
  }
  const Native& above = native_[parent];
  if (above.item == nullptr) return;
  if (above.populated) {
    Insert(node, above.item);
  } else if (tree_.FirstChild(parent) == node) {
    // The parent's expand button appears with its first child.
    // TVM_GETITEMRECT takes the item in the first bytes of the rectangle it fills.
    RECT rect{};
    std::memcpy(&rect, &above.item, sizeof above.item);
    if (SendMessageA(Handle(), TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&rect))) {
      InvalidateRect(Handle(), &rect, TRUE);
    }
  }
}

void TreeViewWindow::SelectionChanged() {
  if (Handle() == nullptr) return;
  if (native_.size() < static_cast<size_t>(tree_.Count())) native_.resize(tree_.Count());
  const NodeId node = tree_.Selected();
  HTREEITEM item = node == kNoNode ? nullptr : Materialise(node);
  selectingFromModel_ = true;
  SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  selectingFromModel_ = false;
}

void TreeViewWindow::UpdatingChanged(bool updating) {
  if (Handle() == nullptr) return;
  SendMessageA(Handle(), WM_SETREDRAW, updating ? FALSE : TRUE, 0);
  if (!updating) InvalidateRect(Handle(), nullptr, TRUE);
}

void TreeViewWindow::FillDisplayInfo(TVITEMA& item) const {
  const NodeId node = static_cast<NodeId>(item.lParam);
  const bool known = !clearing_ && node >= 0 && node < tree_.Count();
  if ((item.mask & TVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
    const std::string empty;
    const std::string& text = known ? tree_.Text(node) : empty;
    size_t length = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    if (length < text.size()) {
      // Never end the shortened text with half of a two-byte character.
      size_t whole = 0;
      while (whole < length) {
        const size_t step = IsDBCSLeadByte(static_cast<BYTE>(text[whole])) ? 2 : 1;
        if (whole + step > length) break;
        whole += step;
      }
      length = whole;
    }
    std::memcpy(item.pszText, text.data(), length);
    item.pszText[length] = '\0';
  }
  if ((item.mask & TVIF_CHILDREN) != 0) item.cChildren = known && tree_.HasChildren(node) ? 1 : 0;
}

bool TreeViewWindow::HandleReflected(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  const NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
  switch (header->code) {
    case TVN_GETDISPINFOA:
      FillDisplayInfo(reinterpret_cast<NMTVDISPINFOA*>(lParam)->item);
      result = 0;
      return true;
    case TVN_ITEMEXPANDINGA: {
      const NMTREEVIEWA* change = reinterpret_cast<NMTREEVIEWA*>(lParam);
      const NodeId node = static_cast<NodeId>(change->itemNew.lParam);
      if ((change->action & TVE_EXPAND) != 0 && node >= 0 && node < tree_.Count()) {
        Populate(node);
      }
      result = FALSE;
      return true;
    }
    case TVN_SELCHANGEDA: {
      const NMTREEVIEWA* change = reinterpret_cast<NMTREEVIEWA*>(lParam);
      if (!selectingFromModel_ && !clearing_) {
        tree_.SelectionChangedByUser(change->itemNew.hItem != nullptr
                                         ? static_cast<NodeId>(change->itemNew.lParam)
                                         : kNoNode);
      }
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

void TreeViewWindow::FireClickOnce() {
  clickPending_ = false;
  tree_.Click();
}

LRESULT TreeViewWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // On an item the control runs its own drag-detection loop, which swallows the release
      // and moves the selection before returning; elsewhere the release still comes to us.
      clickPending_ = true;
      const LRESULT result = Default(msg, wParam, lParam);
      if (clickPending_ && GetKeyState(VK_LBUTTON) >= 0) FireClickOnce();
      return result;
    }
    case WM_LBUTTONUP: {
      const LRESULT result = Default(msg, wParam, lParam);
      if (clickPending_) FireClickOnce();
      return result;
    }
    default:
      return Default(msg, wParam, lParam);
  }
}

}  // namespace toolkit::win32
