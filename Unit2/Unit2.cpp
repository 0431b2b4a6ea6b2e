// The settings-file functions over the private-profile calls: the zero-terminated copies and the
// read buffer they need are owned here and released on every way out.
#include "Unit2/Unit2.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/profile.h"

std::string ExeFolder;

namespace {

// Owns one NewCString copy or read buffer.
using CString = std::unique_ptr<char[]>;

CString Copy(const std::string& s) { return CString(NewCString(s)); }

}  // namespace

char* NewCString(const std::string& s) {
  char* copy = new char[s.size() + 1];
  std::memcpy(copy, s.data(), s.size());
  copy[s.size()] = '\0';
  return copy;
}

bool ReadSetting(const std::string& section, const std::string& key, const std::string& fileName,
                 int bufferSize, std::string& value) {
  if (bufferSize <= 0) return false;
  CString sectionCopy = Copy(section);
  CString keyCopy = Copy(key);
  CString fileCopy = Copy(fileName);
  CString empty = Copy("");
  // Zero-filled: when a value is cut in front of a two-byte character the profile call may leave
  // the byte before the terminator unwritten, and it must not read back as garbage.
  CString buffer(new char[bufferSize]());
  const uint32_t copied =
      ProfileGetString(sectionCopy.get(), keyCopy.get(), empty.get(), buffer.get(),
                       static_cast<uint32_t>(bufferSize), fileCopy.get());
  if (copied == 0) return false;
  const char* begin = buffer.get();
  const char* end = std::find(begin, begin + bufferSize, '\0');
  if (end == begin) return false;
  value.assign(begin, end);
  return true;
}

bool WriteSetting(const std::string& section, const std::string& key, const std::string& value,
                  const std::string& fileName) {
  CString sectionCopy = Copy(section);
  CString keyCopy = Copy(key);
  CString valueCopy = Copy(value);
  CString fileCopy = Copy(fileName);
  return ProfileWriteString(sectionCopy.get(), keyCopy.get(), valueCopy.get(), fileCopy.get());
}
