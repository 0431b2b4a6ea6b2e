// Code page 932 for the memory services where they run on Windows (or Wine): the system's own
// conversions of code page 932, whatever the code page in force, as its listings show names.
#include <windows.h>

#include <string>

#include "platform/text.h"

namespace {

constexpr UINT kCodePage = 932;

bool WideOf(UINT codePage, const std::string& text, std::wstring& wide) {
  wide.assign(text.size(), L'\0');
  const int units =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(),
                          static_cast<int>(text.size()), &wide[0], static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(units > 0 ? units : 0));
  return units > 0;
}

std::string TextOf(UINT codePage, const std::wstring& wide) {
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  std::string text(wide.size() * 4, '\0');
  const int bytes = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()),
                                        &text[0], static_cast<int>(text.size()), nullptr, nullptr);
  text.resize(static_cast<size_t>(bytes > 0 ? bytes : 0));
  return text;
}

}  // namespace

bool ExactOfCodePageText(const std::string& shown, std::string& exact) {
  exact.clear();
  std::wstring wide;
  if (!WideOf(kCodePage, shown, wide)) return false;
  exact = TextOf(CP_UTF8, wide);
  return !exact.empty();
}

std::string CodePageTextOf(const std::string& exact) {
  std::wstring wide;
  return WideOf(CP_UTF8, exact, wide) ? TextOf(kCodePage, wide) : std::string();
}
