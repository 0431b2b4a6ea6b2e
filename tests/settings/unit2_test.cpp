// ReadSetting, WriteSetting and NewCString over the memory volume. Leaks of the copies and the
// read buffer show up in the host build's leak checker.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Unit2/Unit2.h"
#include "platform/memory/memory_volume.h"
#include "platform/profile.h"

namespace {

constexpr char kIni[] = "C:\\app\\Kestrune.ini";

class Unit2Test : public ::testing::Test {
 protected:
  void SetUp() override {
    Volume().Reset();
    Volume().MakeFolder("C:\\app");
  }
  memory::Volume& Volume() { return memory::Volume::Get(); }
  void PutIni(const std::string& bytes) { ASSERT_TRUE(Volume().WriteFile(kIni, bytes)); }
  std::string Ini() {
    std::string bytes;
    EXPECT_TRUE(Volume().ReadFile(kIni, bytes));
    return bytes;
  }
};

TEST(NewCString, CopiesEveryByteAndATerminator) {
  const std::string text("a\x95\x5C\0z", 5);
  std::unique_ptr<char[]> copy(NewCString(text));
  EXPECT_EQ(std::string(copy.get(), 6), std::string("a\x95\x5C\0z\0", 6));
  std::unique_ptr<char[]> empty(NewCString(""));
  EXPECT_EQ(empty[0], '\0');
}

TEST_F(Unit2Test, ReadSettingFindsOnlyNonEmptyValues) {
  PutIni("[Form]\r\nF1_X=12\r\nF1_W=\r\nF1_H\r\n");
  std::string value = "before";
  EXPECT_TRUE(ReadSetting("Form", "F1_X", kIni, 22, value));
  EXPECT_EQ(value, "12");
  // Not found: the value is left as it was.
  value = "before";
  EXPECT_FALSE(ReadSetting("Form", "F1_W", kIni, 22, value));
  EXPECT_FALSE(ReadSetting("Form", "F1_H", kIni, 22, value));
  EXPECT_FALSE(ReadSetting("Form", "F1_Y", kIni, 22, value));
  EXPECT_FALSE(ReadSetting("Comp", "F1_X", kIni, 22, value));
  EXPECT_FALSE(ReadSetting("Form", "F1_X", "C:\\app\\Other.ini", 22, value));
  EXPECT_FALSE(ReadSetting("Form", "F1_X", "C:\\nowhere\\Kestrune.ini", 22, value));
  EXPECT_EQ(value, "before");
}

TEST_F(Unit2Test, ReadSettingReadsAtMostOneByteLessThanTheBuffer) {
  PutIni("[Form]\r\nF1_X=123456789012345678901234567890\r\n");
  std::string value;
  ASSERT_TRUE(ReadSetting("Form", "F1_X", kIni, 22, value));
  EXPECT_EQ(value, "123456789012345678901");
  ASSERT_TRUE(ReadSetting("Form", "F1_X", kIni, 2, value));
  EXPECT_EQ(value, "1");
  EXPECT_FALSE(ReadSetting("Form", "F1_X", kIni, 1, value));
  EXPECT_FALSE(ReadSetting("Form", "F1_X", kIni, 0, value));
}

TEST_F(Unit2Test, ACutInFrontOfATwoByteCharacterLeavesNoStrayByte) {
  // The profile call leaves the byte before the terminator unwritten here; what ReadSetting
  // returns must be the whole characters that fit and nothing else.
  PutIni("[Set]\r\nFLD1=a\x95\x5C\x95\x5C\r\n");  // a表表
  std::string value;
  ASSERT_TRUE(ReadSetting("Set", "FLD1", kIni, 3, value));
  EXPECT_EQ(value, "a");
  ASSERT_TRUE(ReadSetting("Set", "FLD1", kIni, 5, value));
  EXPECT_EQ(value, "a\x95\x5C");
  PutIni("[Set]\r\nFLD1=\x95\x5C\r\n");
  value = "before";
  EXPECT_FALSE(ReadSetting("Set", "FLD1", kIni, 2, value)) << "no character fitted";
  EXPECT_EQ(value, "before");
}

TEST_F(Unit2Test, AFileThatCannotBeOpenedGivesTheDefaultWithItsQuotes) {
  // The profile call below ReadSetting, with a default, as the Win32 call behaves.
  char buffer[16];
  EXPECT_EQ(ProfileGetString("S", "k", "\"q\"  ", buffer, sizeof buffer, kIni), 1u);
  EXPECT_STREQ(buffer, "q");
  EXPECT_EQ(ProfileGetString("S", "k", "\"q\"  ", buffer, sizeof buffer, "C:\\no\\x.ini"), 3u);
  EXPECT_STREQ(buffer, "\"q\"");
  EXPECT_EQ(ProfileGetString("S", "k", "\"q\"", buffer, sizeof buffer, "C:\\app"), 3u);
  EXPECT_STREQ(buffer, "\"q\"");
  EXPECT_EQ(ProfileGetString("S", "k", "\"q\"", buffer, 3, "C:\\app"), 2u);
  EXPECT_STREQ(buffer, "\"q");
}

TEST_F(Unit2Test, WriteSettingCreatesTheFileAndTheSection) {
  EXPECT_TRUE(WriteSetting("Set", "FLD1", "D:\\data\\", kIni));
  EXPECT_TRUE(WriteSetting("Form", "F1_X", "-5", kIni));
  EXPECT_EQ(Ini(), "[Set]\r\nFLD1=D:\\data\\\r\n[Form]\r\nF1_X=-5\r\n");
  std::string value;
  ASSERT_TRUE(ReadSetting("Set", "FLD1", kIni, 512, value));
  EXPECT_EQ(value, "D:\\data\\");
}

TEST_F(Unit2Test, WriteSettingFailsWhereNothingCanBeWritten) {
  EXPECT_FALSE(WriteSetting("Set", "FLD1", "x", "C:\\nowhere\\Kestrune.ini"));
  PutIni("[Set]\r\nFLD1=old\r\n");
  Volume().SetWriteProtected("C:\\app");
  EXPECT_FALSE(WriteSetting("Set", "FLD1", "new", kIni));
  EXPECT_EQ(Ini(), "[Set]\r\nFLD1=old\r\n");
  // Writing what the file already holds needs no write, so it succeeds.
  EXPECT_TRUE(WriteSetting("Set", "FLD1", "old", kIni));
}

}  // namespace
