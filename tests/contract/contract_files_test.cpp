// Contract of the file-system services, run against every implementation over trees that the
// platform's fixture builds by its own means.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "platform/rename.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/contract/fixture.h"
#include "tests/exact_text.h"
#include "tests/text_forms.h"

namespace {

using Names = std::vector<std::string>;
using Moves = std::vector<std::string>;

// The platform's own system, with the moves a session asks of it written down as "from>to" in
// names of one folder, whether the system makes them or not. A volume may report a case-only
// change as made and ignore it, so an entry takes a new name only where the system stored it.
class WatchedSystem : public RenameSystem {
 public:
  WatchedSystem(std::string folder, Moves& moves)
      : system_(NewRenameSystem()), folder_(std::move(folder)), moves_(moves) {}
  std::unique_ptr<EntryMover> Open(const std::string& path) override {
    std::unique_ptr<EntryMover> entry = system_->Open(path);
    if (!entry) return nullptr;
    return std::make_unique<Mover>(*this, std::move(entry), path);
  }
  bool Exists(const std::string& path) override { return system_->Exists(path); }
  bool StoredNameIs(const std::string& path) override { return system_->StoredNameIs(path); }

 private:
  class Mover : public EntryMover {
   public:
    Mover(WatchedSystem& system, std::unique_ptr<EntryMover> entry, std::string path)
        : system_(system), entry_(std::move(entry)), path_(std::move(path)) {}
    bool MoveTo(const std::string& to) override {
      system_.moves_.push_back(system_.Name(path_) + ">" + system_.Name(to));
      if (!entry_->MoveTo(to)) return false;
      if (system_.system_->StoredNameIs(to)) path_ = to;
      return true;
    }

   private:
    WatchedSystem& system_;
    std::unique_ptr<EntryMover> entry_;
    std::string path_;
  };
  std::string Name(const std::string& path) const { return path.substr(folder_.size()); }

  std::unique_ptr<RenameSystem> system_;
  std::string folder_;
  Moves& moves_;
};

// What a session tells its listener before each attempt, in names of one folder; it can refuse.
class Recorder : public RenameListener {
 public:
  explicit Recorder(std::string folder) : folder_(std::move(folder)) {}
  bool Attempting(const std::string& oldPath, const std::string& temporaryPath,
                  const std::string& newPath) override {
    told.push_back(Name(oldPath) + "|" + Name(temporaryPath) + "|" + Name(newPath));
    return !refuse;
  }
  void Attempted(RenameOutcome outcome) override { outcomes.push_back(outcome); }
  Names told;
  std::vector<RenameOutcome> outcomes;
  bool refuse = false;

 private:
  std::string Name(const std::string& path) const {
    return path.substr(std::min(path.size(), folder_.size()));
  }
  std::string folder_;
};

class FilesContract : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture = MakeContractFixture();
    root = fixture->Root();
  }

  std::map<std::string, FileEntry> Entries(const std::string& folder, uint32_t filter) {
    std::map<std::string, FileEntry> entries;
    EnumerateEntries(folder + "*.*", filter, [&entries](const FileEntry& entry) {
      EXPECT_EQ(entries.count(entry.EntryName), 0u) << "delivered twice: " << entry.EntryName;
      entries[entry.EntryName] = entry;
      return true;
    });
    return entries;
  }

  std::vector<std::string> Listed(const std::string& folder, uint32_t filter) {
    std::vector<std::string> names;
    for (const auto& [name, entry] : Entries(folder, filter)) names.push_back(name);
    return names;
  }

  std::vector<std::string> StoredNames(const std::string& folder) {
    std::vector<std::string> names = fixture->NamesIn(folder);
    std::sort(names.begin(), names.end());
    return names;
  }

  // A session over the platform's own system, its moves in root written to `moves`.
  std::unique_ptr<RenameSession> WatchedSession(RenameListener* listener = nullptr) {
    return std::make_unique<RenameSession>(std::make_unique<WatchedSystem>(root, moves), listener);
  }

  std::unique_ptr<ContractFixture> fixture;
  std::string root;
  Moves moves;
};

// ---- Enumeration and the attribute filter ----

TEST_F(FilesContract, BothFiltersSkipHiddenAndSystemEntriesOnly) {
  fixture->MakeFile(root + "plain.txt");
  fixture->MakeFile(root + "readonly.txt", 0, {2001, 3, 9, 7, 5, 42}, faReadOnly | faArchive);
  fixture->MakeFile(root + "hidden.txt", 0, {2001, 3, 9, 7, 5, 42}, faHidden | faArchive);
  fixture->MakeFile(root + "system.txt", 0, {2001, 3, 9, 7, 5, 42}, faSysFile | faArchive);
  fixture->MakeFolder(root + "Folder");
  fixture->MakeFolder(root + "HiddenFolder", faDirectory | faHidden);
  fixture->MakeFolder(root + "SystemFolder", faDirectory | faSysFile);

  const Names expected = {".", "..", "Folder", "plain.txt", "readonly.txt"};
  EXPECT_EQ(Listed(root, kScanFilter), expected);
  EXPECT_EQ(Listed(root, kListFilter), expected);
  // A filter naming the hidden bit lets hidden entries through.
  const Names withHidden = {".",          "..",        "Folder",      "HiddenFolder",
                            "hidden.txt", "plain.txt", "readonly.txt"};
  EXPECT_EQ(Listed(root, kListFilter | faHidden), withHidden);
}

TEST_F(FilesContract, FolderOfHiddenAndSystemEntriesOnlyShowsItsDots) {
  fixture->MakeFolder(root + "only");
  fixture->MakeFile(root + "only\\h.txt", 0, {2001, 3, 9, 7, 5, 42}, faHidden | faArchive);
  fixture->MakeFile(root + "only\\s.txt", 0, {2001, 3, 9, 7, 5, 42}, faSysFile | faArchive);
  const Names dots = {".", ".."};
  EXPECT_EQ(Listed(root + "only\\", kScanFilter), dots);
  EXPECT_EQ(Listed(root + "only\\", kListFilter), dots);
}

TEST_F(FilesContract, AttributesPassThrough) {
  fixture->MakeFile(root + "ra.txt", 0, {2001, 3, 9, 7, 5, 42}, faReadOnly | faArchive);
  fixture->MakeFolder(root + "dir");
  const auto entries = Entries(root, kListFilter | faHidden | faSysFile);
  const FileEntry& file = entries.at("ra.txt");
  EXPECT_EQ(file.Attributes & 0x3f, faReadOnly | faArchive);
  EXPECT_FALSE(file.IsLink);
  const FileEntry& dir = entries.at("dir");
  EXPECT_EQ(dir.Attributes & (faDirectory | faReadOnly | faHidden | faSysFile), faDirectory);
  EXPECT_EQ(dir.EntrySize, 0u);
  EXPECT_FALSE(dir.IsLink);
  EXPECT_NE(entries.at(".").Attributes & faDirectory, 0u);
  EXPECT_NE(entries.at("..").Attributes & faDirectory, 0u);
}

TEST_F(FilesContract, StarDotStarMatchesNamesWithoutADot) {
  fixture->MakeFile(root + "README");
  fixture->MakeFile(root + "a.txt");
  fixture->MakeFolder(root + "NoDot");
  const Names expected = {".", "..", "NoDot", "README", "a.txt"};
  EXPECT_EQ(Listed(root, kListFilter), expected);
}

TEST_F(FilesContract, TwoByteNamesComeBackByteForByte) {
  fixture->MakeFile(root + Exact("表ソ十能.TXT"));
  fixture->MakeFolder(root + Exact("アＡ"));
  fixture->MakeFile(root + Exact("アＡ\\ｱｲ.txt"));
  const Names top = {".", "..", "アＡ", "表ソ十能.TXT"};
  EXPECT_EQ(Listed(root, kListFilter), top);
  const Names inner = {".", "..", "ｱｲ.txt"};
  EXPECT_EQ(Listed(root + Exact("アＡ\\"), kListFilter), inner);
  for (const auto& [name, entry] : Entries(root, kListFilter)) {
    EXPECT_EQ(entry.ExactName, "") << name;  // the code page holds them: nothing beside
  }
}

// Names with characters the code page lacks, or shows as another (both forms of 〜 and −: the
// system maps the code page's ～ and − to one of each), and two that show alike: each is listed
// as the system's code-page listings show it, carries its exact name where that text does not
// convert back to it, and is renamed, folders and what is inside them reached, by that name.
TEST_F(FilesContract, NamesTheCodePageLacksAreListedAsShownAndReachedExactly) {
  const Names names = {u8"CAFÉ.TXT",        u8"CAFÈ.TXT",       u8"資料〜FINAL.TXT",
                       u8"資料～FINAL.TXT", u8"−5 OHM",         u8"－5 OHM",
                       u8"한글 MEMO",       u8"\U0001F600.TXT", u8"ＡＢＣ.TXT"};
  const Names folders = {u8"ÜBER", u8"‖DIR〜"};
  const std::string inner = u8"INNER É.TXT";
  const std::string innerLowered = u8"inner É.txt";
  for (const std::string& name : names) fixture->MakeFile(root + name);
  for (const std::string& folder : folders) fixture->MakeFile(root + folder + "\\" + inner);

  for (const std::string& folder : Names{"", folders[0] + "\\", folders[1] + "\\"}) {
    Names exactNames;
    EnumerateEntries(root + folder + "*.*", kListFilter, [&](const FileEntry& entry) {
      if (IsDotEntry(entry.EntryName)) return true;
      const std::string exact = ExactNameOf(entry);
      exactNames.push_back(exact);
      EXPECT_EQ(entry.EntryName, ShownOf(exact)) << exact;
      std::string back;
      EXPECT_EQ(entry.ExactName.empty(), ExactOf(entry.EntryName, back) && back == exact) << exact;
      return true;
    });
    std::sort(exactNames.begin(), exactNames.end());
    EXPECT_EQ(exactNames, folder.empty() ? StoredNames(root) : Names{inner}) << folder;
  }
  EXPECT_EQ(StoredNames(root).size(), names.size() + folders.size());

  RenameSession session;
  Names lowered;
  for (const std::string& name : StoredNames(root)) {
    EXPECT_EQ(session.ChangeCase(root + name, root + ExactLowerCase(name), false),
              RenameOutcome::Renamed)
        << name;
    lowered.push_back(ExactLowerCase(name));
  }
  for (const std::string& folder : folders) {
    const std::string path = root + ExactLowerCase(folder) + "\\" + inner;
    EXPECT_EQ(session.ChangeCase(path, ExactLowerCase(path), false), RenameOutcome::Renamed);
    EXPECT_EQ(StoredNames(root + ExactLowerCase(folder) + "\\"), Names{innerLowered});
  }
  std::sort(lowered.begin(), lowered.end());
  EXPECT_EQ(StoredNames(root), lowered);
  const std::string wave = u8"資料〜FINAL.TXT";
  const std::string waveLowered = u8"資料〜final.txt";
  EXPECT_EQ(ExactLowerCase(wave), waveLowered);
}

TEST_F(FilesContract, SizesAboveFourGigabytesAreWhole) {
  const uint64_t size = (5ULL << 30) + 3;
  fixture->MakeFile(root + "big.bin", size);
  fixture->MakeFile(root + "small.bin", 7);
  const auto entries = Entries(root, kListFilter);
  EXPECT_EQ(entries.at("big.bin").EntrySize, size);
  EXPECT_EQ(entries.at("small.bin").EntrySize, 7u);
}

TEST_F(FilesContract, TimesAreLocalWithDosSecondsInsideTheDosRange) {
  fixture->MakeFile(root + "odd.txt", 0, {2001, 3, 9, 7, 5, 43});
  fixture->MakeFile(root + "even.txt", 0, {2019, 12, 31, 23, 59, 58});
  fixture->MakeFile(root + "old.txt", 0, {1975, 6, 15, 10, 20, 31});
  const auto entries = Entries(root, kListFilter);
  EXPECT_EQ(entries.at("odd.txt").ModifiedTime, (LocalDateTime{2001, 3, 9, 7, 5, 42}));
  EXPECT_EQ(entries.at("even.txt").ModifiedTime, (LocalDateTime{2019, 12, 31, 23, 59, 58}));
  // Outside the DOS range the true time stays, odd second included.
  EXPECT_EQ(entries.at("old.txt").ModifiedTime, (LocalDateTime{1975, 6, 15, 10, 20, 31}));
}

TEST_F(FilesContract, MissingFoldersAndFilesEnumerateNothing) {
  fixture->MakeFile(root + "file.txt");
  int visits = 0;
  auto count = [&visits](const FileEntry&) { return ++visits, true; };
  EnumerateEntries(root + "missing\\*.*", kListFilter, count);
  EnumerateEntries(root + "file.txt\\*.*", kListFilter, count);
  EnumerateEntries("Q:\\nowhere\\*.*", kListFilter, count);
  EXPECT_EQ(visits, 0);
}

TEST_F(FilesContract, UnreadableFolderEnumeratesNothing) {
  fixture->MakeFolder(root + "locked");
  fixture->MakeFile(root + "locked\\inside.txt");
  fixture->MakeUnreadable(root + "locked");
  EXPECT_TRUE(Listed(root + "locked\\", kListFilter).empty());
  EXPECT_TRUE(FolderExists(root + "locked"));
}

TEST_F(FilesContract, EarlyStopClosesTheEnumeration) {
  fixture->MakeFolder(root + "walk");
  for (const char* name : {"a", "b", "c", "d"}) fixture->MakeFile(root + "walk\\" + name);
  const std::string folder = root + "walk\\";
  int visits = 0;
  bool openWhileVisiting = false;
  EnumerateEntries(folder + "*.*", kListFilter, [&](const FileEntry&) {
    openWhileVisiting = fixture->EnumerationOpenOn(root + "walk");
    ++visits;
    return false;
  });
  EXPECT_EQ(visits, 1);
  EXPECT_TRUE(openWhileVisiting) << "the probe cannot see an open enumeration";
  EXPECT_FALSE(fixture->EnumerationOpenOn(root + "walk"));

  // Also when the visit throws.
  EXPECT_THROW(EnumerateEntries(folder + "*.*", kListFilter,
                                [](const FileEntry&) -> bool { throw std::runtime_error("x"); }),
               std::runtime_error);
  EXPECT_FALSE(fixture->EnumerationOpenOn(root + "walk"));
}

TEST_F(FilesContract, LinkFolderIsMarkedAndLeadsToItsTarget) {
  fixture->MakeFolder(root + "target");
  fixture->MakeFile(root + "target\\inside.txt");
  if (!fixture->MakeLink(root + "link", root + "target")) {
    GTEST_SKIP() << "this platform cannot make a link folder here";
  }
  const auto entries = Entries(root, kScanFilter);
  ASSERT_EQ(entries.count("link"), 1u);
  EXPECT_TRUE(entries.at("link").IsLink);
  EXPECT_NE(entries.at("link").Attributes & faDirectory, 0u);
  EXPECT_FALSE(entries.at("target").IsLink);
  const Names through = {".", "..", "inside.txt"};
  EXPECT_EQ(Listed(root + "link\\", kListFilter), through);
  EXPECT_TRUE(FolderExists(root + "link"));
}

// ---- Folder test ----

TEST_F(FilesContract, FolderExistsForFoldersOnly) {
  fixture->MakeFolder(root + "Dir");
  fixture->MakeFile(root + "file.txt");
  EXPECT_TRUE(FolderExists(root));
  EXPECT_TRUE(FolderExists(root + "Dir"));
  EXPECT_TRUE(FolderExists(root + "Dir\\"));
  EXPECT_TRUE(FolderExists(root + "dIR\\"));
  EXPECT_TRUE(FolderExists(root.substr(0, 3)));
  EXPECT_FALSE(FolderExists(root + "file.txt"));
  EXPECT_FALSE(FolderExists(root + "missing\\"));
  EXPECT_FALSE(FolderExists(""));
  EXPECT_FALSE(FolderExists(root + "D?r"));
}

// ---- Long paths ----

TEST_F(FilesContract, PathsLongerThan300BytesWork) {
  std::string folder = root;
  for (char c = 'a'; folder.size() <= 300; ++c) {
    folder += std::string(40, c) + "\\";
    fixture->MakeFolder(folder);
  }
  ASSERT_GT(folder.size(), 300u);
  fixture->MakeFile(folder + "DEEP.TXT");
  fixture->MakeFile(folder + "Other.txt");

  EXPECT_TRUE(FolderExists(folder));
  const Names listed = {".", "..", "DEEP.TXT", "Other.txt"};
  EXPECT_EQ(Listed(folder, kListFilter), listed);
  EXPECT_TRUE(RenameEntry(folder + "DEEP.TXT", folder + "deep.txt"));
  EXPECT_TRUE(RenameEntry(folder + "Other.txt", folder + "moved.txt"));
  const Names renamed = {"deep.txt", "moved.txt"};
  EXPECT_EQ(StoredNames(folder), renamed);
}

// ---- Rename ----

TEST_F(FilesContract, RenameMovesTheEntry) {
  fixture->MakeFileWith(root + "old.txt", "old");
  EXPECT_TRUE(RenameEntry(root + "old.txt", root + "new.txt"));
  EXPECT_EQ(StoredNames(root), Names{"new.txt"});
  EXPECT_EQ(fixture->ContentOf(root + "new.txt"), "old");
}

TEST_F(FilesContract, CaseOnlyRenameOfAFileIsVerified) {
  fixture->MakeFileWith(root + "README.TXT", "text");
  fixture->MakeFile(root + "other.txt");
  EXPECT_TRUE(RenameEntry(root + "README.TXT", root + "readme.txt"));
  EXPECT_EQ(StoredNames(root), (Names{"other.txt", "readme.txt"}));
  EXPECT_EQ(fixture->ContentOf(root + "readme.txt"), "text");
}

TEST_F(FilesContract, CaseOnlyRenameKeepsTwoByteCharacters) {
  fixture->MakeFile(root + Exact("表アX.TXT"));
  EXPECT_TRUE(RenameEntry(root + Exact("表アX.TXT"), root + Exact("表アx.txt")));
  EXPECT_EQ(StoredNames(root), Names{Exact("表アx.txt")});
}

TEST_F(FilesContract, CaseOnlyRenameOfAFolderKeepsItsContents) {
  fixture->MakeFolder(root + "DOCS");
  fixture->MakeFileWith(root + "DOCS\\NOTE.TXT", "note");
  fixture->MakeFolder(root + "DOCS\\SUB");
  EXPECT_TRUE(RenameEntry(root + "DOCS", root + "docs"));
  EXPECT_EQ(StoredNames(root), Names{"docs"});
  EXPECT_EQ(StoredNames(root + "docs\\"), (Names{"NOTE.TXT", "SUB"}));
  // The old spelling still resolves: lookup ignores case.
  EXPECT_TRUE(FolderExists(root + "DOCS\\SUB"));
  EXPECT_EQ(fixture->ContentOf(root + "DOCS\\NOTE.TXT"), "note");
}

TEST_F(FilesContract, RenameNeverOverwrites) {
  fixture->MakeFileWith(root + "a.txt", "first");
  fixture->MakeFileWith(root + "b.txt", "second");
  EXPECT_FALSE(RenameEntry(root + "a.txt", root + "b.txt"));
  EXPECT_FALSE(RenameEntry(root + "a.txt", root + "B.TXT"));
  EXPECT_EQ(StoredNames(root), (Names{"a.txt", "b.txt"}));
  EXPECT_EQ(fixture->ContentOf(root + "a.txt"), "first");
  EXPECT_EQ(fixture->ContentOf(root + "b.txt"), "second");
}

TEST_F(FilesContract, RenameOfAMissingEntryFails) {
  EXPECT_FALSE(RenameEntry(root + "missing.txt", root + "found.txt"));
  EXPECT_FALSE(RenameEntry(root + "MISSING.TXT", root + "missing.txt"));
  EXPECT_TRUE(StoredNames(root).empty());
}

TEST_F(FilesContract, RenameAcrossFoldersNeedsTheTargetFolder) {
  fixture->MakeFolder(root + "from");
  fixture->MakeFolder(root + "to");
  fixture->MakeFileWith(root + "from\\f.txt", "f");
  EXPECT_FALSE(RenameEntry(root + "from\\f.txt", root + "nowhere\\f.txt"));
  EXPECT_TRUE(RenameEntry(root + "from\\f.txt", root + "to\\g.txt"));
  EXPECT_TRUE(StoredNames(root + "from\\").empty());
  EXPECT_EQ(fixture->ContentOf(root + "to\\g.txt"), "f");
}

TEST_F(FilesContract, RenameOfAFolderMovesItsSubtree) {
  fixture->MakeFolder(root + "tree\\branch");
  fixture->MakeFileWith(root + "tree\\branch\\leaf.txt", "leaf");
  EXPECT_TRUE(RenameEntry(root + "tree", root + "grove"));
  EXPECT_FALSE(FolderExists(root + "tree"));
  EXPECT_EQ(fixture->ContentOf(root + "grove\\branch\\leaf.txt"), "leaf");
  // Never into its own subtree.
  EXPECT_FALSE(RenameEntry(root + "grove", root + "grove\\branch\\grove"));
  EXPECT_TRUE(FolderExists(root + "grove\\branch"));
}

TEST_F(FilesContract, NameWithAWildcardNeverReachesAnotherEntry) {
  // A '?' is what a lossy conversion leaves of a character without a code-page form; as a
  // wildcard it would match XA.TXT.
  fixture->MakeFileWith(root + "XA.TXT", "xa");
  EXPECT_FALSE(RenameEntry(root + "X?.TXT", root + "x?.txt"));
  EXPECT_FALSE(RenameEntry(root + "XA.TXT", root + "x?.txt"));
  EXPECT_FALSE(RenameEntry(root + "X*", root + "x*"));
  EXPECT_EQ(StoredNames(root), Names{"XA.TXT"});
  EXPECT_EQ(fixture->ContentOf(root + "XA.TXT"), "xa");
}

TEST_F(FilesContract, EntriesThatDifferOnlyInCaseStayWhereTheyAre) {
  // A lookup that ignores case may find either of two such names; an entry of such a pair moved
  // to a temporary name could then take neither the new name nor its old one back.
  fixture->MakeFileWith(root + "xt_MARK.h", "MARK");
  if (!fixture->MakeCaseTwin(root + "xt_mark.h", false, "mark")) {
    GTEST_SKIP() << "folders here cannot hold names that differ only in case";
  }
  fixture->MakeFileWith(root + "README.TXT", "README");
  ASSERT_TRUE(fixture->MakeCaseTwin(root + "Readme.txt", false, "Readme"));
  fixture->MakeFileWith(root + "Pod\\in.pm", "in");
  ASSERT_TRUE(fixture->MakeCaseTwin(root + "pod", true, ""));
  // Full-width and Greek letters have a case too, for a file system that ignores case.
  fixture->MakeFileWith(root + u8"ＡＢＣ.TXT", "ABC");
  ASSERT_TRUE(fixture->MakeCaseTwin(root + u8"ａｂｃ.TXT", false, "abc"));
  fixture->MakeFolder(root + u8"ΑΩ.D");
  ASSERT_TRUE(fixture->MakeCaseTwin(root + u8"αω.D", true, ""));
  const Names before = StoredNames(root);
  ASSERT_EQ(before.size(), 10u);
  // Twice: first in a session that does not know yet whether the volume ignores case-only
  // renames, then in one that has seen it do so (or not).
  const std::unique_ptr<RenameSession> session = WatchedSession();
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& [from, to] :
         std::vector<std::pair<std::string, std::string>>{{"xt_MARK.h", "xt_mark.h"},
                                                          {"README.TXT", "readme.txt"},
                                                          {"Readme.txt", "readme.txt"},
                                                          {"Pod", "pod"},
                                                          {u8"ＡＢＣ.TXT", u8"ＡＢＣ.txt"},
                                                          {u8"αω.D", u8"αω.d"}}) {
      // As a run that listed the folder renames them, and as a rename on its own does.
      moves.clear();
      EXPECT_EQ(session->ChangeCase(root + from, root + to, true), RenameOutcome::NotRenamed)
          << from;
      EXPECT_EQ(moves.size(), 1u) << from << ": one direct try";
      ASSERT_EQ(StoredNames(root), before) << from;
      EXPECT_FALSE(RenameEntry(root + from, root + to)) << from;
      ASSERT_EQ(StoredNames(root), before) << from;
    }
    if (pass == 0) {
      EXPECT_EQ(session->ChangeCase(root + "Pod\\in.pm", root + "Pod\\IN.PM", false),
                RenameOutcome::Renamed);
    }
  }
  EXPECT_EQ(fixture->ContentOf(root + "xt_MARK.h"), "MARK");
  EXPECT_EQ(fixture->ContentOf(root + "xt_mark.h"), "mark");
  EXPECT_EQ(fixture->ContentOf(root + "README.TXT"), "README");
  EXPECT_EQ(fixture->ContentOf(root + "Readme.txt"), "Readme");
  EXPECT_EQ(fixture->ContentOf(root + u8"ＡＢＣ.TXT"), "ABC");
  EXPECT_EQ(fixture->ContentOf(root + u8"ａｂｃ.TXT"), "abc");
  EXPECT_EQ(StoredNames(root + "Pod\\"), Names{"IN.PM"});
}

TEST_F(FilesContract, ALinkIsRenamedItselfOrNotAtAllAndWhatItLeadsToStaysWhereItIs) {
  // Wine opens what a Unix link leads to, even when asked for the link itself: a move through
  // that handle would carry the target, perhaps from another folder, here in place of the link.
  fixture->MakeFolder(root + "here");
  fixture->MakeFolder(root + "away\\TARGET");
  fixture->MakeFileWith(root + "away\\TARGET\\IN.TXT", "in");
  fixture->MakeFileWith(root + "away\\README.Bugs", "bugs");
  fixture->MakeFileWith(root + "here\\README", "readme");
  struct Link {
    const char* name;
    const char* target;
    bool folder;
  };
  int made = 0;
  for (const Link& link : {Link{"LINKED", "away\\TARGET", true}, Link{"FAQ", "here\\README", false},
                           Link{"README.Bugs", "away\\README.Bugs", false}}) {
    const std::string path = root + "here\\" + link.name;
    if (!(link.folder ? fixture->MakeLink(path, root + link.target)
                      : fixture->MakeFileLink(path, root + link.target))) {
      continue;
    }
    ++made;
    for (bool twinned : {false, true}) {
      const std::string lower = root + "here\\" + LowerCaseText(link.name);
      const RenameOutcome outcome = RenameSession().ChangeCase(path, lower, twinned);
      EXPECT_NE(outcome, RenameOutcome::LeftUnderTemporaryName) << link.name;
      EXPECT_EQ(StoredNames(root + "away\\"), (Names{"README.Bugs", "TARGET"})) << link.name;
      EXPECT_EQ(fixture->ContentOf(root + "away\\TARGET\\IN.TXT"), "in") << link.name;
      EXPECT_EQ(fixture->ContentOf(root + "away\\README.Bugs"), "bugs") << link.name;
      EXPECT_EQ(fixture->ContentOf(root + "here\\README"), "readme") << link.name;
      const Names here = StoredNames(root + "here\\");
      const std::string name =
          outcome == RenameOutcome::Renamed ? LowerCaseText(link.name) : std::string(link.name);
      EXPECT_EQ(std::count(here.begin(), here.end(), name), 1) << link.name;
      if (outcome == RenameOutcome::Renamed) {
        ASSERT_TRUE(RenameEntry(lower, path));
      }
    }
  }
  EXPECT_GT(made, 0);
}

// ---- The rename session ----

TEST(RenameSession, CaseOnlyChangeIsAboutSingleByteLettersOnly) {
  EXPECT_TRUE(IsCaseOnlyChange("C:\\d\\README.TXT", "C:\\d\\readme.txt"));
  EXPECT_TRUE(IsCaseOnlyChange("C:\\D\\a", "C:\\d\\a"));
  EXPECT_FALSE(IsCaseOnlyChange("C:\\d\\a", "C:\\d\\a"));
  EXPECT_FALSE(IsCaseOnlyChange("C:\\d\\a", "C:\\d\\b"));
  // ア (0x83 0x41) and ヂ (0x83 0x61) differ in a trail byte, which has no case.
  EXPECT_FALSE(IsCaseOnlyChange(Exact("C:\\d\\ア"), Exact("C:\\d\\ヂ")));
  EXPECT_FALSE(IsCaseOnlyChange(u8"C:\\d\\Ａ", u8"C:\\d\\ａ"));
  const std::string accented = u8"C:\\〜\\CAFÉ";
  const std::string accentLowered = u8"C:\\〜\\CAFé";
  const std::string asciiLowered = u8"C:\\〜\\cafÉ";
  EXPECT_FALSE(IsCaseOnlyChange(accented, accentLowered));
  EXPECT_TRUE(IsCaseOnlyChange(accented, asciiLowered));
}

TEST(RenameSession, TemporaryNamesTellTheNewNameWhereTheyCan) {
  EXPECT_EQ(TemporaryNameFor("readme.txt"), "readme.txt.~kestrune.tmp");
  EXPECT_EQ(NewNameOfTemporary("readme.txt.~kestrune.tmp"), "readme.txt");
  EXPECT_EQ(NewNameOfTemporary(u8"表ソ〜.txt.~kestrune.tmp"), u8"表ソ〜.txt");
  EXPECT_EQ(NewNameOfTemporary("README.TXT.~kestrune.tmp"), "README.TXT");
  // 241 characters and the marker make 255 UTF-16 units; one more does not fit. A character
  // past U+FFFF takes two.
  EXPECT_FALSE(TemporaryNameFor(std::string(241, 'a')).empty());
  EXPECT_TRUE(TemporaryNameFor(std::string(242, 'a')).empty());
  std::string wide;
  for (int i = 0; i < 241; ++i) wide += u8"ア";
  EXPECT_FALSE(TemporaryNameFor(wide).empty());
  EXPECT_TRUE(TemporaryNameFor(wide + "a").empty());
  EXPECT_TRUE(TemporaryNameFor(std::string(240, 'a') + u8"\U0001F600").empty());
  EXPECT_FALSE(TemporaryNameFor(std::string(239, 'a') + u8"\U0001F600").empty());
  for (const std::string name : {"readme.txt", ".~kestrune.tmp", "a.~KESTRUNE.TMP", "~kestrune.tmp",
                                 "\xe3\x82.~kestrune.tmp"}) {
    EXPECT_EQ(NewNameOfTemporary(name), "") << name;
  }
  EXPECT_TRUE(IsTemporaryName("~kestrune17.tmp"));
  EXPECT_TRUE(IsTemporaryName("a.~kestrune.tmp"));
  for (const std::string name :
       {"~kestrune.tmp", "~kestrune1x.tmp", "~KESTRUNE1.TMP", "x~kestrune1.tmp"}) {
    EXPECT_FALSE(IsTemporaryName(name)) << name;
  }
}

TEST_F(FilesContract, HonouredRenamesAreOneMove) {
  if (!fixture->SetIgnoresCaseOnlyRenames(false)) GTEST_SKIP() << "the volume ignores them";
  fixture->MakeFile(root + "old");
  fixture->MakeFile(root + "ABC");
  const std::unique_ptr<RenameSession> session = WatchedSession();
  EXPECT_TRUE(session->Move(root + "old", root + "new"));
  EXPECT_EQ(session->ChangeCase(root + "ABC", root + "abc", false), RenameOutcome::Renamed);
  EXPECT_EQ(moves, (Moves{"old>new", "ABC>abc"}));
  EXPECT_EQ(StoredNames(root), (Names{"abc", "new"}));
}

TEST_F(FilesContract, AnIgnoredCaseOnlyChangeGoesThroughTheNameThatTellsTheNewOne) {
  if (!fixture->SetIgnoresCaseOnlyRenames(true)) GTEST_SKIP() << "the volume honours them";
  fixture->MakeFile(root + "ABC");
  fixture->MakeFile(root + "DEF");
  Recorder recorder(root);
  const std::unique_ptr<RenameSession> session = WatchedSession(&recorder);
  EXPECT_EQ(session->ChangeCase(root + "ABC", root + "abc", false), RenameOutcome::Renamed);
  EXPECT_EQ(moves, (Moves{"ABC>abc", "ABC>abc.~kestrune.tmp", "abc.~kestrune.tmp>abc"}));
  // Each attempt is told before its first move.
  EXPECT_EQ(recorder.told, (Names{"ABC||abc", "ABC|abc.~kestrune.tmp|abc"}));
  EXPECT_EQ(recorder.outcomes,
            (std::vector<RenameOutcome>{RenameOutcome::NotRenamed, RenameOutcome::Renamed}));
  // The volume is known now: the next one goes straight to the two steps.
  moves.clear();
  EXPECT_EQ(session->ChangeCase(root + "DEF", root + "def", false), RenameOutcome::Renamed);
  EXPECT_EQ(moves, (Moves{"DEF>def.~kestrune.tmp", "def.~kestrune.tmp>def"}));
  EXPECT_EQ(StoredNames(root), (Names{"abc", "def"}));
}

TEST_F(FilesContract, NumberedTemporaryNamesOnlyWhereAListenerRecordsThem) {
  if (!fixture->SetIgnoresCaseOnlyRenames(true)) GTEST_SKIP() << "the volume honours them";
  // 241 characters leave room for the name that tells the new one, 242 do not; without a
  // listener there is no other.
  const std::string fits(241, 'X');
  const std::string tooLong(242, 'X');
  for (const std::string& name : {fits, tooLong, std::string("Q"), std::string("ABC"),
                                  std::string("abc.~kestrune.tmp"), std::string("VETO")}) {
    fixture->MakeFile(root + name);
  }
  {
    const std::unique_ptr<RenameSession> session = WatchedSession();
    ASSERT_EQ(session->ChangeCase(root + "Q", root + "q", false), RenameOutcome::Renamed);
    moves.clear();
    EXPECT_EQ(session->ChangeCase(root + tooLong, root + std::string(242, 'x'), false),
              RenameOutcome::NotRenamed);
    EXPECT_TRUE(moves.empty());
    EXPECT_EQ(session->ChangeCase(root + fits, root + std::string(241, 'x'), false),
              RenameOutcome::Renamed);
  }
  // With a listener: the name that tells the new one is taken, and so are the first two
  // numbered names of a fresh session; the third is free. Each attempt is told first, each
  // numbered name is new.
  fixture->MakeFile(root + "~kestrune1.tmp");
  fixture->MakeFile(root + "~kestrune2.tmp");
  Recorder recorder(root);
  EXPECT_EQ(WatchedSession(&recorder)->ChangeCase(root + "ABC", root + "abc", false),
            RenameOutcome::Renamed);
  ASSERT_EQ(recorder.told.size(), 5u);
  EXPECT_EQ(recorder.told[0], "ABC||abc");
  EXPECT_EQ(recorder.told[1], "ABC|abc.~kestrune.tmp|abc");
  for (size_t i = 2; i < recorder.told.size(); ++i) {
    EXPECT_EQ(recorder.told[i].find("ABC|~kestrune"), 0u) << recorder.told[i];
  }
  EXPECT_EQ(std::set<std::string>(recorder.told.begin(), recorder.told.end()).size(), 5u);
  // A listener's veto stops the rename before anything moves.
  moves.clear();
  recorder.refuse = true;
  EXPECT_EQ(WatchedSession(&recorder)->ChangeCase(root + "VETO", root + "veto", false),
            RenameOutcome::NotRenamed);
  EXPECT_TRUE(moves.empty());
  EXPECT_EQ(StoredNames(root), (Names{"VETO", tooLong, "abc", "abc.~kestrune.tmp", "q",
                                      std::string(241, 'x'), "~kestrune1.tmp", "~kestrune2.tmp"}));
}

// ---- Append-only files ----

TEST_F(FilesContract, AnAppendFileHasOneWriterAndAnyNumberOfReaders) {
  const std::string path = root + "journal.log";
  AppendFile* file = OpenAppendFile(path, false);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(OpenAppendFile(path, false), nullptr);
  EXPECT_TRUE(AppendToFile(file, "one\r\n"));
  EXPECT_TRUE(AppendToFile(file, "two\r\n"));
  std::string data;
  ASSERT_TRUE(ReadFileTail(path, 1000, data));  // while the writer holds it
  EXPECT_EQ(data, "one\r\ntwo\r\n");
  ASSERT_TRUE(ReadFileTail(path, 5, data));
  EXPECT_EQ(data, "two\r\n");
  CloseAppendFile(file);
  // Opened again, it goes on at its end; replaced, it starts empty.
  file = OpenAppendFile(path, false);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(AppendToFile(file, "three"));
  CloseAppendFile(file);
  EXPECT_EQ(fixture->ContentOf(path), "one\r\ntwo\r\nthree");
  file = OpenAppendFile(path, true);
  ASSERT_NE(file, nullptr);
  CloseAppendFile(file);
  EXPECT_EQ(fixture->ContentOf(path), "");
  EXPECT_FALSE(ReadFileTail(root + "missing.log", 10, data));
  EXPECT_EQ(OpenAppendFile(root + "no folder\\journal.log", false), nullptr);
}

}  // namespace
