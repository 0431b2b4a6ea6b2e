// The rename algorithm every platform shares, driven through scripted operations: which moves
// it makes, in what order, and what it reports.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/common/verified_rename.h"
#include "platform/text.h"

namespace {

// A flat folder of names keyed case-insensitively, with switches for the faults of a volume.
class ScriptedVolume {
 public:
  explicit ScriptedVolume(std::set<std::string> names) {
    ForgetVolumesIgnoringCaseOnlyRenames();
    for (const std::string& name : names) entries_[LowerCaseText(name)] = name;
  }

  RenameOperations Operations() {
    RenameOperations operations;
    operations.move = [this](const std::string& from, const std::string& to) {
      moves.push_back(from + ">" + to);
      if (failMoveNumber == static_cast<int>(moves.size())) return false;
      if (to.find("~kestrune") != std::string::npos && takenTemporaries > 0) {
        --takenTemporaries;
        taken_.insert(to);
        return false;
      }
      auto source = entries_.find(LowerCaseText(from));
      if (source == entries_.end()) return false;
      if (LowerCaseText(from) == LowerCaseText(to)) {
        if (!ignoresCaseOnly) source->second = to;
        return true;
      }
      if (entries_.count(LowerCaseText(to)) != 0) return false;
      entries_.erase(source);
      entries_[LowerCaseText(to)] = to;
      return true;
    };
    operations.exists = [this](const std::string& path) {
      asked.push_back(path);
      return taken_.count(path) != 0 || entries_.count(LowerCaseText(path)) != 0;
    };
    operations.storedNameIs = [this](const std::string& path) {
      auto it = entries_.find(LowerCaseText(path));
      return it != entries_.end() && it->second == path;
    };
    return operations;
  }

  std::set<std::string> Names() const {
    std::set<std::string> names;
    for (const auto& [key, name] : entries_) names.insert(name);
    return names;
  }

  bool ignoresCaseOnly = false;
  int failMoveNumber = 0;    // 1-based number of the move to fail
  int takenTemporaries = 0;  // this many temporary names are in use by other entries
  std::vector<std::string> moves;
  std::vector<std::string> asked;

 private:
  std::set<std::string> taken_;
  std::map<std::string, std::string> entries_;
};

using Names = std::set<std::string>;
using Moves = std::vector<std::string>;

TEST(VerifiedRename, CaseOnlyChangeIsAboutSingleByteLettersOnly) {
  EXPECT_TRUE(IsCaseOnlyChange("C:\\d\\README.TXT", "C:\\d\\readme.txt"));
  EXPECT_TRUE(IsCaseOnlyChange("C:\\D\\a", "C:\\d\\a"));
  EXPECT_FALSE(IsCaseOnlyChange("C:\\d\\a", "C:\\d\\a"));
  EXPECT_FALSE(IsCaseOnlyChange("C:\\d\\a", "C:\\d\\b"));
  // ア (0x83 0x41) and ヂ (0x83 0x61) differ in a trail byte, which has no case.
  EXPECT_FALSE(IsCaseOnlyChange("C:\\d\\ア", "C:\\d\\ヂ"));
  EXPECT_FALSE(IsCaseOnlyChange("C:\\d\\Ａ", "C:\\d\\ａ"));
}

TEST(VerifiedRename, PlainRenameIsOneMove) {
  ScriptedVolume volume({"C:\\d\\old"});
  EXPECT_TRUE(VerifiedRename("C:\\d\\old", "C:\\d\\new", volume.Operations()));
  EXPECT_EQ(volume.moves, Moves{"C:\\d\\old>C:\\d\\new"});
  EXPECT_EQ(volume.Names(), Names{"C:\\d\\new"});
}

TEST(VerifiedRename, HonouredCaseOnlyChangeIsOneMove) {
  ScriptedVolume volume({"C:\\d\\ABC"});
  EXPECT_TRUE(VerifiedRename("C:\\d\\ABC", "C:\\d\\abc", volume.Operations()));
  EXPECT_EQ(volume.moves.size(), 1u);
  EXPECT_EQ(volume.Names(), Names{"C:\\d\\abc"});
}

TEST(VerifiedRename, IgnoredCaseOnlyChangeGoesThroughATemporaryName) {
  ScriptedVolume volume({"C:\\d\\ABC"});
  volume.ignoresCaseOnly = true;
  EXPECT_TRUE(VerifiedRename("C:\\d\\ABC", "C:\\d\\abc", volume.Operations()));
  EXPECT_EQ(volume.Names(), Names{"C:\\d\\abc"});
  ASSERT_EQ(volume.moves.size(), 3u);
  const std::string temporary = volume.moves[1].substr(volume.moves[1].find('>') + 1);
  EXPECT_EQ(FolderPartOf(temporary), "C:\\d\\");
  EXPECT_EQ(volume.moves[1], "C:\\d\\ABC>" + temporary);
  EXPECT_EQ(volume.moves[2], temporary + ">C:\\d\\abc");
}

TEST(VerifiedRename, TemporaryNameIsOneThatIsFree) {
  ScriptedVolume volume({"C:\\d\\ABC"});
  volume.ignoresCaseOnly = true;
  volume.takenTemporaries = 5;
  EXPECT_TRUE(VerifiedRename("C:\\d\\ABC", "C:\\d\\abc", volume.Operations()));
  // The direct rename, five refused temporary names (each then found in use), two steps.
  ASSERT_EQ(volume.asked.size(), 5u);
  ASSERT_EQ(volume.moves.size(), 8u);
  const std::string temporary = volume.moves[6].substr(volume.moves[6].find('>') + 1);
  EXPECT_EQ(std::set<std::string>(volume.asked.begin(), volume.asked.end()).size(), 5u);
  EXPECT_EQ(std::set<std::string>(volume.asked.begin(), volume.asked.end()).count(temporary), 0u);
  EXPECT_EQ(volume.moves[7], temporary + ">C:\\d\\abc");
  EXPECT_EQ(volume.Names(), Names{"C:\\d\\abc"});
}

TEST(VerifiedRename, FailedSecondStepPutsTheOldNameBack) {
  ScriptedVolume volume({"C:\\d\\ABC"});
  volume.ignoresCaseOnly = true;
  volume.failMoveNumber = 3;
  EXPECT_FALSE(VerifiedRename("C:\\d\\ABC", "C:\\d\\abc", volume.Operations()));
  ASSERT_EQ(volume.moves.size(), 4u);
  EXPECT_EQ(volume.moves[3].substr(volume.moves[3].find('>') + 1), "C:\\d\\ABC");
  EXPECT_EQ(volume.Names(), Names{"C:\\d\\ABC"});
}

TEST(VerifiedRename, FailedFirstMoveIsTheOutcome) {
  ScriptedVolume volume({"C:\\d\\ABC"});
  volume.failMoveNumber = 1;
  EXPECT_FALSE(VerifiedRename("C:\\d\\ABC", "C:\\d\\abc", volume.Operations()));
  EXPECT_EQ(volume.moves.size(), 1u);

  ScriptedVolume missing({"C:\\d\\other"});
  EXPECT_FALSE(VerifiedRename("C:\\d\\ABC", "C:\\d\\abc", missing.Operations()));
  EXPECT_EQ(missing.moves.size(), 1u);
}

TEST(VerifiedRename, AVolumeSeenToIgnoreCaseOnlyChangesGetsTheTwoStepsStraightAway) {
  ScriptedVolume volume({"C:\\d\\ABC", "C:\\d\\DEF", "D:\\d\\GHI"});
  volume.ignoresCaseOnly = true;
  EXPECT_TRUE(VerifiedRename("C:\\d\\ABC", "C:\\d\\abc", volume.Operations()));
  EXPECT_EQ(volume.moves.size(), 3u);
  volume.moves.clear();
  EXPECT_TRUE(VerifiedRename("C:\\d\\DEF", "C:\\d\\def", volume.Operations()));
  EXPECT_EQ(volume.moves.size(), 2u);  // no futile direct rename on C: any more
  volume.moves.clear();
  EXPECT_TRUE(VerifiedRename("D:\\d\\GHI", "D:\\d\\ghi", volume.Operations()));
  EXPECT_EQ(volume.moves.size(), 3u);  // another volume is tried directly first
  EXPECT_EQ(volume.Names(), (Names{"C:\\d\\abc", "C:\\d\\def", "D:\\d\\ghi"}));
}

}  // namespace
