// Code-page, exact (UTF-8) and wide conversions, and the long-path prefixes.
#include "platform/win32/wide_path.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/wide_text.h"

namespace {

const std::wstring kLongPrefix = L"\\\\?\\";
const std::wstring kUncPrefix = L"\\\\?\\UNC\\";

bool StartsWith(const std::wstring& s, const wchar_t* prefix) {
  return s.compare(0, wcslen(prefix), prefix) == 0;
}

bool IsDriveAbsolute(const std::wstring& path) {
  return path.size() >= 3 && path[1] == L':' && path[2] == L'\\' &&
         ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

bool IsUnc(const std::wstring& path) { return StartsWith(path, L"\\\\"); }

// Forms the literal prefixing would get wrong: \\?\ turns off every normalisation.
bool NeedsNormalising(const std::wstring& path) {
  if (path.find(L'/') != std::wstring::npos) return true;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    // Compared in place: every path of a scan comes through here.
    const size_t length = end - start;
    if ((length == 1 || length == 2) && path.compare(start, length, L"..", length) == 0) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

bool FullPathOf(const std::wstring& path, std::wstring& full) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return false;
  full.assign(needed, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), needed, &full[0], nullptr);
  if (written == 0 || written >= needed) return false;
  full.resize(written);
  return true;
}

}  // namespace

bool WideOf(const std::string& text, std::wstring& wide) { return WideOfText(CP_ACP, text, wide); }

bool ExactWideOf(const std::string& exact, std::wstring& wide) {
  return WideOfText(CP_UTF8, exact, wide);
}

std::string ExactOfWide(const wchar_t* text, size_t length) {
  return TextOfWide(CP_UTF8, text, length);
}

std::string AnsiOf(const wchar_t* text, size_t length) { return TextOfWide(CP_ACP, text, length); }

bool LongPathOf(const std::string& path, std::wstring& longPath) {
  std::wstring wide;
  if (path.empty() || !ExactWideOf(path, wide)) return false;
  if (StartsWith(wide, L"\\\\?\\") || StartsWith(wide, L"\\\\.\\")) {
    longPath = wide;
    return true;
  }
  if (!(IsDriveAbsolute(wide) || IsUnc(wide)) || NeedsNormalising(wide)) {
    std::wstring full;
    if (!FullPathOf(wide, full)) return false;
    wide.swap(full);
  }
  longPath = IsUnc(wide) ? kUncPrefix + wide.substr(2) : kLongPrefix + wide;
  return true;
}

bool ExactLongPathOf(const std::string& path, std::wstring& longPath) {
  if (!LongPathOf(path, longPath)) return false;
  return longPath.find_first_of(L"?*", kLongPrefix.size()) == std::wstring::npos;
}
