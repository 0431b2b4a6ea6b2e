// String grid: geometry and hit-testing, the column-resize grab zone, the mouse protocol and the
// order of what it tells its peer and its handler, keys, wheel, and cell-only repaints.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/core/stringgrid.h"

namespace {

using toolkit::GridCoord;
using toolkit::MouseButton;
using toolkit::Rect;
using toolkit::ssDouble;
using toolkit::ssNone;
using toolkit::ssShift;
using toolkit::StringGrid;

// Records every peer call, with the grid state the peer would see at that moment.
struct GridRecorder : toolkit::StringGridPeer {
  StringGrid* grid = nullptr;
  std::vector<std::string> calls;
  void CellChanged(int col, int row) override {
    calls.push_back("cell " + std::to_string(col) + "," + std::to_string(row));
  }
  void LayoutChanged() override {
    calls.push_back("layout sizing=" + std::to_string(grid->Sizing()) +
                    " w0=" + std::to_string(grid->ColWidth(0)));
  }
  void Invalidate() override { calls.push_back("invalidate"); }
  void SizingLineMoved(int x) override { calls.push_back("line " + std::to_string(x)); }
  void RowsChanged() override { calls.push_back("rows"); }
  int TextWidth(const std::string& text) override { return 7 * static_cast<int>(text.size()); }
};

// The file list as the main window sets it up: widths 120, 80, 50, 50, 50; 24-px rows.
struct GridFixture : ::testing::Test {
  StringGrid grid{"StringGrid1", nullptr, 5};
  GridRecorder peer;
  std::vector<std::string> presses;

  GridFixture() {
    const int widths[] = {120, 80, 50, 50, 50};
    for (int c = 0; c < 5; ++c) grid.SetColWidth(c, widths[c]);
    grid.SetRowCount(20);
    grid.SetBounds({0, 0, 300, 144});  // header and five data rows
    peer.grid = &grid;
    grid.SetPeer(&peer);
    grid.OnMouseDown = [this](MouseButton b, unsigned shift, int x, int y) {
      const GridCoord cur = grid.Current();
      presses.push_back(std::to_string(static_cast<int>(b)) + " " + std::to_string(shift) + " " +
                        std::to_string(x) + "," + std::to_string(y) +
                        " cur=" + std::to_string(cur.col) + "," + std::to_string(cur.row) +
                        " sizing=" + std::to_string(grid.Sizing()));
    };
  }
  ~GridFixture() override { grid.SetPeer(nullptr); }

  void Click(MouseButton b, unsigned shift, int x, int y) {
    grid.MouseDown(b, shift, x, y);
    grid.MouseUp(b, shift, x, y);
  }
};

TEST(StringGridModel, StartsAsAFreshGrid) {
  StringGrid grid("g", nullptr, 5);
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.ColWidth(4), 64);
  EXPECT_EQ(grid.Current(), (GridCoord{0, 1}));
  EXPECT_EQ(grid.TopRow(), 1);
  EXPECT_EQ(grid.TextWidth("12345"), 40) << "8 px per byte without a peer";
  grid.SetRowCount(0);
  EXPECT_EQ(grid.RowCount(), 1);
  grid.SetRowCount(3);
  EXPECT_EQ(grid.Cell(4, 2), "");
}

TEST_F(GridFixture, RowsShrinkWithTheCurrentCellAndSwapWholeRows) {
  grid.SetCurrent({2, 15});
  EXPECT_EQ(grid.TopRow(), 11);
  grid.SetRowCount(2);
  EXPECT_EQ(grid.Current(), (GridCoord{2, 1}));
  EXPECT_EQ(grid.TopRow(), 1);
  grid.SetRowCount(3);
  grid.SetCell(0, 1, "a");
  grid.SetCell(4, 2, "z");
  grid.PermuteRows(1, {2, 1});
  EXPECT_EQ(grid.Cell(0, 2), "a");
  EXPECT_EQ(grid.Cell(4, 1), "z");
  EXPECT_EQ(grid.Cell(0, 1), "");
}

TEST_F(GridFixture, RowDataFollowsItsRowAndGoesWithIt) {
  grid.SetRowCount(6);
  for (int row = 1; row < 6; ++row) grid.SetCell(0, row, std::to_string(row));
  grid.SetRowData(2, "two");
  grid.SetRowData(4, "four");
  grid.SetRowData(5, "five");
  grid.PermuteRows(2, {4, 2, 3});  // rows 1 and 5 stay where they are
  for (int row = 1; row < 6; ++row) {
    const std::string& cell = grid.Cell(0, row);
    EXPECT_EQ(grid.RowData(row), cell == "2"   ? "two"
                                 : cell == "4" ? "four"
                                 : cell == "5" ? "five"
                                               : "")
        << row;
  }
  grid.ClearRow(2);
  EXPECT_EQ(grid.RowData(2), "");
  grid.SetRowCount(4);
  grid.SetRowCount(6);
  EXPECT_EQ(grid.RowData(5), "") << "a row dropped takes its data";
  EXPECT_EQ(grid.RowData(3), "two");
}

TEST_F(GridFixture, GeometryAndHitTesting) {
  EXPECT_EQ(grid.CellRect(1, 0), (Rect{120, 0, 80, 24}));
  EXPECT_EQ(grid.CellRect(2, 3), (Rect{200, 72, 50, 24}));
  // Half-open cells: a border pixel belongs to the cell on its right.
  EXPECT_EQ(grid.CellAt(0, 0), (GridCoord{0, 0}));
  EXPECT_EQ(grid.CellAt(119, 23), (GridCoord{0, 0}));
  EXPECT_EQ(grid.CellAt(120, 24), (GridCoord{1, 1}));
  EXPECT_EQ(grid.CellAt(349, 47), (GridCoord{4, 1}));
  EXPECT_EQ(grid.CellAt(350, 10), (GridCoord{}));
  EXPECT_EQ(grid.CellAt(-1, 10), (GridCoord{}));
  EXPECT_EQ(grid.CellAt(10, 24 * 20), (GridCoord{})) << "below the last row";
  // A header press needs a column's inside: neither a grid line nor a column's first pixel.
  toolkit::StringGridCreateArgs lined;
  lined.gridLineWidth = 1;
  StringGrid withLines{"StringGrid1", nullptr, 5, lined};
  withLines.SetColWidth(0, 120);  // column 1 from x = 121
  EXPECT_EQ(withLines.HeaderColumnAt(120, 5), -1);
  EXPECT_EQ(withLines.HeaderColumnAt(121, 5), -1);
  EXPECT_EQ(withLines.HeaderColumnAt(122, 23), 1);
  EXPECT_EQ(withLines.HeaderColumnAt(122, 24), -1) << "below the header";

  grid.SetTopRow(4);
  EXPECT_EQ(grid.RowTop(4), 24);
  EXPECT_EQ(grid.RowTop(1), -48);
  EXPECT_EQ(grid.CellAt(5, 30), (GridCoord{0, 4}));
  EXPECT_EQ(grid.LastVisibleRow(144), 8);
  EXPECT_EQ(grid.LastVisibleRow(145), 9) << "partly visible counts";
  EXPECT_EQ(grid.VisibleDataRows(145), 5);
  EXPECT_EQ(grid.LastVisibleCol(300), 3);
  EXPECT_EQ(grid.LastVisibleCol(301), 4);
  EXPECT_EQ(grid.LastVisibleCol(200), 1);
  EXPECT_EQ(grid.LastVisibleCol(201), 2);
}

TEST_F(GridFixture, GrabZoneRunsFromThreeLeftToFourRightOfABorder) {
  EXPECT_EQ(grid.ResizeBorderAt(116, 5), -1);
  EXPECT_EQ(grid.ResizeBorderAt(117, 5), 0);
  EXPECT_EQ(grid.ResizeBorderAt(124, 5), 0);
  EXPECT_EQ(grid.ResizeBorderAt(125, 5), -1);
  EXPECT_EQ(grid.ResizeBorderAt(197, 0), 1);
  EXPECT_EQ(grid.ResizeBorderAt(354, 23), 4);
  EXPECT_EQ(grid.ResizeBorderAt(355, 23), -1);
  EXPECT_EQ(grid.ResizeBorderAt(120, 24), -1) << "header row only";
  EXPECT_EQ(grid.ResizeBorderAt(120, -1), -1);

  // Overlapping zones of a narrow column: the nearest border, a tie to the left one.
  grid.SetColWidth(2, 5);  // borders at 200 and 205
  EXPECT_EQ(grid.ResizeBorderAt(202, 5), 1);
  EXPECT_EQ(grid.ResizeBorderAt(203, 5), 2);
  grid.SetColWidth(2, 6);  // borders at 200 and 206
  EXPECT_EQ(grid.ResizeBorderAt(203, 5), 1);
  EXPECT_EQ(grid.ResizeBorderAt(204, 5), 2);
}

TEST_F(GridFixture, ScrolledGridStartsItsFirstVisibleColumnAtZero) {
  grid.SetLeftCol(2);
  EXPECT_EQ(grid.ColumnLeft(2), 0);
  EXPECT_EQ(grid.ColumnLeft(0), -200);
  EXPECT_EQ(grid.CellAt(0, 0), (GridCoord{2, 0}));
  EXPECT_EQ(grid.CellAt(60, 30), (GridCoord{3, 1}));
  EXPECT_EQ(grid.ResizeBorderAt(52, 5), 2);
  EXPECT_EQ(grid.ResizeBorderAt(-2, 5), -1) << "hidden columns have no zone";
  grid.SetLeftCol(9);
  EXPECT_EQ(grid.LeftCol(), 4);
}

TEST_F(GridFixture, PressesInsideHeaderCellsReachTheHandlerWithAnyButton) {
  Click(MouseButton::Left, ssNone, 60, 10);
  Click(MouseButton::Left, ssDouble, 60, 10);  // the second press of a double click
  Click(MouseButton::Right, ssNone, 121, 10);  // a right press on a border is no resize
  Click(MouseButton::Middle, ssNone, 300, 5);
  EXPECT_EQ(presses, (std::vector<std::string>{
                         "0 0 60,10 cur=0,1 sizing=0", "0 8 60,10 cur=0,1 sizing=0",
                         "1 0 121,10 cur=0,1 sizing=0", "2 0 300,5 cur=0,1 sizing=0"}));
  EXPECT_EQ(grid.Current(), (GridCoord{0, 1})) << "header presses do not move the cell";
  EXPECT_EQ(grid.ColWidth(0), 120);
}

TEST_F(GridFixture, DoubleClickOnABorderReportsOnlyItsSecondPress) {
  grid.MouseDown(MouseButton::Left, ssNone, 121, 10);
  EXPECT_TRUE(grid.Sizing());
  EXPECT_EQ(grid.SizingColumn(), 0);
  grid.MouseUp(MouseButton::Left, ssNone, 121, 10);
  grid.MouseDown(MouseButton::Left, ssDouble, 121, 10);
  grid.MouseUp(MouseButton::Left, ssNone, 121, 10);
  EXPECT_EQ(presses, (std::vector<std::string>{"0 8 121,10 cur=0,1 sizing=0"}));
  EXPECT_EQ(grid.ColWidth(0), 120);
  EXPECT_EQ(peer.calls,
            (std::vector<std::string>{"line 120", "line -1", "layout sizing=0 w0=120"}));
}

TEST_F(GridFixture, BorderDragResizesOnReleaseAfterTheSizingLineIsGone) {
  grid.MouseDown(MouseButton::Left, ssNone, 122, 5);
  grid.MouseMove(ssNone, 150, 40);
  grid.MouseMove(ssNone, 170, 60);
  EXPECT_EQ(grid.ColWidth(0), 120) << "nothing applies before the release";
  grid.MouseUp(MouseButton::Left, ssNone, 172, 60);
  EXPECT_FALSE(grid.Sizing());
  EXPECT_EQ(grid.ColWidth(0), 170);
  EXPECT_TRUE(presses.empty()) << "dragging a border is not a press on the header";
  EXPECT_EQ(peer.calls, (std::vector<std::string>{"line 120", "line 148", "line 168", "line -1",
                                                  "layout sizing=0 w0=170"}));
}

TEST_F(GridFixture, OnlyTheLeftReleaseEndsABorderDragAndOtherPressesMeanwhileDoNothing) {
  grid.MouseDown(MouseButton::Left, ssNone, 122, 5);
  grid.MouseMove(ssNone, 150, 5);
  for (MouseButton other : {MouseButton::Right, MouseButton::Middle}) {
    for (unsigned shift : {ssNone, ssDouble}) {
      grid.MouseDown(other, shift, 60, 5);
      grid.MouseUp(other, shift, 60, 5);
    }
  }
  EXPECT_TRUE(grid.Sizing());
  EXPECT_EQ(grid.ColWidth(0), 120);
  EXPECT_TRUE(presses.empty()) << "a press on the header would sort";
  grid.MouseUp(MouseButton::Left, ssNone, 150, 5);
  EXPECT_EQ(grid.ColWidth(0), 148);
  EXPECT_EQ(peer.calls, (std::vector<std::string>{"line 120", "line 148", "line -1",
                                                  "layout sizing=0 w0=148"}));
}

TEST_F(GridFixture, ResizeToOnePixelOrLessIsIgnoredAndTwoApplies) {
  grid.MouseDown(MouseButton::Left, ssNone, 121, 5);
  grid.MouseUp(MouseButton::Left, ssNone, 2, 5);  // 120 + (2 - 121) = 1
  EXPECT_EQ(grid.ColWidth(0), 120);
  EXPECT_EQ(peer.calls.back(), "line -1") << "no repaint for an ignored width";
  grid.MouseDown(MouseButton::Left, ssNone, 121, 5);
  grid.MouseUp(MouseButton::Left, ssNone, 3, 5);
  EXPECT_EQ(grid.ColWidth(0), 2);
}

TEST_F(GridFixture, CancelModeEndsTheDragWithTheWidthUnchanged) {
  grid.MouseDown(MouseButton::Left, ssNone, 201, 5);
  grid.MouseMove(ssNone, 260, 5);
  grid.CancelMode();
  EXPECT_FALSE(grid.Sizing());
  grid.MouseUp(MouseButton::Left, ssNone, 260, 5);
  EXPECT_EQ(grid.ColWidth(1), 80);
  EXPECT_EQ(peer.calls, (std::vector<std::string>{"line 200", "line 259", "line -1"}));
}

TEST_F(GridFixture, LeftPressOnDataMovesTheCellBeforeTheHandlerAndDragSelects) {
  grid.MouseDown(MouseButton::Left, ssNone, 130, 30);
  EXPECT_EQ(presses.back(), "0 0 130,30 cur=1,1 sizing=0");
  grid.MouseMove(ssNone, 210, 80);
  grid.MouseUp(MouseButton::Left, ssNone, 210, 80);
  grid.MouseMove(ssNone, 10, 120);  // button up: no longer selecting
  EXPECT_EQ(grid.Current(), (GridCoord{2, 3}));
  EXPECT_EQ(grid.SelectionAnchor(), (GridCoord{1, 1}));
  EXPECT_TRUE(grid.IsSelected(2, 1));
  EXPECT_FALSE(grid.IsSelected(0, 2));

  Click(MouseButton::Left, ssShift, 10, 100);  // extends from the anchor
  EXPECT_EQ(grid.Current(), (GridCoord{0, 4}));
  EXPECT_TRUE(grid.IsSelected(0, 1));
  Click(MouseButton::Right, ssNone, 300, 100);
  EXPECT_EQ(grid.Current(), (GridCoord{0, 4})) << "only the left button selects";
  EXPECT_EQ(presses.size(), 3u);
}

TEST_F(GridFixture, KeysMoveWithinDataCellsAndScrollIntoView) {
  using Key = StringGrid::Key;
  grid.KeyDown(Key::Up, ssNone, 300, 144);
  EXPECT_EQ(grid.Current(), (GridCoord{0, 1}));
  grid.KeyDown(Key::PageDown, ssNone, 300, 144);
  EXPECT_EQ(grid.Current(), (GridCoord{0, 6}));
  EXPECT_EQ(grid.TopRow(), 2);
  grid.KeyDown(Key::End, toolkit::ssCtrl, 300, 144);
  EXPECT_EQ(grid.Current(), (GridCoord{0, 19}));
  EXPECT_EQ(grid.TopRow(), 15);
  grid.KeyDown(Key::Down, ssNone, 300, 144);
  EXPECT_EQ(grid.Current(), (GridCoord{0, 19}));
  grid.KeyDown(Key::Home, toolkit::ssCtrl, 300, 144);
  EXPECT_EQ(grid.Current(), (GridCoord{0, 1}));
  EXPECT_EQ(grid.TopRow(), 1);

  grid.KeyDown(Key::Right, ssNone, 150, 144);  // column 1 ends at 200: scroll by one
  EXPECT_EQ(grid.Current(), (GridCoord{1, 1}));
  EXPECT_EQ(grid.LeftCol(), 1);
  grid.KeyDown(Key::End, ssNone, 150, 144);
  EXPECT_EQ(grid.Current(), (GridCoord{4, 1}));
  EXPECT_EQ(grid.LeftCol(), 2);
  grid.KeyDown(Key::Right, ssNone, 150, 144);
  EXPECT_EQ(grid.Current(), (GridCoord{4, 1}));
  grid.KeyDown(Key::Home, ssNone, 150, 144);
  EXPECT_EQ(grid.LeftCol(), 0);

  grid.KeyDown(Key::Down, ssShift, 300, 144);
  grid.KeyDown(Key::Right, ssShift, 300, 144);
  EXPECT_EQ(grid.SelectionAnchor(), (GridCoord{0, 1}));
  EXPECT_TRUE(grid.IsSelected(1, 2));
  grid.KeyDown(Key::PageUp, ssNone, 300, 144);
  EXPECT_FALSE(grid.IsSelected(1, 2));
}

TEST_F(GridFixture, WheelScrollsThreeRowsPerNotchWithinTheRows) {
  grid.MouseWheel(-1, 144);
  EXPECT_EQ(grid.TopRow(), 4);
  grid.MouseWheel(-10, 144);
  EXPECT_EQ(grid.TopRow(), 15) << "the last row at the bottom";
  grid.MouseWheel(2, 144);
  EXPECT_EQ(grid.TopRow(), 9);
  grid.MouseWheel(10, 144);
  EXPECT_EQ(grid.TopRow(), 1);
  peer.calls.clear();
  grid.MouseWheel(1, 144);
  EXPECT_TRUE(peer.calls.empty());
}

TEST_F(GridFixture, DataWritesRepaintOnlyTheirCellAndWidthsRepaintAll) {
  grid.SetCell(1, 3, "  42");
  grid.SetCell(1, 3, "  42");  // rewritten unchanged: still marked
  grid.ClearRow(2);
  grid.SetColWidth(1, 90);
  grid.SetColWidth(1, 90);
  // Rows told as changed only by what a listing or a sort does to them, after the change.
  grid.SetRowCount(20);
  grid.SetRowCount(3);
  grid.PermuteRows(1, {2, 1});
  EXPECT_EQ(peer.calls,
            (std::vector<std::string>{"cell 1,3", "cell 1,3", "cell 0,2", "cell 1,2", "cell 2,2",
                                      "cell 3,2", "cell 4,2", "rows", "layout sizing=0 w0=120",
                                      "layout sizing=0 w0=120", "rows", "invalidate", "rows"}));
  EXPECT_EQ(grid.TextWidth("0"), 7);
}

// What a screen reader hears of each cell of a listed row and of the header, with the exact
// name where the row has one, and after a sort moved the rows.
TEST(StringGridModel, SpokenCellsGiveTheHeaderAndTheTextAsReadNotAsPadded) {
  toolkit::StringGridCreateArgs args;
  args.exactTextColumn = 0;
  StringGrid grid("g", nullptr, 3, args);
  grid.SetRowCount(4);
  const char* const header[] = {" Name", " Bytes ", "Type"};
  const char* const shown[3][3] = {
      {"caf?.txt", "     12", " TXT"}, {" lead and trail ", "", "   "}, {"plain", "-3 ", " "}};
  for (int c = 0; c < 3; ++c) {
    grid.SetCell(c, 0, header[c]);
    for (int r = 1; r < 4; ++r) grid.SetCell(c, r, shown[r - 1][c]);
  }
  const std::string exact = u8"caf\u00e9.txt";
  grid.SetRowData(1, exact);
  grid.PermuteRows(1, {3, 1, 2});  // plain, caf?.txt, lead and trail
  struct Case {
    int col, row;
    std::string header, text;
    bool exact;
  };
  const Case cases[] = {
      {0, 0, "", "Name", false},
      {1, 0, "", "Bytes", false},
      {0, 1, "Name", "plain", false},
      {1, 1, "Bytes", "-3", false},
      {2, 1, "Type", "", false},
      {0, 2, "Name", exact, true},
      {1, 2, "Bytes", "12", false},
      {2, 2, "Type", "TXT", false},
      {0, 3, "Name", " lead and trail ", false},  // a name is said as it is
      {1, 3, "Bytes", "", false},
  };
  for (const Case& c : cases) {
    const toolkit::SpokenCell spoken = grid.Spoken(c.col, c.row);
    EXPECT_EQ(spoken.header, c.header) << c.col << "," << c.row;
    EXPECT_EQ(spoken.text, c.text) << c.col << "," << c.row;
    EXPECT_EQ(spoken.exact, c.exact) << c.col << "," << c.row;
  }
}

}  // namespace
