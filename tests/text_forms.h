// Whole-string forms of the code-page text services, which the program itself uses only in
// place (AppendUpperCaseText, ExtensionStart): tests compare strings.
#pragma once

#include <string>

#include "platform/text.h"

inline std::string UpperCaseText(const std::string& s) { return UpperCaseText(s, IsLeadByte); }
inline std::string LowerCaseText(const std::string& s) { return LowerCaseText(s, IsLeadByte); }
// From the last '.' after the last '\' or ':' (none a trail byte), dot included; empty if none.
inline std::string ExtensionOf(const std::string& path) {
  const size_t dot = ExtensionStart(path);
  return dot == std::string::npos ? std::string() : path.substr(dot);
}
