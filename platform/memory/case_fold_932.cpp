// Code page 932's lead bytes, and the letters of exact names that have a case (those of code
// page 932 and the accented Latin ones), in runs of codes, so a few ranges hold the whole table.
#include "platform/memory/case_fold_932.h"

#include "platform/text.h"

bool IsLeadByte932(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

namespace {

// Runs of lower-case letters whose upper case lies at a fixed distance, and runs where upper and
// lower case alternate; between them the letters the system's upper-case table maps.
struct ShiftedRun {
  char32_t first, last;
  int32_t shift;
};
constexpr ShiftedRun kShiftedRuns[] = {
    {U'a', U'z', -0x20},      {0x00E0, 0x00F6, -0x20}, {0x00F8, 0x00FE, -0x20},
    {0x00FF, 0x00FF, 0x0079}, {0x03B1, 0x03C1, -0x20}, {0x03C2, 0x03C2, -0x1F},
    {0x03C3, 0x03CB, -0x20},  {0x0430, 0x044F, -0x20}, {0x0450, 0x045F, -0x50},
    {0x2170, 0x217F, -0x10},  {0xFF41, 0xFF5A, -0x20},
};
struct AlternatingRun {
  char32_t first, last;  // first is upper case, first + 1 its lower case, and so on
};
constexpr AlternatingRun kAlternatingRuns[] = {
    {0x0100, 0x012F}, {0x0132, 0x0137}, {0x0139, 0x0148}, {0x014A, 0x0177}, {0x0179, 0x017E},
};

char32_t UpperOf(char32_t c) {
  for (const ShiftedRun& run : kShiftedRuns) {
    if (c >= run.first && c <= run.last) return static_cast<char32_t>(c + run.shift);
  }
  for (const AlternatingRun& run : kAlternatingRuns) {
    if (c > run.first && c <= run.last && (c - run.first) % 2 == 1) return c - 1;
  }
  return c;
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xc0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3f));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xe0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (c & 0x3f));
  } else {
    out += static_cast<char>(0xf0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    out += static_cast<char>(0x80 | (c & 0x3f));
  }
}

}  // namespace

std::string UpperCaseExactName(const std::string& name) {
  std::string folded;
  folded.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    const unsigned char b = static_cast<unsigned char>(name[i]);
    const size_t length = Utf8SequenceLength(b);
    if (!IsUtf8Character(name, i, length)) {
      folded += name[i++];  // no character: kept as it is, as no other name has it
      continue;
    }
    char32_t c = length == 1 ? b : b & (0x7f >> length);
    for (size_t k = 1; k < length; ++k)
      c = c << 6 | (static_cast<unsigned char>(name[i + k]) & 0x3f);
    AppendUtf8(UpperOf(c), folded);
    i += length;
  }
  return folded;
}
