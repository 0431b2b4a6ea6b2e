// The Win32 profile calls and the portable reader and writer on the same bytes: every read must
// return the same count and leave the same buffer, every write the same file. Runs under Wine,
// whose calls are the reference; also Unit2 over real files.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "Unit2/Unit2.h"
#include "platform/memory/profile_format.h"
#include "platform/profile.h"

namespace {

struct Lookup {
  std::string section;
  std::string key;
};

// Printable form of bytes for failure messages.
std::string Show(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

// A literal with its zero bytes, all of it.
template <size_t N>
std::string Literal(const char (&bytes)[N]) {
  return std::string(bytes, N - 1);
}

// Files whose reading was measured case by case; each one is read and written by both sides.
const std::vector<std::string>& AwkwardFiles() {
  static const std::vector<std::string> files = {
      "[Form]\r\nF1_X=10\r\nF1_Y=20\r\n\r\n[Comp]\r\nF1_P1=200\r\n",
      "[Form]\r\n  F1_X   =   12  \r\n\tF1_Y\t=\t13\t\r\n",
      "  [ Form ]  \r\nF1_X=12\r\n[ \tComp\t ]\r\nF1_P1=1\r\n",
      "[S]\r\nk=\"abc\"\r\nm='abc'\r\nn=\" a b "
      "\"\r\no=\"\r\np=\"\"\r\nq=\"abc'\r\nr=\"\"abc\"\"\r\n",
      "[S]\r\nk=\"abcdef\"\r\nm='\x95\x5C\x95\x5C'\r\n",
      "[S]\r\n;k=1\r\nk=2\r\n#m=3\r\nn=1 ; note\r\n",
      "[S]\r\nk=first\r\nk=second\r\n[S]\r\nk=third\r\nm=only later\r\n",
      "[form]\r\nf1_x=7\r\n[\x82\x60]\r\nk=1\r\n[\x83\x41]\r\nk=2\r\n",
      "[S]\nk=lf\nm=2\n",
      "[S]\rk=cr\rm=2\r",
      "[S]\r\nk=last",
      "[S]\r\nk=" + std::string(30, '7') + "\r\nm=" + std::string(600, 'x') + "\r\n",
      "[S]\r\nk=C:\\\x95\x5C\\\r\nm=a\x95\x5C\x95\x5C\r\nn=\xB1\xB2\xB3\r\n",
      "",
      "\r\n\r\n",
      "[S]\r\nk=\r\nm\r\n=v\r\n=w\r\n",
      Literal("[S]\r\nk=ab\0cd\r\nm=2\r\nn\0x=1\r\n[T\0x]\r\nk=3\r\n"),
      "[S]\r\nk=\xFF\xFE\x80\xA0\xFD\r\n",
      "[S]\r\nk=a\x95\r\nm=2\r\n",
      "[S]\nk=a\x95\nm=2\n",
      "[S]\r\nk=a\x95",
      Literal("[S]\r\nk=a\x95\0b\r\n"),
      "[S]\r\nk=a\x81 z\r\nm=\x85\x40z\r\nn=\xED\x40\x87\x90\r\no=\xF0\x40\r\n",
      "[S]\r\nk=\x81\x40v\x81\x40\r\nm=v\x1A\r\nn=\x0Bv\x0C\r\n",
      "\xEF\xBB\xBF[S]\r\nk=ascii\r\n",
      "[S\r\nk=1\r\n[T]\r\nm=2\r\n",
      "[S]junk\r\n[a]b]\r\nk=1\r\n[]\r\nm=2\r\n",
      "k=1\r\n[S]\r\n",
      "[S]\r\nk==v\r\n   =1\r\n",
      "[\x83\x5D\r\nk=1\r\n[\x83\x5D]\r\nm=2\r\n",
      Literal("[S]\r\nk \0x = 1\r\n"),
      "[S]\r\nk=1\r\n\x1A",
      "\x01\x02\x03garbage\xFF\r\n[\x7F]\r\n\x7F=\x7F\r\n",
  };
  return files;
}

bool IsAscii(const std::string& bytes) {
  for (unsigned char c : bytes) {
    if (c >= 0x80) return false;
  }
  return true;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class Win32ProfileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    folder_ =
        std::string(temp) + "kestrune-settings-" + std::to_string(GetCurrentProcessId()) + "\\";
    // Wine gives process ids out again: a folder of this name was left by a run that died.
    RemoveFolderOfFiles(folder_);
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
  }

  static void RemoveFolderOfFiles(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileA((folder + found.cFileName).c_str());
      } while (FindNextFileA(find, &found));
      FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
  }

  static void TearDownTestSuite() {
    files_.clear();
    RemoveFolderOfFiles(folder_);
  }

  // A file of its own for every case: the Win32 side caches what it read by file name.
  static std::string NewFile(const std::string* bytes) {
    const std::string path = folder_ + std::to_string(files_.size()) + ".ini";
    files_.push_back(path);
    if (bytes != nullptr) {
      std::ofstream out(path, std::ios::binary);
      out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    }
    return path;
  }

  // Reads every lookup at every size on both sides and compares count and whole buffer.
  static void ExpectSameReads(const std::string& bytes, const std::vector<Lookup>& lookups,
                              const std::vector<uint32_t>& sizes, const char* deflt = "") {
    const std::string path = NewFile(&bytes);
    for (const Lookup& l : lookups) {
      for (uint32_t size : sizes) {
        std::string win(size + 4, 'Z');
        std::string port(size + 4, 'Z');
        const uint32_t a =
            ProfileGetString(l.section.c_str(), l.key.c_str(), deflt, &win[0], size, path.c_str());
        const uint32_t b =
            profile::GetString(bytes, l.section.c_str(), l.key.c_str(), deflt, &port[0], size);
        EXPECT_EQ(a, b) << Show(bytes) << " [" << Show(l.section) << "] " << Show(l.key) << " size "
                        << size;
        EXPECT_EQ(Show(win), Show(port))
            << Show(bytes) << " [" << Show(l.section) << "] " << Show(l.key) << " size " << size;
      }
    }
  }

  // Writes on both sides; the files must end up the same and the results agree.
  static std::string ExpectSameWrite(const std::string& bytes, const char* section, const char* key,
                                     const char* value) {
    const std::string path = NewFile(&bytes);
    const bool ok = ProfileWriteString(section, key, value, path.c_str());
    const std::string written = FileBytes(path);
    std::string portable;
    const profile::WriteOutcome outcome =
        profile::WriteString(bytes, section, key, value, portable);
    if (outcome == profile::WriteOutcome::Unchanged) portable = bytes;
    EXPECT_TRUE(ok);
    EXPECT_NE(outcome, profile::WriteOutcome::Unsupported);
    EXPECT_EQ(Show(written), Show(portable))
        << Show(bytes) << " [" << Show(section) << "] " << Show(key) << "=" << Show(value);
    return written;
  }

  // Every name the file holds, and some it does not.
  static std::vector<Lookup> LookupsFor(const std::string& bytes) {
    std::vector<Lookup> lookups = {{"S", "k"},       {"S", "m"}, {"s", "K"}, {" S ", " k "},
                                   {"Form", "F1_X"}, {"", "k"},  {"T", "k"}, {"S", ""}};
    for (const profile::Section& s : profile::Parse(bytes).sections) {
      for (const profile::Key& k : s.keys) lookups.push_back({s.name, k.name});
    }
    return lookups;
  }

  static std::string folder_;
  static std::vector<std::string> files_;
};

std::string Win32ProfileTest::folder_;
std::vector<std::string> Win32ProfileTest::files_;

TEST_F(Win32ProfileTest, AwkwardFilesReadAlike) {
  for (const std::string& bytes : AwkwardFiles()) {
    ExpectSameReads(bytes, LookupsFor(bytes), {1, 2, 3, 4, 5, 6, 7, 8, 22, 512});
  }
}

TEST_F(Win32ProfileTest, DefaultsReadAlike) {
  for (const char* deflt : {"dflt", "dflt  ", "   ", "\"quoted\"", "a\x95\x5C", "\xED\x40", "a\x95",
                            "\x81\x20\x85\x40", "\x95"}) {
    ExpectSameReads("[S]\r\nk=1\r\n", {{"S", "missing"}, {"T", "k"}, {"S\x95", "k\x81"}},
                    {1, 2, 3, 64}, deflt);
  }
}

TEST_F(Win32ProfileTest, UnopenableFilesGiveTheDefaultAlike) {
  const std::string unopenable[] = {folder_ + "missing\\Kestrune.ini", folder_};
  for (const std::string& path : unopenable) {
    for (const char* deflt : {"\"q\"  ", "'q'", "", "a\x95\x5C\x95\x5C", "\x95"}) {
      for (uint32_t size : {1u, 2u, 3u, 4u, 64u}) {
        std::string win(size + 4, 'Z');
        std::string port(size + 4, 'Z');
        EXPECT_EQ(ProfileGetString("S", "k", deflt, &win[0], size, path.c_str()),
                  profile::GetDefault(deflt, &port[0], size))
            << path << " " << Show(deflt) << " " << size;
        EXPECT_EQ(Show(win), Show(port)) << path << " " << Show(deflt) << " " << size;
      }
    }
  }
}

TEST_F(Win32ProfileTest, AwkwardFilesRewriteAlike) {
  for (const std::string& bytes : AwkwardFiles()) {
    ExpectSameWrite(bytes, "S", "k", "1");
    ExpectSameWrite(bytes, "S", "n", "new");
    ExpectSameWrite(bytes, "Form", "F1_X", "-5");
    ExpectSameWrite(bytes, " s ", " K ", "  lead and trail  ");
    ExpectSameWrite(bytes, "", "k", "top");
  }
}

TEST_F(Win32ProfileTest, ArgumentsConvertAlike) {
  ExpectSameWrite("", "S", "k", "\xED\x40\x95");
  ExpectSameWrite("", "\x95", "k\x81", "v");
  ExpectSameWrite("", "\x95\x5C\x95", "\x81\x20k", "\x85\x40\x81\x45\x95\x5C");
  ExpectSameWrite("[S]\r\nk=1\r\n", "S\x95", "k", "\x81");
  ExpectSameWrite("[S]\r\nk=1\r\n", "S", "k", "a\r\nm=3");
  ExpectSameWrite("[S]\r\nk=v  \r\n", "S", "k", "v");
  ExpectSameWrite("[S]\r\nk=\"v\"\r\n", "S", "k", "\"v\"");
}

// What the program itself writes, in both directions: files one side writes, the other reads.
TEST_F(Win32ProfileTest, SettingsWrittenByEitherSideAreReadByTheOther) {
  const std::pair<const char*, std::string> keys[] = {
      {"F1_X", "-32000"}, {"F1_Y", "0"},     {"F1_W", "2147483647"}, {"F1_H", "350"},
      {"F1_P1", "200"},   {"F1_SG0", "120"}, {"F1_SG1", "80"},
  };
  const std::string folder = "D:\\\x95\x5C\\\x83\x5C\\\x81\x40\\";  // D:\表\ソ\　\ (trail bytes 5C)
  for (const std::string& start : AwkwardFiles()) {
    if (start.compare(0, 3, "\xEF\xBB\xBF") == 0) continue;  // text converted on the Win32 side
    std::string win = start;
    std::string port = start;
    for (const auto& [key, value] : keys) {
      const char* section = key[3] == 'P' || key[3] == 'S' ? "Comp" : "Form";
      win = ExpectSameWrite(win, section, key, value.c_str());
      std::string next;
      if (profile::WriteString(port, section, key, value.c_str(), next) ==
          profile::WriteOutcome::Changed) {
        port = next;
      }
    }
    win = ExpectSameWrite(win, "Set", "FLD1", folder.c_str());
    std::string next;
    if (profile::WriteString(port, "Set", "FLD1", folder.c_str(), next) ==
        profile::WriteOutcome::Changed) {
      port = next;
    }

    // The Win32 side reads the portable file, the portable side the Win32 file.
    const std::string portPath = NewFile(&port);
    for (const auto& [key, value] : keys) {
      const char* section = key[3] == 'P' || key[3] == 'S' ? "Comp" : "Form";
      char a[22] = {};
      char b[22] = {};
      ProfileGetString(section, key, "", a, sizeof a, portPath.c_str());
      profile::GetString(win, section, key, "", b, sizeof b);
      EXPECT_EQ(std::string(a), value) << Show(start);
      EXPECT_EQ(std::string(b), value) << Show(start);
    }
    char a[512] = {};
    char b[512] = {};
    ProfileGetString("Set", "FLD1", "", a, sizeof a, portPath.c_str());
    profile::GetString(win, "Set", "FLD1", "", b, sizeof b);
    EXPECT_EQ(Show(a), Show(folder));
    EXPECT_EQ(Show(b), Show(folder));
  }
}

TEST_F(Win32ProfileTest, LetterCaseMatchesAlike) {
  const char* names[] = {"form",      "FORM",      "\x82\x60", "\x82\x81", "\x83\x9F", "\x83\xBF",
                         "\x84\x40",  "\x84\x70",  "\x87\x54", "\xFA\x40", "\x83\x41", "\x83\x61",
                         "a\x83\x41", "A\x83\x61", "\xB1",     "\x8E\x9A"};
  for (const char* stored : names) {
    std::vector<Lookup> lookups;
    for (const char* asked : names) lookups.push_back({asked, asked});
    const std::string file = std::string("[") + stored + "]\r\n" + stored + "=1\r\n";
    ExpectSameReads(file, lookups, {64});
  }
}

// Every second byte after every lead byte, through the profile calls.
TEST_F(Win32ProfileTest, EveryTwoByteSequenceReadsAlike) {
  for (int lead = 0x81; lead <= 0xFC; lead = lead == 0x9F ? 0xE0 : lead + 1) {
    std::string file = "[S]\r\n";
    std::vector<Lookup> lookups;
    for (int trail = 0; trail < 256; ++trail) {
      char key[8];
      std::snprintf(key, sizeof key, "t%02X", trail);
      file += std::string(key) + "=" + static_cast<char>(lead) + static_cast<char>(trail) + "z\r\n";
      lookups.push_back({"S", key});
    }
    ExpectSameReads(file, lookups, {64});
  }
}

// The conversion the profile calls make of every string, for every one- and two-byte string.
TEST(Win32CodePage, CanonicalTextIsTheRoundTripThroughUnicode) {
  auto roundTrip = [](const std::string& in) {
    wchar_t wide[8];
    const int n = MultiByteToWideChar(932, 0, in.data(), static_cast<int>(in.size()), wide, 8);
    char out[16];
    const int m = WideCharToMultiByte(932, 0, wide, n, out, sizeof out, nullptr, nullptr);
    return std::string(out, static_cast<size_t>(m));
  };
  ASSERT_EQ(GetACP(), 932u);
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    ASSERT_EQ(Show(profile::Canonical(one)), Show(roundTrip(one))) << b;
  }
  for (int lead = 0; lead < 256; ++lead) {
    for (int trail = 0; trail < 256; ++trail) {
      const std::string two{static_cast<char>(lead), static_cast<char>(trail)};
      ASSERT_EQ(Show(profile::Canonical(two)), Show(roundTrip(two))) << lead << " " << trail;
    }
  }
}

// Files built at random from the pieces awkward files are made of.
TEST_F(Win32ProfileTest, RandomFilesReadAndRewriteAlike) {
  const std::vector<std::string> pieces = {"[S]",      "[s]",
                                           " [ S ] ",  "[T]",
                                           "[]",       "[S",
                                           "]",        "k",
                                           "K",        "m",
                                           "=",        "==",
                                           " ",        "\t",
                                           "\r",       "\n",
                                           "\r\n",     "\x1A",
                                           "\"",       "'",
                                           "v",        "1",
                                           ";",        "#",
                                           "\x95\x5C", "\x95",
                                           "\x81\x40", "\xED\x40",
                                           "\x87\x90", "\x83\x5D",
                                           "\xFF",     "\x80",
                                           "\xB1",     std::string(1, '\0'),
                                           "\x81\x20", "\x85\x40",
                                           "F1_X",     "Form"};
  std::mt19937 random(20240601);
  std::uniform_int_distribution<size_t> piece(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 24);
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    for (int n = length(random); n > 0; --n) bytes += pieces[piece(random)];
    // A leading byte-order mark would make either side read another encoding.
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0 ||
        bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
      continue;
    }
    ExpectSameReads(bytes, LookupsFor(bytes), {2, 3, 22});
    ExpectSameWrite(bytes, "S", "k", "w");
    ExpectSameWrite(bytes, "Form", "F1_X", "9");
  }
}

// The inputs kept from fuzzing (the minimised corpus and every input that once failed a fuzz
// target) make a wider set of strange files.
TEST_F(Win32ProfileTest, KeptFuzzInputsReadAndRewriteAlike) {
  int files = 0;
  for (const char* kind : {"corpus", "regressions"}) {
    const std::filesystem::path folder =
        std::filesystem::path(KESTRUNE_FUZZ_DIR) / kind / "profile";
    if (!std::filesystem::is_directory(folder)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string bytes = FileBytes(entry.path().string());
      // The Win32 side reads a file with a byte-order mark in that encoding; the portable one
      // keeps UTF-8 as bytes and does not take UTF-16 apart, so only ASCII UTF-8 compares.
      if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) continue;
      if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 && !IsAscii(bytes.substr(3))) continue;
      ++files;
      ExpectSameReads(bytes, LookupsFor(bytes), {3, 22});
      ExpectSameWrite(bytes, "Form", "F1_X", "9");
    }
  }
  EXPECT_GT(files, 0);
}

class Win32Unit2Test : public Win32ProfileTest {};

TEST_F(Win32Unit2Test, ReadSettingGivesWholeCharactersAfterACut) {
  // The Win32 call leaves the byte before the terminator unwritten when a two-byte character
  // does not fit; ReadSetting must not return whatever was in its buffer there.
  const std::string bytes = "[Set]\r\nFLD1=a\x95\x5C\x95\x5C\r\n";
  const std::string path = NewFile(&bytes);
  for (int round = 0; round < 20; ++round) {
    std::string value;
    ASSERT_TRUE(ReadSetting("Set", "FLD1", path, 3, value));
    EXPECT_EQ(Show(value), "a");
    ASSERT_TRUE(ReadSetting("Set", "FLD1", path, 5, value));
    EXPECT_EQ(Show(value), Show("a\x95\x5C"));
  }
}

TEST_F(Win32Unit2Test, SettingsGoToAFileAndComeBack) {
  const std::string path = NewFile(nullptr);
  std::string value;
  EXPECT_FALSE(ReadSetting("Form", "F1_X", path, 22, value));
  EXPECT_TRUE(WriteSetting("Form", "F1_X", "-5", path));
  EXPECT_TRUE(WriteSetting("Set", "FLD1", "D:\\data\\", path));
  EXPECT_TRUE(WriteSetting("Form", "F1_W", "", path));
  EXPECT_EQ(FileBytes(path), "[Form]\r\nF1_X=-5\r\nF1_W=\r\n[Set]\r\nFLD1=D:\\data\\\r\n");
  ASSERT_TRUE(ReadSetting("Form", "F1_X", path, 22, value));
  EXPECT_EQ(value, "-5");
  EXPECT_FALSE(ReadSetting("Form", "F1_W", path, 22, value));
  EXPECT_FALSE(WriteSetting("Set", "FLD1", "x", folder_ + "missing\\Kestrune.ini"));
}

}  // namespace
