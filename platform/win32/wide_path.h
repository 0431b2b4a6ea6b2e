// Conversions between the code page's text, exact (UTF-8) paths and the wide long-path forms the
// W functions take.
#pragma once

#include <string>

// The wide form of text; false where text is no valid code-page text.
bool WideOf(const std::string& text, std::wstring& wide);
// The wide form of exact text; false where it is no valid UTF-8.
bool ExactWideOf(const std::string& exact, std::wstring& wide);
// The exact form of wide text.
std::string ExactOfWide(const wchar_t* text, size_t length);

// Code-page form of a wide name; a character without an exact code-page form becomes '?'.
std::string AnsiOf(const wchar_t* text, size_t length);

// The \\?\ (or \\?\UNC\) form of an exact path, so that no length limit applies. Relative paths and
// paths with "." or ".." components or '/' are made absolute first; other paths are taken
// literally, so that names ending in a dot or a space keep it. False when the path is no
// valid UTF-8.
bool LongPathOf(const std::string& path, std::wstring& longPath);

// As LongPathOf, but also false for a path holding a wildcard: a '?' in a name is what the
// code page's form of a stored name left, and must never match some other entry.
bool ExactLongPathOf(const std::string& path, std::wstring& longPath);
