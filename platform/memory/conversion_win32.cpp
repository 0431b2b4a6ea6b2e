// Code page 932 for the memory services where they run on Windows (or Wine): the system's own
// conversions of code page 932, whatever the code page in force, as its listings show names.
#include <windows.h>

#include <string>

#include "platform/text.h"
#include "platform/win32/wide_text.h"

namespace {

constexpr UINT kCodePage = 932;

}  // namespace

bool ExactOfCodePageText(const std::string& shown, std::string& exact) {
  exact.clear();
  std::wstring wide;
  if (!WideOfText(kCodePage, shown, wide)) return false;
  exact = TextOfWide(CP_UTF8, wide.data(), wide.size());
  return !exact.empty();
}

std::string CodePageTextOf(const std::string& exact) {
  std::wstring wide;
  return WideOfText(CP_UTF8, exact, wide) ? TextOfWide(kCodePage, wide.data(), wide.size())
                                          : std::string();
}
