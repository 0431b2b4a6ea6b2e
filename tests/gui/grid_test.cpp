// The string grid control under real painting and mouse messages: the draw-cell event, the real
// font's widths, column resizing against header presses, scrolling, keys and pixels.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "resources/layout.h"
#include "resources/texts.h"
#include "tests/gui/gui_fixture.h"

namespace {

using gui::ProgramWindow;
using toolkit::MouseButton;

struct Press {
  MouseButton button;
  unsigned shift;
  int x;
  int y;
};

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main.grid.OnDrawCell = [this](int col, int row, const toolkit::Rect& rect) {
      drawn.push_back({col, row});
      if (col == 1 && row == 0) {
        headerRect = rect;
        if (onHeader1) onHeader1();
      }
    };
    main.grid.OnMouseDown = [this](MouseButton button, unsigned shift, int x, int y) {
      presses.push_back({button, shift, x, y});
    };
    main.Create();
    main.Show();
    grid = ProgramWindow::Of(main.grid);
  }

  // Repaints everything now and returns the cells the draw-cell event saw.
  std::vector<toolkit::GridCoord> Repaint() {
    drawn.clear();
    RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return drawn;
  }
  int Count(const std::vector<toolkit::GridCoord>& cells, int col, int row) const {
    int n = 0;
    for (const auto& cell : cells) n += cell.col == col && cell.row == row;
    return n;
  }
  void Send(UINT msg, WPARAM keys, int x, int y) {
    SendMessageA(grid, msg, keys, MAKELPARAM(x, y));
  }

  ProgramWindow main;
  HWND grid = nullptr;
  std::vector<toolkit::GridCoord> drawn;
  std::vector<Press> presses;
  toolkit::Rect headerRect;
  std::function<void()> onHeader1;
};

TEST_F(GridTest, EveryVisibleCellIsDrawnAndReportedWithItsRectangle) {
  const auto cells = Repaint();
  EXPECT_EQ(Count(cells, 1, 0), 1);
  EXPECT_EQ(headerRect, (toolkit::Rect{120, 0, 80, 24}));
  // Header row first, then the data rows, each visible column once.
  ASSERT_FALSE(cells.empty());
  EXPECT_EQ(cells.front().row, 0);
  EXPECT_EQ(Count(cells, 3, 4), 1);
  // Column 4 starts at x = 300, right of the 277-pixel client area: not drawn at all.
  EXPECT_EQ(Count(cells, 4, 0), 0);
}

TEST_F(GridTest, CellsWrittenWhileTheHeaderIsDrawnRepaintOnlyThemselves) {
  main.grid.SetCell(1, 1, "7");
  onHeader1 = [this] { main.grid.SetCell(1, 1, "          7"); };
  auto cells = Repaint();
  EXPECT_EQ(Count(cells, 1, 0), 1);
  // The write marked its cell; the next paint draws that cell and not the header.
  drawn.clear();
  gui::Pump(30);
  EXPECT_EQ(Count(drawn, 1, 1), 1);
  EXPECT_EQ(Count(drawn, 1, 0), 0);
  EXPECT_EQ(drawn.size(), 1u);
}

TEST_F(GridTest, TextWidthMeasuresTheFixedPitchGridFont) {
  const int zero = main.grid.TextWidth("0");
  std::printf("grid font: TextWidth(\"0\") = %d px\n", zero);
  EXPECT_EQ(zero, 7);
  EXPECT_EQ(main.grid.TextWidth("0123456789"), 10 * zero);
  EXPECT_EQ(main.grid.TextWidth("i"), zero);
  // A two-byte character is twice as wide as a one-byte one.
  EXPECT_EQ(main.grid.TextWidth(texts::kHeaderType), 4 * zero);
}

TEST_F(GridTest, DraggingAHeaderBorderResizesWithoutAPressEvent) {
  // Column 0 ends at x = 120.
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 121, 5);
  EXPECT_TRUE(main.grid.Sizing());
  EXPECT_EQ(GetCapture(), grid);
  Send(WM_MOUSEMOVE, MK_LBUTTON, 141, 5);
  EXPECT_EQ(main.grid.ColWidth(0), 120);
  drawn.clear();
  Send(WM_LBUTTONUP, 0, 151, 5);
  EXPECT_EQ(main.grid.ColWidth(0), 150);
  EXPECT_FALSE(main.grid.Sizing());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(presses.empty());
  // The whole grid repaints after the drag, the Bytes header included.
  gui::Pump(30);
  EXPECT_EQ(Count(drawn, 1, 0), 1);
}

TEST_F(GridTest, LosingTheMouseOrEscCancelsAResize) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 120, 5);
  Send(WM_MOUSEMOVE, MK_LBUTTON, 170, 5);
  SetCapture(main.FormWindow());
  ReleaseCapture();
  EXPECT_FALSE(main.grid.Sizing());
  EXPECT_EQ(main.grid.ColWidth(0), 120);

  Send(WM_LBUTTONDOWN, MK_LBUTTON, 120, 5);
  Send(WM_MOUSEMOVE, MK_LBUTTON, 170, 5);
  SendMessageA(grid, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(main.grid.Sizing());
  EXPECT_EQ(GetCapture(), nullptr);
  Send(WM_LBUTTONUP, 0, 170, 5);
  EXPECT_EQ(main.grid.ColWidth(0), 120);
  EXPECT_TRUE(presses.empty());
}

TEST_F(GridTest, OnlyTheLeftReleaseEndsAResizeAndTheEscKeyCancelsIt) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 121, 5);
  Send(WM_MOUSEMOVE, MK_LBUTTON, 141, 5);
  Send(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, 60, 5);
  Send(WM_RBUTTONUP, MK_LBUTTON, 60, 5);
  EXPECT_TRUE(main.grid.Sizing());
  EXPECT_EQ(GetCapture(), grid);
  EXPECT_TRUE(presses.empty());
  Send(WM_LBUTTONUP, 0, 151, 5);
  EXPECT_EQ(main.grid.ColWidth(0), 150);

  // A real Esc key reaches the grid: the press gave it the focus.
  SetForegroundWindow(main.FormWindow());
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 151, 5);
  Send(WM_MOUSEMOVE, MK_LBUTTON, 181, 5);
  ASSERT_TRUE(gui::TypeKey(VK_ESCAPE));
  EXPECT_TRUE(gui::PumpUntil([&] { return !main.grid.Sizing(); }, 10000));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(main.grid.ColWidth(0), 150);
}

TEST_F(GridTest, PressesInsideHeaderCellsAndWithOtherButtonsReachTheHandler) {
  Send(WM_LBUTTONDOWN, MK_LBUTTON, 60, 5);
  Send(WM_LBUTTONUP, 0, 60, 5);
  Send(WM_RBUTTONDOWN, MK_RBUTTON, 121, 5);
  Send(WM_RBUTTONUP, 0, 121, 5);
  // The second press of a double click reaches the handler even on a border.
  Send(WM_LBUTTONDBLCLK, MK_LBUTTON | MK_SHIFT, 120, 5);
  Send(WM_LBUTTONUP, 0, 120, 5);
  ASSERT_EQ(presses.size(), 3u);
  EXPECT_EQ(presses[0].button, MouseButton::Left);
  EXPECT_EQ(presses[0].x, 60);
  EXPECT_EQ(presses[0].shift, toolkit::ssNone);
  EXPECT_EQ(presses[1].button, MouseButton::Right);
  EXPECT_EQ(presses[2].shift, toolkit::ssDouble | toolkit::ssShift);
  EXPECT_EQ(main.grid.ColWidth(0), 120);
  // The grid's class delivers double clicks at all.
  EXPECT_NE(GetClassLongA(grid, GCL_STYLE) & CS_DBLCLKS, 0u);
}

TEST_F(GridTest, SizingCursorOverTheGrabZoneOnly) {
  SetForegroundWindow(main.FormWindow());
  POINT at{121, 5};
  ClientToScreen(grid, &at);
  SetCursorPos(at.x, at.y);
  SendMessageA(grid, WM_SETCURSOR, reinterpret_cast<WPARAM>(grid),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZEWE));
  at = {60, 5};
  ClientToScreen(grid, &at);
  SetCursorPos(at.x, at.y);
  SendMessageA(grid, WM_SETCURSOR, reinterpret_cast<WPARAM>(grid),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

TEST_F(GridTest, ScrollBarsAppearWhenNeededAndScrollByRowsAndColumns) {
  // At the default layout the five columns (350 px) are wider than the grid.
  EXPECT_NE(GetWindowLongA(grid, GWL_STYLE) & WS_HSCROLL, 0);
  // Layout changes settle by the next paint (a listing changes the row count per entry).
  for (int c = 0; c < 5; ++c) main.grid.SetColWidth(c, 40);
  UpdateWindow(grid);
  EXPECT_EQ(GetWindowLongA(grid, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
  main.grid.SetRowCount(200);
  UpdateWindow(grid);
  EXPECT_NE(GetWindowLongA(grid, GWL_STYLE) & WS_VSCROLL, 0);
  SendMessageA(grid, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(main.grid.TopRow(), 2);
  SendMessageA(grid, WM_VSCROLL, SB_PAGEDOWN, 0);
  const int page = main.grid.VisibleDataRows(gui::ClientRectOf(grid).bottom);
  EXPECT_EQ(main.grid.TopRow(), 2 + page);
  SendMessageA(grid, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(main.grid.TopRow(), 200 - page);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(grid, SB_VERT, &info);
  EXPECT_EQ(info.nPos, 199 - page);
  EXPECT_EQ(static_cast<int>(info.nPage), page);

  SendMessageA(grid, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(main.grid.TopRow(), 200 - page - 3);

  main.grid.SetColWidth(0, 400);
  UpdateWindow(grid);
  EXPECT_NE(GetWindowLongA(grid, GWL_STYLE) & WS_HSCROLL, 0);
  SendMessageA(grid, WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(main.grid.LeftCol(), 1);
  SendMessageA(grid, WM_HSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(main.grid.LeftCol(), 1);  // from column 1 on, all fit

  // Fewer rows again: the bars go, and the top row comes back to the first data row.
  main.grid.SetRowCount(2);
  main.grid.SetColWidth(0, 40);
  UpdateWindow(grid);
  EXPECT_EQ(GetWindowLongA(grid, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), 0);
  EXPECT_EQ(main.grid.TopRow(), 1);
  EXPECT_EQ(main.grid.LeftCol(), 0);
}

TEST_F(GridTest, ArrowKeysMoveTheCurrentCell) {
  SetFocus(grid);
  SendMessageA(grid, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(grid, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(main.grid.Current(), (toolkit::GridCoord{1, 2}));
  EXPECT_EQ(SendMessageA(grid, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
}

TEST_F(GridTest, HidingTheGridHidesItsWindow) {
  main.grid.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(grid));
  main.grid.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(grid));
}

TEST_F(GridTest, HeaderCellsArePaintedRaisedOnButtonFaceAndDataOnTheWindowColour) {
  main.grid.SetCell(0, 1, "abc");
  Repaint();
  HDC dc = GetDC(grid);
  // Header cell 1 spans x 120..199, y 0..23: light top-left edge, dark bottom-right edge.
  EXPECT_EQ(GetPixel(dc, 160, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(GetPixel(dc, 160, 23), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(GetPixel(dc, 199, 12), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(GetPixel(dc, 195, 12), GetSysColor(COLOR_BTNFACE));
  // A data cell that is not current is drawn on the window colour.
  EXPECT_EQ(GetPixel(dc, 195, 40), GetSysColor(COLOR_WINDOW));
  // The current cell (0,1) is highlighted while the grid does not have the focus.
  SetFocus(ProgramWindow::Of(main.tree));
  Repaint();
  EXPECT_EQ(GetPixel(dc, 110, 40), GetSysColor(COLOR_HIGHLIGHT));
  ReleaseDC(grid, dc);
}

}  // namespace
