// Text to and from UTF-16 in a given code page, in one call each way: the conversions under the
// Win32 services' paths and names, and under the memory services' code page 932 on Windows.
#pragma once

#include <windows.h>

#include <string>

// The wide form of text in codePage; false where it is no valid text there (empty text is).
inline bool WideOfText(UINT codePage, const std::string& text, std::wstring& wide) {
  wide.clear();
  if (text.empty()) return true;
  // No character of a code page, UTF-8 included, is more wide characters than it has bytes.
  wide.resize(text.size());
  const int length =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(),
                          static_cast<int>(text.size()), &wide[0], static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(length > 0 ? length : 0));
  return length > 0;
}

// Wide text in codePage; in a code page other than UTF-8 a character it lacks becomes '?'
// (never a best-fit look-alike). Empty where it cannot be converted.
inline std::string TextOfWide(UINT codePage, const wchar_t* wide, size_t length) {
  if (length == 0) return std::string();
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  // A wide character is at most three bytes (a surrogate pair four), in UTF-8 and code page 932.
  std::string text(length * 3, '\0');
  const int bytes = WideCharToMultiByte(codePage, flags, wide, static_cast<int>(length), &text[0],
                                        static_cast<int>(text.size()), nullptr, nullptr);
  text.resize(static_cast<size_t>(bytes > 0 ? bytes : 0));
  return text;
}
