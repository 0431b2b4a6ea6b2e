// Profile files through the Win32 private-profile functions, which take code-page strings.
#include <windows.h>

#include "platform/profile.h"

uint32_t ProfileGetString(const char* section, const char* key, const char* deflt, char* buffer,
                          uint32_t size, const char* fileName) {
  return GetPrivateProfileStringA(section, key, deflt, buffer, size, fileName);
}

bool ProfileWriteString(const char* section, const char* key, const char* value,
                        const char* fileName) {
  return WritePrivateProfileStringA(section, key, value, fileName) != FALSE;
}
