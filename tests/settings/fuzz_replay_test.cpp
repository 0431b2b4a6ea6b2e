// Every input kept in fuzz/ (the seed corpus and each input that once crashed or hung a fuzz
// target) replayed through the fuzz bodies: a fixed fault stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "fuzz/fuzz_bodies.h"

namespace {

namespace fs = std::filesystem;

using Body = std::string (*)(const uint8_t*, size_t);

// The journal target's inputs are replayed by journal_tests, which links the memory volume that
// its body runs on; here the folder is only known.
const std::map<std::string, Body> kBodies = {
    {"profile", fuzz::ExerciseProfile}, {"integer", fuzz::ExerciseIntegers}, {"journal", nullptr}};

// Runs body on every file of folder; returns how many there were. A missing folder throws.
int Replay(const fs::path& folder, Body body) {
  int count = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(body(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "")
        << entry.path();
    ++count;
  }
  return count;
}

// Replays each folder of fuzz/<kind> through the target it names; returns the inputs per target.
// A folder named after no target fails: no kept input is ever skipped.
std::map<std::string, int> ReplayKind(const char* kind) {
  std::map<std::string, int> replayed;
  for (const fs::directory_entry& folder :
       fs::directory_iterator(fs::path(KESTRUNE_FUZZ_DIR) / kind)) {
    const std::string target = folder.path().filename().string();
    const auto body = kBodies.find(target);
    if (body == kBodies.end()) {
      ADD_FAILURE() << "no fuzz target for " << folder.path();
      continue;
    }
    if (body->second != nullptr) replayed[target] = Replay(folder.path(), body->second);
  }
  return replayed;
}

// Every target has seeds; it gets a regressions folder with its first failing input (git keeps
// no empty folders).
TEST(FuzzReplay, EveryKeptInputPassesItsTarget) {
  std::map<std::string, int> seeds = ReplayKind("corpus");
  for (const auto& [target, body] : kBodies) {
    if (body != nullptr) {
      EXPECT_GT(seeds[target], 0) << target;
    }
  }
  EXPECT_FALSE(ReplayKind("regressions").empty());
}

}  // namespace
