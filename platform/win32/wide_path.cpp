// Code-page, exact (UTF-8) and wide conversions, and the long-path prefixes.
#include "platform/win32/wide_path.h"

#include <windows.h>

#include <algorithm>

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

bool WideOf(const std::string& text, std::wstring& wide) {
  wide.clear();
  if (text.empty()) return true;
  // No code-page character is more than one wide character: one call fills a buffer this long.
  wide.resize(text.size());
  const int length =
      MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                          &wide[0], static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(std::max(length, 0)));
  return length > 0;
}

bool ExactWideOf(const std::string& exact, std::wstring& wide) {
  wide.clear();
  if (exact.empty()) return true;
  // No UTF-8 sequence makes more wide characters than it has bytes.
  wide.resize(exact.size());
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, exact.data(),
                          static_cast<int>(exact.size()), &wide[0], static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(std::max(length, 0)));
  return length > 0;
}

std::string ExactOfWide(const wchar_t* text, size_t length) {
  if (length == 0) return std::string();
  const int size = static_cast<int>(length);
  // A wide character is at most three bytes of UTF-8 (a pair of them four).
  std::string exact(length * 3, '\0');
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, size, &exact[0],
                                        static_cast<int>(exact.size()), nullptr, nullptr);
  exact.resize(static_cast<size_t>(std::max(bytes, 0)));
  return exact;
}

std::string AnsiOf(const wchar_t* text, size_t length) {
  if (length == 0) return std::string();
  const int size = static_cast<int>(length);
  const int bytes =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string ansi(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, size, &ansi[0], bytes, nullptr, nullptr);
  return ansi;
}

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
