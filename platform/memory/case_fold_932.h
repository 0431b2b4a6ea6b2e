// Code page 932's lead bytes, and the letters a file system ignoring case takes as one. The
// memory services and their copy of the profile functions go by them; the Win32 tests hold them
// against the system.
#pragma once

#include <string>

// True when b opens a two-byte character of code page 932.
bool IsLeadByte932(unsigned char b);

// An exact (UTF-8) name with every letter that has a case in upper case: ASCII, Latin-1 and
// Latin Extended-A, Greek, Cyrillic, full-width Latin and the Roman numerals (every letter with a
// case that code page 932 has). Bytes that are no character are kept as they are.
std::string UpperCaseExactName(const std::string& name);
