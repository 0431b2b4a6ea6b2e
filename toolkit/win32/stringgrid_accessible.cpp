// The grid's table, rows and cells for MSAA, answered from the model and its geometry.
#include "toolkit/win32/stringgrid_accessible.h"

#include <new>

namespace toolkit::win32 {

namespace {

VARIANT Empty() {
  VARIANT v;
  VariantInit(&v);
  return v;
}

HRESULT GiveChild(VARIANT* out, LONG childId) {
  out->vt = VT_I4;
  out->lVal = childId;
  return S_OK;
}

HRESULT GiveObject(VARIANT* out, IDispatch* object) {
  if (object == nullptr) return E_OUTOFMEMORY;
  out->vt = VT_DISPATCH;
  out->pdispVal = object;
  return S_OK;
}

HRESULT GiveNothing(VARIANT* out) {
  *out = Empty();
  return S_FALSE;
}

}  // namespace

GridAccessible* GridAccessible::CreateTable(StringGrid& grid, HWND hwnd) {
  IAccessible* window = nullptr;
  // Without it the table still answers for itself, only not for its place among the windows.
  if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&window)))) {
    window = nullptr;
  }
  return new GridAccessible(grid, hwnd, window);
}

GridAccessible::GridAccessible(StringGrid& grid, HWND hwnd, IAccessible* window)
    : table_(this), row_(-1), grid_(&grid), hwnd_(hwnd), window_(window) {}

GridAccessible::GridAccessible(GridAccessible* table, int row) : table_(table), row_(row) {
  table_->AddRef();
}

GridAccessible::~GridAccessible() {
  if (IsTable()) {
    if (window_ != nullptr) window_->Release();
  } else {
    table_->Release();
  }
}

LRESULT GridAccessible::Answer(WPARAM wParam, LPARAM objectId) {
  const LONG id = static_cast<LONG>(objectId);
  if (id == OBJID_CLIENT) return AnswerGetObject(this, wParam);
  if (grid_ == nullptr || id < RowObjectId(0) || id > RowObjectId(grid_->RowCount() - 1)) return 0;
  IDispatch* row = NewRow(id - RowObjectId(0));
  if (row == nullptr) return 0;
  const LRESULT result = AnswerGetObject(static_cast<IAccessible*>(row), wParam);
  row->Release();  // the answer holds its own reference
  return result;
}

void GridAccessible::Detach() {
  grid_ = nullptr;
  hwnd_ = nullptr;
  if (window_ != nullptr) window_->Release();
  window_ = nullptr;
}

IDispatch* GridAccessible::NewRow(int row) {
  return static_cast<IAccessible*>(new (std::nothrow) GridAccessible(table_, row));
}

HRESULT GridAccessible::Resolve(const VARIANT& child, Target& target) const {
  if (Grid() == nullptr) return RPC_E_DISCONNECTED;
  if (child.vt != VT_I4) return E_INVALIDARG;
  const StringGrid& grid = *Grid();
  const LONG id = child.lVal;
  if (IsTable()) {
    if (id != CHILDID_SELF && (id < 1 || id > grid.RowCount())) return E_INVALIDARG;
    target = {id == CHILDID_SELF ? -1 : id - 1, -1};
  } else {
    if (row_ >= grid.RowCount()) return E_INVALIDARG;
    if (id != CHILDID_SELF && (id < 1 || id > grid.ColCount())) return E_INVALIDARG;
    target = {row_, id == CHILDID_SELF ? -1 : id - 1};
  }
  return S_OK;
}

bool GridAccessible::RowShown(int row) const {
  const StringGrid& grid = *Grid();
  RECT client;
  GetClientRect(Hwnd(), &client);
  if (row < grid.FixedRows()) return grid.RowTop(row) < client.bottom;
  return row >= grid.TopRow() && row <= grid.LastVisibleRow(client.bottom);
}

bool GridAccessible::ColumnShown(int col) const {
  const StringGrid& grid = *Grid();
  RECT client;
  GetClientRect(Hwnd(), &client);
  return col >= grid.LeftCol() && col <= grid.LastVisibleCol(client.right);
}

BSTR GridAccessible::CellName(int col, int row) const {
  const SpokenCell spoken = Grid()->Spoken(col, row);
  std::wstring name = WideOf(spoken.header, CP_ACP);
  const std::wstring text = WideOf(spoken.text, spoken.exact ? CP_UTF8 : CP_ACP);
  if (!name.empty() && !text.empty()) name += L' ';
  name += text;
  return BstrOf(name);
}

RECT GridAccessible::ScreenRect(const Target& target) const {
  const StringGrid& grid = *Grid();
  const int first = target.col < 0 ? 0 : target.col;
  const int last = target.col < 0 ? grid.ColCount() - 1 : target.col;
  const Rect from = grid.CellRect(first, target.row);
  const Rect to = grid.CellRect(last, target.row);
  RECT rect{from.left, from.top, to.Right(), to.Bottom()};
  MapWindowPoints(Hwnd(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HRESULT GridAccessible::get_accParent(IDispatch** parent) {
  if (parent == nullptr) return E_POINTER;
  *parent = nullptr;
  if (Grid() == nullptr) return RPC_E_DISCONNECTED;
  if (!IsTable()) {
    *parent = static_cast<IAccessible*>(table_);
    table_->AddRef();
    return S_OK;
  }
  return window_ != nullptr ? window_->get_accParent(parent) : S_FALSE;
}

HRESULT GridAccessible::get_accChildCount(long* count) {
  if (count == nullptr) return E_POINTER;
  if (Grid() == nullptr) return RPC_E_DISCONNECTED;
  *count = IsTable() ? Grid()->RowCount() : Grid()->ColCount();
  return S_OK;
}

HRESULT GridAccessible::get_accChild(VARIANT child, IDispatch** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  Target target;
  const HRESULT resolved = Resolve(child, target);
  if (FAILED(resolved)) return resolved;
  if (child.lVal == CHILDID_SELF) return E_INVALIDARG;
  if (!IsTable()) return S_FALSE;  // a cell is a simple element of its row
  *object = NewRow(target.row);
  return *object != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT GridAccessible::get_accName(VARIANT child, BSTR* name) {
  if (name == nullptr) return E_POINTER;
  *name = nullptr;
  Target target;
  const HRESULT resolved = Resolve(child, target);
  if (FAILED(resolved)) return resolved;
  if (ForWindow(target)) return window_->get_accName(child, name);
  if (target.row < 0) return S_FALSE;
  // A row is called by its first cell, the entry's name.
  *name = target.col < 0 ? CellName(0, target.row) : CellName(target.col, target.row);
  return *name != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT GridAccessible::WindowText(VARIANT child, BSTR* text, TextProperty property) {
  if (text == nullptr) return E_POINTER;
  *text = nullptr;
  Target target;
  const HRESULT resolved = Resolve(child, target);
  if (FAILED(resolved)) return resolved;
  return ForWindow(target) ? (window_->*property)(child, text) : DISP_E_MEMBERNOTFOUND;
}

// A cell's name says it all: no value, description or help of its own.
HRESULT GridAccessible::get_accValue(VARIANT child, BSTR* value) {
  return WindowText(child, value, &IAccessible::get_accValue);
}

HRESULT GridAccessible::get_accDescription(VARIANT child, BSTR* text) {
  return WindowText(child, text, &IAccessible::get_accDescription);
}

HRESULT GridAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (role == nullptr) return E_POINTER;
  *role = Empty();
  Target target;
  const HRESULT resolved = Resolve(child, target);
  if (FAILED(resolved)) return resolved;
  LONG value = ROLE_SYSTEM_TABLE;
  if (target.row >= 0) {
    value = target.col < 0                     ? ROLE_SYSTEM_ROW
            : target.row < Grid()->FixedRows() ? ROLE_SYSTEM_COLUMNHEADER
                                               : ROLE_SYSTEM_CELL;
  }
  return GiveChild(role, value);
}

HRESULT GridAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (state == nullptr) return E_POINTER;
  *state = Empty();
  Target target;
  const HRESULT resolved = Resolve(child, target);
  if (FAILED(resolved)) return resolved;
  if (ForWindow(target)) return window_->get_accState(child, state);
  if (target.row < 0) return GiveChild(state, Focused() ? STATE_SYSTEM_FOCUSED : 0);
  const StringGrid& grid = *Grid();
  LONG value = 0;
  if (!RowShown(target.row) || (target.col >= 0 && !ColumnShown(target.col))) {
    value |= STATE_SYSTEM_OFFSCREEN | STATE_SYSTEM_INVISIBLE;
  }
  if (target.col >= 0 && target.row >= grid.FixedRows()) {
    value |= STATE_SYSTEM_READONLY | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    if (grid.IsSelected(target.col, target.row)) value |= STATE_SYSTEM_SELECTED;
    const GridCoord current = grid.Current();
    if (Focused() && current.col == target.col && current.row == target.row) {
      value |= STATE_SYSTEM_FOCUSED;
    }
  }
  return GiveChild(state, value);
}

HRESULT GridAccessible::get_accHelp(VARIANT child, BSTR* text) {
  return WindowText(child, text, &IAccessible::get_accHelp);
}

HRESULT GridAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
  if (file == nullptr || topic == nullptr) return E_POINTER;
  *file = nullptr;
  Target target;
  const HRESULT resolved = Resolve(child, target);
  if (FAILED(resolved)) return resolved;
  return ForWindow(target) ? window_->get_accHelpTopic(file, child, topic) : DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* text) {
  return WindowText(child, text, &IAccessible::get_accKeyboardShortcut);
}

HRESULT GridAccessible::get_accFocus(VARIANT* child) {
  if (child == nullptr) return E_POINTER;
  *child = Empty();
  if (Grid() == nullptr) return RPC_E_DISCONNECTED;
  if (!Focused()) return S_FALSE;
  const GridCoord current = Grid()->Current();
  // Only the header row, no cell to be current: the table itself has the focus.
  if (current.row >= Grid()->RowCount())
    return IsTable() ? GiveChild(child, CHILDID_SELF) : S_FALSE;
  if (IsTable()) return GiveObject(child, NewRow(current.row));
  return current.row == row_ ? GiveChild(child, current.col + 1) : S_FALSE;
}

HRESULT GridAccessible::get_accSelection(VARIANT* children) {
  if (children == nullptr) return E_POINTER;
  *children = Empty();
  if (Grid() == nullptr) return RPC_E_DISCONNECTED;
  // The current cell, and the row that holds it: the rest of a range is told by each cell's
  // selected state.
  const GridCoord current = Grid()->Current();
  if (current.row >= Grid()->RowCount()) return S_FALSE;
  if (IsTable()) return GiveObject(children, NewRow(current.row));
  return current.row == row_ ? GiveChild(children, current.col + 1) : S_FALSE;
}

HRESULT GridAccessible::get_accDefaultAction(VARIANT child, BSTR* text) {
  return WindowText(child, text, &IAccessible::get_accDefaultAction);
}

HRESULT GridAccessible::accSelect(long flags, VARIANT child) {
  Target target;
  const HRESULT resolved = Resolve(child, target);
  if (FAILED(resolved)) return resolved;
  // Cells are chosen by the user's own keys and clicks only.
  return ForWindow(target) ? window_->accSelect(flags, child) : DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::accLocation(long* left, long* top, long* width, long* height,
                                    VARIANT child) {
  if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
  Target target;
  const HRESULT resolved = Resolve(child, target);
  if (FAILED(resolved)) return resolved;
  if (ForWindow(target)) return window_->accLocation(left, top, width, height, child);
  if (target.row < 0) return DISP_E_MEMBERNOTFOUND;
  const RECT rect = ScreenRect(target);
  *left = rect.left;
  *top = rect.top;
  *width = rect.right - rect.left;
  *height = rect.bottom - rect.top;
  return S_OK;
}

HRESULT GridAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (end == nullptr) return E_POINTER;
  *end = Empty();
  Target target;
  const HRESULT resolved = Resolve(start, target);
  if (FAILED(resolved)) return resolved;
  const StringGrid& grid = *Grid();
  const bool first = direction == NAVDIR_FIRSTCHILD;
  const bool last = direction == NAVDIR_LASTCHILD;
  const bool forward = direction == NAVDIR_NEXT || direction == NAVDIR_DOWN;
  const bool backward = direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP;
  if (first || last) {
    if (start.lVal != CHILDID_SELF) return E_INVALIDARG;
    if (IsTable()) return GiveObject(end, NewRow(first ? 0 : grid.RowCount() - 1));
    return GiveChild(end, first ? 1 : grid.ColCount());
  }
  if (target.row < 0) {
    return window_ != nullptr ? window_->accNavigate(direction, start, end) : GiveNothing(end);
  }
  if (target.col < 0) {
    // Rows, whether asked of the table or of a row itself, lie above and below one another.
    const int row = target.row + (forward ? 1 : backward ? -1 : grid.RowCount());
    if (row < 0 || row >= grid.RowCount()) return GiveNothing(end);
    return GiveObject(end, NewRow(row));
  }
  const bool right = direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT;
  const bool left = direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT;
  const int col = target.col + (right ? 1 : left ? -1 : grid.ColCount());
  if (col < 0 || col >= grid.ColCount()) return GiveNothing(end);
  return GiveChild(end, col + 1);
}

HRESULT GridAccessible::accHitTest(long x, long y, VARIANT* child) {
  if (child == nullptr) return E_POINTER;
  *child = Empty();
  if (Grid() == nullptr) return RPC_E_DISCONNECTED;
  POINT at{x, y};
  ScreenToClient(Hwnd(), &at);
  RECT client;
  GetClientRect(Hwnd(), &client);
  if (!PtInRect(&client, at)) return S_FALSE;
  const GridCoord cell = Grid()->CellAt(at.x, at.y);
  if (IsTable())
    return cell.row >= 0 ? GiveObject(child, NewRow(cell.row)) : GiveChild(child, CHILDID_SELF);
  if (cell.row != row_) return S_FALSE;
  return GiveChild(child, cell.col + 1);
}

HRESULT GridAccessible::accDoDefaultAction(VARIANT child) {
  Target target;
  const HRESULT resolved = Resolve(child, target);
  if (FAILED(resolved)) return resolved;
  return ForWindow(target) ? window_->accDoDefaultAction(child) : DISP_E_MEMBERNOTFOUND;
}

}  // namespace toolkit::win32
