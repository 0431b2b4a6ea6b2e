// Lead bytes of the ANSI code page in force, read once from the system.
#include <windows.h>

#include <array>
#include <string>

#include "platform/text.h"
#include "platform/win32/wide_path.h"

namespace {

std::array<bool, 256> ReadLeadBytes() {
  std::array<bool, 256> lead{};
  CPINFO info;
  if (GetSystemMetrics(SM_DBCSENABLED) == 0 || !GetCPInfo(CP_ACP, &info)) return lead;
  // Pairs of range bounds, ended by a zero pair.
  for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
    for (int b = info.LeadByte[i]; b <= info.LeadByte[i + 1]; ++b) lead[b] = true;
  }
  return lead;
}

}  // namespace

bool IsLeadByte(unsigned char b) {
  static const std::array<bool, 256> lead = ReadLeadBytes();
  return lead[b];
}

// The upper case of the invariant locale is the table the file system compares names by, and
// unlike a user locale's it never depends on the language (a Turkish i stays an i).
std::string CaseFoldedName(const std::string& name) {
  std::wstring wide;
  if (name.empty() || !ExactWideOf(name, wide)) return name;
  const int units = static_cast<int>(wide.size());
  std::wstring upper(wide.size(), L'\0');
  if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.data(), units, &upper[0], units,
                    nullptr, nullptr, 0) == 0) {
    return UpperCaseText(name, NoLeadByte);
  }
  return std::string(reinterpret_cast<const char*>(upper.data()), upper.size() * sizeof(wchar_t));
}

bool ExactOfCodePageText(const std::string& shown, std::string& exact) {
  std::wstring wide;
  if (!WideOf(shown, wide)) {
    exact.clear();
    return false;
  }
  exact = ExactOfWide(wide.data(), wide.size());
  return !exact.empty();
}

std::string CodePageTextOf(const std::string& exact) {
  std::wstring wide;
  if (!ExactWideOf(exact, wide)) return std::string();
  return AnsiOf(wide.data(), wide.size());
}
