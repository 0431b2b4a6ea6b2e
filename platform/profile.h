// Profile ("INI") files, with the calling convention of the Win32 private-profile functions:
// zero-terminated code-page strings in, a caller's buffer out.
#pragma once

#include <cstdint>

// Copies the value of key in section of fileName into buffer (at most size - 1 bytes and a
// terminating zero), or deflt when the file, section or key is missing. Returns the bytes copied.
uint32_t ProfileGetString(const char* section, const char* key, const char* deflt, char* buffer,
                          uint32_t size, const char* fileName);

// Writes key=value into section of fileName, creating the file and the section when missing.
bool ProfileWriteString(const char* section, const char* key, const char* value,
                        const char* fileName);
