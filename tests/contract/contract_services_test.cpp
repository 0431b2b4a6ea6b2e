// Contract of the small services: the executable's path, the locale's separators and the
// idle answers of the Esc poll and the message pump.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/input.h"
#include "platform/locale.h"
#include "platform/text.h"
#include "tests/contract/fixture.h"
#include "tests/text_forms.h"

namespace {

TEST(ServicesContract, ExecutablePathIsAFullPathToAnExe) {
  const std::string path = ExecutablePath();
  ASSERT_GT(path.size(), 3u);
  EXPECT_EQ(path.substr(1, 2), ":\\") << path;
  EXPECT_FALSE(FolderPartOf(path).empty());
  EXPECT_EQ(UpperCaseText(ExtensionOf(path)), ".EXE");
}

// The test rig runs with the Japanese locale, whose separators these are.
TEST(ServicesContract, SeparatorsOfTheJapaneseLocale) {
  EXPECT_EQ(DateSeparator(), "/");
  EXPECT_EQ(TimeSeparator(), ":");
}

TEST(ServicesContract, EscIsUpWhenNobodyPressesIt) {
  auto fixture = MakeContractFixture();
  fixture->Root();
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(EscDown());
  PumpMessages();
}

}  // namespace
