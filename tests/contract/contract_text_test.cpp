// Contract of the code-page text services: case mapping and path splitting that respect
// two-byte characters, and the integer <-> text conversions. The same on every platform.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/text.h"
#include "tests/exact_text.h"
#include "tests/text_forms.h"

namespace {

// The literals below are compiled to code page 932; these pin the bytes the tests rely on.
TEST(TextContract, SourceLiteralsAreCodePage932) {
  EXPECT_EQ(std::string("ア"), "\x83\x41");
  EXPECT_EQ(std::string("ソ"), "\x83\x5c");
  EXPECT_EQ(std::string("表"), "\x95\x5c");
  EXPECT_EQ(std::string("Ａ"), "\x82\x60");
  EXPECT_EQ(std::string("Ｂ"), "\x82\x61");
}

TEST(TextContract, LeadBytesAreThoseOfCodePage932) {
  for (int b = 0; b < 256; ++b) {
    const bool lead = (b >= 0x81 && b <= 0x9f) || (b >= 0xe0 && b <= 0xfc);
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), lead) << "byte " << b;
  }
}

// Names are stored in Unicode and shown in the code page: every code-page text has an exact form
// that shows as itself, and a character the code page lacks shows as '?'.
TEST(TextContract, ExactFormsShowAsTheCodePageTextTheyCameFrom) {
  for (const std::string shown :
       {"", "README.TXT", "資料.txt", "ソ表ア", "ｱｲｳｴｵ", "～－∥￠￡￢", "Ａ\\ｂ\\表\\"}) {
    std::string exact;
    ASSERT_TRUE(ExactOf(shown, exact)) << shown;
    EXPECT_EQ(ShownOf(exact), shown);
  }
  std::string exact;
  EXPECT_TRUE(ExactOf("ソ", exact));
  EXPECT_EQ(exact, "\xe3\x82\xbd");
  EXPECT_FALSE(ExactOf("\x83", exact)) << "a lone lead byte";
  EXPECT_EQ(ShownOf("caf\xc3\xa9.TXT"), "caf?.TXT");
  EXPECT_EQ(ShownOf("\xc3\xa9\xea\xb0\x80"), "??") << "e acute and a Hangul syllable";
  // A character outside the basic plane is two units on Windows: one '?' or two.
  const std::string emoji = ShownOf("a\xf0\x9f\x98\x80z");
  EXPECT_TRUE(emoji == "a?z" || emoji == "a??z") << emoji;
  for (const std::string bad : {"\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xff"}) {
    EXPECT_EQ(ShownOf("a" + bad), "") << "no UTF-8";
  }
  // The code page's 0x8160 answers to U+FF5E on Windows and to U+301C under Wine, 0x817C to
  // U+FF0D and U+2212: of each pair, exactly the one the code page's character converts to
  // shows as it, and the other as '?'.
  const struct {
    const char* shown;
    const char* forms[2];
  } pairs[] = {{"～", {"\xef\xbd\x9e", "\xe3\x80\x9c"}}, {"－", {"\xef\xbc\x8d", "\xe2\x88\x92"}}};
  for (const auto& pair : pairs) {
    ASSERT_TRUE(ExactOf(pair.shown, exact));
    for (const char* form : pair.forms) {
      EXPECT_EQ(ShownOf(form), exact == form ? pair.shown : "?") << pair.shown;
    }
  }
}

TEST(TextContract, CaseMappingChangesSingleByteLettersOnly) {
  EXPECT_EQ(LowerCaseText("README.TXT"), "readme.txt");
  EXPECT_EQ(UpperCaseText("readme.txt"), "README.TXT");
  EXPECT_EQ(LowerCaseText("Mixed-09_@[`{~"), "mixed-09_@[`{~");
  EXPECT_EQ(UpperCaseText("mixed-09_@[`{~"), "MIXED-09_@[`{~");
  EXPECT_EQ(LowerCaseText(""), "");
  EXPECT_EQ(UpperCaseText(""), "");
  // The appending form maps only what it appends, the two-byte characters of it as a whole.
  std::string out = "ab";
  AppendUpperCaseText("cアb\x83", 5, out);
  EXPECT_EQ(out, "abCアB\x83");
}

TEST(TextContract, CaseMappingLeavesTrailBytesAlone) {
  // ア ends in 0x41 ('A'), Ｂ in 0x61 ('a'): neither may change.
  EXPECT_EQ(LowerCaseText("アX.TXT"), "アx.txt");
  EXPECT_EQ(UpperCaseText("Ｂb"), "ＢB");
  // A trail byte 0x5C must not disturb the letter after it.
  EXPECT_EQ(LowerCaseText("ソA表B"), "ソa表b");
  // Full-width letters are two-byte characters and keep their case.
  EXPECT_EQ(LowerCaseText("ＡＢＣ.TXT"), "ＡＢＣ.txt");
  EXPECT_EQ(UpperCaseText("ａｂｃ.txt"), "ａｂｃ.TXT");
  // Half-width katakana are single bytes without case.
  EXPECT_EQ(LowerCaseText("\xb1\xb2Z"), "\xb1\xb2z");
  // A lead byte with nothing after it is just a byte.
  EXPECT_EQ(LowerCaseText("AB\x83"), "ab\x83");
  // Two lead bytes in a row: the second is the first's trail byte, the letter after is mapped.
  EXPECT_EQ(LowerCaseText("\x83\x83Q"), "\x83\x83q");
}

TEST(TextContract, NamesAnswerToEachOtherAsAFileSystemIgnoringCaseTakesThem) {
  // Pairs the same, then pairs that merely look related: two-byte characters whose trail bytes
  // are a letter's upper and lower case, small and large kana, different letters.
  const std::vector<std::pair<std::string, std::string>> same = {{"README.TXT", "readme.txt"},
                                                                 {"ＡＢＣ.TXT", "ａｂｃ.txt"},
                                                                 {"Ｚ", "ｚ"},
                                                                 {"ΑΒΓ", "αβγ"},
                                                                 {"Ωμ", "ωΜ"},
                                                                 {"АЁЯ", "аёя"},
                                                                 {"О", "о"},
                                                                 {"Ⅰ", "\xFA\x40"},
                                                                 {"Ⅹ", "\xFA\x49"},
                                                                 {"アX", "アx"},
                                                                 {"", ""}};
  const std::vector<std::pair<std::string, std::string>> different = {
      {"ア", "ヂ"}, {"\x83\x5A", "\x83\x7A"},
      {"ぁ", "あ"}, {"\xB1", "\xA7"},
      {"Ａ", "Ｂ"}, {"Α", "Β"},
      {"Я", "Ю"},   {"Ⅰ", "Ⅱ"},
      {"A", "Ａ"},  {"readme", "readme.txt"}};
  for (const auto& [a, b] : same) {
    EXPECT_EQ(CaseFoldedName(Exact(a)), CaseFoldedName(Exact(b))) << a << " / " << b;
  }
  for (const auto& [a, b] : different) {
    EXPECT_NE(CaseFoldedName(Exact(a)), CaseFoldedName(Exact(b))) << a << " / " << b;
  }
  // Letters the code page lacks have a case too; what only looks alike answers to nothing. (Exact
  // literals stay out of the macros, whose text is code-page text.)
  const std::vector<std::pair<std::string, std::string>> exactSame = {{u8"CAFÉ.TXT", u8"café.txt"},
                                                                      {u8"ŁÓDŹ", u8"łódź"}};
  const std::vector<std::pair<std::string, std::string>> exactDifferent = {
      {u8"〜", u8"～"}, {u8"CAFÉ", u8"CAFE"}, {u8"−", u8"－"}};
  for (const auto& [a, b] : exactSame) EXPECT_EQ(CaseFoldedName(a), CaseFoldedName(b));
  for (const auto& [a, b] : exactDifferent) EXPECT_NE(CaseFoldedName(a), CaseFoldedName(b));
}

TEST(TextContract, FolderPartEndsAtTheLastRealDelimiter) {
  EXPECT_EQ(FolderPartOf("C:\\dir\\file.txt"), "C:\\dir\\");
  EXPECT_EQ(FolderPartOf("C:\\dir\\"), "C:\\dir\\");
  EXPECT_EQ(FolderPartOf("C:file.txt"), "C:");
  EXPECT_EQ(FolderPartOf("file.txt"), "");
  EXPECT_EQ(FolderPartOf(""), "");
  EXPECT_EQ(FolderPartOf("a:b\\c:d"), "a:b\\c:");
}

TEST(TextContract, FolderPartNeverSplitsATwoByteCharacter) {
  EXPECT_EQ(FolderPartOf("C:\\表"), "C:\\");
  EXPECT_EQ(FolderPartOf("C:\\ソフト\\十能.txt"), "C:\\ソフト\\");
  EXPECT_EQ(FolderPartOf("表ソ"), "");
  EXPECT_EQ(FolderPartOf("C:\\表\\x"), "C:\\表\\");
  // A lead byte at the very end stands alone, so the '\' before it still counts.
  EXPECT_EQ(FolderPartOf("C:\\dir\\\x83"), "C:\\dir\\");
  EXPECT_EQ(FolderPartOf("C:\\dir\x83\\"), "C:\\");
}

TEST(TextContract, ExtensionIsFromTheLastDotOfTheName) {
  EXPECT_EQ(ExtensionOf("archive.tar.gz"), ".gz");
  EXPECT_EQ(ExtensionOf("C:\\dir\\readme"), "");
  EXPECT_EQ(ExtensionOf(".profile"), ".profile");
  EXPECT_EQ(ExtensionOf("C:\\dir\\.profile"), ".profile");
  EXPECT_EQ(ExtensionOf("name."), ".");
  EXPECT_EQ(ExtensionOf("C:\\dir.d\\name"), "");
  EXPECT_EQ(ExtensionOf("C:\\dir.d\\name.txt"), ".txt");
  EXPECT_EQ(ExtensionOf("x.txt:stream"), "");
  EXPECT_EQ(ExtensionOf(""), "");
}

TEST(TextContract, ExtensionNeverSplitsATwoByteCharacter) {
  // The trail byte 0x5C of 表 is no folder delimiter: the dot before it still counts.
  EXPECT_EQ(ExtensionOf("C:\\dir\\a.表"), ".表");
  EXPECT_EQ(ExtensionOf("C:\\dir.d\\ソ"), "");
  EXPECT_EQ(ExtensionOf("十能.テキスト"), ".テキスト");
}

struct Parsed {
  const char* text;
  int64_t value;
};

TEST(TextContract, ParseIntegerAcceptsEveryForm) {
  const Parsed cases[] = {
      {"0", 0},
      {"12", 12},
      {"+12", 12},
      {"-12", -12},
      {"-0", 0},
      {"   12", 12},
      {" -7", -7},
      {"007", 7},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"$1F", 31},
      {"x1f", 31},
      {"X1F", 31},
      {"0x10", 16},
      {"0XaB", 171},
      {"  $10", 16},
      {"$7FFFFFFF", INT32_MAX},
      {"$80000000", INT32_MIN},
      {"$FFFFFFFF", -1},
      {"$00000000FF", 255},
  };
  for (const Parsed& c : cases) {
    int32_t value = 99;
    EXPECT_TRUE(ParseInteger(c.text, value)) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(TextContract, ParseIntegerRefusesEverythingElse) {
  const char* const refused[] = {
      "",
      "   ",
      "-",
      "+",
      "$",
      "x",
      "0x",
      "+$1",
      "-$1",
      "-0x1",
      "$G",
      "12 ",
      "\t12",
      "1 2",
      "12a",
      "1.0",
      "1e3",
      "++1",
      "2147483648",
      "-2147483649",
      "$100000000",
      "0x1FFFFFFFF",
      "99999999999999999999",
      "１２",
  };
  for (const char* text : refused) {
    int32_t value = 0;
    EXPECT_FALSE(ParseInteger(text, value)) << '"' << text << '"';
  }
}

TEST(TextContract, ParseInteger64TakesTheSameFormsWiderOnly) {
  const Parsed cases[] = {
      {"2147483648", 2147483648LL},
      {"-9223372036854775808", INT64_MIN},
      {"9223372036854775807", INT64_MAX},
      {" $FFFFFFFF", 0xFFFFFFFFLL},
      {"0xFFFFFFFFFFFFFFFF", -1},
      {"$8000000000000000", INT64_MIN},
      {"-0", 0},
  };
  for (const Parsed& c : cases) {
    int64_t value = 99;
    EXPECT_TRUE(ParseInteger64(c.text, value)) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
  const char* const refused[] = {
      "",   "9223372036854775808", "-9223372036854775809", "$10000000000000000", "0x", "+$1", "1 ",
      "\t1"};
  for (const char* text : refused) {
    int64_t value = 0;
    EXPECT_FALSE(ParseInteger64(text, value)) << '"' << text << '"';
  }
}

TEST(TextContract, FormatIntegerIsPlainSignedDecimal) {
  EXPECT_EQ(FormatInteger(0), "0");
  EXPECT_EQ(FormatInteger(1234567), "1234567");
  EXPECT_EQ(FormatInteger(-42), "-42");
  EXPECT_EQ(FormatInteger(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(FormatInteger(5368709123LL), "5368709123");
}

TEST(TextContract, RightJustifiedNumberPadsButNeverCuts) {
  EXPECT_EQ(RightJustifiedNumber(7, 3), "  7");
  EXPECT_EQ(RightJustifiedNumber(7, 10), "         7");
  EXPECT_EQ(RightJustifiedNumber(12345, 3), "12345");
  EXPECT_EQ(RightJustifiedNumber(-5, 4), "  -5");
  EXPECT_EQ(RightJustifiedNumber(-5, 1), "-5");
  EXPECT_EQ(RightJustifiedNumber(7, 0), "7");
  EXPECT_EQ(RightJustifiedNumber(7, -3), "7");
  const std::string capped = RightJustifiedNumber(7, 1000);
  EXPECT_EQ(capped.size(), 255u);
  EXPECT_EQ(capped.back(), '7');
  EXPECT_EQ(capped.find_first_not_of(' '), 254u);
}

}  // namespace
