// The grid as a screen reader meets it through MSAA: a table whose children are its rows, the
// header row first, each a row of cells (column headers in the header row). A thin view: every
// answer is read from the model when asked, nothing is copied.
#pragma once

#include <windows.h>

#include "toolkit/core/stringgrid.h"
#include "toolkit/win32/accessible.h"

namespace toolkit::win32 {

class GridAccessible : public AccessibleObject {
 public:
  // The table over the grid's window; its window part (parent, place, focus, siblings) is the
  // system's object for the window.
  static GridAccessible* CreateTable(StringGrid& grid, HWND hwnd);
  // Row r is the table's child r + 1 and the window's object r + 1, which the events of its
  // cells name; cell c is child c + 1 of its row.
  static LONG RowObjectId(int row) { return row + 1; }

  // WM_GETOBJECT for the table (OBJID_CLIENT) or one of its rows; 0 for any other object.
  LRESULT Answer(WPARAM wParam, LPARAM objectId);
  // The window is gone: whoever still holds the table or a row hears so.
  void Detach();

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;

 private:
  // What a child id names, seen from this object: the table itself (row -1), a row itself
  // (col -1) or a cell.
  struct Target {
    int row = -1;
    int col = -1;
  };

  GridAccessible(StringGrid& grid, HWND hwnd, IAccessible* window);
  GridAccessible(GridAccessible* table, int row);
  ~GridAccessible() override;

  using TextProperty = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);

  bool IsTable() const { return row_ < 0; }
  const StringGrid* Grid() const { return table_->grid_; }
  HWND Hwnd() const { return table_->hwnd_; }
  // S_OK with target set, or the failure to return: the window gone, no such child (a row kept
  // by a reader after a listing dropped it included).
  HRESULT Resolve(const VARIANT& child, Target& target) const;
  // The table's own questions go to the system's object for the window.
  bool ForWindow(const Target& target) const { return target.row < 0 && window_ != nullptr; }
  // A text the table's window part may have and its rows and cells have not.
  HRESULT WindowText(VARIANT child, BSTR* text, TextProperty property);
  IDispatch* NewRow(int row);
  bool Focused() const { return GetFocus() == Hwnd(); }
  bool RowShown(int row) const;
  bool ColumnShown(int col) const;
  BSTR CellName(int col, int row) const;
  RECT ScreenRect(const Target& target) const;

  // The table holds the grid; a row holds the table.
  GridAccessible* const table_;
  const int row_;
  StringGrid* grid_ = nullptr;
  HWND hwnd_ = nullptr;
  IAccessible* window_ = nullptr;
};

}  // namespace toolkit::win32
