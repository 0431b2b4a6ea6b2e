// Alignment of the main-window arrangement and the splitter's clamp, collapse and drag.
#include <gtest/gtest.h>

#include "tests/support/main_window.h"

namespace {

using toolkit::Align;
using toolkit::Rect;

// The main window's controls with the folder side at its default width, in a client area the
// headless form is given directly.
struct MainWindow : testsupport::MainWindowControls {
  MainWindow() {
    panel1.SetWidth(200);
    form.SetClientSize(492, 304);
  }
};

TEST(Realign, MainWindowArrangement) {
  MainWindow w;
  EXPECT_EQ(w.status.Bounds(), (Rect{0, 285, 492, 19}));
  EXPECT_EQ(w.panel1.Bounds(), (Rect{0, 0, 200, 285}));
  EXPECT_EQ(w.splitter.Bounds(), (Rect{200, 0, 3, 285}));
  EXPECT_EQ(w.grid.Bounds(), (Rect{203, 0, 289, 285}));
  // Inside the 1-px bevel of Panel1.
  EXPECT_EQ(w.panel2.Bounds(), (Rect{1, 1, 198, 19}));
  EXPECT_EQ(w.tree.Bounds(), (Rect{1, 20, 198, 264}));
  EXPECT_EQ(w.edit1.Width(), 200);

  w.form.SetClientSize(600, 400);
  EXPECT_EQ(w.grid.Bounds(), (Rect{203, 0, 397, 381}));
  EXPECT_EQ(w.tree.Bounds(), (Rect{1, 20, 198, 360}));
}

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
