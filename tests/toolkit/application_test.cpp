// The error box around handlers, the form's create, show and close sequences, and the headless
// platform's record of dialogs, status texts and grid paints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/core/application.h"
#include "toolkit/core/form.h"
#include "toolkit/core/menu.h"
#include "toolkit/core/panel.h"
#include "toolkit/core/statusbar.h"
#include "toolkit/core/stringgrid.h"
#include "toolkit/core/taskbar.h"
#include "toolkit/headless/headless.h"

namespace {

using headless::Event;
using toolkit::DialogKind;
using toolkit::DialogResult;

TEST(ErrorBoxText, PeriodOnlyAfterALastByteAboveThePeriod) {
  EXPECT_EQ(toolkit::ErrorBoxText("abc"), "abc.");
  EXPECT_EQ(toolkit::ErrorBoxText("abc!"), "abc!");  // '!' sorts before '.'
  EXPECT_EQ(toolkit::ErrorBoxText("a-"), "a-");
  EXPECT_EQ(toolkit::ErrorBoxText("done."), "done.");
  EXPECT_EQ(toolkit::ErrorBoxText("a/"), "a/.");
  EXPECT_EQ(toolkit::ErrorBoxText(""), "");
  // Two-byte last characters: a trail byte below 0x80 ("ー" 81 5B) and above it ("あ" 82 A0).
  EXPECT_EQ(toolkit::ErrorBoxText("\x81\x5B"), "\x81\x5B.");
  EXPECT_EQ(toolkit::ErrorBoxText("\x82\xA0"), "\x82\xA0.");
}

struct HeadlessTest : ::testing::Test {
  HeadlessTest() {
    headless::Reset();
    toolkit::Application::Get().SetTitle("Kestrune Ver.1.10");
  }
};

TEST_F(HeadlessTest, RunHandlerReportsEscapingErrorsUnderTheTitleAndGoesOn) {
  bool after = false;
  toolkit::RunHandler([] { throw toolkit::Error("'x' is not a valid integer value"); });
  toolkit::RunHandler([] { throw std::out_of_range("range!"); });
  toolkit::RunHandler([&] { after = true; });
  toolkit::RunHandler(nullptr);
  EXPECT_TRUE(after);
  ASSERT_EQ(headless::Log().size(), 2u);
  EXPECT_EQ(headless::Log()[0].kind, Event::ErrorBox);
  EXPECT_EQ(headless::Log()[0].text, "'x' is not a valid integer value.");
  EXPECT_EQ(headless::Log()[0].detail, "Kestrune Ver.1.10");
  EXPECT_EQ(headless::Log()[1].text, "range!");

  toolkit::MenuItem exit("MnuExit", "E");
  toolkit::MenuItem file("File1", "F");
  file.items.push_back(&exit);
  toolkit::MainMenu menu;
  menu.items.push_back(&file);
  ASSERT_EQ(menu.Find("MnuExit"), &exit);
  EXPECT_EQ(menu.Find("Nope"), nullptr);
  exit.OnClick = [] { throw toolkit::Error("menu"); };
  exit.Click();
  EXPECT_EQ(headless::Texts(Event::ErrorBox).back(), "menu.");
}

struct TestForm : toolkit::Form {
  toolkit::Panel panel{"Panel1", this};
  toolkit::StatusBar status{"StatusBar1", this};
  toolkit::StringGrid grid{"StringGrid1", this, 5};
  std::vector<std::string> story;
  TestForm() : Form("Form1") {
    panel.SetWidth(100);
    panel.SetAlign(toolkit::Align::Left);
    status.SetHeight(19);
    status.SetAlign(toolkit::Align::Bottom);
    grid.SetAlign(toolkit::Align::Client);
    SetBounds({194, 103, 580, 468});
    OnCreate = [this] { story.push_back(status.Peer() ? "create with peers" : "create bare"); };
    OnShow = [this] {
      story.push_back("show " + std::to_string(ClientWidth()) + "x" +
                      std::to_string(ClientHeight()));
      SetBounds({50, 50, 500, 350});  // the layout applied while showing
      throw toolkit::Error("bad");
    };
  }
};

TEST_F(HeadlessTest, CreateAndRunShowTheFormOnceAtTheAppliedLayout) {
  TestForm form;
  toolkit::Application::Get().CreateForm(form);
  EXPECT_EQ(toolkit::Application::Get().Run(form), 0);
  form.FireShow();
  EXPECT_EQ(form.story, (std::vector<std::string>{"create with peers", "show 572x422"}));
  EXPECT_TRUE(form.Shown()) << "an error in OnShow does not stop the show";
  EXPECT_EQ(headless::Texts(Event::ErrorBox), (std::vector<std::string>{"bad."}));
  EXPECT_EQ(form.ClientWidth(), 492);
  EXPECT_EQ(form.grid.Bounds(), (toolkit::Rect{100, 0, 392, 285}));
}

TEST_F(HeadlessTest, CloseAsksFirstThenRunsOnCloseThenDestroysTheWindow) {
  TestForm form;
  toolkit::Application::Get().CreateForm(form);
  bool allow = false;
  form.OnCloseQuery = [&] {
    form.story.push_back("query");
    return allow;
  };
  form.OnClose = [&] {
    form.story.push_back(headless::WindowDestroyed(form) ? "close after" : "close before");
    throw toolkit::Error("save failed");
  };
  EXPECT_FALSE(form.Close());
  EXPECT_FALSE(form.Closed());
  EXPECT_FALSE(headless::WindowDestroyed(form));
  allow = true;
  EXPECT_TRUE(form.Close());
  EXPECT_TRUE(form.Closed());
  EXPECT_TRUE(headless::WindowDestroyed(form));
  EXPECT_EQ(form.story,
            (std::vector<std::string>{"create with peers", "query", "query", "close before"}));
  EXPECT_EQ(headless::Texts(Event::ErrorBox), (std::vector<std::string>{"save failed."}));
}

TEST_F(HeadlessTest, FailingCloseQueryKeepsTheWindowOpen) {
  toolkit::Form form("Form1");
  form.OnCloseQuery = []() -> bool { throw toolkit::Error("no"); };
  EXPECT_FALSE(form.Close());
  EXPECT_FALSE(form.Closed());
  EXPECT_EQ(headless::Texts(Event::ErrorBox), (std::vector<std::string>{"no."}));
}

TEST_F(HeadlessTest, DialogsAnswerFromTheScriptAndTheLogTellsTheStory) {
  TestForm form;
  toolkit::Application::Get().CreateForm(form);
  headless::AnswerDialog(DialogResult::No);
  headless::AnswerOpenDialog(std::string("C:\\work\\\x81\x40"));
  headless::AnswerOpenDialog(std::nullopt);

  toolkit::Beep();
  EXPECT_EQ(toolkit::MessageDlg(DialogKind::Confirmation, "sure?"), DialogResult::No);
  form.status.SetText("busy");
  form.status.Refresh();
  toolkit::OpenDialog dialog;
  dialog.InitialDir = "C:\\";
  dialog.FileName = "\x81\x40";
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, "C:\\work\\\x81\x40");
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, "C:\\work\\\x81\x40") << "a cancel keeps the name";
  EXPECT_EQ(headless::UnansweredDialogs(), 0);
  EXPECT_EQ(toolkit::MessageDlg(DialogKind::Error, "unscripted"), DialogResult::Cancel);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(headless::UnansweredDialogs(), 2);

  const std::vector<Event>& log = headless::Log();
  ASSERT_EQ(log.size(), 8u);
  EXPECT_EQ(log[0].kind, Event::Beep);
  EXPECT_EQ(log[1].kind, Event::Dialog);
  EXPECT_EQ(log[1].dialogKind, DialogKind::Confirmation);
  EXPECT_EQ(log[1].result, DialogResult::No);
  EXPECT_EQ(log[2].kind, Event::Status);
  EXPECT_EQ(log[3].kind, Event::StatusRefresh);
  EXPECT_EQ(log[3].text, "busy");
  EXPECT_EQ(log[4].kind, Event::OpenDialog);
  EXPECT_EQ(log[4].text, "C:\\");
  EXPECT_EQ(log[4].detail, "\x81\x40");
  EXPECT_EQ(log[6].result, DialogResult::Cancel);
  headless::ClearLog();
  EXPECT_TRUE(headless::Log().empty());
}

TEST_F(HeadlessTest, PaintDrawsVisibleCellsHeaderFirstAndDataWritesNeverTouchTheHeader) {
  TestForm form;
  toolkit::Application::Get().CreateForm(form);
  toolkit::Application::Get().Run(form);
  toolkit::StringGrid& grid = form.grid;
  grid.SetAlign(toolkit::Align::None);
  grid.SetBounds({0, 0, 130, 60});  // three columns and three rows show, partly
  grid.SetColWidth(0, 50);
  grid.SetColWidth(1, 50);
  grid.SetRowCount(10);
  grid.SetTopRow(4);
  grid.SetLeftCol(1);
  EXPECT_GT(headless::TakeFullRepaints(grid), 0);
  headless::TakeCellRepaints(grid);
  std::vector<std::string> drawn;
  grid.OnDrawCell = [&](int col, int row, const toolkit::Rect& r) {
    drawn.push_back(std::to_string(col) + "," + std::to_string(row) + "@" + std::to_string(r.left) +
                    "," + std::to_string(r.top));
    // The size fitting's pattern: the header draw rewrites data cells.
    if (col == 1 && row == 0) {
      for (int data = 1; data < grid.RowCount(); ++data) grid.SetCell(1, data, "7");
    }
  };
  headless::PaintGrid(grid);
  EXPECT_EQ(drawn,
            (std::vector<std::string>{"1,0@0,0", "2,0@50,0", "3,0@114,0", "1,4@0,24", "2,4@50,24",
                                      "3,4@114,24", "1,5@0,48", "2,5@50,48", "3,5@114,48"}));
  const std::vector<toolkit::GridCoord> changed = headless::TakeChangedCells(grid);
  ASSERT_EQ(changed.size(), 9u);
  for (const toolkit::GridCoord& c : changed) EXPECT_EQ(c.col, 1) << "row " << c.row;
  for (const toolkit::GridCoord& c : changed) EXPECT_NE(c.row, 0);
  EXPECT_EQ(headless::TakeFullRepaints(grid), 0);
  EXPECT_EQ(headless::TakeCellRepaints(grid), 0) << "taking empties the record";

  EXPECT_EQ(grid.TextWidth("0"), 7);
  headless::SetGridCharWidth(9);
  EXPECT_EQ(grid.TextWidth("00"), 18);
}

}  // namespace

struct CountingTaskbar : toolkit::TaskbarPeer {
  const toolkit::TaskbarProgress* progress = nullptr;
  std::vector<std::string> seen;
  void ProgressChanged() override {
    seen.push_back(std::to_string(static_cast<int>(progress->State())) + " " +
                   std::to_string(progress->Done()) + "/" + std::to_string(progress->Total()));
  }
};

TEST(TaskbarProgress, TheSystemHearsOfAtMostAThousandMovesAndAFailureLeavesTheShareAsItWas) {
  toolkit::TaskbarProgress progress;
  CountingTaskbar peer;
  peer.progress = &progress;
  progress.SetPeer(&peer);
  for (uint64_t total : {1ull, 7ull, 999ull, 1000ull, 1001ull, 250000ull, 1ull << 40}) {
    peer.seen.clear();
    const uint64_t steps = std::min<uint64_t>(total, 250000);
    uint64_t lastShown = 0;
    for (uint64_t i = 0; i < steps; ++i) {
      const uint64_t done = total / steps * i;
      const size_t told = peer.seen.size();
      progress.SetProgress(done, total);
      // What the button shows is never a thousandth behind the truth.
      if (peer.seen.size() > told) lastShown = done;
      EXPECT_LT((done - lastShown) * 1000.0, static_cast<double>(total)) << total << " " << i;
    }
    EXPECT_LE(peer.seen.size(), 1001u) << total;
    EXPECT_GE(peer.seen.size(), std::min<size_t>(steps, 1000)) << total;
    const std::string share = std::to_string(progress.Done()) + "/" + std::to_string(total);
    peer.seen.clear();
    {
      toolkit::FailureShown failure(progress);
      EXPECT_EQ(progress.State(), toolkit::ProgressState::Error);
    }
    EXPECT_EQ(peer.seen, (std::vector<std::string>{"3 " + share, "2 " + share})) << total;
    progress.Clear();
  }
  // Over no share, the whole button; and afterwards no share again.
  peer.seen.clear();
  progress.SetIndeterminate();
  { toolkit::FailureShown failure(progress); }
  progress.SetProgress(5, 0);  // nothing to do is all done
  EXPECT_EQ(peer.seen, (std::vector<std::string>{"1 0/1", "3 1/1", "1 0/1", "2 1/1"}));
}
