// Conversions between code-page paths and the wide long-path forms the W functions take.
#pragma once

#include <string>

// The wide form of text; false where text is no valid code-page text.
bool WideOf(const std::string& text, std::wstring& wide);
// The wide form of text, only when it exists and converts back to the very same bytes.
bool ExactWideOf(const std::string& text, std::wstring& wide);

// Code-page form of a wide name; a character without an exact code-page form becomes '?'.
std::string AnsiOf(const wchar_t* text, size_t length);

// The \\?\ (or \\?\UNC\) form of a path, so that no length limit applies. Relative paths and
// paths with "." or ".." components or '/' are made absolute first; other paths are taken
// literally, so that names ending in a dot or a space keep it. False when the path has no
// exact wide form.
bool LongPathOf(const std::string& path, std::wstring& longPath);

// As LongPathOf, but also false for a path holding a wildcard: a '?' in a name is what a lossy
// conversion of a stored name left, and must never match some other entry.
bool ExactLongPathOf(const std::string& path, std::wstring& longPath);
