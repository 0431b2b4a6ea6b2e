// What the window shares with the shell: the progress on the task-bar button, and folders
// dropped on the window from Explorer.
#include <gtest/gtest.h>

#include <functional>

#include "resources/texts.h"
#include "tests/exact_text.h"
#include "tests/form/form_fixture.h"
#include "toolkit/core/application.h"

using headless::Event;
using toolkit::DialogResult;

namespace {

using Strings = std::vector<std::string>;

class ShellTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    Volume().MakeFile("C:\\work\\SRC\\LIB\\A.C");
    Volume().MakeFolder("C:\\work\\SRC\\APP");
    Volume().MakeFile("C:\\work\\DOCS\\README.TXT");
    Volume().MakeFile("C:\\work\\NOTES.TXT");
    // Its last byte, 0x5C, is the trail byte of 表, not a delimiter.
    Volume().MakeFolder(Exact("C:\\work\\表\\x"));
  }
  // The task-bar button's changes since the last call.
  Strings Taskbar() {
    const Strings& story = headless::TaskbarStory();
    Strings news(story.begin() + static_cast<long>(taskbarSeen_), story.end());
    taskbarSeen_ = story.size();
    return news;
  }
  void Drop(const Strings& paths) { Form().DropFiles(paths); }
  // What the user saw and the state left, from the log's point from on; the open dialog itself
  // left out, as a drop shows none.
  Strings Outcome(size_t from) {
    Strings outcome;
    const auto& log = headless::Log();
    for (size_t i = from; i < log.size(); ++i) {
      if (log[i].kind != Event::OpenDialog) {
        outcome.push_back(std::to_string(log[i].kind) + " " + log[i].text);
      }
    }
    outcome.push_back("folder " + State().SearchFolder + " field " + Form().Edit1.Text());
    for (const std::string& path : TreePaths()) outcome.push_back("node " + path);
    return outcome;
  }

 private:
  size_t taskbarSeen_ = 0;
};

TEST_F(ShellTest, TheTaskbarButtonShowsEachPieceOfWorkAndIsClearAfterIt) {
  StartProgram();
  EXPECT_EQ(Taskbar(), (Strings{"none"}));  // told the state when it was made
  ChooseFolder("C:\\work\\");
  EXPECT_EQ(Taskbar(), (Strings{"indeterminate", "none"}));
  ASSERT_EQ(Form().TreeView1.Count(), 7);

  headless::AnswerDialog(DialogResult::Yes);
  Form().MnuKestrune.Click();
  EXPECT_EQ(Taskbar(), (Strings{"0/7", "1/7", "2/7", "3/7", "4/7", "5/7", "6/7", "none"}));

  // The undo counts its renames: the run made seven.
  headless::AnswerDialog(DialogResult::Yes);
  Form().Shortcut('Z', toolkit::ssCtrl);
  EXPECT_EQ(Taskbar(), (Strings{"0/7", "1/7", "2/7", "3/7", "4/7", "5/7", "6/7", "none"}));

  // Esc in the third folder: cleared at once, with the run stopped.
  Volume().EscDownAtPolls(Volume().EscPolls() + 1, 1000);
  headless::AnswerDialog(DialogResult::Yes);
  Form().MnuKestrune.Click();
  EXPECT_EQ(Status(), texts::kRunAborted);
  EXPECT_EQ(Taskbar(), (Strings{"0/7", "none"}));
  Volume().ClearEsc();
}

TEST_F(ShellTest, EveryFailureDialogShowsTheErrorStateWhileItIsOpen) {
  StartProgram();
  Taskbar();
  const std::vector<std::function<void()>> failures = {
      [this] { ChooseFolder("D:\\gone\\"); },            // a drive that is not ready
      [this] { Drop({"D:\\gone\\x.txt"}); },             // the same, dropped
      [this] { Form().MnuKestrune.Click(); },            // no folder tree
      [this] { Form().Shortcut('Z', toolkit::ssCtrl); }  // nothing to undo
  };
  for (size_t i = 0; i < failures.size(); ++i) {
    headless::AnswerDialog(DialogResult::Ok);
    std::vector<toolkit::ProgressState> whileOpen;
    headless::WhileDialogOpen(
        [&] { whileOpen.push_back(toolkit::Application::Get().Taskbar().State()); });
    failures[i]();
    headless::WhileDialogOpen(nullptr);
    // The folder dialog before the refusal shows no failure.
    ASSERT_FALSE(whileOpen.empty()) << i;
    EXPECT_EQ(whileOpen.back(), toolkit::ProgressState::Error) << i;
    EXPECT_EQ(Taskbar(), (Strings{"error 1/1", "none"})) << i;
  }
  // A confirmation tells of no failure.
  ChooseFolder("C:\\work\\");
  Taskbar();
  headless::AnswerDialog(DialogResult::No);
  Form().MnuKestrune.Click();
  EXPECT_TRUE(Taskbar().empty());
}

TEST_F(ShellTest, ADropChoosesTheFolderAsTheDialogWould) {
  struct Case {
    Strings dropped;
    std::string chosen;  // what the dialog's user opens for the same folder
    bool refused;
  };
  const Case cases[] = {
      {{"C:\\work\\DOCS"}, "C:\\work\\DOCS\\", false},
      {{"C:\\work\\NOTES.TXT"}, "C:\\work\\", false},
      {{"C:\\work\\SRC", "C:\\work\\DOCS", "C:\\work\\NOTES.TXT"}, "C:\\work\\SRC\\", false},
      {{"C:\\work\\表"}, "C:\\work\\表\\", false},
      {{"C:\\"}, "C:\\", false},
      {{"C:\\work\\GONE.TXT"}, "C:\\work\\", false},
      {{"D:\\gone\\x.txt"}, "D:\\gone\\", true},  // the drive is not ready
  };
  for (const Case& c : cases) {
    // Two users start from a tree of C:\work\SRC\; one chooses in the dialog, one drops.
    Strings outcomes[2];
    for (int dropped = 0; dropped < 2; ++dropped) {
      NewProcess();
      StartProgram();
      ChooseFolder("C:\\work\\SRC\\");
      const size_t from = headless::Log().size();
      if (c.refused) headless::AnswerDialog(DialogResult::Ok);
      if (dropped == 1) {
        Drop(c.dropped);
      } else {
        ChooseFolder(c.chosen);
      }
      outcomes[dropped] = Outcome(from);
    }
    EXPECT_EQ(outcomes[1], outcomes[0]) << c.dropped.front();
    EXPECT_EQ(Form().Edit1.Text(), c.refused ? "C:\\work\\SRC\\" : c.chosen) << c.dropped.front();
  }
}

TEST_F(ShellTest, ADropIsIgnoredBeforeTheWindowIsShownDuringAScanAndWhileADialogIsOpen) {
  const Strings other = {"C:\\work\\DOCS"};
  toolkit::Application::Get().CreateForm(Form());
  Drop(other);
  EXPECT_TRUE(headless::Log().empty());

  toolkit::PlatformShowForm(Form());
  int pumps = 0;
  Volume().OnPump([&](int) {
    ++pumps;
    Drop(other);
  });
  ChooseFolder("C:\\work\\SRC\\");
  Volume().OnPump(nullptr);
  ASSERT_GT(pumps, 0);
  const Strings tree = TreePaths();
  EXPECT_EQ(tree.front(), "C:\\work\\SRC\\");

  const std::vector<std::function<void()>> dialogs = {
      [this] {
        headless::AnswerOpenDialog(std::nullopt);
        Form().MnuSearchFolder.Click();
      },
      [this] {
        headless::AnswerDialog(DialogResult::No);
        Form().MnuKestrune.Click();
      },
      [this] {
        headless::AnswerDialog(DialogResult::No);
        Form().MnuExit.Click();
      },
  };
  for (const auto& openDialog : dialogs) {
    headless::WhileDialogOpen([&] { Drop(other); });
    openDialog();
    headless::WhileDialogOpen(nullptr);
    EXPECT_EQ(State().SearchFolder, "C:\\work\\SRC\\");
    EXPECT_EQ(Form().Edit1.Text(), "C:\\work\\SRC\\");
    EXPECT_EQ(TreePaths(), tree);
  }
  // Once nothing is open, the same drop is taken.
  Drop(other);
  EXPECT_EQ(TreePaths().front(), "C:\\work\\DOCS\\");
}

}  // namespace
