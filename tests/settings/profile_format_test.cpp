// The portable profile reader and writer, pinned to what the Win32 profile calls do with the same
// bytes (measured under Wine with code page 932): lines and names, quotes, duplicates, letter
// case, broken two-byte text, cut values, and the exact layout of a rewritten file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/profile_format.h"

namespace {

using profile::WriteOutcome;

// A read through a buffer of size bytes; missing keys give deflt.
std::string Get(const std::string& file, const char* section, const char* key, uint32_t size = 64,
                const char* deflt = "") {
  std::vector<char> buffer(size + 1, 'Z');
  const uint32_t copied = profile::GetString(file, section, key, deflt, buffer.data(), size);
  EXPECT_EQ(copied, std::string(buffer.data()).size()) << "a plain read counts its bytes";
  return std::string(buffer.data(), copied);
}

// The whole buffer after a read into a buffer prefilled with 'Z', and what the read returned.
struct Raw {
  uint32_t copied;
  std::string buffer;
};
Raw GetRaw(const std::string& file, const char* section, const char* key, uint32_t size) {
  std::string buffer(size, 'Z');
  const uint32_t copied = profile::GetString(file, section, key, "", &buffer[0], size);
  return {copied, buffer};
}

// The file after a write that changes it.
std::string Put(const std::string& file, const char* section, const char* key, const char* value) {
  std::string after;
  EXPECT_EQ(profile::WriteString(file, section, key, value, after), WriteOutcome::Changed);
  return after;
}

TEST(ProfileRead, BlanksAroundNamesAndValuesAreTrimmed) {
  EXPECT_EQ(Get("[Form]\r\n  F1_X   =   12  \r\n", "Form", "F1_X"), "12");
  EXPECT_EQ(Get("[Form]\r\n\tF1_X\t=\t12\t\r\n", "Form", "F1_X"), "12");
  EXPECT_EQ(Get("[S]\r\nk=\x0Bv\x0C\x1A\r\n", "S", "k"), "v");
  EXPECT_EQ(Get("  [ Form ]  \r\nF1_X=12\r\n", "Form", "F1_X"), "12");
  // The names asked for are trimmed too; blanks inside a name count.
  EXPECT_EQ(Get("[Form]\r\nF1_X=12\r\n", " Form ", " F1_X "), "12");
  EXPECT_EQ(Get("[Form]\r\nF1 X=12\r\n", "Form", "F1 X"), "12");
  EXPECT_EQ(Get("[Form]\r\nF1 X=12\r\n", "Form", "F1X"), "");
  // An ideographic space is a character, not a blank.
  EXPECT_EQ(Get("[S]\r\nk=\x81\x40v\x81\x40\r\n", "S", "k"), "\x81\x40v\x81\x40");
  // Only the first '=' splits.
  EXPECT_EQ(Get("[S]\r\nk==v\r\n", "S", "k"), "=v");
}

TEST(ProfileRead, EveryKindOfLineEndWorks) {
  EXPECT_EQ(Get("[S]\nk=lf\n", "S", "k"), "lf");
  EXPECT_EQ(Get("[S]\rk=cr\r", "S", "k"), "cr");
  EXPECT_EQ(Get("[S]\r\n\r\n\n\nk=blank lines\r\n", "S", "k"), "blank lines");
  EXPECT_EQ(Get("[S]\r\nk=last", "S", "k"), "last");
}

TEST(ProfileRead, AbsentEmptyAndValuelessKeysGiveTheDefault) {
  EXPECT_EQ(Get("", "S", "k"), "");
  EXPECT_EQ(Get("[S]\r\nk=\r\n", "S", "k"), "");
  EXPECT_EQ(Get("[S]\r\nk\r\n", "S", "k"), "");
  EXPECT_EQ(Get("[S]\r\nk=1\r\n", "T", "k"), "");
  EXPECT_EQ(Get("[S]\r\n", "S", "k", 64, "dflt"), "dflt");
  // The default loses its trailing spaces, but never its first character.
  EXPECT_EQ(Get("[S]\r\n", "S", "k", 64, "dflt  "), "dflt");
  EXPECT_EQ(Get("[S]\r\n", "S", "k", 64, "   "), " ");
  EXPECT_EQ(Get("[S]\r\nk=\r\n", "S", "k", 64, "d"), "") << "an empty value is still a value";
}

TEST(ProfileRead, OnePairOfSurroundingQuotesComesOff) {
  EXPECT_EQ(Get("[S]\r\nk=\"abc\"\r\n", "S", "k"), "abc");
  EXPECT_EQ(Get("[S]\r\nk='abc'\r\n", "S", "k"), "abc");
  EXPECT_EQ(Get("[S]\r\nk= \" a b \" \r\n", "S", "k"), " a b ");
  EXPECT_EQ(Get("[S]\r\nk=\"\"abc\"\"\r\n", "S", "k"), "\"abc\"");
  EXPECT_EQ(Get("[S]\r\nk=\"\"\r\n", "S", "k"), "");
  // Not a pair: kept as they are.
  EXPECT_EQ(Get("[S]\r\nk=\"\r\n", "S", "k"), "\"");
  EXPECT_EQ(Get("[S]\r\nk=\"abc'\r\n", "S", "k"), "\"abc'");
  EXPECT_EQ(Get("[S]\r\nk=\"abc\r\n", "S", "k"), "\"abc");
}

TEST(ProfileRead, CommentLinesAreOrdinaryKeys) {
  EXPECT_EQ(Get("[S]\r\n;k=1\r\nk=2\r\n", "S", "k"), "2");
  EXPECT_EQ(Get("[S]\r\n;k=1\r\n", "S", ";k"), "1");
  EXPECT_EQ(Get("[S]\r\n#k=1\r\n", "S", "#k"), "1");
  EXPECT_EQ(Get("[S]\r\nk=1 ; note\r\n", "S", "k"), "1 ; note");
}

TEST(ProfileRead, TheFirstSectionAndTheFirstKeyOfAName) {
  EXPECT_EQ(Get("[S]\r\nk=first\r\nk=second\r\n", "S", "k"), "first");
  EXPECT_EQ(Get("[S]\r\nk=1\r\n[S]\r\nk=2\r\n", "S", "k"), "1");
  // A key only in a later section of the same name is not found.
  EXPECT_EQ(Get("[S]\r\na=1\r\n[T]\r\n[S]\r\nk=2\r\n", "S", "k"), "");
}

TEST(ProfileRead, LettersMatchInEitherCaseOnlyInAscii) {
  EXPECT_EQ(Get("[form]\r\nf1_x=7\r\n", "FORM", "F1_X"), "7");
  // Full-width, Greek and Cyrillic letters and roman numerals have case in Unicode, but the
  // profile calls compare them exactly.
  EXPECT_EQ(Get("[\x82\x60\x83\x9F\x84\x40]\r\nk=1\r\n", "\x82\x81\x83\xBF\x84\x70", "k"), "");
  EXPECT_EQ(Get("[\x87\x54]\r\nk=1\r\n", "\xFA\x40", "k"), "");
  // A trail byte in the range of ASCII letters belongs to its character: katakana A (83 41) is
  // not katakana small YA (83 61).
  EXPECT_EQ(Get("[S]\r\n\x83\x41=1\r\n", "S", "\x83\x61"), "");
  EXPECT_EQ(Get("[S]\r\nK\x83\x41=1\r\n", "S", "k\x83\x41"), "1");
}

TEST(ProfileRead, HeaderLines) {
  // The name runs to the last ']'; the rest of the line is ignored.
  EXPECT_EQ(Get("[S]junk\r\nk=1\r\n", "S", "k"), "1");
  EXPECT_EQ(Get("[a]b]\r\nk=1\r\n", "a]b", "k"), "1");
  EXPECT_EQ(Get("[\"S\"]\r\nk=1\r\n", "\"S\"", "k"), "1");
  // Without ']' the line is a key of the section before it.
  EXPECT_EQ(Get("[S\r\nk=1\r\n", "S", "k"), "");
  EXPECT_EQ(Get("[S\r\n[T]\r\nk=1\r\n", "T", "k"), "1");
  EXPECT_EQ(Get("k=0\r\n[S=1\r\n", "", "[S"), "1");
  // A ']' that is the trail byte of a two-byte character (83 5D) does not close a header.
  EXPECT_EQ(Get("[\x83\x5D\r\nk=1\r\n", "\x83\x5D", "k"), "");
  EXPECT_EQ(Get("[\x83\x5D]\r\nk=1\r\n", "\x83\x5D", "k"), "1");
  // Lines before the first header belong to the unnamed section, which "[]" cannot reopen.
  EXPECT_EQ(Get("k=1\r\n[S]\r\n", "", "k"), "1");
  EXPECT_EQ(Get("[]\r\nk=1\r\n", "", "k"), "");
}

TEST(ProfileRead, AZeroByteEndsANameOrAValue) {
  const std::string value("[S]\r\nk=ab\0cd\r\nm=2\r\n", 19);
  EXPECT_EQ(Get(value, "S", "k"), "ab");
  EXPECT_EQ(Get(value, "S", "m"), "2");
  EXPECT_EQ(Get(std::string("[S]\r\nk\0x=1\r\n", 11), "S", "k"), "1");
  EXPECT_EQ(Get(std::string("[S\0x]\r\nk=1\r\n", 12), "S", "k"), "1");
  // Cut after trimming: the blank before the zero byte stays part of the name.
  EXPECT_EQ(Get(std::string("[S]\r\nk \0x = 1\r\n", 15), "S", "k"), "");
}

TEST(ProfileCodePage, BrokenTwoByteTextReadsAsAMiddleDot) {
  // A lead byte takes the next byte whatever it is: a CR, so the line ends at the LF ...
  EXPECT_EQ(Get("[S]\r\nk=a\x95\r\nm=2\r\n", "S", "k"), "a\x81\x45");
  EXPECT_EQ(Get("[S]\r\nk=a\x95\r\nm=2\r\n", "S", "m"), "2");
  // ... or the LF of a LF-only file, which joins two lines.
  EXPECT_EQ(Get("[S]\nk=a\x95\nm=2\n", "S", "k"), "a\x81\x45m=2");
  EXPECT_EQ(Get("[S]\nk=a\x95\nm=2\n", "S", "m"), "");
  // Also a '=' or a space.
  EXPECT_EQ(Get("[S]\r\nk\x95=1\r\n", "S", "k"), "");
  EXPECT_EQ(Get("[S]\r\nk=a\x81 z\r\n", "S", "k"), "a\x81\x45z");
  // At the end of the file, or before a zero byte, the lead byte alone becomes the dot.
  EXPECT_EQ(Get("[S]\r\nk=a\x95", "S", "k"), "a\x81\x45");
  EXPECT_EQ(Get(std::string("[S]\r\nk=a\x95\0b\r\n", 13), "S", "k"), "a\x81\x45");
  // Undefined codes.
  EXPECT_EQ(Get("[S]\r\nk=\x85\x40z\r\n", "S", "k"), "\x81\x45z");
  EXPECT_EQ(Get("[S]\r\nk=\xFC\x76\r\n", "S", "k"), "\x81\x45");
}

TEST(ProfileCodePage, ValidTextComesBackUnchangedExceptDuplicateCodes) {
  // 表 (95 5C) ends in a backslash byte; ｱｲｳ are single bytes; F0 40 is a user-defined character.
  EXPECT_EQ(Get("[S]\r\nk=C:\\\x95\x5C\\\r\n", "S", "k"), "C:\\\x95\x5C\\");
  EXPECT_EQ(Get("[S]\r\nk=\xB1\xB2\xB3\r\n", "S", "k"), "\xB1\xB2\xB3");
  EXPECT_EQ(Get("[S]\r\nk=\xF0\x40\r\n", "S", "k"), "\xF0\x40");
  EXPECT_EQ(Get("[S]\r\nk=\xFF\xFE\x80\xA0\xFD\r\n", "S", "k"), "\xFF\xFE\x80\xA0\xFD");
  // NEC-selected IBM kanji come back as IBM kanji; row-87 symbols as their row-81 twins.
  EXPECT_EQ(Get("[S]\r\nk=\xED\x40\x87\x90\r\n", "S", "k"), "\xFA\x5C\x81\xE0");
}

TEST(ProfileCodePage, CanonicalFormOfTheDuplicateCodes) {
  const struct {
    const char* from;
    const char* to;
  } cases[] = {
      {"\xED\x40", "\xFA\x5C"}, {"\xED\x7E", "\xFA\x9B"}, {"\xED\x80", "\xFA\x9C"},
      {"\xED\xE0", "\xFA\xFC"}, {"\xED\xE1", "\xFB\x40"}, {"\xEE\x40", "\xFB\x5C"},
      {"\xEE\xEC", "\xFC\x4B"}, {"\xEE\xEF", "\xFA\x40"}, {"\xEE\xF8", "\xFA\x49"},
      {"\xEE\xF9", "\x81\xCA"}, {"\xEE\xFC", "\xFA\x57"}, {"\xFA\x4A", "\x87\x54"},
      {"\xFA\x53", "\x87\x5D"}, {"\xFA\x54", "\x81\xCA"}, {"\xFA\x58", "\x87\x8A"},
      {"\xFA\x5B", "\x81\xE6"}, {"\x87\x9C", "\x81\xBE"}, {"\xEE\xED", "\x81\x45"},
      {"\x81\xAD", "\x81\x45"}, {"\xFC\x4C", "\x81\x45"}, {"\x82\x40", "\x81\x45"},
  };
  for (const auto& c : cases) EXPECT_EQ(profile::Canonical(c.from), c.to) << c.from;
}

TEST(ProfileCodePage, CanonicalTextIsStableForEveryPair) {
  for (int lead = 0; lead < 256; ++lead) {
    for (int trail = 0; trail < 256; ++trail) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string once = profile::Canonical(pair);
      ASSERT_EQ(profile::Canonical(once), once) << lead << " " << trail;
    }
  }
}

TEST(ProfileTruncation, AValueIsCutToOneByteLessThanTheBuffer) {
  const std::string file = "[S]\r\nk=" + std::string(30, '7') + "\r\n";
  EXPECT_EQ(Get(file, "S", "k", 22), std::string(21, '7'));
  EXPECT_EQ(Get(file, "S", "k", 2), "7");
  EXPECT_EQ(Get(file, "S", "k", 1), "");
  // A buffer of no bytes is not touched at all.
  Raw none = GetRaw(file, "S", "k", 0);
  EXPECT_EQ(none.copied, 0u);
}

TEST(ProfileTruncation, ACutQuotedValueLosesOneMoreCharacterNearTheClosingQuote) {
  const std::string file = "[S]\r\nk=\"abcdef\"\r\n";
  EXPECT_EQ(Get(file, "S", "k", 5), "abcd");
  EXPECT_EQ(Get(file, "S", "k", 6), "abcde");
  EXPECT_EQ(Get(file, "S", "k", 7), "abcde");
  EXPECT_EQ(Get(file, "S", "k", 8), "abcdef");
  EXPECT_EQ(Get("[S]\r\nk=\"\"\r\n", "S", "k", 1), "");
}

TEST(ProfileTruncation, ACutNeverSplitsATwoByteCharacter) {
  const std::string file = "[S]\r\nk=a\x95\x5C\x95\x5C\r\n";  // a表表
  // The character that does not fit is left out, the count still says size - 1, and the byte in
  // front of the terminator is left as it was.
  Raw three = GetRaw(file, "S", "k", 3);
  EXPECT_EQ(three.copied, 2u);
  EXPECT_EQ(three.buffer, std::string("aZ\0", 3));
  Raw four = GetRaw(file, "S", "k", 4);
  EXPECT_EQ(four.copied, 3u);
  EXPECT_EQ(four.buffer, std::string("a\x95\x5C\0", 4));
  Raw five = GetRaw(file, "S", "k", 5);
  EXPECT_EQ(five.copied, 4u);
  EXPECT_EQ(five.buffer, std::string("a\x95\x5CZ\0", 5));
  Raw two = GetRaw("[S]\r\nk=\x95\x5C\r\n", "S", "k", 2);
  EXPECT_EQ(two.copied, 1u);
  EXPECT_EQ(two.buffer, std::string("Z\0", 2));
  // Single-byte katakana cut like ASCII.
  EXPECT_EQ(Get("[S]\r\nk=\xB1\xB2\xB3\r\n", "S", "k", 3), "\xB1\xB2");
}

TEST(ProfileWrite, ANewFileGrowsSectionBySection) {
  std::string file = Put("", "Form", "F1_X", "50");
  EXPECT_EQ(file, "[Form]\r\nF1_X=50\r\n");
  file = Put(file, "Form", "F1_Y", "60");
  file = Put(file, "Comp", "F1_P1", "200");
  EXPECT_EQ(file, "[Form]\r\nF1_X=50\r\nF1_Y=60\r\n[Comp]\r\nF1_P1=200\r\n");
  // A new key goes to the end of its own section; an existing one is replaced where it stands.
  file = Put(file, "Form", "F1_W", "500");
  file = Put(file, "Form", "F1_X", "51");
  EXPECT_EQ(file, "[Form]\r\nF1_X=51\r\nF1_Y=60\r\nF1_W=500\r\n[Comp]\r\nF1_P1=200\r\n");
}

TEST(ProfileWrite, ARewriteNormalisesTheWholeFile) {
  // Comments stay as keys; blank lines go; every line ends in CRLF; blanks around '=' go.
  EXPECT_EQ(Put("; comment\r\n\r\n[Form]\n  F1_X = 50 \n\n\n[Comp]\r\nF1_P1=1\r\nnoeq\r\n", "Form",
                "F1_X", "51"),
            "; comment\r\n[Form]\r\nF1_X=51\r\n[Comp]\r\nF1_P1=1\r\nnoeq\r\n");
  EXPECT_EQ(Put("  [ Form ]  \r\n  F1_X = 1\r\n", "Form", "F1_Y", "2"),
            "[Form]\r\nF1_X=1\r\nF1_Y=2\r\n");
  EXPECT_EQ(Put("[Form]\r\nF1_X=1", "Comp", "F1_P1", "2"),
            "[Form]\r\nF1_X=1\r\n[Comp]\r\nF1_P1=2\r\n");
  EXPECT_EQ(Put("[S]junk\r\n[a]b]\r\nk=1\r\n", "S", "c", "3"), "[S]\r\nc=3\r\n[a]b]\r\nk=1\r\n");
  EXPECT_EQ(Put("[S]\r\nk=1\r\n\x1A", "S", "m", "2"), "[S]\r\nk=1\r\nm=2\r\n");
  // Of a run of lines with an empty name, only the first survives.
  EXPECT_EQ(Put("[S]\r\nk=1\r\n=2\r\n=3\r\n[T]\r\n=4\r\n", "T", "m", "3"),
            "[S]\r\nk=1\r\n=2\r\n[T]\r\n=4\r\nm=3\r\n");
  // "[]" loses its header, so its keys join the section above.
  EXPECT_EQ(Put("[S]\r\na=1\r\n[]\r\nb=2\r\n", "S", "c", "3"), "[S]\r\na=1\r\nc=3\r\nb=2\r\n");
  // A header without ']' is a key; the section is added anew.
  EXPECT_EQ(Put("[S\r\nk=1\r\n", "S", "k", "3"), "[S\r\nk=1\r\n[S]\r\nk=3\r\n");
}

TEST(ProfileWrite, NamesMatchTheWayReadsDo) {
  EXPECT_EQ(Put("[form]\r\nf1_x=1\r\n", "FORM", "F1_X", "2"), "[form]\r\nf1_x=2\r\n");
  EXPECT_EQ(Put("[S]\r\nk=1\r\nk=2\r\n", "S", "k", "3"), "[S]\r\nk=3\r\nk=2\r\n");
  EXPECT_EQ(Put("[S]\r\na=1\r\n[T]\r\n[S]\r\nb=2\r\n", "S", "b", "3"),
            "[S]\r\na=1\r\nb=3\r\n[T]\r\n[S]\r\nb=2\r\n");
  EXPECT_EQ(Put("[S]\r\nk\r\n", "S", "k", "3"), "[S]\r\nk=3\r\n");
  EXPECT_EQ(Put("k=1\r\n[S]\r\nm=2\r\n", "", "k", "5"), "k=5\r\n[S]\r\nm=2\r\n");
  EXPECT_EQ(Put("", "", "k", "1"), "k=1\r\n");
  // Full-width letters are different names.
  EXPECT_EQ(Put("[\x82\x60]\r\n\x82\x60=1\r\n", "\x82\x81", "\x82\x81", "2"),
            "[\x82\x60]\r\n\x82\x60=1\r\n[\x82\x81]\r\n\x82\x81=2\r\n");
  // New names lose their leading blanks only; the names asked for are trimmed.
  EXPECT_EQ(Put("", " S ", " k ", " v "), "[S ]\r\nk =v \r\n");
  EXPECT_EQ(Put("[S]\r\nk=1\r\n", " S ", " k ", "2"), "[S]\r\nk=2\r\n");
}

TEST(ProfileWrite, ValuesAreStoredFromTheirFirstNonBlank) {
  std::string file = Put("", "S", "k", "  lead");
  file = Put(file, "S", "m", "trail  ");
  EXPECT_EQ(file, "[S]\r\nk=lead\r\nm=trail  \r\n");
  // The next rewrite reads the trailing blanks away.
  EXPECT_EQ(Put(file, "S", "q", "\"q\""), "[S]\r\nk=lead\r\nm=trail\r\nq=\"q\"\r\n");
  EXPECT_EQ(Put("", "S", "k", ""), "[S]\r\nk=\r\n");
  // A line break in a value goes into the file as it is.
  EXPECT_EQ(Put("", "S", "k", "a\nm=3"), "[S]\r\nk=a\nm=3\r\n");
}

TEST(ProfileWrite, TheSameValueAgainLeavesTheFileAlone) {
  std::string after = "untouched";
  EXPECT_EQ(profile::WriteString("[Form]\n  F1_X = 50 \n", "Form", "F1_X", "50", after),
            WriteOutcome::Unchanged);
  EXPECT_EQ(after, "untouched");
  EXPECT_EQ(profile::WriteString("[S]\r\nk=v  \r\n", "S", "k", "  v", after),
            WriteOutcome::Unchanged);
  // A value differing only in letter case is a change.
  EXPECT_EQ(profile::WriteString("[S]\r\nk=v\r\n", "S", "k", "V", after), WriteOutcome::Changed);
}

TEST(ProfileWrite, BrokenAndDuplicateCodesAreRewrittenInCanonicalForm) {
  EXPECT_EQ(Put("[S]\r\nk=a\x95\r\nm=2\r\n", "S", "n", "1"),
            "[S]\r\nk=a\x81\x45\r\nm=2\r\nn=1\r\n");
  EXPECT_EQ(Put("[S]\nk=a\x95\nm=2\n", "S", "n", "1"), "[S]\r\nk=a\x81\x45m=2\r\nn=1\r\n");
  EXPECT_EQ(Put(std::string("[S]\r\nk=ab\0cd\r\nm=2", 17), "S", "n", "1"),
            "[S]\r\nk=ab\r\nm=2\r\nn=1\r\n");
  EXPECT_EQ(Put("[S]\r\nk=\xED\x40\x87\x90\r\n", "S", "n", "1"),
            "[S]\r\nk=\xFA\x5C\x81\xE0\r\nn=1\r\n");
  EXPECT_EQ(Put("[S]\r\nk=\xFF\xFE\x80\xA0\xFD\r\n", "S", "m", "1"),
            "[S]\r\nk=\xFF\xFE\x80\xA0\xFD\r\nm=1\r\n");
  // Arguments go through the same conversion, except that a lead byte ending one is dropped.
  EXPECT_EQ(Put("", "S", "k", "\xED\x40\x85\x40\x95"), "[S]\r\nk=\xFA\x5C\x81\x45\r\n");
  EXPECT_EQ(Put("", "S\x95", "k\x81", "v"), "[S]\r\nk=v\r\n");
}

TEST(ProfileWrite, ByteOrderMarks) {
  // UTF-8: the mark stays and the ASCII structure is read; the text is kept byte for byte.
  const std::string utf8 = "\xEF\xBB\xBF[S]\r\nk=\xE8\xA1\xA8\r\n";
  EXPECT_EQ(Get(utf8, "S", "k"), "\xE8\xA1\xA8");
  EXPECT_EQ(Put(utf8, "S", "n", "1"), "\xEF\xBB\xBF[S]\r\nk=\xE8\xA1\xA8\r\nn=1\r\n");
  // UTF-16 is not taken apart: nothing is found and nothing is written.
  const std::string utf16("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0", 18);
  EXPECT_EQ(Get(utf16, "S", "k", 64, "d"), "d");
  std::string after;
  EXPECT_EQ(profile::WriteString(utf16, "S", "k", "w", after), WriteOutcome::Unsupported);
}

TEST(ProfileRoundTrip, WrittenValuesReadBackWhole) {
  const std::string values[] = {
      "-2147483648",
      "C:\\\x95\x5C\\\x83\x5C\\",  // C:\表\ソ\ : trail bytes 5C
      "\x81\x40lead ideographic space",
      "'quoted'",  // the quotes come off when read
      std::string(511, 'x'),
  };
  std::string file;
  for (const std::string& value : values) {
    file = Put(file, "Set", "FLD1", value.c_str());
    const std::string expected = value == "'quoted'" ? "quoted" : value;
    EXPECT_EQ(Get(file, "Set", "FLD1", 512), expected);
  }
}

}  // namespace
