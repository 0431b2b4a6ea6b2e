// The rename session every platform shares, over a scripted system of one folder that keeps
// names as given, looks them up as Wine does (the exact name, else the first that differs only
// in case) and ignores case-only changes. Scripted because no real volume can be made to refuse
// a chosen move of a rename, or every move from one on: whatever step fails, what the session
// reports must be where the entry is. Everything a real volume can show is in the contract
// suite, against every platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/rename.h"
#include "platform/text.h"
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
    bool Exists(const std::string& path) override { return folder_.Find(Name(path)) >= 0; }
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
    const int target = Find(to);
    if (source < 0) return false;
    if (target >= 0 && target != source) return false;
    if (target == source) return true;  // a case-only change, ignored
    names_[static_cast<size_t>(source)] = to;
    return true;
  }

  std::set<std::string> Names_() const {
    return std::set<std::string>(names_.begin(), names_.end());
  }

  std::set<int> failingMoves;  // 1-based numbers of moves that fail
  int failFrom = 0;            // every move from this number on fails
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
};

// Keeps the outcome of each attempt it is told of.
class Outcomes : public RenameListener {
 public:
  bool Attempting(const std::string&, const std::string&, const std::string&) override {
    return true;
  }
  void Attempted(RenameOutcome outcome) override { heard.push_back(outcome); }
  std::vector<RenameOutcome> heard;
};

RenameOutcome ChangeCase(ScriptedFolder& folder, RenameListener* listener = nullptr) {
  return RenameSession(folder.System(), listener)
      .ChangeCase(kFolder + "ABC", kFolder + "abc", false);
}

TEST(RenameSession, WhateverMoveFailsTheOutcomeSaysWhereTheEntryIs) {
  // Fail one move, or every move from one on, at each step of the two-step path.
  for (int k = 1; k <= 9; ++k) {
    for (bool fromThereOn : {false, true}) {
      ScriptedFolder folder({"ABC", "other"});
      Outcomes listener;
      if (fromThereOn) {
        folder.failFrom = k;
      } else {
        folder.failingMoves = {k};
      }
      const RenameOutcome outcome = ChangeCase(folder, &listener);
      std::string where = outcome == RenameOutcome::Renamed      ? "abc"
                          : outcome == RenameOutcome::NotRenamed ? "ABC"
                                                                 : "abc.~kestrune.tmp";
      EXPECT_EQ(folder.Names_(), (std::set<std::string>{where, "other"}))
          << "move " << k << (fromThereOn ? " on" : "");
      ASSERT_FALSE(listener.heard.empty());
      EXPECT_EQ(listener.heard.back(), outcome);
    }
  }
  // Stranded only when every way out fails, and after trying each of them more than once.
  ScriptedFolder folder({"ABC"});
  folder.failFrom = 3;
  EXPECT_EQ(ChangeCase(folder), RenameOutcome::LeftUnderTemporaryName);
  EXPECT_EQ(std::count(folder.moves.begin(), folder.moves.end(), "abc.~kestrune.tmp>ABC"), 3);
}

}  // namespace
