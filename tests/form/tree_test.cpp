// Choosing the search folder and scanning it into the folder tree.
#include <gtest/gtest.h>

#include "resources/texts.h"
#include "tests/form/form_fixture.h"

using headless::Event;
using toolkit::DialogResult;

namespace {

using Strings = std::vector<std::string>;

class TreeTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    // C:\work\ holds src (with lib and app), docs, and a file the scan ignores.
    Volume().MakeFolder("C:\\work\\src\\lib");
    Volume().MakeFolder("C:\\work\\src\\app");
    Volume().MakeFolder("C:\\work\\docs");
    Volume().MakeFile("C:\\work\\readme.txt", 10);
    Volume().MakeFile("C:\\work\\src\\main.cpp", 10);
  }

  // The kinds and texts of what the user saw, from a point of the log on.
  static Strings Story(size_t from) {
    Strings story;
    const auto& log = headless::Log();
    for (size_t i = from; i < log.size(); ++i) {
      const Event& e = log[i];
      switch (e.kind) {
        case Event::Beep:
          story.push_back("beep");
          break;
        case Event::Dialog:
          story.push_back("dialog " + e.text);
          break;
        case Event::OpenDialog:
          story.push_back("open " + e.text);
          break;
        case Event::ErrorBox:
          story.push_back("error " + e.text);
          break;
        case Event::Status:
          story.push_back("status " + e.text);
          break;
        case Event::StatusRefresh:
          story.push_back("refresh " + e.text);
          break;
      }
    }
    return story;
  }
};

TEST_F(TreeTest, ScanBuildsTheTreeDepthFirstWithFullPaths) {
  StartProgram();
  const size_t before = headless::Log().size();
  ChooseFolder("C:\\work\\");

  EXPECT_EQ(State().SearchFolder, "C:\\work\\");
  EXPECT_EQ(Form().Edit1.Text(), "C:\\work\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\work\\", "src", "lib", "app", "docs"}));
  EXPECT_EQ(TreePaths(), (Strings{"C:\\work\\", "C:\\work\\src\\", "C:\\work\\src\\lib\\",
                                  "C:\\work\\src\\app\\", "C:\\work\\docs\\"}));
  EXPECT_TRUE(State().TreeReady);
  EXPECT_FALSE(State().ListReady);
  EXPECT_FALSE(State().ScanAborted);
  EXPECT_TRUE(Form().TreeView1.Enabled());
  EXPECT_FALSE(Form().TreeView1.Updating());
  // Nothing is selected or expanded by the scan itself.
  EXPECT_EQ(Form().TreeView1.Selected(), toolkit::kNoNode);
  EXPECT_EQ(Story(before),
            (Strings{"status ", "refresh ", "open C:\\", "status フォルダ検索中です。（ESC:中断）",
                     "refresh フォルダ検索中です。（ESC:中断）", "status "}));
}

TEST_F(TreeTest, SiblingsFollowTheFileSystemOrder) {
  Volume().SetReverseOrder(true);
  Volume().MakeFolder("C:\\rev\\one");
  Volume().MakeFolder("C:\\rev\\two");
  Volume().MakeFolder("C:\\rev\\one\\inner");
  StartProgram();
  ChooseFolder("C:\\rev\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\rev\\", "two", "one", "inner"}));
  EXPECT_EQ(Form().FolderPathOfNode(3), "C:\\rev\\one\\inner\\");
}

TEST_F(TreeTest, AFolderWithoutSubfoldersGivesAOneNodeTree) {
  Volume().MakeFile("C:\\flat\\a.txt");
  StartProgram();
  ChooseFolder("C:\\flat\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\flat\\"}));
  EXPECT_TRUE(State().TreeReady);
  EXPECT_EQ(Status(), "");
}

TEST_F(TreeTest, ADriveRootScansLikeAnyFolder) {
  Volume().MakeFolder("D:\\x\\y");
  StartProgram();
  ChooseFolder("D:\\");
  EXPECT_EQ(TreePaths(), (Strings{"D:\\", "D:\\x\\", "D:\\x\\y\\"}));
}

TEST_F(TreeTest, HiddenSystemAndLinkedFoldersStayOutOfTheTree) {
  Volume().MakeFolder("C:\\m\\plain");
  Volume().MakeFolder("C:\\m\\hidden", faDirectory | faHidden);
  Volume().MakeFolder("C:\\m\\system", faDirectory | faSysFile);
  Volume().MakeFolder("C:\\m\\locked", faDirectory | faReadOnly);
  Volume().MakeFolder("C:\\m\\archived", faDirectory | faArchive);
  Volume().MakeFolder("C:\\m\\hidden\\below");
  // A link back up the tree would otherwise be scanned for ever.
  Volume().MakeLink("C:\\m\\plain\\loop", "C:\\m");
  Volume().MakeLink("C:\\m\\elsewhere", "C:\\work");
  StartProgram();
  ChooseFolder("C:\\m\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\m\\", "plain", "locked", "archived"}));
  EXPECT_TRUE(State().TreeReady);
}

TEST_F(TreeTest, AnUnreadableFolderGetsNoChildren) {
  Volume().SetUnreadable("C:\\work\\src");
  StartProgram();
  ChooseFolder("C:\\work\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\work\\", "src", "docs"}));
  EXPECT_EQ(Status(), "");
}

// Polls of this scan of C:\w\ (a with a1 and a2; b; c; "." and ".." come first in each folder):
//   root's entries ".." a b c: polls 1-4; before a: 5; a's ".." a1 a2: 6-8; before a1: 9;
//   a1's "..": 10; before a2: 11; a2's "..": 12; before b: 13, 14; before c: 15, 16.
class EscDuringScanTest : public TreeTest {
 protected:
  void SetUp() override {
    TreeTest::SetUp();
    Volume().MakeFolder("C:\\w\\a\\a1");
    Volume().MakeFolder("C:\\w\\a\\a2");
    Volume().MakeFolder("C:\\w\\b");
    Volume().MakeFolder("C:\\w\\c");
  }
};

TEST_F(EscDuringScanTest, EveryEntryAndEveryFolderIsPolled) {
  StartProgram();
  ChooseFolder("C:\\w\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\w\\", "a", "a1", "a2", "b", "c"}));
  EXPECT_EQ(Volume().EscPolls(), 16);
  // The pump runs before each poll inside a folder's entries, never before a folder.
  EXPECT_EQ(Volume().PumpCalls(), 11);
}

TEST_F(EscDuringScanTest, EscBeforeAFolderLeavesAUsablePartialTree) {
  StartProgram();
  Volume().EscDownAtPolls(9, 1);  // just before a1 is scanned
  ChooseFolder("C:\\w\\");
  EXPECT_EQ(Volume().EscPolls(), 9);
  EXPECT_TRUE(State().ScanAborted);
  EXPECT_EQ(Status(), "フォルダ検索を中断しました。");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\w\\", "a", "a1", "a2", "b", "c"}));
  EXPECT_TRUE(State().TreeReady);
  EXPECT_TRUE(Form().TreeView1.Enabled());

  Volume().MakeFile("C:\\w\\a\\a2\\x.txt");
  ClickNode(3);
  EXPECT_EQ(Column(0), (Strings{"x.txt"}));
}

TEST_F(EscDuringScanTest, EscAmongEntriesStopsThatFolderAndTheScan) {
  StartProgram();
  Volume().EscDownAtPolls(3, 1);  // between a and b of the root
  ChooseFolder("C:\\w\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\w\\", "a"}));
  // The folder loop still polls once before it sees the flag.
  EXPECT_EQ(Volume().EscPolls(), 4);
  EXPECT_EQ(Status(), "フォルダ検索を中断しました。");
  EXPECT_TRUE(State().TreeReady);
}

TEST_F(EscDuringScanTest, ANewScanClearsTheAbortAndReplacesTheTree) {
  StartProgram();
  Volume().EscDownAtPolls(1, 1);
  ChooseFolder("C:\\w\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\w\\"}));
  ChooseFolder("C:\\work\\");
  EXPECT_FALSE(State().ScanAborted);
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\work\\", "src", "lib", "app", "docs"}));
}

TEST_F(TreeTest, ANewScanEmptiesTheList) {
  Volume().MakeFile("C:\\work\\docs\\a.txt");
  Volume().MakeFile("C:\\work\\docs\\b.txt");
  StartProgram();
  ChooseFolder("C:\\work\\");
  ClickNode(4);
  ASSERT_TRUE(State().ListReady);
  ASSERT_EQ(Form().StringGrid1.RowCount(), 3);
  ChooseFolder("C:\\work\\src\\");
  EXPECT_FALSE(State().ListReady);
  EXPECT_EQ(Form().StringGrid1.RowCount(), 2);
  EXPECT_EQ(Rows(), (Strings{"||||"}));
  EXPECT_EQ(Form().StringGrid1.Cell(0, 0), "ファイル名");
}

TEST_F(TreeTest, ADriveThatIsNotReadyIsRefusedAndNothingElseChanges) {
  Volume().MakeFolder("D:\\data");
  Volume().SetDriveReady('D', false);
  Volume().MakeFile("C:\\work\\docs\\a.txt");
  StartProgram();
  ChooseFolder("C:\\work\\");
  ClickNode(4);
  const Strings rowsBefore = Rows();

  const size_t before = headless::Log().size();
  headless::AnswerDialog(DialogResult::Ok);
  ChooseFolder("D:\\data\\");
  EXPECT_EQ(Story(before), (Strings{"status ", "refresh ", "open C:\\work\\",
                                    "status フォルダ検索中です。（ESC:中断）",
                                    "refresh フォルダ検索中です。（ESC:中断）", "beep",
                                    "dialog 検索フォルダのディスクドライブの準備が出来ていません。",
                                    "status 検索フォルダを指定して下さい。"}));
  for (const Event& e : headless::Log()) {
    if (e.kind == Event::Dialog) {
      EXPECT_EQ(e.dialogKind, toolkit::DialogKind::Information);
    }
  }
  // The folder field and the search folder go on naming the folder of the tree on show, which a
  // run would rename.
  EXPECT_EQ(Form().Edit1.Text(), "C:\\work\\");
  EXPECT_EQ(State().SearchFolder, "C:\\work\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\work\\", "src", "lib", "app", "docs"}));
  EXPECT_TRUE(State().TreeReady);
  EXPECT_TRUE(State().ListReady);
  EXPECT_EQ(Rows(), rowsBefore);
}

TEST_F(TreeTest, CancellingTheDialogLeavesEverythingButAnEmptyStatusLine) {
  Volume().MakeFile("C:\\work\\docs\\a.txt");
  StartProgram();
  ChooseFolder("C:\\work\\");
  ClickNode(4);
  const Strings rowsBefore = Rows();
  const int enumerations = Volume().Enumerations();

  headless::AnswerOpenDialog(std::nullopt);
  Form().Edit1.Click();
  EXPECT_EQ(Status(), "");
  EXPECT_EQ(State().SearchFolder, "C:\\work\\");
  EXPECT_EQ(Form().Edit1.Text(), "C:\\work\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\work\\", "src", "lib", "app", "docs"}));
  EXPECT_EQ(Rows(), rowsBefore);
  EXPECT_TRUE(State().ListReady);
  EXPECT_EQ(Volume().Enumerations(), enumerations);
  // The second dialog opened where the first choice was made.
  EXPECT_EQ(headless::Texts(Event::OpenDialog), (Strings{"C:\\", "C:\\work\\"}));
}

TEST_F(TreeTest, NoFolderChoiceBeforeTheWindowIsShown) {
  toolkit::Application::Get().CreateForm(Form());
  Form().MnuSearchFolder.Click();
  Form().Edit1.Click();
  EXPECT_TRUE(headless::Log().empty());
}

TEST_F(TreeTest, TheTreeIsDisabledAndTheGatesClosedWhileScanning) {
  StartProgram();
  ChooseFolder("C:\\work\\");
  ClickNode(0);
  ASSERT_TRUE(State().ListReady);
  int seen = 0;
  Volume().OnPump([&](int) {
    ++seen;
    EXPECT_FALSE(Form().TreeView1.Enabled());
    EXPECT_FALSE(State().TreeReady);
    EXPECT_FALSE(State().ListReady);
    EXPECT_TRUE(Form().Scanning());
  });
  ChooseFolder("C:\\work\\");
  EXPECT_GT(seen, 0);
  EXPECT_TRUE(Form().TreeView1.Enabled());
  EXPECT_FALSE(Form().Scanning());
}

TEST_F(TreeTest, AFolderChoiceDuringAScanIsIgnored) {
  Volume().MakeFolder("C:\\other\\x");
  StartProgram();
  Volume().OnPump([&](int call) {
    if (call != 2) return;
    headless::AnswerOpenDialog("C:\\other\\" + std::string(texts::kOpenDialogPresetName));
    Form().MnuSearchFolder.Click();
    Form().Edit1.Click();
  });
  ChooseFolder("C:\\work\\");
  EXPECT_EQ(headless::Texts(Event::OpenDialog), (Strings{"C:\\"}));
  EXPECT_EQ(State().SearchFolder, "C:\\work\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\work\\", "src", "lib", "app", "docs"}));
  EXPECT_FALSE(State().ScanAborted);
  // The answer is still waiting: the choice was ignored, not cancelled.
  Form().MnuSearchFolder.Click();
  EXPECT_EQ(State().SearchFolder, "C:\\other\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\other\\", "x"}));
}

TEST_F(TreeTest, ACloseDuringAScanStopsItAndClosesAfterwards) {
  Volume().MakeFolder("C:\\work\\more");
  StartProgram();
  bool closedAtOnce = true;
  Volume().OnPump([&](int call) {
    if (call == 3) closedAtOnce = Form().Close();  // the close box
  });
  ChooseFolder("C:\\work\\");
  EXPECT_FALSE(closedAtOnce);
  EXPECT_TRUE(State().ScanAborted);
  // The root's ".." and src come with pumps and polls 1 and 2; poll 3, before docs, sees the
  // close and stops the scan; the folder loop polls once more before src and leaves.
  EXPECT_EQ(Volume().EscPolls(), 4);
  EXPECT_EQ(Volume().PumpCalls(), 3);
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\work\\", "src"}));
  EXPECT_EQ(Status(), "フォルダ検索を中断しました。");
  EXPECT_TRUE(Form().Closed());
  EXPECT_TRUE(headless::WindowDestroyed(Form()));
  EXPECT_FALSE(Form().Scanning());
  // Closed like any close: the settings were saved, with the folder being scanned.
  std::string ini;
  ASSERT_TRUE(Volume().ReadFile("C:\\app\\Kestrune.ini", ini));
  EXPECT_NE(ini.find("FLD1=C:\\work\\"), std::string::npos) << ini;
}

TEST_F(TreeTest, ExitAnsweredYesDuringAScanClosesOnceTheScanHasUnwound) {
  StartProgram();
  Volume().OnPump([&](int call) {
    if (call != 3) return;
    headless::AnswerDialog(DialogResult::Yes);
    Form().MnuExit.Click();
    EXPECT_FALSE(Form().Closed());
  });
  ChooseFolder("C:\\work\\");
  EXPECT_TRUE(Form().Closed());
  EXPECT_EQ(Status(), "フォルダ検索を中断しました。");
  EXPECT_EQ(Volume().PumpCalls(), 3);
}

TEST_F(TreeTest, ExitAnsweredNoDuringAScanLetsItFinish) {
  StartProgram();
  Volume().OnPump([&](int call) {
    if (call != 2) return;
    headless::AnswerDialog(DialogResult::No);
    Form().MnuExit.Click();
  });
  ChooseFolder("C:\\work\\");
  EXPECT_FALSE(Form().Closed());
  EXPECT_FALSE(State().ScanAborted);
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\work\\", "src", "lib", "app", "docs"}));
  // A later close is not held back.
  EXPECT_TRUE(Form().Close());
}

TEST_F(TreeTest, CommandsThatNeedATreeRefuseDuringAScan) {
  StartProgram();
  ChooseFolder("C:\\work\\");
  bool sent = false;
  Volume().OnPump([&](int) {
    if (sent) return;
    sent = true;
    headless::AnswerDialog(DialogResult::Ok);
    Form().MnuKestrune.Click();
    Form().StringGrid1MouseDown(toolkit::MouseButton::Left, 0, 10, 5);
  });
  const int renames = Volume().RenameCalls();
  ChooseFolder("C:\\work\\");
  EXPECT_EQ(headless::Texts(Event::Dialog), (Strings{"フォルダツリーが表示されていません。"}));
  EXPECT_EQ(Volume().RenameCalls(), renames);
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\work\\", "src", "lib", "app", "docs"}));
}

TEST_F(TreeTest, ScanWorkGrowsLinearlyWithTheFolders) {
  // A deep chain and a wide fan: the tree's pre-order bookkeeping stays proportional to the
  // folders, whatever their shape.
  std::string deep = "C:\\big";
  for (int i = 0; i < 300; ++i) deep += "\\d";
  Volume().MakeFolder(deep);
  for (int i = 0; i < 300; ++i) Volume().MakeFolder("C:\\big\\w" + std::to_string(i) + "\\x");
  StartProgram();
  ChooseFolder("C:\\big\\");
  const int nodes = Form().TreeView1.Count();
  ASSERT_EQ(nodes, 1 + 300 + 600);
  EXPECT_LE(Form().TreeView1.OrderWork(), 4u * nodes);
  EXPECT_EQ(Form().FolderPathOfNode(300).size(), std::string("C:\\big\\").size() + 300 * 2);
}

}  // namespace
