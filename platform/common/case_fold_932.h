// Code page 932's own rules: its lead bytes, and the letters a file system ignoring case takes
// as one. The memory services and their copy of the profile functions go by them; the Win32
// tests hold them against the system.
#pragma once

#include <string>

// True when b opens a two-byte character of code page 932.
bool IsLeadByte932(unsigned char b);

// name with every letter that has a case in upper case: the single-byte letters, and the
// full-width Latin, Greek, Cyrillic and Roman-numeral letters among the two-byte characters.
std::string UpperCaseCodePage932Name(const std::string& name);
