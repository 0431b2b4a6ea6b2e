// Alignment and the splitter's clamp, collapse and drag, on controls arranged as a main window
// of this kind is (the program's own window is laid out in tests/form).
#include <gtest/gtest.h>

#include "toolkit/core/edit.h"
#include "toolkit/core/form.h"
#include "toolkit/core/panel.h"
#include "toolkit/core/splitter.h"
#include "toolkit/core/statusbar.h"
#include "toolkit/core/stringgrid.h"
#include "toolkit/core/treeview.h"

namespace {

using toolkit::Align;
using toolkit::Rect;

// A left panel (200 wide, a 1-pixel bevel) holding a top panel with an edit and a tree below it,
// a splitter, a grid filling the rest and a status bar at the bottom, created in that order,
// the status bar last, so the bottom group must be laid out before the left one whatever the
// creation order. The edit follows the left panel's width. The client area, 492 x 304, is given
// to the headless form directly.
struct MainWindow {
  MainWindow() {
    panel1.OnResize = [this] {
      ++panel1Resizes;
      edit1.SetWidth(panel1.ClientWidth());
    };
    panel1.SetAlign(Align::Left);
    panel1.SetWidth(160);
    panel2.SetAlign(Align::Top);
    panel2.SetHeight(19);
    edit1.SetBounds({0, 0, 160, 20});
    tree.SetAlign(Align::Client);
    splitter.SetAlign(Align::Left);
    splitter.SetWidth(3);
    grid.SetAlign(Align::Client);
    status.SetAlign(Align::Bottom);
    status.SetHeight(19);
    panel1.SetWidth(200);
    form.SetClientSize(492, 304);
  }
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  toolkit::Form form{"Form1"};
  toolkit::Panel panel1{"Panel1", &form};
  toolkit::Panel panel2{"Panel2", &panel1};
  toolkit::Edit edit1{"Edit1", &panel2};
  toolkit::TreeView tree{"TreeView1", &panel1};
  toolkit::Splitter splitter{"Splitter1", &form};
  toolkit::StringGrid grid{"StringGrid1", &form, 5};
  toolkit::StatusBar status{"StatusBar1", &form};
  int panel1Resizes = 0;
};

TEST(Realign, HiddenControlsTakeNoSpaceAndRightAlignedGoesLeftOfTheEdge) {
  MainWindow w;
  toolkit::Panel right{"Right", &w.form};
  right.SetWidth(50);
  right.SetAlign(Align::Right);
  EXPECT_EQ(right.Bounds(), (Rect{442, 0, 50, 285}));
  EXPECT_EQ(w.grid.Bounds(), (Rect{203, 0, 239, 285}));

  w.status.SetVisible(false);
  EXPECT_EQ(w.panel1.Height(), 304);
  EXPECT_EQ(w.grid.Bounds(), (Rect{203, 0, 239, 304}));
}

TEST(Realign, SizingAnAlignedControlRealignsItsSiblings) {
  MainWindow w;
  const int before = w.panel1Resizes;
  w.panel1.SetBounds({5, 0, 200, 285});  // moved, same size
  EXPECT_EQ(w.panel1Resizes, before);
  EXPECT_EQ(w.panel1.Left(), 0) << "an aligned control goes back into its place";
  w.panel1.SetWidth(150);
  EXPECT_EQ(w.panel1Resizes, before + 1);
  EXPECT_EQ(w.edit1.Width(), 150);
  // Its siblings make room, as when the layout is applied at show time.
  EXPECT_EQ(w.splitter.Left(), 150);
  EXPECT_EQ(w.grid.Bounds(), (Rect{153, 0, 339, 285}));
  w.status.SetHeight(40);
  EXPECT_EQ(w.status.Bounds(), (Rect{0, 264, 492, 40}));
  EXPECT_EQ(w.tree.Height(), 243);
}

TEST(Splitter, FindsThePanelItResizes) {
  MainWindow w;
  EXPECT_EQ(w.splitter.ResizeTarget(), &w.panel1);
  w.panel1.SetVisible(false);
  EXPECT_EQ(w.splitter.ResizeTarget(), nullptr);
}

TEST(Splitter, ClampsSoTheGridKeepsItsMinimumAndCollapsesAtTheMinimum) {
  MainWindow w;
  // 492 client - 3 splitter - 30 kept for the grid.
  EXPECT_EQ(w.splitter.SizeForBar(300), 300);
  EXPECT_EQ(w.splitter.SizeForBar(459), 459);
  EXPECT_EQ(w.splitter.SizeForBar(460), 459);
  EXPECT_EQ(w.splitter.SizeForBar(2000), 459);
  EXPECT_EQ(w.splitter.SizeForBar(31), 31);
  EXPECT_EQ(w.splitter.SizeForBar(30), 0);
  EXPECT_EQ(w.splitter.SizeForBar(-40), 0);

  w.splitter.BeginDrag(201);
  w.splitter.DragTo(2000);
  EXPECT_EQ(w.splitter.BarX(), 459);
  w.splitter.EndDrag();
  EXPECT_EQ(w.panel1.Width(), 459);
  EXPECT_EQ(w.grid.Bounds(), (Rect{462, 0, 30, 285}));
}

TEST(Splitter, DragAppliesOnReleaseAndCollapsedPanelCanBeDraggedOut) {
  MainWindow w;
  w.splitter.BeginDrag(201);  // one pixel into the splitter
  w.splitter.DragTo(101);
  EXPECT_TRUE(w.splitter.Dragging());
  EXPECT_EQ(w.splitter.BarX(), 100);
  EXPECT_EQ(w.panel1.Width(), 200) << "nothing moves before the release";
  w.splitter.EndDrag();
  EXPECT_FALSE(w.splitter.Dragging());
  EXPECT_EQ(w.panel1.Width(), 100);
  EXPECT_EQ(w.splitter.Left(), 100);
  EXPECT_EQ(w.grid.Bounds(), (Rect{103, 0, 389, 285}));
  EXPECT_EQ(w.edit1.Width(), 100);

  w.splitter.BeginDrag(101);
  w.splitter.DragTo(31);  // bar at 30: at the minimum
  EXPECT_EQ(w.splitter.BarX(), 0);
  w.splitter.EndDrag();
  EXPECT_EQ(w.panel1.Width(), 0);
  EXPECT_EQ(w.splitter.Left(), 0);
  EXPECT_EQ(w.grid.Bounds(), (Rect{3, 0, 489, 285}));

  EXPECT_EQ(w.splitter.ResizeTarget(), &w.panel1);
  w.splitter.BeginDrag(1);
  w.splitter.DragTo(151);
  w.splitter.EndDrag();
  EXPECT_EQ(w.panel1.Width(), 150);
}

TEST(Splitter, CancelLeavesEverythingAsItWas) {
  MainWindow w;
  w.splitter.BeginDrag(202);
  w.splitter.DragTo(350);
  w.splitter.CancelDrag();
  EXPECT_FALSE(w.splitter.Dragging());
  EXPECT_EQ(w.splitter.BarX(), 200);
  w.splitter.EndDrag();  // a release after the cancel
  EXPECT_EQ(w.panel1.Width(), 200);
  EXPECT_EQ(w.grid.Bounds(), (Rect{203, 0, 289, 285}));
}

}  // namespace
