// The in-memory volume's own controls, which other suites build their stories on: lookup rules,
// order, faults, scripted input and counters.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/files.h"
#include "platform/rename.h"
#include "platform/input.h"
#include "platform/locale.h"
#include "platform/memory/memory_volume.h"
#include "tests/exact_text.h"

namespace {

using Names = std::vector<std::string>;

class MemoryVolume : public ::testing::Test {
 protected:
  void SetUp() override { volume.Reset(); }

  Names Listed(const std::string& folder, uint32_t filter = kListFilter) {
    Names names;
    EnumerateEntries(folder + "*.*", filter, [&names](const FileEntry& entry) {
      names.push_back(entry.EntryName);
      return true;
    });
    return names;
  }

  memory::Volume& volume = memory::Volume::Get();
};

TEST_F(MemoryVolume, ResetLeavesAnEmptyVolume) {
  volume.MakeFile("C:\\a\\b.txt");
  volume.SetExecutablePath("D:\\x.exe");
  volume.SetSeparators("-", ".");
  volume.EscDownAtPolls(1);
  EscDown();
  volume.Reset();
  EXPECT_FALSE(FolderExists("C:\\"));
  EXPECT_FALSE(volume.Exists("C:\\a"));
  EXPECT_EQ(ExecutablePath(), "C:\\app\\Kestrune.exe");
  EXPECT_EQ(DateSeparator(), "/");
  EXPECT_EQ(TimeSeparator(), ":");
  EXPECT_EQ(volume.EscPolls(), 0);
  EXPECT_FALSE(EscDown());
}

TEST_F(MemoryVolume, LookupIgnoresLetterCaseAndKeepsIt) {
  volume.MakeFile("C:\\Dir\\ReadMe.TXT");
  EXPECT_TRUE(volume.Exists("c:\\DIR\\readme.txt"));
  EXPECT_TRUE(FolderExists("c:\\dir\\"));
  EXPECT_EQ(volume.NamesIn("C:\\DIR"), Names{"ReadMe.TXT"});
  // Making it again under another case updates the same entry.
  volume.MakeFile("C:\\dir\\README.txt", 9);
  EXPECT_EQ(volume.NamesIn("C:\\Dir"), Names{"ReadMe.TXT"});
}

TEST_F(MemoryVolume, TrailBytesAreNeverFolded) {
  // ア is 0x83 0x41 and ヂ is 0x83 0x61 in the code page: folding the trail byte would make them
  // one name. The volume holds them as Unicode, and lists them in the code page.
  volume.MakeFile(Exact("C:\\ア"));
  volume.MakeFile(Exact("C:\\ヂ"));
  EXPECT_EQ(volume.NamesIn("C:\\"), (Names{Exact("ア"), Exact("ヂ")}));
  EXPECT_EQ(Listed("C:\\"), (Names{"ア", "ヂ"}));
  // 表 ends in 0x5C, which is no path delimiter.
  volume.MakeFile(Exact("C:\\表\\x.txt"));
  EXPECT_EQ(volume.NamesIn(Exact("C:\\表")), Names{"x.txt"});
}

TEST_F(MemoryVolume, EnumerationOrderIsInsertionOrderOrItsReverse) {
  for (const char* name : {"C:\\d\\b", "C:\\d\\c", "C:\\d\\a"}) volume.MakeFile(name);
  EXPECT_EQ(Listed("C:\\d\\"), (Names{".", "..", "b", "c", "a"}));
  volume.Reset();
  volume.SetReverseOrder(true);
  for (const char* name : {"C:\\d\\b", "C:\\d\\c", "C:\\d\\a"}) volume.MakeFile(name);
  EXPECT_EQ(Listed("C:\\d\\"), (Names{".", "..", "a", "c", "b"}));
}

TEST_F(MemoryVolume, DriveRootHasNoDots) {
  volume.MakeFile("C:\\f.txt");
  EXPECT_EQ(Listed("C:\\"), Names{"f.txt"});
}

TEST_F(MemoryVolume, RenameKeepsThePlaceInItsFolder) {
  for (const char* name : {"C:\\d\\A", "C:\\d\\B", "C:\\d\\C"}) volume.MakeFile(name);
  EXPECT_TRUE(RenameEntry("C:\\d\\B", "C:\\d\\b"));
  EXPECT_TRUE(RenameEntry("C:\\d\\A", "C:\\d\\z"));
  EXPECT_EQ(volume.NamesIn("C:\\d"), (Names{"z", "b", "C"}));
}

TEST_F(MemoryVolume, CaseOnlyRenameWorksWhetherOrNotTheVolumeIgnoresIt) {
  for (bool ignores : {false, true}) {
    volume.Reset();
    volume.SetIgnoresCaseOnlyRenames(ignores);
    volume.MakeFile("C:\\d\\FILE.TXT");
    EXPECT_TRUE(RenameEntry("C:\\d\\FILE.TXT", "C:\\d\\file.txt")) << ignores;
    EXPECT_EQ(volume.NamesIn("C:\\d"), Names{"file.txt"}) << ignores;
    // Where the volume ignored the direct rename, the entry is opened again for the two steps.
    EXPECT_EQ(volume.RenameCalls(), ignores ? 2 : 1);
  }
}

TEST_F(MemoryVolume, CaseSensitiveNamesLookUpAsWineDoes) {
  volume.SetCaseSensitiveNames(true);
  volume.MakeFile("C:\\d\\Readme.txt", 1);
  volume.MakeFile("C:\\d\\README.TXT", 2);
  volume.MakeFile("C:\\d\\readme.TXT", 3);
  EXPECT_EQ(volume.NamesIn("C:\\d"), (Names{"Readme.txt", "README.TXT", "readme.TXT"}));
  // The exact name first, else the first in enumeration order; a rename onto any is refused.
  EXPECT_EQ(volume.EntryId("C:\\d\\README.TXT"), volume.EntryId("C:\\d\\README.TXT"));
  EXPECT_NE(volume.EntryId("C:\\d\\README.TXT"), volume.EntryId("C:\\d\\Readme.txt"));
  EXPECT_EQ(volume.EntryId("C:\\d\\readme.txt"), volume.EntryId("C:\\d\\Readme.txt"));
  EXPECT_FALSE(RenameEntry("C:\\d\\README.TXT", "C:\\d\\readme.txt"));
  EXPECT_EQ(volume.NamesIn("C:\\d"), (Names{"Readme.txt", "README.TXT", "readme.TXT"}));
  EXPECT_TRUE(RenameEntry("C:\\d\\README.TXT", "C:\\d\\other.txt"));
  Names matching;
  EnumerateEntries("C:\\d\\readme.t?t*", kListFilter, [&matching](const FileEntry& e) {
    return matching.push_back(e.EntryName), true;
  });
  EXPECT_EQ(matching, (Names{"Readme.txt", "readme.TXT"}));
}

TEST_F(MemoryVolume, ACrashComesAfterTheChangeItIsSetForAndStopsAllLaterOnes) {
  volume.MakeFile("C:\\d\\A");
  volume.MakeFile("C:\\d\\B");
  volume.CrashAfterChanges(volume.Changes() + 2);
  const uint64_t a = volume.EntryId("C:\\d\\A");
  EXPECT_TRUE(RenameEntry("C:\\d\\A", "C:\\d\\X"));
  EXPECT_THROW(RenameEntry("C:\\d\\B", "C:\\d\\Y"), memory::Crash);
  EXPECT_FALSE(RenameEntry("C:\\d\\X", "C:\\d\\Z"));  // the process is dead
  EXPECT_FALSE(volume.WriteFile("C:\\d\\F", "f"));
  EXPECT_EQ(volume.NamesIn("C:\\d"), (Names{"X", "Y"}));
  EXPECT_EQ(volume.EntryId("C:\\d\\X"), a);
  volume.CrashAfterChanges(0);  // a new process
  EXPECT_TRUE(RenameEntry("C:\\d\\X", "C:\\d\\Z"));
}

TEST_F(MemoryVolume, DriveNotReadyHidesEverything) {
  volume.MakeFile("D:\\data\\f.txt");
  volume.WriteFile("D:\\data\\g.txt", "g");
  volume.SetDriveReady('d', false);
  std::string data;
  EXPECT_FALSE(FolderExists("D:\\data"));
  EXPECT_FALSE(FolderExists("D:\\"));
  EXPECT_TRUE(Listed("D:\\data\\").empty());
  EXPECT_FALSE(RenameEntry("D:\\data\\f.txt", "D:\\data\\h.txt"));
  EXPECT_FALSE(volume.ReadFile("D:\\data\\g.txt", data));
  EXPECT_FALSE(volume.WriteFile("D:\\data\\g.txt", "x"));
  // The test's own view still sees the tree.
  EXPECT_EQ(volume.NamesIn("D:\\data"), (Names{"f.txt", "g.txt"}));
  volume.SetDriveReady('D', true);
  EXPECT_TRUE(FolderExists("D:\\data"));
  // A drive can be not ready before anything is made on it.
  volume.SetDriveReady('E', false);
  EXPECT_FALSE(FolderExists("E:\\"));
}

TEST_F(MemoryVolume, RenameFaultIsOnTheOldPath) {
  volume.MakeFile("C:\\d\\A.TXT");
  volume.MakeFile("C:\\d\\B.TXT");
  volume.SetRenameFails("c:\\D\\a.txt");
  volume.SetIgnoresCaseOnlyRenames(true);
  EXPECT_FALSE(RenameEntry("C:\\d\\A.TXT", "C:\\d\\a.txt"));
  EXPECT_FALSE(RenameEntry("C:\\d\\A.TXT", "C:\\d\\c.txt"));
  EXPECT_TRUE(RenameEntry("C:\\d\\B.TXT", "C:\\d\\b.txt"));
  EXPECT_EQ(volume.NamesIn("C:\\d"), (Names{"A.TXT", "b.txt"}));
  volume.SetRenameFails("C:\\d\\A.TXT", false);
  EXPECT_TRUE(RenameEntry("C:\\d\\A.TXT", "C:\\d\\a.txt"));
  EXPECT_EQ(volume.RenameCalls(), 6);  // the last two each tried directly first
}

TEST_F(MemoryVolume, FileDataAndWriteProtection) {
  volume.MakeFolder("C:\\app");
  std::string data;
  EXPECT_FALSE(volume.ReadFile("C:\\app\\Kestrune.ini", data));
  EXPECT_TRUE(volume.WriteFile("C:\\app\\Kestrune.ini", "[Form]\r\n"));
  EXPECT_TRUE(volume.ReadFile("C:\\app\\kestrune.INI", data));
  EXPECT_EQ(data, "[Form]\r\n");
  FileEntry entry;
  EnumerateEntries("C:\\app\\*.*", kListFilter, [&entry](const FileEntry& e) {
    if (e.EntryName == "Kestrune.ini") entry = e;
    return true;
  });
  EXPECT_EQ(entry.EntrySize, 8u);

  EXPECT_FALSE(volume.WriteFile("C:\\missing\\x.ini", "x"));
  EXPECT_FALSE(volume.WriteFile("C:\\app", "x"));
  volume.MakeFile("C:\\app\\ro.ini", 0, {2001, 3, 9, 7, 5, 42}, faReadOnly);
  EXPECT_FALSE(volume.WriteFile("C:\\app\\ro.ini", "x"));

  volume.SetWriteProtected("C:\\app");
  EXPECT_FALSE(volume.WriteFile("C:\\app\\Kestrune.ini", "changed"));
  EXPECT_FALSE(volume.WriteFile("C:\\app\\new.ini", "new"));
  EXPECT_FALSE(RenameEntry("C:\\app\\Kestrune.ini", "C:\\app\\k.ini"));
  EXPECT_TRUE(volume.ReadFile("C:\\app\\Kestrune.ini", data));
  EXPECT_EQ(data, "[Form]\r\n");
}

TEST_F(MemoryVolume, ReparsePointThatIsNoLink) {
  volume.MakeFolder("C:\\cloud", faDirectory | faReparsePoint);
  FileEntry entry;
  EnumerateEntries("C:\\*.*", kScanFilter,
                   [&entry](const FileEntry& e) { return entry = e, true; });
  EXPECT_EQ(entry.EntryName, "cloud");
  EXPECT_EQ(entry.Attributes, faDirectory | faReparsePoint);
  EXPECT_FALSE(entry.IsLink);
}

TEST_F(MemoryVolume, LinkToNowhereIsAnEmptyFolder) {
  volume.MakeFolder("C:\\d");
  volume.MakeLink("C:\\d\\dangling", "C:\\gone");
  EXPECT_TRUE(FolderExists("C:\\d\\dangling"));
  EXPECT_TRUE(Listed("C:\\d\\dangling\\").empty());
  // A path through a link reaches the target's entries.
  volume.MakeFile("C:\\gone\\f.txt");
  EXPECT_TRUE(volume.Exists("C:\\d\\dangling\\f.txt"));
  EXPECT_TRUE(RenameEntry("C:\\d\\dangling\\f.txt", "C:\\d\\dangling\\F.TXT"));
  EXPECT_EQ(volume.NamesIn("C:\\gone"), Names{"F.TXT"});
}

TEST_F(MemoryVolume, EscScriptCountsEveryPoll) {
  volume.EscDownAtPolls(3, 2);
  volume.EscDownAtPolls(7);
  std::vector<bool> answers;
  for (int i = 0; i < 9; ++i) answers.push_back(EscDown());
  EXPECT_EQ(answers, (std::vector<bool>{false, false, true, true, false, false, true, true, true}));
  EXPECT_EQ(volume.EscPolls(), 9);
  volume.ClearEsc();
  EXPECT_FALSE(EscDown());
  EXPECT_EQ(volume.EscPolls(), 10);
}

TEST_F(MemoryVolume, HooksSeeEveryCallBeforeTheAnswer) {
  std::vector<int> seenPolls;
  volume.OnEscPoll([this, &seenPolls](int poll) {
    seenPolls.push_back(poll);
    if (poll == 2) volume.EscDownAtPolls(poll, 1);
  });
  EXPECT_FALSE(EscDown());
  EXPECT_TRUE(EscDown());
  EXPECT_FALSE(EscDown());
  EXPECT_EQ(seenPolls, (std::vector<int>{1, 2, 3}));

  std::vector<int> pumps;
  volume.OnPump([&pumps](int call) { pumps.push_back(call); });
  PumpMessages();
  PumpMessages();
  EXPECT_EQ(pumps, (std::vector<int>{1, 2}));
  EXPECT_EQ(volume.PumpCalls(), 2);
}

TEST_F(MemoryVolume, EnumerationCounters) {
  volume.MakeFile("C:\\d\\a");
  volume.MakeFile("C:\\d\\b");
  int openDuring = -1;
  EnumerateEntries("C:\\d\\*.*", kListFilter, [&](const FileEntry&) {
    openDuring = volume.OpenEnumerations();
    return true;
  });
  EnumerateEntries("C:\\missing\\*.*", kListFilter, [](const FileEntry&) { return true; });
  EXPECT_EQ(openDuring, 1);
  EXPECT_EQ(volume.Enumerations(), 2);
  EXPECT_EQ(volume.OpenEnumerations(), 0);
}

TEST_F(MemoryVolume, VisitMayChangeTheVolumeItWalks) {
  volume.MakeFile("C:\\d\\a");
  volume.MakeFile("C:\\d\\b");
  Names seen;
  EnumerateEntries("C:\\d\\*.*", kListFilter, [&](const FileEntry& entry) {
    seen.push_back(entry.EntryName);
    if (entry.EntryName == "a") {
      for (int i = 0; i < 100; ++i) volume.MakeFile("C:\\d\\new" + std::to_string(i));
    }
    if (entry.EntryName == "b") volume.Reset();
    return true;
  });
  EXPECT_EQ(seen, (Names{".", "..", "a", "b"}));
  EXPECT_EQ(volume.OpenEnumerations(), 0);
  EXPECT_FALSE(volume.Exists("C:\\d"));
}

TEST_F(MemoryVolume, MisuseOfTheControlsFailsTheTest) {
  volume.MakeFile("C:\\file");
  EXPECT_THROW(volume.MakeFile("C:\\file\\inner"), std::logic_error);
  EXPECT_THROW(volume.MakeFolder("C:\\file"), std::logic_error);
  EXPECT_THROW(volume.MakeFile("relative\\x"), std::logic_error);
  EXPECT_THROW(volume.MakeFile("C:\\bad?name"), std::logic_error);
  EXPECT_THROW(volume.SetUnreadable("C:\\missing"), std::logic_error);
  EXPECT_THROW(volume.SetRenameFails("C:\\missing"), std::logic_error);
}

TEST_F(MemoryVolume, ManyEntriesInOneFolder) {
  volume.SetReverseOrder(true);
  const int count = 20000;
  for (int i = 0; i < count; ++i) volume.MakeFile("C:\\big\\F" + std::to_string(i) + ".TXT");
  for (int i = 0; i < count; ++i) {
    const std::string name = std::to_string(i) + ".txt";
    ASSERT_TRUE(RenameEntry("C:\\big\\F" + name, "C:\\big\\f" + name));
  }
  const Names listed = Listed("C:\\big\\");
  ASSERT_EQ(listed.size(), count + 2u);
  EXPECT_EQ(listed[2], "f" + std::to_string(count - 1) + ".txt");
  EXPECT_EQ(listed.back(), "f0.txt");
}

}  // namespace
