// Every input kept in fuzz/ (the seed corpus and each input that once crashed or hung a fuzz
// target) replayed through the fuzz bodies: a fixed fault stays fixed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/fuzz_bodies.h"

namespace {

namespace fs = std::filesystem;

using Body = std::string (*)(const uint8_t*, size_t);

// Runs body on every file of fuzz/<kind>/<target>; returns how many there were.
int Replay(const std::string& kind, const std::string& target, Body body) {
  const fs::path folder = fs::path(KESTRUNE_FUZZ_DIR) / kind / target;
  // A target that never failed has no regressions folder (git keeps no empty folders).
  if (!fs::is_directory(folder)) return 0;
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

TEST(FuzzReplay, ProfileInputs) {
  EXPECT_GT(Replay("corpus", "profile", fuzz::ExerciseProfile), 0);
  Replay("regressions", "profile", fuzz::ExerciseProfile);
}

TEST(FuzzReplay, IntegerInputs) {
  EXPECT_GT(Replay("corpus", "integer", fuzz::ExerciseIntegers), 0);
  Replay("regressions", "integer", fuzz::ExerciseIntegers);
}

}  // namespace
