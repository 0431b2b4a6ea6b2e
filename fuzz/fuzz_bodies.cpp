// The fuzz bodies: crashes and sanitizer reports are the main catch, plus a few properties that
// hold for any file (a written key reads back, a repeated write changes nothing) and a reference
// parser for the integer forms.
#include "fuzz/fuzz_bodies.h"

#include <cstring>
#include <vector>

#include "platform/memory/profile_format.h"
#include "platform/text.h"

namespace fuzz {

namespace {

// Enough lookups to cover a file's structure without making large inputs slow.
constexpr int kMaxLookups = 16;
constexpr uint32_t kSizes[] = {1, 2, 3, 22, 512};
constexpr size_t kGuard = 16;
constexpr char kGuardByte = '\x5A';

std::string Read(const std::string& bytes, const std::string& section, const std::string& key) {
  char buffer[512];
  profile::GetString(bytes, section.c_str(), key.c_str(), "", buffer, sizeof buffer);
  return buffer;
}

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }

bool Trimmed(const std::string& name) {
  return name.empty() || (!IsBlank(name.front()) && !IsBlank(name.back()));
}

// A read through a buffer of the given size must stay inside it and end with a terminator.
std::string CheckBoundedRead(const std::string& bytes, const std::string& section,
                             const std::string& key, uint32_t size) {
  std::vector<char> buffer(size + kGuard, kGuardByte);
  const uint32_t copied =
      profile::GetString(bytes, section.c_str(), key.c_str(), "", buffer.data(), size);
  if (copied > size - 1) return "copied more than size - 1 bytes";
  if (buffer[copied] != '\0') return "no terminator after the bytes copied";
  for (size_t i = size; i < buffer.size(); ++i) {
    if (buffer[i] != kGuardByte) return "wrote past the buffer";
  }
  return "";
}

// Writing a key into any file makes it read back, and writing it again changes nothing.
std::string CheckWrite(const std::string& bytes, const std::string& section, const std::string& key,
                       const std::string& value) {
  std::string written;
  const profile::WriteOutcome outcome =
      profile::WriteString(bytes, section.c_str(), key.c_str(), value.c_str(), written);
  if (outcome == profile::WriteOutcome::Unsupported) return "";
  const std::string& after = outcome == profile::WriteOutcome::Changed ? written : bytes;
  // Dropping the blank lines in front can leave a file that starts like UTF-16, which both the
  // Win32 calls and this reader then take for another encoding.
  if (after.compare(0, 2, "\xFF\xFE") == 0 || after.compare(0, 2, "\xFE\xFF") == 0) return "";
  if (Read(after, section, key) != value) return "a written key does not read back";
  std::string again;
  if (profile::WriteString(after, section.c_str(), key.c_str(), value.c_str(), again) !=
      profile::WriteOutcome::Unchanged) {
    return "writing the same value twice changed the file";
  }
  return "";
}

// The accepted forms, checked on the text instead of by arithmetic: leading spaces, then
// [+-]digits within the signed range, or $, x, X, 0x, 0X and hexadecimal digits within the
// unsigned range.
bool ReferenceParse(const std::string& text, int bits, uint64_t& pattern) {
  size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return false;
  const std::string rest = text.substr(i);
  for (const char* prefix : {"0x", "0X", "$", "x", "X"}) {
    if (rest.compare(0, std::strlen(prefix), prefix) != 0) continue;
    const std::string digits = rest.substr(std::strlen(prefix));
    if (digits.empty() || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
      return false;
    }
    const size_t first = digits.find_first_not_of('0');
    const std::string significant = first == std::string::npos ? "" : digits.substr(first);
    if (significant.size() > static_cast<size_t>(bits / 4)) return false;
    pattern = significant.empty() ? 0 : std::stoull(significant, nullptr, 16);
    return true;
  }
  const bool negative = rest[0] == '-';
  const std::string digits = rest[0] == '-' || rest[0] == '+' ? rest.substr(1) : rest;
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  const size_t first = digits.find_first_not_of('0');
  const std::string significant = first == std::string::npos ? "0" : digits.substr(first);
  const std::string limit = bits == 32 ? (negative ? "2147483648" : "2147483647")
                                       : (negative ? "9223372036854775808" : "9223372036854775807");
  if (significant.size() > limit.size() ||
      (significant.size() == limit.size() && significant > limit)) {
    return false;
  }
  const uint64_t magnitude = std::stoull(significant);
  pattern = negative ? ~magnitude + 1 : magnitude;
  return true;
}

}  // namespace

std::string ExerciseProfile(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  const std::string canonical = profile::Canonical(bytes);
  if (profile::Canonical(canonical) != canonical) return "canonical text is not stable";

  const profile::Document doc = profile::Parse(bytes);
  if (doc.sections.empty() || !doc.sections[0].name.empty()) return "no unnamed first section";
  int lookups = 0;
  for (const profile::Section& section : doc.sections) {
    for (const profile::Key& key : section.keys) {
      if (++lookups > kMaxLookups) continue;
      for (uint32_t s : kSizes) {
        std::string problem = CheckBoundedRead(bytes, section.name, key.name, s);
        if (!problem.empty()) return problem + " (" + section.name + "/" + key.name + ")";
      }
    }
  }

  // A name cut at a zero byte may end in a blank, which no lookup matches since the names asked
  // for are trimmed: a write then adds a second section or key that a later read does not reach
  // (as with the Win32 calls). Such files are written but not checked.
  bool namesTrimmed = true;
  for (const profile::Section& section : doc.sections) {
    namesTrimmed = namesTrimmed && Trimmed(section.name);
    for (const profile::Key& key : section.keys) namesTrimmed = namesTrimmed && Trimmed(key.name);
  }
  std::string problem = CheckWrite(bytes, "Form", "F1_X", "123");
  if (namesTrimmed && !problem.empty()) return problem;
  // A key the file already has, wherever it stands.
  for (const profile::Section& section : doc.sections) {
    if (section.keys.empty()) continue;
    problem = CheckWrite(bytes, section.name, section.keys.back().name, "v");
    return namesTrimmed ? problem : "";
  }
  return "";
}

std::string ExerciseIntegers(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  uint64_t expected = 0;

  int32_t value32 = 0;
  const bool ok32 = ParseInteger(text, value32);
  const bool want32 = ReferenceParse(text, 32, expected);
  if (ok32 != want32)
    return want32 ? "ParseInteger refused a valid number" : "ParseInteger took bad text";
  if (ok32 && value32 != static_cast<int32_t>(static_cast<uint32_t>(expected))) {
    return "ParseInteger gave a wrong value";
  }

  int64_t value64 = 0;
  const bool ok64 = ParseInteger64(text, value64);
  const bool want64 = ReferenceParse(text, 64, expected);
  if (ok64 != want64) {
    return want64 ? "ParseInteger64 refused a valid number" : "ParseInteger64 took bad text";
  }
  if (ok64 && value64 != static_cast<int64_t>(expected)) return "ParseInteger64 gave a wrong value";
  return "";
}

}  // namespace fuzz
