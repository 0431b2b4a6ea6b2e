// The journal's records as a reader sees them, what a record may make recovery do, and the
// kept fuzz inputs replayed through the property the fuzz target checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/fuzz_bodies.h"
#include "journal/lower_casing.h"
#include "journal/policy.h"
#include "journal/reader.h"
#include "journal/records.h"
#include "journal/recovery.h"
#include "journal/undo.h"
#include "platform/memory/memory_volume.h"
#include "platform/text.h"
#include "tests/exact_text.h"
#include "tests/text_forms.h"

namespace {

using journal::Plan;

const Plan kPlan{"C:\\d\\README.TXT", "C:\\d\\readme.txt.~kestrune.tmp", "C:\\d\\readme.txt"};

TEST(Journal, WhatARecordSaysIsWhatTheReaderTakes) {
  const std::string header = journal::HeaderRecord();
  const std::string plan = journal::PlanRecord(7, kPlan);
  EXPECT_EQ(plan,
            "rename\t7\tC:\\d\\README.TXT\tC:\\d\\readme.txt.~kestrune.tmp\tC:\\d\\readme.txt\r\n");
  struct Case {
    std::string text;
    size_t open;
    bool finished;
  };
  const Case cases[] = {
      {header + plan, 1, false},
      {header + plan + journal::ResultRecord(7, RenameOutcome::Renamed), 0, false},
      {header + plan + journal::ResultRecord(7, RenameOutcome::NotRenamed), 0, false},
      {header + plan + journal::ResultRecord(7, RenameOutcome::LeftUnderTemporaryName), 1, false},
      {header + plan + journal::UnrecoveredRecord(7), 1, false},
      {header + plan + journal::RecoveredRecord(7, false) + journal::FinishedRecord(), 0, true},
      {header + journal::FinishedRecord(), 0, true},
      // Finished only while nothing follows; a line cut short by a death does not count.
      {header + journal::FinishedRecord() + plan, 1, false},
      {header + plan.substr(0, plan.size() - 2), 0, false},
      {header + journal::FinishedRecord() + "rename\t8", 0, true},
      // A direct rename leaves no temporary name; a second plan under one number replaces it.
      {header + journal::PlanRecord(7, {kPlan.oldPath, "", kPlan.newPath}), 0, false},
      {header + plan + journal::PlanRecord(7, {kPlan.oldPath, "", kPlan.newPath}), 0, false},
      // Not a journal of ours: nothing in it counts.
      {plan + header + plan, 0, false},
      {"", 0, false}};
  EXPECT_TRUE(journal::TailShowsFinished(cases[5].text));
  for (const Case& c : cases) {
    for (journal::Reading reading : {journal::Reading::Everything, journal::Reading::OpenPlans}) {
      const journal::Contents contents = journal::Parse(c.text, reading);
      EXPECT_EQ(contents.isJournal, c.text.rfind(header, 0) == 0) << c.text;
      EXPECT_EQ(contents.open.size(), c.open) << c.text;
      EXPECT_EQ(contents.finished, c.finished) << c.text;
      if (contents.open.size() == 1) {
        EXPECT_EQ(contents.open.begin()->second.temporaryPath, kPlan.temporaryPath);
      }
    }
    // The tail may only ever err towards reading the whole journal.
    const std::string tail = c.text.substr(c.text.size() - std::min<size_t>(c.text.size(), 64));
    if (journal::TailShowsFinished(tail)) {
      EXPECT_TRUE(c.finished) << c.text;
    }
  }
}

TEST(Journal, AnUndoMayReverseTheRunsCaseChangesThatStandAndNothingElse) {
  using journal::PlanRecord;
  using journal::ResultRecord;
  const Plan docs{"C:\\d\\DOCS", "", "C:\\d\\docs"};
  const Plan tmp{"C:\\d\\B", "C:\\d\\b.~kestrune.tmp", "C:\\d\\b"};
  const std::string header = journal::HeaderRecord() + journal::FolderRecord("C:\\d\\");
  // An earlier run whose entry recovery could not move; the run after it is appended.
  const std::string earlier = header + PlanRecord(20, kPlan) +
                              ResultRecord(20, RenameOutcome::Renamed) + PlanRecord(21, tmp);
  const std::string text =
      earlier + header + PlanRecord(1, kPlan) + ResultRecord(1, RenameOutcome::Renamed) +
      PlanRecord(2, docs) + ResultRecord(2, RenameOutcome::NotRenamed) +  // did not happen
      PlanRecord(3, tmp) + journal::RecoveredRecord(3, true) +            // finished by recovery
      PlanRecord(4, {"C:\\d\\X", "", "C:\\d\\Y"}) + ResultRecord(4, RenameOutcome::Renamed) +
      journal::RecoveredRecord(21, true) +  // the earlier run's entry, moved only now
      PlanRecord(6, {"C:\\d\\A", "", "C:\\D\\a"}) + ResultRecord(6, RenameOutcome::Renamed) +
      PlanRecord(7, docs) + ResultRecord(7, RenameOutcome::Renamed) + journal::UndoRecord() +
      journal::UndoingRecord(7) + PlanRecord(8, {docs.newPath, "", docs.oldPath}) +
      ResultRecord(8, RenameOutcome::Renamed) +  // undone already
      journal::UndoingRecord(1) + PlanRecord(9, {kPlan.newPath, "", kPlan.oldPath}) +
      ResultRecord(9, RenameOutcome::NotRenamed);  // an undo that failed leaves it undoable
  const journal::Contents contents = journal::Parse(text);
  ASSERT_EQ(contents.undoable.size(), 2u);
  EXPECT_EQ(contents.folder, "C:\\d\\");
  EXPECT_EQ(contents.undoable[0].number, 1);
  EXPECT_EQ(contents.undoable[1].number, 3);
  // Each is read again where its record starts.
  EXPECT_EQ(text.compare(contents.undoable[0].offset, 9, "rename\t1\t"), 0);
  EXPECT_EQ(text.compare(contents.undoable[1].offset, 9, "rename\t3\t"), 0);
  EXPECT_EQ(contents.lastNumber, 21);
  EXPECT_TRUE(contents.open.empty());
  // Recovery reads the same journal without keeping the renames.
  const journal::Contents forRecovery = journal::Parse(text, journal::Reading::OpenPlans);
  EXPECT_TRUE(forRecovery.undoable.empty());
  EXPECT_TRUE(forRecovery.open.empty());
  EXPECT_EQ(forRecovery.lastNumber, 21);
}

TEST(Journal, RecoveryOnlyEverTakesAnEntryOutOfOurTemporaryNameWithinItsFolder) {
  EXPECT_TRUE(journal::MayRecover(kPlan));
  EXPECT_TRUE(journal::MayRecover({"C:\\d\\A", "C:\\d\\~kestrune12.tmp", "C:\\d\\a"}));
  EXPECT_TRUE(journal::MayRecover({"\\\\s\\h\\A", "\\\\s\\h\\a.~kestrune.tmp", "\\\\s\\h\\a"}));
  // An undo's way back: the temporary name tells the old, upper-case name.
  EXPECT_TRUE(journal::MayRecover({"C:\\d\\a", "C:\\d\\A.~kestrune.tmp", "C:\\d\\A"}));
  const Plan refused[] = {
      {"C:\\d\\README.TXT", "C:\\d\\readme.txt", "C:\\d\\readme.txt"},  // no marker
      {"C:\\d\\README.TXT", "C:\\d\\readme.tmp", "C:\\d\\readme.txt"},
      {"C:\\d\\README.TXT", "C:\\d\\~kestrune.tmp", "C:\\d\\readme.txt"},
      {"C:\\d\\README.TXT", "C:\\e\\readme.txt.~kestrune.tmp", "C:\\d\\readme.txt"},  // folders
      {"C:\\d\\README.TXT", "C:\\d\\~kestrune1.tmp", "C:\\e\\readme.txt"},
      {"C:\\d\\README.TXT", "C:\\d\\~kestrune1.tmp", "C:\\d\\other.txt"},  // not the same name
      {"C:\\d\\README.TXT", "C:\\d\\other.txt.~kestrune.tmp", "C:\\d\\readme.txt"},
      {"C:\\d\\readme.txt", "C:\\d\\~kestrune1.tmp", "C:\\d\\readme.txt"},
      {"d\\README.TXT", "d\\~kestrune1.tmp", "d\\readme.txt"},  // relative
      {"C:\\d\\RE\tADME", "C:\\d\\~kestrune1.tmp", "C:\\d\\re\tadme"},
      {"", "", ""}};
  for (const Plan& plan : refused) {
    EXPECT_FALSE(journal::MayRecover(plan))
        << plan.oldPath << " " << plan.temporaryPath << " " << plan.newPath;
  }
}

TEST(Journal, AJournalReadInPiecesSaysWhatItsWholeTextSays) {
  // Larger than a piece, so that records lie across the pieces' ends; then the same with a line
  // longer than any record, and without a header.
  std::string text = journal::HeaderRecord() + journal::FolderRecord("C:\\d\\");
  for (int n = 1; n <= 12000; ++n) {
    // Now and then a record longer than the undo's reading window holds past its start.
    const std::string name =
        "F" + std::to_string(n) + std::string(n % 997 == 0 ? 6000 : 60, 'X') + ".TXT";
    text +=
        journal::PlanRecord(n, {"C:\\d\\" + name, "", "C:\\d\\" + LowerCaseText(name)}) +
        journal::ResultRecord(n, n % 3 == 0 ? RenameOutcome::NotRenamed : RenameOutcome::Renamed);
  }
  ASSERT_GT(text.size(), 2u << 20);
  const std::string tooLong = text + std::string(journal::kMaxRecordBytes + 1, 'x') + "\r\n";
  memory::Volume& volume = memory::Volume::Get();
  for (const std::string& journalText :
       {text, tooLong, text.substr(journal::HeaderRecord().size())}) {
    volume.Reset();
    volume.MakeFolder("C:\\app");
    ASSERT_TRUE(volume.WriteFile("C:\\app\\Kestrune.log", journalText));
    const journal::Contents whole = journal::Parse(journalText);
    const journal::Contents read =
        journal::ReadJournal("C:\\app\\Kestrune.log", journal::Reading::Everything);
    EXPECT_EQ(read.usable, whole.usable);
    EXPECT_EQ(read.usable, journalText.size() == text.size());
    EXPECT_EQ(read.folder, whole.folder);
    EXPECT_EQ(read.lastNumber, whole.lastNumber);
    ASSERT_EQ(read.undoable.size(), whole.undoable.size());
    EXPECT_EQ(read.undoable.size(), read.usable ? 8000u : 0u);
    // Each rename is read back from where the reader said it starts, last first as the undo
    // asks, through the reader's window and across its ends.
    InputFile* file = OpenInputFile("C:\\app\\Kestrune.log");
    journal::RecordReader records(file);
    for (size_t i = read.undoable.size(); i-- > 0;) {
      EXPECT_EQ(read.undoable[i].offset, whole.undoable[i].offset);
      Plan plan;
      ASSERT_TRUE(journal::ReadStandingRename(records, read.undoable[i], "C:\\d\\", false, plan))
          << i;
      EXPECT_EQ(plan.oldPath.substr(6, std::to_string(read.undoable[i].number).size()),
                std::to_string(read.undoable[i].number));
    }
    CloseInputFile(file);
  }
}

// A journal of the version before exact names holds code-page paths: recovery after the upgrade
// and an undo of its run read them in their exact form. The same bytes under the version-2
// header are no UTF-8, and nothing of them is taken.
TEST(Journal, AVersionOneJournalIsReadWithItsPathsMadeExact) {
  EXPECT_EQ(journal::HeaderRecord(), "Kestrune journal\t2\r\n");
  const std::string folder = "C:\\d\\表\\";  // 0x95 0x5C
  const std::string body = "folder\t" + folder + "\r\n" + "rename\t1\t" + folder + "README.TXT\t" +
                           folder + "readme.txt.~kestrune.tmp\t" + folder + "readme.txt\r\n" +
                           "rename\t2\t" + folder + "ソ\\A\t\t" + folder + "ソ\\a\r\n" +
                           "result\t2\trenamed\r\n";
  const std::string versionOne = "Kestrune journal\t1\r\n" + body;
  memory::Volume& volume = memory::Volume::Get();
  volume.Reset();
  volume.MakeFolder("C:\\app");
  ASSERT_TRUE(volume.WriteFile("C:\\app\\Kestrune.log", versionOne));
  const journal::Contents read =
      journal::ReadJournal("C:\\app\\Kestrune.log", journal::Reading::Everything);
  EXPECT_TRUE(read.codePage);
  EXPECT_EQ(read.folder, Exact(folder));
  ASSERT_EQ(read.open.size(), 1u);
  EXPECT_EQ(read.open.begin()->second.oldPath, Exact(folder + "README.TXT"));
  EXPECT_EQ(read.open.begin()->second.temporaryPath, Exact(folder + "readme.txt.~kestrune.tmp"));
  ASSERT_EQ(read.undoable.size(), 1u);
  InputFile* file = OpenInputFile("C:\\app\\Kestrune.log");
  journal::RecordReader records(file);
  Plan plan;
  EXPECT_TRUE(journal::ReadStandingRename(records, read.undoable[0], read.folder, true, plan));
  EXPECT_EQ(plan.oldPath, Exact(folder + "ソ\\A"));
  EXPECT_EQ(plan.newPath, Exact(folder + "ソ\\a"));
  EXPECT_FALSE(journal::ReadStandingRename(records, read.undoable[0], read.folder, false, plan));
  CloseInputFile(file);

  const journal::Contents misread = journal::Parse(journal::HeaderRecord() + body);
  EXPECT_FALSE(misread.codePage);
  EXPECT_EQ(misread.folder, "");
  for (const auto& [number, open] : misread.open) EXPECT_FALSE(journal::MayRecover(open));
  EXPECT_TRUE(misread.undoable.empty());
}

TEST(Journal, KeptFuzzInputs) {
  namespace fs = std::filesystem;
  int seeds = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const fs::path folder = fs::path(KESTRUNE_FUZZ_DIR) / kind / "journal";
    // A regressions folder comes with the target's first failing input.
    if (std::string(kind) == "regressions" && !fs::exists(folder)) continue;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
      std::ifstream in(entry.path(), std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
      EXPECT_EQ(fuzz::ExerciseJournal(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
                "")
          << entry.path();
      if (std::string(kind) == "corpus") ++seeds;
    }
  }
  EXPECT_GT(seeds, 0);
}

}  // namespace
