// The rename session every platform shares, driven through a scripted system over one folder
// that keeps names as given and looks them up as Wine does (the exact name, else the first that
// differs only in case): which moves it makes, in what order, and whether what it reports is
// where the entry really is.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/rename.h"
#include "platform/text.h"
#include "tests/exact_text.h"
#include "tests/text_forms.h"

namespace {

using Moves = std::vector<std::string>;
using Names = std::vector<std::string>;

const std::string kFolder = "C:\\d\\";

class ScriptedFolder {
 public:
  explicit ScriptedFolder(Names names) : names_(std::move(names)) {}

  // A system over this folder, for one session.
  std::unique_ptr<RenameSystem> System() { return std::make_unique<System_>(*this); }

  // An open entry: its moves follow it by its place in the folder.
  class Mover : public EntryMover {
   public:
    Mover(ScriptedFolder& folder, int index) : folder_(folder), index_(index) {}
    bool MoveTo(const std::string& to) override {
      return folder_.MoveAt(index_, folder_.names_[static_cast<size_t>(index_)], Name(to));
    }

   private:
    ScriptedFolder& folder_;
    int index_;
  };

  class System_ : public RenameSystem {
   public:
    explicit System_(ScriptedFolder& folder) : folder_(folder) {}
    std::unique_ptr<EntryMover> Open(const std::string& path) override {
      const int found = folder_.Find(Name(path));
      if (found < 0) return nullptr;
      return std::make_unique<Mover>(folder_, found);
    }
    bool Exists(const std::string& path) override {
      return folder_.taken_.count(Name(path)) != 0 || folder_.Find(Name(path)) >= 0;
    }
    bool StoredNameIs(const std::string& path) override {
      const int found = folder_.Find(Name(path));
      return found >= 0 && folder_.names_[static_cast<size_t>(found)] == Name(path);
    }

   private:
    ScriptedFolder& folder_;
  };

  bool MoveAt(int source, const std::string& from, const std::string& to) {
    moves.push_back(from + ">" + to);
    if (failingMoves.count(static_cast<int>(moves.size())) != 0) return false;
    if (failFrom != 0 && static_cast<int>(moves.size()) >= failFrom) return false;
    if (to.rfind("~kestrune", 0) == 0 && takenTemporaries > 0) {
      --takenTemporaries;
      taken_.insert(to);
      return false;
    }
    const int target = Find(to);
    if (source < 0) return false;
    if (target >= 0 && target != source) return false;
    if (target == source && ignoresCaseOnly) return true;
    names_[static_cast<size_t>(source)] = to;
    return true;
  }

  std::set<std::string> Names_() const {
    return std::set<std::string>(names_.begin(), names_.end());
  }

  bool ignoresCaseOnly = true;
  std::set<int> failingMoves;  // 1-based numbers of moves that fail
  int failFrom = 0;            // every move from this number on fails
  int takenTemporaries = 0;    // this many numbered temporary names are in use elsewhere
  Moves moves;

 private:
  static std::string Name(const std::string& path) { return path.substr(kFolder.size()); }
  int Find(const std::string& name) const {
    for (size_t i = 0; i < names_.size(); ++i) {
      if (names_[i] == name) return static_cast<int>(i);
    }
    for (size_t i = 0; i < names_.size(); ++i) {
      if (LowerCaseText(names_[i]) == LowerCaseText(name)) return static_cast<int>(i);
    }
    return -1;
  }
  Names names_;
  std::set<std::string> taken_;
};

// Records what it is told, and can refuse.
class Recorder : public RenameListener {
 public:
  bool Attempting(const std::string& oldPath, const std::string& temporaryPath,
                  const std::string& newPath) override {
    told.push_back(oldPath + "|" + temporaryPath + "|" + newPath);
    return !refuse;
  }
  void Attempted(RenameOutcome outcome) override { outcomes.push_back(outcome); }
  Names told;
  std::vector<RenameOutcome> outcomes;
  bool refuse = false;
};

// A session over one scripted folder, as a run or an undo has one.
class Session {
 public:
  explicit Session(ScriptedFolder& folder, RenameListener* listener = nullptr)
      : folder_(folder), session_(folder.System(), listener) {}
  RenameOutcome Rename(const std::string& from, const std::string& to, bool twinned = false) {
    if (!IsCaseOnlyChange(from, to)) {
      return session_.Move(kFolder + from, kFolder + to) ? RenameOutcome::Renamed
                                                         : RenameOutcome::NotRenamed;
    }
    return session_.ChangeCase(kFolder + from, kFolder + to, twinned);
  }
  // Makes the session know that drive C: ignores case-only changes, as a run's first such rename
  // would (the folder holds "Q" for it); the moves it took are forgotten.
  void Learn() {
    ASSERT_EQ(Rename("Q", "q"), RenameOutcome::Renamed);
    folder_.moves.clear();
  }

 private:
  ScriptedFolder& folder_;
  RenameSession session_;
};

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

TEST(RenameSession, HonouredRenamesAreOneMove) {
  ScriptedFolder folder({"old", "ABC"});
  folder.ignoresCaseOnly = false;
  Session session(folder);
  EXPECT_EQ(session.Rename("old", "new"), RenameOutcome::Renamed);
  EXPECT_EQ(session.Rename("ABC", "abc"), RenameOutcome::Renamed);
  EXPECT_EQ(folder.moves, (Moves{"old>new", "ABC>abc"}));
  EXPECT_EQ(folder.Names_(), (std::set<std::string>{"new", "abc"}));
}

TEST(RenameSession, AnIgnoredCaseOnlyChangeGoesThroughTheNameThatTellsTheNewOne) {
  ScriptedFolder folder({"ABC", "DEF"});
  Recorder recorder;
  Session session(folder, &recorder);
  EXPECT_EQ(session.Rename("ABC", "abc"), RenameOutcome::Renamed);
  EXPECT_EQ(folder.moves, (Moves{"ABC>abc", "ABC>abc.~kestrune.tmp", "abc.~kestrune.tmp>abc"}));
  // Each attempt is told before its first move.
  EXPECT_EQ(recorder.told,
            (Names{"C:\\d\\ABC||C:\\d\\abc", "C:\\d\\ABC|C:\\d\\abc.~kestrune.tmp|C:\\d\\abc"}));
  EXPECT_EQ(recorder.outcomes,
            (std::vector<RenameOutcome>{RenameOutcome::NotRenamed, RenameOutcome::Renamed}));
  // The volume is known now: the next one goes straight to the two steps.
  folder.moves.clear();
  EXPECT_EQ(session.Rename("DEF", "def"), RenameOutcome::Renamed);
  EXPECT_EQ(folder.moves, (Moves{"DEF>def.~kestrune.tmp", "def.~kestrune.tmp>def"}));
  EXPECT_EQ(folder.Names_(), (std::set<std::string>{"abc", "def"}));
}

TEST(RenameSession, NoTemporaryNameWhileTheListingShowsAnotherEntryAnsweringToTheNewName) {
  // Once moved away, such an entry could neither take the new name nor get the old one back.
  // The sibling stands before the entry and after it, so that a lookup finds either first; the
  // session may or may not know yet that the volume ignores case-only changes.
  for (Names names : {Names{"abc", "ABC"}, Names{"ABC", "abc"}, Names{"Abc", "ABC"},
                      Names{"ABC", "Abc"}, Names{"ABC", "aBC", "abc"}}) {
    for (bool learnt : {false, true}) {
      names.push_back("Q");
      ScriptedFolder folder(names);
      Session session(folder);
      if (learnt) session.Learn();
      names.back() = learnt ? "q" : "Q";
      EXPECT_EQ(session.Rename("ABC", "abc", true), RenameOutcome::NotRenamed);
      EXPECT_EQ(folder.moves.size(), 1u) << "one direct try";
      EXPECT_EQ(folder.Names_(), std::set<std::string>(names.begin(), names.end()));
      names.pop_back();
    }
  }
}

TEST(RenameSession, WhateverMoveFailsTheOutcomeSaysWhereTheEntryIs) {
  // Fail one move, or every move from one on, at each step of the two-step path.
  for (int k = 1; k <= 9; ++k) {
    for (bool fromThereOn : {false, true}) {
      ScriptedFolder folder({"ABC", "other"});
      Recorder recorder;
      if (fromThereOn) {
        folder.failFrom = k;
      } else {
        folder.failingMoves = {k};
      }
      const RenameOutcome outcome = Session(folder, &recorder).Rename("ABC", "abc");
      std::string where = outcome == RenameOutcome::Renamed      ? "abc"
                          : outcome == RenameOutcome::NotRenamed ? "ABC"
                                                                 : "abc.~kestrune.tmp";
      EXPECT_EQ(folder.Names_(), (std::set<std::string>{where, "other"}))
          << "move " << k << (fromThereOn ? " on" : "");
      ASSERT_FALSE(recorder.outcomes.empty());
      EXPECT_EQ(recorder.outcomes.back(), outcome);
    }
  }
  // Stranded only when every way out fails, and after trying each of them more than once.
  ScriptedFolder folder({"ABC"});
  folder.failFrom = 3;
  EXPECT_EQ(Session(folder).Rename("ABC", "abc"), RenameOutcome::LeftUnderTemporaryName);
  EXPECT_EQ(std::count(folder.moves.begin(), folder.moves.end(), "abc.~kestrune.tmp>ABC"), 3);
}

TEST(RenameSession, NumberedTemporaryNamesOnlyWhereAListenerRecordsThem) {
  const std::string longName(242, 'X');
  {
    ScriptedFolder folder({longName, "Q"});
    Session session(folder);
    session.Learn();
    EXPECT_EQ(session.Rename(longName, LowerCaseText(longName)), RenameOutcome::NotRenamed);
    EXPECT_TRUE(folder.moves.empty());
  }
  // With a listener: the name that tells the new one is taken, then two numbered names are;
  // the next numbered one is free. Each attempt is told first, each numbered name is new.
  ScriptedFolder folder({"abc.~kestrune.tmp", "ABC", "Q"});
  Recorder recorder;
  Session session(folder, &recorder);
  session.Learn();
  recorder.told.clear();
  folder.takenTemporaries = 2;
  EXPECT_EQ(session.Rename("ABC", "abc"), RenameOutcome::Renamed);
  ASSERT_EQ(recorder.told.size(), 4u);
  EXPECT_EQ(recorder.told[0], "C:\\d\\ABC|C:\\d\\abc.~kestrune.tmp|C:\\d\\abc");
  for (size_t i = 1; i < recorder.told.size(); ++i) {
    EXPECT_EQ(recorder.told[i].find("|C:\\d\\~kestrune"), 8u) << recorder.told[i];
  }
  EXPECT_EQ(std::set<std::string>(recorder.told.begin(), recorder.told.end()).size(), 4u);
  EXPECT_EQ(folder.Names_(), (std::set<std::string>{"abc.~kestrune.tmp", "abc", "q"}));
  // A listener's veto stops the rename before anything moves.
  ScriptedFolder vetoed({"ABC"});
  recorder.refuse = true;
  EXPECT_EQ(Session(vetoed, &recorder).Rename("ABC", "abc"), RenameOutcome::NotRenamed);
  EXPECT_TRUE(vetoed.moves.empty());
}

}  // namespace
