// Two-byte letters that have a case in code page 932. Their upper- and lower-case forms lie in
// parallel runs of codes, so a few ranges hold the whole table.
#include "platform/common/case_fold_932.h"

namespace {

struct LowerRun {
  unsigned first;  // first lower-case code of the run
  unsigned last;
  unsigned upper;  // the upper-case code of first
};

constexpr LowerRun kLowerRuns[] = {
    {0x8281, 0x829A, 0x8260},  // full-width a-z
    {0x83BF, 0x83D6, 0x839F},  // Greek alpha-omega
    {0x8470, 0x847E, 0x8440},  // Cyrillic a-n (0x847F is no character)
    {0x8480, 0x8491, 0x844F},  // Cyrillic o-ya
    {0xEEEF, 0xEEF8, 0x8754},  // small Roman numerals 1-10 (NEC-selected IBM extension)
    {0xFA40, 0xFA49, 0x8754},  // the same (IBM extension)
    {0xFA4A, 0xFA53, 0x8754},  // capital Roman numerals 1-10 (IBM extension): NEC's codes
};

}  // namespace

bool IsLeadByte932(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::string UpperCaseCodePage932Name(const std::string& name) {
  std::string out = name;
  const size_t n = out.size();
  for (size_t i = 0; i < n; ++i) {
    const unsigned char b = static_cast<unsigned char>(out[i]);
    if (IsLeadByte932(b) && i + 1 < n) {
      const unsigned code = b << 8 | static_cast<unsigned char>(out[i + 1]);
      for (const LowerRun& run : kLowerRuns) {
        if (code >= run.first && code <= run.last) {
          const unsigned upper = run.upper + (code - run.first);
          out[i] = static_cast<char>(upper >> 8);
          out[i + 1] = static_cast<char>(upper & 0xFF);
          break;
        }
      }
      ++i;
    } else if (b >= 'a' && b <= 'z') {
      out[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
  return out;
}
