// What a lower-casing run may never do, whatever happens: leave an entry under a name that is
// neither its old nor its new one. The process is made to die after each file-system change of
// a run, and again after each change of the recovery at the next start; after every death the
// tree must come out whole.
#include <gtest/gtest.h>

#include <map>

#include "platform/rename.h"
#include "platform/text.h"
#include "resources/texts.h"
#include "tests/exact_text.h"
#include "tests/form/form_fixture.h"

using toolkit::DialogResult;

namespace {

using Strings = std::vector<std::string>;

struct Entry {
  uint64_t parent;
  std::string name;
  std::string data;
};
using Snapshot = std::map<uint64_t, Entry>;  // by entry id

const std::string kTree = "C:\\t\\";
const std::string kJournal = "C:\\app\\Kestrune.log";
const std::string kLongName = std::string(242, 'L') + ".TXT";  // too long for a telling name

class IntegrityTest : public FormTest {
 protected:
  // A fresh volume as Wine shows a Linux disk: case-only renames ignored, names that differ
  // only in case side by side. Upper-case names at three depths, pairs of files (one of them
  // full-width letters, which have a case too) and a pair of folders that differ only in case, a
  // read-only file, two-byte names, and a name too long to carry the new name in its temporary one.
  void Fresh(bool journalWritable) {
    Volume().Reset();
    Volume().MakeFile("C:\\app\\Kestrune.exe", 250000);
    Volume().SetIgnoresCaseOnlyRenames(true);
    Volume().SetCaseSensitiveNames(true);
    int serial = 0;
    // Names are exact: among them names the code page lacks or shows as another (both forms of
    // 〜 and −), two that show alike, and a folder so named with an upper-case name inside.
    for (const std::string& path :
         {std::string("README.TXT"), std::string("xt_MARK.h"), std::string("xt_mark.h"),
          Exact("ＡＢＣ.TXT"), Exact("ａｂｃ.TXT"), Exact("表ソA.TXT"),
          std::string("DOCS\\INDEX.HTML"), std::string("DOCS\\SUB\\DEEP.C"),
          std::string("DOCS\\SUB\\LAST\\Z.TXT"), std::string("Pod\\A.PM"), std::string("pod\\b.pm"),
          std::string("RO.TXT"), std::string(u8"CAFÉ.TXT"), std::string(u8"CAFÈ.TXT"),
          std::string(u8"資料〜FINAL.TXT"), std::string(u8"資料～FINAL.TXT"),
          std::string(u8"−5\\ÜBER\\NOTE.TXT"), std::string(u8"－5\\MEMO.TXT")}) {
      Volume().MakeFile(kTree + path);
      Volume().WriteFile(kTree + path, "data " + std::to_string(++serial));
    }
    Volume().MakeFile(kTree + kLongName);
    Volume().MakeFile(kTree + "RO.TXT", 6, {2001, 3, 9, 7, 5, 42}, faArchive | faReadOnly);
    if (!journalWritable) Volume().SetWriteProtected("C:\\app");
    journalWritable_ = journalWritable;
    NewProcess();
  }
  bool journalWritable_ = true;

  Snapshot Take() {
    Snapshot snapshot;
    Walk(kTree, Volume().EntryId(kTree), snapshot);
    return snapshot;
  }
  void Walk(const std::string& folder, uint64_t folderId, Snapshot& snapshot) {
    for (const std::string& name : Volume().NamesIn(folder)) {
      const std::string path = folder + name;
      std::string data;
      const bool file = Volume().ReadFile(path, data);
      snapshot[Volume().EntryId(path)] = {folderId, name, file ? data : "(folder)"};
      if (!file) Walk(path + "\\", Volume().EntryId(path), snapshot);
    }
  }

  // The invariant: the same entries, each in its own folder with its own contents, each under
  // its old name or its lower-case one.
  static void ExpectWhole(const Snapshot& before, const Snapshot& after, const std::string& when) {
    ASSERT_EQ(after.size(), before.size()) << when;
    for (const auto& [id, was] : before) {
      const auto now = after.find(id);
      ASSERT_NE(now, after.end()) << when << ": lost " << was.name;
      EXPECT_TRUE(now->second.name == was.name || now->second.name == ExactLowerCase(was.name))
          << when << ": " << was.name << " is now " << now->second.name;
      EXPECT_EQ(now->second.parent, was.parent) << when << ": " << was.name;
      EXPECT_EQ(now->second.data, was.data) << when << ": " << was.name;
    }
  }

  // The program starts and the user chooses the tree.
  void StartOnTree() {
    StartProgram();
    ChooseFolder(kTree);
  }
  // The run, confirmed; without a journal, confirmed again although it cannot be undone.
  void Run() {
    headless::AnswerDialog(DialogResult::Yes);
    if (!journalWritable_) headless::AnswerDialog(DialogResult::Yes);
    Form().MnuKestrune.Click();
  }
  // Ctrl+Z, the confirmation answered Yes.
  void Undo() {
    headless::AnswerDialog(DialogResult::Yes);
    EXPECT_TRUE(Form().Shortcut('Z', toolkit::ssCtrl));
  }
  // Names only, by entry.
  static std::map<uint64_t, std::string> NamesOf(const Snapshot& snapshot) {
    std::map<uint64_t, std::string> names;
    for (const auto& [id, entry] : snapshot) names[id] = entry.name;
    return names;
  }
  // Starts the program and lets the process die after the change numbered `change` from
  // here (0: it lives); true when it died.
  template <typename Step>
  bool DiesAt(long long change, Step step) {
    Volume().CrashAfterChanges(change == 0 ? 0 : Volume().Changes() + change);
    try {
      step();
    } catch (const memory::Crash&) {
      return true;
    }
    Volume().CrashAfterChanges(0);
    return false;
  }
  // Changes a whole run makes on a fresh tree.
  long long ChangesOfARun(bool journalWritable) {
    Fresh(journalWritable);
    StartOnTree();
    const long long before = Volume().Changes();
    Run();
    return Volume().Changes() - before;
  }
};

TEST_F(IntegrityTest, ADeathAtAnyChangeOfARunOrOfItsRecoveryLeavesEveryEntryWhole) {
  const long long runChanges = ChangesOfARun(true);
  // Every rename recorded before and after it, besides the header and the end.
  ASSERT_GT(runChanges, 30);
  int deathsInRecovery = 0;
  for (long long k = 1; k <= runChanges; ++k) {
    // j: the recovery dies after its j-th change; 0, it lives. Until a recovery lives through
    // j changes, every point of it has been tried.
    for (long long j = 0;; ++j) {
      const std::string when = "death at change " + std::to_string(k) + " of the run, " +
                               std::to_string(j) + " of the recovery";
      Fresh(true);
      const Snapshot before = Take();
      StartOnTree();
      ASSERT_TRUE(DiesAt(k, [this] { Run(); })) << when;
      NewProcess();
      const bool recoveryDied = DiesAt(j, [this] { StartProgram(); });
      if (recoveryDied) {
        ++deathsInRecovery;
        NewProcess();
        StartProgram();
      }
      ExpectWhole(before, Take(), when);
      if (HasFailure()) return;
      // A complete recovery marks the journal finished (one that holds no record yet stays as
      // it is) and asks nothing.
      std::string journal;
      ASSERT_TRUE(Volume().ReadFile(kJournal, journal));
      const std::string end = "finished\r\n";
      EXPECT_TRUE(journal.size() < 40 ||
                  journal.compare(journal.size() - end.size(), end.size(), end) == 0)
          << when << "\n"
          << journal;
      EXPECT_TRUE(headless::Texts(headless::Event::Dialog).empty()) << when;
      if (j > 0 && !recoveryDied) break;
      if (j > 10) FAIL() << "recovery never ends: " << when;
    }
  }
  EXPECT_GT(deathsInRecovery, 0);
}

TEST_F(IntegrityTest, AnEntryRecoveryCannotMoveIsReportedAndKeptUntilItCan) {
  const std::string temporary = kTree + "readme.txt.~kestrune.tmp";
  for (long long k = 1; !Volume().Exists(temporary); ++k) {
    ASSERT_LT(k, 20);
    Fresh(true);
    StartOnTree();
    ASSERT_TRUE(DiesAt(k, [this] { Run(); }));
  }
  // Meanwhile another program takes the new name, which blocks the old one too: lookups here
  // ignore case.
  Volume().MakeFile(kTree + "readme.txt");
  Volume().WriteFile(kTree + "readme.txt", "someone else's");
  const std::string report =
      "前回の小文字化処理で名前を戻せなかった項目があります（1件）。詳しくは「C:\\app\\Kestrune."
      "log」をご覧下さい。";
  for (int start = 0; start < 2; ++start) {
    NewProcess();
    headless::AnswerDialog(DialogResult::Ok);
    StartProgram();
    EXPECT_EQ(headless::Texts(headless::Event::Dialog), Strings{report});
    EXPECT_TRUE(headless::Texts(headless::Event::Beep).empty());
    EXPECT_TRUE(Volume().Exists(temporary));
    // A run in between cannot finish it either, and keeps it in the journal it starts.
    ChooseFolder(kTree);
    Run();
    EXPECT_NE(Status().find("小文字化処理を完了しました。（名前を変更できなかった項目："),
              std::string::npos);
  }
  RenameEntry(kTree + "readme.txt", kTree + "theirs.txt");
  NewProcess();
  StartProgram();
  EXPECT_TRUE(headless::Texts(headless::Event::Dialog).empty());
  EXPECT_FALSE(Volume().Exists(temporary));
  std::string data;
  ASSERT_TRUE(Volume().ReadFile(kTree + "readme.txt", data));
  EXPECT_EQ(data, "data 1");
}

// The long name's temporary name is a numbered one, which says nothing of the entry's names:
// only the journal knows them. Recovery cannot move it while another entry holds its names.
// Meanwhile the user undoes the run, or starts a new run that dies at any one of its changes,
// the first (its journal opened) included: once the names are free, the next start must still
// give the entry its own.
TEST_F(IntegrityTest, AnEntryOnlyTheJournalKnowsOutlivesAnUndoOrADeathOfTheNextRunAtAnyChange) {
  const std::string blocker = kTree + ExactLowerCase(kLongName);
  auto numbered = [this] {
    for (const std::string& name : Volume().NamesIn(kTree)) {
      if (name.rfind("~kestrune", 0) == 0) return true;
    }
    return false;
  };
  long long strandAt = 1;
  for (;; ++strandAt) {
    ASSERT_LT(strandAt, 100);
    Fresh(true);
    StartOnTree();
    ASSERT_TRUE(DiesAt(strandAt, [this] { Run(); }));
    if (numbered()) break;
  }
  // k: the next run dies after its k-th change (0: it lives); -1: an undo instead of a run.
  long long runChanges = 0;
  for (long long k = -1; k <= runChanges; ++k) {
    const std::string when = k < 0 ? std::string("an undo in between")
                                   : "death at change " + std::to_string(k) + " of the next run";
    Fresh(true);
    const Snapshot before = Take();
    StartOnTree();
    ASSERT_TRUE(DiesAt(strandAt, [this] { Run(); })) << when;
    Volume().MakeFile(blocker);
    NewProcess();
    headless::AnswerDialog(DialogResult::Ok);
    StartOnTree();
    ASSERT_EQ(headless::Texts(headless::Event::Dialog).size(), 1u) << when;
    if (k < 0) {
      Undo();
    } else {
      const long long start = Volume().Changes();
      const bool died = DiesAt(k, [this] { Run(); });
      if (k == 0) runChanges = Volume().Changes() - start;
      ASSERT_EQ(died, k != 0) << when;
    }
    NewProcess();
    ASSERT_TRUE(RenameEntry(blocker, "C:\\blocker.txt"));
    StartProgram();
    EXPECT_TRUE(headless::Texts(headless::Event::Dialog).empty()) << when;
    EXPECT_FALSE(numbered()) << when;
    ExpectWhole(before, Take(), when);
    if (HasFailure()) return;
  }
  EXPECT_GT(runChanges, 30);
}

TEST_F(IntegrityTest, WithoutAJournalANameTellsItsOwnAndTheNextRunFinishesIt) {
  const long long runChanges = ChangesOfARun(false);
  ASSERT_GT(runChanges, 10);
  for (long long k = 1; k <= runChanges; ++k) {
    const std::string when = "death at change " + std::to_string(k);
    Fresh(false);
    const Snapshot before = Take();
    StartOnTree();
    ASSERT_TRUE(DiesAt(k, [this] { Run(); })) << when;
    NewProcess();
    StartOnTree();
    Run();
    ExpectWhole(before, Take(), when);
    if (HasFailure()) return;
    // Everything that could be lower-cased is; the pairs (xt_MARK.h, Pod, both full-width
    // names) and the long name could not.
    EXPECT_EQ(Status(), "小文字化処理を完了しました。（名前を変更できなかった項目：5件）") << when;
  }
}

TEST_F(IntegrityTest, UndoGivesBackTheTreeAsItWasInTheSameProcessOrAfterARestart) {
  for (bool restart : {false, true}) {
    Fresh(true);
    const Snapshot before = Take();
    StartOnTree();
    Run();
    ASSERT_NE(NamesOf(Take()), NamesOf(before));
    if (restart) {
      NewProcess();
      StartProgram();
    }
    headless::ClearLog();
    Undo();
    // All but the pairs that differ only in case: they were never renamed.
    EXPECT_EQ(headless::Texts(headless::Event::Dialog),
              Strings{"「" + kTree +
                      "」で直前の小文字化処理が変更した名前（18件）を元に戻します。"
                      "よろしいですか？"});
    EXPECT_EQ(Status(), "元に戻す処理を完了しました。");
    EXPECT_EQ(NamesOf(Take()), NamesOf(before));
    ExpectWhole(before, Take(), restart ? "after a restart" : "in the same process");
    // Nothing is left to undo: the refusal, as the program's other refusals go.
    headless::ClearLog();
    headless::AnswerDialog(DialogResult::Ok);
    EXPECT_TRUE(Form().Shortcut('Z', toolkit::ssCtrl));
    EXPECT_EQ(headless::Texts(headless::Event::Beep).size(), 1u);
    EXPECT_EQ(headless::Texts(headless::Event::Dialog),
              Strings{"元に戻せる小文字化処理がありません。"});
    EXPECT_EQ(Status(), "");
  }
}

TEST_F(IntegrityTest, UndoSkipsWhatTheUserChangedAndCanBeStoppedAndGoneOn) {
  Fresh(true);
  const Snapshot before = Take();
  StartOnTree();
  Run();
  // Afterwards the user renames one entry, moves one away, and takes the old name of a third.
  ASSERT_TRUE(RenameEntry(kTree + "readme.txt", kTree + "notes.txt"));
  ASSERT_TRUE(RenameEntry(kTree + "docs\\sub\\deep.c", kTree + "deep.c"));
  Volume().MakeFile(kTree + "docs\\INDEX.HTML");
  // Esc before the fourth entry; the rest stays undoable.
  Volume().EscDownAtPolls(Volume().EscPolls() + 4, 1);
  Undo();
  EXPECT_EQ(Status(), "元に戻す処理を中断しました。");
  Undo();
  EXPECT_EQ(Status(), "元に戻す処理を完了しました。（名前を変更できなかった項目：3件）");
  Snapshot now = Take();
  for (const auto& [id, was] : before) {
    const std::string& name = now[id].name;
    if (was.name == "README.TXT")
      EXPECT_EQ(name, "notes.txt");
    else if (was.name == "DEEP.C")
      EXPECT_EQ(name, "deep.c");
    else if (was.name == "INDEX.HTML")
      EXPECT_EQ(name, "index.html");
    else
      EXPECT_EQ(name, was.name);
  }
  // During a scan, which lets messages through, Ctrl+Z does nothing.
  Run();
  headless::ClearLog();
  Volume().OnPump([this](int) { Form().Shortcut('Z', toolkit::ssCtrl); });
  ChooseFolder(kTree);
  EXPECT_TRUE(headless::Texts(headless::Event::Dialog).empty());
}

// Memory that runs out after a change (perhaps between the two steps of a rename) ends the undo
// with the error box while the program lives on; like a death, it must leave the journal to the
// next start's recovery, not mark it finished.
TEST_F(IntegrityTest, ADeathOrTheEndOfMemoryAtAnyChangeOfAnUndoIsPutRightAndTheUndoFinished) {
  long long undoChanges = 0;
  {
    Fresh(true);
    StartOnTree();
    Run();
    const long long before = Volume().Changes();
    Undo();
    undoChanges = Volume().Changes() - before;
  }
  ASSERT_GT(undoChanges, 30);
  for (bool death : {true, false}) {
    for (long long k = 1; k <= undoChanges; ++k) {
      const std::string when = (death ? "death" : "end of memory") + std::string(" at change ") +
                               std::to_string(k) + " of the undo";
      Fresh(true);
      const Snapshot before = Take();
      StartOnTree();
      Run();
      if (death) {
        ASSERT_TRUE(DiesAt(k, [this] { Undo(); })) << when;
      } else {
        Volume().OutOfMemoryAfterChanges(Volume().Changes() + k);
        headless::ClearLog();
        headless::AnswerDialog(DialogResult::Yes);
        Form().Shortcut('Z', toolkit::ssCtrl);
        EXPECT_EQ(headless::Texts(headless::Event::ErrorBox), Strings{"メモリが不足しています."})
            << when;
        EXPECT_EQ(Status(), "メモリが不足したため、元に戻す処理を中断しました。") << when;
      }
      NewProcess();
      StartProgram();
      // Every entry under its run's name or its name from before the run.
      ExpectWhole(before, Take(), when);
      Undo();
      EXPECT_EQ(NamesOf(Take()), NamesOf(before)) << when;
      if (HasFailure()) return;
    }
  }
}

}  // namespace
