// The lower-casing run over the folder tree.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/rename.h"
#include "platform/text.h"
#include "resources/texts.h"
#include "tests/exact_text.h"
#include "tests/form/form_fixture.h"
#include "tests/text_forms.h"

using headless::Event;
using toolkit::DialogResult;

namespace {

using Strings = std::vector<std::string>;

class RunTest : public FormTest {
 protected:
  // Scans folder, then chooses the run and answers its confirmation.
  void ScanAndRun(const std::string& folder, DialogResult answer = DialogResult::Yes) {
    StartProgram();
    ChooseFolder(folder);
    Run(answer);
  }
  void Run(DialogResult answer = DialogResult::Yes) {
    headless::AnswerDialog(answer);
    Form().MnuKestrune.Click();
  }
  Strings SortedNamesIn(const std::string& folder) {
    Strings names = Volume().NamesIn(folder);
    std::sort(names.begin(), names.end());
    return names;
  }
  static Strings Sorted(Strings s) {
    std::sort(s.begin(), s.end());
    return s;
  }
  bool StatusShown(const std::string& text) {
    const Strings history = StatusHistory();
    return std::find(history.begin(), history.end(), text) != history.end();
  }
};

const std::string kA = Bytes({0x83, 0x41});  // katakana a: its trail byte is 'A'
const std::string kI = Bytes({0x83, 0x43});  // katakana i: its trail byte is 'C'

TEST_F(RunTest, OnlySingleByteLettersBecomeLowerCase) {
  // Exact names: two-byte characters of the code page, and characters it lacks or shows as
  // another, in names and in a folder's name at two depths; only the ASCII capitals change.
  const std::vector<std::pair<std::string, std::string>> names = {
      {"README.TXT", "readme.txt"},
      {Exact("ＡＢＣ.TXT"), Exact("ＡＢＣ.txt")},  // full-width letters are two-byte characters
      {Exact(kA + "B.TXT"), Exact(kA + "b.txt")},  // kA's trail byte is no letter
      {Exact(kA + kI), Exact(kA + kI)},
      {Exact("表.TXT"), Exact("表.txt")},  // 0x95 0x5C
      {Exact("ソ"), Exact("ソ")},          // 0x83 0x5C
      {u8"CAFÉ.TXT", u8"cafÉ.txt"},
      {u8"資料〜FINAL.TXT", u8"資料〜final.txt"},
      {u8"資料～FINAL.TXT", u8"資料～final.txt"},
      {"readme2.txt", "readme2.txt"}};
  Strings expected;
  for (const auto& [name, lowered] : names) {
    Volume().MakeFile("C:\\r\\" + name);
    expected.push_back(lowered);
  }
  Volume().MakeFile(u8"C:\\r\\−ÜBER\\〜SUB\\NOTE.TXT");
  expected.push_back(u8"−Über");
  ScanAndRun("C:\\r\\");

  EXPECT_EQ(SortedNamesIn("C:\\r"), Sorted(expected));
  const std::string deepest = u8"C:\\r\\−Über\\〜sub";
  EXPECT_EQ(Volume().NamesIn(deepest), Strings{"note.txt"});
  // The window shows the code page's forms; the tree holds the folders so named.
  EXPECT_EQ(Form().TreeView1.Count(), 3);
  const std::string shown = "C:\\r\\" + ShownOf(u8"−ÜBER") + "\\" + ShownOf(u8"〜SUB") + "\\";
  EXPECT_EQ(Form().FolderPathOfNode(2), shown);
  // Names that do not change are not renamed at all.
  EXPECT_EQ(Volume().RenameCalls(), 10);
  EXPECT_EQ(Status(), "小文字化処理を完了しました。");
}

TEST_F(RunTest, TheConfirmationSaysWhatWillHappenAndOnlyYesStartsIt) {
  Volume().MakeFile("C:\\r\\A.TXT");
  StartProgram();
  ChooseFolder("C:\\r\\");
  const int enumerations = Volume().Enumerations();

  for (DialogResult answer : {DialogResult::No, DialogResult::Cancel}) {
    Run(answer);
    EXPECT_EQ(Volume().NamesIn("C:\\r"), (Strings{"A.TXT"}));
    EXPECT_EQ(Volume().Enumerations(), enumerations);
    EXPECT_EQ(Status(), "");
  }
  Run(DialogResult::Yes);
  EXPECT_EQ(Volume().NamesIn("C:\\r"), (Strings{"a.txt"}));

  const Strings dialogs = headless::Texts(Event::Dialog);
  ASSERT_EQ(dialogs.size(), 3u);
  for (const std::string& text : dialogs) {
    EXPECT_EQ(text,
              "このフォルダツリー内にあるファイルの名前を小文字にします（２バイト系文字を除く）。"
              "よろしいですか？");
  }
  for (const Event& e : headless::Log()) {
    if (e.kind == Event::Dialog) {
      EXPECT_EQ(e.dialogKind, toolkit::DialogKind::Confirmation);
    }
  }
  EXPECT_TRUE(headless::Texts(Event::Beep).empty());
}

TEST_F(RunTest, WithoutATreeTheRunIsRefused) {
  StartProgram();
  const size_t before = headless::Log().size();
  headless::AnswerDialog(DialogResult::Ok);
  Form().MnuKestrune.Click();
  ASSERT_EQ(headless::Log().size(), before + 3);
  EXPECT_EQ(headless::Log()[before].kind, Event::Beep);
  EXPECT_EQ(headless::Log()[before].text, "0xFFFF") << "the simple beep, not the default sound";
  EXPECT_EQ(headless::Log()[before + 1].kind, Event::Dialog);
  EXPECT_EQ(headless::Log()[before + 1].dialogKind, toolkit::DialogKind::Error);
  EXPECT_EQ(headless::Log()[before + 1].text, "フォルダツリーが表示されていません。");
  EXPECT_EQ(headless::Log()[before + 2].text, "検索フォルダを指定して下さい。");
  EXPECT_EQ(Volume().Enumerations(), 0);
}

TEST_F(RunTest, AFolderRenamedEarlierIsReachedThroughItsOldCase) {
  Volume().MakeFile("C:\\r\\DOCS\\A.TXT");
  Volume().MakeFile("C:\\r\\DOCS\\SUB\\B.TXT");
  ScanAndRun("C:\\r\\");
  EXPECT_EQ(Volume().NamesIn("C:\\r"), (Strings{"docs"}));
  EXPECT_EQ(SortedNamesIn("C:\\r\\docs"), (Strings{"a.txt", "sub"}));
  EXPECT_EQ(Volume().NamesIn("C:\\r\\docs\\sub"), (Strings{"b.txt"}));
  // The tree kept the scanned case, and the run went through it.
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\r\\", "DOCS", "SUB"}));
  EXPECT_TRUE(StatusShown("小文字化・処理中です。「C:\\r\\DOCS\\SUB\\」（ESC:中断）"));
  EXPECT_EQ(Status(), "小文字化処理を完了しました。");
}

TEST_F(RunTest, EveryFolderIsListedOnceThenTheRootIsSelectedAndListed) {
  Volume().MakeFile("C:\\r\\X.TXT");
  Volume().MakeFile("C:\\r\\sub\\Y.TXT");
  Volume().MakeFolder("C:\\r\\empty");
  StartProgram();
  ChooseFolder("C:\\r\\");
  ClickNode(2);
  const int enumerations = Volume().Enumerations();
  Run();
  EXPECT_EQ(Volume().Enumerations(), enumerations + 3 + 1);
  EXPECT_EQ(Form().TreeView1.Selected(), Form().TreeView1.NodeAt(0));
  EXPECT_EQ(Column(0), (Strings{"x.txt", "sub", "empty"}));
  EXPECT_TRUE(State().ListReady);
  EXPECT_EQ(Volume().NamesIn("C:\\r\\sub"), (Strings{"y.txt"}));
  EXPECT_EQ(Volume().RenameCalls(), 2);
  // The run's own line replaces each listing's, and the last line is repainted at once.
  const Strings refreshed = headless::Texts(Event::StatusRefresh);
  EXPECT_EQ(Strings(refreshed.end() - 3, refreshed.end()),
            (Strings{"小文字化・処理中です。「C:\\r\\empty\\」（ESC:中断）",
                     "フォルダ「C:\\r\\」を検索中(ESC:中断)", "小文字化処理を完了しました。"}));
}

TEST_F(RunTest, HiddenAndSystemEntriesAreLeftAlone) {
  const LocalDateTime t{2001, 3, 9, 7, 5, 42};
  Volume().MakeFile("C:\\r\\HIDDEN.TXT", 1, t, faArchive | faHidden);
  Volume().MakeFile("C:\\r\\SYSTEM.SYS", 1, t, faArchive | faSysFile);
  Volume().MakeFolder("C:\\r\\SECRET", faDirectory | faHidden);
  Volume().MakeFile("C:\\r\\SECRET\\IN.TXT");
  Volume().MakeFile("C:\\r\\RO.TXT", 1, t, faArchive | faReadOnly);
  ScanAndRun("C:\\r\\");
  EXPECT_EQ(SortedNamesIn("C:\\r"), Sorted({"HIDDEN.TXT", "SYSTEM.SYS", "SECRET", "ro.txt"}));
  EXPECT_EQ(Volume().NamesIn("C:\\r\\SECRET"), (Strings{"IN.TXT"}));
}

TEST_F(RunTest, RenamesThatFailAreCountedAndTheRunGoesOn) {
  Volume().MakeFile("C:\\r\\A.TXT");
  Volume().MakeFile("C:\\r\\LOCKED.TXT");
  Volume().MakeFile("C:\\r\\Z.TXT");
  Volume().MakeFile("C:\\r\\ro\\B.TXT");
  Volume().MakeFile("C:\\r\\ro\\C.TXT");
  Volume().MakeFile("C:\\r\\ro\\d.txt");
  Volume().SetRenameFails("C:\\r\\LOCKED.TXT");
  StartProgram();
  ChooseFolder("C:\\r\\");
  Volume().SetWriteProtected("C:\\r\\ro");
  Run();
  EXPECT_EQ(SortedNamesIn("C:\\r"), Sorted({"a.txt", "LOCKED.TXT", "z.txt", "ro"}));
  EXPECT_EQ(SortedNamesIn("C:\\r\\ro"), Sorted({"B.TXT", "C.TXT", "d.txt"}));
  EXPECT_EQ(Status(), "小文字化処理を完了しました。（名前を変更できなかった項目：3件）");
  EXPECT_TRUE(headless::Texts(Event::Beep).empty());
}

TEST_F(RunTest, AFolderTheRunCannotReachCountsAsOneFailure) {
  Volume().MakeFile("C:\\r\\GONE\\A.TXT");
  Volume().MakeFile("C:\\r\\LOCKED\\B.TXT");
  Volume().MakeFolder("C:\\r\\EMPTY");
  StartProgram();
  ChooseFolder("C:\\r\\");
  // After the scan, another program moves one folder away and locks another.
  ASSERT_TRUE(RenameEntry("C:\\r\\GONE", "C:\\r\\moved"));
  Volume().SetUnreadable("C:\\r\\LOCKED");
  Run();
  EXPECT_EQ(SortedNamesIn("C:\\r"), Sorted({"moved", "locked", "empty"}));
  EXPECT_EQ(Status(), "小文字化処理を完了しました。（名前を変更できなかった項目：2件）");
}

TEST_F(RunTest, ACaseOnlyRenameHappensWhereTheVolumeIgnoresThem) {
  Volume().SetIgnoresCaseOnlyRenames(true);
  Volume().MakeFile("C:\\r\\README.TXT", 42);
  Volume().MakeFile("C:\\r\\SUB\\X.TXT");
  ScanAndRun("C:\\r\\");
  EXPECT_EQ(SortedNamesIn("C:\\r"), Sorted({"readme.txt", "sub"}));
  EXPECT_EQ(Volume().NamesIn("C:\\r\\sub"), (Strings{"x.txt"}));
  EXPECT_EQ(Column(1)[0], "        42");
  EXPECT_EQ(Status(), "小文字化処理を完了しました。");
}

TEST_F(RunTest, TheRunWorksFromTheTreeAsScanned) {
  Volume().MakeFile("C:\\r\\A.TXT");
  StartProgram();
  ChooseFolder("C:\\r\\");
  Volume().MakeFile("C:\\r\\NEW\\F.TXT");  // after the scan: listed and renamed, not entered
  Run();
  EXPECT_EQ(SortedNamesIn("C:\\r"), Sorted({"a.txt", "new"}));
  EXPECT_EQ(Volume().NamesIn("C:\\r\\new"), (Strings{"F.TXT"}));
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\r\\"}));
}

TEST_F(RunTest, ALinkIsRenamedLikeAnyEntryButNeverEntered) {
  Volume().MakeFile("C:\\elsewhere\\FILE.TXT");
  Volume().MakeLink("C:\\r\\LINKED", "C:\\elsewhere");
  Volume().MakeFile("C:\\r\\A.TXT");
  ScanAndRun("C:\\r\\");
  EXPECT_EQ(TreeTexts(), (Strings{"C:\\r\\"}));
  EXPECT_EQ(SortedNamesIn("C:\\r"), Sorted({"linked", "a.txt"}));
  EXPECT_EQ(Volume().NamesIn("C:\\elsewhere"), (Strings{"FILE.TXT"}));
  EXPECT_EQ(Status(), "小文字化処理を完了しました。");
}

TEST_F(RunTest, APartialTreeAfterEscCanBeLowerCased) {
  Volume().MakeFile("C:\\p\\a\\deep\\X.TXT");
  Volume().MakeFile("C:\\p\\a\\W.TXT");
  Volume().MakeFile("C:\\p\\Y.TXT");
  StartProgram();
  // The root's "..", a and Y.TXT are polls 1-3; the poll before a's own entries stops the scan.
  Volume().EscDownAtPolls(4, 1);
  ChooseFolder("C:\\p\\");
  ASSERT_EQ(TreeTexts(), (Strings{"C:\\p\\", "a"}));
  Run();
  EXPECT_EQ(SortedNamesIn("C:\\p"), Sorted({"a", "y.txt"}));
  EXPECT_EQ(SortedNamesIn("C:\\p\\a"), Sorted({"deep", "w.txt"}));
  EXPECT_EQ(Volume().NamesIn("C:\\p\\a\\deep"), (Strings{"X.TXT"}));
  EXPECT_EQ(Status(), "小文字化処理を完了しました。");
}

// Polls of a run over C:\r\ holding only A.TXT, B.TXT and C.TXT: the listing polls before ".",
// "..", A, B and C (1-5 after the scan), the rows before A, B and C (6-8), then once after the
// folder (9); the closing listing of the root polls again.
class EscDuringRunTest : public RunTest {
 protected:
  void SetUp() override {
    RunTest::SetUp();
    StartProgram();
  }
  void Scan(const std::string& folder) {
    ChooseFolder(folder);
    base_ = Volume().EscPolls();
  }
  int base_ = 0;
};

TEST_F(EscDuringRunTest, EscBetweenRowsKeepsTheRenamesDoneSoFar) {
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT"})
    Volume().MakeFile("C:\\r\\" + std::string(name));
  Scan("C:\\r\\");
  Volume().EscDownAtPolls(base_ + 7, 1);  // before the row of B.TXT
  Run();
  EXPECT_EQ(Volume().NamesIn("C:\\r"), (Strings{"a.txt", "B.TXT", "C.TXT"}));
  EXPECT_EQ(Volume().RenameCalls(), 1);
  EXPECT_EQ(Status(), "小文字化処理を中断しました。");
  // No poll after the folder; the closing listing polls five times.
  EXPECT_EQ(Volume().EscPolls(), base_ + 7 + 5);
  EXPECT_EQ(Column(0), (Strings{"a.txt", "B.TXT", "C.TXT"}));
}

TEST_F(EscDuringRunTest, WithoutEscEveryRowAndFolderIsPolled) {
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT"})
    Volume().MakeFile("C:\\r\\" + std::string(name));
  Scan("C:\\r\\");
  Run();
  EXPECT_EQ(Volume().EscPolls(), base_ + 9 + 5);
  EXPECT_EQ(Status(), "小文字化処理を完了しました。");
}

TEST_F(EscDuringRunTest, EscBetweenFoldersStopsBeforeTheNextFolder) {
  Volume().MakeFile("C:\\r\\A.TXT");
  Volume().MakeFile("C:\\r\\S\\B.TXT");
  Scan("C:\\r\\");
  // Listing: ".", "..", A.TXT, S (1-4); rows A.TXT, S (5-6); after the folder: 7.
  Volume().EscDownAtPolls(base_ + 7, 1);
  Run();
  EXPECT_EQ(Volume().NamesIn("C:\\r"), (Strings{"a.txt", "s"}));
  EXPECT_EQ(Volume().NamesIn("C:\\r\\s"), (Strings{"B.TXT"}));
  EXPECT_EQ(Status(), "小文字化処理を中断しました。");
}

TEST_F(EscDuringRunTest, EscHeldDuringAListingStopsBeforeItsRows) {
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT"})
    Volume().MakeFile("C:\\r\\" + std::string(name));
  Volume().MakeFile("C:\\r\\S\\D.TXT");
  Scan("C:\\r\\");
  Volume().EscDownAtPolls(base_ + 4, 2);  // the listing's poll before B.TXT, and the first row's
  Run();
  EXPECT_EQ(Volume().RenameCalls(), 0);
  EXPECT_EQ(SortedNamesIn("C:\\r"), Sorted({"A.TXT", "B.TXT", "C.TXT", "S"}));
  EXPECT_EQ(Status(), "小文字化処理を中断しました。");
}

TEST_F(EscDuringRunTest, EscTappedDuringAListingStopsTheRunAfterTheRowsListed) {
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT"})
    Volume().MakeFile("C:\\r\\" + std::string(name));
  Volume().MakeFile("C:\\r\\S\\D.TXT");
  Scan("C:\\r\\");
  Volume().EscDownAtPolls(base_ + 4, 1);  // the listing's poll before B.TXT only
  Run();
  // A.TXT was listed before the Esc and is still done; nothing after it is, and the run says so.
  EXPECT_EQ(SortedNamesIn("C:\\r"), Sorted({"a.txt", "B.TXT", "C.TXT", "S"}));
  EXPECT_EQ(Volume().NamesIn("C:\\r\\S"), (Strings{"D.TXT"}));
  EXPECT_EQ(Status(), "小文字化処理を中断しました。");
}

TEST_F(EscDuringRunTest, FailuresAreReportedAfterAnAbortToo) {
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT"})
    Volume().MakeFile("C:\\r\\" + std::string(name));
  Volume().SetRenameFails("C:\\r\\A.TXT");
  Scan("C:\\r\\");
  Volume().EscDownAtPolls(base_ + 7, 1);
  Run();
  EXPECT_EQ(Status(), "小文字化処理を中断しました。（名前を変更できなかった項目：1件）");
}

TEST_F(RunTest, AJournalThatCannotBeWrittenAnyMoreStopsTheRunBeforeItsNextRename) {
  for (int f = 0; f < 8; ++f) Volume().MakeFile("C:\\r\\F" + std::to_string(f) + ".TXT");
  StartProgram();
  ChooseFolder("C:\\r\\");
  // The disk fills up once two names are lower case.
  Volume().OnEscPoll([this](int) {
    const Strings names = Volume().NamesIn("C:\\r");
    if (std::count_if(names.begin(), names.end(), [](const std::string& n) {
          return n.find(".txt") != std::string::npos;
        }) >= 2) {
      Volume().SetWriteProtected("C:\\app");
    }
  });
  headless::AnswerDialog(DialogResult::Yes);
  headless::AnswerDialog(DialogResult::Ok);
  Form().MnuKestrune.Click();
  Volume().OnEscPoll(nullptr);
  EXPECT_EQ(headless::Texts(Event::Dialog).back(),
            "記録ファイル「C:\\app\\Kestrune.log」に書き込めなくなったため、処理を中断しました。");
  // The attempt whose record could not be written was not made, and counts.
  EXPECT_EQ(Status(), "小文字化処理を中断しました。（名前を変更できなかった項目：1件）");
  std::string journal;
  ASSERT_TRUE(Volume().ReadFile("C:\\app\\Kestrune.log", journal));
  size_t recorded = 0;
  for (size_t at = 0; (at = journal.find("\trenamed\r\n", at)) != std::string::npos; ++at)
    ++recorded;
  const Strings names = Volume().NamesIn("C:\\r");
  const size_t lower = static_cast<size_t>(std::count_if(
      names.begin(), names.end(), [](const std::string& n) { return n == LowerCaseText(n); }));
  EXPECT_EQ(lower, recorded) << "every rename made is in the journal";
  EXPECT_EQ(lower, 2u);
}

TEST_F(RunTest, DuringARunTheStatusLineIsRepaintedAtMostEvery50Ms) {
  for (int d = 0; d < 6; ++d) Volume().MakeFile("C:\\r\\D" + std::to_string(d) + "\\F.TXT");
  StartProgram();
  ChooseFolder("C:\\r\\");
  headless::ClearLog();
  Volume().SetClockStep(0);  // the whole run within one moment
  Run();
  Strings runTexts;
  for (const std::string& text : StatusHistory()) {
    if (text.rfind("小文字化・処理中です。", 0) == 0) runTexts.push_back(text);
  }
  EXPECT_EQ(runTexts.size(), 7u) << "every folder's line is set";
  const Strings refreshed = headless::Texts(Event::StatusRefresh);
  // The cleared line before the confirmation, the first line of the run, then nothing until the
  // run's end: the root's listing and the outcome.
  ASSERT_EQ(refreshed.size(), 4u);
  EXPECT_EQ(refreshed[0], "");
  EXPECT_EQ(refreshed[2], "フォルダ「C:\\r\\」を検索中(ESC:中断)");
  EXPECT_EQ(refreshed[3], "小文字化処理を完了しました。");
}

}  // namespace
