// The Win32 profile reader and writer redone over bytes. The Win32 calls convert the file and
// every argument to Unicode and back, so two-byte characters are units of their own, broken
// sequences come back as a middle dot, and quotes and blanks are handled per character.
#include "platform/memory/profile_format.h"

#include <cassert>
#include <cstddef>
#include <cstring>

#include "platform/memory/case_fold_932.h"

namespace profile {

namespace {

constexpr unsigned char kMiddleDotLead = 0x81;
constexpr unsigned char kMiddleDotTrail = 0x45;

// The blanks the profile code trims; all are single bytes below any trail byte.
bool IsBlank(unsigned char b) { return b == ' ' || (b >= 0x09 && b <= 0x0D) || b == 0x1A; }

bool IsLineEnd(unsigned char b) { return b == '\r' || b == '\n'; }

struct TrailRange {
  unsigned char first;
  unsigned char last;
};

// Trail bytes that code page 932 defines after a lead byte.
struct LeadRow {
  unsigned char lead;
  TrailRange ranges[7];
  int count;
};

constexpr TrailRange kFullRow[] = {{0x40, 0x7E}, {0x80, 0xFC}};

// The rows that are not simply 40-7E and 80-FC; a lead byte missing here has the full row
// unless it is one of the leads without any character (85, 86, EB, EC, EF).
constexpr LeadRow kPartialRows[] = {
    {0x81,
     {{0x40, 0x7E},
      {0x80, 0xAC},
      {0xB8, 0xBF},
      {0xC8, 0xCE},
      {0xDA, 0xE8},
      {0xF0, 0xF7},
      {0xFC, 0xFC}},
     7},
    {0x82, {{0x4F, 0x58}, {0x60, 0x79}, {0x81, 0x9A}, {0x9F, 0xF1}}, 4},
    {0x83, {{0x40, 0x7E}, {0x80, 0x96}, {0x9F, 0xB6}, {0xBF, 0xD6}}, 4},
    {0x84, {{0x40, 0x60}, {0x70, 0x7E}, {0x80, 0x91}, {0x9F, 0xBE}}, 4},
    {0x87, {{0x40, 0x5D}, {0x5F, 0x75}, {0x7E, 0x7E}, {0x80, 0x9C}}, 4},
    {0x88, {{0x9F, 0xFC}}, 1},
    {0x98, {{0x40, 0x72}, {0x9F, 0xFC}}, 2},
    {0xEA, {{0x40, 0x7E}, {0x80, 0xA4}}, 2},
    {0xEE, {{0x40, 0x7E}, {0x80, 0xEC}, {0xEF, 0xFC}}, 3},
    {0xFC, {{0x40, 0x4B}}, 1},
};

bool InRanges(unsigned char trail, const TrailRange* ranges, int count) {
  for (int i = 0; i < count; ++i) {
    if (trail >= ranges[i].first && trail <= ranges[i].last) return true;
  }
  return false;
}

bool IsDefined(unsigned char lead, unsigned char trail) {
  if (lead == 0x85 || lead == 0x86 || lead == 0xEB || lead == 0xEC || lead == 0xEF) return false;
  for (const LeadRow& row : kPartialRows) {
    if (row.lead == lead) return InRanges(trail, row.ranges, row.count);
  }
  return InRanges(trail, kFullRow, 2);
}

// Position of a trail byte in its row of 188 (40-7E, 80-FC), and back.
int TrailIndex(unsigned char trail) { return trail < 0x7F ? trail - 0x40 : trail - 0x41; }
unsigned char TrailAt(int index) {
  return static_cast<unsigned char>(index < 0x3F ? index + 0x40 : index + 0x41);
}

struct Code {
  unsigned char lead;
  unsigned char trail;
};

// Characters with two codes in code page 932 go back to Unicode and return as the code below:
// the NEC-selected IBM extensions (ED/EE rows) as the IBM extensions (FA-FC rows), and a few
// symbols of rows 87 and FA as their row-81 or row-87 form.
Code CanonicalCode(unsigned char lead, unsigned char trail) {
  const int code = lead << 8 | trail;
  struct Pair {
    int from;
    int to;
  };
  static constexpr Pair kSymbols[] = {
      {0x8790, 0x81E0}, {0x8791, 0x81DF}, {0x8792, 0x81E7}, {0x8795, 0x81E3}, {0x8796, 0x81DB},
      {0x8797, 0x81DA}, {0x879A, 0x81E6}, {0x879B, 0x81BF}, {0x879C, 0x81BE}, {0xEEF9, 0x81CA},
      {0xEEFA, 0xFA55}, {0xEEFB, 0xFA56}, {0xEEFC, 0xFA57}, {0xFA54, 0x81CA}, {0xFA58, 0x878A},
      {0xFA59, 0x8782}, {0xFA5A, 0x8784}, {0xFA5B, 0x81E6}};
  for (const Pair& p : kSymbols) {
    if (p.from == code)
      return {static_cast<unsigned char>(p.to >> 8), static_cast<unsigned char>(p.to)};
  }
  if (code >= 0xEEEF && code <= 0xEEF8) {  // small roman numerals
    return {0xFA, static_cast<unsigned char>(0x40 + (code - 0xEEEF))};
  }
  if (code >= 0xFA4A && code <= 0xFA53) {  // capital roman numerals
    return {0x87, static_cast<unsigned char>(0x54 + (code - 0xFA4A))};
  }
  if (code >= 0xED40 && code <= 0xEEEC) {  // the kanji, in the same order from FA5C on
    const int offset = (lead - 0xED) * 188 + TrailIndex(trail) + TrailIndex(0x5C);
    return {static_cast<unsigned char>(0xFA + offset / 188), TrailAt(offset % 188)};
  }
  return {lead, trail};
}

// Calls visit(position, length) for each character of canonical text.
template <typename Visit>
void ForEachChar(const std::string& text, bool twoByte, Visit visit) {
  for (size_t i = 0; i < text.size();) {
    const bool pair = twoByte && IsLeadByte932(static_cast<unsigned char>(text[i]));
    const size_t length = pair && i + 1 < text.size() ? 2 : 1;
    visit(i, length);
    i += length;
  }
}

std::string CutAtZero(const std::string& s) { return s.substr(0, s.find('\0')); }

std::string TrimBlanks(const std::string& s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsBlank(static_cast<unsigned char>(s[begin]))) ++begin;
  while (end > begin && IsBlank(static_cast<unsigned char>(s[end - 1]))) --end;
  return s.substr(begin, end - begin);
}

std::string TrimLeadingBlanks(const std::string& s) {
  size_t begin = 0;
  while (begin < s.size() && IsBlank(static_cast<unsigned char>(s[begin]))) ++begin;
  return s.substr(begin);
}

// Equal when every character is, ASCII letters in either case; two-byte characters exactly.
bool SameName(const std::string& a, const std::string& b, bool twoByte) {
  if (a.size() != b.size()) return false;
  bool trail = false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (trail) {
      if (x != y) return false;
      trail = false;
      continue;
    }
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
    trail = twoByte && IsLeadByte932(x);
  }
  return true;
}

constexpr char kUtf8Marker[] = "\xEF\xBB\xBF";

bool HasUtf16Marker(const std::string& bytes) {
  return bytes.size() >= 2 &&
         ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
}

Document ParseText(const std::string& text, bool twoByte) {
  Document doc;
  doc.sections.push_back(Section{});
  Section* section = &doc.sections.back();
  const Key* previous = nullptr;

  size_t next = 0;
  while (next < text.size()) {
    size_t begin = next;
    while (next < text.size() && !IsLineEnd(static_cast<unsigned char>(text[next]))) ++next;
    size_t end = next;
    while (next < text.size() && IsLineEnd(static_cast<unsigned char>(text[next]))) ++next;

    while (begin < end && IsBlank(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && IsBlank(static_cast<unsigned char>(text[end - 1]))) --end;
    if (begin == end) continue;
    const std::string line = text.substr(begin, end - begin);

    if (line[0] == '[') {
      // The header runs to the last ']' of the line; what follows it is ignored.
      size_t close = 0;
      ForEachChar(line, twoByte, [&](size_t at, size_t length) {
        if (at > 0 && length == 1 && line[at] == ']') close = at;
      });
      if (close > 0) {
        doc.sections.push_back(Section{CutAtZero(TrimBlanks(line.substr(1, close - 1))), {}});
        section = &doc.sections.back();
        previous = nullptr;
        continue;
      }
    }

    Key key;
    size_t nameLength = line.size();
    const size_t equals = line.find('=');
    if (equals != std::string::npos) {
      nameLength = equals;
      while (nameLength > 0 && IsBlank(static_cast<unsigned char>(line[nameLength - 1]))) {
        --nameLength;
      }
      key.value = CutAtZero(TrimLeadingBlanks(line.substr(equals + 1)));
    }
    key.name = CutAtZero(line.substr(0, nameLength));
    // A run of lines with an empty name keeps only its first.
    if (nameLength > 0 || previous == nullptr || !previous->name.empty()) {
      section->keys.push_back(std::move(key));
      previous = &section->keys.back();
    }
  }
  return doc;
}

// One character of canonical text per element, for the copy that counts characters.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> chars;
  ForEachChar(text, true,
              [&](size_t at, size_t length) { chars.push_back(text.substr(at, length)); });
  return chars;
}

// The Unicode side of the copy: one pair of surrounding quotes removed and the text cut to
// size - 1 characters. When the cut falls on the closing quote or just after it, the Win32 call
// drops the last character kept instead, and this does the same.
std::vector<std::string> CopiedCharacters(const std::string& text, uint32_t size) {
  std::vector<std::string> chars = Characters(text);
  size_t first = 0;
  bool quoted = false;
  if (chars.size() >= 2 && (chars[0] == "\"" || chars[0] == "'") && chars.back() == chars[0]) {
    quoted = true;
    first = 1;
  }
  const size_t available = chars.size() - first;
  const size_t kept = available < size - 1 ? available : size - 1;
  std::vector<std::string> copied(chars.begin() + static_cast<std::ptrdiff_t>(first),
                                  chars.begin() + static_cast<std::ptrdiff_t>(first + kept));
  if (quoted && size >= available && !copied.empty()) copied.pop_back();
  return copied;
}

// The code-page side: whole characters into size - 1 bytes. Returns the bytes copied, or size - 1
// when they did not all fit (then the byte in front of the terminator may be left unwritten).
uint32_t StoreCharacters(const std::vector<std::string>& chars, char* buffer, uint32_t size) {
  if (chars.empty()) {
    buffer[0] = '\0';
    return 0;
  }
  uint32_t room = size - 1;
  uint32_t written = 0;
  bool complete = true;
  for (const std::string& c : chars) {
    if (c.size() > room) {
      complete = false;
      break;
    }
    std::memcpy(buffer + written, c.data(), c.size());
    written += static_cast<uint32_t>(c.size());
    room -= static_cast<uint32_t>(c.size());
  }
  const uint32_t result = complete ? written : size - 1;
  buffer[result] = '\0';
  return result;
}

// An argument as the Win32 calls take it: converted like file text, except that a lead byte at
// its very end is dropped rather than turned into the dot.
std::string ArgumentText(const char* argument) {
  std::string text = argument;
  size_t at = 0;
  while (at < text.size()) {
    const bool lead = IsLeadByte932(static_cast<unsigned char>(text[at]));
    if (lead && at + 1 == text.size()) {
      text.pop_back();
      break;
    }
    at += lead ? 2 : 1;
  }
  return Canonical(text);
}

// The default as the Win32 call takes it: trailing spaces dropped, though never its first
// character.
std::string DefaultText(const char* deflt) {
  std::string text = ArgumentText(deflt);
  size_t end = text.size();
  while (end > 1 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

}  // namespace

std::string Canonical(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (!IsLeadByte932(b)) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    // A lead byte at the end, or before a zero byte (which stays a character of its own), is
    // broken; any other second byte is taken with it, defined or not.
    if (i + 1 == bytes.size() || bytes[i + 1] == '\0') {
      out += static_cast<char>(kMiddleDotLead);
      out += static_cast<char>(kMiddleDotTrail);
      ++i;
      continue;
    }
    const unsigned char trail = static_cast<unsigned char>(bytes[i + 1]);
    Code code =
        IsDefined(b, trail) ? CanonicalCode(b, trail) : Code{kMiddleDotLead, kMiddleDotTrail};
    out += static_cast<char>(code.lead);
    out += static_cast<char>(code.trail);
    i += 2;
  }
  return out;
}

Document Parse(const std::string& fileBytes) {
  if (fileBytes.compare(0, 3, kUtf8Marker) == 0) {
    // UTF-8 text keeps its bytes: all of them above 0x7F, so none is taken for a delimiter.
    Document doc = ParseText(fileBytes.substr(3), false);
    doc.utf8Marker = true;
    return doc;
  }
  return ParseText(Canonical(fileBytes), true);
}

std::string Format(const Document& doc) {
  std::string out = doc.utf8Marker ? kUtf8Marker : "";
  for (const Section& section : doc.sections) {
    if (!section.name.empty()) out += "[" + section.name + "]\r\n";
    for (const Key& key : section.keys) {
      out += key.name;
      if (key.value) out += "=" + *key.value;
      out += "\r\n";
    }
  }
  return out;
}

const Key* Find(const Document& doc, const std::string& section, const std::string& key) {
  const std::string sectionName = TrimBlanks(section);
  const std::string keyName = TrimBlanks(key);
  for (const Section& s : doc.sections) {
    if (!SameName(s.name, sectionName, !doc.utf8Marker)) continue;
    for (const Key& k : s.keys) {
      if (SameName(k.name, keyName, !doc.utf8Marker)) return &k;
    }
    return nullptr;
  }
  return nullptr;
}

bool Set(Document& doc, const std::string& section, const std::string& key,
         const std::string& value) {
  const std::string sectionName = TrimBlanks(section);
  const std::string keyName = TrimBlanks(key);
  Section* target = nullptr;
  for (Section& s : doc.sections) {
    if (SameName(s.name, sectionName, !doc.utf8Marker)) {
      target = &s;
      break;
    }
  }
  // New names keep blanks at their end: the Win32 writer trims only the start of what it stores.
  if (target == nullptr) {
    doc.sections.push_back(Section{TrimLeadingBlanks(section), {}});
    target = &doc.sections.back();
  }
  Key* entry = nullptr;
  for (Key& k : target->keys) {
    if (SameName(k.name, keyName, !doc.utf8Marker)) {
      entry = &k;
      break;
    }
  }
  if (entry == nullptr) {
    target->keys.push_back(Key{TrimLeadingBlanks(key), std::nullopt});
    entry = &target->keys.back();
  }
  const std::string stored = TrimLeadingBlanks(value);
  if (entry->value && *entry->value == stored) return false;
  entry->value = stored;
  return true;
}

uint32_t GetString(const std::string& fileBytes, const char* section, const char* key,
                   const char* deflt, char* buffer, uint32_t size) {
  assert(section != nullptr && key != nullptr && deflt != nullptr && buffer != nullptr);
  if (size == 0) return 0;
  std::string text = DefaultText(deflt);
  if (!HasUtf16Marker(fileBytes)) {
    const Document doc = Parse(fileBytes);
    const Key* found = Find(doc, ArgumentText(section), ArgumentText(key));
    if (found != nullptr && found->value) text = *found->value;
  }
  return StoreCharacters(CopiedCharacters(text, size), buffer, size);
}

uint32_t GetDefault(const char* deflt, char* buffer, uint32_t size) {
  assert(deflt != nullptr && buffer != nullptr);
  if (size == 0) return 0;
  std::vector<std::string> chars = Characters(DefaultText(deflt));
  if (chars.size() > size - 1) chars.resize(size - 1);
  return StoreCharacters(chars, buffer, size);
}

WriteOutcome WriteString(const std::string& fileBytes, const char* section, const char* key,
                         const char* value, std::string& newBytes) {
  assert(section != nullptr && key != nullptr && value != nullptr);
  if (HasUtf16Marker(fileBytes)) return WriteOutcome::Unsupported;
  Document doc = Parse(fileBytes);
  if (!Set(doc, ArgumentText(section), ArgumentText(key), ArgumentText(value))) {
    return WriteOutcome::Unchanged;
  }
  newBytes = Format(doc);
  return WriteOutcome::Changed;
}

}  // namespace profile
