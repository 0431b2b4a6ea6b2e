// The letters of code page 932 that a file system ignoring case takes as one: the memory
// services compare names by it, and the Win32 tests hold it against the system's own rule.
#pragma once

#include <string>

// name with every letter that has a case in upper case: the single-byte letters, and the
// full-width Latin, Greek, Cyrillic and Roman-numeral letters among the two-byte characters.
std::string UpperCaseCodePage932Name(const std::string& name);
